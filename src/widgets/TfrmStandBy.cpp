#include "widgets/TfrmStandBy.h"

#include "protect/SafeHarbor.h"
#include "widgets/AppContext.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace vastel {

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
    runner_.restartSlice();
}

void TfrmStandBy::step(int index) {
    ProgressBar1->setValue(index);
    runner_.tick();
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
