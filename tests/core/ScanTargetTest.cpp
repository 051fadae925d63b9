#include "core/ScanTarget.h"

#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <climits>

namespace vastel {
namespace {

ScanTarget target(ScanTarget::Kind kind, const QByteArray& root) {
    ScanTarget t;
    t.kind = kind;
    t.root = root;
    t.text = QString::fromUtf8(root);
    return t;
}

QByteArray currentFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

// Puts the process's current folder back after a test that moves it.
class ScanTargetTest : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = currentFolder(); }
    void TearDown() override { ASSERT_EQ(::chdir(saved_.constData()), 0); }
    QByteArray saved_;
};

TEST_F(ScanTargetTest, ReadyMeansTheDriveAnswersAndFoldersAlwaysAre) {
    EXPECT_TRUE(targetReady(target(ScanTarget::Kind::Drive, "/")));
    EXPECT_FALSE(targetReady(target(ScanTarget::Kind::Drive, "/no/such/mount/point")));
    EXPECT_TRUE(targetReady(target(ScanTarget::Kind::Folder, "/no/such/folder")));
}

TEST_F(ScanTargetTest, EnterMakesTheRootTheCurrentFolder) {
    test::TempTree tree;
    const QByteArray odd = tree.createFolder("na\tme \xff\xfe");  // tab and invalid UTF-8
    enterTarget(target(ScanTarget::Kind::Folder, odd));
    EXPECT_EQ(currentFolder(), odd);
    enterTarget(target(ScanTarget::Kind::Drive, "/"));
    EXPECT_EQ(currentFolder(), "/");
    ::rmdir(odd.constData());  // QTemporaryDir cannot remove a name that is not UTF-8
}

TEST_F(ScanTargetTest, EnterFailsLoudlyAndStaysPut) {
    test::TempTree tree;
    const QByteArray file = tree.createFile("plain.txt", 3);
    for (const QByteArray& root : {QByteArray(), tree.path("missing"), file}) {
        EXPECT_THROW(enterTarget(target(ScanTarget::Kind::Folder, root)), TargetError)
            << root.data();
        EXPECT_EQ(currentFolder(), saved_);
    }
    try {
        enterTarget(target(ScanTarget::Kind::Drive, tree.path("missing")));
        FAIL() << "no TargetError";
    } catch (const TargetError& e) {
        EXPECT_NE(std::string(e.what()).find("missing"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace vastel
