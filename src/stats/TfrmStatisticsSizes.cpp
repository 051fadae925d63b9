// The Sizes and Overhang pages of the statistics window.
#include "core/Utility.h"
#include "stats/StatTexts.h"
#include "stats/TfrmStatistics.h"
#include "stats/ui/StatGrid.h"
#include "widgets/AppContext.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QFrame>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <array>

namespace vastel {

namespace {

// Horizontal bars drawn as lit rods: light along the upper third, dark at the edges.
QBrush rodBrush(const QColor& colour) {
    QLinearGradient g(0, 0, 0, 1);
    g.setCoordinateMode(QGradient::ObjectBoundingMode);
    g.setColorAt(0.0, colour.darker(135));
    g.setColorAt(0.35, colour.lighter(150));
    g.setColorAt(1.0, colour.darker(170));
    return QBrush(g);
}

// The table rows of the Overhang page are this high, so the bars beside them line up.
constexpr int kOverhangRow = 30;

QLabel* cell(const QString& text, const QString& name, QWidget* parent,
             Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty()) l->setObjectName(name);
    l->setAlignment(align);
    l->setContentsMargins(6, 0, 6, 0);
    return l;
}

QPixmap arrowPixmap() {
    QPixmap pixmap(34, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(1, 6);
    path.lineTo(20, 6);
    path.lineTo(20, 1);
    path.lineTo(33, 10);
    path.lineTo(20, 19);
    path.lineTo(20, 14);
    path.lineTo(1, 14);
    path.closeSubpath();
    p.setPen(QPen(QColor(0, 0, 96), 1));
    p.setBrush(QColor(0, 0, 255));
    p.drawPath(path);
    return pixmap;
}

// The waste tallies from the 4K row down.
std::array<qint64, 5> wastes(const StatTallies& t) {
    return {t.waste4K, t.waste8K, t.waste16K, t.waste32K, t.waste64K};
}

}  // namespace

QWidget* TfrmStatistics::buildSizesPage() {
    auto* page = new QWidget;

    gridSizes = new StatGrid(QStringLiteral("gridSizes"),
                             {QStringLiteral("File size"), QStringLiteral("Total file size"),
                              QStringLiteral("Number of files")},
                             page);
    gridSizes->setPaddedCells(true);
    gridSizes->setRowCount(12);
    gridSizes->hide();

    Chart1 = new ChartPanel(QStringLiteral("Chart1"), context_.dialogs(), page);
    QChart* chart = Chart1->chart();
    auto* series = new QHorizontalStackedBarSeries(chart);
    series->setObjectName(QStringLiteral("Series1"));
    series->setBarWidth(0.7);
    Series1 = series;
    chart->addSeries(series);
    sizesAxis = new QBarCategoryAxis(chart);
    sizesValueAxis = new QValueAxis(chart);
    sizesValueAxis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(sizesAxis, Qt::AlignLeft);
    chart->addAxis(sizesValueAxis, Qt::AlignBottom);
    series->attachAxis(sizesAxis);
    series->attachAxis(sizesValueAxis);
    chart->setTitle(QStringLiteral("File Sizes in MB"));

    rgSize1 = new QRadioButton(QStringLiteral("Chart by Size (in MB)"), page);
    rgSize1->setObjectName(QStringLiteral("rgSize1"));
    rgSize2 = new QRadioButton(QStringLiteral("Chart by Number of Files"), page);
    rgSize2->setObjectName(QStringLiteral("rgSize2"));
    rgSize0 = new QRadioButton(QStringLiteral("Listing"), page);
    rgSize0->setObjectName(QStringLiteral("rgSize0"));
    rgSize1->setChecked(true);
    auto* choiceBox = new QGroupBox(QStringLiteral("Display"), page);
    auto* group = new QButtonGroup(choiceBox);
    auto* choices = new QHBoxLayout(choiceBox);
    for (QRadioButton* b : {rgSize1, rgSize2, rgSize0}) {
        group->addButton(b);
        choices->addWidget(b);
        connect(b, &QRadioButton::clicked, this, &TfrmStatistics::rgSizesClick);
    }

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(choiceBox);
    bottom->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Chart1, 1);
    layout->addWidget(gridSizes, 1, Qt::AlignLeft | Qt::AlignTop);
    layout->addLayout(bottom);
    return page;
}

void TfrmStatistics::doFileSizes() {
    fillGridSizes();
    rgSizesClick();
}

void TfrmStatistics::fillGridSizes() {
    gridSizes->setRowCount(12);
    for (int k = 1; k <= StatTallies::kSizeBuckets; ++k) {
        const int row = 12 - k;  // row 13 - k of the heading-counted grid
        gridSizes->setCell(row, 0, sizeBucketLabel(k));
        gridSizes->setCell(row, 1, numberText(double(tallies_.sizeBytes[size_t(k)])));
        gridSizes->setCell(row, 2, thousandsText(tallies_.sizeCount[size_t(k)]));
    }
    gridSizes->fitColumns();
    int width = gridSizes->frameWidth() * 2;
    for (int c = 0; c < 3; ++c) width += gridSizes->columnWidth(c);
    gridSizes->setFixedWidth(width + gridSizes->verticalScrollBar()->sizeHint().width());
    // As tall as its twelve rows, no empty box below them.
    gridSizes->setFixedHeight(gridSizes->horizontalHeader()->sizeHint().height() +
                              12 * gridSizes->verticalHeader()->defaultSectionSize() +
                              gridSizes->frameWidth() * 2 + 2);
    gridSizes->scrollToTop();
}

void TfrmStatistics::rgSizesClick() {
    const bool listing = rgSize0->isChecked();
    gridSizes->setVisible(listing);
    Chart1->setVisible(!listing);
    if (listing) return;
    initAColors(true);
    Chart1->undoZoom();
    const bool bySize = rgSize1->isChecked();
    Chart1->chart()->setTitle(bySize ? QStringLiteral("File Sizes in MB")
                                     : QStringLiteral("Number of Files"));
    std::vector<ColouredBar> bars;
    double top = 0;
    for (int k = 1; k <= StatTallies::kSizeBuckets; ++k) {
        const double value = bySize ? double(tallies_.sizeBytes[size_t(k)]) / kStatMegabyte
                                    : double(tallies_.sizeCount[size_t(k)]);
        bars.push_back({sizeBucketLabel(k), value, AColors.entry[k]});
        top = std::max(top, value);
    }
    fillColouredBars(Series1, sizesAxis, bars);
    const QList<QBarSet*> sets = Series1->barSets();
    for (int i = 0; i < sets.size(); ++i) sets[i]->setBrush(rodBrush(bars[size_t(i)].colour));
    // Without any file the axis still spans something.
    sizesValueAxis->setRange(0, top > 0 ? top : 1.0);
    sizesValueAxis->applyNiceNumbers();
    sizesValueAxis->setLabelFormat(bySize && top < 10 ? QStringLiteral("%.1f")
                                                      : QStringLiteral("%.0f"));
}

QWidget* TfrmStatistics::buildOverhangPage() {
    auto* page = new QWidget;

    auto* heading = new QLabel(QStringLiteral("Cluster overhang for FAT and FAT32 drives"), page);
    heading->setObjectName(QStringLiteral("lblOverhangHeading"));
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.25);
    big.setBold(true);
    heading->setFont(big);

    auto* table = new QFrame(page);
    table->setObjectName(QStringLiteral("pnlOverhangTable"));
    table->setFrameShape(QFrame::StyledPanel);
    overhangTable = new QGridLayout(table);
    overhangTable->setContentsMargins(6, 4, 6, 4);
    overhangTable->setHorizontalSpacing(14);
    overhangTable->setVerticalSpacing(0);

    static const char* const kHeads[] = {"FAT Partion size", "FAT 32 Size", "Cluster size",
                                         "Percent wasted", "Wasted space"};
    for (int c = 0; c < 5; ++c) {
        QLabel* head = cell(QLatin1String(kHeads[c]), QString(), table,
                            (c == 4 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        QFont bold = head->font();
        bold.setBold(true);
        head->setFont(bold);
        overhangTable->addWidget(head, 0, c + 1);
    }
    static const char* const kPartitions[] = {"255 MB", "256 MB - 511 MB", "512 MB - 1023 MB",
                                              "1 GB - 2 GB", "2 GB - 4 GB"};
    static const char* const kFat32[] = {"Less than 8GB", "Less than 16GB", "Less than 32GB",
                                         "32GB or more", ""};
    static const char* const kClusters[] = {"4K", "8K", "16K", "32K", "64K"};
    for (int r = 0; r <= 5; ++r) overhangTable->setRowMinimumHeight(r, kOverhangRow);
    for (int r = 0; r < 5; ++r) {
        overhangTable->addWidget(cell(QLatin1String(kPartitions[r]), QString(), table), r + 1, 1);
        overhangTable->addWidget(cell(QLatin1String(kFat32[r]), QString(), table), r + 1, 2);
        lblCSize[r] = cell(QLatin1String(kClusters[r]), QStringLiteral("lblCSize%1").arg(r + 1),
                           table, Qt::AlignHCenter | Qt::AlignVCenter);
        overhangTable->addWidget(lblCSize[r], r + 1, 3);
        lblOver[r] = cell(QStringLiteral("0"), QStringLiteral("lblOver%1").arg(r + 1), table,
                          Qt::AlignRight | Qt::AlignVCenter);
        lblOver[r]->setMinimumWidth(110);
        overhangTable->addWidget(lblOver[r], r + 1, 5);
    }

    // The bars stand beside the five rows: the chart spans them and has no margins or axes.
    chartOverhang = new ChartPanel(QStringLiteral("chartOverhang"), context_.dialogs(), table);
    chartOverhang->view()->setMinimumSize(240, 5 * kOverhangRow);
    chartOverhang->view()->setFrameShape(QFrame::NoFrame);
    chartOverhang->view()->setBackgroundBrush(Qt::NoBrush);
    chartOverhang->toolBar()->setIconSize(QSize(16, 16));
    QChart* chart = chartOverhang->chart();
    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundVisible(false);
    auto* series = new QHorizontalStackedBarSeries(chart);
    series->setObjectName(QStringLiteral("Series9"));
    series->setBarWidth(0.6);
    Series9 = series;
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis(chart);
    overhangAxis = new QValueAxis(chart);
    chart->addAxis(categories, Qt::AlignLeft);
    chart->addAxis(overhangAxis, Qt::AlignBottom);
    series->attachAxis(categories);
    series->attachAxis(overhangAxis);
    categories->setVisible(false);
    overhangAxis->setVisible(false);
    overhangAxis->setRange(0, 100);
    for (QGraphicsSimpleTextItem*& label : overhangLabels) {
        label = new QGraphicsSimpleTextItem(chart);
        label->setZValue(20);
    }
    connect(chart, &QChart::plotAreaChanged, this, [this] { placeOverhangLabels(); });
    overhangTable->addWidget(chartOverhang, 1, 4, 5, 1);
    overhangTable->setColumnStretch(4, 1);

    imArrow = new QLabel(table);
    imArrow->setObjectName(QStringLiteral("imArrow"));
    imArrow->setPixmap(arrowPixmap());
    imArrow->setMinimumWidth(36);
    imArrow->hide();
    overhangTable->setColumnMinimumWidth(0, 36);
    overhangTable->addWidget(imArrow, 1, 0);

    auto* cover = new QLabel(
        QStringLiteral("Cluster overhang analysis is not applicable to this drive."), table);
    cover->setObjectName(QStringLiteral("pnlCluster"));
    cover->setAlignment(Qt::AlignCenter);
    cover->setAutoFillBackground(true);
    cover->setFrameShape(QFrame::StyledPanel);
    QFont coverFont = cover->font();
    coverFont.setPointSizeF(coverFont.pointSizeF() * 1.2);
    coverFont.setBold(true);
    cover->setFont(coverFont);
    pnlCluster = cover;
    overhangTable->addWidget(pnlCluster, 0, 0, 6, 6);
    pnlCluster->hide();

    pnlOverhang = new QFrame(page);
    pnlOverhang->setObjectName(QStringLiteral("pnlOverhang"));
    auto* totals = new QGridLayout(pnlOverhang);
    totals->setContentsMargins(0, 4, 0, 4);
    totals->setHorizontalSpacing(8);
    auto* totalCaption = new QLabel(QStringLiteral("Total file sizes:"), pnlOverhang);
    lblSize = cell(QString(), QStringLiteral("lblSize"), pnlOverhang);
    lblLbl = new QLabel(QStringLiteral("Actual space used:"), pnlOverhang);
    lblLbl->setObjectName(QStringLiteral("lblLbl"));
    lblNumFiles = new QLabel(pnlOverhang);
    lblNumFiles->setObjectName(QStringLiteral("lblNumFiles"));
    totals->addWidget(totalCaption, 0, 0);
    totals->addWidget(lblSize, 0, 1);
    totals->addWidget(lblLbl, 0, 3);
    totals->addWidget(lblNumFiles, 0, 5);
    totals->setColumnMinimumWidth(2, 30);
    totals->setColumnMinimumWidth(4, 30);
    totals->setColumnStretch(6, 1);
    pnlOverhang->hide();

    Memo1 = new QPlainTextEdit(page);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(QStringList{
        QStringLiteral("This page is an illustration of the amount of disk space wasted due to "
                       "'cluster overhang.'  This is the smallest amount of space "),
        QStringLiteral("a file will actually use.   The arrow points to your actual cluster "
                       "size, the other numbers are hypothetical."),
        QString(),
        QStringLiteral("Due to the design of both Windows 95/DOS the hard disk is divided into "
                       "clusters.  Files are stored in clusters. A file of one "),
        QStringLiteral("byte will take an entire cluster and a file that's one byte larger than "
                       "a cluster will take two clusters.  The larger the partition, the "),
        QStringLiteral("more overhang or waste is involved."), QString(),
        QStringLiteral("Solutions are to either repartition your hard disk or use disk "
                       "compression.  Later versions of Win95/98 come with FAT32 "),
        QStringLiteral("which uses 4K cluster sizes for drives up to 8GB in size and 8K clusters "
                       "for up to 16GB.")}
                            .join(QLatin1Char('\n')));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(heading);
    layout->addWidget(table);
    layout->addWidget(pnlOverhang);
    layout->addWidget(Memo1, 1);
    return page;
}

void TfrmStatistics::doOverHang() {
    const StatTallies& t = tallies_;
    qint64 total = 0;
    for (int k = 1; k <= StatTallies::kSizeBuckets; ++k) total += t.sizeBytes[size_t(k)];
    if (total == 0) {
        OvcNotebook1->setTabEnabled(pgOverhang, false);
        return;
    }
    const std::array<qint64, 5> waste = wastes(t);
    for (int r = 0; r < 5; ++r) lblOver[r]->setText(numberText(double(waste[size_t(r)])));

    drawClusterArrow();

    pnlOverhang->show();
    const bool megabytes = total >= qint64(kStatMegabyte);
    const auto inUnit = [megabytes](double bytes) {
        return megabytes ? numberText(bytes / kStatMegabyte) + QStringLiteral(" MB")
                         : numberText(bytes / 1024.0) + QStringLiteral(" KB");
    };
    lblSize->setText(inUnit(double(total)));
    lblNumFiles->setText(QStringLiteral("Number of files scanned: ") +
                         thousandsText(t.filesSelected));
    qint64 w = 0;
    static const qint64 kClusters[] = {4096, 8192, 16384, 32768, 65536};
    for (int r = 0; r < 5; ++r)
        if (clusterSize == kClusters[r]) w = waste[size_t(r)];
    // The unit follows the file sizes, not the space used. Without the arrow the figure would
    // be another drive's, so the caption goes back to its idle text.
    if (!imArrow->isHidden())
        lblLbl->setText(QStringLiteral("Actual space used ") + inUnit(double(total + w)));
    else
        lblLbl->setText(QStringLiteral("Actual space used:"));

    std::vector<ColouredBar> bars;
    for (int r = 4; r >= 0; --r) {
        const double x = double(waste[size_t(r)]);
        bars.push_back({QString(), x * 100.0 / (double(total) + x), QColor(255, 0, 0)});
    }
    fillColouredBars(Series9, nullptr, bars);
    // The category axis spans the five slots even without labels.
    if (auto* categories = qobject_cast<QBarCategoryAxis*>(
            chartOverhang->chart()->axes(Qt::Vertical, Series9).value(0))) {
        categories->clear();
        categories->append({QStringLiteral("64K"), QStringLiteral("32K"), QStringLiteral("16K"),
                            QStringLiteral("8K"), QStringLiteral("4K")});
    }
    const QList<QBarSet*> sets = Series9->barSets();
    for (QBarSet* set : sets) set->setBrush(rodBrush(QColor(255, 0, 0)));
    double top = 0;
    for (const ColouredBar& bar : bars) top = std::max(top, bar.value);
    // Room after the longest bar for its value.
    overhangAxis->setRange(0, std::max(top * 1.25, 1.0));
    for (int r = 0; r < 5; ++r)
        overhangLabels[r]->setText(numberText(bars[size_t(4 - r)].value) + QStringLiteral(" %"));
    placeOverhangLabels();
}

void TfrmStatistics::placeOverhangLabels() {
    QChart* chart = chartOverhang->chart();
    const QList<QBarSet*> sets = Series9->barSets();
    for (int r = 0; r < 5; ++r) {
        QGraphicsSimpleTextItem* label = overhangLabels[r];
        const int slot = 4 - r;  // the 4K row is the last slot, at the top
        if (sets.size() != 5) {
            label->hide();
            continue;
        }
        const double value = sets[slot]->at(slot);
        const QPointF end = chart->mapToPosition(QPointF(value, slot), Series9);
        const QRectF box = label->boundingRect();
        label->setPos(end.x() + 6, end.y() - box.height() / 2);
        label->show();
    }
}

void TfrmStatistics::drawClusterArrow() {
    imArrow->hide();
    static const qint64 kClusters[] = {4096, 8192, 16384, 32768, 65536};
    for (int r = 0; r < 5; ++r) {
        if (clusterSize != kClusters[r]) continue;
        overhangTable->addWidget(imArrow, r + 1, 0, Qt::AlignCenter);
        imArrow->show();
    }
    pnlCluster->setVisible(imArrow->isHidden());
    if (!pnlCluster->isHidden()) pnlCluster->raise();
}

}  // namespace vastel
