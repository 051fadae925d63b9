#include "RemovalTestSupport.h"
#include "core/SettingsStore.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"
#include "protect/SafeHarbor.h"
#include "removal/ArchiveFolder.h"
#include "removal/TfrmDelDirectory.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace vastel;
using namespace vastel::test;

namespace {

// Folders named "system" are protected (reason 3).
SafeHarborCheck testHarbor() {
    SafeHarborCheck check;
    check.reasonOf = [](const QByteArray& path, bool isFile) {
        return !isFile && path.endsWith("/system") ? 3 : 0;
    };
    check.reasonText = [](int code) {
        return code == 3 ? QStringLiteral("referenced in the registry") : QString();
    };
    return check;
}

qint64 total(const char* key) {
    return SettingsStore().readInt64(QStringLiteral("Vastel"), QLatin1String(key), -1);
}

const QString kRecycleQuestion = QStringLiteral(
    "Note that the recycle bin may be full or that you may have the \"Immediately Remove Files "
    "On Delete\" option turned on in the recycle bin. If either is true, then you will not be "
    "able to recover the deleted files from the recycle bin. \r\rSend to the recycle bin "
    "anyway?");

}  // namespace

// The folder-tree removal window: its three removals, questions, summaries and totals.
class DelDirectoryTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempTree> tree;
    std::unique_ptr<ScriptedDialogs> script;
    vastel::test::TestContext context;

    std::unique_ptr<TfrmDelDirectory> window(const QByteArray& folder) {
        auto w = std::make_unique<TfrmDelDirectory>(context);
        w->safeHarbor = testHarbor();
        w->isRemovable = [](const QByteArray& path) { return path.contains("/media/"); };
        w->setFolder(folder);
        w->show();
        return w;
    }
    // Three files of 100, 200 and 300 bytes in two sub-folders.
    QByteArray threeFiles(const QByteArray& name = "F") {
        tree->createFile(name + "/one/a.txt", 100);
        tree->createFile(name + "/one/b.txt", 200);
        tree->createFile(name + "/two/c.txt", 300);
        return tree->path(name);
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
    }

    void showsTheFolder() {
        const QByteArray folder = tree->createFolder("plain");
        auto w = window(folder);
        QCOMPARE(w->windowTitle(),
                 QStringLiteral("Clean directory, sub-directories and all files"));
        QCOMPARE(w->lblTop->text(), QStringLiteral("Folder to clean: "));
        QCOMPARE(w->lblDirectory->text(), displayPath(folder));
        QVERIFY(w->lblDirectory->alignment() & Qt::AlignHCenter);
        QVERIFY(w->btRecycle->isEnabled());
        QVERIFY(w->cbDelete->isChecked());
        QCOMPARE(w->BitBtn3->text(), QStringLiteral("Cancel. Do not delete."));
        QCOMPARE(w->pnlCount->text(), QStringLiteral("Count"));
        QCOMPARE(w->pnlName->text(), QStringLiteral("Filename"));
        QVERIFY(!w->recycleMode);
    }

    void removableVolumeHasNoRecycleButton() {
        auto w = window(tree->createFolder("media/stick/folder"));
        QVERIFY(!w->btRecycle->isEnabled());
    }

    void emptyFolderGoesWithoutAWord() {
        const QByteArray folder = tree->createFolder("empty");
        auto w = window(folder);
        w->btDelete->click();
        QVERIFY(!pathExists(folder));
        QVERIFY(script->messages().isEmpty());
        QCOMPARE(total("Ndelete"), -1);
        QCOMPARE(w->result(), int(QDialog::Accepted));
    }

    void deletingTheTree() {
        const QByteArray folder = threeFiles();
        auto w = window(folder);
        w->btDelete->click();
        QVERIFY(script->questions().isEmpty());
        QCOMPARE(script->messages(),
                 QStringList{QStringLiteral("Deleted 3 files for a savings of 600 bytes.")});
        QVERIFY(!pathExists(folder));
        QCOMPARE(total("Ndelete"), 3);
        QCOMPARE(total("SizeDelete"), 600);
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QVERIFY(!w->recycleMode);
    }

    // Trashed files are counted and reported as deleted; the folders go.
    void recyclingTheTree() {
        const QByteArray folder = threeFiles();
        auto w = window(folder);
        script->answerQuestion(Answer::Yes);
        w->btRecycle->click();
        QCOMPARE(script->questions(), QStringList{kRecycleQuestion});
        QCOMPARE(script->messages(),
                 QStringList{QStringLiteral("Deleted 3 files for a savings of 600 bytes.")});
        QVERIFY(!pathExists(folder));
        const QByteArray trash = qgetenv("XDG_DATA_HOME") + "/Trash/files";
        QCOMPARE(folderNames(trash), (std::vector<QByteArray>{"a.txt", "b.txt", "c.txt"}));
        QCOMPARE(total("Ndelete"), 3);
        QCOMPARE(total("NWaste"), 0);
        QVERIFY(w->recycleMode);
    }

    void decliningToRecycleKeepsTheWindowOpen() {
        const QByteArray folder = threeFiles();
        auto w = window(folder);
        w->btRecycle->click();
        QVERIFY(w->isVisible());
        QVERIFY(!w->recycleMode);
        QVERIFY(pathExists(folder + "/two/c.txt"));
    }

    void zippingWithoutDeleting() {
        const QByteArray folder = threeFiles();
        auto w = window(folder);
        w->cbDelete->setChecked(false);
        w->zipOptions = [] { return std::optional<QString>(QStringLiteral("tree")); };
        w->btZip->click();
        QCOMPARE(script->messages(), QStringList{QStringLiteral("Zipped up 3 files")});
        const std::vector<QByteArray> archives = folderNames(archiveFolder);
        QCOMPARE(archives.size(), size_t(1));
        QVERIFY(archives[0].startsWith("Drive-R-FolderClean"));
        std::vector<QByteArray> names = readZip(archiveFolder + '/' + archives[0]).names();
        std::sort(names.begin(), names.end());
        QCOMPARE(names, (std::vector<QByteArray>{(folder + "/one/a.txt").mid(1),
                                                 (folder + "/one/b.txt").mid(1),
                                                 (folder + "/two/c.txt").mid(1)}));
        QVERIFY(pathExists(folder + "/one/a.txt"));
        QCOMPARE(total("NZip"), 3);
        QCOMPARE(total("SizeZip"), 600);
        QCOMPARE(total("Ndelete"), -1);
    }

    void zippingAndDeleting() {
        const QByteArray folder = threeFiles();
        auto w = window(folder);
        w->zipOptions = [] { return std::optional<QString>(QString()); };
        w->btZip->click();
        QCOMPARE(script->messages(), QStringList{QStringLiteral("Zipped up 3 files")});
        QVERIFY(!pathExists(folder));
        QCOMPARE(readZip(archiveFolder + '/' + folderNames(archiveFolder)[0]).members.size(),
                 size_t(3));
    }

    void cancelledOptionsRemoveNothing() {
        const QByteArray folder = threeFiles();
        auto w = window(folder);
        w->zipOptions = [] { return std::optional<QString>(); };
        w->btZip->click();
        QVERIFY(w->isVisible());
        QVERIFY(pathExists(folder + "/one/a.txt"));
        QVERIFY(folderNames(archiveFolder).empty());
    }

    // Yes twice deletes a read-only hidden file; No to the first question stops the walk,
    // the second is not asked, and the summary says so.
    void attributeQuestions() {
        const QByteArray folder = tree->createFolder("F");
        const QByteArray file = tree->createFile("F/.secret", 10);
        ::chmod(file.constData(), 0444);
        const QString readOnly =
            displayPath(file) +
            QStringLiteral(
                " is read-only, Delete this file and continue deleting the remaining files? ");
        const QString hidden =
            displayPath(file) +
            QStringLiteral(
                " is hidden, Delete this file and continue deleting the remaining files? ");
        {
            auto w = window(folder);
            script->answerQuestion(Answer::Yes);
            script->answerQuestion(Answer::Yes);
            w->btDelete->click();
            QCOMPARE(script->questions(), (QStringList{readOnly, hidden}));
            QVERIFY(!pathExists(folder));
        }
        script->clear();
        tree->createFile("F/.secret", 10);
        ::chmod(file.constData(), 0444);
        tree->createFile("F/z/other", 5);
        auto w = window(folder);
        script->answerQuestion(Answer::No);
        w->btDelete->click();
        QCOMPARE(script->questions(), QStringList{readOnly});
        QVERIFY(pathExists(file));
        // The listing order decides whether "z/other" went before the question stopped the walk.
        if (pathExists(tree->path("F/z/other")))
            QVERIFY(script->messages().isEmpty());
        else
            QCOMPARE(script->messages(),
                     QStringList{QStringLiteral("Deleted 1 files for a savings of 5 bytes. (Note: "
                                                "Deletion operation canceled ... not all files "
                                                "deleted)")});
        QCOMPARE(w->result(), int(QDialog::Accepted));
    }

    void safeHarborFolderWarns() {
        const QByteArray folder = threeFiles("system");
        auto w = window(folder);
        QCOMPARE(w->lblTop->text(),
                 QStringLiteral(
                     "This folder should not be deleted since it is referenced in the registry"));
        QCOMPARE(w->lblTop->palette().color(QPalette::WindowText), QColor(Qt::red));
        w->btDelete->click();
        QCOMPARE(script->questions(),
                 QStringList{QStringLiteral(
                     "Warning: the folder or a sub-folder of the one to delete is marked NOT to "
                     "be deleted because it is referenced in the registry.  You may not want to "
                     "delete it at this time.  Really delete?")});
        QVERIFY(w->isVisible());
        QVERIFY(pathExists(folder + "/one/a.txt"));
    }

    // With the program's Safe Harbor: a folder of another user, and one below /var/lib (as
    // root), warn with their reasons and stay unless the user insists.
    void systemAndOtherUsersFoldersWarn() {
        const QByteArray theirs = threeFiles("theirs");
        std::unique_ptr<TempTree> varLib;
        QByteArray service;
        if (::geteuid() == 0) {
            QVERIFY(::chown(theirs.constData(), 65534, 65534) == 0);
            varLib = std::make_unique<TempTree>(QStringLiteral("/var/lib"));
            service = varLib->createFile("main/base/1", 10);
            service.chop(int(qstrlen("/base/1")));
        }
        vastel::test::TestContext program;
        SafeHarbor& harbor = program.safeHarbor();
        harbor.sources.folderListFile = QFile::decodeName(tree->path("folders.txt"));
        harbor.sources.searchPath = QByteArrayList{};
        // Not root: the folder is "another user's" as the harbor is told who the user is.
        if (::geteuid() != 0) harbor.sources.userId = ::geteuid() + 1;
        harbor.GetSearchPath();
        struct Case {
            QByteArray folder;
            QString reason;
        };
        QList<Case> cases = {{theirs, QStringLiteral("owned by another user")}};
        if (!service.isEmpty())
            cases.append({service, QStringLiteral("in the Windows/System folder")});
        for (const Case& c : cases) {
            script->clear();
            TfrmDelDirectory w(program);
            w.isRemovable = [](const QByteArray&) { return false; };
            w.setFolder(c.folder);
            w.show();
            QCOMPARE(w.lblTop->text(),
                     QStringLiteral("This folder should not be deleted since it is ") + c.reason);
            w.btDelete->click();
            QCOMPARE(script->questions(),
                     QStringList{QStringLiteral("Warning: the folder or a sub-folder of the one to "
                                                "delete is marked NOT to be deleted because it "
                                                "is ") +
                                 c.reason +
                                 QStringLiteral(".  You may not want to delete it at this time.  "
                                                "Really delete?")});
            QVERIFY(pathExists(c.folder));
        }
    }

    // The folder itself a link: nothing behind it is touched.
    void folderThatIsALinkIsRefused() {
        const QByteArray real = threeFiles("real");
        const QByteArray link = tree->createSymlink("link", real);
        auto w = window(link);
        w->btDelete->click();
        QCOMPARE(script->messages().size(), 1);
        QVERIFY(script->messages().first().startsWith(QStringLiteral("Couldn't open folder - ")));
        QVERIFY(pathExists(real + "/two/c.txt"));
        QVERIFY(pathExists(link));
        QVERIFY(w->isVisible());
    }

    void cancelWhenIdleCloses() {
        auto w = window(tree->createFolder("F"));
        w->BitBtn3->click();
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QVERIFY(pathExists(tree->path("F")));
    }

    // Cancel while zipping: "Really abort?", Yes ends the walk and the window gives Cancel.
    void abortWhileZipping() {
        const QByteArray folder = tree->createFolder("F");
        tree->createFileWith("F/big.bin", randomBytes(16 << 20, 9));
        auto w = window(folder);
        w->zipOptions = [] { return std::optional<QString>(QString()); };
        bool clicked = false;
        connect(w->Gauge1, &QProgressBar::valueChanged, w.get(), [&](int value) {
            if (clicked || value <= 0 || value >= 100) return;
            clicked = true;
            QMetaObject::invokeMethod(w->BitBtn3, "click", Qt::QueuedConnection);
        });
        script->answerQuestion(Answer::Yes);
        w->btZip->click();
        QVERIFY(clicked);
        QCOMPARE(script->questions(),
                 QStringList{QStringLiteral("Really abort?  Folders may be partially deleted!")});
        QVERIFY(abortRemoval);
        QCOMPARE(script->messages(),
                 QStringList{QStringLiteral(
                     "Zipped up 1 files (Note: Zip operation canceled ... not all files zipped)")});
        QVERIFY(pathExists(folder + "/big.bin"));
        QCOMPARE(w->result(), int(QDialog::Rejected));
        QVERIFY(folderNames(archiveFolder).empty());  // the abandoned member left no archive
    }
};

VASTEL_QTEST_MAIN(DelDirectoryTest)
#include "DelDirectoryTest.moc"
