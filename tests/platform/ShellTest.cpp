#include "platform/Shell.h"

#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QList>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// Records what would be handed to the desktop, and restores the real hand-off afterwards.
class RecordingOpener {
  public:
    explicit RecordingOpener(bool result) {
        setOpenUrlHandler([this, result](const QUrl& url) {
            urls << url;
            return result;
        });
    }
    ~RecordingOpener() { setOpenUrlHandler(nullptr); }
    QList<QUrl> urls;
};

// The path bytes that a file URL carries, undoing only the percent-encoding.
QByteArray pathBytesOf(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

}  // namespace

TEST(Shell, FileUrlCarriesTheExactBytes) {
    const QByteArray paths[] = {
        "/home/ann/report.doc",      "/home/ann/with space/100% #1?.txt",
        "/tmp/tab\there/new\nline",
        "/tmp/latin1-\xe9t\xe9.txt",  // not UTF-8
        "/tmp/caf\xc3\xa9.txt",
    };
    for (const QByteArray& path : paths) {
        const QUrl url = fileUrl(path);
        EXPECT_TRUE(url.isValid()) << path.constData();
        EXPECT_EQ(url.scheme(), QStringLiteral("file"));
        EXPECT_EQ(pathBytesOf(url), path) << url.toEncoded().constData();
    }
    EXPECT_EQ(fileUrl("/a b").toEncoded(), QByteArray("file:///a%20b"));
}

TEST(Shell, OpenGoesThroughTheHandler) {
    TempTree tree;
    const QByteArray file = tree.createFile("odd \xff name.txt", 3);
    {
        RecordingOpener opener(true);
        EXPECT_TRUE(openWithAssociatedProgram(file));
        ASSERT_EQ(opener.urls.size(), 1);
        EXPECT_EQ(pathBytesOf(opener.urls[0]), file);
        // Nothing to open: refused before the hand-off.
        EXPECT_FALSE(openWithAssociatedProgram(tree.path("missing.txt")));
        EXPECT_FALSE(openWithAssociatedProgram(""));
        EXPECT_EQ(opener.urls.size(), 1);
        EXPECT_TRUE(openUrl(QUrl(QStringLiteral("https://example.org/help"))));
        EXPECT_EQ(opener.urls.size(), 2);
    }
    {
        RecordingOpener failing(false);
        EXPECT_FALSE(openWithAssociatedProgram(file));
    }
    // Without a GUI application the desktop cannot be asked; this must fail, not crash.
    EXPECT_FALSE(openUrl(QUrl(QStringLiteral("https://example.org/"))));
    // The temporary folder's clean-up goes through QString and cannot name invalid UTF-8.
    ::unlink(file.constData());
}
