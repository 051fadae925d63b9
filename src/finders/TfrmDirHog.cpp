#include "finders/TfrmDirHog.h"

#include "core/GridModel.h"
#include "core/MessageBoxes.h"
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "finders/DirHogFinder.h"
#include "platform/FolderReader.h"
#include "platform/NativePath.h"
#include "platform/SystemFolders.h"
#include "protect/SafeHarbor.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/ScanSession.h"
#include "widgets/AppContext.h"
#include "widgets/BusyCursor.h"
#include "widgets/DriveList.h"
#include "widgets/PlacedWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <algorithm>

namespace vastel {

bool abortDirHogScan = false;

namespace {

// Sort directions of the five sortable columns; they last for the whole run.
bool sizeDescending = true;
bool filesDescending = true;
bool subfoldersDescending = true;
bool dateDescending = true;
bool nameDescending = false;

const QString kDeleted = QStringLiteral("DELETED");
const QString kRecycled = QStringLiteral("RECYCLED");

QByteArray withoutTrailingSlashes(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/')) path.chop(1);
    return path;
}

// The root of the file tree, a volume's mount point or the user's home folder.
bool isRootFolder(const QByteArray& path) {
    const QByteArray p = withoutTrailingSlashes(path);
    if (p == "/" || p == withoutTrailingSlashes(QFile::encodeName(QDir::homePath()))) return true;
    return isMountRoot(p);
}

// One of the operating system's own top-level folders (not a folder inside one); compared
// without regard to case, which errs toward refusing.
bool isSystemTopFolder(const QByteArray& path) {
    const QByteArray p = withoutTrailingSlashes(path);
    for (const QByteArray& folder : systemTopFolders())
        if (p.compare(folder, Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace

TfrmDirHog::TfrmDirHog(AppContext& context, QWidget* parent)
    : QDialog(parent), rowCapacity(DirHogOptions().capacity), context_(context) {
    setObjectName(QStringLiteral("frmDirHog"));
    setWindowTitle(QStringLiteral("Folder Hogs"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    buildControls();

    ResultList::Parts parts;
    parts.window = this;
    parts.grid = grid;
    parts.model = model;
    parts.topPanel = Panel1;
    parts.status = [this](const QString& text) { pnlScan->showMessage(text); };
    parts.printTitle = [this] { return printTitle(); };
    resultList = new ResultList(context_, parts, this);
    // This grid has no marks: a double click removes the folder, and Delete does nothing.
    disconnect(grid, &QAbstractItemView::doubleClicked, resultList, nullptr);
    grid->removeEventFilter(resultList);
    buildMenu();

    ScanSession::Parts scanParts;
    scanParts.window = this;
    scanParts.abortButton = btAbort;
    scanParts.grid = grid;
    scanParts.disabled = {btTop, btAll, btClose, pckDrive};
    scanParts.hidden = {btOptions, btBrowse, btDelete};
    scanParts.status = [this](const QString& folder) { pnlScan->showMessage(folder); };
    scanParts.abortFlag = &abortDirHogScan;
    scanParts.fullWarning =
        QStringLiteral("Resource limit reached ... cannot process any more files.");
    session = new ScanSession(scanParts, this);

    if (auto* delegate = qobject_cast<ResultGridDelegate*>(grid->itemDelegate()))
        delegate->boldCell = [this](int row, int column) { return isBoldCell(row, column); };

    removeFolder = [this](QWidget* owner, const QByteArray& folder) {
        return context_.runFolderRemoval(owner, folder) ? Removal::Deleted : Removal::None;
    };

    // FormCreate: the drive list with the extra folders.
    fillDriveList(pckDrive, DriveSource::finders(), true);
    // The list keeps btTop in step with its ticks, also when it is filled again after the
    // folder dialog; btAll follows btTop.
    bindStartControl(pckDrive, btTop);
    btTop->installEventFilter(this);
    pckDriveClick();
    connectControls();
    resize(860, 600);
}

TfrmDirHog::~TfrmDirHog() = default;

void TfrmDirHog::connectControls() {
    connect(btTop, &QPushButton::clicked, this, &TfrmDirHog::btTopClick);
    connect(btAll, &QPushButton::clicked, this, &TfrmDirHog::btAllClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btDelete, &QPushButton::clicked, this, &TfrmDirHog::btDeleteClick);
    connect(btBrowse, &QPushButton::clicked, this, &TfrmDirHog::btBrowseClick);
    connect(grid, &QAbstractItemView::doubleClicked, this, &TfrmDirHog::btDeleteClick);
    connect(btOptions, &QPushButton::clicked, this,
            [this] { PopupMenu1->popup(btOptions->mapToGlobal(QPoint(0, btOptions->height()))); });
    connect(Highlight1, &QAction::toggled, grid->viewport(), qOverload<>(&QWidget::update));
    for (QWidget* w : {static_cast<QWidget*>(grid), static_cast<QWidget*>(pckDrive)})
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& at) {
            const QPoint global =
                (w == grid ? grid->viewport()->mapToGlobal(at) : w->mapToGlobal(at));
            PopupMenu1->popup(global);
        });
    grid->viewport()->installEventFilter(this);
    grid->horizontalHeader()->viewport()->installEventFilter(this);
}

void TfrmDirHog::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmDirHog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmDirHog::FormShow() {
    ClearGrid();
    btOptions->hide();
    btBrowse->hide();
    btDelete->hide();
    btAbort->hide();
    abortDirHogScan = false;
    pnlScan->clearMessage();
    pckDriveClick();
    btTop->setFocus();

    // The minimum follows the top panel at the layout's smallest width; the window then gets
    // its own size back.
    const QSize wanted = size();
    resize(minimumSizeHint());
    resultList->applyMinimumSize();
    resize(wanted.expandedTo(minimumSize()));
    centreOnScreen(this);
    FormResize();
}

void TfrmDirHog::FormResize() {
    if (!grid || !model) return;
    static const int widths[] = {80, 40, 40, 70, 90};
    // Made for a small font: no column is narrower than its header or its usual text, so that
    // no digit is cut off. The Name column stretches over the rest.
    const QFontMetrics fm(grid->font());
    const QFontMetrics headerMetrics(grid->horizontalHeader()->font());
    const int padding = 14;
    const qreal scale = logicalDpiX() / 96.0;
    QHeaderView* header = grid->horizontalHeader();
    for (int c = 0; c < 5; ++c) {
        int width = qRound(widths[c] * scale);
        width = std::max(width, headerMetrics.horizontalAdvance(dirHogHeaders().at(c)) + padding);
        if (c == 0)
            width = std::max(width, fm.horizontalAdvance(thousandsText(999'999'999'999)) + padding);
        header->resizeSection(c, width);
    }
}

void TfrmDirHog::ClearGrid() {
    model->clear();
    gridRows_ = 2;
    for (QAction* a : {SortbySize1, Sortbyfiles1, Sortbysubdirectories1, Sortbydate1, SortbyName1})
        a->setChecked(a == SortbySize1);
    grid->setFocus();
}

void TfrmDirHog::pckDriveClick() {
    btTop->setEnabled(anyChecked(pckDrive));
    btAll->setEnabled(btTop->isEnabled());
}

void TfrmDirHog::btTopClick() { startScan(true); }

void TfrmDirHog::btAllClick() { startScan(false); }

void TfrmDirHog::startScan(bool main) {
    if (session->scanning()) return;
    ClearGrid();
    scan(main);
    // Largest first; the next Size sort then puts the smallest first.
    sizeDescending = true;
    SortbySize1Click(SortbySize1);
}

void TfrmDirHog::scan(bool main) {
    session->begin();
    DirHogOptions options;
    options.scan = main ? DirHogScan::Main : DirHogScan::All;
    options.capacity = rowCapacity;
    DirHogResult result;
    const std::vector<ScanTarget> targets = checkedTargets(pckDrive);
    session->run([&](WalkProgress& progress, StopToken& stop) {
        result = runDirHogs(targets, options, progress, stop);
    });
    fillDirHogGrid(*model, result.rows);
    const int rows = model->rowCount();
    gridRows_ = rows + 1;
    pnlScan->showMessage(QStringLiteral("Folders : ") + QString::number(rows));
    session->end();
    // One row is a result too: only an empty list is "No files found.".
    if (rows == 0) {
        infoBox(QStringLiteral("No files found."));
        return;
    }
    btOptions->show();
    btBrowse->show();
    btDelete->show();
    if (grid->currentIndex().row() < 0) grid->setCurrentIndex(model->index(0, 0));
}

void TfrmDirHog::SortbySize1Click(QAction* item) {
    if (gridRows_ < 2 || !item) return;
    struct Item {
        QAction* action;
        int column;
        SortKind kind;
        bool* descending;
    };
    const Item items[] = {
        {SortbySize1, 0, SortKind::Number, &sizeDescending},
        {Sortbyfiles1, 2, SortKind::Number, &filesDescending},
        {Sortbysubdirectories1, 3, SortKind::Number, &subfoldersDescending},
        {Sortbydate1, 4, SortKind::Date, &dateDescending},
        {SortbyName1, 5, SortKind::Text, &nameDescending},
    };
    const Item* chosen = nullptr;
    for (const Item& i : items)
        if (i.action == item) chosen = &i;
    if (!chosen) return;
    BusyCursor busy;
    for (const Item& i : items) i.action->setChecked(false);
    const int last = model->rowCount() - 1;
    if (last > 0) {
        switch (chosen->kind) {
            case SortKind::Number:
                sortGridByNumber(*model, 0, last, *chosen->descending, chosen->column);
                break;
            case SortKind::Date:
                sortGridByDate(*model, 0, last, *chosen->descending, chosen->column);
                break;
            case SortKind::Text:
                sortGridByText(*model, 0, last, *chosen->descending, chosen->column);
                break;
        }
    }
    *chosen->descending = !*chosen->descending;
    item->setChecked(true);
}

void TfrmDirHog::sortByColumn(int column) {
    switch (column) {
        case 0:
            SortbySize1Click(SortbySize1);
            break;
        case 2:
            SortbySize1Click(Sortbyfiles1);
            break;
        case 3:
            SortbySize1Click(Sortbysubdirectories1);
            break;
        case 4:
            SortbySize1Click(Sortbydate1);
            break;
        case 5:
            SortbySize1Click(SortbyName1);
            break;
        default:
            break;  // "% Used" has no sort
    }
}

void TfrmDirHog::cellClicked(int gridRow, int column) {
    lastClickedRow_ = gridRow;
    lastClickedColumn_ = column;
    if (gridRow == 0) sortByColumn(column);
}

bool TfrmDirHog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == btTop) {
        if (event->type() == QEvent::EnabledChange) btAll->setEnabled(btTop->isEnabled());
        return QDialog::eventFilter(watched, event);
    }
    const bool onHeader = watched == grid->horizontalHeader()->viewport();
    if (watched != grid->viewport() && !onHeader) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        pressedAt_ = mouse->position().toPoint();
        pressedOn_ = watched;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        // Only a click released where it was pressed counts, not the end of a column drag.
        if (watched == pressedOn_ && at == pressedAt_ && !session->scanning()) {
            if (onHeader) {
                const int column = grid->horizontalHeader()->logicalIndexAt(at);
                cellClicked(column < 0 ? -1 : 0, column);
            } else {
                const QModelIndex index = grid->indexAt(at);
                if (index.isValid())
                    cellClicked(index.row() + 1, index.column());
                else
                    cellClicked(-1, -1);
            }
        }
        pressedOn_ = nullptr;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmDirHog::btDeleteClick() {
    const int row = resultList->currentRow();
    if (lastClickedRow_ <= 0 || row < 0 || model->cell(row, 0).isEmpty()) return;
    const QString state = model->cell(row, 0);
    if (state == kDeleted || state == kRecycled) {
        errorBox(QStringLiteral("Folder already deleted/recycled"));
        return;
    }
    // The exact bytes the scan found, never the shown text.
    const QByteArray folder = model->path(row);
    if (isRootFolder(folder)) {
        errorBox(QStringLiteral("You cannot delete the root folder using Vastel 99"));
        return;
    }
    if (isSystemTopFolder(folder)) {
        errorBox(QStringLiteral("You cannot delete the Windows folder using Vastel 99"));
        return;
    }
    if (!removeFolder) return;
    const Removal done = removeFolder(this, folder);
    if (done == Removal::None) return;
    const QString mark = done == Removal::Recycled ? kRecycled : kDeleted;
    if (row < model->rowCount() && model->path(row) == folder) {
        model->setCell(row, 0, mark);
        return;
    }
    // The row moved while the removal window ran its own events.
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->path(r) == folder && model->cell(r, 0) != kDeleted &&
            model->cell(r, 0) != kRecycled) {
            model->setCell(r, 0, mark);
            return;
        }
}

void TfrmDirHog::btBrowseClick() {
    const int row = resultList->currentRow();
    if (row < 0) return;
    context_.openBrowser(this, model->path(row), QByteArray(), QString());
}

void TfrmDirHog::btPrintClick() { resultList->btPrintClick(); }

QString TfrmDirHog::printTitle() const {
    QString drives;
    for (const ScanTarget& target : checkedTargets(pckDrive))
        drives += displayPath(target.root) + QLatin1Char(' ');
    return QStringLiteral("Folder hogs on drive(s) ") + drives;
}

bool TfrmDirHog::isBoldCell(int row, int column) const {
    if (column != 5 || !Highlight1 || !Highlight1->isChecked()) return false;
    if (row < 0 || row >= model->rowCount() || model->cell(row, 5).isEmpty()) return false;
    return context_.safeHarbor().isInSafeHarbor(model->path(row), false);
}

}  // namespace vastel
