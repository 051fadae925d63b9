// A split walk with its sub-trees walked on several threads gives, put back together, the very
// events of one walk.
#include "core/SubtreeWalks.h"
#include "core/TreeWalk.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <memory>

namespace vastel {
namespace {

using test::TempTree;

// Every event as a line, in order; a hand-over as a line of its own.
class EventSink : public WalkSink {
  public:
    QByteArrayList events;
    std::vector<WalkSubtree> subtrees;
    void folderStarted(const QByteArray& f) override { events << "start " + f; }
    void folderListed(const QByteArray& f, qint64 n) override {
        events << "listed " + f + ' ' + QByteArray::number(n);
    }
    void collect(const WalkFile& file) override {
        events << "file " + file.path() + ' ' + QByteArray::number(file.entry.size);
    }
    void folderFinished(const QByteArray& f) override { events << "finish " + f; }
    void subtreeFound(const WalkSubtree& s) override {
        events << "subtree " + QByteArray::number(qulonglong(subtrees.size()));
        subtrees.push_back(s);
    }
};

ScanTarget targetOf(const QByteArray& root) {
    ScanTarget t;
    t.root = root;
    return t;
}

QByteArrayList oneWalk(const QByteArray& root) {
    EventSink sink;
    WalkProgress progress;
    StopToken stop;
    WalkOptions options;
    options.sliceMs = 0;
    TreeWalk(options, sink, progress, stop).scanTarget(targetOf(root));
    return sink.events;
}

// The top walk split at a depth, its sub-trees walked on three threads, the events stitched
// back in at the hand-overs; `between` runs after the top walk.
QByteArrayList splitWalk(const QByteArray& root, int depth,
                         const std::function<void(const std::vector<WalkSubtree>&)>& between = {}) {
    EventSink top;
    WalkProgress progress;
    StopToken stop;
    WalkOptions options;
    options.sliceMs = 0;
    options.splitDepth = depth;
    TreeWalk(options, top, progress, stop).scanTarget(targetOf(root));
    if (between) between(top.subtrees);
    std::vector<std::unique_ptr<EventSink>> sinks;
    for (size_t i = 0; i < top.subtrees.size(); ++i) sinks.push_back(std::make_unique<EventSink>());
    walkSubtrees(
        top.subtrees, options, 3, [&](size_t i) -> WalkSink& { return *sinks[i]; }, stop);
    QByteArrayList out;
    for (const QByteArray& e : top.events) {
        if (!e.startsWith("subtree ")) {
            out << e;
            continue;
        }
        const EventSink& inner = *sinks[size_t(e.mid(8).toULongLong())];
        EXPECT_TRUE(inner.subtrees.empty());  // sub-tree walks split no further
        out << inner.events;
    }
    return out;
}

class WalkSubtreesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* f : {"a/1", "a/b/2", "a/b/c/3", "a/b/c/d/4", "a/e/5", "f/6", "f/g/h/7",
                              "f/.hidden/8", "f/g/.dot", "top", "i/j/k/l/m/9"})
            tree.createFile(f, qint64(std::strlen(f)));
        tree.createFolder("f/empty/deeper");
        tree.createSymlink("a/b/up", "..");
    }
    TempTree tree;
};

TEST_F(WalkSubtreesTest, StitchedEventsAreThoseOfOneWalk) {
    const QByteArrayList expected = oneWalk(tree.root());
    ASSERT_GT(expected.size(), 30);
    for (int depth : {1, 2, 3, 9}) {
        SCOPED_TRACE(depth);
        EXPECT_EQ(splitWalk(tree.root(), depth), expected);
    }
}

TEST_F(WalkSubtreesTest, AHandedOverFolderThatWasReplacedIsSkipped) {
    // Between the hand-over and its walk, a/b becomes another folder: nothing of it is walked.
    const QByteArrayList events = splitWalk(tree.root(), 2, [&](const auto&) {
        ASSERT_EQ(::rename(tree.path("a/b").constData(), tree.path("moved").constData()), 0);
        tree.createFile("a/b/new", 1);
    });
    for (const QByteArray& e : events) EXPECT_FALSE(e.contains("a/b/")) << e.constData();
    EXPECT_TRUE(events.contains("file " + tree.path("a/1") + " 3"));
}

}  // namespace
}  // namespace vastel
