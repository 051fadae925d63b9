// The internet cache cleaner window over fake homes: first use, Initialize, add and delete,
// storing, and clearing through the review.
#include "core/SettingsStore.h"
#include "finders/TfrmCache.h"
#include "platform/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

constexpr time_t kOld = 1'600'000'000;

}  // namespace

class CacheWindowTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    std::unique_ptr<vastel::test::TestContext> context;
    std::unique_ptr<TempTree> tree;
    QByteArray fox, chromium;
    QList<QByteArray> reviewed;
    QString tag;
    qint64 savings = -1;

    // A fake home with a Firefox and a Chromium profile; the store lives in it too.
    void makeHome(bool withCaches) {
        tree = std::make_unique<TempTree>();
        qputenv("HOME", tree->path("home"));
        qputenv("XDG_CACHE_HOME", tree->path("home/.cache"));
        qputenv("XDG_CONFIG_HOME", tree->path("home/.config"));
        tree->createFolder("home/.config");
        if (!withCaches) return;
        fox = tree->createFolder("home/.cache/mozilla/firefox/x.default/cache2/entries");
        chromium = tree->createFolder("home/.cache/chromium/Profile 3/Cache/Cache_Data");
        tree->createFile("home/.cache/mozilla/firefox/x.default/cache2/entries/F1", 100, kOld,
                         kOld);
        tree->createFile("home/.cache/chromium/Profile 3/Cache/Cache_Data/c1", 20, kOld, kOld);
        tree->createFile("home/.cache/chromium/Profile 3/Cache/Cache_Data/c2", 3, kOld, kOld);
        tree->createFile("home/.cache/chromium/Profile 3/Cache/Cache_Data/sub/c3", 5, kOld, kOld);
    }
    std::unique_ptr<TfrmCache> open() {
        auto w = std::make_unique<TfrmCache>(*context);
        w->procRoot = tree->createFolder("proc");
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
        return w;
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        context = std::make_unique<vastel::test::TestContext>();
        context->review = [this](QWidget*, const QList<QByteArray>& paths, const QString& t,
                                 qint64 bytes) {
            reviewed = paths;
            tag = t;
            savings = bytes;
            return true;
        };
    }
    void cleanupTestCase() {
        context.reset();
        delete script;
    }
    void init() {
        script->clear();
        reviewed.clear();
        tag.clear();
        savings = -1;
    }

    void firstUseFindsTheBrowsersThenTheStoredListRules() {
        makeHome(true);
        auto w = open();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Internet Browser Cache Folders"));
        QCOMPARE(w->folders(), (QByteArrayList{fox, chromium}));
        QVERIFY(w->btInit->isHidden());
        QVERIFY(w->btClear->isDefault());
        QCOMPARE(w->nDays->value(), 0);
        QCOMPARE(w->nDays->maximum(), 100);

        // Delete: nothing chosen, then Cancel, then OK on each.
        w->ListBox1->setCurrentRow(-1);
        w->btDel->click();
        QCOMPARE(script->messages(), QStringList{"Select a folder from the list above"});
        w->ListBox1->setCurrentRow(0);
        script->answerQuestion(Answer::Cancel);
        w->btDel->click();
        QCOMPARE(script->questions().last(),
                 QStringLiteral("Really delete ") + QFile::decodeName(fox));
        QCOMPARE(w->folders().size(), 2);
        for (int i = 0; i < 2; ++i) {
            w->ListBox1->setCurrentRow(0);
            script->answerQuestion(Answer::Ok);
            w->btDel->click();
        }
        QVERIFY(w->folders().isEmpty());
        QVERIFY(w->btInit->isVisible());
        QVERIFY(QDir(QFile::decodeName(fox)).exists());  // only the entry went
        w->btClose->click();
        QCOMPARE(SettingsStore().readString("CacheFiles", "Number", "?"), QStringLiteral("0"));

        // An empty stored list stays empty; Initialize finds the folders again.
        w = open();
        QVERIFY(w->folders().isEmpty());
        QVERIFY(w->btInit->isVisible());
        w->btInit->click();
        QCOMPARE(w->folders(), (QByteArrayList{fox, chromium}));
        QVERIFY(w->btInit->isHidden());
        script->answerText(QStringLiteral("/srv/my cache"));
        w->btAdd->click();
        QCOMPARE(w->folders().last(), QByteArray("/srv/my cache/"));
        QTest::keyClick(w.get(), Qt::Key_Escape);  // Esc closes and stores too
        w = open();
        QCOMPARE(w->folders(), (QByteArrayList{fox, chromium, "/srv/my cache/"}));
    }

    void initializeOnAMachineWithoutCaches() {
        makeHome(false);
        auto w = open();
        QVERIFY(w->folders().isEmpty());
        QVERIFY(w->btInit->isVisible());
        w->btInit->click();
        QVERIFY(w->btInit->isVisible());
        QCOMPARE(script->messages().size(), 1);
        QVERIFY(script->messages().first().startsWith(
            "Could not find any internet cache folders on your machine.  You may add them"));
        w->btClear->click();
        QCOMPARE(script->messages().last(), QStringLiteral("No files found to clear"));
        QVERIFY(reviewed.isEmpty());
    }

    void clearingHandsTheFilesToTheReview() {
        makeHome(true);
        auto w = open();
        w->btClear->click();
        QCOMPARE(tag, QStringLiteral("InternetCache"));
        QList<QByteArray> sorted = reviewed;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(sorted, (QList<QByteArray>{chromium + "/c1", chromium + "/c2", fox + "/F1"}));
        QCOMPARE(savings, qint64(123));
        QVERIFY(script->messages().isEmpty());
        QVERIFY(w->lb1.isEmpty());
        QVERIFY(w->isVisible());  // the window stays open

        // Firefox runs: its folder is left alone and the user told once.
        tree->createSymlink("home/.mozilla/firefox/x.default/lock", "127.0.1.1:+77");
        w->btClear->click();
        QCOMPARE(script->messages(), QStringList{"Close Firefox first.  Its cache is in use, so "
                                                 "its files were left alone."});
        QCOMPARE(reviewed.size(), 2);
        QVERIFY(!reviewed.contains(fox + "/F1"));
    }
};

VASTEL_QTEST_MAIN(CacheWindowTest)
#include "CacheWindowTest.moc"
