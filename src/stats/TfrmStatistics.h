#pragma once

#include "core/ScanTarget.h"
#include "platform/Volumes.h"
#include "stats/StatTallies.h"
#include "stats/ui/ChartPanel.h"

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
class QAbstractBarSeries;
class QAction;
class QButtonGroup;
class QGroupBox;
class QLineSeries;
class QMenu;
class QPlainTextEdit;
class QToolButton;
class QGraphicsSimpleTextItem;

namespace vastel {

class AppContext;
class StatRun;
class TfrmWhichDrive;
class ChartPanel;
class StatGrid;

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

    // The chart colours (entries 1..12): the palette, or one colour in all of them.
    ChartColours AColors;
    void initAColors(bool palette, const QColor& colour = QColor()) {
        AColors.init(palette, colour);
    }

    // Types page.
    StatGrid* gridTypes = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* SortbyExtension = nullptr;  // "Sort by &Extension", checked at start
    QAction* SortbyType = nullptr;
    QAction* SortbySize = nullptr;
    QAction* SortbyNumber = nullptr;
    QAction* SortbyAverage = nullptr;
    QToolButton* btSort = nullptr;
    ChartPanel* chartPie = nullptr;
    QPieSeries* Series2 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QGroupBox* rgTypes = nullptr;  // Listing, Pie by Size, Pie by # Files, Pie by Average Size
    QButtonGroup* rgTypesGroup = nullptr;
    QGraphicsSimpleTextItem* pieNote = nullptr;  // "No files", centred on an empty pie
    // Sets the tallies and redraws the tally pages as after a walked target, without a walk
    // (benchmarks and tests use it).
    void showTallies(const StatTallies& t);
    QAction* sortedBy_ = nullptr;  // the sort item last applied
    void placePieNote();
    void arrangePieLabels();
    QLabel* turnCaption_ = nullptr;  // beside ScrollBar2

    // Sizes page.
    StatGrid* gridSizes = nullptr;
    ChartPanel* Chart1 = nullptr;
    QAbstractBarSeries* Series1 = nullptr;
    QRadioButton *rgSize0 = nullptr, *rgSize1 = nullptr, *rgSize2 = nullptr;
    QBarCategoryAxis* sizesAxis = nullptr;  // the bucket labels
    QValueAxis* sizesValueAxis = nullptr;

    // Overhang page.
    QLabel* lblCSize[5] = {};  // lblCSize1..5
    QLabel* lblOver[5] = {};   // lblOver1..5
    ChartPanel* chartOverhang = nullptr;
    QAbstractBarSeries* Series9 = nullptr;
    QLabel* imArrow = nullptr;
    QWidget* pnlOverhang = nullptr;
    QLabel *lblSize = nullptr, *lblLbl = nullptr, *lblNumFiles = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QWidget* pnlCluster = nullptr;
    QGridLayout* overhangTable = nullptr;
    // The value of each bar of chartOverhang beside it, from the top (4K) down.
    QGraphicsSimpleTextItem* overhangLabels[5] = {};
    QValueAxis* overhangAxis = nullptr;
    void placeOverhangLabels();

    // Access, Created and Modified pages (index 0, 1, 2).
    QPushButton* ageInfo[3] = {};           // SpeedButton1..3
    ChartPanel* ageChart[3] = {};           // chartAccess, chartCreate, chartModify
    QAbstractBarSeries* ageSeries[3] = {};  // HorizBarSeries1..3
    StatGrid* ageGrid[3] = {};              // gridAccess, gridCreate, gridModify
    QRadioButton* ageSize[3] = {};          // rgAccess1, rgCreate1, rgModify1
    QRadioButton* ageCount[3] = {};         // rgAccess2, rgCreate2, rgModify2
    QRadioButton* ageListing[3] = {};       // rgAccess0, rgCreate0, rgModify0
    QBarCategoryAxis* ageAxisY[3] = {};     // the bucket labels, "Not recorded" at the bottom
    QValueAxis* ageAxisX[3] = {};
    // A value axis from 0 that holds `max` in round steps; whole numbers for counts. An empty
    // chart gets 0 to 1.
    static void fitValueAxis(QValueAxis* axis, double max, bool whole);

    // Combined page.
    QPushButton* SpeedButton4 = nullptr;
    ChartPanel* chartCombine = nullptr;
    QAbstractBarSeries* combineSeries = nullptr;  // holds Series8, Series7, Series6
    QRadioButton *rbCombine1 = nullptr, *rbCombine2 = nullptr, *rgCombine0 = nullptr;
    StatGrid* gridCombine = nullptr;
    QBarSet *Series6 = nullptr, *Series7 = nullptr, *Series8 = nullptr;  // Accessed, Created,
                                                                         // Modified
    QBarCategoryAxis* combineAxisY = nullptr;
    QValueAxis* combineAxisX = nullptr;

    // Attribute page.
    QLabel *lblNHidden = nullptr, *lblNReadOnly = nullptr, *lblNSystem = nullptr,
           *lblNArchive = nullptr;
    QLabel *lblSzHidden = nullptr, *lblSzReadOnly = nullptr, *lblSzSystem = nullptr,
           *lblSzArchive = nullptr;
    ChartPanel* Chart2 = nullptr;
    ChartPanel* Chart3 = nullptr;
    QAbstractBarSeries* HorizBarSeries4 = nullptr;
    QAbstractBarSeries* HorizBarSeries5 = nullptr;
    QBarCategoryAxis* attrAxis[2] = {};  // Chart2, Chart3 (hidden)

    // Time page.
    ChartPanel* Chart4 = nullptr;
    QLineSeries *Series10 = nullptr, *Series11 = nullptr, *Series12 = nullptr;
    QPushButton* SpeedButton5 = nullptr;
    QScrollBar* sbTime = nullptr;
    QValueAxis* timeAxisX = nullptr;  // a QCategoryAxis: times every three hours
    QValueAxis *timeAxisLeft = nullptr, *timeAxisRight = nullptr;
    // The depth: a soft shadow of each line (Series12, Series11, Series10), set off down and
    // right by a third of a pixel per percent of sbTime.
    QLineSeries* timeShadow[3] = {};
    QStringList timeLabels;  // the start time of each half-hour slot, in the short time format
    void applyTimeDepth();

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

    // The tally pages.
    void rgTypesClick();
    void SortbyExtensionClick(QAction* item);
    void doTotals();
    void ScrollBar2Change(int value);
    void rgSizesClick();
    void rgAccessClick();
    void sbTimeChange(int value);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();

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
    QWidget* buildTypesPage();
    QWidget* buildSizesPage();
    QWidget* buildOverhangPage();
    QWidget* buildAgePage(int which);  // 0 Access, 1 Created, 2 Modified
    QWidget* buildCombinedPage();
    QWidget* buildAttributePage();
    QWidget* buildTimePage();
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

    // The rendering of the tally pages, in the order redrawPages calls them.
    void doOverHang();
    void drawClusterArrow();
    void doFileTypes();
    void doFileSizes();
    void fillGridSizes();
    void doFileAttrs();
    void fillGridDates(StatGrid* grid, const QString& heading, const StatTallies::AgeTally& counts,
                       const StatTallies::AgeTally& bytes);
    void fillCombinedGridDates();
    void doFileTimes();
    void doFileAges();
    void fillAgeSeries(QAbstractBarSeries* series, const StatTallies::AgeTally& counts,
                       const StatTallies::AgeTally& bytes, bool megabytes, const QColor& colour,
                       bool singleColour);
    void writeTypesHeading();
    // Printing a page: the chart shown on it, or nullptr.
    ChartPanel* shownChart() const;

    AppContext& context_;
    StatTallies tallies_;
    bool diskSizeBusy_ = false;
    bool timer1Busy_ = false;
    bool timer2Busy_ = false;
};

}  // namespace vastel
