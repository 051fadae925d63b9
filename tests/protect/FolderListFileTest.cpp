#include "protect/FolderListFile.h"

#include "platform/Paths.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

using namespace vastel;
using test::TempTree;

namespace {
QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}
}  // namespace

TEST(FolderListFile, LivesInTheProgramDataFolder) {
    EXPECT_EQ(folderListFilePath(), programDataFolder() + QStringLiteral("/folders.txt"));
}

TEST(FolderListFile, SavesWithCrLfMakesItsFolderAndDeletesAnEmptyList) {
    const QString path = folderListFilePath();  // its folder does not exist yet
    ASSERT_FALSE(QFileInfo::exists(QFileInfo(path).absolutePath()));
    ASSERT_TRUE(saveFolderListFile(path, {"/a/", "/b c/*.*", "/\xff\xfe/"}));
    EXPECT_EQ(contentOf(path), QByteArray("/a/\r\n/b c/*.*\r\n/\xff\xfe/\r\n"));
    QByteArrayList back;
    ASSERT_TRUE(readFolderListFile(path, &back));
    EXPECT_EQ(back, (QByteArrayList{"/a/", "/b c/*.*", "/\xff\xfe/"}));

    ASSERT_TRUE(saveFolderListFile(path, {}));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(readFolderListFile(path, &back));
    EXPECT_TRUE(back.isEmpty());
    EXPECT_TRUE(saveFolderListFile(path, {}));  // nothing to delete is no failure
}

TEST(FolderListFile, BadInputLoadsWithoutHarm) {
    const QByteArray longLine = "/" + QByteArray(100000, 'x') + "/";
    const std::pair<QByteArray, QByteArrayList> cases[] = {
        {"/a/\n/b/\n", {"/a/", "/b/"}},              // LF only
        {"/a/\r\n\r\n\n/b/", {"/a/", "/b/"}},        // blank lines, no final line end
        {"/a\r/\r\n/b/\r\r\n", {"/a\r/", "/b/\r"}},  // stray CR stays part of the path
        {"/a/\r\n/a/\r\n", {"/a/", "/a/"}},          // duplicates are read as they are
        {"/\xc3\x28/\r\n", {"/\xc3\x28/"}},          // invalid UTF-8
        {longLine + "\r\n/z/", {longLine, "/z/"}},
        {QByteArray("/n\0ul/\n", 7), {QByteArray("/n\0ul/", 6)}},
        {"", {}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(parseFolderList(text), lines);
}

TEST(FolderListFile, EntriesThatCannotBeOneLineAreLeftOut) {
    EXPECT_EQ(folderListText({"/a\nb/", "/c/", ""}), QByteArray("/c/\r\n"));
    // A CR at the end survives the trip through the file.
    EXPECT_EQ(parseFolderList(folderListText({"/x\r"})), QByteArrayList{"/x\r"});
}

TEST(FolderListFile, AFailedSaveKeepsTheOldFile) {
    TempTree t;
    const QString path = QFile::decodeName(t.path("ro/folders.txt"));
    t.createFileWith("ro/folders.txt", "/old/\r\n");
    QFile::setPermissions(QFile::decodeName(t.path("ro")), QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(QFile::decodeName(t.path("ro"))).isWritable()) GTEST_SKIP() << "running as root";
    EXPECT_FALSE(saveFolderListFile(path, {"/new/"}));
    EXPECT_EQ(contentOf(path), QByteArray("/old/\r\n"));
}
