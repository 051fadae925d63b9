#include "core/SettingsStore.h"
#include "platform/ScriptedDialogs.h"
#include "protect/BuildDate.h"
#include "protect/FileTypeRows.h"
#include "protect/FolderListFile.h"
#include "protect/ui/FolderListModel.h"
#include "protect/TfrmEditFolder.h"
#include "protect/TfrmKeepFiles.h"
#include "protect/TfrmNoDelete.h"
#include "support/TempTree.h"
#include "support/TestSandbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vastel;

// The Safe Harbor window and its folder editor: loading, Add, Delete, Edit, the build, saving.
class NoDeleteWindowTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;

    static QByteArray fileContent() {
        QFile f(folderListFilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
    }
    static QStringList rowsOf(QListWidget* list) {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        return rows;
    }
    // Runs `inside` on the next modal dialog of type T, then lets the caller's click go on.
    template <typename T, typename F>
    static void onNextModal(F inside) {
        QTimer::singleShot(0, [inside] {
            if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) inside(w);
        });
    }
    static void select(TfrmNoDelete& w, std::initializer_list<int> rows) {
        w.ListBox1->clearSelection();
        for (int r : rows)
            w.ListBox1->selectionModel()->select(w.folders->index(r), QItemSelectionModel::Select);
    }

  private Q_SLOTS:
    void initTestCase() { script = new ScriptedDialogs; }
    void cleanupTestCase() { delete script; }
    void init() {
        script->clear();
        saveFolderListFile(folderListFilePath(), {});
    }

    void showingLoadsTheListTheDatesAndTheTypes() {
        saveFolderListFile(folderListFilePath(), {"/srv/b/", "/srv/a/*.*", "/\xff/"});
        TfrmNoDelete w;
        w.PageControl1->setCurrentIndex(1);
        w.show();
        QCOMPARE(w.windowTitle(),
                 QStringLiteral("Safe Harbor - List of folders that should not be deleted"));
        QCOMPARE(w.PageControl1->currentIndex(), 0);
        QCOMPARE(w.PageControl1->tabText(0), QStringLiteral("Folders not to delete"));
        QCOMPARE(w.PageControl1->tabText(1), QStringLiteral("File types not to delete"));
        QCOMPARE(w.folders->entries(), (QByteArrayList{"/srv/b/", "/srv/a/*.*", "/\xff/"}));
        QCOMPARE(w.lblCount->text(), QStringLiteral("3 folders"));
        QCOMPARE(w.lblWhen->text(), QStringLiteral("Not recorded"));
        QCOMPARE(w.lblToday->text(), longDateText(QDate::currentDate()));
        // Never saved, the protected types show their two defaults.
        QCOMPARE(rowsOf(w.PickList1),
                 (QStringList{typeRow(QStringLiteral("*.drv")), typeRow(QStringLiteral("*.sys"))}));
        // Tree entries are drawn bold, the others in the regular style.
        QVERIFY(w.folders->data(w.folders->index(1), Qt::FontRole).value<QFont>().bold());
        QVERIFY(!w.folders->data(w.folders->index(0), Qt::FontRole).isValid());
        QCOMPARE(w.btBuild->text(), QStringLiteral("Build list of folders"));
        QVERIFY(w.btBuild->isDefault());
        w.close();
        QCOMPARE(fileContent(), QByteArray("/srv/b/\r\n/srv/a/*.*\r\n/\xff/\r\n"));  // unchanged
    }

    void addAppendsThePickedFolder() {
        TfrmNoDelete w;
        w.show();
        script->answerText(QStringLiteral("/srv/picked"));
        QTest::mouseClick(w.btAdd, Qt::LeftButton);
        QCOMPARE(script->records().last().caption,
                 QStringLiteral("Select a folder that won't be deleted"));
        QCOMPARE(w.folders->entries(), QByteArrayList{"/srv/picked/"});
        QCOMPARE(w.lblCount->text(), QStringLiteral("1 folders"));
        QVERIFY(w.listChanged);
        QVERIFY(!w.reloadNeeded);
        QTest::mouseClick(w.btAdd, Qt::LeftButton);  // cancelled: nothing more
        QCOMPARE(w.folders->rowCount(), 1);
        w.close();
        QCOMPARE(fileContent(), QByteArray("/srv/picked/\r\n"));
    }

    void deleteAsksAndClosingAnEmptyListDeletesTheFile() {
        saveFolderListFile(folderListFilePath(), {"/a/", "/b/", "/c/"});
        TfrmNoDelete w;
        w.show();
        QTest::mouseClick(w.btDel, Qt::LeftButton);
        QCOMPARE(script->messages(),
                 QStringList{QStringLiteral("Select one or more folders from the list above")});
        select(w, {0, 2});
        script->answerQuestion(Answer::Cancel);
        QTest::mouseClick(w.btDel, Qt::LeftButton);
        QCOMPARE(script->questions().last(), QStringLiteral("Really delete the selected folders?"));
        QCOMPARE(script->records().last().buttons, Buttons::OkCancel);
        QCOMPARE(w.folders->rowCount(), 3);
        script->answerQuestion(Answer::Ok);
        QTest::mouseClick(w.btDel, Qt::LeftButton);
        QCOMPARE(w.folders->entries(), QByteArrayList{"/b/"});
        QCOMPARE(w.lblCount->text(), QStringLiteral("1 folders"));
        select(w, {0});
        script->answerQuestion(Answer::Ok);
        QTest::mouseClick(w.btDel, Qt::LeftButton);
        QTest::keyClick(&w, Qt::Key_Escape);  // Esc closes, and saves like Close
        QVERIFY(!w.isVisible());
        QVERIFY(!QFileInfo::exists(folderListFilePath()));
    }

    void editMakesATreeEntryAndMergesWhatItCovers() {
        saveFolderListFile(folderListFilePath(), {"/apps/", "/apps/x/", "/apps2/", "/\xfe\xff/"});
        TfrmNoDelete w;
        w.show();
        QTest::mouseClick(w.btEdit, Qt::LeftButton);
        QCOMPARE(script->messages(), QStringList{QStringLiteral("Select a folder first")});

        w.ListBox1->setCurrentIndex(w.folders->index(0));
        QString seenText;
        bool seenChecked = true;
        onNextModal<TfrmEditFolder>([&](TfrmEditFolder* e) {
            seenText = e->Edit1->text();
            seenChecked = e->cbAll->isChecked();
            QTest::mouseClick(e->cbAll, Qt::LeftButton);
            QTest::mouseClick(e->btOK, Qt::LeftButton);
        });
        QTest::mouseClick(w.btEdit, Qt::LeftButton);
        QCOMPARE(seenText, QStringLiteral("/apps/"));
        QVERIFY(!seenChecked);
        QCOMPARE(w.folders->entries(), (QByteArrayList{"/apps/*.*", "/apps2/", "/\xfe\xff/"}));
        QCOMPARE(w.folders->entry(w.ListBox1->currentIndex().row()), QByteArray("/apps/*.*"));
        QCOMPARE(w.lblCount->text(), QStringLiteral("3 folders"));
        QVERIFY(w.listChanged);

        // A tree entry opens without its marker and checked; OK on unchanged text keeps bytes
        // that are no UTF-8; unchecking makes it plain again.
        w.ListBox1->setCurrentIndex(w.folders->index(2));
        onNextModal<TfrmEditFolder>(
            [](TfrmEditFolder* e) { QTest::mouseClick(e->btOK, Qt::LeftButton); });
        QTest::mouseClick(w.btEdit, Qt::LeftButton);
        QCOMPARE(w.folders->entry(2), QByteArray("/\xfe\xff/"));
        w.ListBox1->setCurrentIndex(w.folders->index(0));
        onNextModal<TfrmEditFolder>([&](TfrmEditFolder* e) {
            seenText = e->Edit1->text();
            seenChecked = e->cbAll->isChecked();
            QTest::mouseClick(e->cbAll, Qt::LeftButton);
            QTest::mouseClick(e->btOK, Qt::LeftButton);
        });
        QTest::mouseClick(w.btEdit, Qt::LeftButton);
        QCOMPARE(seenText, QStringLiteral("/apps/"));
        QVERIFY(seenChecked);
        QCOMPARE(w.folders->entry(0), QByteArray("/apps/"));

        // Cancel and an emptied text change nothing.
        onNextModal<TfrmEditFolder>([](TfrmEditFolder* e) {
            e->Edit1->clear();
            QTest::mouseClick(e->btOK, Qt::LeftButton);
        });
        QTest::mouseClick(w.btEdit, Qt::LeftButton);
        QCOMPARE(w.folders->entry(0), QByteArray("/apps/"));
        w.close();
        QCOMPARE(fileContent(), QByteArray("/apps/\r\n/apps2/\r\n/\xfe\xff/\r\n"));
    }

    void editDialogExplainsTheEntry_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QString>("example");
        QTest::newRow("tree") << "/srv/x/" << true
                              << "All files and sub-folders below \"/srv/x/\" will NOT be deleted.";
        QTest::newRow("tree, empty")
            << "" << true
            << "All files and sub-folders below the one you select will NOT be deleted.";
        QTest::newRow("plain") << "/srv/x/" << false
                               << "Only files in this folder \"/srv/x/\" will NOT be deleted.";
        QTest::newRow("plain, empty") << "" << false << "";
    }
    void editDialogExplainsTheEntry() {
        QFETCH(QString, text);
        QFETCH(bool, all);
        QFETCH(QString, example);
        TfrmEditFolder e;
        e.Edit1->setText(text);
        e.cbAll->setChecked(all);
        e.show();
        QCOMPARE(e.lblExample->text(), example);
        // Typing leaves the example; the check box renews it.
        e.Edit1->setText(QStringLiteral("/other/"));
        QCOMPARE(e.lblExample->text(), example);
        QTest::mouseClick(e.cbAll, Qt::LeftButton);
        QVERIFY(e.lblExample->text().contains(QStringLiteral("\"/other/\"")));
    }

    void editDialogBrowsesForAFolder() {
        TfrmEditFolder e;
        e.Edit1->setText(QStringLiteral("/srv"));
        e.show();
        script->answerText(QStringLiteral("/srv/chosen"));
        QTest::mouseClick(e.SpeedButton1, Qt::LeftButton);
        QCOMPARE(script->records().last().kind, ScriptedDialogs::Kind::Folder);
        QCOMPARE(script->records().last().text, QStringLiteral("/srv"));
        QCOMPARE(e.Edit1->text(), QStringLiteral("/srv/chosen/"));
        QCOMPARE(e.windowTitle(), QStringLiteral("Edit Folder"));
    }

    void buildKeepsTreeEntriesAndAddsTheFoldersFound() {
        test::TempTree t;
        const QByteArray R = t.root();
        t.createFolder("found/one");
        t.createFolder("found/two");
        t.createFolder("config");
        t.createFileWith("info/app.list",
                         R + "/found/two/x\n" + R + "/found/one/y\n" + R + "/mine/deep/z\n");
        t.createFileWith("etc/app.conf", "Home=" + R + "/found/one/\n");
        t.createFolder("mine/deep");
        saveFolderListFile(folderListFilePath(), {R + "/mine/*.*", R + "/mine2/", "/typed/"});
        TfrmNoDelete w;
        w.branches = {t.path("info"), t.path("etc"), t.path("config")};
        w.show();
        const QString heading = w.lblHeading->text();

        QTest::mouseClick(w.btBuild, Qt::LeftButton);  // answered No
        QCOMPARE(script->questions(),
                 QStringList{QStringLiteral(
                     "Vastel will now scan the registry for references to folders.  Those "
                     "folders ending with *.* will not be discarded during the scan.  It may "
                     "take a few minutes.  Continue? ")});
        QCOMPARE(w.folders->rowCount(), 3);
        QVERIFY(!w.reloadNeeded);

        QString headingDuringBuild;
        bool buttonsDuringBuild = true;
        QObject::connect(w.folders, &QAbstractItemModel::rowsInserted, &w, [&] {
            headingDuringBuild = w.lblHeading->text();
            buttonsDuringBuild = w.btAdd->isEnabled() || w.btDel->isEnabled() ||
                                 w.btEdit->isEnabled() || w.btBuild->isEnabled();
        });
        // While it builds the window runs its events (it repaints), but a click on Close or a
        // key waits: the build cannot be left halfway.
        QString headingWhileEventsRan;
        bool clickSelected = true;
        QTimer::singleShot(0, &w, [&] {
            headingWhileEventsRan = w.lblHeading->text();
            QTest::mouseClick(w.btClose, Qt::LeftButton);
            QTest::mouseClick(w.ListBox1->viewport(), Qt::LeftButton, {},
                              w.ListBox1->visualRect(w.folders->index(0)).center());
            clickSelected = w.ListBox1->selectionModel()->hasSelection();
        });
        script->answerQuestion(Answer::Yes);
        QTest::mouseClick(w.btBuild, Qt::LeftButton);
        QCOMPARE(headingWhileEventsRan, QStringLiteral("Building List ... standby"));
        QVERIFY(w.isVisible());
        QVERIFY(!clickSelected);
        QCOMPARE(headingDuringBuild, QStringLiteral("Building List ... standby"));
        QVERIFY(!buttonsDuringBuild);
        QCOMPARE(w.folders->entries(),
                 (QByteArrayList{R + "/found/one/", R + "/found/two/", R + "/mine/*.*"}));
        QCOMPARE(w.lblCount->text(), QStringLiteral("3 folders"));
        QCOMPARE(w.lblHeading->text(), heading);
        QVERIFY(w.btAdd->isEnabled() && w.btDel->isEnabled() && w.btEdit->isEnabled() &&
                w.btBuild->isEnabled());
        QVERIFY(w.listChanged);
        QVERIFY(w.reloadNeeded);
        QVERIFY(w.lblWhen->text() != QStringLiteral("Not recorded"));
        QCOMPARE(readBuildDate(), w.lblWhen->text());
        w.close();
        QCOMPARE(fileContent(),
                 R + "/found/one/\r\n" + R + "/found/two/\r\n" + R + "/mine/*.*\r\n");
    }

    void buildOfAnEmptyRegistryRecordsNoDate() {
        test::TempTree t;
        TfrmNoDelete w;
        w.branches = {t.path("none"), t.path("none"), t.path("none")};
        w.show();
        script->answerQuestion(Answer::Yes);
        QTest::mouseClick(w.btBuild, Qt::LeftButton);
        QCOMPARE(w.folders->rowCount(), 0);
        QCOMPARE(w.lblWhen->text(), QStringLiteral("Not recorded"));
        QCOMPARE(readBuildDate(), QStringLiteral("Not recorded"));
        w.close();
        QVERIFY(!QFileInfo::exists(folderListFilePath()));
    }

    void typesTabOpensTheProtectedTypesAndAsksForAReload() {
        TfrmNoDelete w;
        w.show();
        QString caption;
        onNextModal<TfrmKeepFiles>([&](TfrmKeepFiles* k) {
            caption = k->windowTitle();
            k->PickList1->clear();
            k->addRow(typeRow(QStringLiteral("*.ko")));
            QTest::mouseClick(k->btClose, Qt::LeftButton);
        });
        QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Safe Harbor file extensions"));
        QCOMPARE(rowsOf(w.PickList1), QStringList{typeRow(QStringLiteral("*.ko"))});
        QVERIFY(w.reloadNeeded);
        QVERIFY(!w.listChanged);
    }
};

VASTEL_QTEST_MAIN(NoDeleteWindowTest)
#include "NoDeleteWindowTest.moc"
