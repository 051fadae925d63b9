#include "platform/FolderHandle.h"
#include "platform/ScriptedDialogs.h"
#include "removal/TreeRemoval.h"
#include "results/JobRunner.h"
#include "support/TempTree.h"
#include "support/TestSandbox.h"

#include <sys/stat.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <stdexcept>
#include <thread>

using namespace vastel;
using namespace vastel::test;

// A job driven for a window: its Abort reaches the job in time, a job that stops itself tells
// the window, and work on a helper thread leaves the window's events running.
class JobRunnerTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // The window's flag is set by an event; a loop of short steps sees its stop token set
    // well within 100 ms, while not running events at every step.
    void abortActsWithinASlice() {
        bool abortFlag = false;
        JobRunner runner(&abortFlag);
        QElapsedTimer clock;
        qint64 setAt = -1;
        QTimer::singleShot(40, [&] {
            abortFlag = true;
            setAt = clock.elapsed();
        });
        int ticks = 0, timerRuns = 0;
        QTimer every(this);
        every.setInterval(0);
        connect(&every, &QTimer::timeout, [&] { ++timerRuns; });
        every.start();
        clock.start();
        while (!runner.stopToken().requested() && clock.elapsed() < 2000) {
            runner.tick();
            ++ticks;
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        QVERIFY(runner.stopToken().requested());
        QVERIFY(setAt >= 0);
        QVERIFY2(clock.elapsed() - setAt < 100,
                 qPrintable(QString::number(clock.elapsed() - setAt)));
        // Events ran once per slice, not once per step.
        QVERIFY2(timerRuns < ticks / 4,
                 qPrintable(QStringLiteral("%1 of %2").arg(timerRuns).arg(ticks)));
    }

    // A declined question stops the tree removal and raises the window's flag, as Cancel does.
    void declinedQuestionRaisesTheFlag() {
        TempTree tree;
        const QByteArray readOnly = tree.createFileWith("F/readonly", "r");
        QCOMPARE(::chmod(readOnly.constData(), 0444), 0);
        ScriptedDialogs script;
        script.answerQuestion(Answer::No);
        bool abortFlag = false;
        JobRunner runner(&abortFlag);
        TreeRemoval removal({}, runner, runner.stopToken());
        const TreeRemoval::Result result =
            removal.deltree(FolderHandle::open(tree.root()), tree.root(), "F");
        QVERIFY(!result.complete);
        QVERIFY(runner.stopped());
        QVERIFY(abortFlag);
        QCOMPARE(script.questions().size(), 1);
    }

    // The helper's work waits for a timer of the calling thread: it ends only if the caller's
    // events run meanwhile. An exception of the work comes back to the caller.
    void runAsideKeepsEventsRunning() {
        std::atomic<bool> fired{false};
        QTimer::singleShot(20, [&] { fired = true; });
        JobRunner::runAside([&] {
            while (!fired) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        QVERIFY(fired);
        bool thrown = false;
        try {
            JobRunner::runAside([] { throw std::runtime_error("failed"); });
        } catch (const std::runtime_error&) {
            thrown = true;
        }
        QVERIFY(thrown);
    }
};

VASTEL_QTEST_MAIN(JobRunnerTest)
#include "JobRunnerTest.moc"
