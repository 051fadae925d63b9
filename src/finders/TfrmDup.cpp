#include "finders/TfrmDup.h"

#include "core/DateTexts.h"
#include "core/GridModel.h"
#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "finders/DupFinder.h"
#include "finders/TfrmDupCompare.h"
#include "platform/NativePath.h"
#include "protect/SafeHarbor.h"
#include "results/JobRunner.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/ScanSession.h"
#include "widgets/AppContext.h"
#include "widgets/DriveList.h"
#include "widgets/NumberSpin.h"
#include "widgets/PlacedWindow.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <algorithm>

namespace vastel {

bool abortScan = false;

namespace {

// Sort directions of the file-hog columns; they last for the whole run.
bool sizeDescending = true;
bool dateDescending = true;
bool accessDescending = true;
bool nameDescending = false;
bool typeDescending = false;

const QString kPlacementKey = QStringLiteral("vastel.ini");
const QString kPlacementValue = QStringLiteral("frmMods");

QString placementSection(bool duplicates) {
    return duplicates ? QStringLiteral("frmDups") : QStringLiteral("frmMods");
}

}  // namespace

TfrmDup::TfrmDup(AppContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("frmDups"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    buildControls();

    ResultList::Parts parts;
    parts.window = this;
    parts.grid = grid;
    parts.model = model;
    parts.btDelete = btDelete;
    parts.topPanel = Panel1;
    parts.status = [this](const QString& text) { pnlSel->showMessage(text); };
    parts.sourceName = QStringLiteral("Duplicates");
    parts.printTitle = [this] { return printTitle(); };
    resultList = new ResultList(context_, parts, this);
    resultList->setSortItems({
        {QStringLiteral("&Size"), QStringLiteral("Sortbysize1"), 0, SortKind::Number,
         &sizeDescending},
        {QStringLiteral("&Date"), QStringLiteral("Sortbydate1"), 1, SortKind::Date,
         &dateDescending},
        {QStringLiteral("&Access Date"), QStringLiteral("Sortbyaccessdate1"), 3, SortKind::Date,
         &accessDescending},
        {QStringLiteral("&Name"), QStringLiteral("Sortbyname1"), 4, SortKind::Text,
         &nameDescending},
        {QStringLiteral("&Type"), QStringLiteral("Sortbytype1"), 5, SortKind::Text,
         &typeDescending},
    });
    resultList->setHeaderSorting(!duplicates());
    buildMenu();

    ScanSession::Parts scanParts;
    scanParts.window = this;
    scanParts.abortButton = btAbort;
    scanParts.grid = grid;
    scanParts.disabled = {btScan,     btClose,  pckDrive,  num1,      num2, cbKB1,
                          cbWildCard, rbLarger, rbSmaller, rbBetween, cbDup};
    scanParts.hidden = {btMark, btDelete, btOptions, btBrowse, btDetails, btCompare};
    scanParts.status = [this](const QString& folder) { pnlSel->showMessage(folder); };
    scanParts.abortFlag = &abortScan;
    session = new ScanSession(scanParts, this);

    if (auto* delegate = qobject_cast<ResultGridDelegate*>(grid->itemDelegate()))
        delegate->boldCell = [this](int row, int column) { return isBoldCell(row, column); };

    // FormCreate: the first match mode and the drive list with the extra folders.
    cbDup->setCurrentIndex(0);
    matchMode = 0;
    fillDriveList(pckDrive, DriveSource::finders(), true);
    bindStartControl(pckDrive, btScan);
    connectControls();
    resize(880, 600);
}

TfrmDup::~TfrmDup() {
    context_.dupCompare().hide();
    savePlacement(this, kPlacementKey, placementSection(duplicates()), kPlacementValue);
}

bool TfrmDup::duplicates() const { return context_.duplicateMode; }

void TfrmDup::connectControls() {
    connect(btScan, &QPushButton::clicked, this, &TfrmDup::btScanClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btMark, &QPushButton::clicked, resultList, &ResultList::DeleteAllFiles);
    connect(btDetails, &QPushButton::clicked, resultList, &ResultList::Details1Click);
    connect(btBrowse, &QPushButton::clicked, this, &TfrmDup::BrowseDirectory1Click);
    connect(btCompare, &QPushButton::clicked, this,
            [this] { context_.dupCompare().showFor(*this, context_); });
    connect(btDelete, &QPushButton::clicked, resultList, &ResultList::btDeleteClick);
    connect(btOptions, &QPushButton::clicked, this,
            [this] { PopupMenu1->popup(btOptions->mapToGlobal(QPoint(0, btOptions->height()))); });
    connect(Highlightfolders1, &QAction::toggled, grid->viewport(), qOverload<>(&QWidget::update));
    connect(cbWildCard, &QComboBox::currentTextChanged, this, &TfrmDup::cbWildCardChange);
    for (QRadioButton* rb : {rbLarger, rbSmaller, rbBetween})
        connect(rb, &QRadioButton::toggled, this, &TfrmDup::sizeChoiceChanged);
    sizeChoiceChanged();
    // The drive list's menu is the grid's.
    for (QWidget* w : {static_cast<QWidget*>(grid), static_cast<QWidget*>(pckDrive)})
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& at) {
            const QPoint global =
                (w == grid ? grid->viewport()->mapToGlobal(at) : w->mapToGlobal(at));
            PopupMenu1->popup(global);
        });
}

void TfrmDup::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmDup::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfrmDup::FormShow() {
    cbKB1->setCurrentText(QStringLiteral("KB"));
    ClearGrid();
    num1->setValue(250);
    num2->setValue(250);
    btOptions->hide();
    btBrowse->hide();
    btDetails->hide();
    btCompare->hide();
    abortScan = false;
    btAbort->hide();
    pnlSel->clearMessage();
    btMark->hide();
    btDelete->hide();
    btScan->setEnabled(anyChecked(pckDrive));
    btClose->setEnabled(true);
    cbDup->setVisible(duplicates());
    lblDup->setVisible(duplicates());
    resultList->Sort1->menuAction()->setVisible(!duplicates());
    setWindowTitle(duplicates() ? QStringLiteral("Find and delete duplicate files")
                                : QStringLiteral("Find and delete file hogs"));
    btScan->setToolTip(duplicates() ? QStringLiteral("Duplicates on file name only")
                                    : QStringLiteral("Start scanning for file hogs"));
    btScan->setFocus();

    // The minimum follows the top panel at the layout's smallest width; the window then gets
    // its own size back.
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
    applySavedPlacement(this, kPlacementKey, placementSection(duplicates()), kPlacementValue);
}

void TfrmDup::FormResize() {
    if (!grid || !model) return;
    static const int duplicateWidths[] = {93, 58, 64, 70, 70, 184};
    static const int hogWidths[] = {64, 64, 64, 64, 296};
    const int* widths = duplicates() ? duplicateWidths : hogWidths;
    const int count = duplicates() ? 6 : 5;
    const int sizeColumn = duplicates() ? 1 : 0;
    const int dateColumn = sizeColumn + 1;  // then Time, then Access

    // The widths were made for a small font: the number, date and time columns are never
    // narrower than their longest usual text, so that no digit is cut off.
    const QFontMetrics fm(grid->font());
    const int padding = 12;
    constexpr quint32 lateStamp =
        (quint32((2028 - 1980) << 9 | 12 << 5 | 28) << 16) | quint32(23 << 11 | 59 << 5 | 29);
    const int sizeText = fm.horizontalAdvance(thousandsText(9'999'999'999)) + padding;
    const int dateText = fm.horizontalAdvance(fileDateText(lateStamp)) + padding;
    const int timeText = fm.horizontalAdvance(fileTimeText(lateStamp)) + padding;

    const qreal scale = logicalDpiX() / 96.0;
    QHeaderView* header = grid->horizontalHeader();
    // The last column stretches over the rest of the grid.
    for (int c = 0; c < count && c < model->columnCount() - 1; ++c) {
        int width = qRound(widths[c] * scale);
        if (c == sizeColumn) width = std::max(width, sizeText);
        if (c == dateColumn || c == dateColumn + 2) width = std::max(width, dateText);
        if (c == dateColumn + 1) width = std::max(width, timeText);
        header->resizeSection(c, width);
    }
}

void TfrmDup::ClearGrid() {
    resultList->clearGrid();
    grid->setFocus();
}

void TfrmDup::cbWildCardChange() {
    const QString pattern = cbWildCard->currentText();
    lblWild->setText(pattern == QLatin1String("*.*") ? QStringLiteral("All files")
                                                     : fileTypeText(pattern.mid(1)));
}

void TfrmDup::sizeChoiceChanged() {
    const bool between = rbBetween->isChecked();
    num2->setVisible(between);
    lblAnd->setVisible(between);
}

void TfrmDup::btScanClick() {
    if (session->scanning()) return;
    if (rbBetween->isChecked() && num2->value() < num1->value()) {
        errorBox(QStringLiteral("The second number must be larger or equal than the first number"));
        return;
    }
    if (duplicates()) matchMode = cbDup->currentIndex();
    ClearGrid();
    scan();
}

void TfrmDup::scan() {
    session->begin();

    DupOptions options;
    options.mode = duplicates() ? FinderMode::Duplicates : FinderMode::FileHogs;
    options.matchMode = matchMode;
    const SizeChoice choice = rbBetween->isChecked()   ? SizeChoice::Between
                              : rbSmaller->isChecked() ? SizeChoice::Smaller
                                                       : SizeChoice::Larger;
    options.size = SizeCondition::fromNumbers(choice, num1->value(), num2->value(),
                                              cbKB1->currentText() == QLatin1String("KB"));
    const bool contents = duplicates() && matchMode == kContentMatchMode;
    if (contents) {
        contentStage_ = -1;
        contentBytes_ = 0;
        options.contentProgress = [this](ContentStage stage, qint64 bytesRead) {
            contentBytes_.store(bytesRead, std::memory_order_relaxed);
            contentStage_.store(int(stage), std::memory_order_release);
            if (contentProgressHook) contentProgressHook(stage, bytesRead);
        };
    }
    DupCollection collection(options);
    WalkOptions walkOptions;
    walkOptions.pattern = cbWildCard->currentText().toUtf8();
    const TreeWalk::Summary walked =
        session->walk(checkedTargets(pckDrive), walkOptions, collection);

    DupRecords found;
    if (contents) {
        compareContents(collection, walked.full, found);
    } else {
        // Grouping a large collection takes a while; the window stays painted meanwhile.
        session->runAside([&] { found = collection.takeRecords(); });
    }
    const qint64 leftOut = found.content.changed + found.content.unreadable;
    model->setRecords(found.columns, std::move(found.records));
    if (!duplicates()) {
        // Largest first; the next click on Size then sorts the other way.
        sizeDescending = true;
        resultList->sortBy(0);
    }
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
    btDetails->show();
    btBrowse->show();
    btCompare->setVisible(duplicates());
    QString report = thousandsText(rows) + (duplicates() ? QStringLiteral(" duplicates found")
                                                         : QStringLiteral(" file hogs found"));
    if (contents && leftOut > 0)
        report += QStringLiteral(", ") + thousandsText(leftOut) +
                  QStringLiteral(" files changed or could not be read while being compared");
    pnlSel->showMessage(report);
    if (grid->currentIndex().row() < 0) grid->setCurrentIndex(model->index(0, 0));
}

// The comparison reads on a helper thread while the window stays live: its progress and
// Abort are taken on the window's thread, the progress at most ten times a second.
void TfrmDup::compareContents(DupCollection& collection, bool collectionFull, DupRecords& found) {
    contentStop_.reset();
    // A full collection stops the walk as Abort does; what it holds is still compared. An
    // aborted walk is not compared at all.
    if (collectionFull)
        abortScan = false;
    else if (abortScan)
        contentStop_.request();

    int shownStage = -1;
    qint64 shownBytes = -1;
    QElapsedTimer sinceShown;
    const auto showProgress = [&] {
        const int stage = contentStage_.load(std::memory_order_acquire);
        const qint64 bytes = contentBytes_.load(std::memory_order_relaxed);
        if (stage < 0 || (stage == shownStage && bytes == shownBytes)) return;
        // A new stage shows at once; bytes within a stage ten times a second.
        if (stage == shownStage && sinceShown.isValid() && sinceShown.elapsed() < 100) return;
        shownStage = stage;
        shownBytes = bytes;
        sinceShown.start();
        pnlSel->showMessage(QStringLiteral("Comparing contents: ") +
                            contentStageText(ContentStage(stage)) + QStringLiteral(", ") +
                            thousandsText(bytes) + QStringLiteral(" bytes read"));
    };
    // Abort sets the flag on this thread, also from inside its warning box; the engine tests
    // the token between blocks.
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        showProgress();
        if (abortScan) contentStop_.request();
    });
    poll.start();
    JobRunner::runAside([&] { found = collection.takeRecords(&contentStop_); });
    poll.stop();
}

void TfrmDup::BrowseDirectory1Click() {
    const int row = resultList->currentRow();
    if (row < 0) return;
    const QByteArray& path = model->path(row);
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? path.left(slash) : QByteArray("/");
    context_.openBrowser(this, folder, path.mid(slash + 1), cbWildCard->currentText());
}

QString TfrmDup::printTitle() const {
    QString drives;
    for (const ScanTarget& target : checkedTargets(pckDrive))
        drives += displayPath(target.root) + QLatin1Char(' ');
    const QString unit = cbKB1->currentText();
    const QString first = QString::number(num1->value());
    QString size;
    if (rbBetween->isChecked())
        size = QStringLiteral("in between ") + first + QLatin1Char(' ') + unit +
               QStringLiteral(" and ") + QString::number(num2->value()) + QLatin1Char(' ') + unit;
    else if (rbSmaller->isChecked())
        size = QStringLiteral("smaller or equal to ") + first + QLatin1Char(' ') + unit;
    else
        size = QStringLiteral("larger or equal to ") + first + QLatin1Char(' ') + unit;
    return (duplicates() ? QStringLiteral("Duplicates ") : QStringLiteral("File Hogs ")) + size +
           QStringLiteral(" matching ") + cbWildCard->currentText() +
           QStringLiteral(" on drive(s) ") + drives;
}

bool TfrmDup::isBoldCell(int row, int column) const {
    if (!Highlightfolders1 || !Highlightfolders1->isChecked()) return false;
    if (row < 0 || row >= model->rowCount()) return false;
    if (model->cell(row, column).isEmpty()) return false;
    const QByteArray& path = model->path(row);
    if (duplicates()) {
        if (column != folderColumn()) return false;
        return context_.safeHarbor().isInSafeHarbor(path.left(path.lastIndexOf('/') + 1), false);
    }
    if (column != markColumnOf(FinderMode::FileHogs)) return false;
    return context_.safeHarbor().isInSafeHarbor(path, true);
}

}  // namespace vastel
