#include "app/TfrmMain.h"
#include "core/GridModel.h"
#include "core/Utility.h"
#include "core/WindowPlacement.h"
#include "finders/ContentGroups.h"
#include "finders/DupFinder.h"
#include "finders/TfrmDup.h"
#include "finders/TfrmDupCompare.h"
#include "platform/ScriptedDialogs.h"
#include "protect/FolderListFile.h"
#include "protect/SafeHarbor.h"
#include "results/PrintIt.h"
#include "results/ResultGridDelegate.h"
#include "results/ResultList.h"
#include "results/ScanSession.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"
#include "widgets/DriveList.h"
#include "widgets/NumberSpin.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using namespace vastel;
using vastel::test::TempTree;

namespace {

constexpr time_t kStamp = 1'600'000'000;  // September 2020

// The menu as text: separators as "-", submenus as "Title[item|item]".
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

// A row's path below the fixture root ("dups/a/readme.txt").
QString relative(const TempTree& tree, const QByteArray& path) {
    return QString::fromUtf8(path.mid(tree.root().size() + 1));
}

}  // namespace

// The duplicate and file-hog finder window in both modes, scanning fixture folders.
class DupWindowTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    TempTree* tree = nullptr;
    std::unique_ptr<vastel::test::TestContext> context;
    std::unique_ptr<vastel::test::LocaleScope> english;

    // The window in a mode with only the given folders of the fixture checked; the real
    // drives stay in the list, unchecked. It runs in the fixture's context unless given one.
    std::unique_ptr<TfrmDup> open(bool duplicates, const QByteArrayList& folders,
                                  AppContext* in = nullptr) {
        AppContext& program = in ? *in : *context;
        QByteArrayList absolute;
        for (const QByteArray& f : folders) absolute << tree->path(f);
        writeExtraFolders(absolute);
        program.duplicateMode = duplicates;
        auto w = std::make_unique<TfrmDup>(program);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
        for (int i = 0; i < w->pckDrive->count(); ++i) {
            QListWidgetItem* item = w->pckDrive->item(i);
            item->setCheckState(absolute.contains(driveListTarget(item).root) ? Qt::Checked
                                                                              : Qt::Unchecked);
        }
        return w;
    }

    static QStringList rowPaths(const TempTree& t, const TfrmDup& w) {
        QStringList paths;
        for (int r = 0; r < w.model->rowCount(); ++r) paths << relative(t, w.model->path(r));
        return paths;
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        context = std::make_unique<vastel::test::TestContext>();
        english = std::make_unique<vastel::test::LocaleScope>(vastel::test::kEnglishUs);
        tree = new TempTree;
        // Duplicates: two names in two spellings each, one file of a size only it has, and
        // small files below the bound.
        tree->createFile("dups/a/readme.txt", 300'000, kStamp, kStamp);
        tree->createFile("dups/b/README.TXT", 300'000, kStamp, kStamp);
        tree->createFile("dups/a/same.dat", 400'000, kStamp, kStamp);
        tree->createFile("dups/c/same.dat", 500'000, kStamp, kStamp);
        tree->createFile("dups/c/lonely.bin", 400'000, kStamp, kStamp);
        tree->createFile("dups/a/small.txt", 1'000, kStamp, kStamp);
        tree->createFile("dups/b/small.txt", 1'000, kStamp, kStamp);
        // File hogs around the bounds of 250 KB and 100 KB.
        for (qint64 size : {255'999, 256'000, 102'399, 102'400, 102'401, 1'000'000})
            tree->createFile("sizes/f" + QByteArray::number(size), size, kStamp, kStamp);
        tree->createFolder("empty");
        tree->createFile("harbor/kept/x.dat", 300'000, kStamp, kStamp);
        tree->createFile("harbor/free/x.dat", 300'000, kStamp, kStamp);
        // Identical content: a pair under two names, a file of their size that differs in its
        // last byte, and three large copies, compared last since groups go by size.
        QByteArray text(20'000, 't');
        tree->createFileWith("content/small/one.txt", text, kStamp, kStamp);
        tree->createFileWith("content/other/renamed.dat", text, kStamp + 86'400, kStamp);
        text.back() = 'u';
        tree->createFileWith("content/small/near.txt", text, kStamp, kStamp);
        for (const char* name : {"content/big/a.iso", "content/big/b.iso", "content/copy/c.iso"})
            tree->createFile(name, 4 << 20, kStamp, kStamp);
    }
    void cleanupTestCase() {
        delete tree;
        english.reset();
        context.reset();
        delete script;
    }
    void init() { script->clear(); }

    void showsTheControlsOfItsMode_data() {
        QTest::addColumn<bool>("duplicates");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("startHint");
        QTest::addColumn<QStringList>("headers");
        QTest::newRow("duplicates")
            << true << "Find and delete duplicate files"
            << "Duplicates on file name only"
            << QStringList{"Filename", "Size", "Modified", "Time", "Access", "Folder", "Type"};
        QTest::newRow("file hogs")
            << false << "Find and delete file hogs"
            << "Start scanning for file hogs"
            << QStringList{"Size", "Modified", "Time", "Access", "FileName", "Type"};
    }
    void showsTheControlsOfItsMode() {
        QFETCH(bool, duplicates);
        QFETCH(QString, caption);
        QFETCH(QString, startHint);
        QFETCH(QStringList, headers);
        auto w = open(duplicates, {"dups"});
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->btScan->toolTip(), startHint);
        QVERIFY(w->btScan->isDefault());
        QCOMPARE(w->model->headers(), headers);
        QCOMPARE(w->model->markColumn(), duplicates ? 0 : 4);
        QCOMPARE(w->cbDup->isVisible(), duplicates);
        QCOMPARE(w->lblDup->isVisible(), duplicates);
        QCOMPARE(w->lblDup->text(), QStringLiteral("Duplicates matching on : "));
        QCOMPARE(w->cbDup->currentText(), QStringLiteral("Filename only"));
        QCOMPARE(w->resultList->Sort1->menuAction()->isVisible(), !duplicates);

        for (const char* name :
             {"btAbort", "btMark", "btDelete", "btOptions", "btBrowse", "btDetails", "btCompare"})
            QVERIFY2(w->findChild<QPushButton*>(name)->isHidden(), name);
        QVERIFY(w->btScan->isVisible() && w->btScan->isEnabled());
        QVERIFY(w->btClose->isVisible() && w->btClose->isEnabled());
        QCOMPARE(w->btOptions->toolTip(), QStringLiteral("Right click on grid for same options"));
        QCOMPARE(w->cbWildCard->toolTip(),
                 QStringLiteral("Wildcard pattern for matching file types"));

        // The size choice: Larger by default, 250 KB, the second number only for In between.
        QVERIFY(w->rbLarger->isChecked());
        QCOMPARE(w->num1->value(), qint64(250));
        QCOMPARE(w->num2->value(), qint64(250));
        QCOMPARE(w->cbKB1->currentText(), QStringLiteral("KB"));
        QVERIFY(w->num2->isHidden() && w->lblAnd->isHidden());
        w->rbBetween->click();
        QVERIFY(w->num2->isVisible() && w->lblAnd->isVisible());
        QCOMPARE(w->lblAnd->text(), QStringLiteral("and"));
        w->rbSmaller->click();
        QVERIFY(w->num2->isHidden() && w->lblAnd->isHidden());

        // The pattern box starts with "*.*"; the label names the chosen type.
        QCOMPARE(w->cbWildCard->itemText(0), QStringLiteral("*.*"));
        QVERIFY(w->cbWildCard->count() > 1);
        QCOMPARE(w->lblWild->text(), QStringLiteral("All files"));
        w->cbWildCard->setEditText(QStringLiteral("*.txt"));
        QCOMPARE(w->lblWild->text(), fileTypeText(QStringLiteral(".txt")));
        w->cbWildCard->setEditText(QStringLiteral("*.*"));
        QCOMPARE(w->lblWild->text(), QStringLiteral("All files"));

        QCOMPARE(
            menuTexts(w->PopupMenu1),
            (QStringList{"Details", "Highlight folders on Safe Harbor list", "-",
                         "Add a folder to the list of drives", "-",
                         "Sort[&Size|&Date|&Access Date|&Name|&Type]", "Mark[Mark all|Unmark all]",
                         "Resize[Shrink top panel|Restore top panel]", "-", "Open", "View", "-",
                         "Print", "Clipboard[Filenames only|Entire grid separated by tabs]"}));
        QVERIFY(w->Highlightfolders1->isChecked());
        QVERIFY(!w->resultList->Grow1->isEnabled());
        QVERIFY(w->findChild<QAction*>("Sortbysize1")->isChecked());
        QVERIFY(w->findChild<QAction*>("Addafoldertothelistofdrives1"));

        // The window cannot be dragged smaller than its controls.
        QVERIFY(w->minimumWidth() > 0 && w->minimumWidth() <= w->width());
        QVERIFY(w->minimumHeight() > w->Panel1->height());
    }

    void numberBoxTakesTenDigits() {
        NumberSpin spin;
        spin.setValue(5'000'000'000);  // beyond a 32-bit spin box
        QCOMPARE(spin.value(), 5'000'000'000);
        QCOMPARE(spin.text(), QStringLiteral("5000000000"));
        spin.setValue(NumberSpin::kMaximum);
        spin.stepBy(1);
        QCOMPARE(spin.value(), NumberSpin::kMaximum);
        spin.setValue(0);
        spin.stepBy(-1);
        QCOMPARE(spin.value(), qint64(0));
        QString text = QStringLiteral("12a");
        int pos = 0;
        QCOMPARE(spin.validate(text, pos), QValidator::Invalid);
        text = QStringLiteral("99999999999");  // eleven digits
        QCOMPARE(spin.validate(text, pos), QValidator::Invalid);
        spin.show();
        spin.findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(&spin, QStringLiteral("3000000000"));
        QCOMPARE(spin.value(), 3'000'000'000);
        spin.findChild<QLineEdit*>()->clear();  // an emptied box shows its number again when left
        Q_EMIT spin.editingFinished();
        QCOMPARE(spin.text(), QStringLiteral("3000000000"));
    }

    void secondNumberBelowTheFirstIsRefused() {
        auto w = open(false, {"sizes"});
        QVERIFY(w);
        w->rbBetween->click();
        w->num1->setValue(300);
        w->num2->setValue(200);
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QCOMPARE(script->messages(),
                 QStringList{"The second number must be larger or equal than the first number"});
        QCOMPARE(script->records()[0].beep, Beep::Exclamation);
        QCOMPARE(w->model->rowCount(), 0);
        QVERIFY(w->pnlSel->currentMessage().isEmpty());  // nothing was walked
    }

    void duplicateScanGroupsAndShades_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<QStringList>>("groups");  // each group sorted
        QTest::newRow("Filename only")
            << 0
            << QList<QStringList>{{"dups/a/readme.txt", "dups/b/README.TXT"},
                                  {"dups/a/same.dat", "dups/c/same.dat"}};
        QTest::newRow("Size only") << 3
                                   << QList<QStringList>{{"dups/a/readme.txt", "dups/b/README.TXT"},
                                                         {"dups/a/same.dat", "dups/c/lonely.bin"}};
    }
    void duplicateScanGroupsAndShades() {
        QFETCH(int, mode);
        QFETCH(QList<QStringList>, groups);
        auto w = open(true, {"dups"});
        QVERIFY(w);
        w->cbDup->setCurrentIndex(mode);
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QVERIFY(script->messages().isEmpty());
        QCOMPARE(w->matchMode, mode);
        QCOMPARE(w->pnlSel->currentMessage(), QStringLiteral("4 duplicates found"));

        // Groups are runs of one shade; neighbouring groups have the other shade.
        QList<QStringList> found;
        QList<GridShade> shades;
        for (int r = 0; r < w->model->rowCount(); ++r) {
            if (r == 0 || w->model->shade(r) != w->model->shade(r - 1)) {
                found.append(QStringList());
                shades.append(w->model->shade(r));
            }
            found.last() << relative(*tree, w->model->path(r));
            // The cells show the row's own file.
            const QByteArray& path = w->model->path(r);
            QCOMPARE(w->model->cell(r, 0), QString::fromUtf8(path.mid(path.lastIndexOf('/') + 1)));
            QCOMPARE(w->model->cell(r, 5), QString::fromUtf8(path.left(path.lastIndexOf('/'))));
        }
        for (QStringList& g : found) g.sort();
        QCOMPARE(found, groups);
        QCOMPARE(shades, (QList<GridShade>{GridShade::A, GridShade::B}));
        QCOMPARE(w->model->cell(0, 1), QStringLiteral("300,000"));

        // Idle again with a result: Mark and Clean? shown (Clean? waits for a mark).
        for (QPushButton* b : {w->btMark, w->btDelete, w->btOptions, w->btDetails})
            QVERIFY2(b->isVisible(), qPrintable(b->objectName()));
        QVERIFY(!w->btDelete->isEnabled());
        QVERIFY(w->btBrowse->isVisible());
        QVERIFY(w->btAbort->isHidden());
        QVERIFY(w->btCompare->isVisible());  // P&airs: duplicate mode only
        QVERIFY(w->btScan->isEnabled() && w->pckDrive->isEnabled() && w->cbDup->isEnabled());

        // A mark enables Clean?; a new scan starts without marks.
        w->btMark->click();
        QCOMPARE(w->resultList->markedCount(), 1);
        QVERIFY(w->btDelete->isEnabled());
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QCOMPARE(w->resultList->markedCount(), 0);
        QCOMPARE(w->model->rowCount(), 4);
        QVERIFY(!w->model->isMarked(0));
    }

    // The content comparison runs from Start like the other modes. The status bar shows its
    // stage and bytes read, taken on the window's thread while the comparison reads on its own.
    void identicalContentGroupsEqualBytes() {
        auto w = open(true, {"content"});
        QVERIFY(w);
        QCOMPARE(w->cbDup->count(), 8);
        QCOMPARE(w->cbDup->itemText(6), QStringLiteral("Type and modify date/time"));
        QCOMPARE(w->cbDup->itemText(7), QStringLiteral("Identical content"));
        w->cbDup->setCurrentIndex(7);
        w->num1->setValue(0);

        QStringList shown;
        connect(w->pnlSel, &QStatusBar::messageChanged, w.get(),
                [&](const QString& text) { shown << text; });
        std::atomic<bool> confirmingShown{false};
        connect(w->pnlSel, &QStatusBar::messageChanged, w.get(), [&](const QString& text) {
            if (text.startsWith(QStringLiteral("Comparing contents: confirming, ")))
                confirmingShown = true;
        });
        std::atomic<qint64> confirmBytes{-1};
        w->contentProgressHook = [&](ContentStage stage, qint64 bytes) {
            if (stage != ContentStage::Confirm || confirmBytes >= 0) return;
            confirmBytes = bytes;
            // Held until the window has shown the stage, so that a fast run cannot skip it.
            const QDeadlineTimer safety(10'000);
            while (!confirmingShown && !safety.hasExpired())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QVERIFY(script->messages().isEmpty());
        QCOMPARE(w->matchMode, 7);

        QList<QStringList> groups;
        for (int r = 0; r < w->model->rowCount(); ++r) {
            if (r == 0 || w->model->shade(r) != w->model->shade(r - 1))
                groups.append(QStringList());
            groups.last() << relative(*tree, w->model->path(r));
        }
        for (QStringList& g : groups) g.sort();
        QCOMPARE(groups, (QList<QStringList>{
                             {"content/other/renamed.dat", "content/small/one.txt"},
                             {"content/big/a.iso", "content/big/b.iso", "content/copy/c.iso"}}));
        QCOMPARE(w->model->shade(0), GridShade::A);
        QCOMPARE(w->model->shade(2), GridShade::B);
        QCOMPARE(w->pnlSel->currentMessage(), QStringLiteral("5 duplicates found"));

        // Past the full reads of the large files: the count has thousands separators.
        QVERIFY(confirmBytes > 12'000'000);
        QVERIFY2(shown.contains(QStringLiteral("Comparing contents: confirming, ") +
                                thousandsText(confirmBytes) + QStringLiteral(" bytes read")),
                 qPrintable(shown.join(QLatin1Char('|'))));
        QVERIFY(w->btCompare->isVisible() && w->btScan->isEnabled() && w->btAbort->isHidden());
    }

    // Abort during the byte comparison reaches the comparison's thread: it reads nothing
    // more, and the grid lists the groups confirmed before it.
    void abortStopsTheContentComparison() {
        auto w = open(true, {"content"});
        QVERIFY(w);
        w->cbDup->setCurrentIndex(7);
        w->num1->setValue(0);
        TfrmDup* window = w.get();
        std::atomic<int> reports{0};
        std::atomic<qint64> bytesAtAbort{-1}, lastBytes{-1};
        std::atomic<bool> abortSeen{false};
        w->contentProgressHook = [&](ContentStage stage, qint64 bytes) {
            lastBytes = bytes;
            if (stage != ContentStage::Confirm) return;
            const int report = reports++;
            if (report == 0) {
                // Entering the stage: a pause lets the engine report again after its next
                // block, which is the small pair's only block.
                std::this_thread::sleep_for(std::chrono::milliseconds(80));
            } else if (report == 1) {
                bytesAtAbort = bytes;
                QMetaObject::invokeMethod(
                    window->btAbort, [window] { window->btAbort->click(); }, Qt::QueuedConnection);
                const QDeadlineTimer safety(10'000);
                while (!window->contentStop().requested() && !safety.hasExpired())
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                abortSeen = window->contentStop().requested();
            }
        };
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QVERIFY(abortSeen);
        QCOMPARE(script->messages(), QStringList{ScanSession::kAbortedWarning});
        QCOMPARE(lastBytes.load(), bytesAtAbort.load());  // not one block of the large files
        QStringList rows = rowPaths(*tree, *w);
        rows.sort();
        QCOMPARE(rows, (QStringList{"content/other/renamed.dat", "content/small/one.txt"}));
        QCOMPARE(w->pnlSel->currentMessage(), QStringLiteral("2 duplicates found"));

        // Idle again: a new Start compares everything.
        QVERIFY(!w->session->scanning());
        QVERIFY(w->btAbort->isHidden());
        QVERIFY(w->btScan->isEnabled() && w->cbDup->isEnabled() && w->btClose->isEnabled());
        QVERIFY(w->btMark->isVisible() && w->btCompare->isVisible());
        w->contentProgressHook = nullptr;
        script->clear();
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QVERIFY(script->messages().isEmpty());
        QCOMPARE(w->model->rowCount(), 5);
    }

    void fileHogsFollowTheSizeCondition_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("second");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("listed");  // in grid order
        QTest::newRow("larger or equal to 250 KB")
            << "rbLarger" << qint64(250) << qint64(0) << "KB"
            << QStringList{"sizes/f1000000", "sizes/f256000"};
        QTest::newRow("smaller or equal to 100 KB")
            << "rbSmaller" << qint64(100) << qint64(0) << "KB"
            << QStringList{"sizes/f102400", "sizes/f102399"};
        QTest::newRow("in between 100 and 100 KB")
            << "rbBetween" << qint64(100) << qint64(100) << "KB" << QStringList{"sizes/f102400"};
        QTest::newRow("in between, bytes")
            << "rbBetween" << qint64(102'400) << qint64(256'000) << "bytes"
            << QStringList{"sizes/f256000", "sizes/f255999", "sizes/f102401", "sizes/f102400"};
        // Bounds past 32 bits: 4,194,304 KB is 4 GiB.
        QTest::newRow("larger than 4 GiB")
            << "rbLarger" << qint64(4'194'304) << qint64(0) << "KB" << QStringList{};
        QTest::newRow("smaller than 4 GiB")
            << "rbSmaller" << qint64(4'194'304) << qint64(0) << "KB"
            << QStringList{"sizes/f1000000", "sizes/f256000", "sizes/f255999",
                           "sizes/f102401",  "sizes/f102400", "sizes/f102399"};
    }
    void fileHogsFollowTheSizeCondition() {
        QFETCH(QString, choice);
        QFETCH(qint64, first);
        QFETCH(qint64, second);
        QFETCH(QString, unit);
        QFETCH(QStringList, listed);
        auto w = open(false, {"sizes"});
        QVERIFY(w);
        w->findChild<QRadioButton*>(choice)->click();
        w->num1->setValue(first);
        w->num2->setValue(second);
        w->cbKB1->setCurrentText(unit);
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QCOMPARE(rowPaths(*tree, *w), listed);
        if (listed.isEmpty()) {
            QCOMPARE(script->messages(), QStringList{"No files found."});
        } else {
            QVERIFY(script->messages().isEmpty());
            QCOMPARE(w->pnlSel->currentMessage(),
                     QString::number(listed.size()) + QStringLiteral(" file hogs found"));
        }
        for (int r = 0; r < w->model->rowCount(); ++r)
            QCOMPARE(w->model->shade(r), GridShade::None);
    }

    // Browse shows the current row's file in the browser, with the finder's pattern.
    void browseOpensTheRowsFileAndFolder() {
        auto w = open(false, {"sizes"});
        QVERIFY(w);
        w->cbWildCard->setEditText(QStringLiteral("f1*"));
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QVERIFY(w->btBrowse->isVisible());
        QCOMPARE(w->btBrowse->toolTip(), QStringLiteral("Browse this file and folder"));
        QList<QByteArrayList> opened;
        QString pattern;
        context->browser = [&](QWidget*, const QByteArray& folder, const QByteArray& file,
                               const QString& mask) {
            opened << QByteArrayList{folder, file};
            pattern = mask;
        };
        w->grid->setCurrentIndex(w->model->index(0, 0));
        w->btBrowse->click();
        context->browser = nullptr;
        const QByteArray& path = w->model->path(0);
        QCOMPARE(
            opened,
            (QList<QByteArrayList>{{tree->path("sizes"), path.mid(path.lastIndexOf('/') + 1)}}));
        QCOMPARE(pattern, QStringLiteral("f1*"));
    }

    void sizeHeaderSortsTheOtherWayAfterAScan() {
        auto w = open(false, {"sizes"});
        QVERIFY(w);
        w->rbSmaller->click();
        w->num1->setValue(1'000'000);
        w->cbKB1->setCurrentText(QStringLiteral("bytes"));
        const QStringList largestFirst{"sizes/f1000000", "sizes/f256000", "sizes/f255999",
                                       "sizes/f102401",  "sizes/f102400", "sizes/f102399"};
        QStringList smallestFirst = largestFirst;
        std::reverse(smallestFirst.begin(), smallestFirst.end());
        QHeaderView* header = w->grid->horizontalHeader();
        const QPoint onSize(header->sectionViewportPosition(0) + 5, header->height() / 2);
        // Twice: each scan puts the largest first whatever the last click left.
        for (int round = 0; round < 2; ++round) {
            QTest::mouseClick(w->btScan, Qt::LeftButton);
            QCOMPARE(rowPaths(*tree, *w), largestFirst);
            QCOMPARE(w->model->cell(0, 0), QStringLiteral("1,000,000"));
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onSize);
            QCOMPARE(rowPaths(*tree, *w), smallestFirst);
        }
    }

    void duplicateHeaderClicksDoNotSort() {
        auto w = open(true, {"dups"});
        QVERIFY(w);
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        // Folders a, b, a, c: a sort on the Folder column would move the rows.
        const QStringList before = rowPaths(*tree, *w);
        QHeaderView* header = w->grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(5) + 5, header->height() / 2));
        QCOMPARE(rowPaths(*tree, *w), before);
    }

    void emptyResultSaysSo_data() {
        QTest::addColumn<bool>("duplicates");
        QTest::newRow("duplicates") << true;
        QTest::newRow("file hogs") << false;
    }
    void emptyResultSaysSo() {
        QFETCH(bool, duplicates);
        auto w = open(duplicates, {"empty"});
        QVERIFY(w);
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QCOMPARE(script->messages(), QStringList{"No files found."});
        QCOMPARE(script->records()[0].beep, Beep::None);
        QCOMPARE(w->model->rowCount(), 0);
        for (QPushButton* b : {w->btMark, w->btDelete, w->btOptions, w->btDetails})
            QVERIFY2(b->isHidden(), qPrintable(b->objectName()));
        QVERIFY(w->btScan->isEnabled());
    }

    void printTitleNamesTheChoices_data() {
        QTest::addColumn<bool>("duplicates");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");  // %1: the fixture's root
        QTest::newRow("duplicates, defaults")
            << true << "rbLarger"
            << "KB"
            << "*.*"
            << "Duplicates larger or equal to 250 KB matching *.* on drive(s) %1/dups %1/sizes ";
        QTest::newRow("file hogs, smaller")
            << false << "rbSmaller"
            << "bytes"
            << "*.txt"
            << "File Hogs smaller or equal to 250 bytes matching *.txt on drive(s) %1/dups "
               "%1/sizes ";
        QTest::newRow("file hogs, in between")
            << false << "rbBetween"
            << "KB"
            << "*.*"
            << "File Hogs in between 250 KB and 4000 KB matching *.* on drive(s) %1/dups "
               "%1/sizes ";
    }
    void printTitleNamesTheChoices() {
        QFETCH(bool, duplicates);
        QFETCH(QString, choice);
        QFETCH(QString, unit);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        auto w = open(duplicates, {"dups", "sizes"});
        QVERIFY(w);
        w->findChild<QRadioButton*>(choice)->click();
        w->num2->setValue(4000);
        w->cbKB1->setCurrentText(unit);
        w->cbWildCard->setEditText(pattern);
        const QString title = expected.arg(QString::fromUtf8(tree->root()));
        QCOMPARE(w->printTitle(), title);

        // "Print" puts it on top of the report.
        const QString pdf = QDir::temp().filePath(QStringLiteral("dups.pdf"));
        QFile::remove(pdf);
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);
        script->answerPrint(true);
        w->resultList->Print1->trigger();
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString firstLine =
            QString::fromUtf8(text.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0);
        // The fixture's long paths run past the page's edge; what is on the page must match.
        QVERIFY2(firstLine.size() > 70 && title.startsWith(firstLine.trimmed()),
                 qPrintable(firstLine));
    }

    void placementIsKeptPerMode_data() {
        QTest::addColumn<bool>("duplicates");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("otherSection");
        QTest::newRow("duplicates") << true << "frmDups"
                                    << "frmMods";
        QTest::newRow("file hogs") << false << "frmMods"
                                   << "frmDups";
    }
    void placementIsKeptPerMode() {
        QFETCH(bool, duplicates);
        QFETCH(QString, section);
        QFETCH(QString, otherSection);
        QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") +
                      QStringLiteral("/Tessivo Corporation/Vastel/vastel.ini"));
        const QRect placed(37, 41, 900, 640);
        {
            auto w = open(duplicates, {"dups"});
            QVERIFY(w);
            w->setGeometry(placed);
            QVERIFY(!readPlacement("vastel.ini", section, "frmMods"));
            w->close();
        }
        const std::optional<WindowPlacement> saved =
            readPlacement("vastel.ini", section, "frmMods");
        QVERIFY(saved);
        QCOMPARE(saved->normalRect(), placed);
        QVERIFY(!readPlacement("vastel.ini", otherSection, "frmMods"));
        // Shown again in the same mode, the window goes back where it was.
        auto again = open(duplicates, {"dups"});
        QVERIFY(again);
        QCOMPARE(again->geometry(), placed);
    }

    void safeHarborEntriesAreBold_data() {
        QTest::addColumn<bool>("duplicates");
        QTest::addColumn<int>("column");
        QTest::newRow("duplicates: Folder") << true << 5;
        QTest::newRow("file hogs: FileName") << false << 4;
    }
    void safeHarborEntriesAreBold() {
        QFETCH(bool, duplicates);
        QFETCH(int, column);
        vastel::test::TestContext own;
        SafeHarbor& harbor = own.safeHarbor();
        harbor.sources.folderListFile = QFile::decodeName(tree->path("folders.txt"));
        harbor.sources.searchPath = QByteArrayList{};
        harbor.sources.systemFolder = QByteArray("/usr/lib/");
        harbor.sources.windowsFolder = QByteArray("/etc/");
        QVERIFY(saveFolderListFile(harbor.sources.folderListFile, {tree->path("harbor/kept/")}));
        harbor.GetSearchPath();

        auto w = open(duplicates, {"harbor"}, &own);
        QVERIFY(w);
        QTest::mouseClick(w->btScan, Qt::LeftButton);
        QCOMPARE(w->model->rowCount(), 2);
        auto* delegate = qobject_cast<ResultGridDelegate*>(w->grid->itemDelegate());
        QVERIFY(delegate && delegate->boldCell);
        const int kept = relative(*tree, w->model->path(0)).contains("kept") ? 0 : 1;
        const int free = 1 - kept;
        QVERIFY(delegate->boldCell(kept, column));
        QVERIFY(!delegate->boldCell(free, column));
        QVERIFY(!delegate->boldCell(kept, column == 5 ? 0 : 5));  // other columns stay normal
        // Switched off from the menu: nothing is bold.
        w->Highlightfolders1->trigger();
        QVERIFY(!w->Highlightfolders1->isChecked());
        QVERIFY(!delegate->boldCell(kept, column));
        w->Highlightfolders1->trigger();
        QVERIFY(delegate->boldCell(kept, column));
    }

    void launcherOpensTheWindowModally_data() {
        QTest::addColumn<bool>("duplicates");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Duplicate files") << true << "Find and delete duplicate files";
        QTest::newRow("File hogs") << false << "Find and delete file hogs";
    }
    void launcherOpensTheWindowModally() {
        QFETCH(bool, duplicates);
        QFETCH(QString, caption);
        vastel::test::TestContext program;
        TfrmMain launcher(program);
        TfrmMain* frmMain = &launcher;
        TfrmDupCompare* frmDupCompare = &program.dupCompare();
        program.safeHarbor().safeHarborMissing = false;
        frmDupCompare->show();
        QPointer<TfrmDup> seen;
        QString title;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<TfrmDup*>(QApplication::activeModalWidget());
            if (!seen) return;
            title = seen->windowTitle();
            modal = seen->isModal() && seen->parentWidget() == frmMain;
            seen->btClose->click();
        });
        if (duplicates)
            frmMain->btDuplicateClick();
        else
            frmMain->btFileHogClick();
        QCOMPARE(program.duplicateMode, duplicates);
        QCOMPARE(title, caption);
        QVERIFY(modal);
        QVERIFY(seen.isNull());  // destroyed on close
        QVERIFY(!frmDupCompare->isVisible());
    }
};

VASTEL_QTEST_MAIN(DupWindowTest)
#include "DupWindowTest.moc"
