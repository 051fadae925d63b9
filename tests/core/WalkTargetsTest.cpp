#include "widgets/DriveList.h"
#include "widgets/TfrmAddNewFolder.h"
#include "widgets/TfrmStandBy.h"
#include "widgets/TfrmWildCard.h"
#include "core/Utility.h"
#include "platform/ScriptedDialogs.h"
#include "protect/SafeHarbor.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"

#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace vastel;

namespace {

Volume volume(const QByteArray& mountPoint, DriveType type, const QString& label = {}) {
    Volume v;
    v.mountPoint = mountPoint;
    v.type = type;
    v.label = label;
    return v;
}

// Drives of a made-up machine; the process's current folder is "/", on the first of them.
DriveSource machine() {
    DriveSource s = DriveSource::finders();
    s.volumes = [] {
        return std::vector<Volume>{
            volume("/", DriveType::Fixed, "System"), volume("/media/cd", DriveType::CdRom),
            volume("/media/usb", DriveType::Removable), volume("/srv", DriveType::Fixed, "Data")};
    };
    return s;
}

QImage glyphImage(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

QStringList itemTexts(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

QStringList checkedTexts(const QListWidget& list) {
    QStringList out;
    for (const ScanTarget& t : checkedTargets(&list)) out << t.text;
    return out;
}

// Runs `act` on the modal dialog that the next call opens.
void onModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) qFatal("no modal dialog");
        act(modal);
    });
}

void click(QWidget* window, const char* name) {
    auto* b = window->findChild<QPushButton*>(QLatin1String(name));
    if (!b) qFatal("no button %s", name);
    QTest::mouseClick(b, Qt::LeftButton);
}

void selectRows(QListWidget* list, std::initializer_list<int> rows) {
    list->clearSelection();
    for (int r : rows) list->item(r)->setSelected(true);
}

}  // namespace

// The drive list, its folder list dialog, the pattern dialog and the stand-by window.
class WalkTargetsTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        QVERIFY(::chdir("/") == 0);
    }
    void cleanupTestCase() { delete script; }
    void init() {
        script->clear();
        writeExtraFolders({});
    }

    void driveListHoldsDrivesThenFoldersWithGlyphs() {
        writeExtraFolders({"/home/ann/Music", "/srv/odd\xff"});
        QListWidget list;
        fillDriveList(&list, machine(), true);
        QCOMPARE(itemTexts(list),
                 (QStringList{"/ [SYSTEM]", "/media/cd []", "/media/usb", "/srv [DATA]",
                              "/home/ann/Music", QString::fromUtf8("/srv/odd\xff")}));
        QCOMPARE(checkedTexts(list), QStringList{"/ [SYSTEM]"});
        QCOMPARE(glyphImage(list.item(0)->icon()), glyphImage(driveGlyph(DriveType::Fixed)));
        QCOMPARE(glyphImage(list.item(1)->icon()), glyphImage(driveGlyph(DriveType::CdRom)));
        QCOMPARE(glyphImage(list.item(2)->icon()), glyphImage(driveGlyph(DriveType::Removable)));
        QCOMPARE(glyphImage(list.item(4)->icon()), glyphImage(folderGlyph()));
        QVERIFY(glyphImage(folderGlyph()) != glyphImage(driveGlyph(DriveType::Fixed)));
        const ScanTarget odd = driveListTarget(list.item(5));
        QCOMPARE(odd.root, QByteArray("/srv/odd\xff"));
        QVERIFY(!odd.isDrive());
        QVERIFY(driveListTarget(list.item(3)).isDrive());
        QCOMPARE(driveListTarget(list.item(3)).root, QByteArray("/srv"));

        fillDriveList(&list, machine(), false);
        QCOMPARE(list.count(), 4);
    }

    void startControlFollowsTheChecks() {
        QListWidget list;
        QPushButton start;
        fillDriveList(&list, machine(), false);
        bindStartControl(&list, &start);
        QVERIFY(start.isEnabled());
        list.item(0)->setCheckState(Qt::Unchecked);
        QVERIFY(!start.isEnabled());
        list.item(1)->setCheckState(Qt::Checked);
        list.item(3)->setCheckState(Qt::Checked);
        QVERIFY(start.isEnabled());
        QCOMPARE(checkedTexts(list), (QStringList{"/media/cd []", "/srv [DATA]"}));
        // Filling again keeps only the default check.
        fillDriveList(&list, machine(), true);
        QCOMPARE(checkedTexts(list), QStringList{"/ [SYSTEM]"});
        DriveSource nothing;
        nothing.volumes = [] { return std::vector<Volume>{}; };
        fillDriveList(&list, nothing, false);
        QVERIFY(!start.isEnabled());
    }

    void popupItemAddsAFolderAfterTheDrives() {
        QWidget window;
        auto* list = new QListWidget(&window);
        QMenu menu(&window);
        fillDriveList(list, machine(), true);
        list->item(3)->setCheckState(Qt::Checked);
        QAction* item = addFolderMenuItem(&menu, list, machine());
        QCOMPARE(item->text(), QStringLiteral("Add a folder to the list of drives"));
        QCOMPARE(item->objectName(), QStringLiteral("Addafoldertothelistofdrives1"));
        script->answerText(QStringLiteral("/home/ann/Projects"));
        onModal([](QWidget* dialog) {
            click(dialog, "btAdd");
            click(dialog, "Button1");
        });
        item->trigger();
        QCOMPARE(list->count(), 5);
        QCOMPARE(list->item(4)->text(), QStringLiteral("/home/ann/Projects"));
        QCOMPARE(glyphImage(list->item(4)->icon()), glyphImage(folderGlyph()));
        QCOMPARE(checkedTexts(*list), QStringList{"/ [SYSTEM]"});
        QCOMPARE(script->records()[0].caption, QStringLiteral("Add a selected folder to search"));
    }

    void folderDialogKeepsASortedListWithoutRepeats() {
        writeExtraFolders({"/srv/b", "/home/Zed", "/srv/A"});
        TfrmAddNewFolder dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add new folders"));
        QCOMPARE(dialog.lblHeading->text(), QStringLiteral("Add new folders to drives"));
        QCOMPARE(dialog.folders(), (QByteArrayList{"/home/Zed", "/srv/A", "/srv/b"}));
        script->answerText(QStringLiteral("/srv/a"));  // differs only in case
        script->answerText(QStringLiteral("/opt/tools"));
        script->answerText(std::nullopt);  // cancelled
        for (int i = 0; i < 3; ++i) dialog.btAddClick();
        QCOMPARE(dialog.folders(), (QByteArrayList{"/home/Zed", "/opt/tools", "/srv/A", "/srv/b"}));
        dialog.Button1Click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(readExtraFolders(),
                 (QByteArrayList{"/home/Zed", "/opt/tools", "/srv/A", "/srv/b"}));
    }

    void deletingFolders_data() {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("answer");  // -1: no question expected
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArrayList>("left");
        const QByteArrayList all = {"/a", "/b", "/c", "/d"};
        QTest::newRow("none") << QList<int>{} << -1
                              << "To delete one or more folder(s), first highlight the selected "
                                 "folders then click delete."
                              << all;
        QTest::newRow("one, no question")
            << QList<int>{1} << -1 << QString() << QByteArrayList{"/a", "/c", "/d"};
        QTest::newRow("three, Yes")
            << QList<int>{0, 2, 3} << int(Answer::Yes) << QString() << QByteArrayList{"/b"};
        QTest::newRow("three, No") << QList<int>{0, 2, 3} << int(Answer::No) << QString() << all;
        QTest::newRow("three, Cancel")
            << QList<int>{0, 2, 3} << int(Answer::Cancel) << QString() << all;
    }
    void deletingFolders() {
        QFETCH(QList<int>, rows);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(QByteArrayList, left);
        writeExtraFolders({"/a", "/b", "/c", "/d"});
        TfrmAddNewFolder dialog;
        dialog.show();
        dialog.ListBox1->clearSelection();
        for (int r : rows) dialog.ListBox1->item(r)->setSelected(true);
        if (answer >= 0) script->answerQuestion(Answer(answer));
        dialog.btDelClick();
        QCOMPARE(dialog.folders(), left);
        QCOMPARE(script->messages(), message.isEmpty() ? QStringList() : QStringList{message});
        if (answer >= 0) {
            QCOMPARE(script->questions(), QStringList{"Really delete 3 folders?"});
            QCOMPARE(script->records()[0].buttons, Buttons::YesNoCancel);
        } else {
            QVERIFY(script->questions().isEmpty());
        }
    }

    void closingOtherwiseKeepsTheStoredList() {
        writeExtraFolders({"/a", "/b"});
        onModal([](QWidget* dialog) {
            auto* d = static_cast<TfrmAddNewFolder*>(dialog);
            d->addFolder("/c");
            selectRows(d->ListBox1, {0});
            d->btDelClick();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        TfrmAddNewFolder dialog;
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(readExtraFolders(), (QByteArrayList{"/a", "/b"}));
    }

    void patternDialogLabelsFollowThePattern() {
        TfrmWildCard dialog;
        dialog.cbWildCard->setEditText(QStringLiteral("*.doc"));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Wildcard pattern"));
        QCOMPARE(dialog.cbWildCard->currentText(), QStringLiteral("*.doc"));  // survives refill
        QVERIFY(dialog.cbWildCard->count() > 1);
        QCOMPARE(dialog.cbWildCard->itemText(0), QStringLiteral("*.*"));
        QCOMPARE(dialog.lblWild->text(), QString());
        QCOMPARE(dialog.lblType->text(), fileTypeText(QStringLiteral(".doc")));
        dialog.cbWildCard->setCurrentIndex(0);
        QCOMPARE(dialog.lblWild->text(), QStringLiteral("All files"));
        QCOMPARE(dialog.lblType->text(), QString());
        dialog.cbWildCard->setEditText(QStringLiteral("*.TXT"));
        QCOMPARE(dialog.lblType->text(), fileTypeText(QStringLiteral(".TXT")));

        QTest::mouseClick(dialog.btOK, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        dialog.show();
        QTest::mouseClick(dialog.btCancel, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void standByRunsALoopAndForgetsTheLastTestedFolder() {
        test::TestContext context;
        TfrmStandBy* frmStandBy = &context.standBy();
        SafeHarbor& harbor = context.safeHarbor();
        QCOMPARE(frmStandBy->windowTitle(), QStringLiteral("Loading Files"));
        QCOMPARE(frmStandBy->lblMessage->text(), QStringLiteral("Loading files ... standby"));
        QVERIFY(!frmStandBy->isVisible());
        harbor.lastTestedFolder = "/usr/lib/";
        frmStandBy->begin(10);
        QVERIFY(frmStandBy->isVisible());
        QVERIFY(harbor.lastTestedFolder.isEmpty());
        QCOMPARE(frmStandBy->ProgressBar1->minimum(), 0);
        QCOMPARE(frmStandBy->ProgressBar1->maximum(), 9);
        harbor.lastTestedFolder = "/etc/";
        for (int i = 0; i < 10; ++i) frmStandBy->step(i);
        QCOMPARE(frmStandBy->ProgressBar1->value(), 9);
        QVERIFY(harbor.lastTestedFolder == "/etc/");
        frmStandBy->finish();
        QVERIFY(!frmStandBy->isVisible());
        QVERIFY(harbor.lastTestedFolder.isEmpty());
    }

    // Under Xvfb with VASTEL_SHOT_DIR set: screenshots of the dialogs.
    void screenshots() {
        const QString dir = QString::fromLocal8Bit(qgetenv("VASTEL_SHOT_DIR"));
        if (dir.isEmpty()) QSKIP("set VASTEL_SHOT_DIR to take screenshots");
        auto shoot = [&](const QString& name) {
            QTest::qWait(300);
            QProcess::execute(
                QStringLiteral("import"),
                {QStringLiteral("-window"), QStringLiteral("root"), dir + QLatin1Char('/') + name});
        };
        writeExtraFolders({"/home/ann/Music", "/srv/projects", "/home/ann/Photos 2019"});
        {
            TfrmAddNewFolder d;
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            shoot(QStringLiteral("addnewfolder.png"));
        }
        {
            TfrmWildCard d;
            d.cbWildCard->setEditText(QStringLiteral("*.doc"));
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            shoot(QStringLiteral("wildcard.png"));
        }
        {
            QListWidget list;
            list.resize(320, 220);
            fillDriveList(&list, DriveSource::finders(), true);
            list.show();
            QVERIFY(QTest::qWaitForWindowExposed(&list));
            shoot(QStringLiteral("drivelist.png"));
        }
        {
            test::TestContext context;
            TfrmStandBy s(context);
            s.begin(100);
            for (int i = 0; i < 40; ++i) s.step(i);
            QVERIFY(QTest::qWaitForWindowExposed(&s));
            shoot(QStringLiteral("standby.png"));
            s.finish();
        }
    }
};

VASTEL_QTEST_MAIN(WalkTargetsTest)
#include "WalkTargetsTest.moc"
