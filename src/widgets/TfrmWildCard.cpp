#include "widgets/TfrmWildCard.h"

#include "core/Utility.h"
#include "widgets/DialogRows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <tuple>

namespace vastel {

TfrmWildCard::TfrmWildCard(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmWildCard"));
    setWindowTitle(QStringLiteral("Wildcard pattern"));

    lblPattern = new QLabel(QStringLiteral("&Pattern"), this);
    lblPattern->setObjectName(QStringLiteral("lblPattern"));
    cbWildCard = new QComboBox(this);
    cbWildCard->setObjectName(QStringLiteral("cbWildCard"));
    cbWildCard->setEditable(true);
    cbWildCard->setInsertPolicy(QComboBox::NoInsert);
    cbWildCard->setMinimumContentsLength(14);
    cbWildCard->setMaxVisibleItems(20);
    lblPattern->setBuddy(cbWildCard);
    lblWild = new QLabel(this);
    lblWild->setObjectName(QStringLiteral("lblWild"));
    lblType = new QLabel(this);
    lblType->setObjectName(QStringLiteral("lblType"));
    lblType->setMinimumWidth(220);

    std::tie(btOK, btCancel) = okCancelButtons(this);

    auto* grid = new QGridLayout;
    grid->addWidget(lblPattern, 0, 0);
    grid->addWidget(cbWildCard, 0, 1);
    grid->addWidget(lblWild, 0, 2);
    grid->addWidget(lblType, 1, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btOK);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbWildCard, &QComboBox::currentTextChanged, this, &TfrmWildCard::cbWildCardChange);
}

void TfrmWildCard::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmWildCard::FormShow() {
    // The caller's pattern survives the refilled list.
    const QString pattern = cbWildCard->currentText();
    QStringList patterns;
    fillWildcardList(patterns, true);
    {
        const QSignalBlocker quiet(cbWildCard);
        cbWildCard->clear();
        cbWildCard->addItems(patterns);
        cbWildCard->setCurrentIndex(-1);
        cbWildCard->setEditText(pattern);
    }
    cbWildCardChange();
    cbWildCard->setFocus();
    cbWildCard->lineEdit()->selectAll();
}

void TfrmWildCard::cbWildCardChange() {
    const QString text = cbWildCard->currentText();
    lblWild->setText(text == QLatin1String("*.*") ? QStringLiteral("All files") : QString());
    lblType->setText(fileTypeText(text.mid(1)));
}

}  // namespace vastel
