#include "inspect/FileBlocks.h"
#include "inspect/LineCounter.h"
#include "inspect/LineIndex.h"
#include "inspect/TextLines.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// The line starts by their definition: the first byte, every byte after a line feed, and
// every multiple of 1024 whose preceding 1024 bytes hold no line feed.
std::vector<qint64> referenceStarts(const QByteArray& d) {
    std::vector<qint64> starts;
    for (qint64 p = 0; p < d.size(); ++p) {
        bool start = p == 0 || d[p - 1] == '\n';
        if (!start && p % 1024 == 0) start = !d.mid(p - 1024, 1024).contains('\n');
        if (start) starts.push_back(p);
    }
    return starts;
}

struct Shape {
    const char* name;
    std::function<QByteArray()> make;
};

QByteArray randomText(unsigned seed, int size, int meanLine, bool crlf) {
    std::mt19937 random(seed);
    QByteArray out;
    while (out.size() < size) {
        const int length = int(random() % (2 * meanLine + 1));
        for (int i = 0; i < length; ++i) out.append(char('a' + random() % 26));
        out.append(crlf ? "\r\n" : "\n");
    }
    out.truncate(size);
    return out;
}

class LineShapes : public testing::TestWithParam<Shape> {};

// The counter, the index and every way of moving between lines agree with the definition.
TEST_P(LineShapes, agreeWithTheDefinition) {
    const QByteArray data = GetParam().make();
    TempTree tree;
    const QByteArray path = tree.createFileWith("f.txt", data);
    const std::vector<qint64> starts = referenceStarts(data);

    auto index = std::make_shared<LineIndex>();
    {
        LineCounter counter(path, data.size(), index);
        counter.start();
        counter.wait();
    }
    ASSERT_EQ(index->lineCount(), qint64(starts.size()));
    ASSERT_EQ(index->blocksIndexed(),
              (data.size() + LineIndex::kBlockSize - 1) / LineIndex::kBlockSize);

    FileBlocks blocks;
    ASSERT_TRUE(blocks.open(path));
    TextLines lines(blocks);
    lines.setIndex(index.get());
    for (size_t n = 0; n < starts.size(); ++n) {
        const qint64 s = starts[n];
        const qint64 next = n + 1 < starts.size() ? starts[n + 1] : data.size();
        ASSERT_LE(next - s, TextLines::kMaxLine) << "line " << n;
        ASSERT_EQ(lines.nextLineStart(s), next) << "line " << n;
        ASSERT_EQ(lines.startOfLine(qint64(n)), s) << "line " << n;
        ASSERT_EQ(lines.lineOf(s), qint64(n)) << "line " << n;
        ASSERT_TRUE(lines.isLineStart(s));
        if (n > 0) {
            ASSERT_EQ(lines.previousLineStart(s), starts[n - 1]);
        }
    }
    EXPECT_FALSE(lines.startOfLine(qint64(starts.size())));
    std::mt19937 random(7);
    for (int i = 0; i < 2000 && !data.isEmpty(); ++i) {
        const qint64 p = random() % data.size();
        const auto it = std::upper_bound(starts.begin(), starts.end(), p) - 1;
        ASSERT_EQ(lines.lineStartAtOrBefore(p), *it) << "offset " << p;
        ASSERT_EQ(lines.lineOf(p), qint64(it - starts.begin())) << "offset " << p;
    }
    if (!data.isEmpty()) {
        EXPECT_EQ(lines.lastLineStart(), starts.back());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Text, LineShapes,
    testing::Values(
        Shape{"empty", [] { return QByteArray(); }},
        Shape{"oneByte", [] { return QByteArray("x"); }},
        Shape{"onlyLineFeeds", [] { return QByteArray(3000, '\n'); }},
        Shape{"endsWithLineFeed", [] { return QByteArray("one\ntwo\nthree\n"); }},
        Shape{"endsWithoutLineFeed", [] { return QByteArray("one\ntwo\nthree"); }},
        Shape{"shortLinesOverSeveralBlocks", [] { return randomText(1, 300000, 40, false); }},
        Shape{"carriageReturns", [] { return randomText(2, 140000, 60, true); }},
        Shape{"linesAroundTheBreakLength", [] { return randomText(3, 200000, 1100, false); }},
        Shape{"veryLongLines", [] { return randomText(4, 200000, 9000, false); }},
        Shape{"noLineFeedAtAll", [] { return QByteArray(200000, '\0'); }},
        Shape{"lineFeedJustBeforeABreak",
              [] {
                  QByteArray d(5000, 'x');
                  d[1023] = '\n';
                  d[3071] = '\n';
                  d[4095] = '\n';
                  return d;
              }}),
    [](const testing::TestParamInfo<Shape>& info) { return std::string(info.param.name); });

TEST(TextLines, lineBytesLeaveOutTheLineEnd) {
    TempTree tree;
    const QByteArray path = tree.createFileWith("f.txt", "dos line\r\nunix line\nlast");
    FileBlocks blocks;
    ASSERT_TRUE(blocks.open(path));
    TextLines lines(blocks);
    EXPECT_EQ(lines.lineBytes(0), "dos line");
    EXPECT_EQ(lines.lineBytes(10), "unix line");
    EXPECT_EQ(lines.lineBytes(20), "last");
    // Without an index nothing can be numbered, though the lines can be walked.
    EXPECT_FALSE(lines.lineOf(10));
    EXPECT_EQ(lines.nextLineStart(10), 20);
}

TEST(LineCounter, stopsWhenAsked) {
    TempTree tree;
    const QByteArray path = tree.createFile("big.bin", 64 << 20, 0, 0, 'x');
    auto index = std::make_shared<LineIndex>();
    LineCounter counter(path, 64 << 20, index);
    counter.start();
    counter.stop();
    counter.wait();
    EXPECT_TRUE(counter.isFinished());
    EXPECT_FALSE(index->done());
}

TEST(LineCounter, aFileCutShortCountsItsMissingBytesAsZeros) {
    // The size is the one seen when the file was opened; a file cut meanwhile must not hang
    // or miscount what is left.
    TempTree tree;
    const QByteArray path = tree.createFileWith("f.txt", QByteArray("a\nb\n"));
    auto index = std::make_shared<LineIndex>();
    LineCounter counter(path, 4000, index);
    counter.start();
    counter.wait();
    // "a", "b", then 3996 zeros broken after the 1024 bytes without a line feed: at 2048, 3072.
    EXPECT_EQ(index->lineCount(), 5);
}

}  // namespace
