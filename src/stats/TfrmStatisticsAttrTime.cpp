// The Attribute and Time pages of the statistics window.
#include "stats/TfrmStatistics.h"

#include "core/Utility.h"
#include "platform/Dialogs.h"
#include "widgets/AppContext.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTime>
#include <QToolBar>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace vastel {

namespace {

constexpr int kAttrRowHeight = 34;
constexpr double kTimeMargin = 2;  // slots
// The share charts run to 160 % so that the label of a full bar fits beside it.
constexpr double kShareAxisTop = 160;

const QColor kShareFiles(255, 0, 0);  // red
const QColor kShareBytes(0, 0, 255);  // blue

QLabel* tableLabel(const QString& text, const QString& name, QWidget* parent,
                   Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty()) l->setObjectName(name);
    l->setAlignment(align);
    l->setFixedHeight(kAttrRowHeight);
    return l;
}

// A share chart of the Attribute page: four bars beside the four table rows, no axes, no
// margins, so that the plot area is the chart's whole height.
QAbstractBarSeries* setUpShareChart(ChartPanel* panel, const QString& seriesName,
                                    QBarCategoryAxis*& categories) {
    QChart* chart = panel->chart();
    chart->setLocalizeNumbers(true);
    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundVisible(false);
    panel->view()->setFrameShape(QFrame::NoFrame);
    panel->view()->setMinimumSize(180, 4 * kAttrRowHeight);
    panel->view()->setStyleSheet(QStringLiteral("background: transparent"));
    panel->setFixedHeight(4 * kAttrRowHeight);
    panel->toolBar()->setIconSize(QSize(14, 14));
    auto* series = new QHorizontalBarSeries;
    series->setObjectName(seriesName);
    series->setBarWidth(0.45);
    series->setLabelsFormat(QStringLiteral("@value %"));
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsVisible(true);
    chart->addSeries(series);
    categories = new QBarCategoryAxis;
    categories->append({QStringLiteral("Archive"), QStringLiteral("System"),
                        QStringLiteral("Read-only"), QStringLiteral("Hidden")});
    auto* values = new QValueAxis;
    values->setRange(0, kShareAxisTop);
    chart->addAxis(categories, Qt::AlignLeft);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(categories);
    series->attachAxis(values);
    categories->setVisible(false);
    values->setVisible(false);
    return series;
}

// Four bars, archive first so that hidden stands at the top, each part * 100 / whole rounded
// to the two decimals the label shows. The bars share one colour, so they are one bar set, and
// their labels can stand beyond the bars' ends.
void fillShares(QAbstractBarSeries* series, const qint64 (&parts)[4], qint64 whole,
                const QColor& colour) {
    series->clear();
    if (whole <= 0) return;
    auto* set = new QBarSet(QStringLiteral("Share"));
    for (int i = 0; i < 4; ++i)
        set->append(std::round(double(parts[i]) * 10000.0 / double(whole)) / 100.0);
    set->setColor(colour);
    set->setBorderColor(colour.darker(140));
    set->setLabelColor(Qt::black);
    series->append(set);
}

// The soft shadow of a line: the depth of the chart is how far the line stands off the page.
QLineSeries* shadowOf(QLineSeries* line) {
    auto* shadow = new QLineSeries;
    shadow->setObjectName(line->objectName() + QStringLiteral("Depth"));
    QPen pen(QColor(0, 0, 0, 50), 3);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    shadow->setPen(pen);
    return shadow;
}

}  // namespace

QWidget* TfrmStatistics::buildAttributePage() {
    auto* page = new QWidget;
    auto* table = new QGridLayout;
    table->setVerticalSpacing(0);
    table->setHorizontalSpacing(18);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
    table->addWidget(tableLabel(QStringLiteral("# Files"), QString(), page, right), 0, 1);
    table->addWidget(tableLabel(QStringLiteral("File Sizes"), QString(), page, right), 0, 2);
    table->addWidget(tableLabel(QStringLiteral("% of total # files"), QString(), page, centre), 0,
                     3);
    table->addWidget(tableLabel(QStringLiteral("% of total size"), QString(), page, centre), 0, 4);
    static const char* const kRows[4] = {"Hidden", "Read-only", "System", "Archive"};
    static const char* const kKeys[4] = {"Hidden", "ReadOnly", "System", "Archive"};
    QLabel** counts[4] = {&lblNHidden, &lblNReadOnly, &lblNSystem, &lblNArchive};
    QLabel** sizes[4] = {&lblSzHidden, &lblSzReadOnly, &lblSzSystem, &lblSzArchive};
    for (int r = 0; r < 4; ++r) {
        QLabel* caption = tableLabel(QLatin1String(kRows[r]), QString(), page);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        table->addWidget(caption, r + 1, 0);
        *counts[r] = tableLabel(QStringLiteral("0"),
                                QStringLiteral("lblN") + QLatin1String(kKeys[r]), page, right);
        *sizes[r] = tableLabel(QStringLiteral("0"),
                               QStringLiteral("lblSz") + QLatin1String(kKeys[r]), page, right);
        (*counts[r])->setMinimumWidth(90);
        (*sizes[r])->setMinimumWidth(130);
        table->addWidget(*counts[r], r + 1, 1);
        table->addWidget(*sizes[r], r + 1, 2);
    }
    Chart2 = new ChartPanel(QStringLiteral("Chart2"), context_.dialogs(), page);
    HorizBarSeries4 = setUpShareChart(Chart2, QStringLiteral("HorizBarSeries4"), attrAxis[0]);
    Chart3 = new ChartPanel(QStringLiteral("Chart3"), context_.dialogs(), page);
    HorizBarSeries5 = setUpShareChart(Chart3, QStringLiteral("HorizBarSeries5"), attrAxis[1]);
    table->addWidget(Chart2, 1, 3, 4, 1);
    table->addWidget(Chart3, 1, 4, 4, 1);
    table->setColumnStretch(3, 1);
    table->setColumnStretch(4, 1);

    // The rows on alternating shades, so that a bar is read against its row.
    auto* frame = new QFrame(page);
    frame->setObjectName(QStringLiteral("attrTable"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(12, 6, 12, 10);
    frameLayout->addLayout(table);

    auto* note = new QLabel(QStringLiteral("Note it is possible that some files may have more "
                                           "than one attribute set.  For example many system "
                                           "files are also hidden."),
                            page);
    note->setObjectName(QStringLiteral("lblAttrNote"));
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(frame);
    layout->addSpacing(12);
    layout->addWidget(note);
    layout->addStretch(1);
    return page;
}

void TfrmStatistics::doFileAttrs() {
    const StatTallies& t = tallies_;
    lblNHidden->setText(thousandsText(t.nHidden));
    lblNReadOnly->setText(thousandsText(t.nReadOnly));
    lblNSystem->setText(thousandsText(t.nSystem));
    lblNArchive->setText(thousandsText(t.nArchive));
    lblSzHidden->setText(numberText(double(t.szHidden)));
    lblSzReadOnly->setText(numberText(double(t.szReadOnly)));
    lblSzSystem->setText(numberText(double(t.szSystem)));
    lblSzArchive->setText(numberText(double(t.szArchive)));
    const qint64 counts[4] = {t.nArchive, t.nSystem, t.nReadOnly, t.nHidden};
    const qint64 bytes[4] = {t.szArchive, t.szSystem, t.szReadOnly, t.szHidden};
    const qint64 n = counts[0] + counts[1] + counts[2] + counts[3];
    const qint64 s = bytes[0] + bytes[1] + bytes[2] + bytes[3];
    fillShares(HorizBarSeries4, counts, n, kShareFiles);
    fillShares(HorizBarSeries5, bytes, s, kShareBytes);
}

QWidget* TfrmStatistics::buildTimePage() {
    auto* page = new QWidget;
    Chart4 = new ChartPanel(QStringLiteral("Chart4"), context_.dialogs(), page);
    QChart* chart = Chart4->chart();
    chart->setLocalizeNumbers(true);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->show();

    Series12 = new QLineSeries;
    Series12->setName(QStringLiteral("Access Time"));
    Series12->setObjectName(QStringLiteral("Series12"));
    Series12->setPen(QPen(QColor(0, 255, 255), 2));  // aqua
    Series11 = new QLineSeries;
    Series11->setName(QStringLiteral("Created time"));
    Series11->setObjectName(QStringLiteral("Series11"));
    Series11->setPen(QPen(QColor(0, 255, 0), 2));  // lime
    Series10 = new QLineSeries;
    Series10->setName(QStringLiteral("Modified time"));
    Series10->setObjectName(QStringLiteral("Series10"));
    Series10->setPen(QPen(QColor(0, 0, 255), 2));  // blue
    QLineSeries* lines[3] = {Series12, Series11, Series10};

    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // Room on either side for the half of the first label that lies left of its slot.
    x->setRange(-kTimeMargin, StatTallies::kSlots - 1 + kTimeMargin);
    timeAxisX = x;
    timeAxisLeft = new QValueAxis;
    timeAxisRight = new QValueAxis;
    chart->addAxis(timeAxisX, Qt::AlignBottom);
    chart->addAxis(timeAxisLeft, Qt::AlignLeft);
    chart->addAxis(timeAxisRight, Qt::AlignRight);
    // The shadows first, so that the lines are drawn over them.
    for (int i = 0; i < 3; ++i) {
        timeShadow[i] = shadowOf(lines[i]);
        chart->addSeries(timeShadow[i]);
    }
    for (QLineSeries* line : lines) chart->addSeries(line);
    for (int i = 0; i < 3; ++i) {
        for (QLineSeries* s : {timeShadow[i], lines[i]}) {
            s->attachAxis(timeAxisX);
            s->attachAxis(timeAxisLeft);
        }
        chart->legend()->markers(timeShadow[i]).value(0)->setVisible(false);
    }
    fitValueAxis(timeAxisLeft, 0, true);
    fitValueAxis(timeAxisRight, 0, true);
    timeAxisRight->setGridLineVisible(false);

    SpeedButton5 = new QPushButton(page);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    SpeedButton5->setIconSize(QSize(22, 22));
    SpeedButton5->setFlat(true);
    SpeedButton5->setToolTip(QStringLiteral("About the times on this page"));
    sbTime = new QScrollBar(Qt::Horizontal, page);
    sbTime->setObjectName(QStringLiteral("sbTime"));
    sbTime->setRange(8, 70);
    sbTime->setPageStep(5);
    sbTime->setValue(15);
    sbTime->setToolTip(QStringLiteral("Depth of the chart"));
    sbTime->setMinimumWidth(200);
    auto* depth = new QLabel(QStringLiteral("Depth:"), page);
    depth->setBuddy(sbTime);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(depth);
    bottom->addWidget(sbTime);
    bottom->addStretch(1);
    bottom->addWidget(SpeedButton5);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Chart4, 1);
    layout->addLayout(bottom);

    connect(sbTime, &QScrollBar::valueChanged, this, &TfrmStatistics::sbTimeChange);
    connect(SpeedButton5, &QPushButton::clicked, this, &TfrmStatistics::SpeedButton5Click);
    // The offset is in pixels, so it follows the chart's size.
    connect(chart, &QChart::plotAreaChanged, this, [this] { applyTimeDepth(); });
    return page;
}

void TfrmStatistics::doFileTimes() {
    const StatTallies& t = tallies_;
    timeLabels.clear();
    const QLocale locale;
    for (int s = 0; s < StatTallies::kSlots; ++s)
        timeLabels << locale.toString(QTime(s / 2, 30 * (s % 2)), QLocale::ShortFormat);
    const StatTallies::SlotTally* tallies[3] = {&t.hourAccessed, &t.hourCreated, &t.hourModified};
    QLineSeries* lines[3] = {Series12, Series11, Series10};
    qint64 accessSum = 0;
    for (qint64 v : t.hourAccessed) accessSum += v;
    // Access times the file system does not keep (all in slot 0) draw no line.
    const bool access = accessSum > 0;
    double max = 0;
    for (int i = 0; i < 3; ++i) {
        QList<QPointF> points;
        for (int s = 0; s < StatTallies::kSlots; ++s) {
            const qint64 v = (*tallies[i])[size_t(s)];
            points << QPointF(s, double(v));
            if (i > 0 || access) max = std::max(max, double(v));
        }
        lines[i]->replace(points);
    }
    Series12->setVisible(access);
    timeShadow[0]->setVisible(access);
    // Showing a series shows its legend entry again; the shadows have none.
    for (QLineSeries* shadow : timeShadow)
        for (QLegendMarker* marker : Chart4->chart()->legend()->markers(shadow))
            marker->setVisible(false);

    auto* x = static_cast<QCategoryAxis*>(timeAxisX);
    for (const QString& label : x->categoriesLabels()) x->remove(label);
    x->setStartValue(-kTimeMargin);
    for (int s = 0; s < StatTallies::kSlots; s += 6) x->append(timeLabels[s], s);
    // Room on either side for the half of the first label that lies left of its slot.
    x->setRange(-kTimeMargin, StatTallies::kSlots - 1 + kTimeMargin);
    fitValueAxis(timeAxisLeft, max, true);
    fitValueAxis(timeAxisRight, max, true);
    applyTimeDepth();
}

void TfrmStatistics::applyTimeDepth() {
    if (!Chart4 || !sbTime) return;
    const QRectF area = Chart4->chart()->plotArea();
    if (area.width() <= 0 || area.height() <= 0) return;
    // A third of a pixel per percent of depth, down and to the right.
    const double pixels = sbTime->value() / 3.0;
    const double dx = pixels * (timeAxisX->max() - timeAxisX->min()) / area.width();
    const double dy = pixels * (timeAxisLeft->max() - timeAxisLeft->min()) / area.height();
    QLineSeries* lines[3] = {Series12, Series11, Series10};
    for (int i = 0; i < 3; ++i) {
        QList<QPointF> points = lines[i]->points();
        for (QPointF& p : points) p += QPointF(dx, -dy);
        timeShadow[i]->replace(points);
    }
}

void TfrmStatistics::sbTimeChange(int) { applyTimeDepth(); }

void TfrmStatistics::SpeedButton5Click() {
    context_.dialogs().message(
        Beep::None, BoxIcon::Information,
        QStringLiteral("Note: Sometimes software vendors use the file modified time to indicate "
                       "the version number of a product. For example, a file with the time of "
                       "02:10 am would represent version 2.1 of a certain product.  Note that "
                       "files with a time of 12:00:00 am are excluded from this graph."));
}

}  // namespace vastel
