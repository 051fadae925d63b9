// The Space page of the statistics window: capacity and free space of the drives, as stacked
// bars or as turning pies.
#include "stats/TfrmStatistics.h"

#include "core/Utility.h"
#include "widgets/DriveList.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPieSeries>
#include <QPieSlice>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace vastel {

namespace {

const QColor kUsed(0, 0, 255);    // blue
const QColor kFree(255, 0, 255);  // fuchsia

QWidget* swatch(const QColor& colour, const QString& name, QWidget* parent) {
    auto* w = new QFrame(parent);
    w->setObjectName(name);
    w->setFixedSize(14, 14);
    w->setFrameShape(QFrame::Box);
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    return w;
}

QLabel* label(const QString& text, const QString& name, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// A drive's value in the unit of the page: KB, or MB when the total is 10,000 KB or more.
struct UnitValues {
    double free;
    double total;
    bool mb;
};

UnitValues inUnits(double freeBytes, double totalBytes) {
    UnitValues v{freeBytes / 1024, totalBytes / 1024, false};
    if (v.total >= 10000) {
        v.free /= 1024;
        v.total /= 1024;
        v.mb = true;
    }
    return v;
}

QChartView* pieView(const QString& name, QWidget* parent) {
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    QFont title = chart->titleFont();
    title.setPointSizeF(title.pointSizeF() * 0.85);
    chart->setTitleFont(title);
    chart->setBackgroundRoundness(0);
    auto* series = new QPieSeries(chart);
    series->setPieSize(0.62);
    chart->addSeries(series);
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setToolTip(QStringLiteral("Click on pie to toggle animation"));
    view->setMinimumSize(150, 130);
    return view;
}

QPieSeries* pieSeries(QChartView* view) {
    return static_cast<QPieSeries*>(view->chart()->series().constFirst());
}

void addSlice(QPieSeries* series, double value, double whole, const QColor& colour) {
    QPieSlice* slice = series->append(QStringLiteral(" "), value);
    slice->setColor(colour);
    slice->setBorderColor(Qt::black);
    slice->setBorderWidth(1);
    // "##0.# %"
    const double pct = whole > 0 ? value * 100 / whole : 0;
    slice->setLabel(QLocale().toString(pct, 'f', 1) + QStringLiteral(" %"));
    slice->setLabelVisible(whole > 0 && value * 25 >= whole);  // no label for a sliver
    slice->setLabelArmLengthFactor(0.08);
}

}  // namespace

QWidget* TfrmStatistics::buildSpacePage() {
    auto* page = new QWidget;

    Panel4 = new QWidget(page);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    pckStatDrive = new QListWidget(Panel4);
    pckStatDrive->setObjectName(QStringLiteral("pckStatDrive"));
    pckStatDrive->setMinimumWidth(200);
    cbTotal = new QCheckBox(QStringLiteral("Show Cumulative Total"), page);
    cbTotal->setObjectName(QStringLiteral("cbTotal"));
    cbTotal->setChecked(true);
    auto* left = new QVBoxLayout(Panel4);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(pckStatDrive, 1);
    left->addWidget(cbTotal);

    // Bars: used below (blue), free on top (fuchsia).
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("Drive space"));
    chart->setBackgroundRoundness(0);
    chart->legend()->hide();
    spaceSeries = new QStackedBarSeries(chart);
    Series5 = new QBarSet(QStringLiteral("Used"), spaceSeries);
    Series5->setColor(kUsed);
    Series4 = new QBarSet(QStringLiteral("Free"), spaceSeries);
    Series4->setColor(kFree);
    spaceSeries->append(Series5);
    spaceSeries->append(Series4);
    chart->addSeries(spaceSeries);
    spaceAxisX = new QBarCategoryAxis(chart);
    spaceAxisY = new QValueAxis(chart);
    chart->addAxis(spaceAxisX, Qt::AlignBottom);
    chart->addAxis(spaceAxisY, Qt::AlignLeft);
    spaceSeries->attachAxis(spaceAxisX);
    spaceSeries->attachAxis(spaceAxisY);
    chartSpaceBar = new QChartView(chart, page);
    chartSpaceBar->setObjectName(QStringLiteral("chartSpaceBar"));
    chartSpaceBar->setRenderHint(QPainter::Antialiasing);
    chartSpaceBar->setMinimumSize(360, 260);

    // Pies: eleven drives and the total, the legend and the rotation bar.
    pnlPie = new QWidget(page);
    pnlPie->setObjectName(QStringLiteral("pnlPie"));
    pieGrid = new QGridLayout;
    pieGrid->setSpacing(2);
    for (int i = 0; i < 12; ++i) {
        const QString name =
            i < 11 ? QStringLiteral("pie%1").arg(i + 1) : QStringLiteral("pieTotal");
        pies[i] = pieView(name, pnlPie);
        pies[i]->installEventFilter(this);
        pies[i]->viewport()->installEventFilter(this);
        pieGrid->addWidget(pies[i], i / 4, i % 4);
    }
    ScrollBar1 = new QScrollBar(Qt::Horizontal, pnlPie);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setRange(0, 360);
    ScrollBar1->setPageStep(5);
    ScrollBar1->hide();
    auto* legend = new QHBoxLayout;
    legend->addWidget(swatch(kFree, QStringLiteral("pieFreeSwatch"), pnlPie));
    legend->addWidget(new QLabel(QStringLiteral("Free"), pnlPie));
    legend->addSpacing(12);
    legend->addWidget(swatch(kUsed, QStringLiteral("pieUsedSwatch"), pnlPie));
    legend->addWidget(new QLabel(QStringLiteral("Used"), pnlPie));
    legend->addSpacing(12);
    legend->addWidget(ScrollBar1, 1);
    auto* pieLayout = new QVBoxLayout(pnlPie);
    pieLayout->setContentsMargins(0, 0, 0, 0);
    pieLayout->addLayout(pieGrid, 1);
    pieLayout->addLayout(legend);
    pnlPie->hide();

    // The display choice and the figures.
    rgSpace1 = new QRadioButton(QStringLiteral("Pie - percent"), page);
    rgSpace1->setObjectName(QStringLiteral("rgSpace1"));
    rgSpace2 = new QRadioButton(QStringLiteral("Bar - totals"), page);
    rgSpace2->setObjectName(QStringLiteral("rgSpace2"));
    rgSpace2->setChecked(true);
    auto* choice = new QButtonGroup(page);
    choice->addButton(rgSpace1);
    choice->addButton(rgSpace2);
    auto* choiceBox = new QGroupBox(QStringLiteral("Display"), page);
    auto* choiceLayout = new QVBoxLayout(choiceBox);
    choiceLayout->addWidget(rgSpace1);
    choiceLayout->addWidget(rgSpace2);

    lblTotalC = label(QStringLiteral("Total Capacity:"), QStringLiteral("lblTotalC"), page);
    lblFreeC = label(QStringLiteral("Free Space:"), QStringLiteral("lblFreeC"), page);
    Label26 = label(QStringLiteral("Used Space:"), QStringLiteral("Label26"), page);
    lblTotal = label(QString(), QStringLiteral("lblTotal"), page);
    lblFree = label(QString(), QStringLiteral("lblFree"), page);
    lblUsed = label(QString(), QStringLiteral("lblUsed"), page);
    lblTot = label(QString(), QStringLiteral("lblTot"), page);
    lblPct = label(QString(), QStringLiteral("lblPct"), page);
    lblPct2 = label(QString(), QStringLiteral("lblPct2"), page);
    for (QLabel* value : {lblTotal, lblFree, lblUsed}) {
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(110);
    }
    Panel1 = swatch(kFree, QStringLiteral("Panel1"), page);
    Panel2 = swatch(kUsed, QStringLiteral("Panel2"), page);
    auto* figures = new QGridLayout;
    figures->setHorizontalSpacing(6);
    figures->addWidget(lblTotalC, 0, 1);
    figures->addWidget(lblTotal, 0, 2);
    figures->addWidget(lblTot, 0, 3);
    figures->addWidget(Panel1, 1, 0);
    figures->addWidget(lblFreeC, 1, 1);
    figures->addWidget(lblFree, 1, 2);
    figures->addWidget(lblPct, 1, 3);
    figures->addWidget(Panel2, 2, 0);
    figures->addWidget(Label26, 2, 1);
    figures->addWidget(lblUsed, 2, 2);
    figures->addWidget(lblPct2, 2, 3);
    figures->setColumnMinimumWidth(3, 30);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(choiceBox);
    bottom->addSpacing(24);
    bottom->addLayout(figures);
    bottom->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(Panel4);
    top->addWidget(chartSpaceBar, 1);
    top->addWidget(pnlPie, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(pckStatDrive, &QListWidget::itemChanged, this, &TfrmStatistics::doDiskSize);
    connect(cbTotal, &QCheckBox::clicked, this, &TfrmStatistics::cbTotalClick);
    connect(rgSpace1, &QRadioButton::clicked, this, &TfrmStatistics::rgSpaceClick);
    connect(rgSpace2, &QRadioButton::clicked, this, &TfrmStatistics::rgSpaceClick);
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TfrmStatistics::ScrollBar1Change);
    return page;
}

void TfrmStatistics::fillSpaceDrives() {
    fillDriveList(pckStatDrive, DriveSource::statistics(), false);
}

void TfrmStatistics::cbTotalClick() { doDiskSize(); }

void TfrmStatistics::doDiskSize() {
    if (diskSizeBusy_) return;  // a click while the previous one is handled
    diskSizeBusy_ = true;
    for (QLabel* l : {lblTotal, lblFree, lblUsed, lblTot, lblPct, lblPct2}) l->clear();
    Series4->remove(0, Series4->count());
    Series5->remove(0, Series5->count());
    spaceAxisX->clear();
    barDrives = 0;

    struct Bar {
        QString label;
        double freeBytes, totalBytes;
    };
    std::vector<Bar> bars;
    double sumFree = 0, sumTotal = 0;
    for (int i = 0; i < pckStatDrive->count(); ++i) {
        const QListWidgetItem* item = pckStatDrive->item(i);
        if (item->checkState() != Qt::Checked) continue;
        const ScanTarget target = driveListTarget(item);
        DriveSpace space;
        if (!spaceOf(target.root, space)) continue;  // not ready
        ++barDrives;
        sumFree += space.freeBytes;
        sumTotal += space.totalBytes;
        bars.push_back({QString::fromUtf8(target.root), space.freeBytes, space.totalBytes});
    }
    const UnitValues sums = inUnits(sumFree, sumTotal);
    // Every bar in the unit of the axis, so that the bars compare truly.
    const double divisor = sums.mb ? 1024.0 * 1024.0 : 1024.0;
    QStringList categories;
    for (const Bar& bar : bars) {
        categories << bar.label;
        Series4->append(bar.freeBytes / divisor);
        Series5->append((bar.totalBytes - bar.freeBytes) / divisor);
    }
    if (cbTotal->isChecked() && !bars.empty() && sums.free != bars.back().freeBytes / divisor) {
        categories << QStringLiteral("Total");
        Series4->append(sums.free);
        Series5->append(sums.total - sums.free);
    }
    spaceAxisX->append(categories);

    const bool any = sums.total > 0;
    const QString unit = sums.mb ? QStringLiteral("MB") : QStringLiteral("KB");
    if (any) {
        spaceAxisY->setRange(0, sums.total * 1.05);
        spaceAxisY->setLabelFormat(QStringLiteral("%.0f ") + unit);
        spaceAxisY->applyNiceNumbers();
        lblTot->setText(unit);
        lblPct->setText(unit + QLatin1Char(' '));
        lblPct2->setText(unit + QLatin1Char(' '));
        lblTotal->setText(thousandsText(qint64(std::floor(sums.total))));
        lblFree->setText(thousandsText(qint64(std::llround(sums.free))));
        lblUsed->setText(thousandsText(qint64(std::llround(sums.total - sums.free))));
        // A nearly full drive shows its free space in red: less than 5 % left.
        const bool low = sums.free * 20 < sums.total;
        const QString colour = low ? QStringLiteral("color: red") : QStringLiteral("color: black");
        lblFree->setStyleSheet(colour);
        lblPct->setStyleSheet(colour);
    }
    for (QWidget* w : {static_cast<QWidget*>(lblTotalC), static_cast<QWidget*>(lblFreeC),
                       static_cast<QWidget*>(Label26), Panel1, Panel2})
        w->setVisible(any);
    chartSpaceBar->setVisible(any && rgSpace2->isChecked());
    diskSizeBusy_ = false;
    rgSpaceClick();
}

void TfrmStatistics::rgSpaceClick() {
    if (rgSpace1->isChecked()) {
        Panel4->hide();
        doPieCharts();
        cbTotal->hide();
        chartSpaceBar->hide();
        Timer1->start();
        pnlPie->show();
    } else if (barDrives > 0) {
        Panel4->show();
        pnlPie->hide();
        cbTotal->show();
        chartSpaceBar->show();
        barDepth = 1;
        Timer2->start();
    } else {
        // Nothing to draw: the drive list stays so that a drive can be checked.
        Panel4->show();
        cbTotal->show();
        pnlPie->hide();
    }
}

QString TfrmStatistics::percentText(double whole, double part) {
    // A volume that reports no capacity has nothing free either.
    const double pct = whole > 0 ? part * 100 / whole : 0;
    QString text = QLocale().toString(pct, 'f', 2);
    text.chop(1);
    return text;
}

void TfrmStatistics::doPieCharts() {
    int i = 0;
    double sumFree = 0, sumTotal = 0;
    for (int k = 0; k < pckStatDrive->count() && i < 11; ++k) {
        const ScanTarget target = driveListTarget(pckStatDrive->item(k));
        DriveSpace space;
        if (!spaceOf(target.root, space)) continue;
        sumFree += space.freeBytes;
        sumTotal += space.totalBytes;
        QChartView* view = pies[i];
        view->show();
        QPieSeries* series = pieSeries(view);
        series->clear();
        view->chart()->setTitle(QString::fromUtf8(target.root) + QStringLiteral("  ") +
                                percentText(space.totalBytes, space.freeBytes) +
                                QStringLiteral("% free"));
        addSlice(series, space.totalBytes - space.freeBytes, space.totalBytes, kUsed);
        addSlice(series, space.freeBytes, space.totalBytes, kFree);
        ++i;
    }
    for (int k = i; k < 11; ++k) pies[k]->hide();
    // The shown pies fill the grid from the top left, the total pie after the last drive.
    for (int k = 0; k <= i; ++k) {
        QChartView* view = pies[k < i ? k : 11];
        pieGrid->removeWidget(view);
        pieGrid->addWidget(view, k / 4, k % 4);
    }
    QChartView* total = pies[11];
    total->show();
    QPieSeries* series = pieSeries(total);
    series->clear();
    total->chart()->setTitle(QStringLiteral("TOTAL ") + percentText(sumTotal, sumFree) +
                             QStringLiteral("% free"));
    addSlice(series, sumTotal - sumFree, sumTotal, kUsed);
    addSlice(series, sumFree, sumTotal, kFree);
    turnPies(pieAngle, pieTotalAngle);
}

void TfrmStatistics::turnPies(int angle, int totalAngle) {
    for (int k = 0; k < 12; ++k) {
        if (!pies[k]->isVisible() && !pnlPie->isHidden()) continue;
        QPieSeries* series = pieSeries(pies[k]);
        const int a = k < 11 ? angle : totalAngle;
        series->setPieStartAngle(a);
        series->setPieEndAngle(a + 360);
    }
}

void TfrmStatistics::Timer1Timer() {
    if (timer1Busy_) return;
    timer1Busy_ = true;
    if (OvcNotebook1->currentIndex() == pgSpace && rgSpace1->isChecked()) {
        if (pckStatDrive->count() < 6) {
            pieAngle = (pieAngle + 4) % 360;
            pieTotalAngle = (pieTotalAngle + 2) % 360;
            turnPies(pieAngle, pieTotalAngle);
            ScrollBar1->hide();
            const QSignalBlocker quiet(ScrollBar1);
            ScrollBar1->setValue(pieAngle);
        } else {
            ScrollBar1->show();  // too many pies to turn smoothly: turned by hand
        }
    } else {
        ScrollBar1->show();
    }
    timer1Busy_ = false;
}

void TfrmStatistics::Timer2Timer() {
    if (timer2Busy_) return;
    timer2Busy_ = true;
    int step = 2, limit = 10;
    if (barDrives <= 2) {
        step = 6;
        limit = 60;
    } else if (barDrives <= 4) {
        step = 3;
        limit = 30;
    } else if (barDrives <= 6) {
        step = 2;
        limit = 20;
    }
    if (OvcNotebook1->currentIndex() != pgSpace || barDepth >= limit) {
        Timer2->stop();
    } else {
        barDepth = std::min(limit, barDepth + step);
        // Qt Charts draws flat bars: the depth shows as bars that grow to their width.
        spaceSeries->setBarWidth(0.3 + barDepth / 100.0);
    }
    timer2Busy_ = false;
}

void TfrmStatistics::pie1Click() {
    if (Timer1->isActive())
        Timer1->stop();
    else
        Timer1->start();
}

void TfrmStatistics::ScrollBar1Change(int value) {
    pieAngle = value;
    pieTotalAngle = value;
    turnPies(value, value);
}

bool TfrmStatistics::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (QChartView* pie : pies) {
            if (watched == pie || watched == pie->viewport()) {
                pie1Click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vastel
