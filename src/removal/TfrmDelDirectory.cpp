#include "removal/TfrmDelDirectory.h"

#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "platform/Dialogs.h"
#include "platform/FileRemoval.h"
#include "platform/FolderHandle.h"
#include "platform/NativePath.h"
#include "platform/Volumes.h"
#include "removal/ArchiveFolder.h"
#include "removal/RemovalTotals.h"
#include "removal/TfrmZipOptions.h"
#include "removal/TreeRemoval.h"
#include "results/JobRunner.h"
#include "widgets/AppContext.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vastel {

bool abortRemoval = false;

namespace {

// The window's side of the tree removal: the running count and name, the member's gauge.
class DelDirectoryJob : public JobRunner {
  public:
    DelDirectoryJob(QLabel* count, QLabel* name, QProgressBar* gauge)
        : JobRunner(&abortRemoval), count_(count), name_(name), gauge_(gauge) {}
    void item(qint64 count, const QByteArray& path) override {
        count_->setText(QString::number(count));
        name_->setText(displayPath(path));
    }
    void progress(qint64 percent, qint64) override {
        gauge_->setVisible(percent < 100);
        gauge_->setValue(int(percent));
    }

  private:
    QLabel* count_;
    QLabel* name_;
    QProgressBar* gauge_;
};

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setMinimumHeight(32);
    return b;
}

QLabel* panel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMargin(3);
    return label;
}

const QString kCount = QStringLiteral("Count");
const QString kFilename = QStringLiteral("Filename");

}  // namespace

TfrmDelDirectory::TfrmDelDirectory(AppContext& context, QWidget* parent)
    : QDialog(parent), safeHarbor(context.safeHarborCheck()), isRemovable(&isRemovablePath) {
    setObjectName(QStringLiteral("frmDelDirectory"));
    setWindowTitle(QStringLiteral("Clean directory, sub-directories and all files"));
    zipOptions = [this] { return runZipOptions(this); };

    lblTop = new QLabel(QStringLiteral("Folder to clean: "), this);
    lblTop->setObjectName(QStringLiteral("lblTop"));
    lblTop->setWordWrap(true);
    QFont strong = lblTop->font();
    strong.setBold(true);
    lblTop->setFont(strong);
    lblDirectory = new QLabel(this);
    lblDirectory->setObjectName(QStringLiteral("lblDirectory"));
    lblDirectory->setWordWrap(true);
    lblDirectory->setFrameShape(QFrame::StyledPanel);
    lblDirectory->setMargin(6);
    lblDirectory->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btDelete = button("btDelete", QStringLiteral("&Delete folder"), this);
    btDelete->setIcon(style()->standardIcon(QStyle::SP_DialogDiscardButton));
    btRecycle = button("btRecycle", QStringLiteral("&Send files to recycle bin"), this);
    btRecycle->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    btZip = button("btZip", QStringLiteral("&Zip up folder"), this);
    btZip->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    cbDelete = new QCheckBox(QStringLiteral("Delete files after zipping them up"), this);
    cbDelete->setObjectName(QStringLiteral("cbDelete"));
    cbDelete->setChecked(true);
    BitBtn3 = button("BitBtn3", QStringLiteral("Cancel. Do not delete."), this);
    BitBtn3->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    pnlCount = panel("pnlCount", kCount, this);
    pnlCount->setMinimumWidth(90);
    pnlName = panel("pnlName", kFilename, this);
    pnlName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setMaximumWidth(110);
    Gauge1->hide();

    auto* actions = new QGridLayout;
    actions->setHorizontalSpacing(8);
    actions->addWidget(btDelete, 0, 0);
    actions->addWidget(btRecycle, 0, 1);
    actions->addWidget(btZip, 0, 2);
    actions->addWidget(cbDelete, 1, 0, 1, 3, Qt::AlignRight);
    int widest = 0;
    for (QPushButton* b : {btDelete, btRecycle, btZip})
        widest = std::max(widest, b->sizeHint().width());
    for (QPushButton* b : {btDelete, btRecycle, btZip}) b->setMinimumWidth(widest);
    for (int column = 0; column < 3; ++column) actions->setColumnStretch(column, 1);

    auto* status = new QHBoxLayout;
    status->setSpacing(4);
    status->addWidget(pnlCount);
    status->addWidget(pnlName, 1);
    status->addWidget(Gauge1);

    auto* cancelRow = new QHBoxLayout;
    cancelRow->addStretch();
    cancelRow->addWidget(BitBtn3);
    cancelRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(8);
    layout->addWidget(lblTop);
    layout->addWidget(lblDirectory);
    layout->addSpacing(6);
    layout->addLayout(actions);
    layout->addSpacing(6);
    layout->addLayout(cancelRow);
    layout->addLayout(status);
    setMinimumWidth(560);

    connect(btDelete, &QPushButton::clicked, this, &TfrmDelDirectory::btDeleteClick);
    connect(btRecycle, &QPushButton::clicked, this, &TfrmDelDirectory::btRecycleClick);
    connect(btZip, &QPushButton::clicked, this, &TfrmDelDirectory::btZipClick);
    connect(BitBtn3, &QPushButton::clicked, this, &TfrmDelDirectory::BitBtn3Click);
}

void TfrmDelDirectory::setFolder(const QByteArray& path) {
    folder_ = path;
    lblDirectory->setText(displayPath(path));
}

void TfrmDelDirectory::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TfrmDelDirectory::FormShow() {
    recycleMode = false;
    removalBusy = false;
    abortRemoval = false;
    lblDirectory->setAlignment(Qt::AlignCenter);
    // Removable media keep no trash a user would look in.
    if (isRemovable && isRemovable(folder_)) btRecycle->setEnabled(false);
    const int reason = safeHarbor.reason(folder_, false);
    QPalette pal = lblTop->palette();
    if (SafeHarborCheck::isProtected(reason)) {
        lblTop->setText(QStringLiteral("This folder should not be deleted since it is ") +
                        safeHarbor.text(reason));
        pal.setColor(QPalette::WindowText, Qt::red);
    } else {
        lblTop->setText(QStringLiteral("Folder to clean: "));
        pal.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    }
    lblTop->setPalette(pal);
}

void TfrmDelDirectory::setBusy(bool busy) {
    for (QWidget* w : {static_cast<QWidget*>(btDelete), static_cast<QWidget*>(btZip),
                       static_cast<QWidget*>(cbDelete)})
        w->setEnabled(!busy);
    btRecycle->setEnabled(!busy && !(isRemovable && isRemovable(folder_)));
}

void TfrmDelDirectory::runOperation(const std::function<bool()>& operation) {
    removalBusy = true;
    abortConfirmed_ = false;
    setBusy(true);
    const bool ran = operation();
    removalBusy = false;
    setBusy(false);
    pnlCount->setText(kCount);
    pnlName->setText(kFilename);
    Gauge1->hide();
    if (ran) done(abortConfirmed_ ? QDialog::Rejected : QDialog::Accepted);
}

void TfrmDelDirectory::btDeleteClick() {
    zipMode = false;
    recycleMode = false;
    runOperation([this] { return StartTheDeletionProcess(); });
}

void TfrmDelDirectory::btRecycleClick() {
    const QString question = QStringLiteral(
        "Note that the recycle bin may be full or that you may have the \"Immediately Remove "
        "Files On Delete\" option turned on in the recycle bin. If either is true, then you will "
        "not be able to recover the deleted files from the recycle bin. \r\rSend to the recycle "
        "bin anyway?");
    if (!confirmed(dialogs().question(question, Buttons::YesNo, BoxIcon::Question, Beep::None))) {
        zipMode = false;
        recycleMode = false;
        return;
    }
    recycleMode = true;
    zipMode = false;
    runOperation([this] { return StartTheDeletionProcess(); });
}

void TfrmDelDirectory::btZipClick() {
    zipMode = true;
    recycleMode = false;
    runOperation([this] {
        const std::optional<QString> comment = zipOptions ? zipOptions() : std::nullopt;
        archivePath_ = archiveFileName(QStringLiteral("FolderClean"), driveLetterOf(folder_),
                                       QDateTime::currentDateTime());
        if (!comment) return false;
        comment_ = *comment;
        return StartTheDeletionProcess();
    });
}

bool TfrmDelDirectory::StartTheDeletionProcess() {
    const int reason = safeHarbor.reason(folder_, false);
    if (SafeHarborCheck::isProtected(reason)) {
        const QString warning =
            QStringLiteral(
                "Warning: the folder or a sub-folder of the one to delete is marked "
                "NOT to be deleted because it is ") +
            safeHarbor.text(reason) +
            QStringLiteral(".  You may not want to delete it at this time.  Really delete?");
        if (!confirmed(dialogs().question(warning, Buttons::YesNo, BoxIcon::Warning, Beep::None)))
            return false;
    }

    // The folder is opened through its parent and must be a folder itself, never a link to one.
    QByteArray parentPath, name;
    splitPath(folder_, parentPath, name);
    const FolderHandle parent = FolderHandle::open(parentPath);
    int error = parent.isOpen() ? 0 : errno;
    DirEntry entry;
    if (name.isEmpty() || name == "." || name == "..")
        error = EINVAL;
    else if (!error && !parent.statChild(name, entry))
        error = errno;
    else if (!error && !entry.isDirectory())
        error = entry.isSymlink() ? ELOOP : ENOTDIR;
    if (error) {
        errorBox(QStringLiteral("Couldn't open folder - ") + displayPath(folder_) +
                 QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(error)) +
                 QLatin1Char(')'));
        return false;
    }

    DelDirectoryJob job(pnlCount, pnlName, Gauge1);
    TreeRemovalOptions options;

    if (zipMode) {
        options.mode = TreeRemoval::Mode::Zip;
        options.deleteAfterZip = cbDelete->isChecked();
        options.archivePath = archivePath_;
        options.comment = comment_.toUtf8();
        TreeRemoval walk(options, job, job.stopToken());
        const TreeRemoval::Result result = walk.deltree(parent, parentPath, name);
        job.stopped();  // a declined question raises the program-wide flag, as before
        if (result.count > 0)
            infoBox(
                QStringLiteral("Zipped up ") + thousandsText(result.count) +
                QStringLiteral(" files") +
                (result.complete
                     ? QString()
                     : QStringLiteral(" (Note: Zip operation canceled ... not all files zipped)")));
        addArchiveTotals(result.count, result.bytes);
        if (cbDelete->isChecked()) parent.removeFolder(name);
        return true;
    }

    // An empty folder simply goes.
    if (parent.removeFolder(name)) return true;
    options.mode = recycleMode ? TreeRemoval::Mode::Recycle : TreeRemoval::Mode::Delete;
    TreeRemoval walk(options, job, job.stopToken());
    const TreeRemoval::Result result = walk.deltree(parent, parentPath, name);
    job.stopped();
    // Trashed files are counted and reported as deleted too.
    if (result.count > 0)
        infoBox(QStringLiteral("Deleted ") + thousandsText(result.count) +
                QStringLiteral(" files for a savings of ") + thousandsText(result.bytes) +
                QStringLiteral(" bytes.") +
                (result.complete
                     ? QString()
                     : QStringLiteral(
                           " (Note: Deletion operation canceled ... not all files deleted)")));
    addRemovalTotals(result.count, result.bytes, 0, 0);
    parent.removeFolder(name);
    return true;
}

void TfrmDelDirectory::BitBtn3Click() {
    if (!removalBusy) {
        QDialog::reject();
        return;
    }
    if (confirmed(
            dialogs().question(QStringLiteral("Really abort?  Folders may be partially deleted!"),
                               Buttons::YesNo, BoxIcon::Question, Beep::None))) {
        abortRemoval = true;
        abortConfirmed_ = true;
    }
}

void TfrmDelDirectory::reject() { BitBtn3Click(); }

void TfrmDelDirectory::closeEvent(QCloseEvent* event) {
    if (removalBusy) {
        event->ignore();
        BitBtn3Click();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace vastel
