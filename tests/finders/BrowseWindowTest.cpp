#include "core/GridModel.h"
#include "finders/BrowseColumns.h"
#include "finders/BrowseSort.h"
#include "finders/BrowseTexts.h"
#include "finders/TfrmBrowse.h"
#include "platform/FileRemoval.h"
#include "platform/NativePath.h"
#include "platform/Paths.h"
#include "platform/ScriptedDialogs.h"
#include "protect/FolderListFile.h"
#include "protect/SafeHarbor.h"
#include "results/ResultList.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"
#include "support/TestContext.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// The test context, with the folder-tree removal intercepted as well.
class BrowseContext : public vastel::test::TestContext {
  public:
    std::function<bool(QWidget*, const QByteArray&)> removal;
    bool runFolderRemoval(QWidget* parent, const QByteArray& folder) override {
        return removal ? removal(parent, folder) : TestContext::runFolderRemoval(parent, folder);
    }
};

QByteArrayList rowNames(const TfrmBrowse& w) {
    QByteArrayList out;
    if (!w.model->columns()) return out;
    for (int r = 0; r < w.model->rowCount(); ++r) out << w.model->record(r).name().toByteArray();
    return out;
}

int rowOf(const TfrmBrowse& w, const QByteArray& name) { return int(rowNames(w).indexOf(name)); }

void selectRow(TfrmBrowse& w, int row) {
    w.grid->setCurrentIndex(w.model->index(row, BrowseColumns::Filename));
}

}  // namespace

// The disk and folder browser on fixture folders.
class BrowseWindowTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    std::unique_ptr<BrowseContext> context;
    std::unique_ptr<vastel::test::LocaleScope> english;

    std::unique_ptr<TfrmBrowse> open(const QByteArray& folder, const QByteArray& file = {},
                                     const QString& mask = {}) {
        auto w = std::make_unique<TfrmBrowse>(*context);
        w->setStart(folder, file, mask);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
        return w;
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        english = std::make_unique<vastel::test::LocaleScope>(vastel::test::kEnglishUs);
    }
    void cleanupTestCase() {
        english.reset();
        delete script;
    }
    void init() {
        script->clear();
        context = std::make_unique<BrowseContext>();
        browseSortDirections() = BrowseSortDirections();
    }
    void cleanup() { context.reset(); }

    // Opened at a folder with a file selected and a mask; the texts it shows.
    void opensAtTheFolderWithTheFileAndTheMask() {
        TempTree t;
        t.createFile("f/a.txt", 1'000);
        t.createFile("f/b.doc", 2'500);
        t.createFile("f/c.bin", 10);
        t.createFile("f/.hidden.txt", 10);
        t.createFolder("f/sub");
        auto w = open(t.path("f"), "b.doc", QStringLiteral("*.txt;*.doc"));
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Browse through folders"));
        QCOMPARE(w->currentFolder(), t.path("f"));
        QCOMPARE(w->pnlWild->text(), QStringLiteral("Wildcard : *.txt;*.doc"));
        QCOMPARE(w->pnlWild->toolTip(), QStringLiteral("Click to change the wildcard pattern"));
        QCOMPARE(w->model->headers(), BrowseColumns::headers());
        QCOMPARE(w->model->markColumn(), 4);
        QCOMPARE(rowNames(*w), (QByteArrayList{"a.txt", "b.doc"}));  // Name ascending
        QCOMPARE(w->resultList->currentRow(), 1);
        QCOMPARE(w->pnlScan->text(), QStringLiteral("Number of files : 2"));
        QCOMPARE(w->pnlSize->text(), QStringLiteral("Total size : 3,500"));
        QCOMPARE(w->Label1->text(), QString::fromUtf8(t.path("f")));
        QVERIFY(w->Label1->toolTip().isEmpty());
        QVERIFY(!w->btDeleteFiles->isEnabled());
        QVERIFY(w->Sortbyname1->isChecked());
        QCOMPARE(w->btDeleteDirectory->toolTip(),
                 QStringLiteral("Delete folder and all files/folders below"));
        // The tree is on the folder; its hidden and other sub-folders load on their own.
        const QModelIndex current = w->DirectoryListBox1->currentIndex();
        QVERIFY(current.isValid());
        QCOMPARE(current.data().toString(), QStringLiteral("f"));
    }

    // Marks count the files; a folder change clears them; an empty folder keeps one row.
    void marksLastUntilTheNextRefresh() {
        TempTree t;
        t.createFile("f/a.txt", 1'000);
        t.createFile("f/b.txt", 2'500);
        t.createFolder("f/empty");
        auto w = open(t.path("f"));
        QVERIFY(w);
        selectRow(*w, 0);
        w->btMark->click();
        QCOMPARE(w->resultList->currentRow(), 1);  // on to the next row
        selectRow(*w, 1);
        Q_EMIT w->grid->doubleClicked(w->model->index(1, 4));
        QCOMPARE(w->resultList->currentRow(), 1);  // a double click stays on its row
        QCOMPARE(w->pnlScan->text(), QStringLiteral("Marked for deletion: 2 files 3,500 bytes"));
        QVERIFY(w->btDeleteFiles->isEnabled());
        // The Delete key marks nothing here.
        QTest::keyClick(w->grid, Qt::Key_Delete);
        QCOMPARE(w->resultList->markedCount(), 2);

        w->changeFolder(t.path("f/empty"));
        QCOMPARE(w->resultList->markedCount(), 0);
        QVERIFY(!w->btDeleteFiles->isEnabled());
        QCOMPARE(w->model->rowCount(), 1);
        QVERIFY(w->model->cell(0, BrowseColumns::Filename).isEmpty());
        QCOMPARE(w->pnlScan->text(), QStringLiteral("Number of files : 0"));
        QCOMPARE(w->pnlSize->text(), QStringLiteral("Total size : 0"));
        selectRow(*w, 0);
        w->btMark->click();
        w->gridDblClick();
        QCOMPARE(w->resultList->markedCount(), 0);
        QVERIFY(!w->btDeleteFiles->isEnabled());
    }

    // Names with a tab, a newline and invalid UTF-8 are marked and handed on by their bytes;
    // the file whose name looks the same stays. The browser stays open and re-reads the folder.
    void cleansMarkedFilesByTheirExactBytes() {
        TempTree t;
        const QByteArrayList odd = {"tab\tname", "new\nline", "bad\xff.txt"};
        for (const QByteArray& n : odd) t.createFile("f/" + n, 100);
        t.createFile("f/bad\xef\xbf\xbd.txt", 100);  // displays like bad\xff.txt
        auto w = open(t.path("f"));
        QVERIFY(w);
        QCOMPARE(w->model->rowCount(), 4);
        for (const QByteArray& n : odd) {
            selectRow(*w, rowOf(*w, n));
            w->btMark->click();
        }
        QList<QByteArray> handed;
        QString tag = QStringLiteral("unset");
        qint64 savings = -1;
        context->review = [&](QWidget*, const QList<QByteArray>& paths, const QString& t_,
                              qint64 s) {
            handed = paths;
            tag = t_;
            savings = s;
            for (const QByteArray& p : paths) removeRegularFile(p);
            return true;
        };
        w->btDeleteFiles->click();
        QCOMPARE(handed, (QList<QByteArray>{t.path("f/tab\tname"), t.path("f/new\nline"),
                                            t.path("f/bad\xff.txt")}));
        QVERIFY(tag.isEmpty());
        QCOMPARE(savings, 300);
        QVERIFY(w->isVisible());
        QCOMPARE(rowNames(*w), (QByteArrayList{"bad\xef\xbf\xbd.txt"}));
        QCOMPARE(w->resultList->markedCount(), 0);
        QVERIFY(!w->btDeleteFiles->isEnabled());
    }

    // The first user sort by Size is ascending and a refresh keeps it; Time does not sort.
    void sortsAndKeepsTheDirectionAfterARefresh() {
        TempTree t;
        t.createFile("f/big", 3'000);
        t.createFile("f/mid", 2'000);
        t.createFile("f/small", 1'000);
        auto w = open(t.path("f"));
        QVERIFY(w);
        QHeaderView* header = w->grid->horizontalHeader();
        const auto clickHeader = [&](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, 5));
        };
        clickHeader(BrowseColumns::Size);
        QCOMPARE(rowNames(*w), (QByteArrayList{"small", "mid", "big"}));
        QVERIFY(w->Sortbysize1->isChecked() && !w->Sortbyname1->isChecked());
        clickHeader(BrowseColumns::Time);
        QCOMPARE(rowNames(*w), (QByteArrayList{"small", "mid", "big"}));
        QVERIFY(w->Sortbysize1->isChecked());
        t.createFile("f/tiny", 10);
        w->DirectoryListBox1Change();
        QCOMPARE(rowNames(*w), (QByteArrayList{"tiny", "small", "mid", "big"}));
        w->Sortbysize1->trigger();
        QCOMPARE(rowNames(*w), (QByteArrayList{"big", "mid", "small", "tiny"}));
        w->Sortbyname1->trigger();  // Name was ascending: flipped to descending
        QCOMPARE(rowNames(*w), (QByteArrayList{"tiny", "small", "mid", "big"}));
    }

    // The wildcard panel: a new mask refreshes; ";;" lists nothing; a mask of 300 characters
    // neither breaks the listing nor widens the window.
    void changesTheMask() {
        TempTree t;
        t.createFile("f/a.txt", 1);
        t.createFile("f/b.doc", 1);
        t.createFile("f/c.bin", 1);
        auto w = open(t.path("f"));
        QVERIFY(w);
        const int width = w->width();
        QStringList asked;
        std::optional<QString> answer = QStringLiteral("*.txt;*.doc");
        w->askWildcard = [&](const QString& mask) {
            asked << mask;
            return answer;
        };
        w->pnlWild->click();
        QCOMPARE(asked, QStringList{QStringLiteral("*.*")});
        QCOMPARE(rowNames(*w), (QByteArrayList{"a.txt", "b.doc"}));
        QCOMPARE(w->pnlWild->text(), QStringLiteral("Wildcard : *.txt;*.doc"));
        answer = std::nullopt;  // cancelled: as it was
        w->pnlWild->click();
        QCOMPARE(w->mask(), QStringLiteral("*.txt;*.doc"));
        answer = QStringLiteral(";;");
        w->pnlWild->click();
        QCOMPARE(w->model->rowCount(), 1);
        QCOMPARE(w->pnlScan->text(), QStringLiteral("Number of files : 0"));
        answer = QStringLiteral("*.zz;").repeated(59) + QStringLiteral("*.bin");
        w->pnlWild->click();
        QCOMPARE(rowNames(*w), (QByteArrayList{"c.bin"}));
        QCOMPARE(w->wildcardText(), browseWildcardText(*answer));
        QCoreApplication::processEvents();
        QCOMPARE(w->width(), width);
    }

    // Closing with marks asks; No keeps the window open.
    void asksBeforeClosingWithMarks() {
        TempTree t;
        t.createFile("f/a.txt", 1);
        auto w = open(t.path("f"));
        QVERIFY(w);
        selectRow(*w, 0);
        w->btMark->click();
        script->answerQuestion(Answer::No);
        w->btClose->click();
        QVERIFY(w->isVisible());
        QCOMPARE(script->questions(), QStringList{browseExitQuestion(1)});
        script->answerQuestion(Answer::Yes);
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
    }

    // Delete Folder: the home folder is a root; a folder goes to the removal with its parent
    // current, and is current again when the removal was cancelled.
    void removesAFolderTree() {
        TempTree t;
        t.createFile("f/sub/x.txt", 1);
        t.createFile("f/y.txt", 1);
        QByteArrayList asked;
        QByteArrayList currentDuring;
        bool removes = false;
        context->removal = [&](QWidget* parent, const QByteArray& folder) {
            asked << folder;
            currentDuring << static_cast<TfrmBrowse*>(parent)->currentFolder();
            if (removes) TempTree::removeTree(folder);
            return removes;
        };
        QVERIFY(QDir().mkpath(homeFolder()));
        auto w = open(nativePath(homeFolder()));
        QVERIFY(w);
        w->btDeleteDirectory->click();
        QCOMPARE(script->messages(), QStringList{QLatin1String(kBrowseRootRefusal)});
        QVERIFY(asked.isEmpty());

        w->changeFolder(t.path("f/sub"));
        w->btDeleteDirectory->click();
        QCOMPARE(asked, QByteArrayList{t.path("f/sub")});
        QCOMPARE(currentDuring, QByteArrayList{t.path("f")});
        QCOMPARE(w->currentFolder(), t.path("f/sub"));

        removes = true;
        w->btDeleteDirectory->click();
        QCOMPARE(w->currentFolder(), t.path("f"));
        QCOMPARE(rowNames(*w), QByteArrayList{"y.txt"});
        QCOMPARE(script->messages().size(), 1);
    }

    // On a link to a folder, Delete Folder removes the link after a question, never the target.
    void removesALinkToAFolderAsALink() {
        TempTree t;
        t.createFile("target/keep.txt", 1);
        t.createSymlink("f/link", t.path("target"));
        bool removalOpened = false;
        context->removal = [&](QWidget*, const QByteArray&) { return removalOpened = true; };
        auto w = open(t.path("f/link"));
        QVERIFY(w);
        QCOMPARE(w->currentFolder(), t.path("f/link"));
        QVERIFY(rowNames(*w).isEmpty());  // a link is not followed
        QVERIFY(w->pnlProblem->isVisible());
        script->answerQuestion(Answer::Yes);
        w->btDeleteDirectory->click();
        QCOMPARE(script->questions().size(), 1);
        QVERIFY(!removalOpened);
        QVERIFY(!QFileInfo(QFile::decodeName(t.path("f/link"))).isSymLink());
        QVERIFY(QFileInfo::exists(QFile::decodeName(t.path("target/keep.txt"))));
        QCOMPARE(w->currentFolder(), t.path("f"));
    }

    // A folder that vanishes while shown gives way to its nearest parent.
    void aVanishedFolderGivesWayToItsParent() {
        TempTree t;
        t.createFile("f/keep.txt", 1);
        t.createFile("f/a/b/x.txt", 1);
        auto w = open(t.path("f/a/b"));
        QVERIFY(w);
        QCOMPARE(rowNames(*w), QByteArrayList{"x.txt"});
        TempTree::removeTree(t.path("f/a"));
        // The tree notices on its own; a refresh does in any case.
        QTRY_COMPARE_WITH_TIMEOUT(w->currentFolder(), t.path("f"), 3000);
        w->DirectoryListBox1Change();
        QCOMPARE(w->currentFolder(), t.path("f"));
        QCOMPARE(rowNames(*w), QByteArrayList{"keep.txt"});
        QVERIFY(!w->pnlProblem->isVisible());
    }

    // A Safe Harbor folder's label is highlighted with its hint.
    void highlightsASafeHarborFolder() {
        TempTree t;
        t.createFile("kept/x.txt", 1);
        t.createFile("free/x.txt", 1);
        SafeHarbor& harbor = context->safeHarbor();
        harbor.sources.folderListFile = QFile::decodeName(t.path("folders.txt"));
        harbor.sources.searchPath = QByteArrayList{};
        QVERIFY(saveFolderListFile(harbor.sources.folderListFile, {t.path("kept/")}));
        harbor.GetSearchPath();
        auto w = open(t.path("kept"));
        QVERIFY(w);
        QCOMPARE(w->Label1->toolTip(), QStringLiteral("Folder is ON the Non-Deletion List"));
        QCOMPARE(w->Label1->backgroundRole(), QPalette::Highlight);
        w->changeFolder(t.path("free"));
        QVERIFY(w->Label1->toolTip().isEmpty());
        QCOMPARE(w->Label1->backgroundRole(), QPalette::Window);
    }

    // The program's context opens the browser modally; it keeps its placement.
    void theContextOpensItAndItKeepsItsPlacement() {
        TempTree t;
        t.createFile("f/a.txt", 1);
        t.createFile("f/b.txt", 1);
        QByteArray folder, selected;
        QString mask;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<TfrmBrowse*>(QApplication::activeModalWidget());
            if (!w) return;
            folder = w->currentFolder();
            selected = w->model->record(w->resultList->currentRow()).name().toByteArray();
            mask = w->mask();
            w->reject();
        });
        context->ProgramContext::openBrowser(nullptr, t.path("f"), "b.txt",
                                             QStringLiteral("*.txt"));
        QCOMPARE(folder, t.path("f"));
        QCOMPARE(selected, QByteArray("b.txt"));
        QCOMPARE(mask, QStringLiteral("*.txt"));
        QFile placement(secondaryKeyFile(QStringLiteral("vastel.ini")));
        QVERIFY(placement.open(QIODevice::ReadOnly));
        QVERIFY(placement.readAll().contains("frmBrowse"));
    }
};

QTEST_MAIN(BrowseWindowTest)
#include "BrowseWindowTest.moc"
