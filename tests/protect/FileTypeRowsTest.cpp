#include "protect/FileTypeRows.h"

#include "core/SettingsStore.h"
#include "core/Utility.h"

#include <gtest/gtest.h>

using namespace vastel;

TEST(FileTypeRows, TypedTypesBecomePatterns) {
    const std::pair<const char*, const char*> cases[] = {
        {"tmp", "*.tmp"}, {".tmp", "*.tmp"}, {"*.tmp", "*.tmp"},  {"readme.txt", "readme.txt"},
        {"*.~*", "*.~*"}, {"a*b", "a*b"},    {"*.*", ""},         {".*", ""},
        {"*", ""},        {"", ""},          {"  tmp ", "*.tmp"},
    };
    for (const auto& [typed, pattern] : cases)
        EXPECT_EQ(normaliseTypePattern(QString::fromLatin1(typed)), QString::fromLatin1(pattern))
            << typed;
}

TEST(FileTypeRows, RowsShowTheDescriptionOfTheExtension) {
    EXPECT_EQ(typeExtension(QStringLiteral("*.tmp")), QStringLiteral(".tmp"));
    EXPECT_EQ(typeExtension(QStringLiteral("readme.txt")), QStringLiteral(".txt"));
    EXPECT_EQ(typeExtension(QStringLiteral("readme")), QString());
    EXPECT_EQ(typeRow(QStringLiteral("*.txt")),
              QStringLiteral("*.txt\t") + fileTypeText(QStringLiteral(".txt")));
}

TEST(FileTypeRows, ReadAppliesFirstUseTypesOnlyWhenNeverSaved) {
    const QString section = QStringLiteral("TypeRowsTest");
    EXPECT_EQ(readTypeRows(section, protectedTypesFirstUse()),
              (QStringList{typeRow(QStringLiteral("*.drv")), typeRow(QStringLiteral("*.sys"))}));
    writeTypeRows(section, {QStringLiteral("*.b\tB File"), QStringLiteral("*.a\twhatever")});
    {
        const SettingsStore store;
        EXPECT_EQ(store.readString(section, QStringLiteral("Number"), {}), QStringLiteral("2"));
        EXPECT_EQ(store.readString(section, QStringLiteral("File1"), {}), QStringLiteral("*.b"));
    }
    EXPECT_EQ(readTypeRows(section, protectedTypesFirstUse()),
              (QStringList{typeRow(QStringLiteral("*.a")), typeRow(QStringLiteral("*.b"))}));
    writeTypeRows(section, {});
    EXPECT_TRUE(readTypeRows(section, protectedTypesFirstUse()).isEmpty());
}

TEST(FileTypeRows, EachWindowHasItsOwnDefaults) {
    EXPECT_EQ(temporaryTypesFirstUse().size(), 4);
    EXPECT_EQ(temporaryTypesDefaults().size(), 14);
    EXPECT_EQ(protectedTypesDefaults(),
              (QStringList{QStringLiteral("*.sys"), QStringLiteral("*.drv")}));
    QStringList rows{QStringLiteral("*.b"), QStringLiteral("*.D")};
    EXPECT_EQ(sortedRowPosition(rows, QStringLiteral("*.c")), 1);
    EXPECT_TRUE(containsRowNoCase(rows, QStringLiteral("*.d")));
}
