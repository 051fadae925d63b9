#include "app/TfrmMain.h"
#include "core/CountedList.h"
#include "core/GridModel.h"
#include "core/SettingsStore.h"
#include "core/WindowPlacement.h"
#include "finders/TempTypes.h"
#include "finders/TfrmClean.h"
#include "platform/ScriptedDialogs.h"
#include "protect/FileTypeRows.h"
#include "results/ResultList.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"
#include "widgets/DriveList.h"

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

QStringList menuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            texts << QStringLiteral("-");
        } else if (a->menu()) {
            QStringList items;
            for (const QAction* sub : a->menu()->actions()) items << sub->text();
            texts << a->text() + QLatin1Char('[') + items.join(QLatin1Char('|')) + QLatin1Char(']');
        } else {
            texts << a->text();
        }
    }
    return texts;
}

}  // namespace

// The quick-clean window on fixture folders.
class CleanWindowTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    TempTree* tree = nullptr;
    std::unique_ptr<vastel::test::TestContext> context;
    std::unique_ptr<vastel::test::LocaleScope> english;

    std::unique_ptr<TfrmClean> open(const QByteArrayList& folders) {
        QByteArrayList absolute;
        for (const QByteArray& f : folders) absolute << tree->path(f);
        writeExtraFolders(absolute);
        auto w = std::make_unique<TfrmClean>(*context);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
        for (int i = 0; i < w->pckDrive->count(); ++i) {
            QListWidgetItem* item = w->pckDrive->item(i);
            item->setCheckState(absolute.contains(driveListTarget(item).root) ? Qt::Checked
                                                                              : Qt::Unchecked);
        }
        return w;
    }
    static QByteArrayList paths(const TfrmClean& w) {
        QByteArrayList p;
        for (int r = 0; r < w.model->rowCount(); ++r) p << w.model->path(r);
        return p;
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        context = std::make_unique<vastel::test::TestContext>();
        english = std::make_unique<vastel::test::LocaleScope>(vastel::test::kEnglishUs);
        tree = new TempTree;
        tree->createFile("temp/small.tmp", 100);
        tree->createFile("temp/.hidden.TMP", 300);
        tree->createFile("temp/odd\tname\n\xff.bak", 200);
        tree->createFile("temp/keep.txt", 50);
        tree->createFile("temp/.cache/inside.tmp", 10);
        QVERIFY(::mkfifo(tree->path("temp/pipe.tmp").constData(), 0644) == 0);
        tree->createFile("none/keep.txt", 5);
    }
    void cleanupTestCase() {
        delete tree;
        english.reset();
        context.reset();
        delete script;
    }
    void init() {
        script->clear();
        QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") +
                      QStringLiteral("/Tessivo Corporation/Vastel/3.0.ini"));
    }

    void showsItsControlsAndTheBuiltInTypes() {
        auto w = open({"temp"});
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Find and delete temporary files"));
        QCOMPARE(w->btScan->toolTip(), QStringLiteral("Start scanning for temporary files"));
        // Without a saved "TempFiles" list: the thirteen built-in types, sorted, all selected.
        QCOMPARE(w->PickList1->count(), 13);
        QCOMPARE(w->selectedTypes().size(), 13);
        QVERIFY(w->PickList1->item(0)->text().startsWith(QStringLiteral("*.$$$\t")));
        for (QPushButton* b :
             {w->btOptions, w->btBrowse, w->btDetails, w->btAbort, w->btMark, w->btDelete})
            QVERIFY(b->isHidden());
        QCOMPARE(
            menuTexts(w->PopupMenu1),
            QStringList({"Details", "Highlight folders on Safe Harbor list", "-",
                         "Add a folder to the list of drives", "-",
                         "Sort[&Size|&Date|&Access date|&Name|&Type]", "Mark[Mark all|Unmark All]",
                         "Resize[Shrink top panel|Restore top panel]", "-", "Run", "View", "-",
                         "Print", "Clipboard[Filenames only|Entire grid separated by tabs]"}));
        QCOMPARE(menuTexts(w->PopupMenu2), QStringList({"Select All", "Deselect All"}));
    }

    void scanListsHiddenFilesAndAlternatesTheSizeOrder() {
        auto w = open({"temp"});
        QVERIFY(w);
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        const QByteArrayList first = paths(*w);
        // Hidden files are found; the FIFO and the hidden folder's file are not.
        QCOMPARE(first, (QByteArrayList{tree->path("temp/.hidden.TMP"),
                                        tree->path("temp/odd\tname\n\xff.bak"),
                                        tree->path("temp/small.tmp")}));
        QCOMPARE(w->pnlSel->currentMessage(), QStringLiteral("3 tempfiles found"));
        QVERIFY(w->btMark->isVisible() && w->btDelete->isVisible() && !w->btDelete->isEnabled());
        QCOMPARE(w->model->cell(0, 0), QStringLiteral("300"));
        // The next scan ends the other way round.
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QCOMPARE(paths(*w), (QByteArrayList{first[2], first[1], first[0]}));
        // A click on the "Time" header sorts nothing.
        w->grid->horizontalHeader()->sectionClicked(2);
        QCOMPARE(paths(*w), (QByteArrayList{first[2], first[1], first[0]}));
        QVERIFY(script->messages().isEmpty());
    }

    void startNeedsASelectedTypeAndAddDeleteReadsTheListAgain() {
        auto w = open({"temp"});
        QVERIFY(w);
        w->PopupMenu2->actions()[1]->trigger();  // Deselect All
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QCOMPARE(script->messages(), QStringList{"Select at least one file extension"});
        QCOMPARE(w->model->rowCount(), 0);
        // The editor saves a list of its own; afterwards nothing is selected.
        w->PopupMenu2->actions()[0]->trigger();
        bool edited = false;
        w->editTypes = [&](QWidget*) {
            edited = true;
            SettingsStore store;
            writeCountedList(store, kTemporaryTypesSection, {QStringLiteral("*.bak")});
        };
        w->btEdit->click();
        QVERIFY(edited);
        QCOMPARE(w->PickList1->count(), 1);
        QVERIFY(w->selectedTypes().isEmpty());
        w->PickList1->item(0)->setSelected(true);
        script->clear();
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QCOMPARE(paths(*w), QByteArrayList{tree->path("temp/odd\tname\n\xff.bak")});
        // Nothing found: the message, and the result buttons stay hidden.
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        script->clear();
        auto none = open({"none"});
        QTest::mouseClick(none->btScan, Qt::LeftButton);
        QCOMPARE(script->messages(), QStringList{"No files found."});
        QVERIFY(none->btMark->isHidden() && none->btOptions->isHidden());
    }

    void marksGoToTheReviewByTheirExactBytes() {
        auto w = open({"temp"});
        QVERIFY(w);
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        const QByteArray odd = tree->path("temp/odd\tname\n\xff.bak");
        const int row = int(paths(*w).indexOf(odd));
        w->grid->selectRow(row);
        w->resultList->DeleteAllFiles();
        QVERIFY(w->btDelete->isEnabled());
        QCOMPARE(w->pnlSel->currentMessage(), QStringLiteral("1 files 200 bytes"));
        QList<QByteArray> handed;
        QString tag;
        qint64 savings = 0;
        bool ran = false;
        context->review = [&](QWidget*, const QList<QByteArray>& p, const QString& t, qint64 s) {
            handed = p;
            tag = t;
            savings = s;
            return ran;
        };
        w->btDelete->click();
        QCOMPARE(handed, QList<QByteArray>{odd});
        QCOMPARE(tag, QStringLiteral("TempClean"));
        QCOMPARE(savings, qint64(200));
        QVERIFY(w->isVisible());  // cancelled: the window stays with its marks
        QVERIFY(w->model->isMarked(row));
        // The clipboard's file names are the paths.
        w->resultList->Filenamesonly1->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n")).size(), 3);
        // A new scan starts without marks.
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QCOMPARE(w->resultList->markedCount(), 0);
        QVERIFY(!w->btDelete->isEnabled());
        w->grid->selectRow(0);
        w->resultList->DeleteAllFiles();
        ran = true;
        w->btDelete->click();
        QVERIFY(!w->isVisible());  // a removal ran: the window closes
        context->review = nullptr;
    }

    void printTitleBrowseAndPlacement() {
        QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") +
                      QStringLiteral("/Tessivo Corporation/Vastel/vastel.ini"));
        const QRect placed(31, 43, 960, 640);
        QByteArray folder, file;
        QString mask = QStringLiteral("unset");
        context->browser = [&](QWidget*, const QByteArray& f, const QByteArray& n,
                               const QString& m) {
            folder = f;
            file = n;
            mask = m;
        };
        {
            auto w = open({"temp"});
            QVERIFY(w);
            QCOMPARE(w->printTitle(), QStringLiteral("Temporary files on drive(s) ") +
                                          QString::fromUtf8(tree->path("temp")) + QLatin1Char(' '));
            QTest::mouseClick(w->btScan, Qt::LeftButton);
            w->grid->selectRow(2);
            w->btBrowse->click();
            QCOMPARE(folder, tree->path("temp"));
            QCOMPARE(file, QByteArray("small.tmp"));
            QVERIFY(mask.isEmpty());
            w->setGeometry(placed);
        }
        context->browser = nullptr;
        // Shared with the file-hog finder: key "vastel.ini", value "frmMods".
        const std::optional<WindowPlacement> saved =
            readPlacement("vastel.ini", programSectionName(), "frmMods");
        QVERIFY(saved);
        QCOMPARE(saved->normalRect(), placed);
        auto again = open({"temp"});
        QCOMPARE(again->geometry(), placed);
    }

    void launcherOpensTheWindowModally() {
        vastel::test::TestContext program;
        TfrmMain launcher(program);
        program.safeHarbor().safeHarborMissing = false;
        QPointer<TfrmClean> seen;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<TfrmClean*>(QApplication::activeModalWidget());
            if (!seen) return;
            modal = seen->isModal() && seen->parentWidget() == &launcher;
            seen->btClose->click();
        });
        launcher.btCleanClick();
        QVERIFY(modal);
        QVERIFY(seen.isNull());
    }
};

VASTEL_QTEST_MAIN(CleanWindowTest)
#include "CleanWindowTest.moc"
