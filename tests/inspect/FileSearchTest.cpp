#include "inspect/FileSearch.h"
#include "platform/NativeFile.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <QFile>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// A 9 MiB file: matches lie across the 4 MiB pieces the search reads.
class FileSearch : public testing::Test {
  protected:
    static constexpr qint64 kMiB = 1 << 20;
    void SetUp() override {
        data = QByteArray(9 * kMiB, '.');
        const auto put = [&](qint64 at, const char* text) {
            data.replace(at, qstrlen(text), text);
        };
        put(100, "Needle");
        put(4 * kMiB - 3, "needle");  // across the first piece boundary
        put(8 * kMiB + 5, "NEEDLE");
        put(9 * kMiB - 6, "needle");  // the very end
        path = tree.createFileWith("f.bin", data);
        ASSERT_TRUE(openNativeForReading(file, path));
    }
    qint64 find(const char* needle, qint64 from, bool backward, bool matchCase) {
        return findInFile(file, data.size(), needle, from, backward, matchCase);
    }
    TempTree tree;
    QByteArray data, path;
    QFile file;
};

TEST_F(FileSearch, forwardFindsTheFirstMatchAtOrAfterTheStart) {
    EXPECT_EQ(find("needle", 0, false, false), 100);
    EXPECT_EQ(find("needle", 100, false, false), 100);
    EXPECT_EQ(find("needle", 101, false, false), 4 * kMiB - 3);
    EXPECT_EQ(find("needle", 0, false, true), 4 * kMiB - 3);
    EXPECT_EQ(find("NEEDLE", 0, false, true), 8 * kMiB + 5);
    EXPECT_EQ(find("needle", 8 * kMiB + 6, false, false), 9 * kMiB - 6);
    EXPECT_EQ(find("needle", 9 * kMiB - 5, false, false), -1);
}

TEST_F(FileSearch, backwardFindsTheLastMatchBeforeTheStart) {
    EXPECT_EQ(find("needle", data.size(), true, false), 9 * kMiB - 6);
    EXPECT_EQ(find("needle", 9 * kMiB - 6, true, false), 8 * kMiB + 5);
    EXPECT_EQ(find("needle", 8 * kMiB + 5, true, true), 4 * kMiB - 3);
    EXPECT_EQ(find("Needle", 4 * kMiB, true, true), 100);
    EXPECT_EQ(find("needle", 100, true, false), -1);
}

TEST_F(FileSearch, nothingToFind) {
    EXPECT_EQ(find("haystack", 0, false, false), -1);
    EXPECT_EQ(find("haystack", data.size(), true, false), -1);
    EXPECT_EQ(find("", 0, false, false), -1);
    EXPECT_EQ(findInFile(file, 4, "needle", 0, false, false), -1);
    // Asked to stop, it stops.
    JobSink quiet;
    StopToken stopped;
    stopped.request();
    EXPECT_EQ(findInFile(file, data.size(), "NEEDLE", 0, false, true, quiet, stopped), -1);
}

}  // namespace

namespace {

TEST(FileSearchCase, onlyAsciiLettersFoldTogether) {
    TempTree tree;
    // Latin-1 and UTF-8 capitals must stay what they are; "@[`{" sit next to the letters.
    const QByteArray data = QByteArray(
        "xx\xc1"
        "BC @[`{ end caf\xc3\x89 MIXED case");
    const QByteArray path = tree.createFileWith("f.bin", data);
    QFile file;
    ASSERT_TRUE(openNativeForReading(file, path));
    const auto find = [&](const QByteArray& needle) {
        return findInFile(file, data.size(), needle, 0, false, false);
    };
    EXPECT_EQ(find("\xc1"
                   "bc"),
              2);
    EXPECT_EQ(find("\xe1"
                   "bc"),
              -1);
    EXPECT_EQ(find("caf\xc3\xa9"), -1);
    EXPECT_EQ(find("@[`{"), 6);
    EXPECT_EQ(find("mixed CASE"), data.indexOf("MIXED"));
}

}  // namespace
