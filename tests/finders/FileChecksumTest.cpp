// The pair comparison's checksum and its byte comparison.
#include "finders/FileChecksum.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace vastel {
namespace {

using test::TempTree;

quint32 crcOf(const QByteArray& bytes) {
    return quint32(
        ::crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())));
}

TEST(FileChecksum, SumOfTheBlocksCrcs) {
    TempTree tree;
    const QByteArray first(2048, 'a'), second(2048, 'b'), tail("xyz");
    EXPECT_EQ(fileChecksum(tree.createFileWith("4096", first + second)),
              quint32(crcOf(first) + crcOf(second)));
    EXPECT_NE(fileChecksum(tree.path("4096")), crcOf(first + second));
    EXPECT_EQ(fileChecksum(tree.createFileWith("tail", first + tail)),
              quint32(crcOf(first) + crcOf(tail)));
    EXPECT_EQ(fileChecksum(tree.createFileWith("empty", QByteArray())), 0u);
    EXPECT_EQ(fileChecksum(tree.path("missing")), 0u);
    // Beyond one read buffer the blocks are still those of 2048 bytes.
    QByteArray big;
    quint32 sum = 0;
    for (int i = 0; i < 700; ++i) {
        const QByteArray block(2048, char('A' + i % 50));
        big += block;
        sum += crcOf(block);
    }
    EXPECT_EQ(fileChecksum(tree.createFileWith("big", big)), sum);
}

TEST(FileChecksum, TextIsUpperCaseHexInEight) {
    EXPECT_EQ(checksumText(0), "       0");
    EXPECT_EQ(checksumText(0xabc), "     ABC");
    EXPECT_EQ(checksumText(0xDEADBEEF), "DEADBEEF");
}

TEST(FileChecksum, OnlyEqualBytesAreIdentical) {
    TempTree tree;
    const QByteArray a(2048, 'a'), b(2048, 'b');
    const QByteArray one = tree.createFileWith("one", a + b + "end");
    const QByteArray copy = tree.createFileWith("copy", a + b + "end");
    const QByteArray swapped = tree.createFileWith("swapped", b + a + "end");
    const QByteArray other = tree.createFileWith("other", a + a + "end");
    const QByteArray longer = tree.createFileWith("longer", a + b + "end!");

    PairChecksums r = comparePair(one, copy);
    EXPECT_EQ(r.left, r.right);
    EXPECT_TRUE(r.identical);
    // Blocks in another order: the same checksum, yet not the same contents.
    r = comparePair(one, swapped);
    EXPECT_EQ(r.left, r.right);
    EXPECT_FALSE(r.identical);
    r = comparePair(one, other);
    EXPECT_NE(r.left, r.right);
    EXPECT_FALSE(r.identical);
    EXPECT_FALSE(comparePair(one, longer).identical);
    EXPECT_EQ(comparePair(longer, one).left, fileChecksum(longer));
    // A missing file counts 0 and is never identical, not even to another missing one.
    r = comparePair(one, tree.path("gone"));
    EXPECT_EQ(r.left, fileChecksum(one));
    EXPECT_EQ(r.right, 0u);
    EXPECT_FALSE(r.identical);
    EXPECT_FALSE(comparePair(tree.path("gone"), tree.path("gone2")).identical);
    EXPECT_TRUE(
        comparePair(tree.createFileWith("e1", {}), tree.createFileWith("e2", {})).identical);
}

}  // namespace
}  // namespace vastel
