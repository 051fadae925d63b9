// The Access, Created, Modified and Combined pages of the statistics window.
#include "stats/TfrmStatistics.h"

#include "core/Utility.h"
#include "platform/Dialogs.h"
#include "stats/StatTexts.h"
#include "stats/ui/StatGrid.h"
#include "widgets/AppContext.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QGraphicsLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QLinearGradient>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace vastel {

namespace {

const char* const kAgeNames[3] = {"Access", "Create", "Modify"};
const char* const kAgeTitles[3] = {"Access Date", "Created Date", "Modified Date"};

const QColor kAccessed(0, 0, 255);  // blue
const QColor kCreated(0, 255, 0);   // lime
const QColor kModified(255, 0, 0);  // red

QRadioButton* radio(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QRadioButton(text, parent);
    b->setObjectName(name);
    return b;
}

QPushButton* infoButton(const QString& name, QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setIcon(parent->style()->standardIcon(QStyle::SP_MessageBoxInformation));
    b->setIconSize(QSize(22, 22));
    b->setFlat(true);
    b->setToolTip(QStringLiteral("About the dates on this page"));
    return b;
}

// Shaded across the bar's thickness; the brush keeps the plain colour as its colour.
QBrush gradientBrush(const QColor& colour) {
    QLinearGradient g(0, 0, 0, 1);
    g.setCoordinateMode(QGradient::ObjectBoundingMode);
    g.setColorAt(0, colour.lighter(170));
    g.setColorAt(0.45, colour);
    g.setColorAt(1, colour.darker(130));
    QBrush brush(g);
    brush.setColor(colour);
    return brush;
}

// The bars show their bucket and value when the mouse rests on them.
void showValueTips(QAbstractBarSeries* series, QBarCategoryAxis* categories,
                   const std::function<QString()>& unit) {
    QObject::connect(
        series, &QAbstractBarSeries::hovered, series,
        [categories, unit](bool status, int index, QBarSet* set) {
            if (!status || !set) {
                QToolTip::hideText();
                return;
            }
            const double v = set->at(index);
            const QString value =
                v >= 100 || v == std::floor(v) ? numberText(v) : QLocale().toString(v, 'f', 2);
            QString what = categories->at(index);
            if (set->label() != what) what = set->label() + QStringLiteral(", ") + what;
            // The labels are escaped already: the tip is rich text too.
            QToolTip::showText(QCursor::pos(), QStringLiteral("<nobr>") + what +
                                                   QStringLiteral(": ") + value + QLatin1Char(' ') +
                                                   unit() + QStringLiteral("</nobr>"));
        });
}

// Axis labels are rich text: "<= 7 days" must be escaped to show.
QString axisLabel(int bucket) { return ageBucketLabel(bucket).toHtmlEscaped(); }

// A horizontal bar chart over the ten age buckets: category axis on the left, values below.
void setUpAgeChart(QChart* chart, QAbstractBarSeries* series, QBarCategoryAxis* categories,
                   QValueAxis* values) {
    chart->setLocalizeNumbers(true);
    chart->setMargins(QMargins(6, 6, 12, 6));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->addSeries(series);
    QStringList labels;
    for (int b = 0; b < StatTallies::kAgeBuckets; ++b) labels << axisLabel(b);
    categories->append(labels);
    categories->setGridLineVisible(false);
    chart->addAxis(categories, Qt::AlignLeft);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(categories);
    series->attachAxis(values);
    TfrmStatistics::fitValueAxis(values, 0, true);
}

// One bucket row of an age listing: row 1 is bucket 9, row 10 bucket 0.
int ageRow(int bucket) { return StatTallies::kAgeBuckets - 1 - bucket; }

}  // namespace

void TfrmStatistics::fitValueAxis(QValueAxis* axis, double max, bool whole) {
    if (!(max > 0) || !std::isfinite(max)) {
        axis->setRange(0, 1);
        axis->setTickCount(2);
        axis->setLabelFormat(QStringLiteral("%.0f"));
        return;
    }
    if (whole && max <= 5) {
        const double top = std::ceil(max);
        axis->setRange(0, top);
        axis->setTickCount(int(top) + 1);
        axis->setLabelFormat(QStringLiteral("%.0f"));
        return;
    }
    // About five steps of 1, 2, 2.5 or 5 times a power of ten.
    const double raw = max / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / magnitude;
    double step = (f <= 1 ? 1 : f <= 2 ? 2 : f <= 2.5 ? 2.5 : f <= 5 ? 5 : 10) * magnitude;
    if (whole) step = std::max(step, 1.0);
    const int steps = std::max(1, int(std::ceil(max / step - 1e-9)));
    axis->setRange(0, steps * step);
    axis->setTickCount(steps + 1);
    int decimals = 0;
    while (decimals < 4 &&
           std::fabs(step * std::pow(10.0, decimals) -
                     std::round(step * std::pow(10.0, decimals))) > 1e-6 * std::pow(10.0, decimals))
        ++decimals;
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(decimals) + QLatin1Char('f'));
}

QWidget* TfrmStatistics::buildAgePage(int which) {
    auto* page = new QWidget;
    const QString name = QLatin1String(kAgeNames[which]);

    ageInfo[which] = infoButton(QStringLiteral("SpeedButton%1").arg(which + 1), page);
    ageChart[which] = new ChartPanel(QStringLiteral("chart") + name, context_.dialogs(), page);
    auto* series = new QHorizontalStackedBarSeries;
    series->setObjectName(QStringLiteral("HorizBarSeries%1").arg(which + 1));
    series->setBarWidth(0.7);
    ageSeries[which] = series;
    ageAxisY[which] = new QBarCategoryAxis;
    ageAxisX[which] = new QValueAxis;
    setUpAgeChart(ageChart[which]->chart(), series, ageAxisY[which], ageAxisX[which]);
    showValueTips(series, ageAxisY[which], [this, which] {
        return ageSize[which]->isChecked() ? QStringLiteral("MB") : QStringLiteral("files");
    });

    static const char* const kHeadings[3] = {"Accessed Date", "Created Date", "Modified Date"};
    ageGrid[which] =
        new StatGrid(QStringLiteral("grid") + name,
                     {QLatin1String(kHeadings[which]), QStringLiteral("Total file size"),
                      QStringLiteral("Number of files")},
                     page);
    ageGrid[which]->setPaddedCells(true);
    ageGrid[which]->setRowCount(StatTallies::kAgeBuckets);
    ageGrid[which]->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ageGrid[which]->hide();

    auto* box = new QGroupBox(QStringLiteral("Display"), page);
    ageSize[which] = radio(QStringLiteral("Chart by Size (in MB)"),
                           QStringLiteral("rg%1%2").arg(name).arg(1), box);
    ageCount[which] = radio(QStringLiteral("Chart by Number of Files"),
                            QStringLiteral("rg%1%2").arg(name).arg(2), box);
    ageListing[which] =
        radio(QStringLiteral("Listing"), QStringLiteral("rg%1%2").arg(name).arg(0), box);
    ageSize[which]->setChecked(true);
    auto* choice = new QHBoxLayout(box);
    choice->addWidget(ageSize[which]);
    choice->addSpacing(12);
    choice->addWidget(ageCount[which]);
    choice->addSpacing(12);
    choice->addWidget(ageListing[which]);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(box);
    bottom->addStretch(1);
    bottom->addWidget(ageInfo[which], 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(ageChart[which], 1);
    layout->addWidget(ageGrid[which], 1);
    layout->addLayout(bottom);

    for (QRadioButton* b : {ageSize[which], ageCount[which], ageListing[which]})
        connect(b, &QRadioButton::clicked, this, &TfrmStatistics::rgAccessClick);
    static void (TfrmStatistics::*const kInfo[3])() = {&TfrmStatistics::SpeedButton1Click,
                                                       &TfrmStatistics::SpeedButton2Click,
                                                       &TfrmStatistics::SpeedButton3Click};
    connect(ageInfo[which], &QPushButton::clicked, this, kInfo[which]);
    return page;
}

QWidget* TfrmStatistics::buildCombinedPage() {
    auto* page = new QWidget;
    SpeedButton4 = infoButton(QStringLiteral("SpeedButton4"), page);
    SpeedButton4->setToolTip(QStringLiteral("About this chart"));

    chartCombine = new ChartPanel(QStringLiteral("chartCombine"), context_.dialogs(), page);
    QChart* chart = chartCombine->chart();
    chart->setTitle(QStringLiteral("Combination Access/Created/Modified Chart"));
    auto* series = new QHorizontalBarSeries;
    series->setObjectName(QStringLiteral("combineSeries"));
    // Three bars a bucket, 25 % of the slot each: their centres lie at -25 %, 0 and +25 %.
    series->setBarWidth(0.75);
    Series8 = new QBarSet(QStringLiteral("Modified"));
    Series8->setObjectName(QStringLiteral("Series8"));
    Series7 = new QBarSet(QStringLiteral("Created"));
    Series7->setObjectName(QStringLiteral("Series7"));
    Series6 = new QBarSet(QStringLiteral("Accessed"));
    Series6->setObjectName(QStringLiteral("Series6"));
    // The first set lies lowest in each bucket.
    series->append({Series8, Series7, Series6});
    combineSeries = series;
    combineAxisY = new QBarCategoryAxis;
    combineAxisX = new QValueAxis;
    setUpAgeChart(chart, series, combineAxisY, combineAxisX);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->show();
    showValueTips(series, combineAxisY, [this] {
        return rbCombine1->isChecked() ? QStringLiteral("MB") : QStringLiteral("files");
    });

    gridCombine = new StatGrid(QStringLiteral("gridCombine"),
                               {QStringLiteral("Combined dates"), QStringLiteral("Access Size"),
                                QStringLiteral("Access # files"), QStringLiteral("Create Size"),
                                QStringLiteral("Create # files"), QStringLiteral("Modify Size"),
                                QStringLiteral("Modify # files")},
                               page);
    gridCombine->setPaddedCells(true);
    gridCombine->setRowCount(StatTallies::kAgeBuckets);
    gridCombine->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    gridCombine->hide();

    auto* box = new QGroupBox(QStringLiteral("Display"), page);
    rbCombine1 = radio(QStringLiteral("Chart by Size (in MB)"), QStringLiteral("rbCombine1"), box);
    rbCombine2 =
        radio(QStringLiteral("Chart by Number of Files"), QStringLiteral("rbCombine2"), box);
    rgCombine0 = radio(QStringLiteral("Listing"), QStringLiteral("rgCombine0"), box);
    rbCombine1->setChecked(true);
    auto* choice = new QHBoxLayout(box);
    choice->addWidget(rbCombine1);
    choice->addSpacing(12);
    choice->addWidget(rbCombine2);
    choice->addSpacing(12);
    choice->addWidget(rgCombine0);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(box);
    bottom->addStretch(1);
    bottom->addWidget(SpeedButton4, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chartCombine, 1);
    layout->addWidget(gridCombine, 1);
    layout->addLayout(bottom);

    for (QRadioButton* b : {rbCombine1, rbCombine2, rgCombine0})
        connect(b, &QRadioButton::clicked, this, &TfrmStatistics::rgAccessClick);
    connect(SpeedButton4, &QPushButton::clicked, this, &TfrmStatistics::SpeedButton4Click);
    return page;
}

void TfrmStatistics::fillGridDates(StatGrid* grid, const QString& heading,
                                   const StatTallies::AgeTally& counts,
                                   const StatTallies::AgeTally& bytes) {
    const QStringList headers{heading, QStringLiteral("Total file size"),
                              QStringLiteral("Number of files")};
    if (grid->grid().headers() != headers) grid->grid().setHeaders(headers);
    grid->setRowCount(StatTallies::kAgeBuckets);
    for (int b = 0; b < StatTallies::kAgeBuckets; ++b) {
        const int row = ageRow(b);
        grid->setCell(row, 0, ageBucketLabel(b));
        grid->setCell(row, 1, numberText(double(bytes[size_t(b)])));
        grid->setCell(row, 2, thousandsText(counts[size_t(b)]));
    }
}

void TfrmStatistics::fillCombinedGridDates() {
    const StatTallies& t = tallies_;
    const StatTallies::AgeTally* columns[3][2] = {{&t.accessBytes, &t.accessCount},
                                                  {&t.createBytes, &t.createCount},
                                                  {&t.modifyBytes, &t.modifyCount}};
    gridCombine->setRowCount(StatTallies::kAgeBuckets);
    for (int b = 0; b < StatTallies::kAgeBuckets; ++b) {
        const int row = ageRow(b);
        gridCombine->setCell(row, 0, ageGrid[2]->cell(row, 0));
        for (int k = 0; k < 3; ++k) {
            gridCombine->setCell(row, 1 + 2 * k, numberText(double((*columns[k][0])[size_t(b)])));
            gridCombine->setCell(row, 2 + 2 * k, thousandsText((*columns[k][1])[size_t(b)]));
        }
    }
}

void TfrmStatistics::fillAgeSeries(QAbstractBarSeries* series, const StatTallies::AgeTally& counts,
                                   const StatTallies::AgeTally& bytes, bool megabytes,
                                   const QColor& colour, bool singleColour) {
    initAColors(!singleColour, colour);
    std::vector<ColouredBar> bars;
    double max = 0;
    for (int b = 0; b < StatTallies::kAgeBuckets; ++b) {
        const double value =
            megabytes ? double(bytes[size_t(b)]) / kStatMegabyte : double(counts[size_t(b)]);
        bars.push_back({axisLabel(b), value, AColors.entry[b + 1]});
        max = std::max(max, value);
    }
    QBarCategoryAxis* categories = nullptr;
    QValueAxis* values = nullptr;
    for (QAbstractAxis* axis : series->attachedAxes()) {
        if (auto* c = qobject_cast<QBarCategoryAxis*>(axis)) categories = c;
        if (auto* v = qobject_cast<QValueAxis*>(axis)) values = v;
    }
    fillColouredBars(series, categories, bars);
    for (QBarSet* set : series->barSets()) set->setBrush(gradientBrush(set->color()));
    if (values) fitValueAxis(values, max, !megabytes);
}

namespace {

// One series of the Combined chart: the ten buckets in its single colour.
double fillCombinedSet(QBarSet* set, const StatTallies::AgeTally& counts,
                       const StatTallies::AgeTally& bytes, bool megabytes, const QColor& colour) {
    QList<qreal> values;
    double max = 0;
    for (int b = 0; b < StatTallies::kAgeBuckets; ++b) {
        values << (megabytes ? double(bytes[size_t(b)]) / kStatMegabyte
                             : double(counts[size_t(b)]));
        max = std::max(max, values.back());
    }
    set->remove(0, set->count());
    set->append(values);
    set->setBrush(gradientBrush(colour));
    set->setBorderColor(colour.darker(140));
    return max;
}

}  // namespace

void TfrmStatistics::doFileAges() {
    const StatTallies& t = tallies_;
    const StatTallies::AgeTally* counts[3] = {&t.accessCount, &t.createCount, &t.modifyCount};
    const StatTallies::AgeTally* bytes[3] = {&t.accessBytes, &t.createBytes, &t.modifyBytes};
    QBarSet* sets[3] = {Series6, Series7, Series8};
    const QColor colours[3] = {kAccessed, kCreated, kModified};
    const bool combinedMegabytes = rbCombine1->isChecked();
    double combinedMax = 0;
    for (int i = 0; i < 3; ++i) {
        const bool megabytes = ageSize[i]->isChecked();
        ageChart[i]->undoZoom();
        ageChart[i]->chart()->setTitle(QLatin1String(kAgeTitles[i]) +
                                       (megabytes ? QStringLiteral(" (file sizes in MB)")
                                                  : QStringLiteral(" (Number of files)")));
        fillAgeSeries(ageSeries[i], *counts[i], *bytes[i], megabytes, QColor(), false);
        initAColors(false, colours[i]);
        combinedMax = std::max(combinedMax, fillCombinedSet(sets[i], *counts[i], *bytes[i],
                                                            combinedMegabytes, AColors.entry[1]));
    }
    fitValueAxis(combineAxisX, combinedMax, !combinedMegabytes);
}

void TfrmStatistics::rgAccessClick() {
    const int page = OvcNotebook1->currentIndex();
    if (page >= pgAccess && page <= pgCombined) {
        const int i = page - pgAccess;
        const bool listing =
            page == pgCombined ? rgCombine0->isChecked() : ageListing[i]->isChecked();
        QWidget* grid = page == pgCombined ? static_cast<QWidget*>(gridCombine) : ageGrid[i];
        QWidget* chart = page == pgCombined ? static_cast<QWidget*>(chartCombine) : ageChart[i];
        grid->setVisible(listing);
        chart->setVisible(!listing);
        if (listing) return;
    }
    doFileAges();
}

void TfrmStatistics::SpeedButton1Click() {
    context_.dialogs().message(
        Beep::None, BoxIcon::Information,
        QStringLiteral("Note: prior versions of Windows and DOS did not store the file access "
                       "date.  Files never recorded as being accessed are probably old files "
                       "that were converted to Windows 95/98."));
}

void TfrmStatistics::SpeedButton2Click() {
    context_.dialogs().message(
        Beep::None, BoxIcon::Information,
        QStringLiteral("Files never recorded as being created are probably old files that were "
                       "converted to Windows 95/98.  Note: prior versions of Windows and DOS "
                       "did not store the file creation date independent of the last file "
                       "modification or file write date."));
}

void TfrmStatistics::SpeedButton3Click() {
    context_.dialogs().message(
        Beep::None, BoxIcon::Information,
        QStringLiteral("Note: prior versions of Windows and DOS treated the file creation date "
                       "synonomously  with the last file modification date.  Therefore all "
                       "files have a file modification date."));
}

void TfrmStatistics::SpeedButton4Click() {
    context_.dialogs().message(
        Beep::None, BoxIcon::Information,
        QStringLiteral("This chart combines the Accessed, Created and Modified charts"));
}

}  // namespace vastel
