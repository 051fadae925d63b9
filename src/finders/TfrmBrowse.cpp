#include "finders/TfrmBrowse.h"

#include "core/DateTexts.h"
#include "core/GridModel.h"
#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "core/WindowPlacement.h"
#include "finders/BrowseColumns.h"
#include "finders/BrowseListing.h"
#include "finders/BrowseTexts.h"
#include "finders/ui/FolderIcons.h"
#include "finders/ui/FolderTreeFilter.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "platform/Paths.h"
#include "protect/SafeHarbor.h"
#include "results/ResultList.h"
#include "widgets/AppContext.h"
#include "widgets/BusyCursor.h"
#include "widgets/PlacedWindow.h"
#include "widgets/TfrmWildCard.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vastel {

namespace {

const QString kPlacementKey = QStringLiteral("vastel.ini");
const QString kPlacementName = QStringLiteral("frmBrowse");

}  // namespace

TfrmBrowse::TfrmBrowse(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmBrowse"));
    setModal(true);
    setWindowTitle(QStringLiteral("Browse through folders"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    buildControls();

    ResultList::Parts parts;
    parts.window = this;
    parts.grid = grid;
    parts.model = model;
    parts.btDelete = btDeleteFiles;
    parts.status = [this](const QString&) {
        pnlScan->setText(browseMarkedText(resultList->markedCount(), resultList->markedBytes()));
    };
    resultList = new ResultList(context_, parts, this);
    // The browser has no Delete-key shortcut, and its double click asks for a file's row.
    grid->removeEventFilter(resultList);
    disconnect(grid, &QAbstractItemView::doubleClicked, resultList, nullptr);
    buildMenu();

    askWildcard = [this](const QString& mask) -> std::optional<QString> {
        TfrmWildCard dialog(this);
        dialog.cbWildCard->setEditText(mask);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.cbWildCard->currentText();
    };

    volumes_ = mountedVolumes();
    fillDrives();
    connectControls();
    resize(900, 600);
}

TfrmBrowse::~TfrmBrowse() {
    savePlacement(this, kPlacementKey, programSectionName(), kPlacementName);
    // The model (and its loading thread) uses the icon provider, a member that goes before
    // the window's children would.
    delete folderFilter;
    delete folderModel;
}

void TfrmBrowse::setStart(const QByteArray& folder, const QByteArray& file, const QString& mask) {
    folder_ = folder;
    startFile_ = file;
    mask_ = mask.isEmpty() ? QStringLiteral("*.*") : mask;
}

QString TfrmBrowse::wildcardText() const { return browseWildcardText(mask_); }

void TfrmBrowse::connectControls() {
    connect(btLaunch, &QPushButton::clicked, resultList, &ResultList::Run1Click);
    connect(btView, &QPushButton::clicked, resultList, &ResultList::View1Click);
    connect(btDetails, &QPushButton::clicked, resultList, &ResultList::Details1Click);
    connect(btMark, &QPushButton::clicked, this, &TfrmBrowse::btMarkClick);
    connect(btDeleteFiles, &QPushButton::clicked, this, &TfrmBrowse::btDeleteFilesClick);
    connect(btDeleteDirectory, &QPushButton::clicked, this, &TfrmBrowse::btDeleteDirectoryClick);
    connect(btClose, &QPushButton::clicked, this, &TfrmBrowse::reject);
    connect(btMenu, &QPushButton::clicked, this,
            [this] { PopupMenu1->popup(btMenu->mapToGlobal(QPoint(0, btMenu->height()))); });
    connect(pnlWild, &QPushButton::clicked, this, &TfrmBrowse::pnlScanClick);
    connect(grid, &QAbstractItemView::doubleClicked, this, &TfrmBrowse::gridDblClick);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(grid->viewport()->mapToGlobal(at)); });
    connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TfrmBrowse::headerClicked);
    connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TfrmBrowse::treeCurrentChanged);
    connect(DriveCombobox1, qOverload<int>(&QComboBox::activated), this,
            &TfrmBrowse::DriveCombobox1Change);
    connect(folderModel, &QAbstractItemModel::rowsRemoved, this, &TfrmBrowse::folderRowsRemoved);
    // The tree's rows arrive after the folder was chosen and push it out of view: bring it
    // back while they come in, but not when the user later opens other folders.
    connect(folderFilter, &QAbstractItemModel::rowsInserted, this, [this] {
        if (scrollPending_ || !sinceFolderChange_.isValid() || sinceFolderChange_.elapsed() > 3000)
            return;
        scrollPending_ = true;
        QTimer::singleShot(50, this, [this] {
            scrollPending_ = false;
            DirectoryListBox1->scrollTo(DirectoryListBox1->currentIndex());
        });
    });
}

void TfrmBrowse::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmBrowse::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmBrowse::FormShow() {
    pnlWild->setText(pnlWild->fontMetrics().elidedText(wildcardText(), Qt::ElideRight, 320));
    changeFolder(folder_.isEmpty() ? nativePath(homeFolder()) : folder_);
    selectFile(startFile_);

    // Smallest: the button panel's width, and the buttons above a usable part of the folders.
    const QScreen* screen = this->screen();
    int width = pnlButtons->sizeHint().width() + 16;
    if (screen) width = std::min(width, screen->geometry().width() - 10);
    setMinimumSize(width, pnlButtons->sizeHint().height() + 260);
    resize(size().expandedTo(minimumSize()));
    centreOnScreen(this);
    FormResize();
    applySavedPlacement(this, kPlacementKey, programSectionName(), kPlacementName);
    grid->setFocus();
}

void TfrmBrowse::FormResize() {
    if (!grid || !model) return;
    // The number, date and time columns fit their longest usual text; Filename and Type share
    // what they leave.
    const QFontMetrics fm(grid->font());
    const int padding = 14;
    constexpr quint32 lateStamp =
        (quint32((2028 - 1980) << 9 | 12 << 5 | 28) << 16) | quint32(23 << 11 | 59 << 5 | 29);
    const int dateWidth = fm.horizontalAdvance(fileDateText(lateStamp)) + padding;
    const int timeWidth = fm.horizontalAdvance(fileTimeText(lateStamp)) + padding;
    const int sizeWidth = fm.horizontalAdvance(thousandsText(99'999'999'999)) + padding;
    QHeaderView* header = grid->horizontalHeader();
    header->resizeSection(BrowseColumns::Modified, dateWidth);
    header->resizeSection(BrowseColumns::Time, timeWidth);
    header->resizeSection(BrowseColumns::Access, dateWidth);
    header->resizeSection(BrowseColumns::Size, sizeWidth);
    const int rest = grid->viewport()->width() - 2 * dateWidth - timeWidth - sizeWidth;
    // Type, the last column, stretches over the other half.
    header->resizeSection(BrowseColumns::Filename, std::max(rest / 2, 80));
    showFolderLabel();
}

// ---- Refresh ----

void TfrmBrowse::DirectoryListBox1Change() {
    if (!driveReady(driveRoot_.isEmpty() ? folder_ : driveRoot_)) return;
    if (!folderEntryExists(folder_)) {
        changeFolder(folder_);  // its nearest parent, which refreshes
        return;
    }
    const int current = resultList->currentRow();
    const QByteArray keep = current >= 0 && model->columns()
                                ? model->record(current).name().toByteArray()
                                : QByteArray();
    btDeleteFiles->setEnabled(false);
    resultList->clearAllMarks();
    totalSize_ = 0;
    {
        BusyCursor busy;
        FillGrid();
        Sortbyname1Click(checkedSortKey(), false);
    }
    pnlScan->setText(browseFileCountText(model->columns() ? model->rowCount() : 0));
    pnlSize->setText(browseTotalSizeText(totalSize_));
    showFolderLabel();
    selectFile(keep);
}

void TfrmBrowse::FillGrid() {
    BrowseListing listing = listBrowseFolder(folder_, mask_);
    totalSize_ = listing.totalSize;
    if (listing.records.empty()) {
        // With no file listed the grid keeps one empty row.
        model->clear();
        model->appendRow(GridRow());
    } else {
        model->setRecords(listing.columns, std::move(listing.records));
    }
    pnlProblem->setVisible(listing.error != 0);
    pnlProblem->setText(listing.error ? browseFolderProblemText(listing.error) : QString());
}

void TfrmBrowse::showFolderLabel() {
    const QString text = displayPath(folder_);
    Label1->setText(
        Label1->fontMetrics().elidedText(text, Qt::ElideMiddle, std::max(Label1->width() - 8, 40)));
    QByteArray asFolder = folder_;
    if (!asFolder.endsWith('/')) asFolder += '/';
    const bool kept = !folder_.isEmpty() && context_.safeHarbor().isInSafeHarbor(asFolder, false);
    Label1->setBackgroundRole(kept ? QPalette::Highlight : QPalette::Window);
    Label1->setForegroundRole(kept ? QPalette::HighlightedText : QPalette::WindowText);
    Label1->setToolTip(kept ? QLatin1String(kBrowseHarborHint) : QString());
}

void TfrmBrowse::selectFile(const QByteArray& name) {
    if (model->rowCount() == 0) return;
    int row = 0;
    if (!name.isEmpty() && model->columns())
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->record(r).name() == name) {
                row = r;
                break;
            }
    const QModelIndex at = model->index(row, BrowseColumns::Filename);
    grid->setCurrentIndex(at);
    grid->selectRow(row);
    grid->scrollTo(at);
}

// ---- Marks ----

void TfrmBrowse::btMarkClick() {
    const int row = resultList->currentRow();
    if (row >= 0 && !model->cell(row, BrowseColumns::Filename).isEmpty()) {
        resultList->deleteOneFile(row);
        if (row + 1 < model->rowCount()) {
            grid->setCurrentIndex(model->index(row + 1, grid->currentIndex().column()));
            grid->selectRow(row + 1);
        }
    }
    btDeleteFiles->setEnabled(resultList->markedCount() > 0);
}

void TfrmBrowse::gridDblClick() {
    const int row = resultList->currentRow();
    // A file's row: the empty row of a folder without files has no name.
    if (row < 0 || model->cell(row, BrowseColumns::Filename).isEmpty()) return;
    resultList->deleteOneFile(row);
    btDeleteFiles->setEnabled(resultList->markedCount() > 0);
}

// ---- Sorting ----

BrowseSortKey TfrmBrowse::checkedSortKey() const {
    if (Sortbydate1->isChecked()) return BrowseSortKey::Modified;
    if (Sortbysize1->isChecked()) return BrowseSortKey::Size;
    if (Sortbyaccessdate1->isChecked()) return BrowseSortKey::Access;
    if (Sortbytype1->isChecked()) return BrowseSortKey::Type;
    return BrowseSortKey::Name;
}

void TfrmBrowse::checkSortKey(BrowseSortKey key) {
    Sortbyname1->setChecked(key == BrowseSortKey::Name);
    Sortbydate1->setChecked(key == BrowseSortKey::Modified);
    Sortbyaccessdate1->setChecked(key == BrowseSortKey::Access);
    Sortbysize1->setChecked(key == BrowseSortKey::Size);
    Sortbytype1->setChecked(key == BrowseSortKey::Type);
}

void TfrmBrowse::Sortbyname1Click(BrowseSortKey key, bool userInitiated) {
    if (model->rowCount() < 1) return;
    BusyCursor busy;
    sortBrowseGrid(*model, key, userInitiated);
    checkSortKey(key);
}

void TfrmBrowse::headerClicked(int column) {
    const std::optional<BrowseSortKey> key = browseSortKeyOfColumn(column);
    if (!key || headerSorting_) return;
    headerSorting_ = true;
    Sortbyname1Click(*key, true);
    headerSorting_ = false;
}

// ---- Wildcard, cleaning, folder removal, closing ----

void TfrmBrowse::pnlScanClick() {
    if (askWildcard) {
        if (const std::optional<QString> chosen = askWildcard(mask_)) {
            mask_ = *chosen;
            DirectoryListBox1Change();
        }
    }
    pnlWild->setText(pnlWild->fontMetrics().elidedText(wildcardText(), Qt::ElideRight, 320));
}

void TfrmBrowse::btDeleteFilesClick() {
    if (resultList->markedCount() <= 0) return;
    // A copy: the review runs an event loop.
    const QList<QByteArray> paths = resultList->lbDeleted();
    context_.runReview(this, paths, QString(), resultList->markedBytes());
    DirectoryListBox1Change();
}

void TfrmBrowse::btDeleteDirectoryClick() {
    const QByteArray folder = folder_;
    QByteArrayList roots;
    for (const Volume& v : volumes_) roots << v.mountPoint;
    const QString refusal = browseRemovalRefusal(folder, roots, nativePath(homeFolder()));
    if (!refusal.isEmpty()) {
        errorBox(refusal);
        return;
    }
    const QByteArray parent = parentFolderPath(folder);
    if (isFolderLink(folder)) {
        // The link goes, never the tree it points to.
        const Answer answer = context_.dialogs().question(
            browseLinkQuestion(displayPath(folder)), Buttons::YesNo, BoxIcon::Warning, Beep::None);
        if (!confirmed(answer)) return;
        if (!removeFolderLink(folder))
            errorBox(QStringLiteral("Couldn't delete ") + displayPath(folder) +
                     QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(errno)) +
                     QLatin1Char(')'));
        changeFolder(folderEntryExists(folder) ? folder : parent);
        return;
    }
    changeFolder(parent);
    const bool ran = context_.runFolderRemoval(this, folder);
    // Cancelled: the folder is current again, unless it went all the same.
    changeFolder(ran ? parent : folder);
}

bool TfrmBrowse::FormCloseQuery() {
    const qint64 marked = resultList->markedCount();
    if (marked <= 0) return true;
    return confirmed(context_.dialogs().question(browseExitQuestion(marked), Buttons::YesNo,
                                                 BoxIcon::Question, Beep::None));
}

void TfrmBrowse::reject() {
    if (FormCloseQuery()) QDialog::reject();
}

}  // namespace vastel
