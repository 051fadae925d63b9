// The Space page of the statistics window: capacity and free space of the drives, drawn as
// stacked bars or as turning pies.
#include "stats/TfrmStatistics.h"

#include "core/Utility.h"
#include "widgets/DriveList.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPieSeries>
#include <QPieSlice>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTimer>
#include <QValueAxis>
#include <cmath>

namespace vastel {

namespace {

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
        addSlice(series, space.totalBytes - space.freeBytes, space.totalBytes, Series5->color());
        addSlice(series, space.freeBytes, space.totalBytes, Series4->color());
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
    addSlice(series, sumTotal - sumFree, sumTotal, Series5->color());
    addSlice(series, sumFree, sumTotal, Series4->color());
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
