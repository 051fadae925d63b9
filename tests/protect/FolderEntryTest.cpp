#include "protect/FolderEntry.h"

#include <gtest/gtest.h>

using namespace vastel;

TEST(FolderEntry, NormalisedFolderTakesAwayEverySpelling) {
    const std::pair<const char*, const char*> cases[] = {
        {"/srv/data", "/srv/data/"},
        {"/srv/data/", "/srv/data/"},
        {"/srv//data///", "/srv/data/"},
        {"//srv/data", "/srv/data/"},
        {"/srv/./data/.", "/srv/data/"},
        {"/srv/x/../data/", "/srv/data/"},
        {"/../srv/data", "/srv/data/"},  // above the root is the root
        {"\\srv\\data", "/srv/data/"},
        {"/", "/"},
        {"///", "/"},
        {"", ""},
        {"rel/./x//", "rel/x/"},
        {"../x", "../x/"},
        {"/sp ace/\xff\xfe/", "/sp ace/\xff\xfe/"},  // any other byte stays
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(normalisedFolder(in), QByteArray(out)) << in;
}

TEST(FolderEntry, NormalisedEntryKeepsTheTreeMarkerAndAPartialName) {
    EXPECT_EQ(normalisedEntry("/opt//app/*.*"), QByteArray("/opt/app/*.*"));
    EXPECT_EQ(normalisedEntry("/opt/./app*.*"), QByteArray("/opt/app*.*"));
    EXPECT_EQ(normalisedEntry("/opt/app"), QByteArray("/opt/app/"));
    EXPECT_EQ(normalisedEntry("*.*"), QByteArray("*.*"));
    // A folder literally named "*.*" is a plain entry.
    EXPECT_EQ(normalisedEntry("/tmp/*.*/"), QByteArray("/tmp/*.*/"));
    EXPECT_FALSE(isTreeEntry("/tmp/*.*/"));
}

TEST(FolderEntry, CaseIsFoldedForAsciiLettersOnly) {
    EXPECT_EQ(asciiUpper("/home/ann/\xc3\xa9t\xc3\xa9/"),
              QByteArray("/HOME/ANN/\xc3\xa9T\xc3\xa9/"));
    EXPECT_EQ(compareNoCase("/a/", "/A/"), 0);
    EXPECT_LT(compareNoCase("/a/", "/a/b/"), 0);
    // Folded to upper case, "_" (0x5F) sorts after "A" (0x41) whatever the case of the letter.
    EXPECT_GT(compareNoCase("/_", "/a"), 0);
    EXPECT_GT(compareNoCase("/_", "/A"), 0);
    EXPECT_GT(compareNoCase("/\xe9", "/z"), 0);  // bytes above 0x7F compare unsigned
}

TEST(FolderEntry, CompareFolderEntryMatchesATreeByItsStemAsAPrefix) {
    EXPECT_EQ(compareFolderEntry("/APPS/", "/APPS/*.*"), 0);
    EXPECT_EQ(compareFolderEntry("/APPS/X/Y/", "/APPS/*.*"), 0);
    EXPECT_EQ(compareFolderEntry("/apps/x/", "/APPS/*.*"), 0);
    EXPECT_GT(compareFolderEntry("/APPS2/", "/APPS/*.*"), 0);
    EXPECT_LT(compareFolderEntry("/APP/", "/APPS/*.*"), 0);
    // The stem inside another path is another place.
    EXPECT_NE(compareFolderEntry("/HOME/ANN/APPS/", "/APPS/*.*"), 0);
    EXPECT_EQ(compareFolderEntry("/APPS/", "/APPS/"), 0);
    EXPECT_NE(compareFolderEntry("/APPS/X/", "/APPS/"), 0);
}

TEST(FolderEntry, MergeRemovesWhatATreeEntryCovers) {
    struct Case {
        QByteArrayList in, out;
    } cases[] = {
        {{"/apps/*.*", "/apps/x/", "/apps2/"}, {"/apps/*.*", "/apps2/"}},
        // Typed without the separator, the stem also begins /apps2/.
        {{"/apps*.*", "/apps/x/", "/apps2/"}, {"/apps*.*"}},
        // A tree entry below another one stays; case does not matter.
        {{"/A/B/*.*", "/a/*.*", "/a/c/"}, {"/a/*.*", "/A/B/*.*"}},
        {{"/z/", "/b/", "/a/"}, {"/a/", "/b/", "/z/"}},
        {{}, {}},
    };
    for (Case& c : cases) {
        mergeSubfolderEntries(c.in);
        EXPECT_EQ(c.in, c.out);
    }
}
