#include "app/TfrmMain.h"

#include "app/LauncherBackground.h"
#include "app/TfrmAbout.h"
#include "app/VastelStyle.h"
#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "platform/Paths.h"
#include "platform/Shell.h"
#include "protect/SafeHarbor.h"
#include "protect/TfrmNoDelete.h"
#include "removal/ArchiveFolder.h"
#include "stats/TfrmStatistics.h"
#include "widgets/AppContext.h"
#include "widgets/PlacedWindow.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolTip>
#include <QVBoxLayout>

namespace vastel {

namespace {
// The platform styles have no shield glyph on Linux; draw one.
QIcon shieldIcon() {
    QPixmap pm(40, 40);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shield;
    shield.moveTo(20, 3);
    shield.lineTo(35, 9);
    shield.cubicTo(35, 24, 29, 32, 20, 37);
    shield.cubicTo(11, 32, 5, 24, 5, 9);
    shield.closeSubpath();
    p.setPen(QPen(QColor(24, 40, 96), 2.5));
    p.setBrush(QColor(64, 120, 200));
    p.drawPath(shield);
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(13, 20), QPointF(18, 26), QPointF(27, 14)}));
    return QIcon(pm);
}

const char* const kGateMessage =
    "The Safe Harbor list of folders/files not to delete has not been created yet.  "
    "Click on the Build Safe Harbor button to initialize.";
}  // namespace

TfrmMain::TfrmMain(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      context_(context) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vastel 99 Version 3.0b from Tessivo Corporation"));
    setAttribute(Qt::WA_QuitOnClose, true);

    EsTile1 = new LauncherBackground(LauncherBackground::Kind::Tile, this);
    EsGradient1 = new LauncherBackground(LauncherBackground::Kind::Gradient, this);

    lblTitle = new QLabel(QStringLiteral("Vastel 99"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(26);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    auto* subtitle = new QLabel(QStringLiteral("Win back your disk space"), this);
    subtitle->setObjectName(QStringLiteral("lblSubtitle"));
    subtitle->setAlignment(Qt::AlignCenter);

    using SP = QStyle::StandardPixmap;
    btDuplicate =
        featureButton("btDuplicate", QStringLiteral("&Duplicate files"),
                      QStringLiteral("Locate duplicate files"), SP::SP_FileDialogContentsView);
    btFileHog = featureButton("btFileHog", QStringLiteral("&File hogs"),
                              QStringLiteral("Locate large files"), SP::SP_FileIcon);
    btFiles =
        featureButton("btFiles", QStringLiteral("Files &accessed"),
                      QStringLiteral("Locate old and recent files"), SP::SP_FileDialogDetailedView);
    btDirHogs =
        featureButton("btDirHogs", QStringLiteral("Folder &hogs"),
                      QStringLiteral("Locate folders taking the most space"), SP::SP_DirIcon);
    btClean = featureButton("btClean", QStringLiteral("&Quick clean"),
                            QStringLiteral("Quickly clean up temporary files"), SP::SP_TrashIcon);
    btStatistic = featureButton("btStatistic", QStringLiteral("&Statistics"),
                                QStringLiteral("Compute disk statistics"), SP::SP_DriveHDIcon);
    btBrowse = featureButton("btBrowse", QStringLiteral("&Browse"),
                             QStringLiteral("Browse through disks/folders"), SP::SP_DirOpenIcon);
    btClearCache =
        featureButton("btClearCache", QStringLiteral("&Clear internet files"),
                      QStringLiteral("Clean up web browser cache folders"), SP::SP_DriveNetIcon);
    btZip =
        featureButton("btZip", QStringLiteral("&Unzip archive files"),
                      QStringLiteral("Unzip files that have been zipped up by Vastel (compressed)"),
                      SP::SP_BrowserReload);
    btBuild = featureButton(
        "btBuild", QStringLiteral("Build &safe harbor"),
        QStringLiteral("Build list of folders that will not be deleted in Vastel without warning"),
        SP::SP_VistaShield);
    btBuild->setIcon(shieldIcon());

    btReach = new QPushButton(QStringLiteral("Ab&out"), this);
    btReach->setObjectName(QStringLiteral("btReach"));
    btHelp = new QPushButton(QStringLiteral("H&elp"), this);
    btHelp->setObjectName(QStringLiteral("btHelp"));
    btClose = new QPushButton(QStringLiteral("E&xit"), this);
    btClose->setObjectName(QStringLiteral("btClose"));
    btClose->setToolTip(QStringLiteral("Quit and close "));
    for (QPushButton* b : {btReach, btHelp, btClose}) b->setMinimumWidth(96);

    lblMaker = new QLabel(QStringLiteral("Tessivo Corporation"), this);
    lblMaker->setObjectName(QStringLiteral("lblMaker"));
    lblWeb = new QLabel(QStringLiteral("www.tessivo.example"), this);
    lblWeb->setObjectName(QStringLiteral("lblWeb"));
    for (QLabel* l : {lblMaker, lblWeb}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(8);
    const QList<QPushButton*> left{btDuplicate, btFileHog, btFiles, btDirHogs, btClean};
    const QList<QPushButton*> right{btStatistic, btBrowse, btClearCache, btZip, btBuild};
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(left[i], i, 0);
        grid->addWidget(right[i], i, 1);
    }

    auto* commands = new QHBoxLayout;
    commands->addStretch();
    commands->addWidget(btReach);
    commands->addWidget(btHelp);
    commands->addWidget(btClose);
    commands->addStretch();

    auto* foot = new QHBoxLayout;
    foot->addWidget(lblMaker);
    foot->addStretch();
    foot->addWidget(lblWeb);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 14, 22, 10);
    layout->setSpacing(8);
    layout->addWidget(lblTitle);
    layout->addWidget(subtitle);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addLayout(commands);
    layout->addSpacing(6);
    layout->addLayout(foot);

    connect(btDuplicate, &QPushButton::clicked, this, &TfrmMain::btDuplicateClick);
    connect(btFileHog, &QPushButton::clicked, this, &TfrmMain::btFileHogClick);
    connect(btFiles, &QPushButton::clicked, this, &TfrmMain::btFilesClick);
    connect(btDirHogs, &QPushButton::clicked, this, &TfrmMain::btDirHogsClick);
    connect(btClean, &QPushButton::clicked, this, &TfrmMain::btCleanClick);
    connect(btStatistic, &QPushButton::clicked, this, &TfrmMain::btStatisticClick);
    connect(btBrowse, &QPushButton::clicked, this, &TfrmMain::btBrowseClick);
    connect(btClearCache, &QPushButton::clicked, this, &TfrmMain::btClearCacheClick);
    connect(btZip, &QPushButton::clicked, this, &TfrmMain::btZipClick);
    connect(btBuild, &QPushButton::clicked, this, &TfrmMain::btBuildClick);
    connect(btHelp, &QPushButton::clicked, this, &TfrmMain::btHelpClick);
    connect(btReach, &QPushButton::clicked, this, &TfrmMain::btReachClick);
    connect(btClose, &QPushButton::clicked, this, &TfrmMain::btCloseClick);

    chooseBackground(32, 1);
    // Fixed size, centred: the layout decides the size once.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
}

TfrmMain::~TfrmMain() = default;

QPushButton* TfrmMain::featureButton(const char* name, const QString& caption, const QString& hint,
                                     int icon) {
    auto* b = new QPushButton(style()->standardIcon(QStyle::StandardPixmap(icon)), caption, this);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setMinimumSize(220, 38);
    b->setIconSize(QSize(20, 20));
    b->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding-left: 12px; }"));
    return b;
}

void TfrmMain::chooseBackground(int bitsPerPixel, int planes) {
    gradientChosen_ = bitsPerPixel * planes < 15;
    QPalette pal = palette();
    const QColor text = gradientChosen_ ? QColor(Qt::white) : QColor(24, 40, 96);
    for (QLabel* l : findChildren<QLabel*>()) {
        QPalette lp = l->palette();
        lp.setColor(QPalette::WindowText, text);
        l->setPalette(lp);
    }
    setPalette(pal);
    layoutBackgrounds();
}

void TfrmMain::layoutBackgrounds() {
    // The unused backdrop is parked out of sight, below the window's bottom edge.
    if (gradientChosen_) {
        EsGradient1->setGeometry(rect());
        EsTile1->setGeometry(0, 1000, width(), height());
    } else {
        EsTile1->setGeometry(rect());
        EsGradient1->setGeometry(0, 1000, width(), height());
    }
    EsTile1->lower();
    EsGradient1->lower();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutBackgrounds();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring from the task bar is no new showing.
    if (!event->spontaneous()) FormShow();
}

void TfrmMain::FormShow() {
    context_.safeHarbor().lastTestedFolder.clear();
    chooseBackground(depth(), 1);
    getDefaultZipPath();
    ReadSafeHarborExtensions();
    GetSearchPath();
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(245, 249, 136));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);
    VastelStyle::setHintPause(1000);
    helpFile = joinPath(programFolder(), QStringLiteral("vastel30.hlp"));
    if (!centred_) {
        centreOnScreen(this);
        centred_ = true;
    }
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == lblMaker || watched == lblWeb) && event->type() == QEvent::MouseButtonRelease) {
        btReachClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmMain::checkExceptionList() {
    if (!context_.safeHarbor().safeHarborMissing) return true;
    errorBox(QString::fromLatin1(kGateMessage));
    return false;
}

void TfrmMain::GetSearchPath() { context_.safeHarbor().GetSearchPath(); }

void TfrmMain::ReadSafeHarborExtensions() { context_.safeHarbor().ReadSafeHarborExtensions(); }

void TfrmMain::normalizeExceptionList() { context_.safeHarbor().normalizeExceptionList(); }

bool TfrmMain::isInSafeHarbor(const QByteArray& path, bool isFile, int* reason) {
    return context_.safeHarbor().isInSafeHarbor(path, isFile, reason);
}

void TfrmMain::btDuplicateClick() {
    if (!checkExceptionList()) return;
    context_.runFinder(this, true);
}

void TfrmMain::btFileHogClick() {
    if (!checkExceptionList()) return;
    context_.runFinder(this, false);
}

void TfrmMain::btFilesClick() {
    if (!checkExceptionList()) return;
    context_.runFilesByDate(this);
}

void TfrmMain::btDirHogsClick() {
    if (!checkExceptionList()) return;
    context_.runFolderHogs(this);
}

void TfrmMain::btCleanClick() {
    if (!checkExceptionList()) return;
    context_.runQuickClean(this);
}

void TfrmMain::btBrowseClick() {
    if (!checkExceptionList()) return;
    context_.openBrowser(this, QByteArray(), QByteArray(), QString());
}

void TfrmMain::btClearCacheClick() {
    if (!checkExceptionList()) return;
    context_.runCacheCleaner(this);
}

void TfrmMain::btStatisticClick() {
    TfrmStatistics& statistics = context_.statistics();
    statistics.show();
    statistics.raise();
    statistics.activateWindow();
}

void TfrmMain::btZipClick() { context_.runRestore(this); }
void TfrmMain::btBuildClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto* window = new TfrmNoDelete(this);
    QApplication::restoreOverrideCursor();
    window->exec();
    const bool reloadNeeded = window->reloadNeeded;
    delete window;
    // Reloaded here, the gated buttons work as soon as a list has been saved.
    if (reloadNeeded) {
        GetSearchPath();
        ReadSafeHarborExtensions();
    }
}

void TfrmMain::btHelpClick() {
    helpFile = joinPath(programFolder(), QStringLiteral("vastel30.hlp"));
    // Context 1000 is the top of the page.
    const QString page = helpFilePath();
    if (!openUrl(QUrl::fromLocalFile(page)))
        errorBox(QStringLiteral("Can't open the help page ") + page);
}

void TfrmMain::btReachClick() {
    TfrmAbout about(this);
    about.exec();
}

void TfrmMain::btCloseClick() { close(); }

}  // namespace vastel
