// vastel-scan dirhogs against du and find on a tree of awkward files, run as an unprivileged
// user so that an unreadable folder stays closed: every row's size is what du --apparent-size
// counts for the same files (hard links once, in walk order), its counts are what find counts.
#include "platform/DirEntry.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QStandardPaths>
#include <functional>
#include <map>

namespace vastel {
namespace {

using test::TempTree;

const QStringList kAsNobody = {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                               QStringLiteral("--clear-groups")};

QString arg(const QByteArray& bytes) { return QFile::decodeName(bytes); }

// Runs a program as uid 65534 and gives its standard output.
QByteArray runAsNobody(const QStringList& command, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral("setpriv"), kAsNobody + command);
    if (!input.isEmpty()) p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120'000);
    return p.readAllStandardOutput();
}

QByteArray unescape(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char c = field[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

struct Figures {
    qint64 size = 0;
    qint64 files = 0;
    qint64 subfolders = 0;
    bool operator==(const Figures& o) const {
        return size == o.size && files == o.files && subfolders == o.subfolders;
    }
};

std::ostream& operator<<(std::ostream& os, const Figures& f) {
    return os << "size " << f.size << ", files " << f.files << ", sub-folders " << f.subfolders;
}

qint64 digits(const QByteArray& cell) {
    qint64 n = 0;
    for (const char c : cell)
        if (c >= '0' && c <= '9') n = n * 10 + (c - '0');
    return n;
}

// The rows vastel-scan prints, by exact folder path.
std::map<QByteArray, Figures> scannedRows(const QByteArray& scanner, const char* kind,
                                          const QByteArray& root) {
    std::map<QByteArray, Figures> rows;
    for (const QByteArray& line :
         runAsNobody({arg(scanner), QStringLiteral("dirhogs"), QLatin1String(kind), arg(root)})
             .split('\n')) {
        if (line.isEmpty()) continue;
        const QByteArrayList cells = line.split('\t');
        EXPECT_EQ(cells.size(), 7) << line.constData();
        if (cells.size() != 7) continue;
        rows[unescape(cells[6])] = {digits(cells[0]), digits(cells[2]), digits(cells[3])};
    }
    return rows;
}

// Folders as the walk finishes them: sub-folders in listing order first, hidden folders and
// those the user cannot open left out.
void postOrder(const QByteArray& folder, const std::function<bool(const QByteArray&)>& closed,
               QByteArrayList& out) {
    for (const DirEntry& e : listDirectory(folder)) {
        const QByteArray path = folder + '/' + e.name;
        if (e.isDirectory() && !e.name.startsWith('.') && !closed(path))
            postOrder(path, closed, out);
    }
    out << folder;
}

QByteArrayList nulSeparated(const QByteArray& bytes) {
    QByteArrayList parts = bytes.split('\0');
    parts.removeAll(QByteArray());
    return parts;
}

// What du and find say for each row folder, the folders in the order the scan meets them.
std::map<QByteArray, Figures> expectedRows(const QByteArrayList& folders, bool main) {
    // The files of each row, as find lists them.
    const QStringList prune = {
        QStringLiteral("("),  QStringLiteral("-type"),  QStringLiteral("d"),
        QStringLiteral("("),  QStringLiteral("-name"),  QStringLiteral(".*"),
        QStringLiteral("-o"), QStringLiteral("!"),      QStringLiteral("-readable"),
        QStringLiteral(")"),  QStringLiteral("-prune"), QStringLiteral(")"),
        QStringLiteral("-o")};
    std::vector<std::pair<QByteArray, QByteArray>> files;  // (file, row folder) in scan order
    std::map<QByteArray, Figures> rows;
    for (const QByteArray& folder : folders) {
        // The folder goes in on standard input: a name that is not UTF-8 would not survive
        // the trip through an argument list.
        QStringList list = {QStringLiteral("xargs"),     QStringLiteral("-0"),
                            QStringLiteral("-I{}"),      QStringLiteral("find"),
                            QStringLiteral("{}"),        QStringLiteral("-xdev"),
                            QStringLiteral("-mindepth"), QStringLiteral("1")};
        QStringList dirs = list;
        if (main) {
            list << prune;
            dirs << prune;
        } else {
            list << QStringLiteral("-maxdepth") << QStringLiteral("1");
            dirs << QStringLiteral("-maxdepth") << QStringLiteral("1");
        }
        list << QStringLiteral("!") << QStringLiteral("-type") << QStringLiteral("d")
             << QStringLiteral("!") << QStringLiteral("-type") << QStringLiteral("l")
             << QStringLiteral("-print0");
        dirs << QStringLiteral("-type") << QStringLiteral("d") << QStringLiteral("-printf")
             << QStringLiteral("x");
        for (const QByteArray& file : nulSeparated(runAsNobody(list, folder + '\0')))
            files.push_back({file, folder});
        rows[folder].subfolders = runAsNobody(dirs, folder + '\0').size();
    }
    // One du over all of them, so that a file with several names counts once, where first met.
    QByteArray input;
    for (const auto& f : files) input += f.first + '\0';
    const QByteArrayList counted = nulSeparated(
        runAsNobody({QStringLiteral("du"), QStringLiteral("--apparent-size"), QStringLiteral("-B1"),
                     QStringLiteral("-0"), QStringLiteral("--files0-from=-")},
                    input));
    size_t next = 0;
    for (const QByteArray& line : counted) {
        const qsizetype tab = line.indexOf('\t');
        const QByteArray path = line.mid(tab + 1);
        while (next < files.size() && files[next].first != path) ++next;
        if (next == files.size()) {
            ADD_FAILURE() << "du names a file find did not list: " << path.constData();
            break;
        }
        Figures& row = rows[files[next].second];
        row.size += line.left(tab).toLongLong();
        ++row.files;
        ++next;
    }
    return rows;
}

TEST(DirHogExact, RowsMatchDuAndFind) {
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "needs root and setpriv to scan as another user";
    // The tree and the program go where that user can reach them.
    TempTree tree(QStringLiteral("/tmp"));
    TempTree bin(QStringLiteral("/tmp"));
    ASSERT_EQ(::chmod(tree.root().constData(), 0755), 0);
    ASSERT_EQ(::chmod(bin.root().constData(), 0755), 0);
    const QByteArray scanner = bin.copyProgram(VASTEL_SCAN_PATH, "vastel-scan");

    tree.createFile("top.bin", 11);
    tree.createFile("Docs/a.txt", 1234);
    tree.createFile("Docs/.hidden-file", 99);
    tree.createFile("Docs/.hidden-folder/inside", 5000);
    tree.createFile("Docs/sub/b", 10);
    tree.createFile("Docs/sub/deeper/c", 3);
    tree.createFile("Media/m", 4096);
    tree.createFile("Tab\there/file\twith\ttabs", 21);
    tree.createFile("New\nline/f\nn", 22);
    tree.createFile("Bad\xff\xfe name/\xc3(x", 23);
    tree.createFolder("Empty");
    tree.createFile("Closed/secret", 777);
    tree.createFile("Docs/locked/secret", 888);
    // Hard links: in one folder, from a sub-folder to its parent, across two main folders.
    ASSERT_EQ(
        ::link(tree.path("Docs/a.txt").constData(), tree.path("Docs/a-again.txt").constData()), 0);
    ASSERT_EQ(::link(tree.path("Docs/sub/b").constData(), tree.path("Docs/b-up").constData()), 0);
    ASSERT_EQ(::link(tree.path("Media/m").constData(), tree.path("Docs/sub/m-too").constData()), 0);
    // Sparse files of 2 GiB and more.
    for (const auto& [name, size] : {std::pair{"Big/two-gib", qint64(1) << 31},
                                     std::pair{"Big/five-gib", (qint64(5) << 30) + 3}}) {
        const QByteArray big = tree.createFile(name, 0);
        ASSERT_EQ(::truncate(big.constData(), size), 0);
    }
    // Links out of the tree, and a FIFO.
    tree.createSymlink("Docs/to-usr", "/usr");
    tree.createSymlink("Media/to-passwd", "/etc/passwd");
    ASSERT_EQ(::mkfifo(tree.path("Media/pipe").constData(), 0644), 0);
    for (const char* closed : {"Closed", "Docs/locked"})
        ASSERT_EQ(::chmod(tree.path(closed).constData(), 0700), 0);
    const auto isClosed = [&](const QByteArray& path) {
        return path == tree.path("Closed") || path == tree.path("Docs/locked");
    };

    // All folders: the root and every folder that could be listed, each with its own files.
    QByteArrayList all;
    postOrder(tree.root(), isClosed, all);
    ASSERT_EQ(all.size(), 10);
    const auto scannedAll = scannedRows(scanner, "--all", tree.root());
    const auto expectedAll = expectedRows(all, false);
    EXPECT_EQ(scannedAll.size(), expectedAll.size());
    for (const auto& [folder, figures] : expectedAll) {
        SCOPED_TRACE(folder.constData());
        ASSERT_TRUE(scannedAll.count(folder));
        EXPECT_EQ(scannedAll.at(folder), figures);
    }
    EXPECT_EQ(scannedAll.at(tree.path("Big")).size, (qint64(7) << 30) + 3);

    // Main folders: the root's folders in listing order, each with its whole sub-tree.
    QByteArrayList main;
    for (const DirEntry& e : listDirectory(tree.root()))
        if (e.isDirectory() && !e.name.startsWith('.') && !isClosed(tree.path(e.name)))
            main << tree.path(e.name);
    ASSERT_EQ(main.size(), 7);
    const auto scannedMain = scannedRows(scanner, "--main", tree.root());
    const auto expectedMain = expectedRows(main, true);
    EXPECT_EQ(scannedMain.size(), expectedMain.size());
    for (const auto& [folder, figures] : expectedMain) {
        SCOPED_TRACE(folder.constData());
        ASSERT_TRUE(scannedMain.count(folder));
        EXPECT_EQ(scannedMain.at(folder), figures);
    }
}

}  // namespace
}  // namespace vastel
