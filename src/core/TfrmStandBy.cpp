#include "core/TfrmStandBy.h"

#include "platform/CoarseClock.h"
#include "protect/SafeHarbor.h"
#include "widgets/AppContext.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace vastel {

namespace {

// Pending events run at most this often during a loop: often enough to stay painted, rarely
// enough not to slow a loop of many short steps.
constexpr int kSliceMs = 25;

}  // namespace

TfrmStandBy::TfrmStandBy(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmStandBy"));
    setWindowTitle(QStringLiteral("Loading Files"));
    lblMessage = new QLabel(QStringLiteral("Loading files ... standby"), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setAlignment(Qt::AlignCenter);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 0);
    ProgressBar1->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(12);
    layout->addWidget(lblMessage);
    layout->addWidget(ProgressBar1);
    setMinimumWidth(300);
}

void TfrmStandBy::begin(int steps) {
    ProgressBar1->setRange(0, qMax(0, steps - 1));
    ProgressBar1->setValue(0);
    show();
    raise();
    repaint();
    nextPump_ = 0;
}

void TfrmStandBy::step(int index) {
    ProgressBar1->setValue(index);
    const qint64 now = coarseMilliseconds();
    if (now >= nextPump_) {
        QCoreApplication::processEvents();
        nextPump_ = coarseMilliseconds() + kSliceMs;
    }
}

void TfrmStandBy::finish() { hide(); }

void TfrmStandBy::forgetLastTestedFolder() { context_.safeHarbor().lastTestedFolder.clear(); }

void TfrmStandBy::showEvent(QShowEvent* event) {
    forgetLastTestedFolder();
    QDialog::showEvent(event);
}

void TfrmStandBy::hideEvent(QHideEvent* event) {
    forgetLastTestedFolder();
    QDialog::hideEvent(event);
}

}  // namespace vastel
