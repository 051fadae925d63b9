#include "finders/TfrmClean.h"

#include "core/DateTexts.h"
#include "core/GridModel.h"
#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "core/WindowPlacement.h"
#include "finders/TempFinder.h"
#include "finders/ui/LiveRows.h"
#include "platform/NativePath.h"
#include "protect/SafeHarbor.h"
#include "protect/TfrmTempFiles.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/ScanSession.h"
#include "widgets/AppContext.h"
#include "widgets/DriveList.h"
#include "widgets/PlacedWindow.h"

#include <QAction>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <algorithm>

namespace vastel {

bool abortClean = false;

namespace {

// Sort directions of the columns; they last for the whole run.
bool sizeDescending = true;
bool dateDescending = true;
bool accessDescending = true;
bool nameDescending = false;
bool typeDescending = false;

// The placement record that the quick clean shares with the finder of file hogs.
const QString kPlacementKey = QStringLiteral("vastel.ini");
const QString kPlacementValue = QStringLiteral("frmMods");

}  // namespace

TfrmClean::TfrmClean(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmClean"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setWindowTitle(QStringLiteral("Find and clean up temporary files"));
    buildControls();

    ResultList::Parts parts;
    parts.window = this;
    parts.grid = grid;
    parts.model = model;
    parts.btDelete = btDelete;
    parts.topPanel = Panel1;
    parts.status = [this](const QString& text) { pnlSel->showMessage(text); };
    parts.sourceName = QStringLiteral("TempClean");
    parts.printTitle = [this] { return printTitle(); };
    resultList = new ResultList(context_, parts, this);
    resultList->setSortItems({
        {QStringLiteral("&Size"), QStringLiteral("Size1"), 0, SortKind::Number, &sizeDescending},
        {QStringLiteral("&Date"), QStringLiteral("Date1"), 1, SortKind::Date, &dateDescending},
        {QStringLiteral("&Access date"), QStringLiteral("Accessdate1"), 3, SortKind::Date,
         &accessDescending},
        {QStringLiteral("&Name"), QStringLiteral("Name1"), 4, SortKind::Text, &nameDescending},
        {QStringLiteral("&Type"), QStringLiteral("Type1"), 5, SortKind::Text, &typeDescending},
    });
    resultList->setHeaderSorting(true);
    resultList->Run1->setText(QStringLiteral("Run"));
    resultList->Unmarkall1->setText(QStringLiteral("Unmark All"));
    buildMenu();

    ScanSession::Parts scanParts;
    scanParts.window = this;
    scanParts.abortButton = btAbort;
    scanParts.grid = grid;
    scanParts.disabled = {btScan, btClose, pckDrive};
    scanParts.hidden = {btMark, btDelete, btOptions, btBrowse, btDetails};
    scanParts.status = [this](const QString& folder) { pnlSel->showMessage(folder); };
    scanParts.abortFlag = &abortClean;
    session = new ScanSession(scanParts, this);
    liveRows_ = new LiveRows(model, this);

    if (auto* delegate = qobject_cast<ResultGridDelegate*>(grid->itemDelegate()))
        delegate->boldCell = [this](int row, int column) { return isBoldCell(row, column); };

    editTypes = [](QWidget* parent) {
        TfrmTempFiles editor(parent);
        editor.exec();
    };

    // FormCreate: the drive list with the extra folders.
    fillDriveList(pckDrive, DriveSource::finders(), true);
    bindStartControl(pckDrive, btScan);
    connectControls();
    resize(1000, 660);
}

TfrmClean::~TfrmClean() {
    savePlacement(this, kPlacementKey, programSectionName(), kPlacementValue);
}

void TfrmClean::connectControls() {
    connect(btScan, &QPushButton::clicked, this, &TfrmClean::btScanClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btEdit, &QPushButton::clicked, this, &TfrmClean::btEditClick);
    connect(btMark, &QPushButton::clicked, resultList, &ResultList::DeleteAllFiles);
    connect(btDetails, &QPushButton::clicked, resultList, &ResultList::Details1Click);
    connect(btDelete, &QPushButton::clicked, resultList, &ResultList::btDeleteClick);
    connect(btBrowse, &QPushButton::clicked, this, &TfrmClean::BrowseDirectory1Click);
    connect(btOptions, &QPushButton::clicked, this,
            [this] { PopupMenu1->popup(btOptions->mapToGlobal(QPoint(0, btOptions->height()))); });
    connect(Highlight1, &QAction::toggled, grid->viewport(), qOverload<>(&QWidget::update));
    for (QWidget* w : {static_cast<QWidget*>(grid), static_cast<QWidget*>(pckDrive)})
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& at) {
            const QPoint global =
                (w == grid ? grid->viewport()->mapToGlobal(at) : w->mapToGlobal(at));
            PopupMenu1->popup(global);
        });
    connect(PickList1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu2->popup(PickList1->mapToGlobal(at)); });
}

void TfrmClean::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmClean::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmClean::FormShow() {
    ReadInFromDisk();
    selectAllExtensions();
    ClearGrid();
    for (QWidget* w : {static_cast<QWidget*>(btOptions), static_cast<QWidget*>(btBrowse),
                       static_cast<QWidget*>(btDetails), static_cast<QWidget*>(btAbort),
                       static_cast<QWidget*>(btMark), static_cast<QWidget*>(btDelete)})
        w->hide();
    abortClean = false;
    pnlSel->clearMessage();
    btScan->setEnabled(anyChecked(pckDrive));
    btClose->setEnabled(true);
    setWindowTitle(QStringLiteral("Find and delete temporary files"));
    btScan->setToolTip(QStringLiteral("Start scanning for temporary files"));
    btScan->setFocus();

    const QSize wanted = size();
    resize(minimumSizeHint());
    resultList->applyMinimumSize();
    resize(wanted.expandedTo(minimumSize()));
    centreOnScreen(this);
    FormResize();
    applySavedPlacement(this, kPlacementKey, programSectionName(), kPlacementValue);
}

void TfrmClean::FormResize() {
    if (!grid || !model) return;
    // Columns 0 to 3 are 64 and the file name 296 at 96 dpi; the type takes the rest. The
    // size, date and time columns are never narrower than their usual texts.
    const QFontMetrics fm(grid->font());
    const int padding = 12;
    constexpr quint32 lateStamp =
        (quint32((2028 - 1980) << 9 | 12 << 5 | 28) << 16) | quint32(23 << 11 | 59 << 5 | 29);
    const int texts[] = {fm.horizontalAdvance(thousandsText(9'999'999'999)) + padding,
                         fm.horizontalAdvance(fileDateText(lateStamp)) + padding,
                         fm.horizontalAdvance(fileTimeText(lateStamp)) + padding,
                         fm.horizontalAdvance(fileDateText(lateStamp)) + padding, 0};
    const int widths[] = {64, 64, 64, 64, 296};
    const qreal scale = logicalDpiX() / 96.0;
    QHeaderView* header = grid->horizontalHeader();
    int used = 0;
    for (int c = 0; c < 4; ++c) {
        const int width = std::max(qRound(widths[c] * scale), texts[c]);
        header->resizeSection(c, width);
        used += width;
    }
    // A wide window gives its room to the paths rather than to the type texts.
    const int path = grid->viewport()->width() - used - qRound(170 * scale);
    header->resizeSection(4, std::max(qRound(widths[4] * scale), path));
}

void TfrmClean::ReadInFromDisk() {
    PickList1->clear();
    PickList1->addItems(readQuickCleanTypes());
}

void TfrmClean::selectAllExtensions() { PickList1->selectAll(); }

QStringList TfrmClean::selectedTypes() const {
    QStringList types;
    // In list order, as the test walks the entries.
    for (int i = 0; i < PickList1->count(); ++i)
        if (PickList1->item(i)->isSelected()) types << PickList1->item(i)->text();
    return types;
}

void TfrmClean::btEditClick() {
    if (editTypes) editTypes(this);
    ReadInFromDisk();
}

void TfrmClean::ClearGrid() {
    resultList->clearGrid();
    grid->setFocus();
}

void TfrmClean::btScanClick() {
    if (session->scanning()) return;
    if (selectedTypes().isEmpty()) {
        errorBox(QStringLiteral("Select at least one file extension"));
        return;
    }
    ClearGrid();
    scan();
    // Successive scans alternate between largest and smallest first.
    resultList->sortBy(0);
}

void TfrmClean::scan() {
    session->begin();
    TempOptions options;
    options.types = selectedTypes();
    TempCollection collection(options);
    model->setRecords(collection.columns(), {});
    liveRows_->start([&collection] { return collection.takeNew(); });
    session->walk(checkedTargets(pckDrive), collection.walkOptions(), collection);
    liveRows_->stop();
    session->end();

    const int rows = model->rowCount();
    if (rows > 0) {
        btMark->show();
        btDelete->show();
        btDelete->setEnabled(resultList->markedCount() > 0);
    }
    if (rows == 0) {
        infoBox(QStringLiteral("No files found."));
        return;
    }
    btOptions->show();
    btBrowse->show();
    btDetails->show();
    pnlSel->showMessage(thousandsText(rows) + QStringLiteral(" tempfiles found"));
    if (grid->currentIndex().row() < 0) grid->setCurrentIndex(model->index(0, 0));
}

void TfrmClean::BrowseDirectory1Click() {
    const int row = resultList->currentRow();
    if (row < 0) return;
    const QByteArray& path = model->path(row);
    const qsizetype slash = path.lastIndexOf('/');
    // The browser's own mask stays as it is.
    context_.openBrowser(this, path.left(std::max<qsizetype>(slash, 1)), path.mid(slash + 1),
                         QString());
}

QString TfrmClean::printTitle() const {
    QString drives;
    for (const ScanTarget& target : checkedTargets(pckDrive))
        drives += displayPath(target.root) + QLatin1Char(' ');
    return QStringLiteral("Temporary files on drive(s) ") + drives;
}

bool TfrmClean::isBoldCell(int row, int column) const {
    if (column != 4 || !Highlight1 || !Highlight1->isChecked()) return false;
    if (row < 0 || row >= model->rowCount()) return false;
    return context_.safeHarbor().isInSafeHarbor(model->path(row), true);
}

}  // namespace vastel
