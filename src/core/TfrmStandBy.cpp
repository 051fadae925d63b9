#include "core/TfrmStandBy.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vastel {

TfrmStandBy::TfrmStandBy(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmStandBy"));
    setWindowTitle(QStringLiteral("Loading Files"));
    lblMessage = new QLabel(QStringLiteral("Please stand by..."), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(lblMessage);
    setMinimumWidth(260);
}

}  // namespace vastel
