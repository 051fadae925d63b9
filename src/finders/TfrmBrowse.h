#pragma once

#include "finders/BrowseSort.h"
#include "platform/Volumes.h"

#include <QByteArray>
#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QTableView;
class QTreeView;

namespace vastel {

class AppContext;
class FolderIcons;
class FolderTreeFilter;
class GridModel;
class ResultList;

// The disk and folder browser: a drive box and a folder tree beside a grid of the current
// folder's files. The user marks files for the deletion review, opens, views or inspects one,
// changes the mask, and removes a whole folder tree. Marks last until the next refresh.
class TfrmBrowse : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmBrowse(AppContext& context, QWidget* parent = nullptr);
    ~TfrmBrowse() override;

    // Before showing: the folder (empty: the home folder), the file to select in the grid and
    // the mask (empty: "*.*").
    void setStart(const QByteArray& folder, const QByteArray& file, const QString& mask);

    // Left: the drive box, the folder tree and the current folder's label.
    QComboBox* DriveCombobox1 = nullptr;
    QTreeView* DirectoryListBox1 = nullptr;
    QFileSystemModel* folderModel = nullptr;
    FolderTreeFilter* folderFilter = nullptr;
    QLabel* Label1 = nullptr;

    // Right: the grid and the buttons.
    QTableView* grid = nullptr;
    GridModel* model = nullptr;
    ResultList* resultList = nullptr;
    QWidget* pnlButtons = nullptr;
    QPushButton* btLaunch = nullptr;
    QPushButton* btView = nullptr;
    QPushButton* btDetails = nullptr;
    QPushButton* btMark = nullptr;
    QPushButton* btDeleteFiles = nullptr;
    QPushButton* btDeleteDirectory = nullptr;
    QPushButton* btMenu = nullptr;
    QPushButton* btClose = nullptr;

    // The status bar.
    QStatusBar* statusBar = nullptr;
    QLabel* pnlScan = nullptr;
    QLabel* pnlSize = nullptr;
    QLabel* pnlProblem = nullptr;  // why the folder could not be listed; hidden otherwise
    QPushButton* pnlWild = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QMenu* Sort1 = nullptr;
    QAction* Sortbyname1 = nullptr;
    QAction* Sortbydate1 = nullptr;
    QAction* Sortbyaccessdate1 = nullptr;
    QAction* Sortbysize1 = nullptr;
    QAction* Sortbytype1 = nullptr;

    const QByteArray& currentFolder() const { return folder_; }
    const QString& mask() const { return mask_; }
    qint64 totalSize() const { return totalSize_; }
    // The full text of pnlWild (the button shows it elided when it is long).
    QString wildcardText() const;

    // The wildcard dialog: the new mask, or none when cancelled. Tests may replace it.
    std::function<std::optional<QString>(const QString& mask)> askWildcard;

  public Q_SLOTS:
    // Makes a folder current (its drive, the tree's selection) and refreshes the grid.
    void changeFolder(const QByteArray& folder);
    void DirectoryListBox1Change();  // the refresh
    void btMarkClick();
    void gridDblClick();
    void Sortbyname1Click(BrowseSortKey key, bool userInitiated = true);
    void pnlScanClick();
    void btDeleteFilesClick();
    void btDeleteDirectoryClick();
    void FormResize();
    void reject() override;  // Close, Esc and the window's close box

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildControls();
    void buildMenu();
    void connectControls();
    void FormShow();
    bool FormCloseQuery();
    void FillGrid();
    void showFolderLabel();
    void selectFile(const QByteArray& name);
    void fillDrives();
    void showDriveOf(const QByteArray& folder);
    void selectInTree(const QByteArray& folder);
    void treeCurrentChanged();
    void DriveCombobox1Change(int index);
    void folderRowsRemoved();
    BrowseSortKey checkedSortKey() const;
    void checkSortKey(BrowseSortKey key);
    void headerClicked(int column);

    AppContext& context_;
    std::unique_ptr<FolderIcons> folderIcons_;  // the folder model goes first
    std::vector<Volume> volumes_;
    QByteArray folder_;
    QByteArray driveRoot_;
    QByteArray startFile_;
    QString mask_ = QStringLiteral("*.*");
    qint64 totalSize_ = 0;
    bool shown_ = false;
    bool headerSorting_ = false;  // a sort from a header click is running
    bool changingFolder_ = false;
    bool scrollPending_ = false;
    QElapsedTimer sinceFolderChange_;  // since the tree was set on a folder
};

}  // namespace vastel
