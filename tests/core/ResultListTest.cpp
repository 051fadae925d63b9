#include "core/GridModel.h"
#include "results/PrintIt.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Shell.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

struct FileRow {
    QByteArray path;
    QString size;
    QString name;
    QString folder;
};

// A small result window: top panel, grid with a mark column, "Clean?" and a status line.
class ResultWindow : public QDialog {
  public:
    explicit ResultWindow(const QList<FileRow>& rows) {
        resize(600, 400);
        topPanel = new QWidget(this);
        topPanel->setObjectName(QStringLiteral("Panel1"));
        topPanel->setMinimumHeight(60);
        grid = new QTableView(this);
        grid->setObjectName(QStringLiteral("grid"));
        model = new GridModel({"Size", "FileName", "Folder"}, this);
        model->setMarkColumn(1);
        model->setColumnAlignment(0, Qt::AlignRight);
        tester = std::make_unique<QAbstractItemModelTester>(
            model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const FileRow& r : rows)
            model->appendRow({{r.size, r.name, r.folder}, r.path, false, GridShade::None});
        setupResultGrid(grid);
        grid->setModel(model);
        btDelete = new QPushButton(QStringLiteral("Clean?"), this);
        btDelete->setObjectName(QStringLiteral("btDelete"));
        pnlSel = new QLabel(this);
        pnlSel->setObjectName(QStringLiteral("pnlSel"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(topPanel);
        layout->addWidget(btDelete);
        layout->addWidget(grid, 1);
        layout->addWidget(pnlSel);

        list = new ResultList(
            context,
            {this, grid, model, btDelete, topPanel,
             [this](const QString& text) { pnlSel->setText(text); }, QStringLiteral("Duplicates"),
             [] { return QStringLiteral("Duplicates on drive(s) / "); }},
            this);
        connect(btDelete, &QPushButton::clicked, list, &ResultList::btDeleteClick);
        // The row actions' windows, intercepted in the context's factory.
        context.viewer = [this](QWidget* parent, const QByteArray& path) {
            openedOver << parent;
            viewed << path;
        };
        context.details = [this](QWidget* parent, const QByteArray& path) {
            openedOver << parent;
            detailed << path;
        };
        context.review = [this](QWidget* parent, const QList<QByteArray>& paths, const QString& tag,
                                qint64 savings) {
            openedOver << parent;
            reviewed = paths;
            reviewTag = tag;
            reviewSavings = savings;
            ++reviews;
            return reviewRuns;
        };
    }

    void select(int row) {
        grid->setCurrentIndex(model->index(row, 0));
        grid->selectRow(row);
    }
    QList<bool> marks() const {
        QList<bool> m;
        for (int r = 0; r < model->rowCount(); ++r) m << model->isMarked(r);
        return m;
    }

    vastel::test::TestContext context;
    QList<QWidget*> openedOver;  // the parent of each window the row actions opened
    QWidget* topPanel;
    QTableView* grid;
    GridModel* model;
    std::unique_ptr<QAbstractItemModelTester> tester;
    QPushButton* btDelete;
    QLabel* pnlSel;
    ResultList* list;
    QByteArrayList viewed, detailed;
    QList<QByteArray> reviewed;
    QString reviewTag;
    qint64 reviewSavings = -1;
    int reviews = 0;
    bool reviewRuns = false;
};

// The sort items of a file-hog-like window; the directions last for the test's run.
bool sizeDescending = true;
bool nameDescending = false;

}  // namespace

// Marks, totals, row actions, clipboard, printing and sorting of a result window, over real files.
class ResultListTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempTree> tree;
    ScriptedDialogs* script = nullptr;
    QByteArray a, b, c;  // 1000, 2000 and 3000 bytes

    QList<FileRow> threeFiles() {
        return {{a, "1,000", "a.txt", "/t/"},
                {b, "2,000", "b.txt", "/t/"},
                {c, "3,000", "c.txt", "/t/"}};
    }

  private Q_SLOTS:
    void initTestCase() { script = new ScriptedDialogs; }
    void cleanupTestCase() {
        setOpenUrlHandler(nullptr);
        delete script;
    }
    void init() {
        script->clear();
        tree = std::make_unique<TempTree>();
        a = tree->createFile("a.txt", 1000);
        b = tree->createFile("sub/b.txt", 2000);
        c = tree->createFile("c.txt", 3000);
    }

    void marksCountExistingFilesAndToggleBack() {
        test::LocaleScope locale(test::kEnglishUs);
        ResultWindow w(threeFiles());
        QVERIFY(!w.btDelete->isEnabled());
        for (int r : {2, 0, 1}) w.list->MarkThisFile(r);
        QCOMPARE(w.pnlSel->text(), QStringLiteral("3 files 6,000 bytes"));
        QCOMPARE(w.list->lbDeleted(), (QList<QByteArray>{c, a, b}));  // marking order
        QCOMPARE(w.marks(), (QList<bool>{true, true, true}));
        QVERIFY(w.btDelete->isEnabled());

        // A double click toggles the current row: twice gives everything back.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.select(0);
        const QPoint cell = w.grid->visualRect(w.model->index(0, 2)).center();
        auto doubleClick = [&w, cell] {  // click, then the second press that Qt reports
            QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(w.grid->viewport(), Qt::LeftButton, {}, cell);
        };
        doubleClick();
        QCOMPARE(w.pnlSel->text(), QStringLiteral("2 files 5,000 bytes"));
        QCOMPARE(w.list->lbDeleted(), (QList<QByteArray>{c, b}));
        QVERIFY(!w.model->isMarked(0));
        doubleClick();
        QCOMPARE(w.pnlSel->text(), QStringLiteral("3 files 6,000 bytes"));
        QCOMPARE(w.list->lbDeleted(), (QList<QByteArray>{c, b, a}));

        for (int r : {0, 1, 2}) w.list->MarkThisFile(r);
        QCOMPARE(w.list->markedCount(), qint64(0));
        QCOMPARE(w.list->markedBytes(), qint64(0));
        QVERIFY(w.list->lbDeleted().isEmpty());
        QVERIFY(!w.btDelete->isEnabled());

        w.list->MarkThisFile(-1);  // ignored, as is a row past the end
        w.list->MarkThisFile(3);
        QCOMPARE(w.marks(), (QList<bool>{false, false, false}));
    }

    // Whatever happened to a file between its mark and its unmark, unmarking takes back exactly
    // what marking added, so the totals never drift or go negative.
    void unmarkTakesBackWhatTheMarkAdded_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("grew") << "grew";
        QTest::newRow("vanished") << "vanished";
        QTest::newRow("appeared") << "appeared";
    }
    void unmarkTakesBackWhatTheMarkAdded() {
        QFETCH(QString, change);
        const QByteArray late = tree->path("late.txt");
        ResultWindow w({{a, "1,000", "a.txt", "/t/"}, {late, "5", "late.txt", "/t/"}});
        w.list->MarkThisFile(0);
        w.list->MarkThisFile(1);
        QCOMPARE(w.list->markedCount(), qint64(1));
        if (change == "grew") tree->createFile("a.txt", 4096);
        if (change == "vanished") QVERIFY(QFile::remove(QString::fromUtf8(a)));
        if (change == "appeared") tree->createFile("late.txt", 777);
        w.list->MarkThisFile(1);
        w.list->MarkThisFile(0);
        QCOMPARE(w.list->markedCount(), qint64(0));
        QCOMPARE(w.list->markedBytes(), qint64(0));
        QCOMPARE(w.pnlSel->text(), QStringLiteral("0 files 0 bytes"));
    }

    void deleteKeyMarksAndMovesOn_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("first row") << 0 << 1;
        QTest::newRow("middle row") << 1 << 2;
        QTest::newRow("last row stays") << 2 << 2;
    }
    void deleteKeyMarksAndMovesOn() {
        QFETCH(int, row);
        QFETCH(int, selectedAfter);
        ResultWindow w(threeFiles());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.grid->setFocus();
        w.select(row);
        QTest::keyClick(w.grid, Qt::Key_Delete);
        QVERIFY(w.model->isMarked(row));
        QCOMPARE(w.list->markedCount(), qint64(1));
        QCOMPARE(w.list->currentRow(), selectedAfter);
        const QModelIndexList selected = w.grid->selectionModel()->selectedRows();
        QCOMPARE(int(selected.size()), 1);
        QCOMPARE(selected.first().row(), selectedAfter);
        QVERIFY(w.btDelete->isEnabled());
        // An auto-repeated release of a held key marks nothing more.
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(w.grid, &repeat);
        QCOMPARE(w.list->markedCount(), qint64(1));
    }

    void markAllCountsWhatExistsAndUnmarkAllClears() {
        test::LocaleScope locale(test::kEnglishUs);
        ResultWindow w(threeFiles());
        w.list->MarkThisFile(1);  // cleared first, then marked again with the rest
        QVERIFY(QFile::remove(QString::fromUtf8(b)));
        w.list->Markall1->trigger();
        QCOMPARE(w.marks(), (QList<bool>{true, true, true}));
        QCOMPARE(w.list->lbDeleted(), (QList<QByteArray>{a, b, c}));  // row order
        QCOMPARE(w.pnlSel->text(), QStringLiteral("2 files 4,000 bytes"));
        QVERIFY(w.btDelete->isEnabled());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        // Unmarking a vanished file's row after Mark all leaves the counted ones alone.
        w.list->MarkThisFile(1);
        QCOMPARE(w.pnlSel->text(), QStringLiteral("2 files 4,000 bytes"));
        QCOMPARE(w.list->lbDeleted(), (QList<QByteArray>{a, c}));

        w.list->Unmarkall1->trigger();
        QCOMPARE(w.marks(), (QList<bool>{false, false, false}));
        QVERIFY(w.list->lbDeleted().isEmpty());
        QCOMPARE(w.pnlSel->text(), QStringLiteral("0 files 0 bytes"));
        QVERIFY(!w.btDelete->isEnabled());
    }

    void markAllOfVanishedFilesOpensNoReview() {
        ResultWindow w(threeFiles());
        w.show();
        for (const QByteArray& p : {a, b, c}) QVERIFY(QFile::remove(QString::fromUtf8(p)));
        w.list->Markall1->trigger();
        QVERIFY(w.btDelete->isEnabled());
        QCOMPARE(w.list->markedCount(), qint64(0));
        w.btDelete->click();
        QCOMPARE(w.reviews, 0);
        QVERIFY(w.isVisible());
        QCOMPARE(w.marks(), (QList<bool>{true, true, true}));
    }

    // Two names that display alike: each mark, count and path acts on its own file's bytes.
    void lookAlikeNamesKeepTheirOwnFiles() {
        const QByteArray invalid = tree->createFile("caf\xe9.txt", 10);
        const QByteArray lookAlike = tree->createFile("caf\xef\xbf\xbd.txt", 20);
        QCOMPARE(displayPath(invalid), displayPath(lookAlike));
        ResultWindow w({{invalid, "10", displayPath(invalid), "/t/"},
                        {lookAlike, "20", displayPath(lookAlike), "/t/"}});
        w.list->MarkThisFile(1);
        QCOMPARE(w.list->markedBytes(), qint64(20));
        QCOMPARE(w.list->lbDeleted(), QList<QByteArray>{lookAlike});
        w.list->MarkThisFile(0);
        QCOMPARE(w.list->markedBytes(), qint64(30));
        w.list->MarkThisFile(1);
        QCOMPARE(w.list->markedBytes(), qint64(10));
        QCOMPARE(w.list->lbDeleted(), QList<QByteArray>{invalid});
        QCOMPARE(w.marks(), (QList<bool>{true, false}));
    }

    void clipboardForms() {
        ResultWindow w({{a, "1,000", "a.txt", "/t/"}, {b, "2,000", "b.txt", ""}});
        w.list->Filenamesonly1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8(a + "\r\n" + b));
        w.list->Entiregridseparatedbytabs1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Size\tFileName\tFolder\r\n1,000\ta.txt\t/t/\r\n2,000\tb.txt\t"));
        // Lines that come out empty are left out.
        GridModel* model = w.model;
        model->appendRow({{}, QByteArray(), false, GridShade::None});
        w.list->Filenamesonly1->trigger();
        QCOMPARE(int(QGuiApplication::clipboard()->text().split("\r\n").size()), 2);
    }

    void reviewHandOff_data() {
        QTest::addColumn<bool>("removalRan");
        QTest::newRow("cancelled") << false;
        QTest::newRow("removal ran") << true;
    }
    void reviewHandOff() {
        QFETCH(bool, removalRan);
        ResultWindow w(threeFiles());
        QSignalSpy finished(&w, &QDialog::finished);
        w.show();
        w.list->MarkThisFile(2);
        w.list->MarkThisFile(0);
        w.reviewRuns = removalRan;
        w.btDelete->click();
        QCOMPARE(w.reviews, 1);
        QCOMPARE(w.reviewed, (QList<QByteArray>{c, a}));
        QCOMPARE(w.reviewTag, QStringLiteral("Duplicates"));
        QCOMPARE(w.reviewSavings, qint64(4000));
        QCOMPARE(w.isVisible(), !removalRan);
        QCOMPARE(int(finished.size()), removalRan ? 1 : 0);
        if (removalRan) QCOMPARE(finished.first().first().toInt(), int(QDialog::Accepted));
        QCOMPARE(w.marks(), (QList<bool>{true, false, true}));
        QCOMPARE(w.list->markedCount(), qint64(2));
    }

    void openViewAndDetailsActOnExistingFilesOnly() {
        ResultWindow w({{a, "1,000", "a.txt", "/t/"},
                        {tree->path("gone.txt"), "1", "gone.txt", "/t/"},
                        {tree->root(), "0", "folder", "/t/"}});
        QList<QUrl> opened;
        bool openWorks = false;
        setOpenUrlHandler([&](const QUrl& url) {
            opened << url;
            return openWorks;
        });
        for (int row : {1, 2}) {  // a missing file and a folder: nothing at all
            w.select(row);
            w.list->Run1->trigger();
            w.list->View1->trigger();
            w.list->Details1->trigger();
        }
        QVERIFY(opened.isEmpty() && w.viewed.isEmpty() && w.detailed.isEmpty());
        QVERIFY(script->messages().isEmpty());

        w.select(0);
        w.list->Run1->trigger();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(script->messages(), QStringList{"Couldn't open " + displayPath(a)});
        QCOMPARE(script->records().first().icon, BoxIcon::Error);
        openWorks = true;
        w.list->Run1->trigger();
        QCOMPARE(int(script->messages().size()), 1);
        w.list->View1->trigger();
        w.list->Details1->trigger();
        QCOMPARE(w.viewed, QByteArrayList{a});
        QCOMPARE(w.detailed, QByteArrayList{a});
        setOpenUrlHandler(nullptr);
    }

    // The viewer, details and review open through the context, modal over the result window.
    void rowActionsOpenTheirWindowsOverTheResultWindow() {
        ResultWindow w(threeFiles());
        w.show();
        w.select(0);
        w.list->View1->trigger();
        w.list->Details1->trigger();
        w.list->MarkThisFile(0);
        w.btDelete->click();
        QCOMPARE(w.openedOver, (QList<QWidget*>{&w, &w, &w}));
        QCOMPARE(w.reviewed, QList<QByteArray>{a});
    }

    void printsTheGridUnderItsTitle() {
        ResultWindow w(threeFiles());
        const QString pdf = QDir::temp().filePath(QStringLiteral("results.pdf"));
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);
        script->answerPrint(false);
        w.list->Print1->trigger();
        QVERIFY(!QFile::exists(pdf));

        script->answerPrint(true);
        w.list->Print1->trigger();
        QVERIFY(script->messages().isEmpty());
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(p.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
        QCOMPARE(lines.first().trimmed(), QStringLiteral("Duplicates on drive(s) /"));
        QVERIFY(lines.filter(QRegularExpression("^\\s*Size\\s+FileName")).size() == 1);
        QVERIFY(lines.filter(QRegularExpression("^\\s*2,000\\s+b\\.txt\\s+/t/")).size() == 1);
    }

    void sortMenuHeaderClicksAndDirections() {
        ResultWindow w(
            {{a, "1,000", "b.txt", "/t/"}, {b, "30", "C.txt", "/t/"}, {c, "200", "a.txt", "/t/"}});
        w.list->setSortItems({{"&Size", "Sortbysize1", 0, SortKind::Number, &sizeDescending},
                              {"&Name", "Sortbyname1", 1, SortKind::Text, &nameDescending}});
        auto* bySize = w.list->Sort1->findChild<QAction*>("Sortbysize1");
        auto* byName = w.list->Sort1->findChild<QAction*>("Sortbyname1");
        QVERIFY(bySize && byName);
        QVERIFY(bySize->isChecked() && !byName->isChecked());
        auto names = [&w] {
            QStringList n;
            for (int r = 0; r < w.model->rowCount(); ++r) n << w.model->cell(r, 1);
            return n;
        };
        w.list->MarkThisFile(0);  // the mark travels with its row
        sizeDescending = true;
        nameDescending = false;

        byName->trigger();
        QCOMPARE(names(), (QStringList{"a.txt", "b.txt", "C.txt"}));
        QVERIFY(!bySize->isChecked() && byName->isChecked());
        QVERIFY(nameDescending);
        QCOMPARE(w.marks(), (QList<bool>{false, true, false}));
        QCOMPARE(w.model->path(1), a);

        // Header clicks sort only while header sorting is on, and only on an item's column.
        QHeaderView* header = w.grid->horizontalHeader();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto clickHeader = [header](int column) {
            const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
        };
        clickHeader(0);
        QCOMPARE(names(), (QStringList{"a.txt", "b.txt", "C.txt"}));
        w.list->setHeaderSorting(true);
        clickHeader(2);
        QCOMPARE(names(), (QStringList{"a.txt", "b.txt", "C.txt"}));
        clickHeader(0);  // largest first, then the other way round
        QCOMPARE(names(), (QStringList{"b.txt", "a.txt", "C.txt"}));
        QVERIFY(bySize->isChecked() && !byName->isChecked());
        bySize->trigger();
        QCOMPARE(names(), (QStringList{"C.txt", "a.txt", "b.txt"}));
        QVERIFY(sizeDescending);
        QCOMPARE(w.list->lbDeleted(), QList<QByteArray>{a});
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        // A new scan's empty grid: no marks, the first item checked, nothing sorts.
        byName->trigger();
        w.list->clearGrid();
        QCOMPARE(w.model->rowCount(), 0);
        QCOMPARE(w.list->markedCount(), qint64(0));
        QVERIFY(w.list->lbDeleted().isEmpty());
        QVERIFY(bySize->isChecked() && !byName->isChecked());
        const bool before = nameDescending;
        byName->trigger();
        QCOMPARE(nameDescending, before);
        QVERIFY(bySize->isChecked());
    }

    void shrinkAndRestoreTopPanel() {
        ResultWindow w(threeFiles());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const int height = w.topPanel->height();
        QVERIFY(height >= 60);
        QVERIFY(w.list->Shrink1->isEnabled() && !w.list->Grow1->isEnabled());
        w.list->Shrink1->trigger();
        QTRY_COMPARE(w.topPanel->height(), 0);
        QVERIFY(!w.list->Shrink1->isEnabled() && w.list->Grow1->isEnabled());
        w.list->Grow1->trigger();
        QTRY_COMPARE(w.topPanel->height(), height);
        QVERIFY(w.list->Shrink1->isEnabled() && !w.list->Grow1->isEnabled());
    }

    void minimumSizeFollowsTheTopPanel_data() {
        QTest::addColumn<QRect>("panel");
        QTest::addColumn<QSize>("minimum");
        const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
        QTest::newRow("panel") << QRect(10, 5, 300, 100) << QSize(313, 210);
        QTest::newRow("wider than the screen")
            << QRect(0, 0, screenWidth + 200, 50) << QSize(screenWidth - 10, 100);
    }
    void minimumSizeFollowsTheTopPanel() {
        QFETCH(QRect, panel);
        QFETCH(QSize, minimum);
        QWidget window;
        GridModel model({"Size"});
        auto* top = new QWidget(&window);
        top->setGeometry(panel);
        vastel::test::TestContext context;
        ResultList list(context, {&window, nullptr, &model, nullptr, top, {}, {}, {}});
        list.applyMinimumSize();
        QCOMPARE(window.minimumSize(), minimum);
    }

    // The painted cells: shade, selection, the glyph at its place and right-aligned sizes.
    void gridDrawsShadesGlyphsAndAlignment() {
        ResultWindow w(threeFiles());
        w.model->setShade(2, GridShade::A);
        w.grid->setColumnWidth(0, 120);
        w.grid->setColumnWidth(1, 120);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.list->MarkThisFile(0);
        w.select(1);
        const QImage shot = w.grid->viewport()->grab().toImage();
        const QColor base = w.grid->palette().color(QPalette::Base);
        auto rect = [&w](int row, int column) {
            return w.grid->visualRect(w.model->index(row, column));
        };

        auto nonBackground = [&shot](const QRect& area, const QColor& background) {
            int n = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (shot.pixelColor(x, y) != background) ++n;
            return n;
        };
        auto reddish = [&shot](const QRect& area) {
            int n = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x) {
                    const QColor p = shot.pixelColor(x, y);
                    if (p.red() > 150 && p.green() < 80 && p.blue() < 80) ++n;
                }
            return n;
        };
        const QRect marked = rect(0, 1);
        const QRect unmarked = rect(2, 1);
        QVERIFY(reddish(QRect(marked.left() + 2, marked.top() + 2, 16, 16)) > 10);
        QCOMPARE(reddish(marked.adjusted(18, 0, 0, 0)), 0);
        QCOMPARE(reddish(unmarked), 0);
        // A shade A row is light grey.
        const QRect shaded = rect(2, 2);
        QCOMPARE(shot.pixelColor(shaded.right() - 1, shaded.top() + 1), QColor(223, 223, 223));
        // The selected row is highlighted.
        const QRect selected = rect(1, 2);
        QCOMPARE(shot.pixelColor(selected.right() - 1, selected.top() + 1),
                 w.grid->palette().color(QPalette::Active, QPalette::Highlight));
        // The size ends 2 px left of the cell's right edge; nothing is drawn at the left.
        const QRect size = rect(0, 0);
        QCOMPARE(nonBackground(QRect(size.right() - 1, size.top(), 2, size.height()), base), 0);
        QVERIFY(nonBackground(QRect(size.right() - 8, size.top(), 6, size.height()), base) > 0);
        QCOMPARE(nonBackground(QRect(size.left(), size.top(), 60, size.height()), base), 0);

        // The glyph itself: transparent around a drawing.
        const QImage g = markGlyph().toImage();
        QCOMPARE(g.size(), QSize(16, 16));
        QCOMPARE(qAlpha(g.pixel(0, 0)), 0);
        QVERIFY(qAlpha(g.pixel(7, 7)) == 255 && qRed(g.pixel(7, 7)) > 150);
    }

    void boldHookChangesTheText() {
        ResultWindow w(threeFiles());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* delegate = qobject_cast<ResultGridDelegate*>(w.grid->itemDelegate());
        QVERIFY(delegate);
        auto ink = [&w] {
            const QImage shot = w.grid->viewport()->grab().toImage();
            const QRect cell = w.grid->visualRect(w.model->index(1, 2));
            int n = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    if (qGray(shot.pixel(x, y)) < 128) ++n;
            return n;
        };
        const int normal = ink();
        delegate->boldCell = [](int row, int column) { return row == 1 && column == 2; };
        w.grid->viewport()->update();
        QVERIFY(ink() > normal);
    }

    // A million rows: Mark all, Unmark all and a sort finish in reasonable time (measured only).
    void millionRows() {
        test::LocaleScope locale(test::kEnglishUs);
        constexpr int kRows = 1'000'000;
        ResultWindow w({});
        w.tester.reset();  // it walks every row on every change
        w.list->setSortItems({{"&Size", "Sortbysize1", 0, SortKind::Number, &sizeDescending},
                              {"&Name", "Sortbyname1", 1, SortKind::Text, &nameDescending}});
        std::vector<GridRow> rows;
        rows.reserve(kRows);
        const QString name = QStringLiteral("file.dat");
        const QString folder = QStringLiteral("/data/");
        const QByteArray gone = tree->path("gone/");
        qint64 largest = 0;
        for (int i = 0; i < kRows; ++i) {
            const QByteArray path = i == 10 ? a : i == 500'000 ? b : gone + QByteArray::number(i);
            const qint64 size = (i * 7919LL) % 1'000'003;  // all different
            largest = std::max(largest, size);
            rows.push_back({{QString::number(size), name, folder}, path, false, GridShade::None});
        }
        w.model->appendRows(std::move(rows));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QElapsedTimer t;
        t.start();
        w.list->Markall1->trigger();
        qInfo("Mark all of %d rows: %lld ms", kRows, t.restart());
        QCOMPARE(int(w.list->lbDeleted().size()), kRows);
        QCOMPARE(w.pnlSel->text(), QStringLiteral("2 files 3,000 bytes"));
        QVERIFY(w.model->isMarked(kRows - 1));
        QApplication::processEvents();
        qInfo("Repaint after Mark all: %lld ms", t.restart());

        sizeDescending = true;
        w.list->sortBy(0);
        qInfo("Number sort of %d rows: %lld ms", kRows, t.restart());
        QCOMPARE(w.model->cell(0, 0), QString::number(largest));
        QVERIFY(w.model->cell(1, 0).toLongLong() < largest);
        QVERIFY(w.model->isMarked(0) && w.model->isMarked(kRows - 1));
        w.list->sortBy(0);
        qInfo("Number sort back of %d rows: %lld ms", kRows, t.restart());
        QCOMPARE(w.model->cell(0, 0), QStringLiteral("0"));

        w.list->Unmarkall1->trigger();
        qInfo("Unmark all of %d rows: %lld ms", kRows, t.restart());
        QVERIFY(!w.model->isMarked(0) && !w.model->isMarked(kRows - 1));
        QCOMPARE(w.pnlSel->text(), QStringLiteral("0 files 0 bytes"));
    }
};

VASTEL_QTEST_MAIN(ResultListTest)
#include "ResultListTest.moc"
