#include "app/LauncherBackground.h"
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "app/VastelStyle.h"
#include "finders/TfrmDupCompare.h"
#include "inspect/TFindDlg.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Shell.h"
#include "protect/FolderListFile.h"
#include "protect/TfrmNoDelete.h"
#include "stats/TfrmStatistics.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"
#include "widgets/TfrmStandBy.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using namespace vastel;

// The launcher as the user meets it: its buttons, the gate, the backdrop and the run-long windows.
class LauncherTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    test::TestContext* context = nullptr;
    TfrmMain* frmMain = nullptr;
    TfrmStatistics* frmStatistics = nullptr;
    TFindDlg* FindDlg = nullptr;
    TfrmDupCompare* frmDupCompare = nullptr;
    TfrmStandBy* frmStandBy = nullptr;

    SafeHarbor& harbor() { return context->safeHarbor(); }

    QPushButton* button(const char* name) {
        auto* b = frmMain->findChild<QPushButton*>(QLatin1String(name));
        if (!b) qFatal("no button %s", name);
        return b;
    }

    // Clicks a launcher button; a window it opens modally is closed as soon as it shows. The
    // window's caption, or an empty text when none opened.
    QString clickAndClose(const char* name) {
        QString caption;
        QTimer closer;  // dies with this call when the button opened nothing
        closer.setSingleShot(true);
        connect(&closer, &QTimer::timeout, [&caption] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                caption = d->windowTitle();
                d->reject();
            }
        });
        closer.start(0);
        QTest::mouseClick(button(name), Qt::LeftButton);
        return caption;
    }

    // Runs `inside` on the Safe Harbor window once the launcher has opened it modally.
    template <typename F>
    bool whileSafeHarborWindowOpen(F inside) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<TfrmNoDelete*>(QApplication::activeModalWidget());
            if (!w) return;
            seen = true;
            inside(w);
            if (w->isVisible()) QTest::mouseClick(w->btClose, Qt::LeftButton);
        });
        QTest::mouseClick(button("btBuild"), Qt::LeftButton);
        return seen;
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        context = new test::TestContext;
        frmMain = new TfrmMain(*context);
        frmStatistics = &context->statistics();
        FindDlg = &context->findDialog();
        frmDupCompare = &context->dupCompare();
        frmStandBy = &context->standBy();
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));
    }
    void cleanupTestCase() {
        delete frmMain;
        delete context;
        delete script;
    }
    void init() { script->clear(); }

    void runLongWindowsAreMadeWithTheirCaptions() {
        QCOMPARE(frmMain->windowTitle(),
                 QStringLiteral("Vastel 99 Version 3.0b from Tessivo Corporation"));
        QCOMPARE(frmStatistics->windowTitle(), QStringLiteral("File Statistics Not Yet Collected"));
        QCOMPARE(FindDlg->windowTitle(), QStringLiteral("Find"));
        QCOMPARE(frmDupCompare->windowTitle(), QStringLiteral("Compare file pairs"));
        QCOMPARE(frmStandBy->windowTitle(), QStringLiteral("Loading Files"));
        QVERIFY(!frmStatistics->isVisible());
        QVERIFY(!FindDlg->isVisible());
        QVERIFY(!frmDupCompare->isVisible());
        QVERIFY(!frmStandBy->isVisible());
    }

    void buttonsCarryCaptionsAndHints_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        const char* rows[][3] = {
            {"btDuplicate", "&Duplicate files", "Locate duplicate files"},
            {"btFileHog", "&File hogs", "Locate large files"},
            {"btFiles", "Files &accessed", "Locate old and recent files"},
            {"btDirHogs", "Folder &hogs", "Locate folders taking the most space"},
            {"btClean", "&Quick clean", "Quickly clean up temporary files"},
            {"btStatistic", "&Statistics", "Compute disk statistics"},
            {"btBrowse", "&Browse", "Browse through disks/folders"},
            {"btClearCache", "&Clear internet files", "Clean up web browser cache folders"},
            {"btZip", "&Unzip archive files",
             "Unzip files that have been zipped up by Vastel (compressed)"},
            {"btBuild", "Build &safe harbor",
             "Build list of folders that will not be deleted in Vastel without warning"},
            {"btHelp", "H&elp", ""},
            {"btReach", "Ab&out", ""},
            {"btClose", "E&xit", "Quit and close "},
        };
        for (auto& r : rows)
            QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1])
                                << QString::fromLatin1(r[2]);
    }
    void buttonsCarryCaptionsAndHints() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QPushButton* b = button(name.toLatin1().constData());
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->toolTip(), hint);
        QVERIFY(b->isVisible());
    }

    void featureButtonsStandInTwoColumnsOfFive() {
        const char* left[] = {"btDuplicate", "btFileHog", "btFiles", "btDirHogs", "btClean"};
        const char* right[] = {"btStatistic", "btBrowse", "btClearCache", "btZip", "btBuild"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(button(left[i])->x(), button(left[0])->x());
            QCOMPARE(button(right[i])->x(), button(right[0])->x());
            QCOMPARE(button(left[i])->y(), button(right[i])->y());
            if (i) QVERIFY(button(left[i])->y() > button(left[i - 1])->y());
        }
        QVERIFY(button(right[0])->x() > button(left[0])->x() + button(left[0])->width() - 1);
        QVERIFY(button("btReach")->y() > button("btClean")->y());
        auto* title = frmMain->findChild<QLabel*>(QStringLiteral("lblTitle"));
        QCOMPARE(title->text(), QStringLiteral("Vastel 99"));
        QVERIFY(title->y() < button("btDuplicate")->y());
    }

    void windowIsFixedSizeWithoutMaximise() {
        QCOMPARE(frmMain->minimumSize(), frmMain->maximumSize());
        QVERIFY(!(frmMain->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(frmMain->windowFlags() & Qt::WindowMinimizeButtonHint);
    }

    void gateRefusesFindersWhileNoFolderListExists_data() {
        QTest::addColumn<QString>("name");
        for (const char* n : {"btDuplicate", "btFileHog", "btFiles", "btDirHogs", "btClean",
                              "btBrowse", "btClearCache"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void gateRefusesFindersWhileNoFolderListExists() {
        QFETCH(QString, name);
        QVERIFY(harbor().safeHarborMissing);
        context->duplicateMode = true;
        QTest::mouseClick(button(name.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(script->records().size(), 1);
        const auto& r = script->records().first();
        QCOMPARE(r.text, QStringLiteral("The Safe Harbor list of folders/files not to delete has "
                                        "not been created yet.  Click on the Build Safe Harbor "
                                        "button to initialize."));
        QCOMPARE(r.icon, BoxIcon::Error);
        QCOMPARE(r.beep, Beep::Exclamation);
        QVERIFY(context->duplicateMode);  // a refused button changes nothing
    }

    void ungatedButtonsWorkWithoutAFolderList() {
        QTest::mouseClick(button("btStatistic"), Qt::LeftButton);
        QVERIFY(frmStatistics->isVisible());
        QVERIFY(!frmStatistics->isModal());
        frmStatistics->hide();
        // The restore window opens modally; it is closed as soon as it runs.
        QString restoreWindow;
        QTimer::singleShot(0, this, [&] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                restoreWindow = modal->objectName();
                modal->reject();
            }
        });
        QTest::mouseClick(button("btZip"), Qt::LeftButton);
        QCOMPARE(restoreWindow, QStringLiteral("frmUnZipIt"));
        QVERIFY(whileSafeHarborWindowOpen([](TfrmNoDelete*) {}));
        QVERIFY(script->messages().isEmpty());
        QVERIFY(harbor().safeHarborMissing);  // closed unchanged: nothing to reload
    }

    void duplicateModeFollowsTheLastButton() {
        harbor().safeHarborMissing = false;
        QCOMPARE(clickAndClose("btFileHog"), QStringLiteral("Find and delete file hogs"));
        QVERIFY(!context->duplicateMode);
        QCOMPARE(clickAndClose("btDuplicate"), QStringLiteral("Find and delete duplicate files"));
        QVERIFY(context->duplicateMode);
        QCOMPARE(clickAndClose("btFileHog"), QStringLiteral("Find and delete file hogs"));
        QVERIFY(!context->duplicateMode);
        QVERIFY(script->messages().isEmpty());
        harbor().safeHarborMissing = true;
    }

    void backgroundFollowsColourDepth_data() {
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("planes");
        QTest::addColumn<bool>("gradient");
        QTest::newRow("8 bits") << 8 << 1 << true;
        QTest::newRow("4 bits, 2 planes") << 4 << 2 << true;
        QTest::newRow("15 bits") << 15 << 1 << false;
        QTest::newRow("16 bits") << 16 << 1 << false;
        QTest::newRow("24 bits") << 24 << 1 << false;
    }
    void backgroundFollowsColourDepth() {
        QFETCH(int, bits);
        QFETCH(int, planes);
        QFETCH(bool, gradient);
        frmMain->chooseBackground(bits, planes);
        QWidget* shown = gradient ? static_cast<QWidget*>(frmMain->EsGradient1) : frmMain->EsTile1;
        QWidget* parked = gradient ? static_cast<QWidget*>(frmMain->EsTile1) : frmMain->EsGradient1;
        QCOMPARE(shown->geometry(), frmMain->rect());
        QCOMPARE(parked->y(), 1000);
        frmMain->chooseBackground(32, 1);
    }

    void showingSetsHintsAndHelpFile() {
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(245, 249, 136));
        QCOMPARE(VastelStyle::hintPause(), 1000);
        QVERIFY(frmMain->helpFile.endsWith(QStringLiteral("/vastel30.hlp")));
        QVERIFY(harbor().lastTestedFolder.isEmpty());
    }

    void helpOpensTheHelpPage() {
        QUrl opened;
        setOpenUrlHandler([&opened](const QUrl& url) {
            opened = url;
            return true;
        });
        QTest::mouseClick(button("btHelp"), Qt::LeftButton);
        setOpenUrlHandler(nullptr);
        QVERIFY(opened.isLocalFile());
        QVERIFY(opened.toLocalFile().endsWith(QStringLiteral("vastel30.html")));
        QVERIFY(QFileInfo::exists(opened.toLocalFile()));
    }

    void launcherHoldsTheProgramsSafeHarbor() {
        // Loaded at the first showing: the system folders and the search path.
        QVERIFY(harbor().lbWindows.contains("/ETC/"));
        QVERIFY(harbor().lbWindows.contains("/USR/LIB/"));
        int reason = 0;
        QVERIFY(frmMain->isInSafeHarbor("/etc/hosts", true, &reason));
        QCOMPARE(reason, 1);
    }

    void gatePassesOnceABuildIsSavedWithoutRestart() {
        test::TempTree fixture;
        fixture.createFolder("config");
        fixture.createFolder("etc");
        fixture.createFolder("found/folder");
        fixture.createFileWith("info/app.list", fixture.path("found/folder/app.bin") + "\n");
        QVERIFY(harbor().safeHarborMissing);
        QTest::mouseClick(button("btDirHogs"), Qt::LeftButton);
        QCOMPARE(script->messages().size(), 1);

        script->clear();
        script->answerQuestion(Answer::Yes);
        QVERIFY(whileSafeHarborWindowOpen([&](TfrmNoDelete* w) {
            w->branches = {fixture.path("info"), fixture.path("etc"), fixture.path("config")};
            QTest::mouseClick(w->btBuild, Qt::LeftButton);
        }));
        QVERIFY(!harbor().safeHarborMissing);
        QVERIFY(harbor().lb1.contains(fixture.path("found/folder/").toUpper()));
        QVERIFY(harbor().isInSafeHarbor(fixture.path("found/folder/x"), true));
        for (const char* n : {"btDuplicate", "btFileHog", "btFiles", "btDirHogs", "btClean",
                              "btBrowse", "btClearCache"})
            clickAndClose(n);
        QVERIFY(script->messages().isEmpty());

        // Without the file the next load finds the Safe Harbor unbuilt again.
        QVERIFY(saveFolderListFile(folderListFilePath(), {}));
        frmMain->GetSearchPath();
        QVERIFY(harbor().safeHarborMissing);
    }

    void aboutOpensFromButtonAndFootLabels() {
        for (const char* source : {"btReach", "lblMaker", "lblWeb"}) {
            QString seen;
            QTimer::singleShot(0, [&seen] {
                if (QWidget* w = QApplication::activeModalWidget()) {
                    seen = w->windowTitle();
                    auto* ok = w->findChild<QPushButton*>(QStringLiteral("btOK"));
                    QTest::mouseClick(ok, Qt::LeftButton);
                }
            });
            QWidget* w = frmMain->findChild<QWidget*>(QLatin1String(source));
            QTest::mouseClick(w, Qt::LeftButton);
            QCOMPARE(seen, QStringLiteral("How to contact us"));
        }
    }
};

VASTEL_QTEST_MAIN(LauncherTest)
#include "LauncherTest.moc"
