#include "core/GridModel.h"
#include "core/Utility.h"
#include "finders/BrowseColumns.h"
#include "finders/BrowseListing.h"
#include "finders/BrowseSort.h"
#include "finders/BrowseTexts.h"
#include "platform/NativePath.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QTest>
#include <cerrno>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

QByteArrayList names(const BrowseListing& listing) {
    QByteArrayList out;
    for (const ResultRecord& r : listing.records) out << r.name().toByteArray();
    std::sort(out.begin(), out.end());
    return out;
}

// A mask of exactly 300 characters: 59 patterns that match nothing, then "*.bin".
QString longMask() {
    QString mask = QStringLiteral("*.zz;").repeated(59) + QStringLiteral("*.bin");
    return mask;
}

}  // namespace

// The browser's engine: the listing of one folder, its sorts, its texts and its refusals.
class BrowseEngineTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<TempTree> tree;
    std::unique_ptr<vastel::test::LocaleScope> english;

  private Q_SLOTS:
    void initTestCase() {
        english = std::make_unique<vastel::test::LocaleScope>(vastel::test::kEnglishUs);
        tree = std::make_unique<TempTree>();
        tree->createFile("f/a.txt", 1'000, 1'600'000'000, 1'600'000'000);
        tree->createFile("f/b.DOC", 2'500, 1'500'000'000, 1'700'000'000);
        tree->createFile("f/c.bin", 10, 1'650'000'000, 1'650'000'000);
        tree->createFile("f/README", 7);
        tree->createFile("f/.hidden.txt", 5);
        tree->createFile("f/tab\tname.txt", 3);
        tree->createFile("f/new\nline.txt", 4);
        tree->createFile("f/bad\xff.txt", 6);
        tree->createFile("f/bad\xef\xbf\xbd.txt", 8);  // the decoy: how the name above displays
        tree->createFile("f/sub/deeper.txt", 1);
        tree->createSymlink("f/link.txt", "a.txt");
        tree->createSymlink("linked", tree->path("f"));
        QCOMPARE(::mkfifo(tree->path("f/pipe.txt").constData(), 0600), 0);
        tree->createFolder("empty");
    }

    void listsTheFilesThatMatchTheMask_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QByteArrayList>("expected");
        const QByteArrayList all = {"README",      "a.txt", "b.DOC",         "bad\xef\xbf\xbd.txt",
                                    "bad\xff.txt", "c.bin", "new\nline.txt", "tab\tname.txt"};
        QTest::newRow("all") << QStringLiteral("*.*") << all;
        QTest::newRow("star") << QStringLiteral("*") << all;
        QTest::newRow("two kinds")
            << QStringLiteral("*.txt;*.doc")
            << QByteArrayList{"a.txt",       "b.DOC",         "bad\xef\xbf\xbd.txt",
                              "bad\xff.txt", "new\nline.txt", "tab\tname.txt"};
        QTest::newRow("no extension") << QStringLiteral("*.") << QByteArrayList{"README"};
        QTest::newRow("only separators") << QStringLiteral(";;") << QByteArrayList{};
        QTest::newRow("empty") << QString() << QByteArrayList{};
        QTest::newRow("300 characters") << longMask() << QByteArrayList{"c.bin"};
    }
    // Hidden files, system files, folders and links are never listed; names are exact bytes.
    void listsTheFilesThatMatchTheMask() {
        QFETCH(QString, mask);
        QFETCH(QByteArrayList, expected);
        if (QByteArrayView(QTest::currentDataTag()) == "300 characters") QCOMPARE(mask.size(), 300);
        const BrowseListing listing = listBrowseFolder(tree->path("f"), mask);
        QCOMPARE(listing.error, 0);
        QCOMPARE(names(listing), expected);
        qint64 total = 0;
        for (const ResultRecord& r : listing.records) {
            QCOMPARE(r.path(), tree->path("f/" + r.name().toByteArray()));
            QCOMPARE(r.folder(), tree->path("f/"));
            total += r.size;
        }
        QCOMPARE(listing.totalSize, total);
    }

    void showsTheCellsOfARow() {
        const BrowseListing listing = listBrowseFolder(tree->path("f"), QStringLiteral("b.doc"));
        QCOMPARE(listing.records.size(), size_t(1));
        const ResultRecord& r = listing.records.front();
        const BrowseColumns& c = *listing.columns;
        QCOMPARE(BrowseColumns::headers(),
                 (QStringList{"Modified", "Time", "Access", "Size", "Filename", "Type"}));
        QCOMPARE(c.text(r, BrowseColumns::Size), QStringLiteral("2,500"));
        QCOMPARE(c.text(r, BrowseColumns::Filename), QStringLiteral("b.DOC"));
        QVERIFY(!c.text(r, BrowseColumns::Modified).isEmpty());
        QVERIFY(c.text(r, BrowseColumns::Modified) != c.text(r, BrowseColumns::Access));
        QVERIFY(!c.text(r, BrowseColumns::Time).isEmpty());
        QCOMPARE(c.text(r, BrowseColumns::Type), fileTypeText(QStringLiteral(".DOC")));
    }

    void foldersThatCannotBeListed_data() {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<int>("error");
        QTest::newRow("missing") << tree->path("gone") << ENOENT;
        QTest::newRow("link to a folder") << tree->path("linked") << ELOOP;
        QTest::newRow("a file") << tree->path("f/a.txt") << ENOTDIR;
        QTest::newRow("empty folder") << tree->path("empty") << 0;
    }
    void foldersThatCannotBeListed() {
        QFETCH(QByteArray, folder);
        QFETCH(int, error);
        const BrowseListing listing = listBrowseFolder(folder, QStringLiteral("*.*"));
        QCOMPARE(listing.error, error);
        QVERIFY(listing.records.empty());
        QCOMPARE(listing.totalSize, 0);
        QVERIFY(listing.columns);
    }

    // Root reads every folder: the unreadable one is listed by another user.
    void anUnreadableFolderIsReportedNotListed() {
        if (::geteuid() != 0) QSKIP("needs root to list as another user");
        TempTree shared(QStringLiteral("/tmp"));
        QCOMPARE(::chmod(shared.root().constData(), 0755), 0);
        shared.createFile("closed/secret.txt", 1);
        QCOMPARE(::chmod(shared.path("closed").constData(), 0700), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
            const BrowseListing l = listBrowseFolder(shared.path("closed"), QStringLiteral("*.*"));
            ::_exit(l.records.empty() && l.error == EACCES ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // A user sort flips the direction first; the re-sort after a refresh keeps it.
    void sortsWithProgramWideDirections() {
        BrowseSortDirections& d = browseSortDirections();
        QCOMPARE((QList<bool>{d.name, d.modified, d.access, d.size, d.type}),
                 (QList<bool>{false, true, true, true, false}));
        BrowseListing listing =
            listBrowseFolder(tree->path("f"), QStringLiteral("a.txt;b.doc;c.bin"));
        GridModel grid(BrowseColumns::headers());
        grid.setRecords(listing.columns, std::move(listing.records));
        auto order = [&grid] {
            QByteArrayList out;
            for (int r = 0; r < grid.rowCount(); ++r) out << grid.record(r).name().toByteArray();
            return out;
        };
        sortBrowseGrid(grid, BrowseSortKey::Size, true);
        QCOMPARE(order(), (QByteArrayList{"c.bin", "a.txt", "b.DOC"}));
        QCOMPARE(d.size, false);
        sortBrowseGrid(grid, BrowseSortKey::Name, false);
        QCOMPARE(order(), (QByteArrayList{"a.txt", "b.DOC", "c.bin"}));
        sortBrowseGrid(grid, BrowseSortKey::Size, false);
        QCOMPARE(order(), (QByteArrayList{"c.bin", "a.txt", "b.DOC"}));
        sortBrowseGrid(grid, BrowseSortKey::Modified, true);  // true -> false: oldest first
        QCOMPARE(order(), (QByteArrayList{"b.DOC", "a.txt", "c.bin"}));
        sortBrowseGrid(grid, BrowseSortKey::Access, false);  // still descending: newest first
        QCOMPARE(order(), (QByteArrayList{"b.DOC", "c.bin", "a.txt"}));
        QCOMPARE(browseSortKeyOfColumn(BrowseColumns::Time), std::nullopt);
        QCOMPARE(browseSortKeyOfColumn(BrowseColumns::Type), BrowseSortKey::Type);
        d = BrowseSortDirections();
    }

    void refusesRootAndSystemFolders_data() {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QString>("refusal");
        const QString root = QLatin1String(kBrowseRootRefusal);
        const QString system = QLatin1String(kBrowseSystemRefusal);
        QTest::newRow("file tree root") << QByteArray("/") << root;
        QTest::newRow("drive root") << QByteArray("/mnt/disk/") << root;
        QTest::newRow("home") << QByteArray("/home/ann") << root;
        QTest::newRow("etc") << QByteArray("/etc") << system;
        QTest::newRow("usr, other case") << QByteArray("/USR/") << system;
        QTest::newRow("var") << QByteArray("/var") << system;
        QTest::newRow("deeper system folder") << QByteArray("/etc/cron.d") << QString();
        QTest::newRow("below a drive") << QByteArray("/mnt/disk/old") << QString();
        QTest::newRow("below home") << QByteArray("/home/ann/tmp") << QString();
        QTest::newRow("longer name") << QByteArray("/etcetera") << QString();
    }
    void refusesRootAndSystemFolders() {
        QFETCH(QByteArray, folder);
        QFETCH(QString, refusal);
        QCOMPARE(browseRemovalRefusal(folder, {"/", "/mnt/disk"}, "/home/ann/"), refusal);
    }

    void texts() {
        QCOMPARE(browseMarkedText(2, 3'500),
                 QStringLiteral("Marked for deletion: 2 files 3,500 bytes"));
        QCOMPARE(browseFileCountText(0), QStringLiteral("Number of files : 0"));
        QCOMPARE(browseTotalSizeText(1'234'567), QStringLiteral("Total size : 1,234,567"));
        QCOMPARE(browseWildcardText(QStringLiteral("*.*")), QStringLiteral("Wildcard : *.*"));
        QCOMPARE(browseExitQuestion(3),
                 QStringLiteral("You have 3 files marked for deletion. Do you really wish to "
                                "exit without deleting?"));
    }

    // A link to a folder goes as a link; the folder it points to and a real folder stay.
    void removesALinkNeverItsTarget() {
        TempTree t;
        t.createFile("target/keep.txt", 1);
        t.createSymlink("link", t.path("target"));
        QVERIFY(isFolderLink(t.path("link")));
        QVERIFY(!isFolderLink(t.path("target")));
        QVERIFY(!removeFolderLink(t.path("target")));
        QVERIFY(removeFolderLink(t.path("link/")));
        QVERIFY(!QFileInfo::exists(QFile::decodeName(t.path("link"))));
        QVERIFY(QFileInfo::exists(QFile::decodeName(t.path("target/keep.txt"))));
    }

    // The tree shows folders by their display text; the bytes are found again.
    void findsAFolderByItsDisplayText() {
        TempTree t;
        t.createFile("ok/bad\xfe/x.txt", 1);
        const QByteArray exact = t.path("ok/bad\xfe");
        QCOMPARE(folderOfDisplayText(displayPath(exact)), exact);
        QCOMPARE(folderOfDisplayText(displayPath(t.path("ok"))), t.path("ok"));
    }
};

QTEST_GUILESS_MAIN(BrowseEngineTest)
#include "BrowseEngineTest.moc"
