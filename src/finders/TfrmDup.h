#pragma once

#include "core/StopToken.h"

#include <QDialog>
#include <QString>
#include <atomic>
#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTableView;

namespace vastel {

enum class ContentStage;
struct DupRecords;
class AppContext;
class DupCollection;
class GridModel;
class NumberSpin;
class ResultList;
class ScanSession;

// The finder of duplicate files and file hogs. The context's duplicateMode, set by the
// launcher before it makes the window, chooses the mode for the window's whole life: groups of
// files that match by a rule, or every file in a size range, largest first.
class TfrmDup : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDup(AppContext& context, QWidget* parent = nullptr);
    ~TfrmDup() override;

    // Top panel.
    QWidget* Panel1 = nullptr;
    QComboBox* cbWildCard = nullptr;
    QLabel* lblWild = nullptr;
    QRadioButton* rbLarger = nullptr;
    QRadioButton* rbSmaller = nullptr;
    QRadioButton* rbBetween = nullptr;
    NumberSpin* num1 = nullptr;
    NumberSpin* num2 = nullptr;
    QLabel* lblAnd = nullptr;
    QComboBox* cbKB1 = nullptr;
    QComboBox* cbDup = nullptr;
    QLabel* lblDup = nullptr;
    QListWidget* pckDrive = nullptr;

    // Buttons.
    QPushButton* btScan = nullptr;
    QPushButton* btClose = nullptr;
    QPushButton* btAbort = nullptr;
    QPushButton* btMark = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btOptions = nullptr;
    QPushButton* btBrowse = nullptr;
    QPushButton* btDetails = nullptr;
    QPushButton* btCompare = nullptr;

    // Result.
    QTableView* grid = nullptr;
    GridModel* model = nullptr;
    QStatusBar* pnlSel = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Highlightfolders1 = nullptr;
    ResultList* resultList = nullptr;
    ScanSession* session = nullptr;

    int matchMode = 0;  // the match mode of the last Start (duplicates)

    // Identical content: called on the comparison's own thread with each of its progress
    // reports, after the window has taken them (a test seam).
    std::function<void(ContentStage stage, qint64 bytesRead)> contentProgressHook;
    // Stops the running content comparison; the window's Abort reaches it.
    const StopToken& contentStop() const { return contentStop_; }

    // The title of the printed report, from the current choices and checked targets.
    QString printTitle() const;
    // Whether a cell is drawn bold: a protected folder (duplicates) or file (file hogs).
    bool isBoldCell(int row, int column) const;

  public Q_SLOTS:
    void btScanClick();
    void BrowseDirectory1Click();  // the row's file in the browser
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
    void cbWildCardChange();
    void sizeChoiceChanged();
    bool duplicates() const;
    void compareContents(DupCollection& collection, bool collectionFull, DupRecords& found);

    AppContext& context_;
    bool shown_ = false;
    StopToken contentStop_;
    // The comparison's stage (-1: none yet) and bytes read, written by its thread.
    std::atomic<int> contentStage_{-1};
    std::atomic<qint64> contentBytes_{0};
};

// Program-wide value of this unit: set by Abort, read by the walk.
extern bool abortScan;

}  // namespace vastel
