#include "app/TfrmMain.h"
#include "core/GridModel.h"
#include "core/WindowPlacement.h"
#include "finders/TfrmMods.h"
#include "platform/ScriptedDialogs.h"
#include "results/ResultList.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "support/TestSandbox.h"
#include "widgets/DriveList.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <ctime>
#include <memory>

using namespace vastel;
using vastel::test::TempTree;

namespace {

time_t localNoon(int y, int m, int d) {
    return QDateTime(QDate(y, m, d), QTime(12, 0)).toSecsSinceEpoch();
}

}  // namespace

// The files-by-date window on fixture folders.
class ModsWindowTest : public QObject {
    Q_OBJECT
  private:
    ScriptedDialogs* script = nullptr;
    TempTree* tree = nullptr;
    std::unique_ptr<vastel::test::TestContext> context;
    std::unique_ptr<vastel::test::LocaleScope> english;

    std::unique_ptr<TfrmMods> open(const QByteArrayList& folders) {
        QByteArrayList absolute;
        for (const QByteArray& f : folders) absolute << tree->path(f);
        writeExtraFolders(absolute);
        auto w = std::make_unique<TfrmMods>(*context);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
        for (int i = 0; i < w->pckDrive->count(); ++i) {
            QListWidgetItem* item = w->pckDrive->item(i);
            item->setCheckState(absolute.contains(driveListTarget(item).root) ? Qt::Checked
                                                                              : Qt::Unchecked);
        }
        return w;
    }
    static QStringList names(const TfrmMods& w) {
        QStringList n;
        for (int r = 0; r < w.model->rowCount(); ++r) n << w.model->cell(r, 0);
        return n;
    }
    // Modified, in between the two days.
    static void choose(TfrmMods& w, int what, int when, QDate start, QDate end = {}) {
        w.whatButtons->button(what)->click();
        w.whenButtons->button(when)->click();
        w.dtEnd->setDate(QDate(9999, 12, 31));
        w.dtStart->setDate(start);
        w.dtEnd->setDate(end.isValid() ? end : start);
    }

  private Q_SLOTS:
    void initTestCase() {
        script = new ScriptedDialogs;
        context = std::make_unique<vastel::test::TestContext>();
        english = std::make_unique<vastel::test::LocaleScope>(vastel::test::kEnglishUs);
        tree = new TempTree;
        tree->createFile("d/old.doc", 10, localNoon(2020, 1, 1), localNoon(2020, 1, 1));
        tree->createFile("d/mid.doc", 20, localNoon(2022, 6, 15), localNoon(2020, 1, 1));
        tree->createFile("d/mid.txt", 30, localNoon(2022, 6, 15), localNoon(2020, 1, 1));
        tree->createFile("d/.hidden.doc", 40, localNoon(2022, 6, 15), localNoon(2020, 1, 1));
        tree->createFile("d/sub/late.doc", 50, localNoon(2024, 2, 29), localNoon(2020, 1, 1));
    }
    void cleanupTestCase() {
        delete tree;
        english.reset();
        context.reset();
        delete script;
    }
    void init() { script->clear(); }

    void showsItsChoicesAndKeepsTheDatesInOrder() {
        auto w = open({"d"});
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Files in a range of dates"));
        QCOMPARE(w->whatButtons->checkedId(), 0);
        QCOMPARE(w->whenButtons->checkedId(), 1);
        QCOMPARE(w->dtStart->date(), QDate::currentDate());
        QCOMPARE(w->dtEnd->date(), QDate::currentDate());
        QVERIFY(w->dtEnd->isVisible() && w->lblAnd->isVisible());
        w->whenButtons->button(2)->click();
        QVERIFY(!w->dtEnd->isVisible() && !w->lblAnd->isVisible() && w->dtStart->isVisible());
        w->whenButtons->button(1)->click();
        QVERIFY(w->dtEnd->isVisible());
        // A start after the end moves the end, an end before the start moves the start.
        w->dtStart->setDate(QDate(2030, 5, 5));
        QCOMPARE(w->dtEnd->date(), QDate(2030, 5, 5));
        w->dtEnd->setDate(QDate(2001, 2, 3));
        QCOMPARE(w->dtStart->date(), QDate(2001, 2, 3));
        w->cbWildCard->setEditText(QStringLiteral("*.txt"));
        QCOMPARE(w->lblWild->text(), QStringLiteral("plain text document"));
        w->cbWildCard->setEditText(QStringLiteral("*.*"));
        QCOMPARE(w->lblWild->text(), QStringLiteral("All files"));
        QStringList sortItems;
        for (const QAction* a : w->resultList->Sort1->actions()) sortItems << a->text();
        QCOMPARE(sortItems, QStringList({"&Name", "Access &Date", "&Creation Date",
                                         "&Modification Date", "&Size", "&Folder", "&Type"}));
        QVERIFY(w->findChild<QAction*>(QStringLiteral("Addafoldertolistofdrives1")));
    }

    void listsTheFilesInRangeInTheOrderFound_data() {
        QTest::addColumn<int>("when");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("between, one day") << 1 << QDate(2022, 6, 15) << QDate(2022, 6, 15) << "*.*"
                                          << QStringList{"mid.doc", "mid.txt"};
        QTest::newRow("on or before the day")
            << 0 << QDate(2022, 6, 15) << QDate() << "*.doc" << QStringList{"old.doc", "mid.doc"};
        QTest::newRow("on or after the day")
            << 2 << QDate(2022, 6, 15) << QDate() << "*.doc" << QStringList{"late.doc", "mid.doc"};
        QTest::newRow("after the last")
            << 2 << QDate(2024, 3, 1) << QDate() << "*.*" << QStringList{};
    }
    void listsTheFilesInRangeInTheOrderFound() {
        QFETCH(int, when);
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        auto w = open({"d"});
        QVERIFY(w);
        choose(*w, 2, when, start, end);
        w->cbWildCard->setEditText(pattern);
        QTest::mouseClick(w->btOK, Qt::LeftButton);
        QStringList found = names(*w);
        // Sub-folders come first; within a folder the listing order is the file system's.
        if (found.size() > 1 && found.first() != QStringLiteral("late.doc")) found.sort();
        if (found.size() > 2) std::sort(found.begin() + 1, found.end());
        QStringList wanted = expected;
        if (wanted.size() > 1 && wanted.first() != QStringLiteral("late.doc")) wanted.sort();
        QCOMPARE(found, wanted);
        if (expected.isEmpty()) {
            QCOMPARE(script->messages(), QStringList{"No files found."});
            QVERIFY(w->btMark->isHidden());
        } else {
            QCOMPARE(w->pnlScan->currentMessage(),
                     QStringLiteral("Found : ") + QString::number(expected.size()));
            QVERIFY(w->btMark->isVisible() && w->btBrowse->isVisible());
        }
    }

    void marksGoToTheReviewTaggedFileDates() {
        auto w = open({"d"});
        QVERIFY(w);
        choose(*w, 2, 1, QDate(2022, 6, 15));
        QTest::mouseClick(w->btOK, Qt::LeftButton);
        QCOMPARE(w->model->rowCount(), 2);
        w->grid->setFocus();
        w->grid->selectRow(0);
        // No Delete-key shortcut in this window.
        QTest::keyClick(w->grid, Qt::Key_Delete);
        QCOMPARE(w->resultList->markedCount(), 0);
        w->btMark->click();
        QCOMPARE(w->resultList->markedCount(), 1);
        QString tag;
        QList<QByteArray> handed;
        context->review = [&](QWidget*, const QList<QByteArray>& p, const QString& t, qint64) {
            handed = p;
            tag = t;
            return false;
        };
        w->btDelete->click();
        QCOMPARE(tag, QStringLiteral("FileDates"));
        QCOMPARE(handed, QList<QByteArray>{w->model->path(0)});
        context->review = nullptr;
        QCOMPARE(w->printTitle(), QStringLiteral("Files Modified between ") + w->dtStart->text() +
                                      QStringLiteral(" and ") + w->dtEnd->text());
        w->whatButtons->button(0)->click();
        w->whenButtons->button(0)->click();
        QCOMPARE(w->printTitle(),
                 QStringLiteral("Files Last accessed before ") + w->dtStart->text());
        QVERIFY(w->dtStart->text().endsWith(QStringLiteral("2022")));  // four-digit years
    }

    void placementUsesItsOwnKey() {
        QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") +
                      QStringLiteral("/Tessivo Corporation/Vastel/vastl98.ini"));
        const QRect placed(29, 37, 980, 650);
        {
            auto w = open({"d"});
            QVERIFY(w);
            w->setGeometry(placed);
        }
        const std::optional<WindowPlacement> saved =
            readPlacement("vastl98", programSectionName(), "frmMods");
        QVERIFY(saved);
        QCOMPARE(saved->normalRect(), placed);
        auto again = open({"d"});
        QCOMPARE(again->geometry(), placed);
    }

    void launcherOpensTheWindowModally() {
        vastel::test::TestContext program;
        TfrmMain launcher(program);
        program.safeHarbor().safeHarborMissing = false;
        QPointer<TfrmMods> seen;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<TfrmMods*>(QApplication::activeModalWidget());
            if (!seen) return;
            modal = seen->isModal() && seen->parentWidget() == &launcher;
            seen->btClose->click();
        });
        launcher.btFilesClick();
        QVERIFY(modal);
        QVERIFY(seen.isNull());
    }
};

VASTEL_QTEST_MAIN(ModsWindowTest)
#include "ModsWindowTest.moc"
