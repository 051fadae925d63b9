#include "protect/TfrmEditFolder.h"

#include "platform/Dialogs.h"
#include "widgets/DialogRows.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <tuple>

namespace vastel {

TfrmEditFolder::TfrmEditFolder(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmEditFolder"));
    setWindowTitle(QStringLiteral("Edit Folder"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* lblFolder = new QLabel(QStringLiteral("&Folder:"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(420);
    lblFolder->setBuddy(Edit1);
    SpeedButton1 =
        folderBrowseButton(QStringLiteral("SpeedButton1"), QStringLiteral("Browse"), this);
    SpeedButton1->setText(QStringLiteral("Browse"));
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    cbAll = new QCheckBox(
        QStringLiteral("Protect sub-folders - all sub-folders should NOT be deleted"), this);
    cbAll->setObjectName(QStringLiteral("cbAll"));
    lblExample = new QLabel(this);
    lblExample->setObjectName(QStringLiteral("lblExample"));
    lblExample->setWordWrap(true);
    lblExample->setMinimumHeight(lblExample->fontMetrics().lineSpacing() * 3);
    lblExample->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    std::tie(btOK, btCancel) = okCancelButtons(this);

    auto* buttons = rightAlignedRow({btOK, btCancel});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->addWidget(lblFolder);
    layout->addLayout(browseRow(Edit1, SpeedButton1));
    layout->addSpacing(6);
    layout->addWidget(cbAll);
    layout->addWidget(lblExample);
    layout->addLayout(buttons);

    connect(cbAll, &QCheckBox::clicked, this, &TfrmEditFolder::cbAllClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmEditFolder::SpeedButton1Click);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmEditFolder::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) cbAllClick();
}

void TfrmEditFolder::cbAllClick() {
    // Typing does not change the example; the check box and the showing do.
    const QString text = Edit1->text();
    const QString quoted = QLatin1Char('"') + text + QLatin1Char('"');
    if (cbAll->isChecked())
        lblExample->setText(
            text.isEmpty()
                ? QStringLiteral("All files and sub-folders below the one you select will NOT be "
                                 "deleted.")
                : QStringLiteral("All files and sub-folders below ") + quoted +
                      QStringLiteral(" will NOT be deleted."));
    else
        lblExample->setText(text.isEmpty() ? QString()
                                           : QStringLiteral("Only files in this folder ") + quoted +
                                                 QStringLiteral(" will NOT be deleted."));
}

void TfrmEditFolder::SpeedButton1Click() {
    const std::optional<QString> folder = dialogs().pickFolder(
        QStringLiteral("Select a folder that won't be deleted"), Edit1->text());
    if (!folder) return;
    QString text = *folder;
    if (!text.endsWith(QLatin1Char('/'))) text += QLatin1Char('/');
    Edit1->setText(text);
}

}  // namespace vastel
