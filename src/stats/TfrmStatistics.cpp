#include "stats/TfrmStatistics.h"

#include "platform/Dialogs.h"
#include "results/PrintIt.h"
#include "stats/ui/StatGrid.h"
#include "widgets/AppContext.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace vastel {

namespace {

const QString kNotYet = QStringLiteral("Statistics haven't been collected yet!");

}  // namespace

TfrmStatistics::TfrmStatistics(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName(QStringLiteral("frmStatistics"));
    setWindowTitle(QStringLiteral("File Statistics Not Yet Collected"));
    setAttribute(Qt::WA_QuitOnClose, false);
    // A volume unmounted since the list was filled leaves its mount point behind as a plain
    // folder, whose space is that of the volume around it: it counts as not ready.
    spaceOf = [](const QByteArray& root, DriveSpace& out) {
        const std::vector<Volume> mounted = mountedVolumes();
        const bool present = std::any_of(mounted.begin(), mounted.end(),
                                         [&](const Volume& v) { return v.mountPoint == root; });
        return present && driveSpace(root, out);
    };

    OvcNotebook1 = new QTabWidget(this);
    OvcNotebook1->setObjectName(QStringLiteral("OvcNotebook1"));
    static const char* const kTabs[kPageCount] = {"Space",    "Deleted",   "Types",   "Sizes",
                                                  "Overhang", "Access",    "Created", "Modified",
                                                  "Combined", "Attribute", "Time"};
    static const char* const kNames[kPageCount] = {
        "tsSpace",   "tsDeleted",  "tsTypes",    "tsSizes",     "tsOverhang", "tsAccess",
        "tsCreated", "tsModified", "tsCombined", "tsAttribute", "tsTime"};
    for (int i = 0; i < kPageCount; ++i) {
        QWidget* page = nullptr;
        switch (i) {
            case pgSpace:
                page = buildSpacePage();
                break;
            case pgDeleted:
                page = buildDeletedPage();
                break;
            case pgTypes:
                page = buildTypesPage();
                break;
            case pgSizes:
                page = buildSizesPage();
                break;
            case pgOverhang:
                page = buildOverhangPage();
                break;
            case pgAccess:
                page = buildAgePage(0);
                break;
            case pgCreated:
                page = buildAgePage(1);
                break;
            case pgModified:
                page = buildAgePage(2);
                break;
            case pgCombined:
                page = buildCombinedPage();
                break;
            case pgAttribute:
                page = buildAttributePage();
                break;
            default:
                page = buildTimePage();
                break;
        }
        page->setObjectName(QLatin1String(kNames[i]));
        pages[i] = page;
        OvcNotebook1->addTab(page, QLatin1String(kTabs[i]));
    }

    btOK = new QPushButton(QStringLiteral("&Collect statistics"), this);
    btOK->setObjectName(QStringLiteral("btOK"));
    btOK->setToolTip(QStringLiteral("Start collecting statistics"));
    btOK->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Close"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btCancel->setToolTip(QStringLiteral("Cancel operation or close window"));
    btPrint = new QPushButton(QStringLiteral("&Print page"), this);
    btPrint->setObjectName(QStringLiteral("btPrint"));
    btPrint->setToolTip(QStringLiteral("Print this page only"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btOK);
    buttons->addWidget(btPrint);
    buttons->addStretch(1);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addWidget(OvcNotebook1, 1);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);

    // The panel lies over the notebook's page area, not inside a page, so one panel covers
    // whichever page is shown.
    pnlNotYet = new QFrame(OvcNotebook1);
    pnlNotYet->setObjectName(QStringLiteral("pnlNotYet"));
    pnlNotYet->setAutoFillBackground(true);
    static_cast<QFrame*>(pnlNotYet)->setFrameShape(QFrame::StyledPanel);
    lblNotYet = new QLabel(kNotYet, pnlNotYet);
    lblNotYet->setObjectName(QStringLiteral("lblNotYet"));
    lblNotYet->setAlignment(Qt::AlignCenter);
    lblNotYet->setWordWrap(true);
    QFont big = lblNotYet->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblNotYet->setFont(big);
    btAbort = new QPushButton(QStringLiteral("Abort"), pnlNotYet);
    btAbort->setObjectName(QStringLiteral("btAbort"));
    auto* notYet = new QVBoxLayout(pnlNotYet);
    notYet->addStretch(1);
    notYet->addWidget(lblNotYet);
    notYet->addSpacing(12);
    notYet->addWidget(btAbort, 0, Qt::AlignHCenter);
    notYet->addStretch(1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    Timer2 = new QTimer(this);
    Timer2->setInterval(50);

    connect(btOK, &QPushButton::clicked, this, &TfrmStatistics::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &TfrmStatistics::btCancelClick);
    connect(btAbort, &QPushButton::clicked, this, &TfrmStatistics::btAbortClick);
    connect(btPrint, &QPushButton::clicked, this, &TfrmStatistics::btPrintClick);
    connect(OvcNotebook1, &QTabWidget::currentChanged, this,
            &TfrmStatistics::OvcNotebook1PageChanged);
    connect(Timer1, &QTimer::timeout, this, &TfrmStatistics::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TfrmStatistics::Timer2Timer);

    resize(900, 600);
    FormCreate();
}

TfrmStatistics::~TfrmStatistics() = default;

void TfrmStatistics::FormCreate() {
    OvcNotebook1->setCurrentIndex(pgSpace);
    collected = false;
    btAbort->hide();
    fillSpaceDrives();
    initAColors(true);
    setNotYetVisible(false);  // page 0 is shown
}

void TfrmStatistics::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TfrmStatistics::FormShow() {
    writeTypesHeading();
    doDiskSize();
    OvcNotebook1PageChanged(OvcNotebook1->currentIndex());
}

void TfrmStatistics::OvcNotebook1PageChanged(int index) {
    if (index == pgDeleted) {
        showFilesDeleted();
        setNotYetVisible(collecting);
    } else if (index == pgSpace) {
        barDepth = 1;
        doDiskSize();
        setNotYetVisible(collecting);
        Timer2->start();
    } else {
        setNotYetVisible(collecting || !collected);
    }
}

void TfrmStatistics::setNotYetVisible(bool visible) {
    pnlNotYet->setVisible(visible);
    if (visible) {
        placeNotYet();
        pnlNotYet->raise();
    }
}

void TfrmStatistics::placeNotYet() {
    QWidget* page = OvcNotebook1->currentWidget();
    if (!page) return;
    pnlNotYet->setGeometry(QRect(page->mapTo(OvcNotebook1, QPoint(0, 0)), page->size()));
}

void TfrmStatistics::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeNotYet();
}

void TfrmStatistics::btCancelClick() {
    if (collecting) {
        abortStats = true;
        return;
    }
    hide();
}

void TfrmStatistics::btAbortClick() {
    if (collecting) abortStats = true;
}

void TfrmStatistics::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        btCancelClick();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmStatistics::closeEvent(QCloseEvent* event) {
    // The window only hides; during a walk closing it stops the walk instead.
    if (collecting) {
        abortStats = true;
        event->ignore();
        return;
    }
    event->accept();
}

void TfrmStatistics::btPrintClick() {
    const int page = OvcNotebook1->currentIndex();
    if (pnlNotYet->isVisible() && page > pgDeleted) return;
    // A shown chart prints through its preview; the type listing as a report.
    if (ChartPanel* chart = shownChart()) {
        chart->printPreview();
        return;
    }
    QPrinter& printer = currentPrinter();
    if (page == pgTypes) {
        if (context_.dialogs().printDialog(printer, false))
            printGrid(*gridTypes, QStringLiteral("File types for drive ") + currentTarget);
        return;
    }
    if (!context_.dialogs().printDialog(printer, false)) return;
    changeBackgroundColor(Qt::white);
    const QPixmap image = grab();
    QPainter painter;
    if (painter.begin(&printer)) {
        const QRect area = painter.viewport();
        const QSize size = image.size().scaled(area.size(), Qt::KeepAspectRatio);
        painter.setViewport(area.x(), area.y(), size.width(), size.height());
        painter.setWindow(image.rect());
        painter.drawPixmap(0, 0, image);
        painter.end();
    } else {
        printError();
    }
    changeBackgroundColor(palette().color(QPalette::Button));
}

ChartPanel* TfrmStatistics::shownChart() const {
    ChartPanel* chart = nullptr;
    switch (OvcNotebook1->currentIndex()) {
        case pgTypes:
            chart = chartPie;
            break;
        case pgSizes:
            chart = Chart1;
            break;
        case pgAccess:
            chart = ageChart[0];
            break;
        case pgCreated:
            chart = ageChart[1];
            break;
        case pgModified:
            chart = ageChart[2];
            break;
        case pgCombined:
            chart = chartCombine;
            break;
        case pgTime:
            chart = Chart4;
            break;
        default:
            break;
    }
    return chart && !chart->isHidden() ? chart : nullptr;
}

void TfrmStatistics::changeBackgroundColor(const QColor& colour) {
    // The printed image is taken on white; afterwards the window's own palette comes back.
    if (colour == Qt::white) {
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
    } else {
        setPalette(QPalette());
    }
}

}  // namespace vastel
