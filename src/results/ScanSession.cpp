#include "results/ScanSession.h"

#include "core/MessageBoxes.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "results/JobRunner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace vastel {

const QString ScanSession::kAbortedWarning = QStringLiteral("LIST INCOMPLETE ... ABORTED BY USER");
const QString ScanSession::kCollectionFullWarning = QStringLiteral(
    "Due to Windows resource limitations ... cannot process any more files.\r\rTry increasing "
    "the file size limits or file match and re-scan.");
const QString ScanSession::kCantOpenDrive = QStringLiteral("Can't open drive ");

ScanSession::ScanSession(const Parts& parts, QObject* parent) : QObject(parent), parts_(parts) {
    if (parts_.abortButton) {
        parts_.abortButton->hide();
        connect(parts_.abortButton, &QAbstractButton::clicked, this, &ScanSession::btAbortClick);
    }
}

ScanSession::~ScanSession() {
    if (scanning_) qApp->removeEventFilter(this);
}

void ScanSession::begin() {
    if (parts_.abortFlag) *parts_.abortFlag = false;
    if (parts_.abortButton) parts_.abortButton->show();
    for (QWidget* w : parts_.hidden) w->hide();
    for (QWidget* w : parts_.disabled) w->setEnabled(false);
    if (parts_.grid) parts_.grid->setCursor(Qt::WaitCursor);
    shownFolder_.clear();
    if (!scanning_) qApp->installEventFilter(this);
    scanning_ = true;
}

TreeWalk::Summary ScanSession::walk(const std::vector<ScanTarget>& targets,
                                    const WalkOptions& options, WalkSink& sink) {
    TreeWalk::Summary summary;
    run([&](WalkProgress& progress, StopToken& stop) {
        TreeWalk tree(options, sink, progress, stop);
        tree.scanTargets(targets);
        summary = tree.summary();
    });
    return summary;
}

void ScanSession::run(const std::function<void(WalkProgress& progress, StopToken& stop)>& job) {
    StopToken stop;
    stop_ = &stop;
    syncAbortFlag();
    job(*this, stop);
    syncAbortFlag();  // a full collection stops the walk as Abort does
    stop_ = nullptr;
}

void ScanSession::runAside(const std::function<void()>& work) {
    if (parts_.abortButton) parts_.abortButton->hide();
    JobRunner::runAside(work);
}

void ScanSession::end() {
    if (parts_.grid) parts_.grid->unsetCursor();
    if (parts_.abortButton) parts_.abortButton->hide();
    for (QWidget* w : parts_.disabled) w->setEnabled(true);
    if (scanning_) qApp->removeEventFilter(this);
    scanning_ = false;
}

void ScanSession::btAbortClick() {
    if (!scanning_) return;
    if (parts_.abortFlag) *parts_.abortFlag = true;
    if (parts_.abortButton) parts_.abortButton->hide();
    warningBox(kAbortedWarning);
}

void ScanSession::pump(const QByteArray& folder) {
    if (parts_.status && folder != shownFolder_) {
        shownFolder_ = folder;
        parts_.status(displayPath(folder));
    }
    QCoreApplication::processEvents();
    syncAbortFlag();
}

// Abort sets the window's flag while events run; the walk polls its own token.
void ScanSession::syncAbortFlag() {
    if (stop_ && parts_.abortFlag) stop_->syncWith(*parts_.abortFlag);
}

void ScanSession::targetFailed(const ScanTarget& target) {
    dialogs().message(Beep::None, BoxIcon::Error, kCantOpenDrive + target.text);
    syncAbortFlag();
}

void ScanSession::collectionFull() {
    warningBox(parts_.fullWarning);
    syncAbortFlag();
}

bool ScanSession::belongsToWindow(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && parts_.window && widget->window() == parts_.window;
}

bool ScanSession::eventFilter(QObject* watched, QEvent* event) {
    if (!scanning_) return false;
    switch (event->type()) {
        case QEvent::ToolTip:  // hints are off while the scan runs
            return belongsToWindow(watched);
        case QEvent::Shortcut:
            // Alt+A would press the button for a tenth of a second before it clicks.
            if (watched != parts_.abortButton || !parts_.abortButton->isVisible()) return false;
            btAbortClick();
            return true;
        case QEvent::Close:
            // The walk runs inside this window's handlers: the window must outlive it.
            if (watched != parts_.window) return false;
            event->ignore();
            return true;
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride: {
            // Esc would close a dialog under the running walk.
            if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
            if (!belongsToWindow(watched)) return false;
            if (event->type() == QEvent::KeyPress && parts_.escapeAborts && parts_.abortFlag &&
                !*parts_.abortFlag)
                btAbortClick();
            event->accept();
            return true;
        }
        default:
            return false;
    }
}

}  // namespace vastel
