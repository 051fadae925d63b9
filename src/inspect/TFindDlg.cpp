#include "inspect/TFindDlg.h"

#include "widgets/DialogRows.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <tuple>

namespace vastel {

TFindDlg::TFindDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FindDlg"));
    setWindowTitle(QStringLiteral("Find"));
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* textGroup = new QGroupBox(QStringLiteral("&Search Text"), this);
    textGroup->setObjectName(QStringLiteral("GroupBox1"));
    Edit1 = new QLineEdit(textGroup);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    auto* textLayout = new QVBoxLayout(textGroup);
    textLayout->addWidget(Edit1);

    auto* optionsGroup = new QGroupBox(QStringLiteral("Search &Options"), this);
    optionsGroup->setObjectName(QStringLiteral("GroupBox2"));
    RadioButton1 = new QRadioButton(QStringLiteral("Search &Forward"), optionsGroup);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Search &Backward"), optionsGroup);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    CheckBox1 = new QCheckBox(QStringLiteral("&Match Case"), optionsGroup);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(QStringLiteral("&Global Search"), optionsGroup);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    auto* optionsLayout = new QHBoxLayout(optionsGroup);
    auto* directions = new QVBoxLayout;
    directions->addWidget(RadioButton1);
    directions->addWidget(RadioButton2);
    auto* flags = new QVBoxLayout;
    flags->addWidget(CheckBox1);
    flags->addWidget(CheckBox2);
    optionsLayout->addLayout(directions);
    optionsLayout->addLayout(flags);

    std::tie(OKBtn, CancelBtn) =
        okCancelButtons(this, QStringLiteral("OKBtn"), QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch();
    auto* fields = new QVBoxLayout;
    fields->addWidget(textGroup);
    fields->addWidget(optionsGroup);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TFindDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
    Edit1->selectAll();
}

QString TFindDlg::searchText() const { return Edit1->text(); }
bool TFindDlg::searchBackward() const { return RadioButton2->isChecked(); }
bool TFindDlg::matchCase() const { return CheckBox1->isChecked(); }
bool TFindDlg::globalSearch() const { return CheckBox2->isChecked(); }

}  // namespace vastel
