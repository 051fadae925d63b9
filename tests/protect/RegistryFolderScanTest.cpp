#include "protect/RegistryFolderScan.h"

#include "protect/FolderEntry.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

using namespace vastel;
using test::TempTree;

namespace {

// A list that holds folders sorted and refuses duplicates without regard to case.
struct ListSink : RegistryFolderSink {
    QByteArrayList folders;
    int ticks = 0;
    bool listed(const QByteArray& f) override {
        return std::any_of(folders.begin(), folders.end(),
                           [&](const QByteArray& e) { return equalNoCase(e, f); });
    }
    void add(const QByteArray& f) override {
        folders.append(f);
        sortFolderEntries(folders);
    }
    void tick() override { ++ticks; }
};

// A machine branch (package lists and an etc folder) and a user branch in one temporary tree.
struct FixtureRegistry {
    TempTree t;
    QByteArray root = t.root();
    RegistryBranches branches{t.path("info"), t.path("etc"), t.path("config")};

    QByteArray nested(const QByteArray& top, const char* stem, int levels) {
        QByteArray p = top;
        for (int i = 1; i <= levels; ++i) p += "/" + QByteArray(stem) + QByteArray::number(i);
        return p;
    }
};

}  // namespace

TEST(RegistryFolderScan, FolderReferenceRules) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/share/app/app.bin", "/usr/share/app/"},
        {"/etc/profile", "/etc/"},  // the root's files protect what lies directly in it
        {"/.", "/"},
        {"/usr/share/doc", "/usr/share/"},
        {"/", nullptr},                     // too short
        {"/opt/x.bin --opt=a:b", nullptr},  // a colon
        {"C:\\APP\\X.EXE", nullptr},
        {"relative/path", nullptr},
        {" /lead/blank", nullptr},
        {"", nullptr},
    };
    for (const auto& [value, folder] : cases) {
        const auto f = RegistryFolderScan::folderReference(value);
        if (folder)
            EXPECT_EQ(f.value_or("<none>"), QByteArray(folder)) << value;
        else
            EXPECT_FALSE(f) << value;
    }
}

TEST(RegistryFolderScan, ValuesOfNameValueLines) {
    EXPECT_EQ(RegistryFolderScan::nameValueValues("a=/x/y\r\n"
                                                  "  b =  /p q/r  \n"
                                                  "c=\"/quoted/z\"\n"
                                                  "d='/single/z'\n"
                                                  "# e=/comment/z\n"
                                                  "; f=/comment/z\n"
                                                  "no value line /x/y\n"
                                                  "g=a=b\n"
                                                  "h="),
              (QByteArrayList{"/x/y", "/p q/r", "/quoted/z", "/single/z", "a=b", ""}));
}

TEST(RegistryFolderScan, WalksBothBranchesAndAcceptsOnlyExistingFolders) {
    FixtureRegistry r;
    TempTree& t = r.t;
    const QByteArray& R = r.root;
    for (const char* f : {"data/app/bin", "conf/x", "quoted/x", "user/x", "removable/x", "md5/x",
                          "huge/x", "bin/x", "secret/x", "locked/x", "linked/x", "deep/ok",
                          "deep/no", "udeep/ok", "udeep/no", "preset", "plain"})
        t.createFolder(f);
    t.createFileWith("info/pkg1.list", "/.\n" + R + "/data/app\n" + R + "/data/app/bin/tool\n" + R +
                                           "/missing/x\n" + R + "/colon/x:y\n" + "relative/x\n" +
                                           R + "/removable/x/f\n" + R + "/PRESET/f\n" + R +
                                           "/data//app/bin/./other\n");
    t.createFileWith("info/pkg1.md5sums", R + "/md5/x/f\n");
    t.createFileWith("info/huge.list", (R + "/huge/x/f\n").repeated(30000));
    t.createFileWith("info/binary.list", R + "/bin/x/f\n" + QByteArray("\0", 1));
    t.createFileWith("etc/app.conf", "Dir = " + R + "/conf/x/f\n# Old=" + R +
                                         "/plain/f\nQuoted=\"" + R + "/quoted/x/f\"\nNoEq " + R +
                                         "/plain/g\n");
    t.createFileWith("etc/secret.conf", "k=" + R + "/secret/x/f\n");
    ::chmod(t.path("etc/secret.conf").constData(), 0);
    t.createFileWith("etc/locked/in.conf", "k=" + R + "/locked/x/f\n");
    ::chmod(t.path("etc/locked").constData(), 0);
    t.createFileWith("outside/link.conf", "k=" + R + "/linked/x/f\n");
    t.createSymlink("etc/link", R + "/outside");
    t.createSymlink("etc/linkfile.conf", R + "/outside/link.conf");
    // Values of a key at level 26 are still read; below that nothing is visited.
    t.createFileWith(r.nested("etc", "d", 23).mid(0) + "/f.conf", "k=" + R + "/deep/ok/f\n");
    t.createFileWith(r.nested("etc", "d", 24) + "/f.conf", "k=" + R + "/deep/no/f\n");
    // The user branch's "\SOFTWARE" is the configuration folder itself: one level less.
    t.createFileWith(r.nested("config", "e", 24) + "/f.conf", "k=" + R + "/udeep/ok/f\n");
    t.createFileWith(r.nested("config", "e", 25) + "/f.conf", "k=" + R + "/udeep/no/f\n");
    t.createFileWith("config/app/settings.ini", "[Main]\nPath=" + R + "/user/x/f\n");

    RegistryFolderScan scan(r.branches);
    scan.isRemovable = [&](const QByteArray& f) { return f.startsWith(R + "/removable/"); };
    ListSink sink;
    sink.folders = {R + "/preset/"};
    scan.run(sink);
    ::chmod(t.path("etc/locked").constData(), 0700);

    const bool root = ::geteuid() == 0;  // root reads the unreadable fixtures too
    QByteArrayList expected{"/",
                            R + "/conf/x/",
                            R + "/data/",
                            R + "/data/app/bin/",
                            R + "/deep/ok/",
                            R + "/preset/",
                            R + "/quoted/x/",
                            R + "/udeep/ok/",
                            R + "/user/x/"};
    if (root) expected << R + "/locked/x/" << R + "/secret/x/";
    sortFolderEntries(expected);
    EXPECT_EQ(sink.folders.join('\n').toStdString(), expected.join('\n').toStdString());
    EXPECT_GT(sink.ticks, 0);
    EXPECT_GE(scan.filesSkipped, root ? 2 : 3);  // huge, binary, unreadable
}

TEST(RegistryFolderScan, MissingBranchesFindNothing) {
    RegistryFolderScan scan({"/nonexistent/info", "/nonexistent/etc", "/nonexistent/config"});
    ListSink sink;
    scan.run(sink);
    EXPECT_TRUE(sink.folders.isEmpty());
}
