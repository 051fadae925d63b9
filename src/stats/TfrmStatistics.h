#pragma once

#include "core/ScanTarget.h"
#include "platform/Volumes.h"
#include "stats/StatTallies.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

class QChart;
class QChartView;
class QBarSet;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPieSeries;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStackedBarSeries;
class QStatusBar;
class QTabWidget;
class QTimer;
class QValueAxis;
class QGridLayout;
class QBarCategoryAxis;

namespace vastel {

class AppContext;
class StatRun;
class TfrmWhichDrive;

// The statistics window: modeless, made once at start and only hidden when closed, so the
// tallies of the last run stay until the next one. A notebook of eleven pages (Space and
// Deleted need no run; the other nine show the tallies, drawn from tallies()), the run
// buttons and a status bar.
class TfrmStatistics : public QWidget {
    Q_OBJECT
  public:
    // Page indexes of the notebook.
    enum Page {
        pgSpace,
        pgDeleted,
        pgTypes,
        pgSizes,
        pgOverhang,
        pgAccess,
        pgCreated,
        pgModified,
        pgCombined,
        pgAttribute,
        pgTime,
        kPageCount
    };

    explicit TfrmStatistics(AppContext& context, QWidget* parent = nullptr);
    ~TfrmStatistics() override;

    // The Data model of the last run (every tally, 64-bit; see StatTallies).
    const StatTallies& tallies() const { return tallies_; }

    // The frame.
    QTabWidget* OvcNotebook1 = nullptr;
    QWidget* pages[kPageCount] = {};
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btPrint = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QWidget* pnlNotYet = nullptr;
    QLabel* lblNotYet = nullptr;
    QPushButton* btAbort = nullptr;

    // Space page.
    QWidget* Panel4 = nullptr;
    QListWidget* pckStatDrive = nullptr;
    QChartView* chartSpaceBar = nullptr;
    QStackedBarSeries* spaceSeries = nullptr;
    QBarSet* Series5 = nullptr;  // used, blue
    QBarSet* Series4 = nullptr;  // free, fuchsia
    QBarCategoryAxis* spaceAxisX = nullptr;
    QValueAxis* spaceAxisY = nullptr;
    QCheckBox* cbTotal = nullptr;
    QRadioButton* rgSpace1 = nullptr;  // "Pie - percent"
    QRadioButton* rgSpace2 = nullptr;  // "Bar - totals"
    QLabel *lblTotalC = nullptr, *lblFreeC = nullptr, *Label26 = nullptr;
    QLabel *lblTotal = nullptr, *lblFree = nullptr, *lblUsed = nullptr;
    QLabel *lblTot = nullptr, *lblPct = nullptr, *lblPct2 = nullptr;
    QWidget *Panel1 = nullptr, *Panel2 = nullptr;
    QWidget* pnlPie = nullptr;
    QGridLayout* pieGrid = nullptr;  // the shown pies side by side, the total pie last
    QChartView* pies[12] = {};       // pie1..pie11, pieTotal
    QScrollBar* ScrollBar1 = nullptr;
    QTimer* Timer1 = nullptr;  // turns the pies
    QTimer* Timer2 = nullptr;  // grows the bars' depth
    int barDrives = 0;
    int barDepth = 0;  // the bars' "3D depth" in percent, shown as their growing width
    int pieAngle = 0;
    int pieTotalAngle = 0;

    // Deleted page.
    QLineEdit *edNdelete = nullptr, *edSzDelete = nullptr;
    QLineEdit *edNWaste = nullptr, *edSzWaste = nullptr;
    QLineEdit *edNZip = nullptr, *edSzZip = nullptr;
    QLabel *lblSince1 = nullptr, *lblZipSince = nullptr;
    QPushButton* Button1 = nullptr;

    // Run state.
    std::vector<ScanTarget> PickList1;  // the chosen targets
    QStringList PickList2;              // the chosen type lines
    bool allTypes = false, includeTypes = false, excludeTypes = false;
    double targetsCapacity = 0;
    QString currentTarget;
    qint64 clusterSize = 0;
    bool collecting = false;
    bool abortStats = false;
    bool collected = false;

    // Seams: how the wizard is run (tests fill it instead) and how a volume's space is read.
    std::function<int(TfrmWhichDrive&)> runWizard;
    std::function<bool(const QByteArray& root, DriveSpace& out)> spaceOf;

    static QString percentText(double whole, double part);

  public Q_SLOTS:
    void btOKClick();
    void btCancelClick();
    void btAbortClick();
    void btPrintClick();
    void OvcNotebook1PageChanged(int index);
    void doDiskSize();
    void doPieCharts();
    void rgSpaceClick();
    void cbTotalClick();
    void Timer1Timer();
    void Timer2Timer();
    void pie1Click();
    void ScrollBar1Change(int value);
    void showFilesDeleted();
    void Button1Click();

  Q_SIGNALS:
    // The tally pages were drawn from the tallies (after each walked target and when a run
    // starts from cleared tallies).
    void pagesRedrawn();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Progress;

    // Layout, one builder per concern.
    QWidget* buildSpacePage();
    QWidget* buildDeletedPage();
    void FormCreate();
    void FormShow();
    void placeNotYet();
    void setNotYetVisible(bool visible);
    void changeBackgroundColor(const QColor& colour);
    void fillSpaceDrives();
    void turnPies(int angle, int totalAngle);

    // The run.
    double computePickListTotal();
    void computeClusterSize(const ScanTarget& target);
    void clearVariables();
    void scan(StatRun& run, const ScanTarget& target);
    void disenable(bool enabled);
    void redrawPages();

    AppContext& context_;
    StatTallies tallies_;
    bool diskSizeBusy_ = false;
    bool timer1Busy_ = false;
    bool timer2Busy_ = false;
};

}  // namespace vastel
