#include "../removal/RemovalTestSupport.h"
#include "RestoreTestSupport.h"
#include "platform/ScriptedDialogs.h"
#include "restore/TfrmUnZipIt.h"
#include "restore/TfrmZipDirectory.h"
#include "restore/ui/FolderListBox.h"
#include "support/TempTree.h"
#include "support/TestContext.h"

#include <unistd.h>
#include <zip.h>

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

using namespace vastel;
using namespace vastel::test;

namespace {

// The archive folder of the restore window's tests.
class RestoreContext : public TestContext {
  public:
    QByteArray folder;
    QByteArray archiveFolder() const override { return folder; }
};

QByteArray cwd() {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

QStringList listTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

}  // namespace

class UnZipItTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempTree> tree;
    std::unique_ptr<ScriptedDialogs> script;
    RestoreContext context;

    std::unique_ptr<TfrmUnZipIt> open() {
        auto w = std::make_unique<TfrmUnZipIt>(context);
        w->show();
        return w;
    }
    static void select(TfrmUnZipIt& w, const QString& name) {
        const QList<QListWidgetItem*> found = w.FileListBox1->findItems(name, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        w.FileListBox1->setCurrentItem(found.first());
        w.FileListBox1Click();
    }

  private Q_SLOTS:
    void init() {
        tree = std::make_unique<TempTree>();
        script = std::make_unique<ScriptedDialogs>();
        context.folder = tree->createFolder("archives");
    }
    void cleanup() {
        script.reset();
        tree.reset();
    }

    // The archive folder's "Drive*.ZIP" files, in any case; the buttons follow the selection.
    void listsTheArchivesOfTheArchiveFolder() {
        QVERIFY(writeArchive(context.folder + "/Drive-R-TempClean06Sep970533.zip", {{"a", "a"}}));
        QVERIFY(writeArchive(context.folder + "/DRIVE-R-DUPLICATES.ZIP", {{"b", "b"}}));
        QVERIFY(writeArchive(context.folder + "/other.zip", {{"c", "c"}}));
        tree->createFolder("archives/Drive-folder.zip");
        auto w = open();
        QCOMPARE(w->DirectoryListBox1->folder(), context.folder);
        QCOMPARE(listTexts(w->FileListBox1),
                 (QStringList{"DRIVE-R-DUPLICATES.ZIP", "Drive-R-TempClean06Sep970533.zip"}));
        QVERIFY(!w->btExtract->isEnabled());
        QVERIFY(!w->btView->isEnabled());
        select(*w, "DRIVE-R-DUPLICATES.ZIP");
        QVERIFY(w->btExtract->isEnabled());
        QVERIFY(w->btView->isEnabled());
        QVERIFY(!w->Timer1->isActive());
        QTest::qWait(700);
        QVERIFY(script->messages().isEmpty());
    }

    void emptyFolderTellsAfterAMoment() {
        auto w = open();
        QVERIFY(w->Timer1->isActive());
        QCOMPARE(w->Timer1->interval(), 600);
        QVERIFY(script->messages().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(script->messages().size(), 1, 2000);
        QVERIFY(script->messages()[0].startsWith(
            "It appears that there are no archive zip files in this folder for Vastel to unzip."
            "  \r\rNote that Vastel can only unzip"));
    }

    // The contents: a tree of members with sizes, their count and the comment; a file that
    // is no archive leaves the one on view, or an empty view when none was.
    void viewShowsTheContents() {
        const QByteArray good = context.folder + "/Drive-R-a.zip";
        QVERIFY(writeArchive(good, {{"home/ann/one.txt", "1234", 1600000000},
                                    {"home/ann/sub/two.txt", "xy"},
                                    {"top.txt", QByteArray(1234567, 'z')}}));
        {
            int code = 0;
            zip_t* z = zip_open(good.constData(), 0, &code);
            zip_set_archive_comment(z, "my comment", 10);
            zip_close(z);
        }
        tree->createFileWith("archives/Drive-R-bad.zip", "not an archive");
        auto w = open();
        select(*w, "Drive-R-bad.zip");
        w->btView->click();
        QCOMPARE(w->Outline->topLevelItemCount(), 0);
        QVERIFY(w->lblZip->text().isEmpty());

        select(*w, "Drive-R-a.zip");
        w->btView->click();
        QCOMPARE(w->lblZip->text(), QString::fromUtf8(good));
        QCOMPARE(w->lblCount->text(), QStringLiteral("3 files"));
        QCOMPARE(w->pnlComment->text(), QStringLiteral("my comment"));
        QCOMPARE(w->Outline->topLevelItemCount(), 2);
        const QList<QTreeWidgetItem*> top =
            w->Outline->findItems("top.txt", Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(top.size(), 1);
        QCOMPARE(top[0]->text(1), QStringLiteral("1,234,567"));
        QCOMPARE(w->Outline->findItems("two.txt", Qt::MatchExactly | Qt::MatchRecursive)
                     .first()
                     ->parent()
                     ->text(0),
                 QStringLiteral("sub"));

        select(*w, "Drive-R-bad.zip");
        w->FileListBox1DblClick();
        QCOMPARE(w->lblZip->text(), QString::fromUtf8(good));
        QCOMPARE(w->lblCount->text(), QStringLiteral("3 files"));
        QVERIFY(script->messages().isEmpty());
    }

    // A double click on a member shows it in the viewer from a copy of its own, which goes
    // when the viewer closes.
    void memberOpensInTheViewer() {
        QVERIFY(writeArchive(context.folder + "/Drive-R-v.zip", {{"home/ann/notes.txt", "notes"}}));
        auto w = open();
        select(*w, "Drive-R-v.zip");
        w->btView->click();
        QByteArray viewed, content;
        context.viewer = [&](QWidget*, const QByteArray& path) {
            viewed = path;
            content = readWholeFile(path);
        };
        const QList<QTreeWidgetItem*> item =
            w->Outline->findItems("notes.txt", Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(item.size(), 1);
        w->OutlineDblClick(item[0]);
        context.viewer = nullptr;
        QVERIFY(viewed.endsWith("/home/ann/notes.txt"));
        QCOMPARE(content, QByteArray("notes"));
        QVERIFY(!pathExists(viewed));
        QVERIFY(script->messages().isEmpty());
    }

    // Extracting to the original root "/" asks nothing and puts the files back; the archive
    // stays listed and can be restored again.
    void extractRestoresToTheOriginalRoot() {
        const QByteArray target = tree->path("restored/data/report.doc");
        const QByteArray archive = context.folder + "/Drive-R-Duplicates06Sep970533.zip";
        QVERIFY(writeArchive(archive, {{target.mid(1), "report", 1600000000}}));
        auto w = open();
        select(*w, "Drive-R-Duplicates06Sep970533.zip");
        int asked = 0;
        w->runDestination = [&](TfrmZipDirectory& d) {
            d.show();
            ++asked;
            if (d.DLB->folder() != "/") return int(QDialog::Rejected);
            d.Button1->click();
            return d.result();
        };
        w->btExtract->click();
        QCOMPARE(asked, 1);
        QCOMPARE(script->questions(), QStringList());
        QCOMPARE(script->messages(), QStringList{"Files were unzipped"});
        QCOMPARE(readWholeFile(target), QByteArray("report"));
        QCOMPARE(w->FileListBox1->count(), 1);
        tree->createFileWith("restored/data/report.doc", "changed");
        script->clear();
        w->btExtract->click();
        QCOMPARE(script->messages(), QStringList{"Files were unzipped"});
        QCOMPARE(readWholeFile(target), QByteArray("report"));
    }

    // Another folder than the original root asks; No keeps the dialog, Yes restores below it.
    // The dialog gives back the current folder it found.
    void destinationAsksForAnotherFolder() {
        const QByteArray archive = context.folder + "/Drive-R-x.zip";
        QVERIFY(writeArchive(archive, {{"data/report.doc", "r"}}));
        const QByteArray other = tree->createFolder("other");
        const QByteArray before = cwd();
        TfrmZipDirectory d;
        d.setArchive(archive);
        d.show();
        QCOMPARE(d.DLB->folder(), QByteArray("/"));
        QCOMPARE(d.DirLabel->text(), QStringLiteral("/"));
        QCOMPARE(cwd(), QByteArray("/"));
        d.DLB->setFolder(other);
        QCOMPARE(d.DirLabel->text(), QString::fromUtf8(other));
        script->answerQuestion(Answer::No);
        d.Button1->click();
        QVERIFY(d.isVisible());
        QCOMPARE(script->questions(),
                 QStringList{"You are not restoring into the original root folder.  The files "
                             "will not be restored to their original locations. Is this OK?"});
        script->answerQuestion(Answer::Yes);
        d.Button1->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.chosenFolder(), other);
        QCOMPARE(cwd(), before);

        bool known = true;
        TfrmZipDirectory::originalRoot(tree->path("archives/Old-name.zip"), &known);
        QVERIFY(!known);
    }

    void createSubFolder() {
        const QByteArray base = tree->createFolder("base");
        TfrmZipDirectory d;
        d.setArchive(context.folder + "/Drive-R-x.zip");
        d.show();
        d.DLB->setFolder(base);
        d.askFolderName = [](QWidget*) { return std::optional<QString>("new/deeper"); };
        d.Button3->click();
        QVERIFY(pathExists(base + "/new/deeper"));
        QVERIFY(!d.DLB->findItems("  new", Qt::MatchEndsWith).isEmpty());
        d.askFolderName = [](QWidget*) { return std::optional<QString>(); };
        d.Button3->click();
        QCOMPARE(folderNames(base).size(), size_t(1));
        d.reject();
    }

    // Member failures: the message and the reason; the duplicate question until ignored; the
    // password asked through the dialog seam.
    void memberFailuresAndPasswords() {
        const QByteArray archive = context.folder + "/Drive-R-hostile.zip";
        QVERIFY(writeArchive(archive, {{"../escape.txt", "e"},
                                       {"dup-A.txt", "1"},
                                       {"dup-B.txt", "2"},
                                       {"dup-C.txt", "3"},
                                       {"locked.txt", "secret", 0, ZIP_EM_AES_256, "pw"}}));
        QVERIFY(patchFile(archive, "dup-B.txt", "dup-A.txt", 2));
        QVERIFY(patchFile(archive, "dup-C.txt", "dup-A.txt", 2));
        const QByteArray dest = tree->createFolder("dest");
        auto w = open();
        select(*w, "Drive-R-hostile.zip");
        w->runDestination = [&](TfrmZipDirectory& d) {
            d.show();
            d.DLB->setFolder(dest);
            script->answerQuestion(Answer::Yes);  // not the original root: go on
            d.Button1->click();
            return d.result();
        };
        script->answerQuestion(Answer::Yes);  // ignore further duplicate warnings
        script->answerText(QStringLiteral("pw"));
        w->btExtract->click();
        QCOMPARE(script->questions().size(), 2);
        QCOMPARE(script->questions()[1],
                 QStringLiteral("Cannot move dup-A.txt. Would create a duplicate name. Ignore "
                                "future warnings?"));
        QCOMPARE(script->messages(),
                 (QStringList{"Cannot extract ../escape.txt from Drive-R-hostile.zip",
                              "2 files were unzipped; 3 could not be unzipped."}));
        QCOMPARE(readWholeFile(dest + "/dup-A.txt"), QByteArray("1"));
        QCOMPARE(readWholeFile(dest + "/locked.txt"), QByteArray("secret"));
        QVERIFY(!pathExists(tree->path("escape.txt")));
        QCOMPARE(w->baseFolder(), dest);
    }
};

QTEST_MAIN(UnZipItTest)
#include "UnZipItTest.moc"
