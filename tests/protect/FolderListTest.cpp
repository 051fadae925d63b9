#include "protect/FolderEntry.h"
#include "protect/FolderList.h"

#include <gtest/gtest.h>

#include <random>

using namespace vastel;

namespace {

// A random path of 1 to 6 parts from an alphabet that mixes case and the bytes that sort
// around "/", "*" and the letters.
QByteArray randomFolder(std::mt19937& rng) {
    static const char alphabet[] = "abAB_z- !.~0\xc3\xa9";
    std::uniform_int_distribution<int> parts(1, 6), length(1, 4), pick(0, int(sizeof alphabet) - 2);
    QByteArray path = "/";
    for (int p = parts(rng); p > 0; --p) {
        for (int n = length(rng); n > 0; --n) path += alphabet[pick(rng)];
        path += '/';
    }
    return path;
}

// The entry that protects a folder, by looking at every entry.
bool protectedByScan(const QByteArrayList& entries, const QByteArray& folder) {
    for (const QByteArray& e : entries)
        if (compareFolderEntry(folder, e) == 0) return true;
    return false;
}

}  // namespace

TEST(FolderList, BinarySearchFindsEveryMemberOfARandomList) {
    std::mt19937 rng(20240501);
    QByteArrayList entries;
    for (int i = 0; i < 5000; ++i) {
        QByteArray f = randomFolder(rng);
        if (i % 7 == 0) f += kTreeMarker;  // trees, many with others below them
        entries.append(f);
    }
    const FolderList list(entries);
    for (const QByteArray& e : entries) {
        const QByteArray stem = entryStem(e);
        ASSERT_GE(list.find(asciiUpper(stem)), 0) << e.constData();
        ASSERT_GE(list.find(stem.toLower()), 0) << e.constData();
        if (isTreeEntry(e)) {
            ASSERT_GE(list.find(stem + "deeper/still/"), 0) << e.constData();
        }
    }
    // And nothing else: the search agrees with a look at every entry.
    const QByteArrayList upper = list.entries();
    for (int i = 0; i < 5000; ++i) {
        const QByteArray probe = asciiUpper(randomFolder(rng));
        ASSERT_EQ(list.find(probe) >= 0, protectedByScan(upper, probe)) << probe.constData();
    }
}

TEST(FolderList, FolderBelowATreeIsFoundPastTheTreesBelowIt) {
    // Searching /A/X/ lands on /A/M/*.* or /Z/ first; /A/*.* lies behind them.
    const FolderList list(QByteArrayList{"/a/*.*", "/a/m/*.*", "/a/n/*.*", "/z/", "/y/", "/x/"});
    EXPECT_GE(list.find("/A/X/"), 0);
    EXPECT_GE(list.find("/A/"), 0);
    EXPECT_EQ(list.find("/B/"), -1);
    EXPECT_EQ(list.find("/"), -1);
    EXPECT_EQ(FolderList().find("/A/"), -1);
}

TEST(FolderList, WholeEntriesCountBeyondEightyCharacters) {
    const QByteArray base = "/" + QByteArray(90, 'L') + "/";
    const FolderList list(QByteArrayList{base + "A/", base + "B/", base + "T/*.*"});
    EXPECT_GE(list.find(base + "B/"), 0);
    EXPECT_GE(list.find(base + "T/U/"), 0);
    EXPECT_EQ(list.find(base + "C/"), -1);
    EXPECT_EQ(list.find(base), -1);
}

TEST(FolderList, HoldsUpperCaseWithoutDuplicatesAndTracksChanges) {
    FolderList list(QByteArrayList{"/b/", "/a/", "/B/"});
    EXPECT_EQ(list.entries(), (QByteArrayList{"/A/", "/B/"}));
    const quint64 before = list.generation();
    EXPECT_TRUE(list.add("/c/"));
    EXPECT_FALSE(list.add("/C/"));
    EXPECT_TRUE(list.contains("/c/"));
    EXPECT_GT(list.generation(), before);
    EXPECT_EQ(findInFolderList("/C/", list), 2);
}
