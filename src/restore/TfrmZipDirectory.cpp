#include "restore/TfrmZipDirectory.h"

#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "platform/Volumes.h"
#include "restore/TfrmGetFolderName.h"
#include "restore/ui/FolderListBox.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cerrno>

namespace vastel {

namespace {

QByteArray currentFolder() {
    QByteArray buffer(4096, '\0');
    while (!::getcwd(buffer.data(), size_t(buffer.size()))) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.constData());
}

QLabel* wrapped(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLabel* pathLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    label->setMargin(4);
    return label;
}

// Makes a folder and its missing parents, by bytes.
bool makeFolders(const QByteArray& path) {
    for (qsizetype at = 1; at <= path.size(); ++at) {
        if (at < path.size() && path[at] != '/') continue;
        const QByteArray part = path.left(at);
        if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) return false;
    }
    return true;
}

}  // namespace

TfrmZipDirectory::TfrmZipDirectory(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmZipDirectory"));
    setWindowTitle(QStringLiteral("Destination folder"));

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DLB = new FolderListBox(this);
    DLB->setObjectName(QStringLiteral("DLB"));
    DLB->attachDriveBox(DriveComboBox1);
    Button3 = new QPushButton(QStringLiteral("&Create sub-folder..."), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setAutoDefault(false);

    lblZip = pathLabel(QStringLiteral("lblZip"), this);
    DirLabel = pathLabel(QStringLiteral("DirLabel"), this);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    for (QPushButton* b : {Button1, Button2}) b->setMinimumWidth(90);

    auto* left = new QVBoxLayout;
    left->addWidget(DriveComboBox1);
    left->addWidget(DLB, 1);
    left->addWidget(Button3);

    auto* right = new QVBoxLayout;
    right->addWidget(
        new QLabel(QStringLiteral("All files within the selected archive zip file "), this));
    right->addWidget(lblZip);
    right->addSpacing(6);
    right->addWidget(
        new QLabel(QStringLiteral("Will be restored into the following folder:"), this));
    right->addWidget(DirLabel);
    right->addSpacing(10);
    right->addWidget(
        wrapped(QStringLiteral("All files contained in the selected zip file will be "
                               "extracted into the folder that you pick on the left. "),
                this));
    right->addWidget(wrapped(QStringLiteral("It is recommended that you select the ROOT folder of "
                                            "the drive that matches the name of the archive to "
                                            "restore the files into their original places."),
                             this));
    right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    right->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(14);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
    resize(680, 420);

    connect(DLB, &FolderListBox::folderChanged, this,
            [this](const QByteArray& folder) { DirLabel->setText(displayPath(folder)); });
    connect(Button1, &QPushButton::clicked, this, &TfrmZipDirectory::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, &TfrmZipDirectory::Button3Click);
    askFolderName = [](QWidget* parent) -> std::optional<QString> {
        TfrmGetFolderName prompt(parent);
        prompt.setWindowTitle(QStringLiteral("Create Sub-folder"));
        prompt.Edit1->clear();
        if (prompt.exec() != QDialog::Accepted) return std::nullopt;
        return prompt.Edit1->text();
    };
}

QByteArray TfrmZipDirectory::originalRoot(const QByteArray& archivePath, bool* known) {
    // Every absolute path lies under "/", drive "R"; archives of no other letter are made here.
    const qsizetype at = archivePath.lastIndexOf("Drive-");
    const bool ours = at >= 0 && at + 6 < archivePath.size() &&
                      QChar::toUpper(uint(uchar(archivePath[at + 6]))) == QLatin1Char('R');
    if (known) *known = ours;
    if (ours) return "/";
    const std::vector<Volume> volumes = mountedVolumes();
    const Volume* volume = currentVolume(volumes);
    return volume ? volume->mountPoint : QByteArray("/");
}

void TfrmZipDirectory::setArchive(const QByteArray& archivePath) {
    archive_ = archivePath;
    lblZip->setText(displayPath(archivePath));
}

void TfrmZipDirectory::setStartFolder(const QByteArray& folder) { DLB->setFolder(folder); }

QByteArray TfrmZipDirectory::chosenFolder() const { return DLB->folder(); }

void TfrmZipDirectory::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmZipDirectory::FormShow() {
    savedCurrent_ = currentFolder();
    root_ = originalRoot(archive_, &rootKnown_);
    if (::chdir(root_.constData()) != 0) { /* the list still shows the root */
    }
    DLB->setFolder(root_);
    DirLabel->setText(displayPath(DLB->folder()));
}

void TfrmZipDirectory::Button1Click() {
    // Only the very root that the member paths are relative to puts files back in place; a
    // mount point or the home folder would nest them below it.
    if (rootKnown_ && chosenFolder() == root_) {
        accept();
        return;
    }
    if (confirmed(dialogs().question(
            QStringLiteral("You are not restoring into the original root folder.  The files will "
                           "not be restored to their original locations. Is this OK?"),
            Buttons::YesNo, BoxIcon::Question, Beep::None)))
        accept();
}

void TfrmZipDirectory::Button3Click() {
    const std::optional<QString> name = askFolderName ? askFolderName(this) : std::nullopt;
    if (name && !name->isEmpty()) {
        const QByteArray folder = DLB->folder() == "/" ? "/" + nativePath(*name)
                                                       : DLB->folder() + '/' + nativePath(*name);
        makeFolders(folder);
    }
    DLB->refresh();
}

void TfrmZipDirectory::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TfrmZipDirectory::FormClose() {
    if (!savedCurrent_.isEmpty() && ::chdir(savedCurrent_.constData()) != 0) {
        // The folder that was current is gone; nothing else depends on it.
    }
}

}  // namespace vastel
