#include "platform/SoftwareRegistry.h"

#include "platform/Paths.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>

using namespace vastel;

namespace {

// Writes a file below the user branch ($XDG_CONFIG_HOME), making its folders.
void writeUserFile(const QByteArray& relative, const QByteArray& content) {
    const QByteArray path = QFile::encodeName(configHome()) + '/' + relative;
    QDir().mkpath(QFile::decodeName(path.left(path.lastIndexOf('/'))));
    QFile file(QFile::decodeName(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

}  // namespace

TEST(SoftwareRegistry, ReadsNameValueLinesOfUserKeys) {
    writeUserFile("Netscape/Navigator/Cache",
                  "# comment\r\n[Main]\r\nCache Dir=/home/ann/cache dir\r\n"
                  "  Spaced = x \r\nTwo=a=b\r\nEmpty=\r\ndup=first\ndup=second\nLast=no newline");
    const QString key = QStringLiteral("Software\\Netscape\\Navigator\\Cache");
    const std::pair<const char*, const char*> cases[] = {
        {"Cache Dir", "/home/ann/cache dir"},  // CR LF cut, blanks inside kept
        {"cache dir", "/home/ann/cache dir"},  // names ignore case
        {"CACHE DIR", "/home/ann/cache dir"},
        {"Spaced", " x "},  // the value is kept as written
        {"Two", "a=b"},
        {"dup", "first"},
        {"Last", "no newline"},
        {"Empty", ""},
        {"Missing", ""},
    };
    for (const auto& [name, value] : cases)
        EXPECT_EQ(readUserRegText(key, QString::fromLatin1(name)), QString::fromLatin1(value))
            << name;
    // "Software" is optional, "/" separates too, and key names ignore case like the registry's.
    for (const char* other :
         {"Netscape\\Navigator\\Cache", "Software/Netscape/Navigator/Cache",
          "SOFTWARE\\netscape\\NAVIGATOR\\cache", "\\Netscape\\\\Navigator\\Cache\\"})
        EXPECT_EQ(readUserRegText(QString::fromLatin1(other), QStringLiteral("Cache Dir")),
                  QStringLiteral("/home/ann/cache dir"))
            << other;
}

TEST(SoftwareRegistry, MissingUnreadableOrUnsafeKeysReadEmpty) {
    writeUserFile("Vendor/ok", "name=value\n");
    writeUserFile("Vendor/binary", QByteArray("name=value\n\0\x01\x02", 14));
    writeUserFile("Vendor/huge", "name=value\n" + QByteArray(1024 * 1024, 'x'));
    const QByteArray fifo = QFile::encodeName(configHome()) + "/Vendor/pipe";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    // A file beside the branch root that ".." would reach.
    writeUserFile("../outside", "name=secret\n");

    EXPECT_EQ(readUserRegText(QStringLiteral("Software\\Vendor\\ok"), QStringLiteral("name")),
              QStringLiteral("value"));
    const char* empties[] = {
        "Software\\Vendor\\missing",  // no such key
        "Software\\Vendor",           // a folder: sub-keys only
        "Software",                   // the branch root
        "",
        "Software\\Vendor\\binary",  // holds NUL bytes
        "Software\\Vendor\\huge",    // over 1 MiB
        "Software\\Vendor\\pipe",    // not a regular file, and must not block
        "Software\\..\\outside",
        "..\\outside",
        "Software\\Vendor\\..\\..\\outside",
        "Software\\Vendor\\.\\ok",
        "Software\\Vendor\\ok\\deeper",
    };
    for (const char* key : empties)
        EXPECT_TRUE(readUserRegText(QString::fromLatin1(key), QStringLiteral("name")).isEmpty())
            << key;
}

TEST(SoftwareRegistry, MachineBranchMirrorsEtc) {
    EXPECT_FALSE(
        readMachineRegText(QStringLiteral("SOFTWARE\\etc\\os-release"), QStringLiteral("id"))
            .isEmpty());
    EXPECT_FALSE(
        readMachineRegText(QStringLiteral("etc/os-release"), QStringLiteral("ID")).isEmpty());
    for (const char* key : {"SOFTWARE\\Microsoft\\Internet Explorer\\Main", "SOFTWARE\\etc",
                            "SOFTWARE\\etc\\..\\etc\\os-release", "SOFTWARE\\os-release"})
        EXPECT_TRUE(readMachineRegText(QString::fromLatin1(key), QStringLiteral("ID")).isEmpty())
            << key;
}
