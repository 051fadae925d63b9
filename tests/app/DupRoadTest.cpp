#include "app/ProgramContext.h"
#include "app/TfrmMain.h"
#include "core/DriveEntries.h"
#include "platform/ScriptedDialogs.h"
#include "protect/FolderListFile.h"
#include "removal/TfrmReallyDelete.h"
#include "support/TempTree.h"
#include "support/TestSandbox.h"

#include <zip.h>
#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// Runs `step` on the next window that becomes modal, from inside its event loop.
void onNextModal(std::function<void(QWidget*)> step) {
    auto* poll = new QTimer;
    QWidget* before = QApplication::activeModalWidget();
    QObject::connect(poll, &QTimer::timeout, [poll, before, step] {
        QWidget* now = QApplication::activeModalWidget();
        if (!now || now == before || !now->isVisible()) return;
        poll->stop();
        // The step may run a nested event loop that deletes the timer, and this lambda with
        // it: only locals are used from here on.
        const std::function<void(QWidget*)> run = step;
        poll->deleteLater();
        run(now);
    });
    poll->start(10);
}

QByteArrayList archiveMembers(const QString& archive) {
    QByteArrayList names;
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!z) return names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i)
        names << QByteArray(zip_get_name(z, zip_uint64_t(i), ZIP_FL_ENC_RAW));
    zip_close(z);
    return names;
}

}  // namespace

// The road of a typical request, through the windows: the launcher, "&Duplicate files", a scan
// of an extra folder, a mark, "Clean?", the review, the archive, and back at the launcher.
class DupRoadTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void duplicateRoadEndsInAnArchive() {
        ScriptedDialogs script;
        TempTree tree;
        const QByteArray kept = tree.createFile("one/report.doc", 300'000);
        const QByteArray marked = tree.createFile("two/report.doc", 300'000, 0, 0, 'y');
        tree.createFile("two/single.doc", 400'000);
        // A folder list exists, so the gate passes; the fixture is an extra folder.
        QVERIFY(saveFolderListFile(folderListFilePath(), {"/nowhere/protected/"}));
        writeExtraFolders({tree.root()});

        auto context = std::make_unique<ProgramContext>();
        auto* frmMain = new TfrmMain(*context);
        frmMain->show();
        QVERIFY(QTest::qWaitForWindowExposed(frmMain));

        bool finderSeen = false, reviewSeen = false, optionsSeen = false;
        QString reviewTag;
        int listed = -1;
        onNextModal([&](QWidget* finder) {
            finderSeen = true;
            auto* drives = finder->findChild<QListWidget*>(QStringLiteral("pckDrive"));
            auto* grid = finder->findChild<QTableView*>(QStringLiteral("grid"));
            auto* start = finder->findChild<QPushButton*>(QStringLiteral("btScan"));
            auto* mark = finder->findChild<QPushButton*>(QStringLiteral("btMark"));
            auto* clean = finder->findChild<QPushButton*>(QStringLiteral("btDelete"));
            if (!drives || !grid || !start || !mark || !clean) {
                finder->close();
                return;
            }
            // Only the extra folder, the last entry, is scanned.
            for (int i = 0; i < drives->count(); ++i)
                drives->item(i)->setCheckState(i == drives->count() - 1 ? Qt::Checked
                                                                        : Qt::Unchecked);
            QTest::mouseClick(start, Qt::LeftButton);
            listed = grid->model()->rowCount();
            // Mark the row of the second copy.
            for (int r = 0; r < listed; ++r) {
                if (grid->model()->index(r, 5).data().toString() ==
                    QFile::decodeName(tree.path("two"))) {
                    grid->setCurrentIndex(grid->model()->index(r, 0));
                    break;
                }
            }
            QTest::mouseClick(mark, Qt::LeftButton);
            onNextModal([&](QWidget* w) {
                auto* review = qobject_cast<TfrmReallyDelete*>(w);
                if (!review) {
                    w->close();
                    return;
                }
                reviewSeen = true;
                reviewTag = review->archiveTag;
                onNextModal([&](QWidget* options) {
                    optionsSeen = true;
                    auto* ok = options->findChild<QPushButton*>(QStringLiteral("btOK"));
                    if (ok)
                        QTest::mouseClick(ok, Qt::LeftButton);
                    else
                        options->close();
                });
                QTest::mouseClick(review->btZip, Qt::LeftButton);
            });
            QTest::mouseClick(clean, Qt::LeftButton);
        });
        QTest::mouseClick(frmMain->btDuplicate, Qt::LeftButton);

        QVERIFY(finderSeen);
        QCOMPARE(listed, 2);
        QVERIFY(reviewSeen);
        QCOMPARE(reviewTag, QStringLiteral("Duplicates"));
        QVERIFY(optionsSeen);
        // Back at the launcher: the finder closed after the removal.
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(QFileInfo::exists(QFile::decodeName(kept)));
        QVERIFY(!QFileInfo::exists(QFile::decodeName(marked)));

        const QStringList archives =
            QDir::home().entryList({QStringLiteral("Drive-R-Duplicates*.zip")});
        QCOMPARE(archives.size(), 1);
        const QByteArrayList members = archiveMembers(QDir::home().filePath(archives.first()));
        QCOMPARE(members, QByteArrayList{marked.mid(1)});
        delete frmMain;
    }
};

VASTEL_QTEST_MAIN(DupRoadTest)
#include "DupRoadTest.moc"
