#include "finders/TfrmMods.h"

#include "core/GridModel.h"
#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "core/WindowPlacement.h"
#include "finders/ui/LiveRows.h"
#include "platform/NativePath.h"
#include "protect/SafeHarbor.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/ScanSession.h"
#include "widgets/AppContext.h"
#include "widgets/DriveList.h"
#include "widgets/PlacedWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <algorithm>

namespace vastel {

bool abortMods = false;

namespace {

// Sort directions of the columns; they last for the whole run.
bool nameDescending = false;
bool accessDescending = true;
bool creationDescending = true;
bool modificationDescending = true;
bool sizeDescending = false;
bool folderDescending = false;
bool typeDescending = false;

const QString kPlacementKey = QStringLiteral("vastl98");
const QString kPlacementValue = QStringLiteral("frmMods");

}  // namespace

TfrmMods::TfrmMods(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmMods"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setWindowTitle(QStringLiteral("Files in a range of dates"));
    buildControls();

    ResultList::Parts parts;
    parts.window = this;
    parts.grid = grid;
    parts.model = model;
    parts.btDelete = btDelete;
    parts.topPanel = Panel1;
    parts.status = [this](const QString& text) { pnlScan->showMessage(text); };
    parts.sourceName = QStringLiteral("FileDates");
    parts.printTitle = [this] { return printTitle(); };
    resultList = new ResultList(context_, parts, this);
    resultList->setSortItems({
        {QStringLiteral("&Name"), QStringLiteral("Name1"), 0, SortKind::Text, &nameDescending},
        {QStringLiteral("Access &Date"), QStringLiteral("AccessDate1"), 1, SortKind::Date,
         &accessDescending},
        {QStringLiteral("&Creation Date"), QStringLiteral("CreationDate1"), 2, SortKind::Date,
         &creationDescending},
        {QStringLiteral("&Modification Date"), QStringLiteral("ModificationDate1"), 3,
         SortKind::Date, &modificationDescending},
        {QStringLiteral("&Size"), QStringLiteral("Size1"), 4, SortKind::Number, &sizeDescending},
        {QStringLiteral("&Folder"), QStringLiteral("Folder1"), 5, SortKind::Text,
         &folderDescending},
        {QStringLiteral("&Type"), QStringLiteral("Type1"), 6, SortKind::Text, &typeDescending},
    });
    resultList->setHeaderSorting(true);
    // This window has no Delete-key shortcut for marking.
    grid->removeEventFilter(resultList);
    buildMenu();

    ScanSession::Parts scanParts;
    scanParts.window = this;
    scanParts.abortButton = btAbort;
    scanParts.grid = grid;
    scanParts.disabled = {btOK, btClose, pckDrive, dtStart, dtEnd};
    scanParts.hidden = {btOptions, btBrowse, btDetails, btMark, btDelete};
    scanParts.status = [this](const QString& folder) { pnlScan->showMessage(folder); };
    scanParts.abortFlag = &abortMods;
    session = new ScanSession(scanParts, this);
    liveRows_ = new LiveRows(model, this);

    if (auto* delegate = qobject_cast<ResultGridDelegate*>(grid->itemDelegate()))
        delegate->boldCell = [this](int row, int column) { return isBoldCell(row, column); };

    // FormCreate: the drive list with the extra folders.
    fillDriveList(pckDrive, DriveSource::filesByDate(), true);
    bindStartControl(pckDrive, btOK);
    connectControls();
    resize(1000, 660);
}

TfrmMods::~TfrmMods() { savePlacement(this, kPlacementKey, programSectionName(), kPlacementValue); }

void TfrmMods::connectControls() {
    connect(btOK, &QPushButton::clicked, this, &TfrmMods::btOKClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btMark, &QPushButton::clicked, resultList, &ResultList::DeleteAllFiles);
    connect(btDetails, &QPushButton::clicked, resultList, &ResultList::Details1Click);
    connect(btDelete, &QPushButton::clicked, resultList, &ResultList::btDeleteClick);
    connect(btBrowse, &QPushButton::clicked, this, &TfrmMods::btBrowseClick);
    connect(btOptions, &QPushButton::clicked, this,
            [this] { PopupMenu1->popup(btOptions->mapToGlobal(QPoint(0, btOptions->height()))); });
    connect(HighlightFolders, &QAction::toggled, grid->viewport(), qOverload<>(&QWidget::update));
    connect(cbWildCard, &QComboBox::currentTextChanged, this, &TfrmMods::cbWildCardChange);
    connect(dtStart, &QDateEdit::dateChanged, this, &TfrmMods::dtStartChange);
    connect(dtEnd, &QDateEdit::dateChanged, this, &TfrmMods::dtEndChange);
    connect(whenButtons, &QButtonGroup::idClicked, this, &TfrmMods::rgWhenClick);
    // A choice made while the scan runs applies from the next file on.
    connect(whenButtons, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on && running_) running_->setRange(when());
    });
    connect(whatButtons, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on && running_) running_->setKind(what());
    });
    for (QWidget* w : {static_cast<QWidget*>(grid), static_cast<QWidget*>(pckDrive)})
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& at) {
            const QPoint global =
                (w == grid ? grid->viewport()->mapToGlobal(at) : w->mapToGlobal(at));
            PopupMenu1->popup(global);
        });
}

void TfrmMods::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmMods::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmMods::FormShow() {
    for (QWidget* w : {static_cast<QWidget*>(btOptions), static_cast<QWidget*>(btBrowse),
                       static_cast<QWidget*>(btDetails), static_cast<QWidget*>(btMark),
                       static_cast<QWidget*>(btDelete), static_cast<QWidget*>(btAbort)})
        w->hide();
    abortMods = false;
    pnlScan->clearMessage();
    const QDate today = QDate::currentDate();
    dtStart->setDate(today);
    dtEnd->setDate(today);
    btOK->setEnabled(anyChecked(pckDrive));
    btClose->setEnabled(true);
    btOK->setFocus();
    ClearGrid();
    rgWhenClick();

    const QSize wanted = size();
    resize(minimumSizeHint());
    resultList->applyMinimumSize();
    resize(wanted.expandedTo(minimumSize()));
    centreOnScreen(this);
    FormResize();

    QStringList patterns;
    fillWildcardList(patterns, true);
    cbWildCard->clear();
    cbWildCard->addItems(patterns);
    cbWildCard->setCurrentIndex(0);
    cbWildCardChange();
    applySavedPlacement(this, kPlacementKey, programSectionName(), kPlacementValue);
}

void TfrmMods::FormResize() {
    if (!grid || !model) return;
    // At 96 dpi: name 110, the three dates 68, size 65, folder 189; the type takes the rest.
    // The dates and the size are never narrower than their usual texts.
    const QFontMetrics fm(grid->font());
    const int padding = 12;
    const int date =
        fm.horizontalAdvance(QLocale().toString(QDate(2028, 12, 28), QLocale::ShortFormat)) +
        padding;
    const int size = fm.horizontalAdvance(thousandsText(999'999'999)) + padding;
    const int widths[] = {110, 68, 68, 68, 65, 189};
    const int texts[] = {0, date, date, date, size, 0};
    const qreal scale = logicalDpiX() / 96.0;
    QHeaderView* header = grid->horizontalHeader();
    int used = 0;
    for (int c = 0; c < 5; ++c) {
        const int width = std::max(qRound(widths[c] * scale), texts[c]);
        header->resizeSection(c, width);
        used += width;
    }
    // A wide window gives its room to the folders rather than to the type texts.
    const int folder = grid->viewport()->width() - used - qRound(170 * scale);
    header->resizeSection(5, std::max(qRound(widths[5] * scale), folder));
}

DateKind TfrmMods::what() const {
    switch (whatButtons->checkedId()) {
        case 1:
            return DateKind::Created;
        case 2:
            return DateKind::Modified;
        default:
            return DateKind::Accessed;
    }
}

DateRange TfrmMods::when() const {
    switch (whenButtons->checkedId()) {
        case 0:
            return DateRange::Before;
        case 2:
            return DateRange::After;
        default:
            return DateRange::Between;
    }
}

void TfrmMods::rgWhenClick() {
    const bool between = when() == DateRange::Between;
    dtStart->show();
    lblAnd->setVisible(between);
    dtEnd->setVisible(between);
}

void TfrmMods::cbWildCardChange() {
    const QString pattern = cbWildCard->currentText();
    lblWild->setText(pattern == QLatin1String("*.*") ? QStringLiteral("All files")
                                                     : fileTypeText(pattern.mid(1)));
}

void TfrmMods::dtStartChange() {
    if (dtStart->date() > dtEnd->date()) dtEnd->setDate(dtStart->date());
}

void TfrmMods::dtEndChange() {
    if (dtEnd->date() < dtStart->date()) dtStart->setDate(dtEnd->date());
}

void TfrmMods::ClearGrid() {
    resultList->clearGrid();
    grid->setFocus();
}

void TfrmMods::btOKClick() {
    if (session->scanning()) return;
    ClearGrid();
    scan();
}

void TfrmMods::scan() {
    session->begin();
    QCoreApplication::processEvents();
    DateOptions options;
    options.what = what();
    options.when = when();
    options.start = dtStart->date();
    options.end = dtEnd->date();
    options.pattern = cbWildCard->currentText().toUtf8();
    DateCollection collection(options);
    running_ = &collection;
    model->setRecords(collection.columns(), {});
    liveRows_->start([&collection] { return collection.takeNew(); });
    session->walk(checkedTargets(pckDrive), collection.walkOptions(), collection);
    liveRows_->stop();
    running_ = nullptr;
    const int rows = model->rowCount();
    pnlScan->showMessage(QStringLiteral("Found : ") + QString::number(rows));
    session->end();

    if (rows == 0) {
        infoBox(QStringLiteral("No files found."));
        return;
    }
    for (QWidget* w : {static_cast<QWidget*>(btOptions), static_cast<QWidget*>(btBrowse),
                       static_cast<QWidget*>(btDetails), static_cast<QWidget*>(btMark),
                       static_cast<QWidget*>(btDelete)})
        w->show();
    btDelete->setEnabled(resultList->markedCount() > 0);
    if (grid->currentIndex().row() < 0) grid->setCurrentIndex(model->index(0, 0));
}

void TfrmMods::btBrowseClick() {
    const int row = resultList->currentRow();
    if (row < 0) return;
    const ResultRecord& r = model->record(row);
    context_.openBrowser(this, r.folder().toByteArray(), r.name().toByteArray(),
                         QStringLiteral("*.*"));
}

QString TfrmMods::printTitle() const {
    static const char* const kinds[] = {"Last accessed", "Created", "Modified"};
    QString title = QStringLiteral("Files ") + QLatin1String(kinds[int(what())]) + QLatin1Char(' ');
    switch (when()) {
        case DateRange::Before:
            return title + QStringLiteral("before ") + dtStart->text();
        case DateRange::Between:
            return title + QStringLiteral("between ") + dtStart->text() + QStringLiteral(" and ") +
                   dtEnd->text();
        case DateRange::After:
            return title + QStringLiteral("after ") + dtStart->text();
    }
    return title;
}

bool TfrmMods::isBoldCell(int row, int column) const {
    if (column != 5 || !HighlightFolders || !HighlightFolders->isChecked()) return false;
    if (row < 0 || row >= model->rowCount()) return false;
    const QByteArray& path = model->path(row);
    return context_.safeHarbor().isInSafeHarbor(path.left(path.lastIndexOf('/') + 1), false);
}

}  // namespace vastel
