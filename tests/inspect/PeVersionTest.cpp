#include "PeFixture.h"
#include "inspect/VersionInfoLines.h"
#include "platform/PeVersion.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <QtEndian>
#include <functional>
#include <random>

using namespace vastel;
using vastel::test::PeFixture;
using vastel::test::TempTree;

namespace {

PeFixture fullFixture() {
    PeFixture pe;
    pe.strings = {
        {"CompanyName", "Tessivo Corporation"},
        {"FileDescription", "   Disk space utility"},
        {"FileVersion", "3.0.0.2"},
        {"InternalName", "vastel"},
        {"LegalCopyright", "Copyright (C) 1999"},
        {"OriginalFilename", "VASTEL.EXE"},
        {"ProductName", "Vastel 99"},
        {"ProductVersion", "3.0b"},
    };
    return pe;
}

QStringList linesOf(const QByteArray& image, bool tabbed) {
    TempTree tree;
    const QByteArray path = tree.createFileWith("program.exe", image);
    QStringList lines{"stale line"};
    versionInfoLines(path, lines, tabbed);
    return lines;
}

const QStringList kUntabbed = {
    "Company: Tessivo Corporation",  "File description: Disk space utility",
    "File version: 3.0.0.2",         "Internal name: vastel",
    "Copyright: Copyright (C) 1999", "Trademarks: ",
    "Original filename: VASTEL.EXE", "Private build info: ",
    "Product name: Vastel 99",       "Product version: 3.0b",
    "Special build info: ",
};

TEST(VersionInfoLines, elevenItemsInOrderWithoutSeparator) {
    EXPECT_EQ(linesOf(fullFixture().build(), false), kUntabbed);
}

TEST(VersionInfoLines, tabbedLinesDoubleTheCopyrightSeparator) {
    const QStringList lines = linesOf(fullFixture().build(), true);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], "Company: \tTessivo Corporation");
    EXPECT_EQ(lines[4], "Copyright: \t\tCopyright (C) 1999");
    EXPECT_EQ(lines[5], "Trademarks: \t");
    EXPECT_EQ(lines[10], "Special build info: \t");
}

TEST(VersionInfoLines, sixtyFourBitImagesToo) {
    PeFixture pe = fullFixture();
    pe.pe32plus = true;
    EXPECT_EQ(linesOf(pe.build(), false), kUntabbed);
}

TEST(VersionInfoLines, theTranslationChoosesTheTable) {
    // Table names are four lower-case hex digits each; the block's own case does not matter.
    PeFixture pe = fullFixture();
    pe.translation = {0x0809, 0x04E4};
    pe.stringTable = "080904E4";
    EXPECT_EQ(linesOf(pe.build(), false), kUntabbed);

    // A table for another language holds none of the items: eleven empty values.
    pe.stringTable = "040904b0";
    const QStringList lines = linesOf(pe.build(), false);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], "Company: ");
    EXPECT_EQ(lines[9], "Product version: ");
}

TEST(VersionInfoLines, noLinesWithoutVersionInformation) {
    PeFixture noTranslation = fullFixture();
    noTranslation.translation.reset();
    PeFixture noResource = fullFixture();
    noResource.withResource = false;
    EXPECT_TRUE(linesOf(noTranslation.build(), false).isEmpty());
    EXPECT_TRUE(linesOf(noResource.build(), false).isEmpty());
    EXPECT_TRUE(linesOf("Just a text file.\r\nNothing more.\r\n", true).isEmpty());
    EXPECT_TRUE(linesOf(QByteArray(), true).isEmpty());

    TempTree tree;
    QStringList lines{"stale"};
    versionInfoLines(tree.path("missing.exe"), lines, true);
    EXPECT_TRUE(lines.isEmpty());
    lines = QStringList{"stale"};
    versionInfoLines(tree.root(), lines, true);
    EXPECT_TRUE(lines.isEmpty());
}

TEST(VersionQuery, valuesByPathOfKeys) {
    const std::optional<QByteArray> block = versionInfoFromImage(fullFixture().build());
    ASSERT_TRUE(block);
    const std::optional<QByteArray> translation =
        versionQueryValue(*block, "\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    EXPECT_EQ(*translation, QByteArray("\x09\x04\xB0\x04", 4));
    EXPECT_EQ(versionQueryString(*block, "\\stringfileinfo\\040904B0\\productname"),
              QString("Vastel 99"));
    EXPECT_FALSE(versionQueryString(*block, "\\StringFileInfo\\040904b0\\Comments"));
    EXPECT_FALSE(versionQueryValue(*block, "\\NoSuchBlock"));
}

// A writable view of the fixture's fields for the hostile cases below.
struct Hostile {
    const char* name;
    std::function<void(QByteArray&, const PeFixture&)> corrupt;
};

void put16(QByteArray& b, qsizetype at, quint16 v) { qToLittleEndian(v, b.data() + at); }
void put32(QByteArray& b, qsizetype at, quint32 v) { qToLittleEndian(v, b.data() + at); }

int rsrc(int relative) { return PeFixture::kRawPointer + relative; }
int block(int relative) { return rsrc(PeFixture::kVersionBlock) + relative; }

class HostileImages : public testing::TestWithParam<Hostile> {};

// Each case points somewhere it should not; the reader must find no version information.
TEST_P(HostileImages, giveNoVersionInformation) {
    const PeFixture pe = fullFixture();
    QByteArray image = pe.build();
    GetParam().corrupt(image, pe);
    EXPECT_FALSE(versionInfoFromImage(image).has_value() &&
                 versionQueryValue(*versionInfoFromImage(image), "\\VarFileInfo\\Translation"));
    EXPECT_TRUE(linesOf(image, false).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Pe, HostileImages,
    testing::Values(
        Hostile{"peOffsetPastTheEnd", [](QByteArray& b, auto&) { put32(b, 0x3C, 0x7FFFFFF0); }},
        Hostile{"peOffsetNegativeAsSigned",
                [](QByteArray& b, auto&) { put32(b, 0x3C, 0xFFFFFFFC); }},
        Hostile{"wrongSignature", [](QByteArray& b, auto&) { b[PeFixture::kPeOffset + 2] = 'X'; }},
        Hostile{"unknownOptionalHeader",
                [](QByteArray& b, auto&) { put16(b, PeFixture::kPeOffset + 24, 0x107); }},
        Hostile{"tooFewDirectories",
                [](QByteArray& b, auto&) { put32(b, PeFixture::kPeOffset + 24 + 92, 2); }},
        Hostile{"directoriesPastTheOptionalHeader",
                [](QByteArray& b, auto&) { put16(b, PeFixture::kPeOffset + 20, 96); }},
        Hostile{
            "resourceOutsideEverySection",
            [](QByteArray& b, auto&) { put32(b, PeFixture::kPeOffset + 24 + 96 + 16, 0x90000); }},
        Hostile{"sectionDataPastTheEnd",
                [](QByteArray& b, const PeFixture& pe) {
                    put32(b, pe.sectionTable() + 20, 0x7FFFFF00);
                }},
        Hostile{"sectionRawSizeHuge",
                [](QByteArray& b, const PeFixture& pe) {
                    put32(b, pe.sectionTable() + 16, 0xFFFFFFFF);
                    put32(b, rsrc(PeFixture::kDataEntry + 4), 0x00100000);
                }},
        Hostile{"entryCountsRunPastTheSection",
                [](QByteArray& b, auto&) {
                    put16(b, rsrc(12), 0xFFFF);
                    put16(b, rsrc(14), 0xFFFF);
                    put32(b, rsrc(16), 0x80000000u);  // the type entry now has a string name
                }},
        Hostile{"typeDirectoryLoopsToItself",
                [](QByteArray& b, auto&) { put32(b, rsrc(20), 0x80000000u); }},
        Hostile{"languageLevelIsADirectory",
                [](QByteArray& b, auto&) { put32(b, rsrc(0x30 + 20), 0x80000030u); }},
        Hostile{"nameLevelIsData", [](QByteArray& b, auto&) { put32(b, rsrc(0x18 + 20), 0x48); }},
        Hostile{"subdirectoryOffsetPastTheSection",
                [](QByteArray& b, auto&) { put32(b, rsrc(20), 0x80000000u | 0x7FFFFFF0); }},
        Hostile{
            "dataSizeHuge",
            [](QByteArray& b, auto&) { put32(b, rsrc(PeFixture::kDataEntry + 4), 0xFFFFFFFF); }},
        Hostile{"dataSizePastTheSection",
                [](QByteArray& b, auto&) { put32(b, rsrc(PeFixture::kDataEntry + 4), 0x1000); }},
        Hostile{"dataRvaWraps",
                [](QByteArray& b, auto&) { put32(b, rsrc(PeFixture::kDataEntry), 0xFFFFFFF0); }},
        Hostile{"blockLengthZero", [](QByteArray& b, auto&) { put16(b, block(0), 0); }},
        Hostile{"blockLengthOdd", [](QByteArray& b, auto&) { put16(b, block(0), 5); }},
        Hostile{"rootKeyWithoutItsNul",
                [](QByteArray& b, auto&) {
                    const int length = qFromLittleEndian<quint16>(b.constData() + block(0));
                    for (int i = 6; i + 1 < length; i += 2) put16(b, block(i), 'A');
                }},
        Hostile{"childLongerThanItsParent",
                [](QByteArray& b, auto&) {
                    // StringFileInfo (after the root's key and 52 bytes of fixed info) now
                    // swallows the VarFileInfo that follows it.
                    put16(b, block(0x5C), 0xFFF0);
                }}),
    [](const testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

TEST(PeVersion, aHugeSectionCountIsBounded) {
    QByteArray image = fullFixture().build();
    put16(image, PeFixture::kPeOffset + 6, 0xFFFF);
    EXPECT_EQ(linesOf(image, false), kUntabbed);
}

TEST(PeVersion, everyTruncationIsRefused) {
    const QByteArray image = fullFixture().build();
    // The block lies at the end of the image: any cut removes part of what is needed.
    const qsizetype needed =
        rsrc(PeFixture::kVersionBlock) + qFromLittleEndian<quint16>(image.constData() + block(0));
    for (qsizetype length = 0; length < needed; ++length)
        ASSERT_FALSE(versionInfoFromImage(image.left(length))) << "length " << length;
    EXPECT_TRUE(versionInfoFromImage(image));
}

TEST(PeVersion, oddValueLengthsStayInsideTheBlock) {
    // Declared value lengths larger than the node, and strings without their NUL, are read
    // up to the node's end and no further.
    const QByteArray string = vastel::test::versionString("CompanyName", "Tessivo");
    QByteArray broken = string;
    put16(broken, 2, 0x7FFF);  // value length far past the node
    broken.chop(2);            // and no NUL
    put16(broken, 0, quint16(broken.size()));
    const QByteArray table = vastel::test::versionNode("040904b0", {}, 0, 1, {broken});
    const QByteArray root =
        vastel::test::versionNode("VS_VERSION_INFO", {}, 0, 0,
                                  {vastel::test::versionNode("StringFileInfo", {}, 0, 1, {table})});
    EXPECT_EQ(versionQueryString(root, "\\StringFileInfo\\040904b0\\CompanyName"),
              QString("Tessivo"));
}

TEST(PeVersion, randomDamageNeverReadsOutside) {
    // With the fuzz target this runs under the address sanitizer; here it must merely
    // survive and stay consistent.
    const QByteArray image = fullFixture().build();
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = image;
        const int flips = 1 + int(random() % 8);
        for (int i = 0; i < flips; ++i) {
            // Mostly the headers and the resource tree, where the offsets are.
            const qsizetype at = random() % 2 ? random() % 0x200 : rsrc(int(random() % 0x180));
            if (at < damaged.size()) damaged[at] = char(random());
        }
        if (random() % 4 == 0) damaged.truncate(random() % damaged.size());
        const std::optional<QByteArray> found = versionInfoFromImage(damaged);
        if (found) {
            ASSERT_LE(found->size(), damaged.size());
            versionQueryString(*found, "\\StringFileInfo\\040904b0\\CompanyName");
        }
    }
}

}  // namespace
