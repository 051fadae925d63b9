#include "results/ResultList.h"

#include "core/GridModel.h"
#include "core/MessageBoxes.h"
#include "core/ParallelFor.h"
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "platform/Dialogs.h"
#include "platform/DirEntry.h"
#include "platform/NativePath.h"
#include "platform/Shell.h"
#include "results/PrintIt.h"
#include "widgets/AppContext.h"
#include "widgets/BusyCursor.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QTableView>
#include <algorithm>
#include <cmath>
#include <vector>

namespace vastel {

namespace {

// The size a mark counts for: the file's size when the path names an existing non-folder entry,
// -1 when it does not count.
qint64 countedSize(const QByteArray& path) {
    DirEntry entry;
    if (!statPath(path, entry) || entry.isDirectory()) return -1;
    return entry.size;
}

bool isExistingFile(const QByteArray& path) { return countedSize(path) >= 0; }

// countedSize of every row. A million look-ups are a million system calls, mostly waiting in
// the kernel, so big grids spread them over a few threads; the rows are only read meanwhile.
std::vector<qint64> countedSizes(const GridModel& model) {
    std::vector<qint64> sizes(size_t(model.rowCount()), -1);
    parallelFor(sizes.size(), 50'000, [&](size_t first, size_t last) {
        for (size_t r = first; r < last; ++r) sizes[r] = countedSize(model.path(int(r)));
    });
    return sizes;
}

QAction* makeAction(const QString& text, const char* name, QObject* owner) {
    auto* action = new QAction(text, owner);
    action->setObjectName(QLatin1String(name));
    return action;
}

}  // namespace

ResultList::ResultList(AppContext& context, const Parts& parts, QObject* parent)
    : QObject(parent), parts_(parts) {
    QObject* owner = parts_.window ? static_cast<QObject*>(parts_.window) : this;
    Details1 = makeAction(QStringLiteral("Details"), "Details1", owner);
    Markall1 = makeAction(QStringLiteral("Mark all"), "Markall1", owner);
    Unmarkall1 = makeAction(QStringLiteral("Unmark all"), "Unmarkall1", owner);
    Shrink1 = makeAction(QStringLiteral("Shrink top panel"), "Shrink1", owner);
    Grow1 = makeAction(QStringLiteral("Restore top panel"), "Grow1", owner);
    Grow1->setEnabled(false);
    Run1 = makeAction(QStringLiteral("Open"), "Run1", owner);
    View1 = makeAction(QStringLiteral("View"), "View1", owner);
    Print1 = makeAction(QStringLiteral("Print"), "Print1", owner);
    Filenamesonly1 = makeAction(QStringLiteral("Filenames only"), "Filenamesonly1", owner);
    Entiregridseparatedbytabs1 = makeAction(QStringLiteral("Entire grid separated by tabs"),
                                            "Entiregridseparatedbytabs1", owner);
    Sort1 = new QMenu(QStringLiteral("Sort"), parts_.window);
    Sort1->setObjectName(QStringLiteral("Sort1"));

    connect(Details1, &QAction::triggered, this, &ResultList::Details1Click);
    connect(Markall1, &QAction::triggered, this, &ResultList::Markall1Click);
    connect(Unmarkall1, &QAction::triggered, this, &ResultList::Unmarkall1Click);
    connect(Shrink1, &QAction::triggered, this, &ResultList::Shrink1Click);
    connect(Grow1, &QAction::triggered, this, &ResultList::Grow1Click);
    connect(Run1, &QAction::triggered, this, &ResultList::Run1Click);
    connect(View1, &QAction::triggered, this, &ResultList::View1Click);
    connect(Print1, &QAction::triggered, this, &ResultList::btPrintClick);
    connect(Filenamesonly1, &QAction::triggered, this, [this] { btClipClick(true); });
    connect(Entiregridseparatedbytabs1, &QAction::triggered, this, [this] { btClipClick(false); });

    if (parts_.grid) {
        connect(parts_.grid, &QAbstractItemView::doubleClicked, this, &ResultList::gridDblClick);
        connect(parts_.grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
                [this](int column) {
                    if (!headerSorting_) return;
                    for (size_t i = 0; i < sortItems_.size(); ++i)
                        if (sortItems_[i].column == column) {
                            sortBy(int(i));
                            return;
                        }
                });
        parts_.grid->installEventFilter(this);
    }
    if (parts_.btDelete) parts_.btDelete->setEnabled(false);

    openViewer = [&context](QWidget* parent, const QByteArray& path) {
        context.openViewer(parent, path);
    };
    openDetails = [&context](QWidget* parent, const QByteArray& path) {
        context.openDetails(parent, path);
    };
    runReview = [&context](QWidget* parent, const QList<QByteArray>& paths, const QString& tag,
                           qint64 savings) {
        return context.runReview(parent, paths, tag, savings);
    };
}

ResultList::~ResultList() {
    if (!parts_.window) delete Sort1;
}

// ---- Sorting ----

void ResultList::setSortItems(const std::vector<ResultSortItem>& items) {
    Sort1->clear();
    for (QAction* a : sortActions_) delete a;
    sortActions_.clear();
    sortItems_ = items;
    for (size_t i = 0; i < items.size(); ++i) {
        QAction* a = Sort1->addAction(items[i].text);
        a->setObjectName(items[i].objectName);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, i] { sortBy(int(i)); });
        sortActions_.push_back(a);
    }
    checkSortItem(items.empty() ? -1 : 0);
}

void ResultList::setHeaderSorting(bool on) { headerSorting_ = on; }

void ResultList::sortBy(int item) {
    if (item < 0 || item >= int(sortItems_.size()) || !parts_.model) return;
    const int rows = parts_.model->rowCount();
    if (rows < 2) return;
    checkSortItem(-1);
    const ResultSortItem& s = sortItems_[size_t(item)];
    const bool descending = s.descending && *s.descending;
    {
        BusyCursor busy;
        switch (s.kind) {
            case SortKind::Text:
                sortGridByText(*parts_.model, 0, rows - 1, descending, s.column);
                break;
            case SortKind::Number:
                sortGridByNumber(*parts_.model, 0, rows - 1, descending, s.column);
                break;
            case SortKind::Date:
                sortGridByDate(*parts_.model, 0, rows - 1, descending, s.column);
                break;
        }
        if (s.descending) *s.descending = !*s.descending;
        checkSortItem(item);
    }
}

void ResultList::checkSortItem(int item) {
    for (size_t i = 0; i < sortActions_.size(); ++i) sortActions_[i]->setChecked(int(i) == item);
}

// ---- Marks ----

void ResultList::deleteOneFile(int row) {
    if (!parts_.model || row < 0 || row >= parts_.model->rowCount()) return;
    const QByteArray& path = parts_.model->path(row);
    const bool marking = !parts_.model->isMarked(row);
    if (marking) {
        const qint64 size = countedSize(path);
        lbDeleted_.append(path);
        counted_.append(size);
        if (size >= 0) {
            ++markedCount_;
            markedBytes_ += size;
        }
    } else {
        // Take back what this mark added when it was made: the file may have appeared, vanished
        // or changed size since, and a fresh look-up would leave the totals wrong.
        const qsizetype at = lbDeleted_.indexOf(path);
        if (at >= 0) {
            const qint64 size = counted_.at(at);
            lbDeleted_.removeAt(at);
            counted_.removeAt(at);
            if (size >= 0) {
                --markedCount_;
                markedBytes_ -= size;
            }
        }
    }
    parts_.model->setMarked(row, marking);
    showStatus();
}

void ResultList::clearAllMarks() {
    markedCount_ = 0;
    markedBytes_ = 0;
    lbDeleted_.clear();
    counted_.clear();
    if (parts_.model) parts_.model->clearMarks();
}

void ResultList::showStatus() {
    if (!parts_.status) return;
    parts_.status(QStringLiteral("%1 files %2 bytes")
                      .arg(QString::number(markedCount_), thousandsText(markedBytes_)));
}

void ResultList::clearGrid() {
    if (parts_.model) parts_.model->clear();
    clearAllMarks();
    checkSortItem(sortItems_.empty() ? -1 : 0);
}

int ResultList::currentRow() const {
    if (!parts_.grid || !parts_.model) return -1;
    const QModelIndex current = parts_.grid->currentIndex();
    return current.isValid() && current.row() < parts_.model->rowCount() ? current.row() : -1;
}

void ResultList::updateCleanButton() {
    if (parts_.btDelete) parts_.btDelete->setEnabled(markedCount_ > 0);
}

void ResultList::gridDblClick() { MarkThisFile(currentRow()); }

void ResultList::DeleteAllFiles() {
    const int row = currentRow();
    if (row < 0) return;
    deleteOneFile(row);
    if (row + 1 < parts_.model->rowCount()) {
        const QModelIndex next = parts_.model->index(row + 1, parts_.grid->currentIndex().column());
        parts_.grid->setCurrentIndex(next);
        parts_.grid->selectRow(row + 1);
    }
    updateCleanButton();
}

void ResultList::Markall1Click() {
    if (parts_.model) {
        BusyCursor busy;
        clearAllMarks();
        GridModel& model = *parts_.model;
        const int rows = model.rowCount();
        // One change notification for all rows; per-row notifications take minutes on a
        // million rows.
        model.setAllMarked(true);
        const std::vector<qint64> sizes = countedSizes(model);
        lbDeleted_.reserve(rows);
        counted_.reserve(rows);
        for (int r = 0; r < rows; ++r) {
            const qint64 size = sizes[size_t(r)];
            lbDeleted_.append(model.path(r));
            counted_.append(size);
            if (size >= 0) {
                ++markedCount_;
                markedBytes_ += size;
            }
        }
        showStatus();
    }
    // Enabled even when none of the files exists any more; btDeleteClick then opens nothing.
    if (parts_.btDelete) parts_.btDelete->setEnabled(true);
}

void ResultList::Unmarkall1Click() {
    clearAllMarks();
    if (parts_.btDelete) parts_.btDelete->setEnabled(false);
    showStatus();
}

void ResultList::MarkThisFile(int row) {
    if (row < 0) return;
    deleteOneFile(row);
    updateCleanButton();
}

// ---- Row actions ----

void ResultList::Run1Click() {
    const int row = currentRow();
    if (row < 0) return;
    const QByteArray path = parts_.model->path(row);
    if (!isExistingFile(path)) return;
    if (!openWithAssociatedProgram(path))
        errorBox(QStringLiteral("Couldn't open ") + displayPath(path));
}

void ResultList::View1Click() {
    const int row = currentRow();
    if (row < 0 || !openViewer) return;
    const QByteArray path = parts_.model->path(row);
    if (isExistingFile(path)) openViewer(parts_.window, path);
}

void ResultList::Details1Click() {
    const int row = currentRow();
    if (row < 0 || !openDetails) return;
    const QByteArray path = parts_.model->path(row);
    if (isExistingFile(path)) openDetails(parts_.window, path);
}

void ResultList::btDeleteClick() {
    if (markedCount_ <= 0 || !runReview) return;
    // Copies: the review runs an event loop in which the list could change.
    const QList<QByteArray> paths = lbDeleted_;
    if (!runReview(parts_.window, paths, parts_.sourceName, markedBytes_)) return;
    if (auto* dialog = qobject_cast<QDialog*>(parts_.window))
        dialog->accept();
    else if (parts_.window)
        parts_.window->close();
}

void ResultList::Shrink1Click() {
    if (!parts_.topPanel || savedPanelHeight_ >= 0) return;
    savedPanelHeight_ = parts_.topPanel->maximumHeight();
    savedPanelMinHeight_ = parts_.topPanel->minimumHeight();
    parts_.topPanel->setMinimumHeight(0);
    parts_.topPanel->setMaximumHeight(0);
    Shrink1->setEnabled(false);
    Grow1->setEnabled(true);
}

void ResultList::Grow1Click() {
    if (!parts_.topPanel || savedPanelHeight_ < 0) return;
    parts_.topPanel->setMaximumHeight(savedPanelHeight_);
    parts_.topPanel->setMinimumHeight(savedPanelMinHeight_);
    savedPanelHeight_ = -1;
    Shrink1->setEnabled(true);
    Grow1->setEnabled(false);
}

void ResultList::btPrintClick() {
    if (!parts_.grid) return;
    const QString title = parts_.printTitle ? parts_.printTitle() : QString();
    if (dialogs().printDialog(currentPrinter(), false)) printGrid(*parts_.grid, title);
}

QStringList ResultList::clipboardLines(bool filenamesOnly) const {
    QStringList lines;
    if (!parts_.model) return lines;
    const GridModel& model = *parts_.model;
    const int rows = model.rowCount();
    const int columns = model.columnCount();
    auto add = [&lines](QString line) {
        if (!line.isEmpty()) lines.append(std::move(line));
    };
    if (filenamesOnly) {
        for (int r = 0; r < rows; ++r) add(displayPath(model.path(r)));
        return lines;
    }
    add(model.headers().join(QLatin1Char('\t')));
    for (int r = 0; r < rows; ++r) {
        QStringList cells;
        cells.reserve(columns);
        for (int c = 0; c < columns; ++c) cells.append(model.cell(r, c));
        add(cells.join(QLatin1Char('\t')));
    }
    return lines;
}

void ResultList::btClipClick(bool filenamesOnly) {
    QGuiApplication::clipboard()->setText(
        clipboardLines(filenamesOnly).join(QStringLiteral("\r\n")));
}

// ---- Window ----

void ResultList::applyMinimumSize() {
    QWidget* window = parts_.window;
    if (!window || !parts_.topPanel) return;
    if (window->layout()) window->layout()->activate();
    const QRect panel(parts_.topPanel->mapTo(window, QPoint(0, 0)), parts_.topPanel->size());
    const QScreen* screen = window->screen();
    const qreal scale = screen ? screen->logicalDotsPerInch() / 96.0 : 1.0;
    int width = int(std::lround((panel.x() + panel.width() + 3) * scale));
    int height = int(std::lround(2 * (panel.y() + panel.height()) * scale));
    if (screen) {
        width = std::min(width, screen->geometry().width() - 10);
        // A minimum taller than the screen would push the window's lower part out of reach.
        height = std::min(height, screen->availableGeometry().height());
    }
    // Never below what the window's own layout needs, or its controls would overlap.
    if (window->layout()) {
        const QSize needed = window->layout()->totalMinimumSize();
        width = std::max(width, needed.width());
        height = std::max(height, needed.height());
    }
    window->setMinimumSize(std::max(width, 0), std::max(height, 0));
}

bool ResultList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parts_.grid && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A held key repeats its release too; one press marks one row.
        if (key->key() == Qt::Key_Delete && !key->isAutoRepeat()) {
            DeleteAllFiles();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vastel
