#include "core/CountedList.h"
#include "core/SettingsStore.h"
#include "platform/ScriptedDialogs.h"
#include "protect/FileTypeRows.h"
#include "protect/TfrmKeepFiles.h"
#include "protect/TfrmSelectExtension.h"
#include "protect/TfrmTempFiles.h"
#include "support/TestSandbox.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace vastel;

// The protected and temporary types windows and the picker they share.
class TypeListWindowsTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;

    static QStringList stored(const QString& section) {
        const SettingsStore store;
        return readCountedList(store, section, {QStringLiteral("<never saved>")});
    }
    static QStringList patterns(const FileTypeListWindow& w) {
        QStringList out;
        for (const QString& row : w.rows()) out << patternOfDisplayEntry(row);
        return out;
    }
    // Adds through the picker: `choose` fills it in and presses OK.
    template <typename F>
    static void addWithPicker(FileTypeListWindow& w, F choose) {
        QTimer::singleShot(0, [choose] {
            if (auto* p = qobject_cast<TfrmSelectExtension*>(QApplication::activeModalWidget()))
                choose(p);
        });
        QTest::mouseClick(w.btAdd, Qt::LeftButton);
    }
    static void forget(const QString& section) {
        SettingsStore store;
        store.writeString(section, QStringLiteral("Number"), QString());
    }

  private Q_SLOTS:
    void initTestCase() { script = new ScriptedDialogs; }
    void cleanupTestCase() { delete script; }
    void init() {
        script->clear();
        forget(kProtectedTypesSection);
        forget(kTemporaryTypesSection);
    }

    void windowsCarryTheirTexts() {
        TfrmKeepFiles keep;
        QCOMPARE(keep.windowTitle(), QStringLiteral("Safe Harbor file extensions"));
        QCOMPARE(keep.lblHeading->text(), QStringLiteral("Safe Harbor File Extensions"));
        QVERIFY(keep.findChild<QLabel*>(QStringLiteral("lblExplain"))
                    ->text()
                    .startsWith(
                        QStringLiteral("Files with these extensions will not be deleted.   To")));
        TfrmTempFiles temp;
        QCOMPARE(temp.windowTitle(), QStringLiteral("Temporary file extensions"));
        QCOMPARE(temp.lblHeading->text(), QStringLiteral("Temporary File Extensions"));
        QVERIFY(temp.findChild<QLabel*>(QStringLiteral("lblExplain2"))
                    ->text()
                    .startsWith(QStringLiteral(".FTS files may deleted")));
        const char* buttons[][2] = {{"btAdd", "&Add"},
                                    {"btDelete", "&Delete"},
                                    {"btClear", "&Clear all"},
                                    {"btDefaults", "D&efaults"},
                                    {"btClose", "Close"}};
        for (auto& b : buttons)
            QCOMPARE(temp.findChild<QPushButton*>(QLatin1String(b[0]))->text(),
                     QString::fromLatin1(b[1]));
    }

    void firstOpeningShowsDefaultsAndClosingStoresThem() {
        TfrmKeepFiles w;
        w.show();
        QCOMPARE(patterns(w), (QStringList{"*.drv", "*.sys"}));
        QCOMPARE(w.rows().first(), typeRow(QStringLiteral("*.drv")));
        QTest::mouseClick(w.btClose, Qt::LeftButton);
        QCOMPARE(stored(kProtectedTypesSection), (QStringList{"*.drv", "*.sys"}));

        TfrmTempFiles t;
        t.show();
        QCOMPARE(patterns(t), (QStringList{"*.$$$", "*.bak", "*.fts", "*.tmp"}));
        t.close();  // the window frame stores too
        QCOMPARE(stored(kTemporaryTypesSection).size(), 4);
    }

    void typedTypesAreNormalisedAndDuplicatesRefused() {
        TfrmTempFiles w;
        w.show();
        for (const char* typed : {"old", ".TEMP", "*.~mp", "readme.txt", ".old", "*.*", "*", ".*"})
            addWithPicker(w, [typed](TfrmSelectExtension* p) {
                p->Edit1->setText(QString::fromLatin1(typed));
                QTest::mouseClick(p->btOK, Qt::LeftButton);
            });
        QCOMPARE(patterns(w), (QStringList{"*.$$$", "*.bak", "*.fts", "*.old", "*.TEMP", "*.tmp",
                                           "*.~mp", "readme.txt"}));
        // Cancel adds nothing.
        addWithPicker(w, [](TfrmSelectExtension* p) {
            p->Edit1->setText(QStringLiteral("new"));
            QTest::mouseClick(p->btCancel, Qt::LeftButton);
        });
        QCOMPARE(w.rows().size(), 8);
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(stored(kTemporaryTypesSection).size(), 8);
    }

    void pickerOffersRegisteredTypesAndAddsSeveralRows() {
        TfrmKeepFiles w;
        w.show();
        QStringList chosen;
        addWithPicker(w, [&chosen](TfrmSelectExtension* p) {
            QCOMPARE(p->windowTitle(), QStringLiteral("Select a file extension"));
            QVERIFY(p->lBox->count() > 10);
            QCOMPARE(p->cbWildCard->count(), p->lBox->count());
            QCOMPARE(p->Edit1->text(), p->cbWildCard->itemText(0));
            QVERIFY(!p->cbWildCard->isVisible());
            // A click puts the row's pattern into the text.
            QListWidgetItem* third = p->lBox->item(2);
            const QRect r = p->lBox->visualItemRect(third);
            QTest::mouseClick(p->lBox->viewport(), Qt::LeftButton, {}, r.center());
            QCOMPARE(p->Edit1->text(), patternOfDisplayEntry(third->text()));
            for (int i : {3, 5, 7}) {
                p->lBox->item(i)->setSelected(true);
                chosen << p->lBox->item(i)->text();
            }
            p->lBox->item(2)->setSelected(false);
            QTest::mouseClick(p->btOK, Qt::LeftButton);
            QVERIFY(p->multipleChosen);
        });
        QCOMPARE(chosen.size(), 3);
        for (const QString& row : chosen) QVERIFY2(w.rows().contains(row), qPrintable(row));
        QCOMPARE(w.rows().size(), 5);
    }

    void deleteAsksOnlyForSeveralRowsAndClearAsksAlways() {
        TfrmTempFiles w;
        w.show();
        QCOMPARE(w.rows().size(), 4);
        w.PickList1->item(0)->setSelected(true);
        QTest::mouseClick(w.btDelete, Qt::LeftButton);
        QVERIFY(script->questions().isEmpty());
        QCOMPARE(w.rows().size(), 3);

        w.PickList1->item(0)->setSelected(true);
        w.PickList1->item(1)->setSelected(true);
        script->answerQuestion(Answer::No);
        QTest::mouseClick(w.btDelete, Qt::LeftButton);
        QCOMPARE(script->questions().last(), QStringLiteral("Really delete 2 extensions?"));
        QCOMPARE(script->records().last().buttons, Buttons::YesNoCancel);
        QCOMPARE(w.rows().size(), 3);
        script->answerQuestion(Answer::Yes);
        QTest::mouseClick(w.btDelete, Qt::LeftButton);
        QCOMPARE(w.rows().size(), 1);

        QTest::mouseClick(w.btDelete, Qt::LeftButton);  // nothing selected: nothing happens
        QCOMPARE(w.rows().size(), 1);

        script->answerQuestion(Answer::Cancel);
        QTest::mouseClick(w.btClear, Qt::LeftButton);
        QCOMPARE(script->questions().last(), QStringLiteral("Really clear out all extensions?"));
        QCOMPARE(w.rows().size(), 1);
        script->answerQuestion(Answer::Yes);
        QTest::mouseClick(w.btClear, Qt::LeftButton);
        QVERIFY(w.rows().isEmpty());
        QTest::mouseClick(w.btClose, Qt::LeftButton);
        QVERIFY(stored(kTemporaryTypesSection).isEmpty());  // "Number" 0, not the defaults

        TfrmTempFiles again;
        again.show();
        QVERIFY(again.rows().isEmpty());
    }

    void defaultsAddOnlyWhatIsMissing() {
        {
            SettingsStore store;
            writeCountedList(store, kTemporaryTypesSection, {QStringLiteral("*.TMP")});
        }
        TfrmTempFiles t;
        t.show();
        QTest::mouseClick(t.btDefaults, Qt::LeftButton);
        QCOMPARE(t.rows().size(), 14);  // thirteen added; "*.tmp" was there in another case
        QTest::mouseClick(t.btDefaults, Qt::LeftButton);
        QCOMPARE(t.rows().size(), 14);
        QCOMPARE(t.rows().filter(QStringLiteral("*.old")).size(), 1);

        TfrmKeepFiles k;
        k.show();
        k.PickList1->clear();
        QTest::mouseClick(k.btDefaults, Qt::LeftButton);
        QCOMPARE(patterns(k), (QStringList{"*.drv", "*.sys"}));
    }
};

VASTEL_QTEST_MAIN(TypeListWindowsTest)
#include "TypeListWindowsTest.moc"
