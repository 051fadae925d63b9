#include "core/SettingsStore.h"
#include "platform/ScriptedDialogs.h"
#include "removal/ArchiveFolder.h"
#include "removal/TfrmZipOptions.h"
#include "support/TestSandbox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vastel;

// The archive options dialog: what it shows and what it stores when it closes.
class ZipOptionsTest : public QObject {
    Q_OBJECT
  private:
    static QByteArray storedPath() {
        return SettingsStore().readBytes(QStringLiteral("ZipFile"), QStringLiteral("Path"), "none");
    }
    static QString storedComment() {
        return SettingsStore().readString(QStringLiteral("ZipFile"), QStringLiteral("Comment"),
                                          QStringLiteral("none"));
    }

  private Q_SLOTS:
    void showsTheStoredSettings() {
        TfrmZipOptions dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Archive Zip File Options"));
        QCOMPARE(dialog.Edit1->text(), QString::fromLocal8Bit(qgetenv("HOME")));  // the default
        QVERIFY(dialog.Edit1->isReadOnly());
        QCOMPARE(dialog.Edit2->text(), QString());
        QCOMPARE(dialog.Edit2->maxLength(), 80);
        QStringList texts;
        for (const QLabel* l : dialog.findChildren<QLabel*>()) texts << l->text();
        for (const char* t :
             {"Store Zip Archive Files in this folder:",
              "Comment to be inserted into Archive Zip file:",
              "Note: Comments make it much easier to identify archive zip files later.",
              "Note: the zip folder can be on the network on a different machine!"})
            QVERIFY2(texts.contains(QLatin1String(t)), t);
        QVERIFY(dialog.btOK->isDefault());
        dialog.reject();
    }

    // Cancel stores a changed folder and comment too.
    void everyCloseStoresTheSettings() {
        ScriptedDialogs script;
        TfrmZipOptions dialog;
        dialog.show();
        script.answerText(QStringLiteral("/srv/zips"));
        dialog.SpeedButton1->click();
        QCOMPARE(script.records().first().caption, QStringLiteral("Location of archive zip files"));
        QCOMPARE(dialog.Edit1->text(), QStringLiteral("/srv/zips"));
        dialog.Edit2->setText(QStringLiteral("spring cleaning"));
        dialog.btCancel->click();
        QCOMPARE(storedPath(), QByteArray("/srv/zips"));
        QCOMPARE(storedComment(), QStringLiteral("spring cleaning"));
        QCOMPARE(archiveFolder, QByteArray("/srv/zips"));

        // A cancelled picker changes nothing; the next showing reads what was stored.
        TfrmZipOptions again;
        again.show();
        QCOMPARE(again.Edit2->text(), QStringLiteral("spring cleaning"));
        again.SpeedButton1->click();
        QCOMPARE(again.Edit1->text(), QStringLiteral("/srv/zips"));
        again.reject();
    }

    void runGivesTheCommentOnlyAfterOk() {
        SettingsStore().writeString(QStringLiteral("ZipFile"), QStringLiteral("Comment"),
                                    QStringLiteral("kept"));
        auto press = [](const char* name) {
            QTimer::singleShot(0, [name] {
                auto* dialog = qobject_cast<TfrmZipOptions*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                dialog->findChild<QPushButton*>(QLatin1String(name))->click();
            });
        };
        press("btOK");
        QCOMPARE(runZipOptions(nullptr), std::optional<QString>(QStringLiteral("kept")));
        press("btCancel");
        QCOMPARE(runZipOptions(nullptr), std::optional<QString>());
    }
};

VASTEL_QTEST_MAIN(ZipOptionsTest)
#include "ZipOptionsTest.moc"
