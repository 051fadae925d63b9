#include "widgets/DriveList.h"
#include "results/ScanSession.h"
#include "core/TreeWalk.h"
#include "platform/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "support/TestSandbox.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <functional>
#include <stdexcept>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// Collects the paths of a walk, optionally slowly, and lets a test look inside the walk.
class SlowSink : public WalkSink {
  public:
    QByteArrayList paths;
    int delayMicroseconds = 0;
    std::function<void()> onCollect;
    void collect(const WalkFile& file) override {
        paths << file.path();
        if (delayMicroseconds) QThread::usleep(delayMicroseconds);
        if (onCollect) onCollect();
    }
};

// A finder-like window around the scan: drive list, pattern, buttons, grid and status bar.
class DemoFinder : public QWidget {
  public:
    DemoFinder() {
        setObjectName(QStringLiteral("frmDemo"));
        setWindowTitle(QStringLiteral("Scan test window"));
        pckDrive = new QListWidget(this);
        pckDrive->setObjectName(QStringLiteral("pckDrive"));
        cbWildCard = new QComboBox(this);
        cbWildCard->setObjectName(QStringLiteral("cbWildCard"));
        cbWildCard->setEditable(true);
        cbWildCard->setEditText(QStringLiteral("*.*"));
        btScan = new QPushButton(QStringLiteral("&Start"), this);
        btScan->setObjectName(QStringLiteral("btScan"));
        btScan->setToolTip(QStringLiteral("Start scanning"));
        btClose = new QPushButton(QStringLiteral("Close"), this);
        btClose->setObjectName(QStringLiteral("btClose"));
        btAbort = new QPushButton(QStringLiteral("&Abort"), this);
        btAbort->setObjectName(QStringLiteral("btAbort"));
        btAbort->setToolTip(QStringLiteral("Abort scan"));
        btMark = new QPushButton(QStringLiteral("&Mark"), this);
        btMark->setObjectName(QStringLiteral("btMark"));
        btMark->hide();
        grid = new QListWidget(this);
        grid->setObjectName(QStringLiteral("grid"));
        pnlSel = new QStatusBar(this);
        pnlSel->setObjectName(QStringLiteral("pnlSel"));
        pnlSel->setSizeGripEnabled(false);

        auto* top = new QHBoxLayout;
        auto* controls = new QVBoxLayout;
        controls->addWidget(cbWildCard);
        auto* buttons = new QHBoxLayout;
        buttons->setSpacing(3);
        for (QPushButton* b : {btScan, btClose, btAbort, btMark}) buttons->addWidget(b);
        buttons->addStretch(1);
        controls->addLayout(buttons);
        controls->addStretch(1);
        top->addLayout(controls, 1);
        top->addWidget(pckDrive, 1);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addWidget(grid, 1);
        layout->addWidget(pnlSel);
        resize(720, 480);

        ScanSession::Parts parts;
        parts.window = this;
        parts.abortButton = btAbort;
        parts.grid = grid;
        parts.disabled = {btScan, btClose, pckDrive, cbWildCard};
        parts.hidden = {btMark};
        parts.status = [this](const QString& folder) { pnlSel->showMessage(folder); };
        parts.abortFlag = &abortScan;
        session = new ScanSession(parts, this);
        bindStartControl(pckDrive, btScan);
        QObject::connect(btScan, &QPushButton::clicked, this, [this] { scan(); });
    }

    // The duplicate finder's scan, reduced to listing the paths.
    void scan() {
        grid->clear();
        sink.paths.clear();
        session->begin();
        WalkOptions options;
        options.pattern = cbWildCard->currentText().toUtf8();
        options.capacity = capacity;
        summary = session->walk(checkedTargets(pckDrive), options, sink);
        for (const QByteArray& p : sink.paths) grid->addItem(QString::fromUtf8(p));
        session->end();
        if (!sink.paths.isEmpty()) btMark->show();
    }

    QListWidget *pckDrive, *grid;
    QComboBox* cbWildCard;
    QPushButton *btScan, *btClose, *btAbort, *btMark;
    QStatusBar* pnlSel;
    ScanSession* session;
    SlowSink sink;
    TreeWalk::Summary summary;
    qint64 capacity = WalkOptions::kDefaultCapacity;
    bool abortScan = false;
};

// Counts the events of one kind that reach a widget.
class EventCounter : public QObject {
  public:
    EventCounter(QObject* target, QEvent::Type type) : type_(type) {
        target->installEventFilter(this);
    }
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == type_) ++count;
        return false;
    }

  private:
    QEvent::Type type_;
};

}  // namespace

// The window side of a scan as a finder uses it: states, abort, warnings, a window kept alive.
class WalkWindowTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    TempTree* tree = nullptr;
    int fileCount = 0;

    // Extra folders are the targets; no drive is offered, so nothing else is checked.
    void useTargets(DemoFinder& w, const QByteArrayList& folders) {
        writeExtraFolders(folders);
        DriveSource none;
        none.volumes = [] { return std::vector<Volume>{}; };
        fillDriveList(w.pckDrive, none, true);
        for (int i = 0; i < w.pckDrive->count(); ++i)
            w.pckDrive->item(i)->setCheckState(Qt::Checked);
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        tree = new TempTree;
        for (int d = 0; d < 20; ++d)
            for (int f = 0; f < 60; ++f, ++fileCount)
                tree->createFile("d" + QByteArray::number(d) + "/sub/f" + QByteArray::number(f), f);
    }
    void cleanupTestCase() {
        delete tree;
        delete script;
    }
    void init() { script->clear(); }

    void scanMovesFromIdleToScanningAndBack() {
        DemoFinder w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        useTargets(w, {tree->root()});
        QVERIFY(w.btScan->isEnabled());
        bool looked = false;
        w.sink.onCollect = [&] {
            if (looked) return;
            looked = true;
            QVERIFY(w.session->scanning());
            QVERIFY(w.btAbort->isVisible());
            QVERIFY(!w.btMark->isVisible());
            QVERIFY(!w.btScan->isEnabled());
            QVERIFY(!w.btClose->isEnabled());
            QVERIFY(!w.pckDrive->isEnabled());
            QVERIFY(!w.cbWildCard->isEnabled());
            QCOMPARE(w.grid->cursor().shape(), Qt::WaitCursor);
        };
        QTest::mouseClick(w.btScan, Qt::LeftButton);
        QVERIFY(looked);
        QCOMPARE(w.grid->count(), fileCount);
        QVERIFY(!w.session->scanning());
        QVERIFY(!w.btAbort->isVisible());
        QVERIFY(w.btMark->isVisible());
        QVERIFY(w.btScan->isEnabled());
        QVERIFY(w.pckDrive->isEnabled());
        QCOMPARE(w.grid->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(script->messages().isEmpty());
    }

    void abortStopsTheWalkWithinASlice_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("mouse") << false;
        QTest::newRow("Alt+A") << true;
    }
    void abortStopsTheWalkWithinASlice() {
        QFETCH(bool, byKey);
        DemoFinder w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        useTargets(w, {tree->root()});
        w.sink.delayMicroseconds = 500;  // 1,200 files: well over half a second
        QElapsedTimer clock;
        qint64 due = 0, fired = -1, stopped = -1;
        QTimer::singleShot(150, &w, [&] {
            fired = clock.elapsed();
            if (byKey)
                QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
            else
                QTest::mouseClick(w.btAbort, Qt::LeftButton);
        });
        due = 150;
        clock.start();
        w.scan();
        stopped = clock.elapsed();
        QVERIFY2(fired >= 0, "the timer never fired during the walk");
        QCOMPARE(script->messages(), QStringList{ScanSession::kAbortedWarning});
        QVERIFY(w.abortScan);
        QVERIFY(w.grid->count() > 0);
        QVERIFY(w.grid->count() < fileCount);
        QVERIFY(w.btScan->isEnabled());
        QVERIFY(!w.btAbort->isVisible());
        // Events ran within a slice of the timer's time, and the walk ended right after.
        QVERIFY2(fired - due < 100, qPrintable(QString::number(fired - due)));
        QVERIFY2(stopped - fired < 100, qPrintable(QString::number(stopped - fired)));
    }

    void fullCollectionWarnsAndKeepsWhatItHas() {
        DemoFinder w;
        w.show();
        useTargets(w, {tree->root()});
        w.capacity = 25;
        w.scan();
        QVERIFY(w.summary.full);
        QCOMPARE(w.grid->count(), 25);
        QCOMPARE(script->messages(), QStringList{ScanSession::kCollectionFullWarning});
        QVERIFY(script->records()[0].beep == Beep::CriticalStop);
        QVERIFY(w.btScan->isEnabled());
    }

    void deletedTargetIsReportedAndTheNextScanned() {
        DemoFinder w;
        w.show();
        TempTree local;
        local.createFile("kept/file", 1);
        const QByteArray gone = local.createFolder("gone");
        useTargets(w, {gone, local.path("kept")});
        QVERIFY(::rmdir(gone.constData()) == 0);
        w.scan();
        QCOMPARE(script->messages(),
                 QStringList{ScanSession::kCantOpenDrive + QString::fromUtf8(gone)});
        QCOMPARE(script->records()[0].beep, Beep::None);
        QCOMPARE(w.grid->count(), 1);
    }

    void windowStaysPaintedAndOpenDuringTheWalk() {
        DemoFinder w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        useTargets(w, {tree->root()});
        w.sink.delayMicroseconds = 300;
        QStringList shown;
        QObject::connect(w.pnlSel, &QStatusBar::messageChanged,
                         [&](const QString& m) { shown << m; });
        EventCounter paints(w.pnlSel, QEvent::Paint);
        EventCounter hints(w.btScan, QEvent::ToolTip);
        int hintsDuring = -1;
        QTimer::singleShot(100, &w, [&] {
            w.close();  // the window must outlive the walk that runs inside it
            QTest::keyClick(w.grid, Qt::Key_Escape);
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w.btScan->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(w.btScan, &help);
            hintsDuring = hints.count;
        });
        const int paintsBefore = paints.count;
        w.scan();
        QVERIFY(w.isVisible());
        QVERIFY(!w.abortScan);
        QCOMPARE(w.grid->count(), fileCount);
        QCOMPARE(hintsDuring, 0);
        QVERIFY(paints.count > paintsBefore);
        QVERIFY(!shown.isEmpty());
        for (const QString& m : shown)
            QVERIFY2(m.startsWith(QString::fromUtf8(tree->root())), qPrintable(m));
        // Idle again: hints are on and the window closes.
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w.btScan->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(w.btScan, &help);
        QCOMPARE(hints.count, 1);
        w.close();
        QVERIFY(!w.isVisible());
    }

    void workAfterTheWalkRunsAsideWhileTheWindowLives() {
        DemoFinder w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.session->begin();
        // The work waits for a timer of the window's thread: it ends only if events run.
        std::atomic<bool> ticked{false};
        QTimer::singleShot(20, &w, [&] {
            w.close();  // still ignored: the scan is not over
            ticked = true;
        });
        bool sawTick = false;
        w.session->runAside([&] {
            for (int i = 0; i < 1000 && !ticked; ++i) QThread::msleep(5);
            sawTick = ticked;
        });
        QVERIFY(sawTick);
        QVERIFY(w.btAbort->isHidden());  // the walk that Abort stops is over
        QVERIFY(w.isVisible());
        // A failure of the work reaches the caller.
        bool caught = false;
        try {
            w.session->runAside([] { throw std::runtime_error("grouping failed"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
        QVERIFY(caught);
        w.session->end();
    }

    // Under Xvfb with VASTEL_SHOT set: a screenshot of the window in the middle of a scan.
    void screenshotDuringScan() {
        const QByteArray shot = qgetenv("VASTEL_SHOT");
        if (shot.isEmpty()) QSKIP("set VASTEL_SHOT to a PNG path to take a screenshot");
        DemoFinder w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        useTargets(w, {tree->root(), tree->path("d3")});
        w.pckDrive->item(1)->setCheckState(Qt::Unchecked);
        w.sink.delayMicroseconds = 800;
        QTimer::singleShot(400, &w, [&] {
            QProcess::execute(
                QStringLiteral("import"),
                {QStringLiteral("-window"), QStringLiteral("root"), QString::fromLocal8Bit(shot)});
        });
        w.scan();
    }
};

VASTEL_QTEST_MAIN(WalkWindowTest)
#include "WalkWindowTest.moc"
