#pragma once

#include "finders/DateFinder.h"

#include <QDialog>
#include <QString>

class QAction;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QGroupBox;
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

// Files by date: the files of the checked drives and folders whose last access, creation or
// last modification lies on or before a day, between two days or on or after a day, listed
// while the scan runs, marked and handed to the review.
class TfrmMods : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmMods(AppContext& context, QWidget* parent = nullptr);
    ~TfrmMods() override;

    // Top panel.
    QWidget* Panel1 = nullptr;
    QGroupBox* rgWhat = nullptr;
    QButtonGroup* whatButtons = nullptr;  // ids 0 to 2
    QGroupBox* rgWhen = nullptr;
    QButtonGroup* whenButtons = nullptr;  // ids 0 to 2
    QDateEdit* dtStart = nullptr;
    QLabel* lblAnd = nullptr;
    QDateEdit* dtEnd = nullptr;
    QComboBox* cbWildCard = nullptr;
    QLabel* lblWild = nullptr;
    QListWidget* pckDrive = nullptr;

    // Buttons.
    QPushButton* btOK = nullptr;
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
    QStatusBar* pnlScan = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* HighlightFolders = nullptr;
    ResultList* resultList = nullptr;
    ScanSession* session = nullptr;

    DateKind what() const;
    DateRange when() const;
    QString printTitle() const;
    bool isBoldCell(int row, int column) const;

  public Q_SLOTS:
    void btOKClick();
    void btBrowseClick();
    void rgWhenClick();
    void cbWildCardChange();
    void dtStartChange();
    void dtEndChange();
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
    DateCollection* running_ = nullptr;  // while a scan runs
    bool shown_ = false;
};

// Program-wide value of this unit: set by Abort, read by the walk.
extern bool abortMods;

}  // namespace vastel
