#pragma once

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
class LiveRows;
class ResultList;
class ScanSession;

// The quick clean: the temporary files of the checked drives and folders, by the types
// selected in its type list, listed while the scan runs, marked and handed to the review.
class TfrmClean : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmClean(AppContext& context, QWidget* parent = nullptr);
    ~TfrmClean() override;

    // Top panel.
    QWidget* Panel1 = nullptr;
    QListWidget* PickList1 = nullptr;
    QPushButton* btEdit = nullptr;
    QListWidget* pckDrive = nullptr;
    QMenu* PopupMenu2 = nullptr;

    // Buttons.
    QPushButton* btScan = nullptr;
    QPushButton* btClose = nullptr;
    QPushButton* btAbort = nullptr;
    QPushButton* btMark = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btOptions = nullptr;
    QPushButton* btBrowse = nullptr;
    QPushButton* btDetails = nullptr;

    // Result.
    QTableView* grid = nullptr;
    GridModel* model = nullptr;
    QStatusBar* pnlSel = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Highlight1 = nullptr;
    ResultList* resultList = nullptr;
    ScanSession* session = nullptr;

    // The temporary-types editor, modal; by default TfrmTempFiles. Tests may replace it.
    std::function<void(QWidget* parent)> editTypes;

    void ReadInFromDisk();
    void selectAllExtensions();
    // The selected entries of the type list.
    QStringList selectedTypes() const;
    QString printTitle() const;
    bool isBoldCell(int row, int column) const;

  public Q_SLOTS:
    void btScanClick();
    void btEditClick();
    void BrowseDirectory1Click();
    void FormResize();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildControls();
    void buildMenu();
    void connectControls();
    void FormShow();
    void ClearGrid();
    void scan();

    AppContext& context_;
    LiveRows* liveRows_ = nullptr;
    bool shown_ = false;
};

// Program-wide value of this unit: set by Abort, read by the walk.
extern bool abortClean;

}  // namespace vastel
