#include "RemovalTestSupport.h"
#include "core/DateTexts.h"
#include "core/SettingsStore.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"
#include "protect/FolderListFile.h"
#include "protect/SafeHarbor.h"
#include "removal/ArchiveFolder.h"
#include "removal/TfrmReallyDelete.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"
#include "widgets/TfrmStandBy.h"

#include <unistd.h>

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

using namespace vastel;
using namespace vastel::test;

namespace {

const QString kReasons[] = {QString(), QStringLiteral("in the Windows/System folder"),
                            QStringLiteral("in the search path"),
                            QStringLiteral("referenced in the registry"),
                            QStringLiteral("included in the protected file extensions")};

// Stands in for the Safe Harbor: files in a folder named "system" are protected (reason 1).
SafeHarborCheck testHarbor() {
    SafeHarborCheck check;
    check.reasonOf = [](const QByteArray& path, bool isFile) {
        return isFile && path.contains("/system/") ? 1 : 0;
    };
    check.reasonText = [](int code) { return code >= 0 && code <= 4 ? kReasons[code] : QString(); };
    return check;
}

qint64 total(const char* key) {
    return SettingsStore().readInt64(QStringLiteral("Vastel"), QLatin1String(key), -1);
}

}  // namespace

// The deletion review as the finders use it: a list of paths in, a removal (or none) out.
class ReallyDeleteTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempTree> tree;
    std::unique_ptr<ScriptedDialogs> script;
    vastel::test::TestContext context;

    std::unique_ptr<TfrmReallyDelete> review(const QList<QByteArray>& paths, double savings = 0,
                                             const QString& tag = QString()) {
        auto dialog = std::make_unique<TfrmReallyDelete>(context);
        dialog->safeHarbor = testHarbor();
        dialog->lb1->setPaths(paths);
        dialog->archiveTag = tag;
        dialog->potentialSavings = savings;
        dialog->show();
        return dialog;
    }
    static void selectAll(QListWidget* list) {
        for (int i = 0; i < list->count(); ++i) list->item(i)->setSelected(true);
    }

  private Q_SLOTS:
    void init() {
        tree = std::make_unique<TempTree>();
        script = std::make_unique<ScriptedDialogs>();
        SettingsStore store;
        for (const char* key : {"Ndelete", "SizeDelete", "NWaste", "SizeWaste", "DelDate", "NZip",
                                "SizeZip", "ZipDate"})
            store.writeInt64(QStringLiteral("Vastel"), QLatin1String(key), -1);
        archiveFolder = tree->createFolder("archives");
    }
    void cleanup() {
        script.reset();
        tree.reset();
        QLocale::setDefault(QLocale::c());
    }

    void splitsTheFilesBetweenThePanels() {
        const QByteArray a = tree->createFile("b.txt", 1);
        const QByteArray b = tree->createFile("A.txt", 1);
        const QByteArray s = tree->createFile("system/lib.so", 1);
        auto d = review({a, s, b}, 1234567);
        QCOMPARE(d->windowTitle(), QStringLiteral("Clean up the following files"));
        QCOMPARE(d->lb1->paths(), (QList<QByteArray>{b, a}));  // sorted ignoring case
        QCOMPARE(d->lb2->paths(), QList<QByteArray>{s});
        QCOMPARE(d->lblDelete->text(), QStringLiteral("Delete - 2, Do NOT delete - 1"));
        QCOMPARE(d->lblLeft->text(), QStringLiteral("Deletion Panel - files to be deleted: 2"));
        QCOMPARE(d->lblRight->text(), QStringLiteral("Safe Harbor - files NOT to be deleted: 1"));
        QCOMPARE(d->lblSavings->text(), QStringLiteral("1,234,567 bytes"));
        QCOMPARE(d->PageControl1->currentWidget(), d->tsDelete);
        QCOMPARE(d->PageControl1->tabText(0), QStringLiteral("Files to be deleted"));
        QCOMPARE(d->PageControl1->tabText(1),
                 QStringLiteral("Safe Harbor - Do not delete these files"));
        QVERIFY(!d->btToAgainst->isEnabled());
        QVERIFY(!d->btMoveLeft->isEnabled());
        QVERIFY(!d->btReason->isEnabled());
        QVERIFY(!d->Timer1->isActive());
    }

    // Beside the potential savings: the bytes removing the Deletion panel really frees, where
    // a file with another name outside the panel frees nothing and follows the panels.
    void reallyFreedCountsHardLinksOnce() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QByteArray a = tree->createFile("a.txt", 300);
        const QByteArray b = tree->createFile("b.txt", 4000);
        const QByteArray b2 = tree->path("b2.txt");
        QCOMPARE(::link(b.constData(), b2.constData()), 0);
        const QByteArray kept = tree->createFile("kept.txt", 50000);
        tree->createFolder("system");
        QCOMPARE(::link(kept.constData(), tree->path("system/kept.txt").constData()), 0);
        auto d = review({a, b, b2, kept}, 300 + 4000 * 2 + 50000);
        QCOMPARE(d->lblSavings->text(), QStringLiteral("58,300 bytes"));
        QCOMPARE(d->lblFreed->text(),
                 QStringLiteral("Really freed: 4,300 bytes (1 with other links kept)"));
        // Moving one name of b to the Safe Harbor keeps b's bytes.
        d->lb1->clearSelection();
        for (int i = 0; i < d->lb1->count(); ++i)
            if (d->lb1->paths()[i] == b2) d->lb1->item(i)->setSelected(true);
        d->btToAgainst->click();
        QCOMPARE(d->lblFreed->text(),
                 QStringLiteral("Really freed: 300 bytes (2 with other links kept)"));
    }

    // Unless a test replaces it, the review asks the Safe Harbor of the context it was given.
    void startsWithTheContextsSafeHarbor() {
        const QByteArray kept = tree->createFile("kept/lib.so", 1);
        const QByteArray free = tree->createFile("free/lib.so", 1);
        vastel::test::TestContext program;
        SafeHarbor& harbor = program.safeHarbor();
        harbor.sources.folderListFile = QFile::decodeName(tree->path("folders.txt"));
        harbor.sources.searchPath = QByteArrayList{};
        harbor.sources.systemFolder = QByteArray("/usr/lib/");
        harbor.sources.windowsFolder = QByteArray("/etc/");
        QVERIFY(saveFolderListFile(harbor.sources.folderListFile, {tree->path("kept/")}));
        harbor.GetSearchPath();
        TfrmReallyDelete d(program);
        d.lb1->setPaths({kept, free});
        d.show();
        QCOMPARE(d.lb1->paths(), QList<QByteArray>{free});
        QCOMPARE(d.lb2->paths(), QList<QByteArray>{kept});
    }

    // With the program's Safe Harbor: a service's file below /var/lib, one below /usr/local
    // and another user's file in the user's tree go to the Safe Harbor with their reasons; the
    // user's own file, also in /tmp, stays for deletion. Each can still be moved back by hand.
    void systemAndOtherUsersFilesGoToTheSafeHarbor() {
        if (::geteuid() != 0) QSKIP("needs root to write below /var/lib and /usr/local");
        TempTree varLib(QStringLiteral("/var/lib")), usrLocal(QStringLiteral("/usr/local")),
            tmp(QStringLiteral("/tmp"));
        const QByteArray service = varLib.createFile("main/base/16384/2619", 8);
        const QByteArray local = usrLocal.createFile("share/app/data", 8);
        const QByteArray theirs = tree->createFile("home/theirs.txt", 8);
        QVERIFY(::chown(theirs.constData(), 65534, 65534) == 0);
        const QByteArray mine = tree->createFile("home/mine.txt", 8);
        const QByteArray scratch = tmp.createFile("scratch", 8);
        vastel::test::TestContext program;
        SafeHarbor& harbor = program.safeHarbor();
        harbor.sources.folderListFile = QFile::decodeName(tree->path("folders.txt"));
        harbor.sources.searchPath = QByteArrayList{};
        harbor.GetSearchPath();
        TfrmReallyDelete d(program);
        d.lb1->setPaths({service, mine, local, theirs, scratch});
        d.show();
        // The panels sort their paths; where the build folder lies decides the order.
        const auto sorted = [](QList<QByteArray> paths) {
            std::sort(paths.begin(), paths.end());
            return paths;
        };
        QCOMPARE(sorted(d.lb1->paths()), sorted({mine, scratch}));
        QCOMPARE(sorted(d.lb2->paths()), sorted({service, local, theirs}));
        for (const QByteArray& path : {service, theirs}) {
            d.lb2->setCurrentRow(int(d.lb2->paths().indexOf(path)));
            d.btReason->click();
        }
        const QString start = QStringLiteral("This file \"");
        QCOMPARE(script->messages(),
                 (QStringList{start + displayPath(service) +
                                  QStringLiteral("\" is on the Safe Harbor List since the folder "
                                                 "that it is stored in is in the Windows/System "
                                                 "folder"),
                              start + displayPath(theirs) +
                                  QStringLiteral("\" is on the Safe Harbor List since it is owned "
                                                 "by another user")}));
        d.lb2->clearSelection();
        d.lb2->item(int(d.lb2->paths().indexOf(theirs)))->setSelected(true);
        d.btMoveLeft->click();
        QCOMPARE(sorted(d.lb1->paths()), sorted({mine, scratch, theirs}));
        QCOMPARE(sorted(d.lb2->paths()), sorted({service, local}));
    }

    // The split into the two panels runs the stand-by bar from 0 to the file count - 1, one
    // step per file tested.
    void standByBarCountsTheSplit() {
        TfrmStandBy& standBy = context.standBy();
        QList<QByteArray> paths;
        for (int i = 0; i < 7; ++i)
            paths << tree->createFile((i % 3 ? "f" : "system/f") + QByteArray::number(i), 1);
        struct Seen {
            int minimum, maximum, value;
        };
        std::vector<Seen> seen;
        auto d = std::make_unique<TfrmReallyDelete>(context);
        d->safeHarbor = testHarbor();
        const auto reasonOf = d->safeHarbor.reasonOf;
        d->safeHarbor.reasonOf = [&](const QByteArray& path, bool isFile) {
            if (standBy.isVisible()) {
                const QProgressBar* bar = standBy.ProgressBar1;
                seen.push_back({bar->minimum(), bar->maximum(), bar->value()});
            }
            return reasonOf(path, isFile);
        };
        d->lb1->setPaths(paths);
        d->show();
        QCOMPARE(d->lb1->count() + d->lb2->count(), 7);
        QCOMPARE(d->lb2->count(), 3);
        QVERIFY(!standBy.isVisible());
        QCOMPARE(int(seen.size()), 7);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(seen[size_t(i)].minimum, 0);
            QCOMPARE(seen[size_t(i)].maximum, 6);
            QCOMPARE(seen[size_t(i)].value, i);
        }
    }

    void savingsFollowTheLocale() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        auto d = review({tree->createFile("a", 1)}, 1234567);
        QCOMPARE(d->lblSavings->text(), QStringLiteral("1.234.567 bytes"));
    }

    // Everything protected: half a second later the warning, then the Safe Harbor page; every
    // removal then answers that the deletion panel is empty.
    void allProtectedWarnsAndRefusesRemovals() {
        const QByteArray s = tree->createFile("system/a", 1);
        auto d = review({s});
        QVERIFY(script->messages().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(script->messages().size(), 1, 2000);
        QCOMPARE(script->messages().first(),
                 QStringLiteral("All files selected appear on the Safe Harbor list.  To delete the "
                                "files anyway, move them off of the Safe Harbor list onto the "
                                "DELETION PANEL."));
        QCOMPARE(d->PageControl1->currentWidget(), d->tsSafeHarbor);
        script->clear();
        for (QPushButton* b : {d->btDelete, d->btRecycle, d->btZip}) b->click();
        const QString empty = QStringLiteral(
            "There are no files on the deletion panel.  In order to perform this operation you "
            "need to move files from the NON-DELETE list to the deletion panel.");
        QCOMPARE(script->messages(), (QStringList{empty, empty, empty}));
        QVERIFY(script->questions().isEmpty());
        QVERIFY(pathExists(s));
        QVERIFY(d->isVisible());
    }

    void movingFilesBetweenThePanels() {
        const QByteArray a = tree->createFile("a", 1);
        const QByteArray b = tree->createFile("b", 1);
        auto d = review({a, b});
        d->lb1->item(1)->setSelected(true);
        QVERIFY(d->btToAgainst->isEnabled());
        d->btToAgainst->click();
        QCOMPARE(d->lb1->paths(), QList<QByteArray>{a});
        QCOMPARE(d->lb2->paths(), QList<QByteArray>{b});
        QCOMPARE(d->lblDelete->text(), QStringLiteral("Delete - 1, Do NOT delete - 1"));
        QCOMPARE(d->PageControl1->currentWidget(), d->tsDelete);
        selectAll(d->lb1);
        d->btToAgainst->click();  // the last one off: the Safe Harbor page comes forward
        QCOMPARE(d->lb1->count(), 0);
        QCOMPARE(d->lb2->paths(), (QList<QByteArray>{a, b}));
        QCOMPARE(d->PageControl1->currentWidget(), d->tsSafeHarbor);
        QVERIFY(!d->btToAgainst->isEnabled());

        d->lb2->item(0)->setSelected(true);
        QVERIFY(d->btMoveLeft->isEnabled());
        QVERIFY(d->btReason->isEnabled());
        d->btMoveLeft->click();
        QCOMPARE(d->PageControl1->currentWidget(), d->tsSafeHarbor);
        selectAll(d->lb2);
        d->btMoveLeft->click();  // the last one back: the Deletion page comes forward
        QCOMPARE(d->lb1->paths(), (QList<QByteArray>{a, b}));
        QCOMPARE(d->PageControl1->currentWidget(), d->tsDelete);
        QCOMPARE(d->lblRight->text(), QStringLiteral("Safe Harbor - files NOT to be deleted: 0"));
    }

    void reasonTells() {
        const QByteArray moved = tree->createFile("moved", 1);
        const QByteArray system = tree->createFile("system/lib", 1);
        auto d = review({moved, system});
        d->lb1->item(0)->setSelected(true);
        d->btToAgainst->click();
        QCOMPARE(d->lb2->paths(), (QList<QByteArray>{moved, system}));
        for (int row : {0, 1}) {
            d->lb2->setCurrentRow(row);
            d->btReason->click();
        }
        QCOMPARE(script->messages(),
                 (QStringList{
                     QStringLiteral("This file \"") + displayPath(moved) +
                         QStringLiteral("\" is on the Safe Harbor List because you moved it here."),
                     QStringLiteral("This file \"") + displayPath(system) +
                         QStringLiteral("\" is on the Safe Harbor List since the folder that "
                                        "it is stored in is in the Windows/System folder")}));
    }

    void decliningLeavesEverything() {
        const QByteArray a = tree->createFile("a", 1);
        auto d = review({a});
        d->btDelete->click();
        d->btRecycle->click();
        QCOMPARE(script->questions().first(), QStringLiteral("Really delete?"));
        QCOMPARE(script->messages(), (QStringList{QStringLiteral("Files not deleted"),
                                                  QStringLiteral("Files not deleted")}));
        QVERIFY(d->isVisible());
        QVERIFY(d->pnlButtons->isVisible());
        QCOMPARE(d->lb1->count(), 1);
        QVERIFY(pathExists(a));
        QCOMPARE(total("Ndelete"), -1);
    }

    // Only the Deletion panel's exact paths go; a path that became a folder is reported; the
    // totals count the panel's files and the whole potential savings.
    void deletingRemovesOnlyTheDeletionPanel() {
        const QByteArray odd = tree->createFile("odd\tname\nline\xff", 10);
        const QByteArray twin = tree->createFile("odd\tname\nline\xfe", 10);
        const QByteArray plain = tree->createFile("plain", 10);
        const QByteArray folder = tree->createFolder("became a folder");
        const QByteArray kept = tree->createFile("kept by the user", 10);
        const QByteArray system = tree->createFile("system/lib", 10);
        auto d = review({odd, plain, folder, kept, system}, 3000000000.0);
        d->lb1->setCurrentRow(1);  // "kept by the user", sorted second
        QCOMPARE(d->lb1->pathAt(1), kept);
        d->lb1->item(1)->setSelected(true);
        d->btToAgainst->click();
        script->answerQuestion(Answer::Yes);
        d->btDelete->click();
        QCOMPARE(script->questions(), QStringList{QStringLiteral("Really delete?")});
        QCOMPARE(script->messages(),
                 QStringList{QStringLiteral("Couldn't delete file - ") + displayPath(folder)});
        QVERIFY(!pathExists(odd));
        QVERIFY(!pathExists(plain));
        QVERIFY(pathExists(twin));
        QVERIFY(pathExists(folder));
        QVERIFY(pathExists(kept));
        QVERIFY(pathExists(system));
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QVERIFY(!d->isVisible());
        QCOMPARE(d->lb1->count(), 0);
        QCOMPARE(total("Ndelete"), 3);
        QCOMPARE(total("SizeDelete"), 3000000000LL);
        QCOMPARE(total("NWaste"), 0);
        QCOMPARE(total("DelDate"), qint64(dayNumber(QDate::currentDate())));
    }

    void recyclingMovesIntoTheTrash() {
        const QByteArray a = tree->createFile("a.txt", 40);
        const QByteArray b = tree->createFile("b.txt", 60);
        auto d = review({a, b}, 100);
        script->answerQuestion(Answer::Yes);
        d->btRecycle->click();
        QCOMPARE(
            script->questions(),
            QStringList{QStringLiteral(
                "Note that the recycle bin may be full or that you may have the \"Immediately "
                "Remove Files On Delete\" option turned on in the recycle bin. If either is "
                "true, then you will not be able to recover the deleted files from the recycle "
                "bin. \r\rSend to the recycle bin anyway?")});
        QVERIFY(script->messages().isEmpty());
        const QByteArray trash = qgetenv("XDG_DATA_HOME") + "/Trash";
        QCOMPARE(readWholeFile(trash + "/files/a.txt").size(), 40);
        QVERIFY(pathExists(trash + "/info/b.txt.trashinfo"));
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(total("NWaste"), 2);
        QCOMPARE(total("SizeWaste"), 100);
        QCOMPARE(total("Ndelete"), 0);
    }

    void cancelledOptionsArchiveNothing() {
        const QByteArray a = tree->createFile("a", 1);
        auto d = review({a});
        d->zipOptions = [] { return std::optional<QString>(); };
        d->btZip->click();
        QVERIFY(d->isVisible());
        QVERIFY(d->pnlButtons->isVisible());
        QVERIFY(!d->pnlProgress->isVisible());
        QVERIFY(pathExists(a));
        QVERIFY(folderNames(archiveFolder).empty());
        QCOMPARE(total("NZip"), -1);
    }

    void archivingMovesFilesIntoTheArchive() {
        const QByteArray a = tree->createFile("data/a.txt", 500);
        const QByteArray b = tree->createFile("data/b.txt", 700);
        const QByteArray system = tree->createFile("system/lib", 10);
        auto d = review({a, b, system}, 1200, QStringLiteral("TempClean"));
        d->zipOptions = [] { return std::optional<QString>(QStringLiteral("my comment")); };
        d->btZip->click();
        QCOMPARE(script->messages(),
                 QStringList{QStringLiteral(
                                 "Files deleted and stored in archive zip files in the folder \"") +
                             displayPath(archiveFolder) + QLatin1Char('"')});
        const std::vector<QByteArray> archives = folderNames(archiveFolder);
        QCOMPARE(archives.size(), size_t(1));
        QVERIFY(archives[0].startsWith("Drive-R-TempClean"));
        const ZipContent zip = readZip(archiveFolder + '/' + archives[0]);
        QCOMPARE(zip.comment, QByteArray("my comment"));
        QCOMPARE(zip.names(), (std::vector<QByteArray>{a.mid(1), b.mid(1)}));
        QVERIFY(!pathExists(a));
        QVERIFY(pathExists(system));
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(total("NZip"), 2);
        QCOMPARE(total("SizeZip"), 1200);
        QCOMPARE(total("ZipDate"), qint64(dayNumber(QDate::currentDate())));
    }

    // The success message is said only when every file went into an archive; when some
    // stayed, how many of each; when none went, none at all.
    void archivingReportsWhatHappened() {
        const QByteArray a = tree->createFile("data/a.txt", 5);
        const QByteArray gone = tree->path("data/gone.txt");
        const QByteArray folder = tree->createFolder("data/folder");
        auto d = review({a, gone, folder}, 5);
        d->zipOptions = [] { return std::optional<QString>(QString()); };
        d->btZip->click();
        QStringList expected;
        for (const QByteArray& p : {folder, gone})
            expected << QStringLiteral("Couldn't zip up file - ") + displayPath(p);
        expected << QStringLiteral(
                        "1 of 3 files were deleted and stored in archive zip files in "
                        "the folder \"") +
                        displayPath(archiveFolder) + QStringLiteral("\"; 2 files stayed in place.");
        QCOMPARE(script->messages(), expected);
        QVERIFY(!pathExists(a));

        script->clear();
        archiveFolder = tree->path("no archive folder");
        const QByteArray b = tree->createFile("data/b.txt", 5);
        auto none = review({b}, 5);
        none->zipOptions = [] { return std::optional<QString>(QString()); };
        none->btZip->click();
        QCOMPARE(script->messages(),
                 QStringList{QStringLiteral("Couldn't zip up file - ") + displayPath(b)});
        QVERIFY(pathExists(b));
        QCOMPARE(none->result(), int(QDialog::Accepted));
    }

    // Close during archiving asks; Yes abandons the member being written and ends the loop.
    void closeAbortsArchiving() {
        const QByteArray first = tree->createFileWith("1 first", "first");
        const QByteArray big = tree->createFileWith("2 big", randomBytes(16 << 20, 7));
        const QByteArray third = tree->createFileWith("3 third", "third");
        auto d = review({first, big, third}, 300);
        d->zipOptions = [] { return std::optional<QString>(QString()); };
        bool clicked = false;
        connect(d->Gauge1, &QProgressBar::valueChanged, d.get(), [&](int value) {
            if (clicked || value <= 0 || value >= 100 || !d->lblName->text().endsWith("2 big"))
                return;
            clicked = true;
            // As a click arrives: through the event queue, while the member is written.
            QMetaObject::invokeMethod(d->btClose, "click", Qt::QueuedConnection);
        });
        script->answerQuestion(Answer::Yes);
        d->btZip->click();
        QVERIFY(clicked);
        QCOMPARE(script->questions(),
                 QStringList{QStringLiteral("Really abort?  Folders may be partially deleted!")});
        QVERIFY(d->abortRequested);
        QVERIFY(script->messages().isEmpty());  // no word about the archive folder
        const std::vector<QByteArray> archives = folderNames(archiveFolder);
        QCOMPARE(archives.size(), size_t(1));
        const QByteArray archive = archiveFolder + '/' + archives[0];
        QCOMPARE(readZip(archive).names(), std::vector<QByteArray>{first.mid(1)});
        QVERIFY(unzipTestPasses(archive));
        QVERIFY(pathExists(big));
        QVERIFY(pathExists(third));
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(total("NZip"), 3);
    }

    void closeWithoutRemovalCancels() {
        const QByteArray a = tree->createFile("a", 1);
        auto d = review({a});
        d->btClose->click();
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QVERIFY(!d->isVisible());
        QVERIFY(pathExists(a));
    }
};

VASTEL_QTEST_MAIN(ReallyDeleteTest)
#include "ReallyDeleteTest.moc"
