#include "core/WindowPlacement.h"

#include "core/SettingsStore.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vastel {
namespace {

TEST(WindowPlacementTest, FormatIsTenNumbersEachFollowedByABlank) {
    WindowPlacement p;
    p.flags = 0;
    p.showCmd = 3;
    p.minX = p.minY = p.maxX = p.maxY = -1;
    p.left = 10;
    p.top = 20;
    p.right = 610;
    p.bottom = 420;
    EXPECT_EQ(formatPlacement(p), "0 3 -1 -1 -1 -1 10 20 610 420 ");
    const WindowPlacement back = parsePlacement(formatPlacement(p));
    EXPECT_EQ(formatPlacement(back), formatPlacement(p));
    EXPECT_EQ(back.normalRect(), QRect(10, 20, 600, 400));
}

struct ParseCase {
    const char* text;
    const char* expected;  // formatted back
    bool applicable;
};

class PlacementParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(PlacementParseTest, MissingOrMalformedNumbersCountAsZeroShowStateAsOne) {
    const WindowPlacement p = parsePlacement(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(formatPlacement(p), GetParam().expected) << GetParam().text;
    EXPECT_EQ(p.applicable(), GetParam().applicable) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlacementParseTest,
    ::testing::Values(ParseCase{"2 1 0 0 0 0 5 6 105 206 ", "2 1 0 0 0 0 5 6 105 206 ", true},
                      ParseCase{"0 2 1 1 1 1 5 6 105 206", "0 2 1 1 1 1 5 6 105 206 ", true},
                      ParseCase{"", "0 1 0 0 0 0 0 0 0 0 ", false},
                      ParseCase{"0 x 0 0 0 0 5 6 105 206 ", "0 1 0 0 0 0 5 6 105 206 ", true},
                      ParseCase{"0 1 0 0 0 0 5 6", "0 1 0 0 0 0 5 6 0 0 ", false},
                      ParseCase{"a b c d e f g h i j", "0 1 0 0 0 0 0 0 0 0 ", false},
                      ParseCase{"0  1\t0 0 0 0 -50 6 -10 206 ", "0 1 0 0 0 0 -50 6 -10 206 ", true},
                      ParseCase{"0 1 0 0 0 0 300 6 300 206 ", "0 1 0 0 0 0 300 6 300 206 ", false},
                      ParseCase{"0 1 0 0 0 0 99999999999 6 5 206 ", "0 1 0 0 0 0 0 6 5 206 ",
                                true}));

TEST(WindowPlacementTest, SectionIsTheProgramFileName) {
    EXPECT_EQ(programSectionName(), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    EXPECT_FALSE(programSectionName().contains(QLatin1Char('/')));
}

TEST(WindowPlacementTest, RecordsLiveInTheirOwnKeyFiles) {
    QDir(settingsFolder()).removeRecursively();
    EXPECT_FALSE(readPlacement("vastel.ini", programSectionName(), "frmView").has_value());

    WindowPlacement view;
    view.left = 1;
    view.right = 2;
    WindowPlacement mods;
    mods.left = 3;
    mods.right = 4;
    writePlacement("vastel.ini", programSectionName(), "frmView", view);
    writePlacement("vastl98", programSectionName(), "frmMods", mods);
    writePlacement("vastel.ini", "frmDups", "frmMods", mods);

    EXPECT_TRUE(QFileInfo::exists(settingsFolder() + "/vastel.ini"));
    EXPECT_TRUE(QFileInfo::exists(settingsFolder() + "/vastl98.ini"));
    EXPECT_FALSE(QFileInfo::exists(mainSettingsFile()));  // not in the main store

    EXPECT_EQ(formatPlacement(*readPlacement("vastel.ini", programSectionName(), "frmView")),
              formatPlacement(view));
    EXPECT_EQ(formatPlacement(*readPlacement("vastl98", programSectionName(), "frmMods")),
              formatPlacement(mods));
    EXPECT_EQ(formatPlacement(*readPlacement("vastel.ini", "frmDups", "frmMods")),
              formatPlacement(mods));
    EXPECT_FALSE(readPlacement("vastl98", programSectionName(), "frmView").has_value());
    EXPECT_EQ(SettingsStore::forKey("vastel.ini").readString(programSectionName(), "frmView", ""),
              "0 1 0 0 0 0 1 0 2 0 ");
}

}  // namespace
}  // namespace vastel
