#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QStatusBar;
class QTableView;

namespace vastel {

class AppContext;
class GridModel;
class ResultList;
class ScanSession;

// The folder hogs: which folders of the checked drives and extra folders hold the most data,
// either the main folders with their whole sub-trees or every folder with its own files, with
// their share of the volume. One folder at a time can be removed through the folder-tree
// removal or browsed.
class TfrmDirHog : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDirHog(AppContext& context, QWidget* parent = nullptr);
    ~TfrmDirHog() override;

    // What the folder-tree removal did with a folder.
    enum class Removal { None, Deleted, Recycled };

    // Top panel.
    QWidget* Panel1 = nullptr;
    QListWidget* pckDrive = nullptr;

    // Buttons.
    QPushButton* btTop = nullptr;
    QPushButton* btAll = nullptr;
    QPushButton* btClose = nullptr;
    QPushButton* btAbort = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btBrowse = nullptr;
    QPushButton* btOptions = nullptr;

    // Result.
    QTableView* grid = nullptr;
    GridModel* model = nullptr;
    QStatusBar* pnlScan = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Highlight1 = nullptr;
    QAction* SortbySize1 = nullptr;
    QAction* Sortbyfiles1 = nullptr;
    QAction* Sortbysubdirectories1 = nullptr;
    QAction* Sortbydate1 = nullptr;
    QAction* SortbyName1 = nullptr;
    ResultList* resultList = nullptr;
    ScanSession* session = nullptr;

    // The folder-tree removal of one folder; by default the context's, which tells only
    // whether an operation ran (counted as deleted). The program sets one that also tells a
    // recycling; tests replace it.
    std::function<Removal(QWidget* parent, const QByteArray& folder)> removeFolder;
    // Rows a scan can gather; one more ends it with "Resource limit reached ...".
    qint64 rowCapacity;

    // The title of the printed report, from the checked targets.
    QString printTitle() const;
    // Whether a cell is drawn bold: a protected folder's name.
    bool isBoldCell(int row, int column) const;
    // The last cell clicked with press and release at one spot (grid rows: 0 is the header).
    int lastClickedRow() const { return lastClickedRow_; }

  public Q_SLOTS:
    void pckDriveClick();
    void btTopClick();
    void btAllClick();
    void btDeleteClick();
    void btBrowseClick();
    void btPrintClick();
    void SortbySize1Click(QAction* item);
    void FormResize();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildMenu();
    void connectControls();
    void FormShow();
    void ClearGrid();
    void scan(bool main);
    void startScan(bool main);
    void sortByColumn(int column);
    void cellClicked(int gridRow, int column);

    AppContext& context_;
    bool shown_ = false;
    int gridRows_ = 2;  // the grid's rows as the user sees them: the header and the data rows
    int lastClickedRow_ = 0;
    int lastClickedColumn_ = 0;
    QPoint pressedAt_;
    QObject* pressedOn_ = nullptr;
};

// Program-wide value of this unit: set by Abort and by a full row list, read by the scan.
extern bool abortDirHogScan;

}  // namespace vastel
