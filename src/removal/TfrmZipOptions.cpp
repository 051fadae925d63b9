#include "removal/TfrmZipOptions.h"

#include "core/SettingsStore.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "removal/ArchiveFolder.h"
#include "widgets/DialogRows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <tuple>

namespace vastel {

namespace {
const QString kSection = QStringLiteral("ZipFile");

QLabel* noteLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setItalic(true);
    label->setFont(f);
    label->setWordWrap(true);
    return label;
}
}  // namespace

TfrmZipOptions::TfrmZipOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmZipOptions"));
    setWindowTitle(QStringLiteral("Archive Zip File Options"));

    auto* lblFolder = new QLabel(QStringLiteral("Store Zip Archive Files in this folder:"), this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    SpeedButton1 = folderBrowseButton(QStringLiteral("SpeedButton1"),
                                      QStringLiteral("Location of archive zip files"), this);
    auto* lblNetwork = noteLabel(
        QStringLiteral("Note: the zip folder can be on the network on a different machine!"), this);
    lblNetwork->setObjectName(QStringLiteral("lblNetwork"));

    auto* lblComment =
        new QLabel(QStringLiteral("Comment to be inserted into Archive Zip file:"), this);
    lblComment->setObjectName(QStringLiteral("lblComment"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setMaxLength(80);
    auto* lblCommentNote = noteLabel(
        QStringLiteral("Note: Comments make it much easier to identify archive zip files later."),
        this);
    lblCommentNote->setObjectName(QStringLiteral("lblCommentNote"));

    std::tie(btOK, btCancel) = okCancelButtons(this);
    btCancel->setAutoDefault(false);
    for (QPushButton* b : {btOK, btCancel}) b->setMinimumWidth(90);

    auto* buttons = rightAlignedRow({btOK, btCancel});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(6);
    layout->addWidget(lblFolder);
    layout->addLayout(browseRow(Edit1, SpeedButton1));
    layout->addWidget(lblNetwork);
    layout->addSpacing(10);
    layout->addWidget(lblComment);
    layout->addWidget(Edit2);
    layout->addWidget(lblCommentNote);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmZipOptions::SpeedButton1Click);
    connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmZipOptions::showEvent(QShowEvent* event) {
    readSettings();
    QDialog::showEvent(event);
}

void TfrmZipOptions::readSettings() {
    getDefaultZipPath();
    folder_ = archiveFolder;
    Edit1->setText(displayPath(folder_));
    const SettingsStore store;
    Edit2->setText(store.readString(kSection, QStringLiteral("Comment"), QString()));
}

void TfrmZipOptions::writeSettings() {
    comment_ = Edit2->text();
    SettingsStore store;
    store.writeBytes(kSection, QStringLiteral("Path"), folder_);
    store.writeString(kSection, QStringLiteral("Comment"), comment_);
    archiveFolder = folder_;
}

void TfrmZipOptions::SpeedButton1Click() {
    const std::optional<QString> chosen =
        dialogs().pickFolder(QStringLiteral("Location of archive zip files"), Edit1->text());
    if (!chosen || chosen->isEmpty()) return;
    folder_ = nativePath(*chosen);
    Edit1->setText(*chosen);
}

void TfrmZipOptions::done(int result) {
    // Stored on every close: a folder or comment changed and then cancelled is kept too.
    writeSettings();
    QDialog::done(result);
}

std::optional<QString> runZipOptions(QWidget* parent) {
    TfrmZipOptions dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.comment();
}

}  // namespace vastel
