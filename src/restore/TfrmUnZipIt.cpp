#include "restore/TfrmUnZipIt.h"

#include "core/Utility.h"
#include "platform/Dialogs.h"
#include "platform/DirEntry.h"
#include "platform/NativePath.h"
#include "platform/Wildcard.h"
#include "restore/ArchiveRestore.h"
#include "restore/MemberPath.h"
#include "restore/TfrmZipDirectory.h"
#include "restore/ui/FolderListBox.h"
#include "results/JobRunner.h"
#include "widgets/AppContext.h"
#include "widgets/BusyCursor.h"

#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vastel {

namespace {

constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kIndexRole = Qt::UserRole + 2;

QString baseName(const QByteArray& path) {
    return displayPath(path.mid(path.lastIndexOf('/') + 1));
}

void plainMessage(const QString& text) { dialogs().message(Beep::None, BoxIcon::None, text); }

}  // namespace

// The window's side of a restore: the gauge, the password, the member failures; events run
// between chunks so the window stays painted.
class UnzipSink : public RestoreSink {
  public:
    explicit UnzipSink(TfrmUnZipIt& window) : window_(window) {}
    void tick() override { runner_.tick(); }
    void progress(qint64 done, qint64 total) override {
        const int percent = total > 0 ? int(done * 100 / total) : 100;
        if (percent == lastPercent_) return;
        lastPercent_ = percent;
        window_.OutlineArchiveProgress(percent);
    }
    void memberFailed(const MemberFailure& failure) override {
        window_.OutlineProcessItemFailure(failure);
    }
    std::optional<QByteArray> password(const QByteArray& member) override {
        return window_.OutlineNeedPassword(member);
    }

  private:
    TfrmUnZipIt& window_;
    JobRunner runner_;
    int lastPercent_ = -1;
};

TfrmUnZipIt::TfrmUnZipIt(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmUnZipIt"));
    setWindowTitle(QStringLiteral("Unzip Vastel Archive Zip Files"));

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DirectoryListBox1 = new FolderListBox(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->attachDriveBox(DriveComboBox1);
    Label2 = new QLabel(QStringLiteral("File mask: Drive*.zip"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));

    auto* lblZipCaption = new QLabel(QStringLiteral("Archive zip file:"), this);
    lblZip = new QLabel(this);
    lblZip->setObjectName(QStringLiteral("lblZip"));
    lblZip->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = lblZip->font();
    bold.setBold(true);
    lblZip->setFont(bold);
    Outline = new QTreeWidget(this);
    Outline->setObjectName(QStringLiteral("Outline"));
    Outline->setColumnCount(3);
    Outline->setHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Date")});
    Outline->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    Outline->header()->setStretchLastSection(false);
    Outline->setUniformRowHeights(true);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblCount->setMinimumWidth(90);
    pnlComment = new QLabel(this);
    pnlComment->setObjectName(QStringLiteral("pnlComment"));
    pnlComment->setFrameShape(QFrame::StyledPanel);
    pnlComment->setFrameShadow(QFrame::Sunken);
    pnlComment->setMargin(3);
    pnlComment->setTextFormat(Qt::PlainText);

    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->hide();
    btView = new QPushButton(QStringLiteral("&View files inside ZIP"), this);
    btView->setObjectName(QStringLiteral("btView"));
    btExtract = new QPushButton(QStringLiteral("&Extract files from ZIP"), this);
    btExtract->setObjectName(QStringLiteral("btExtract"));
    btClose = new QPushButton(QStringLiteral("Close"), this);
    btClose->setObjectName(QStringLiteral("btClose"));
    for (QPushButton* b : {btView, btExtract, btClose}) b->setAutoDefault(false);
    btView->setEnabled(false);
    btExtract->setEnabled(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    // Shown a moment after the window, so that the empty folder is seen behind the message.
    Timer1->setInterval(600);

    auto* left = new QVBoxLayout;
    left->addWidget(DriveComboBox1);
    left->addWidget(DirectoryListBox1, 3);
    left->addWidget(Label2);
    left->addWidget(FileListBox1, 2);

    auto* right = new QVBoxLayout;
    auto* zipRow = new QHBoxLayout;
    zipRow->addWidget(lblZipCaption);
    zipRow->addWidget(lblZip, 1);
    right->addLayout(zipRow);
    right->addWidget(Outline, 1);
    auto* infoRow = new QHBoxLayout;
    infoRow->addWidget(lblCount);
    infoRow->addWidget(pnlComment, 1);
    right->addLayout(infoRow);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Gauge1, 1);
    buttons->addStretch(0);
    buttons->addWidget(btView);
    buttons->addWidget(btExtract);
    buttons->addWidget(btClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    resize(920, 580);

    lblZip->clear();  // FormCreate
    connect(DirectoryListBox1, &FolderListBox::folderChanged, this, [this] { fillFileList(); });
    connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this,
            &TfrmUnZipIt::DirectoryListBox1DblClick);
    connect(FileListBox1, &QListWidget::itemClicked, this, &TfrmUnZipIt::FileListBox1Click);
    connect(FileListBox1, &QListWidget::itemSelectionChanged, this, &TfrmUnZipIt::BtExtractEnable);
    connect(FileListBox1, &QListWidget::itemActivated, this, &TfrmUnZipIt::FileListBox1DblClick);
    connect(Outline, &QTreeWidget::itemActivated, this, &TfrmUnZipIt::OutlineDblClick);
    connect(btView, &QPushButton::clicked, this, &TfrmUnZipIt::FileListBox1DblClick);
    connect(btExtract, &QPushButton::clicked, this, &TfrmUnZipIt::ExtractFiles1Click);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(Timer1, &QTimer::timeout, this, &TfrmUnZipIt::Timer1Timer);
}

TfrmUnZipIt::~TfrmUnZipIt() { closeArchive(); }  // FormDestroy

void TfrmUnZipIt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TfrmUnZipIt::FormShow() {
    const QByteArray start = context_.archiveFolder();
    DirectoryListBox1->setFolder(start.isEmpty() ? qgetenv("HOME") : start);
    fillFileList();
    if (FileListBox1->count() == 0) Timer1->start();
}

void TfrmUnZipIt::Timer1Timer() {
    Timer1->stop();
    dialogs().message(Beep::None, BoxIcon::Information,
                      QStringLiteral("It appears that there are no archive zip files in this "
                                     "folder for Vastel to unzip.  \r\rNote that Vastel can only "
                                     "unzip those files that have been originally zipped by "
                                     "Vastel.  It should not be used to unzip other non Vastel "
                                     "zip files."));
}

void TfrmUnZipIt::fillFileList() {
    static const WildcardPattern mask("Drive*.ZIP");
    std::vector<QByteArray> names;
    for (const DirEntry& entry : listDirectory(DirectoryListBox1->folder()))
        if (!entry.isDirectory() && mask.matches(entry.name)) names.push_back(entry.name);
    std::sort(names.begin(), names.end(), [](const QByteArray& a, const QByteArray& b) {
        const int c = qstricmp(a.constData(), b.constData());
        return c != 0 ? c < 0 : a < b;
    });
    // A refresh keeps the archive that was selected, when it is still there.
    const QListWidgetItem* was = FileListBox1->currentItem();
    const QByteArray selected =
        was && was->isSelected() ? was->data(kNameRole).toByteArray() : QByteArray();
    FileListBox1->clear();
    for (const QByteArray& name : names) {
        auto* item = new QListWidgetItem(displayPath(name), FileListBox1);
        item->setData(kNameRole, name);
        if (!selected.isEmpty() && name == selected) FileListBox1->setCurrentItem(item);
    }
    FileListBox1Change();
}

QByteArray TfrmUnZipIt::selectedArchive() const {
    const QListWidgetItem* item = FileListBox1->currentItem();
    if (!item || !item->isSelected()) return {};
    return joinPath(DirectoryListBox1->folder(), item->data(kNameRole).toByteArray());
}

void TfrmUnZipIt::BtExtractEnable() {
    const bool selected = !selectedArchive().isEmpty();
    btExtract->setEnabled(selected);
    btView->setEnabled(btExtract->isEnabled());
}

void TfrmUnZipIt::FileListBox1Click() { BtExtractEnable(); }
void TfrmUnZipIt::FileListBox1Change() { BtExtractEnable(); }
void TfrmUnZipIt::DirectoryListBox1DblClick() { BtExtractEnable(); }

void TfrmUnZipIt::FileListBox1DblClick() {
    const QByteArray archive = selectedArchive();
    if (archive.isEmpty()) return;
    BusyCursor busy;
    if (!shown_.isEmpty()) {
        // Another archive is on view: it stays unless the new one reads as an archive.
        if (canOpenArchive(archive)) showArchive(archive);
    } else if (!showArchive(archive)) {
        closeArchive();
    }
}

bool TfrmUnZipIt::showArchive(const QByteArray& path) {
    const ArchiveListing listing = listArchive(path);
    if (!listing.opened) return false;
    shown_ = path;
    OutlineLoad(listing);
    lblZip->setText(displayPath(path));
    const auto files = std::count_if(listing.members.begin(), listing.members.end(),
                                     [](const ArchiveMember& m) { return !m.isFolder(); });
    lblCount->setText(QString::number(files) + QStringLiteral(" files"));
    pnlComment->setText(displayPath(listing.comment));
    return true;
}

void TfrmUnZipIt::closeArchive() {
    shown_.clear();
    if (!Outline) return;
    Outline->clear();
    lblZip->clear();
    lblCount->clear();
    pnlComment->clear();
}

void TfrmUnZipIt::OutlineLoad(const ArchiveListing& listing) {
    ignoreDuplicates_ = false;
    Outline->setUpdatesEnabled(false);
    Outline->clear();
    QHash<QByteArray, QTreeWidgetItem*> folders;
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    const QLocale locale;
    // The node of a folder path, made with its parents when first seen.
    std::function<QTreeWidgetItem*(const QByteArrayList&)> folderNode =
        [&](const QByteArrayList& parts) -> QTreeWidgetItem* {
        if (parts.isEmpty()) return nullptr;
        const QByteArray key = parts.join('/');
        if (QTreeWidgetItem* found = folders.value(key)) return found;
        QTreeWidgetItem* parent = folderNode(parts.mid(0, parts.size() - 1));
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Outline);
        item->setText(0, displayPath(parts.last()));
        item->setIcon(0, folderIcon);
        folders.insert(key, item);
        return item;
    };
    for (const ArchiveMember& member : listing.members) {
        MemberPath path;
        if (!splitMemberName(member.name, path)) {
            // Shown as stored, so that what extraction will refuse can be seen.
            auto* item = new QTreeWidgetItem(Outline);
            item->setText(0, displayPath(member.name));
            continue;
        }
        QTreeWidgetItem* parent = folderNode(path.folders);
        if (path.file.isEmpty()) continue;
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Outline);
        item->setText(0, displayPath(path.file));
        item->setIcon(0, fileIcon);
        item->setText(1, thousandsText(member.size));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(
            2, locale.toString(QDateTime::fromSecsSinceEpoch(member.mtime), QLocale::ShortFormat));
        item->setData(0, kIndexRole, QVariant::fromValue<qulonglong>(member.index));
        item->setData(0, kNameRole, member.name);
    }
    Outline->expandAll();
    Outline->resizeColumnToContents(1);
    Outline->resizeColumnToContents(2);
    Outline->setUpdatesEnabled(true);
    Outline->setPalette(palette());  // the normal window colour
}

void TfrmUnZipIt::ExtractFiles1Click() {
    FileListBox1DblClick();
    if (shown_.isEmpty()) return;
    TfrmZipDirectory destination(this);
    destination.setArchive(shown_);
    if (!baseFolder_.isEmpty()) destination.setStartFolder("/");
    const int answer = runDestination ? runDestination(destination) : destination.exec();
    if (answer != QDialog::Accepted) return;
    RestoreOutcome outcome;
    {
        BusyCursor busy;
        baseFolder_ = destination.chosenFolder();
        UnzipSink sink(*this);
        StopToken stop;
        outcome = restoreArchive({shown_, baseFolder_, {}}, sink, stop);
        Gauge1->hide();
        fillFileList();
    }
    if (!outcome.opened) {
        dialogs().message(Beep::Exclamation, BoxIcon::Error, outcome.error);
    } else if (outcome.failed == 0) {
        plainMessage(QStringLiteral("Files were unzipped"));
    } else if (outcome.restored > 0) {
        // The failures were shown one by one; success is claimed only for what came back.
        plainMessage(QStringLiteral("%1 files were unzipped; %2 could not be unzipped.")
                         .arg(outcome.restored)
                         .arg(outcome.failed));
    }
}

void TfrmUnZipIt::OutlineArchiveProgress(int percent) {
    Gauge1->show();
    Gauge1->setValue(std::min(percent, 100));
    if (percent >= 100) Gauge1->hide();
}

std::optional<QByteArray> TfrmUnZipIt::OutlineNeedPassword(const QByteArray& member) {
    const std::optional<QString> text = dialogs().inputBox(
        QStringLiteral("Enter Password"),
        QStringLiteral("Password for ") + displayPath(member) + QLatin1Char(':'), QString());
    if (!text) return std::nullopt;
    return text->toUtf8();
}

void TfrmUnZipIt::OutlineProcessItemFailure(const MemberFailure& failure) {
    const QString member = displayPath(failure.member);
    if (failure.kind == MemberFailure::Kind::DuplicateName) {
        if (ignoreDuplicates_) return;
        if (confirmed(dialogs().question(
                QStringLiteral("Cannot move ") + member +
                    QStringLiteral(". Would create a duplicate name. Ignore future warnings?"),
                Buttons::YesNo, BoxIcon::Warning, Beep::None)))
            ignoreDuplicates_ = true;
        return;
    }
    plainMessage(QStringLiteral("Cannot extract ") + member + QStringLiteral(" from ") +
                 baseName(shown_));
    // Why, in the library's words, or the system's (a full disk, a name too long).
    if (failure.kind == MemberFailure::Kind::Library || failure.kind == MemberFailure::Kind::System)
        plainMessage(failure.text);
}

void TfrmUnZipIt::OutlineDblClick(QTreeWidgetItem* item) {
    if (!item || !item->data(0, kIndexRole).isValid() || shown_.isEmpty()) return;
    const QByteArray name = item->data(0, kNameRole).toByteArray();
    MemberPath path;
    if (!splitMemberName(name, path)) return;
    // The member is read into a folder of its own, which goes when the viewer closes.
    QTemporaryDir temporary;
    if (!temporary.isValid()) return;
    const QByteArray folder = nativePath(temporary.path());
    UnzipSink sink(*this);
    StopToken stop;
    const RestoreOutcome outcome =
        restoreArchive({shown_, folder, {item->data(0, kIndexRole).toULongLong()}}, sink, stop);
    Gauge1->hide();
    if (outcome.restored == 1) context_.openViewer(this, joinPath(folder, path.key()));
}

}  // namespace vastel
