#include "restore/TfrmGetFolderName.h"

#include "widgets/DialogRows.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

namespace vastel {

TfrmGetFolderName::TfrmGetFolderName(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGetFolderName"));
    setWindowTitle(QStringLiteral("New folder name"));
    Label1 = new QLabel(QStringLiteral("New folder name:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    std::tie(btOK, btCancel) = okCancelButtons(this);
    for (QPushButton* b : {btOK, btCancel}) b->setMinimumWidth(90);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addSpacing(8);
    layout->addLayout(rightAlignedRow({btOK, btCancel}));
    setMinimumWidth(360);

    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace vastel
