#include "core/GridModel.h"
#include "core/SortGrid.h"
#include "support/LocaleScope.h"
#include "support/TestSandbox.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <deque>

using namespace vastel;

namespace {

GridRow fileRow(const QString& size, const QString& name, const QByteArray& path) {
    GridRow row;
    row.cells = {size, name};
    row.path = path;
    return row;
}

// Two columns over records: the size as a number and the path.
class SizeAndPath : public ResultColumns {
  public:
    int count() const override { return 2; }
    QString text(const ResultRecord& r, int column) const override {
        return column == 0 ? QString::number(r.size) : QString::fromUtf8(r.path());
    }
};

ResultRecord fileRecord(qint64 size, const QByteArray& path) {
    ResultRecord r;
    r.setPath(path, std::max<qsizetype>(path.lastIndexOf('/'), 0));
    r.size = size;
    return r;
}

}  // namespace

// The result grid model under the model tester, as the finders fill, mark, sort and empty it.
class GridModelTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void keepsTheModelContractThroughAFindersLife() {
        GridModel grid({"Size", "FileName"});
        QAbstractItemModelTester tester(&grid,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(grid.columnCount(), 2);
        QCOMPARE(grid.headerData(1, Qt::Horizontal).toString(), QStringLiteral("FileName"));

        std::vector<GridRow> batch;
        for (int i = 0; i < 50; ++i)
            batch.push_back(fileRow(QString::number(i * 10), QStringLiteral("f%1").arg(i),
                                    "/d/f" + QByteArray::number(i)));
        QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
        grid.appendRows(std::move(batch));
        QCOMPARE(inserted.count(), 1);  // one insertion for the batch
        grid.appendRow(fileRow("7", "last", "/d/last"));
        QCOMPARE(grid.rowCount(), 51);

        grid.setCell(3, 1, QStringLiteral("renamed"));
        grid.setMarked(3, true);
        grid.setShade(4, GridShade::A);
        {
            test::LocaleScope locale(test::kEnglishUs);
            sortGridByNumber(grid, 0, grid.rowCount() - 1, true, 0);
        }
        QCOMPARE(grid.cell(0, 0), QStringLiteral("490"));
        grid.clearMarks();
        QVERIFY(grid.removeRows(10, 5));
        QCOMPARE(grid.rowCount(), 46);
        grid.clear();
        QCOMPARE(grid.rowCount(), 0);
        grid.setHeaders({"Size", "Date", "Name"});
        QCOMPARE(grid.columnCount(), 3);
    }

    // The same life with records: cells come from the column table, rows still move whole.
    void keepsTheModelContractWithRecords() {
        GridModel grid({"Size", "FileName"});
        QAbstractItemModelTester tester(&grid,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        std::vector<ResultRecord> batch;
        for (int i = 0; i < 50; ++i)
            batch.push_back(fileRecord(i * 10, "/d/f" + QByteArray::number(i)));
        QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
        grid.setRecords(std::make_shared<SizeAndPath>(), std::move(batch));
        grid.appendRecords({fileRecord(7, "/d/last")});
        QCOMPARE(inserted.count(), 2);  // one insertion per batch
        QCOMPARE(grid.rowCount(), 51);
        QCOMPARE(grid.data(grid.index(3, 1)).toString(), QStringLiteral("/d/f3"));

        grid.setMarked(3, true);
        grid.setShade(4, GridShade::A);
        {
            test::LocaleScope locale(test::kEnglishUs);
            sortGridByNumber(grid, 0, grid.rowCount() - 1, true, 0);
        }
        QCOMPARE(grid.cell(0, 0), QStringLiteral("490"));
        const int three = grid.rowCount() - 5;  // 30 is the fifth smallest
        QCOMPARE(grid.path(three), QByteArray("/d/f3"));
        QVERIFY(grid.isMarked(three));
        QCOMPARE(grid.shade(three - 1), GridShade::A);
        grid.clearMarks();
        QVERIFY(!grid.isMarked(three));
        QVERIFY(grid.removeRows(10, 5));
        QCOMPARE(grid.takeRecords().size(), size_t(46));
        QCOMPARE(grid.rowCount(), 0);
        QVERIFY(!grid.columns());
    }

    // Records whose folder and name sit in storage the column table keeps: the grid and the
    // records taken out of it still give exact paths after the producer let go of it.
    void storedPathsLiveWithTheColumnTable() {
        struct Storage {
            std::deque<QByteArray> folders{"/", "/d", "/d/x\xff"};
            QByteArray names{
                "rootfile"
                "a.txt"
                "n\tb"};
        };
        auto storage = std::make_shared<Storage>();
        std::vector<ResultRecord> records(4);
        records[0].setStoredPath(storage->folders[0], QByteArrayView(storage->names).first(8));
        records[1].setStoredPath(storage->folders[1], QByteArrayView(storage->names).sliced(8, 5));
        records[2].setStoredPath(storage->folders[2], QByteArrayView(storage->names).sliced(13));
        records[3].setPath("/held/own", 5);
        records[1].sharesFile = records[2].sharesFile = true;
        class LinkedSize : public SizeAndPath {
          public:
            int sharedFileColumn() const override { return 0; }
        };
        auto columns = std::make_shared<LinkedSize>();
        columns->keepPaths(storage);
        std::weak_ptr<Storage> alive = storage;
        storage.reset();

        GridModel grid({"Size", "FileName"});
        grid.setRecords(std::move(columns), std::move(records));
        const QByteArrayList expected{"/rootfile", "/d/a.txt", "/d/x\xff/n\tb", "/held/own"};
        for (int r = 0; r < 4; ++r) QCOMPARE(grid.path(r), expected[r]);
        QCOMPARE(grid.record(2).folder(), QByteArrayView("/d/x\xff"));
        QCOMPARE(grid.record(2).name(), QByteArrayView("n\tb"));
        QCOMPARE(grid.record(3).folder(), QByteArrayView("/held"));
        QCOMPARE(grid.record(3).name(), QByteArrayView("own"));
        for (int r = 0; r < 4; ++r) {
            const bool linked = r == 1 || r == 2;
            QCOMPARE(grid.data(grid.index(r, 0), GridModel::SharedFileRole).toBool(), linked);
            QCOMPARE(grid.data(grid.index(r, 0), Qt::ToolTipRole).toString(),
                     linked ? GridModel::sharedFileTip() : QString());
            QVERIFY(!grid.data(grid.index(r, 1), GridModel::SharedFileRole).toBool());
        }

        const std::shared_ptr<const ResultColumns> kept = grid.sharedColumns();
        std::vector<ResultRecord> taken = grid.takeRecords();
        QVERIFY(!alive.expired());  // the table still holds the storage
        QCOMPARE(taken[2].path(), expected[2]);
        taken.clear();
        QVERIFY(!alive.expired());
    }

    void showsTextsShadesMarksAndPaths() {
        GridModel grid({"Size", "FileName"});
        grid.setColumnAlignment(0, Qt::AlignRight);
        QPixmap glyph(16, 16);
        glyph.fill(Qt::red);
        grid.setMarkColumn(1);
        grid.setMarkGlyph(QIcon(glyph));
        GridRow short_;
        short_.cells = {"12"};  // fewer cells than columns
        short_.path = QByteArray("/d/na\tme\xff", 9);
        grid.appendRow(short_);
        grid.appendRow(fileRow("3", "b", "/d/b"));

        const QModelIndex size = grid.index(0, 0);
        const QModelIndex name = grid.index(0, 1);
        QCOMPARE(grid.data(size).toString(), QStringLiteral("12"));
        QCOMPARE(grid.data(name).toString(), QString());
        QCOMPARE(Qt::Alignment(grid.data(size, Qt::TextAlignmentRole).toInt()),
                 Qt::AlignRight | Qt::AlignVCenter);
        QVERIFY(!grid.data(name, Qt::TextAlignmentRole).isValid());
        QCOMPARE(grid.data(size, GridModel::PathRole).toByteArray(), short_.path);
        QVERIFY(!(grid.flags(size) & Qt::ItemIsEditable));

        QVERIFY(!grid.data(name, Qt::BackgroundRole).isValid());
        grid.setShade(0, GridShade::A);
        QCOMPARE(grid.data(name, Qt::BackgroundRole).value<QColor>(), QColor(223, 223, 223));
        grid.setShade(0, GridShade::B);
        QVERIFY(!grid.data(name, Qt::BackgroundRole).isValid());

        QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
        grid.setMarked(0, true);
        QCOMPARE(changed.count(), 1);
        grid.setMarked(0, true);  // no change, no signal
        QCOMPARE(changed.count(), 1);
        QVERIFY(grid.data(name, GridModel::MarkRole).toBool());
        QVERIFY(grid.data(name, Qt::DecorationRole).canConvert<QIcon>());
        QVERIFY(!grid.data(size, Qt::DecorationRole).isValid());  // only the mark column
        QVERIFY(!grid.data(grid.index(1, 1), Qt::DecorationRole).isValid());
    }

    // A sort moves rows whole; the view's current row and selection stay with their files.
    void selectionFollowsSortedRows() {
        GridModel grid({"Size", "FileName"});
        QAbstractItemModelTester tester(&grid,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const char* name : {"c", "a", "d", "b"})
            grid.appendRow(fileRow("1", name, QByteArray("/d/") + name));
        QTableView view;
        view.setModel(&grid);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.selectRow(2);                                    // "d"
        const QPersistentModelIndex held = grid.index(0, 1);  // "c"

        sortGridByText(grid, 0, 3, false, 1);
        QCOMPARE(grid.cell(0, 1), QStringLiteral("a"));
        QCOMPARE(view.currentIndex().row(), 3);
        QCOMPARE(grid.path(view.currentIndex().row()), QByteArray("/d/d"));
        QCOMPARE(held.row(), 2);
        QCOMPARE(held.data().toString(), QStringLiteral("c"));
    }

    void refusesReordersThatAreNoPermutation() {
        GridModel grid({"Name"});
        for (const char* name : {"a", "b", "c"}) grid.appendRow(fileRow(name, {}, name));
        QSignalSpy layout(&grid, &QAbstractItemModel::layoutChanged);
        grid.reorderRows(0, {0, 0, 1});
        grid.reorderRows(1, {1, 2, 3});
        grid.reorderRows(2, {1});
        QCOMPARE(layout.count(), 0);
        grid.reorderRows(1, {2, 1});
        QCOMPARE(layout.count(), 1);
        QCOMPARE(grid.cell(1, 0), QStringLiteral("c"));
        QCOMPARE(grid.path(2), QByteArray("b"));
    }
};

VASTEL_QTEST_MAIN(GridModelTest)
#include "gridModelTest.moc"
