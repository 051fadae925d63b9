#include "platform/SystemFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vastel;

TEST(SystemFolders, SplitSearchPath) {
    const std::pair<QByteArray, QByteArrayList> cases[] = {
        {"/usr/bin:/bin", {"/usr/bin", "/bin"}},
        {"::/usr/bin::/opt/my tools/bin:", {"/usr/bin", "/opt/my tools/bin"}},
        {"", {}},
        {"/only", {"/only"}},
        {"/with;semicolon:/b", {"/with;semicolon", "/b"}},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(splitSearchPath(value), expected) << value.constData();
}

TEST(SystemFolders, SearchPathIsReadWhole) {
    // Far longer than any fixed buffer: the last folder must still be there.
    QByteArray path;
    for (int i = 0; i < 200; ++i)
        path += "/opt/some/rather/long/folder/name/number" + QByteArray::number(i) + ':';
    path += "/the/last/one";
    const QByteArray saved = qgetenv("PATH");
    ::setenv("PATH", path.constData(), 1);
    const QByteArrayList folders = searchPathFolders();
    ::setenv("PATH", saved.constData(), 1);
    ASSERT_EQ(folders.size(), 201);
    EXPECT_EQ(folders.last(), "/the/last/one");
}

TEST(SystemFolders, FixedFolders) {
    EXPECT_EQ(systemFolder(), "/usr/lib/");
    EXPECT_EQ(windowsFolder(), "/etc/");
    const QByteArrayList& top = systemTopFolders();
    EXPECT_EQ(top.size(), 17);
    for (const char* f : {"/bin", "/etc", "/usr", "/var", "/libx32", "/proc"})
        EXPECT_TRUE(top.contains(f)) << f;
    EXPECT_FALSE(top.contains("/home"));
    EXPECT_FALSE(top.contains("/tmp"));
}
