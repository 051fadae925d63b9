// The Space page of the statistics window: its layout.
#include "stats/TfrmStatistics.h"

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
#include <QPieSeries>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>

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

}  // namespace vastel
