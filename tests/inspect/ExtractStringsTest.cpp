#include "core/DialogJobSink.h"
#include "inspect/ExtractStrings.h"
#include "platform/ScriptedDialogs.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <QFile>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// Problems become the boxes the viewer shows.
DialogJobSink boxes;

QByteArray readAll(const QByteArray& path) {
    QFile f(QString::fromUtf8(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray letters(int n) {
    QByteArray out;
    for (int i = 0; i < n; ++i) out.append(char('a' + i % 26));
    return out;
}

// Bytes at a given offset inside a block of zeros.
QByteArray placed(int size, int at, const QByteArray& text) {
    QByteArray out(size, '\0');
    out.replace(at, text.size(), text);
    return out;
}

struct StringsCase {
    const char* name;
    QByteArray input;
    QByteArray expected;
};

class ExtractStringsCases : public testing::TestWithParam<StringsCase> {};

TEST_P(ExtractStringsCases, writesTheReadableRuns) {
    TempTree tree;
    const QByteArray source = tree.createFileWith("source.bin", GetParam().input);
    const QByteArray target = tree.path("strings.txt");
    ScriptedDialogs script;
    EXPECT_TRUE(extractStrings(source, target, 5, 100, boxes));
    EXPECT_EQ(readAll(target), GetParam().expected);
    EXPECT_TRUE(script.messages().isEmpty());
}

const QByteArray kNul(1, '\0');

INSTANTIATE_TEST_SUITE_P(
    Runs, ExtractStringsCases,
    testing::Values(
        StringsCase{"exclamationEndsTheRun", QByteArray("Hello world!") + kNul, "Hello world\n"},
        StringsCase{"fiveLettersAreTooFew", QByteArray("abcde") + kNul, ""},
        StringsCase{"sixLettersAreEnough", QByteArray("abcdef") + kNul, "abcdef\n"},
        StringsCase{"repeatWrittenOnce",
                    QByteArray("abcdef\x01\x02"
                               "abcdef") +
                        kNul,
                    "abcdef\n"},
        StringsCase{"repeatAfterAnotherRunWrittenAgain", QByteArray("abcdef.ghijkl.abcdef") + kNul,
                    "abcdef\nghijkl\nabcdef\n"},
        StringsCase{"shortRunBetweenRepeatsChangesNothing", QByteArray("abcdef.xy.abcdef") + kNul,
                    "abcdef\n"},
        StringsCase{"exactly101Letters", letters(101) + kNul, letters(101) + "\n"},
        StringsCase{"102LettersAreTooMany", letters(102) + kNul, ""},
        StringsCase{"150LettersAreTooMany", letters(150) + kNul, ""},
        StringsCase{"runAtTheEndOfTheFileIsDropped", QByteArray("abcdefgh"), ""},
        StringsCase{"emptyFile", QByteArray(), ""},
        StringsCase{"blanksAndDigitsAreReadable", QByteArray("Page 12 of 30\t") + kNul,
                    "Page 12 of 30\n"},
        StringsCase{"otherBytesEndRuns", QByteArray("abcdefg\xe9hijklmn-opqrstu\n"),
                    "abcdefg\nhijklmn\nopqrstu\n"},
        // Blocks of 2048 bytes: a run open at a block's end is dropped, the next block
        // starts afresh, and the last written line carries over.
        StringsCase{"runReachingTheBlockEnd", placed(2100, 2040, "abcdefgh"), ""},
        StringsCase{"runEndingJustBeforeTheBlockEnd", placed(2100, 2039, "abcdefgh"), "abcdefgh\n"},
        StringsCase{"runStartingTheNextBlock", placed(2100, 2048, "abcdefgh"), "abcdefgh\n"},
        StringsCase{"lastLineCarriesOverBlocks",
                    placed(2100, 10, "abcdefgh").replace(2060, 8, "abcdefgh"), "abcdefgh\n"}),
    [](const testing::TestParamInfo<StringsCase>& info) { return std::string(info.param.name); });

TEST(ExtractStrings, replacesWhatTheTargetHeld) {
    TempTree tree;
    const QByteArray source = tree.createFileWith("a.bin", QByteArray("abcdefgh") + kNul);
    const QByteArray target = tree.createFileWith("t.txt", "old content that is longer\n");
    EXPECT_TRUE(extractStrings(source, target, 5, 100, boxes));
    EXPECT_EQ(readAll(target), "abcdefgh\n");
}

TEST(ExtractStrings, unreadableSourceIsReportedAndLeavesTheTarget) {
    TempTree tree;
    const QByteArray target = tree.createFileWith("t.txt", "kept\n");
    ScriptedDialogs script;
    const QByteArray missing = tree.path("no such file.bin");
    EXPECT_FALSE(extractStrings(missing, target, 5, 100, boxes));
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages().first(),
              QStringLiteral("Could not open file ") + QString::fromUtf8(missing));
    EXPECT_EQ(script.records().first().icon, BoxIcon::Error);
    EXPECT_EQ(readAll(target), "kept\n");
    // A folder is not a file to read either.
    EXPECT_FALSE(extractStrings(tree.root(), target, 5, 100, boxes));
}

TEST(ExtractStrings, unwritableTargetIsReported) {
    TempTree tree;
    const QByteArray source = tree.createFileWith("a.bin", QByteArray("abcdefgh") + kNul);
    ScriptedDialogs script;
    EXPECT_FALSE(extractStrings(source, tree.path("no/such/folder/t.txt"), 5, 100, boxes));
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages().first().startsWith(QStringLiteral("Could not create file ")));
}

TEST(ExtractStrings, otherBoundsFollowTheSameRule) {
    // Runs longer than the minimum and at most the maximum + 1.
    TempTree tree;
    const QByteArray source =
        tree.createFileWith("a.bin", QByteArray("ab.abc.abcd.abcde.abcdef.") + kNul);
    const QByteArray target = tree.path("t.txt");
    EXPECT_TRUE(extractStrings(source, target, 2, 3, boxes));
    EXPECT_EQ(readAll(target), "abc\nabcd\n");
}

}  // namespace
