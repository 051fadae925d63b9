#include "core/DriveEntries.h"
#include "core/GridModel.h"
#include "finders/TfrmDirHog.h"
#include "platform/ScriptedDialogs.h"
#include "protect/FolderListFile.h"
#include "protect/SafeHarbor.h"
#include "results/PrintIt.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "widgets/DriveList.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

constexpr time_t kStamp = 1'600'000'000;  // September 2020

QStringList column(const GridModel& model, int c) {
    QStringList cells;
    for (int r = 0; r < model.rowCount(); ++r) cells << model.cell(r, c);
    return cells;
}

}  // namespace

// The folder-hog window scanning fixture folders.
class DirHogWindowTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    TempTree* tree = nullptr;
    std::unique_ptr<vastel::test::TestContext> context;
    std::unique_ptr<vastel::test::LocaleScope> english;

    // The window with only the given folders of the fixture checked.
    std::unique_ptr<TfrmDirHog> open(const QByteArrayList& folders, AppContext* in = nullptr) {
        QByteArrayList absolute;
        for (const QByteArray& f : folders) absolute << tree->path(f);
        writeExtraFolders(absolute);
        auto w = std::make_unique<TfrmDirHog>(in ? *in : *context);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
        for (int i = 0; i < w->pckDrive->count(); ++i) {
            QListWidgetItem* item = w->pckDrive->item(i);
            item->setCheckState(absolute.contains(driveListTarget(item).root) ? Qt::Checked
                                                                              : Qt::Unchecked);
        }
        return w;
    }

    // A click released where it was pressed, on a data row's cell or on a header section.
    static void clickCell(TfrmDirHog& w, int row, int c) {
        const QRect cell = w.grid->visualRect(w.model->index(row, c));
        QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    static void clickHeader(TfrmDirHog& w, int c) {
        QHeaderView* header = w.grid->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(c) + header->sectionSize(c) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        context = std::make_unique<vastel::test::TestContext>();
        english = std::make_unique<vastel::test::LocaleScope>(vastel::test::kEnglishUs);
        tree = new TempTree;
        tree->createFile("hogs/root.bin", 5, kStamp, kStamp);
        tree->createFile("hogs/Big Photos/a.jpg", 300'000, kStamp, kStamp);
        tree->createFile("hogs/Big Photos/2020/b.jpg", 200'000, kStamp, kStamp);
        tree->createFile("hogs/small/c.txt", 1'000, kStamp, kStamp);
        tree->createFile("hogs/bad\xff name/d", 50'000, kStamp, kStamp);
        tree->createFile("hogs/.hidden/e", 9'000'000, kStamp, kStamp);
        tree->createFile("flat/only.txt", 10, kStamp, kStamp);
        tree->createFile("one/sub/x", 10, kStamp, kStamp);
    }
    void cleanupTestCase() {
        delete tree;
        english.reset();
        context.reset();
        delete script;
    }
    void init() { script->clear(); }

    void showsItsControls() {
        auto w = open({"hogs"});
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Folder Hogs"));
        QCOMPARE(w->model->headers(), (QStringList{"Size", "% Used", "# Files", "# Sub-folders",
                                                   "Latest File Access", "Name"}));
        QVERIFY(!w->btDelete->isVisible() && !w->btBrowse->isVisible() &&
                !w->btOptions->isVisible() && !w->btAbort->isVisible());
        QStringList items;
        for (const QAction* a : w->PopupMenu1->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(items,
                 (QStringList{"Highlight folders on Safe Harbor list",
                              "Add a folder to the list of drives", "-", "Sort by &Size",
                              "Sort by # &Files", "Sort by # Sub-f&olders", "Sort by &Access Date",
                              "Sort by &Name", "-", "Shrink top panel", "Restore top panel", "-",
                              "Print", "Clipboard"}));
        // Unticking every entry disables both scans.
        for (int i = 0; i < w->pckDrive->count(); ++i)
            w->pckDrive->item(i)->setCheckState(Qt::Unchecked);
        QVERIFY(!w->btTop->isEnabled() && !w->btAll->isEnabled());
        // Filled again (after the folder dialog), the current drive is ticked again.
        fillDriveList(w->pckDrive, DriveSource::finders(), true);
        QVERIFY(anyChecked(w->pckDrive));
        QVERIFY(w->btTop->isEnabled() && w->btAll->isEnabled());
    }

    void bothScansListTheirFoldersLargestFirst_data() {
        QTest::addColumn<bool>("main");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sizes");
        QTest::addColumn<QStringList>("subfolders");
        QTest::newRow("main") << true << QStringList{"Big Photos", "bad\xef\xbf\xbd name", "small"}
                              << QStringList{"500,000", "50,000", "1,000"}
                              << QStringList{"1", "0", "0"};
        QTest::newRow("all") << false
                             << QStringList{"Big Photos", "2020", "bad\xef\xbf\xbd name", "small",
                                            "hogs"}
                             << QStringList{"300,000", "200,000", "50,000", "1,000", "5"}
                             << QStringList{"1", "0", "0", "0", "4"};
    }
    void bothScansListTheirFoldersLargestFirst() {
        QFETCH(bool, main);
        QFETCH(QStringList, names);
        QFETCH(QStringList, sizes);
        QFETCH(QStringList, subfolders);
        auto w = open({"hogs"});
        QVERIFY(w);
        QTest::mouseClick(main ? w->btTop : w->btAll, Qt::LeftButton);
        QVERIFY(script->messages().isEmpty());
        QStringList shown;
        for (const QString& path : column(*w->model, 5))
            shown << path.section(QLatin1Char('/'), -1);
        QCOMPARE(shown, names);
        QCOMPARE(column(*w->model, 0), sizes);
        QCOMPARE(column(*w->model, 3), subfolders);
        // The Name column keeps the path's case; the row carries its exact bytes.
        QVERIFY(w->model->cell(0, 5).endsWith(QStringLiteral("/Big Photos")));
        QVERIFY(column(*w->model, 1).contains(QStringLiteral("0.00")));
        QVERIFY(w->model->path(main ? 1 : 2).endsWith("bad\xff name"));
        QCOMPARE(w->pnlScan->currentMessage(),
                 QStringLiteral("Folders : ") + QString::number(names.size()));
        QVERIFY(w->btDelete->isVisible() && w->btBrowse->isVisible() && w->btOptions->isVisible());
        QVERIFY(w->btTop->isEnabled() && w->btClose->isEnabled());

        // The first Size sort then puts the smallest first; % Used has no sort.
        clickHeader(*w, 1);
        QCOMPARE(column(*w->model, 0), sizes);
        QVERIFY(w->SortbySize1->isChecked());
        clickHeader(*w, 0);
        std::reverse(sizes.begin(), sizes.end());
        QCOMPARE(column(*w->model, 0), sizes);
        clickHeader(*w, 5);
        QVERIFY(w->SortbyName1->isChecked() && !w->SortbySize1->isChecked());
        QStringList byName = column(*w->model, 5);
        std::sort(byName.begin(), byName.end(),
                  [](const QString& a, const QString& b) { return a.toUpper() < b.toUpper(); });
        QStringList reversed = byName;
        std::reverse(reversed.begin(), reversed.end());
        // Either way: the direction lasts for the program's run and flips with each use.
        QVERIFY(column(*w->model, 5) == byName || column(*w->model, 5) == reversed);
        QCOMPARE(w->lastClickedRow(), 0);
    }

    void noFolderMeansNoFilesFound_data() {
        QTest::addColumn<bool>("main");
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<int>("rows");
        QTest::newRow("main, no sub-folder") << true << QByteArray("flat") << 0;
        QTest::newRow("all, the root only") << false << QByteArray("flat") << 1;
        QTest::newRow("main, one folder") << true << QByteArray("one") << 1;
    }
    void noFolderMeansNoFilesFound() {
        QFETCH(bool, main);
        QFETCH(QByteArray, folder);
        QFETCH(int, rows);
        auto w = open({folder});
        QVERIFY(w);
        QTest::mouseClick(main ? w->btTop : w->btAll, Qt::LeftButton);
        QCOMPARE(w->model->rowCount(), rows);
        // A single folder is a result too.
        QCOMPARE(script->messages(), rows == 0 ? QStringList{"No files found."} : QStringList{});
        QCOMPARE(w->btDelete->isVisible(), rows > 0);
    }

    void aFullRowListShowsWhatWasGathered() {
        auto w = open({"hogs"});
        QVERIFY(w);
        w->rowCapacity = 2;
        QTest::mouseClick(w->btAll, Qt::LeftButton);
        QCOMPARE(script->messages(),
                 QStringList{"Resource limit reached ... cannot process any more files."});
        QCOMPARE(w->model->rowCount(), 2);
        QVERIFY(w->btDelete->isVisible() && w->btAll->isEnabled());
        // The next scan starts afresh.
        script->clear();
        w->rowCapacity = 100;
        QTest::mouseClick(w->btAll, Qt::LeftButton);
        QVERIFY(script->messages().isEmpty());
        QCOMPARE(w->model->rowCount(), 5);
    }

    void cleanMarksTheRowAndRefusesRootsAndSystemFolders() {
        auto w = open({"hogs"});
        QVERIFY(w);
        QTest::mouseClick(w->btAll, Qt::LeftButton);
        QList<QByteArray> asked;
        TfrmDirHog::Removal answer = TfrmDirHog::Removal::Recycled;
        w->removeFolder = [&](QWidget*, const QByteArray& folder) {
            asked << folder;
            return answer;
        };
        // Nothing happens before a row was clicked.
        w->grid->setCurrentIndex(w->model->index(2, 0));
        w->btDelete->click();
        QVERIFY(asked.isEmpty());
        clickCell(*w, 2, 0);
        QTest::mouseDClick(w->grid->viewport(), Qt::LeftButton, {},
                           w->grid->visualRect(w->model->index(2, 0)).center());
        QCOMPARE(asked, (QList<QByteArray>{tree->path("hogs/bad\xff name")}));
        QCOMPARE(w->model->cell(2, 0), QStringLiteral("RECYCLED"));
        w->btDelete->click();
        QCOMPARE(script->messages(), QStringList{"Folder already deleted/recycled"});
        // Cancelled: the row stays as it was.
        answer = TfrmDirHog::Removal::None;
        clickCell(*w, 3, 0);
        w->btDelete->click();
        QCOMPARE(w->model->cell(3, 0), QStringLiteral("1,000"));

        // The home folder counts as a root; an operating system folder is refused, one inside
        // it is offered.
        script->clear();
        asked.clear();
        GridRow home;
        home.cells = QStringList{"1", "0.00", "1", "0", "", QDir::homePath()};
        home.path = QFile::encodeName(QDir::homePath());
        GridRow usr = home;
        usr.path = "/USR";
        usr.cells[5] = QStringLiteral("/USR");
        GridRow inside = home;
        inside.path = "/usr/share/doc";
        inside.cells[5] = QStringLiteral("/usr/share/doc");
        for (const GridRow& row : {home, usr, inside}) {
            w->model->setRow(0, row);
            clickCell(*w, 0, 5);
            w->btDelete->click();
        }
        QCOMPARE(script->messages(),
                 (QStringList{"You cannot delete the root folder using Vastel 99",
                              "You cannot delete the Windows folder using Vastel 99"}));
        QCOMPARE(asked, (QList<QByteArray>{"/usr/share/doc"}));
    }

    void browseOpensTheFolderByItsBytes() {
        auto w = open({"hogs"});
        QVERIFY(w);
        QTest::mouseClick(w->btTop, Qt::LeftButton);
        QByteArray opened;
        context->browser = [&](QWidget*, const QByteArray& folder, const QByteArray& file,
                               const QString& pattern) {
            opened = folder;
            QVERIFY(file.isEmpty() && pattern.isEmpty());
        };
        w->grid->setCurrentIndex(w->model->index(1, 0));
        w->btBrowse->click();
        context->browser = nullptr;
        QCOMPARE(opened, tree->path("hogs/bad\xff name"));
    }

    void clipboardAndPrintTitle() {
        auto w = open({"hogs"});
        QVERIFY(w);
        QTest::mouseClick(w->btTop, Qt::LeftButton);
        w->resultList->Filenamesonly1->trigger();
        const QString root = QString::fromUtf8(tree->path("hogs"));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 root + "/Big Photos\r\n" + root + "/bad\xef\xbf\xbd name\r\n" + root + "/small");
        w->resultList->Entiregridseparatedbytabs1->trigger();
        const QStringList lines =
            QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("Size\t% Used\t# Files\t# Sub-folders\tLatest File "
                                          "Access\tName"));
        QVERIFY(lines[1].startsWith(QStringLiteral("500,000\t")));
        QVERIFY(!w->model->cell(0, 4).isEmpty());
        QVERIFY(lines[1].endsWith("\t2\t1\t" + w->model->cell(0, 4) + "\t" + root + "/Big Photos"));
        QCOMPARE(w->printTitle(), QStringLiteral("Folder hogs on drive(s) ") + root + " ");
    }

    void safeHarborFoldersAreBold() {
        vastel::test::TestContext own;
        SafeHarbor& harbor = own.safeHarbor();
        harbor.sources.folderListFile = QFile::decodeName(tree->path("folders.txt"));
        harbor.sources.searchPath = QByteArrayList{};
        harbor.sources.systemFolder = QByteArray("/usr/lib/");
        harbor.sources.windowsFolder = QByteArray("/etc/");
        QVERIFY(saveFolderListFile(harbor.sources.folderListFile, {tree->path("hogs/small/")}));
        harbor.GetSearchPath();
        auto w = open({"hogs"}, &own);
        QVERIFY(w);
        QTest::mouseClick(w->btTop, Qt::LeftButton);
        auto* delegate = qobject_cast<ResultGridDelegate*>(w->grid->itemDelegate());
        QVERIFY(delegate && delegate->boldCell);
        QVERIFY(delegate->boldCell(2, 5));   // small
        QVERIFY(!delegate->boldCell(0, 5));  // Big Photos
        QVERIFY(!delegate->boldCell(2, 0));
        w->Highlight1->trigger();
        QVERIFY(!delegate->boldCell(2, 5));
    }
};

QTEST_MAIN(DirHogWindowTest)
#include "DirHogWindowTest.moc"
