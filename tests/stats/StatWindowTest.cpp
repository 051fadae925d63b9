// The statistics window: the Space and Deleted pages, starting and aborting a run, the wizard
// and the type list editor.
#include "core/DriveEntries.h"
#include "core/SettingsStore.h"
#include "platform/ScriptedDialogs.h"
#include "results/PrintIt.h"
#include "stats/TfrmStatList.h"
#include "stats/TfrmStatistics.h"
#include "stats/TfrmWhichDrive.h"
#include "support/TempTree.h"
#include "support/TestContext.h"
#include "widgets/DriveList.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPieSeries>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <map>

using namespace vastel;
using vastel::test::TempTree;

namespace {

constexpr double kMB = 1024.0 * 1024.0;

// Fake volumes at /v1, /v2, ... and their space.
DriveSource fakeDrives(int n) {
    DriveSource s = DriveSource::statistics();
    s.volumes = [n] {
        std::vector<Volume> v;
        for (int i = 1; i <= n; ++i) {
            Volume vol;
            vol.mountPoint = "/v" + QByteArray::number(i);
            vol.fsType = "ext4";
            v.push_back(vol);
        }
        return v;
    };
    return s;
}

void checkAll(QListWidget* list, bool on = true) {
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

QStringList categories(TfrmStatistics& w) { return w.spaceAxisX->categories(); }

// Picks the given targets (by their list text) in the wizard, with all files.
std::function<int(TfrmWhichDrive&)> pick(const QStringList& texts) {
    return [texts](TfrmWhichDrive& wizard) {
        for (int i = 0; i < wizard.pckDrive->count(); ++i) {
            QListWidgetItem* item = wizard.pckDrive->item(i);
            item->setCheckState(texts.contains(item->text()) ? Qt::Checked : Qt::Unchecked);
        }
        wizard.rbAll->setChecked(true);
        return int(QDialog::Accepted);
    };
}

}  // namespace

class StatWindowTest : public QObject {
    Q_OBJECT
  private:
    std::map<QByteArray, DriveSpace> space_;
    std::unique_ptr<test::TestContext> context_;
    TfrmStatistics* w = nullptr;
    ScriptedDialogs* dialogs_ = nullptr;

    void spaceFor(int drives) {
        fillDriveList(w->pckStatDrive, fakeDrives(drives), false);
        w->spaceOf = [this](const QByteArray& root, DriveSpace& out) {
            auto it = space_.find(root);
            if (it == space_.end()) return false;
            out = it->second;
            return true;
        };
    }

  private Q_SLOTS:
    void init() {
        dialogs_ = new ScriptedDialogs;
        context_ = std::make_unique<test::TestContext>();
        w = &context_->statistics();
        space_.clear();
    }
    void cleanup() {
        context_.reset();
        delete dialogs_;
    }

    void spaceBarsOfOneDrive() {
        space_["/v1"] = {500 * kMB, 2048 * kMB};
        spaceFor(1);
        checkAll(w->pckStatDrive);
        w->doDiskSize();
        QCOMPARE(categories(*w), QStringList{QStringLiteral("/v1")});  // no "Total" bar
        QCOMPARE(w->Series5->at(0), 1548.0);
        QCOMPARE(w->Series4->at(0), 500.0);
        QCOMPARE(w->lblTot->text(), QStringLiteral("MB"));
        QCOMPARE(w->lblPct->text(), QStringLiteral("MB "));
        QCOMPARE(w->lblTotal->text(), QStringLiteral("2,048"));
        QCOMPARE(w->lblFree->text(), QStringLiteral("500"));
        QCOMPARE(w->lblUsed->text(), QStringLiteral("1,548"));
        QVERIFY(!w->chartSpaceBar->isHidden());
    }

    void spaceTotalBarFollowsTheCheckBox() {
        space_["/v1"] = {500 * kMB, 2048 * kMB};
        space_["/v2"] = {100 * kMB, 1024 * kMB};
        spaceFor(2);
        checkAll(w->pckStatDrive);
        w->doDiskSize();
        QCOMPARE(categories(*w), (QStringList{QStringLiteral("/v1"), QStringLiteral("/v2"),
                                              QStringLiteral("Total")}));
        QCOMPARE(w->Series4->at(2), 600.0);
        w->cbTotal->click();
        QCOMPARE(categories(*w), (QStringList{QStringLiteral("/v1"), QStringLiteral("/v2")}));
    }

    void spaceWithoutReadyDrivesHidesTheChart() {
        spaceFor(2);  // neither answers
        checkAll(w->pckStatDrive);
        w->doDiskSize();
        QVERIFY(w->chartSpaceBar->isHidden());
        QVERIFY(w->Panel1->isHidden());
        QVERIFY(w->lblTotalC->isHidden());
        QVERIFY(w->lblTotal->text().isEmpty());
        QVERIFY(!w->Panel4->isHidden());  // a drive can still be checked
    }

    void piesOfTheFirstElevenReadyDrives() {
        for (int i = 1; i <= 12; ++i) space_["/v" + QByteArray::number(i)] = {1 * kMB, 3 * kMB};
        spaceFor(12);
        w->show();
        w->rgSpace1->click();
        QVERIFY(!w->pnlPie->isHidden());
        QVERIFY(w->chartSpaceBar->isHidden());
        QVERIFY(w->Timer1->isActive());
        QCOMPARE(w->pies[0]->chart()->title(), QStringLiteral("/v1  33.3% free"));
        QCOMPARE(w->pies[10]->chart()->title(), QStringLiteral("/v11  33.3% free"));
        auto* total = static_cast<QPieSeries*>(w->pies[11]->chart()->series().first());
        QCOMPARE(total->sum(), 33 * kMB);  // eleven drives, not twelve
        QCOMPARE(TfrmStatistics::percentText(3, 1), QStringLiteral("33.3"));
        QCOMPARE(TfrmStatistics::percentText(0, 0), QStringLiteral("0.0"));
        // A click on a pie stops and starts the turning.
        QTest::mouseClick(w->pies[0]->viewport(), Qt::LeftButton);
        QVERIFY(!w->Timer1->isActive());
        w->rgSpace2->click();
        QVERIFY(w->pnlPie->isHidden());
    }

    void piesTurnOnTheirTimer() {
        space_["/v1"] = {1 * kMB, 4 * kMB};
        spaceFor(1);
        w->show();
        w->rgSpace1->click();
        auto* series = static_cast<QPieSeries*>(w->pies[0]->chart()->series().first());
        const qreal start = series->pieStartAngle();
        QTRY_VERIFY(series->pieStartAngle() != start);
        QCOMPARE(series->pieEndAngle() - series->pieStartAngle(), 360.0);
    }

    void deletedPageReadsAndResetsTheTotals() {
        w->showFilesDeleted();
        for (QLineEdit* e :
             {w->edNdelete, w->edSzDelete, w->edNWaste, w->edSzWaste, w->edNZip, w->edSzZip})
            QCOMPARE(e->text(), QStringLiteral("n/a"));
        QVERIFY(w->lblSince1->text().isEmpty());
        {
            SettingsStore store;
            store.writeInt64(QStringLiteral("Vastel"), QStringLiteral("Ndelete"), 3'000'000'000LL);
            store.writeInt64(QStringLiteral("Vastel"), QStringLiteral("SizeDelete"),
                             9'000'000'000'123LL);
            store.writeInt64(QStringLiteral("Vastel"), QStringLiteral("DelDate"), 45000);
        }
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgDeleted);
        QCOMPARE(w->edNdelete->text(), QStringLiteral("3,000,000,000 files"));
        QCOMPARE(w->edSzDelete->text(), QStringLiteral("9,000,000,000,123 bytes"));
        QVERIFY(w->lblSince1->text().startsWith(QStringLiteral("Since ")));
        QCOMPARE(w->edNZip->text(), QStringLiteral("n/a"));  // no archives yet
        QVERIFY(w->lblZipSince->text().isEmpty());
        dialogs_->answerQuestion(Answer::No);
        w->Button1->click();
        QCOMPARE(w->edNdelete->text(), QStringLiteral("3,000,000,000 files"));
        dialogs_->answerQuestion(Answer::Yes);
        w->Button1->click();
        QCOMPARE(dialogs_->questions().last(), QStringLiteral("Reset cumulative totals?"));
        QCOMPARE(w->edNdelete->text(), QStringLiteral("n/a"));
        QVERIFY(w->lblSince1->text().isEmpty());
        QCOMPARE(
            SettingsStore().readInt64(QStringLiteral("Vastel"), QStringLiteral("SizeDelete"), 0),
            -1);
    }

    void oneTargetRun() {
        TempTree tree;
        tree.createFile("a/report.doc", 5000);
        tree.createFile("b.txt", 10);
        writeExtraFolders({tree.root()});
        const QString text = QString::fromUtf8(tree.root());
        w->runWizard = pick({text});
        w->show();
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgSizes);
        QVERIFY(w->pnlNotYet->isVisible());
        int redrawn = 0;
        connect(w, &TfrmStatistics::pagesRedrawn, this, [&] { ++redrawn; });
        w->btOK->click();
        QCOMPARE(dialogs_->messages().last(),
                 QStringLiteral("Disk Drive ") + text +
                     QStringLiteral(" will be scanned.  The analysis may take some time.  You may "
                                    "quit at any time by clicking Abort or pressing ESC."));
        QCOMPARE(w->tallies().filesProcessed, 2);
        QCOMPARE(w->tallies().waste4K, 3192 + 4086);
        QVERIFY(w->OvcNotebook1->isTabEnabled(TfrmStatistics::pgOverhang));
        QCOMPARE(w->windowTitle(), QStringLiteral("Stats done for ") + text + QLatin1Char(' '));
        QCOMPARE(w->StatusBar1->currentMessage(), QStringLiteral("Finished - 2 files processed"));
        QVERIFY(w->collected);
        QVERIFY(!w->pnlNotYet->isVisible());
        QVERIFY(redrawn >= 2);  // cleared, then after the target
        QVERIFY(w->btOK->isEnabled());
        // Two runs in a row: the second starts from cleared tallies.
        w->btOK->click();
        QCOMPARE(w->tallies().filesProcessed, 2);
        QCOMPARE(w->tallies().sizeBytes[1], 5010);
        // Esc and Close only hide the window when no run is going on.
        w->btCancel->click();
        QVERIFY(!w->isVisible());
    }

    void abortDuringTheFirstOfTwoTargets() {
        TempTree one, two;
        for (int i = 0; i < 50; ++i) one.createFile("d" + QByteArray::number(i) + "/f", 1);
        two.createFile("g", 1);
        writeExtraFolders({one.root(), two.root()});
        w->runWizard = pick({QString::fromUtf8(one.root()), QString::fromUtf8(two.root())});
        // Esc at the walk's first time slice.
        QTimer::singleShot(0, w, [this] {
            QVERIFY(w->collecting);
            QTest::keyClick(w, Qt::Key_Escape);
        });
        w->show();
        w->btOK->click();
        QVERIFY(dialogs_->messages().last().startsWith(
            QStringLiteral("Since you selected more than one drive to analyze")));
        QCOMPARE(w->windowTitle(),
                 QStringLiteral("Statistics for drive(s) incomplete ... aborted."));
        QVERIFY(
            w->StatusBar1->currentMessage().endsWith(QStringLiteral(" INCOMPLETE ... ABORTED")));
        QVERIFY(w->tallies().filesProcessed < 50);
        QVERIFY(!w->OvcNotebook1->isTabEnabled(TfrmStatistics::pgOverhang));
        QVERIFY(w->isVisible());  // Esc during the run did not close it
        QVERIFY(!w->collecting);
    }

    void unknownCapacityGivesTheErrorAndNothingElse() {
        TempTree tree;
        tree.createFile("kept", 1);
        writeExtraFolders({tree.root()});
        w->runWizard = pick({QString::fromUtf8(tree.root())});
        w->btOK->click();
        QCOMPARE(w->tallies().filesProcessed, 1);
        const QByteArray gone = tree.path("gone");  // a folder that no volume answers for
        writeExtraFolders({gone});
        w->runWizard = pick({QString::fromUtf8(gone)});
        dialogs_->clear();
        const QString title = w->windowTitle();
        w->btOK->click();
        QCOMPARE(dialogs_->messages(),
                 QStringList{QStringLiteral("Could not compute the total size of the disk drives "
                                            "selected.  Cannot proceed with statistics.")});
        QCOMPARE(w->tallies().filesProcessed, 1);  // the last run's tallies stay
        QCOMPARE(w->windowTitle(), title);
    }

    void wizardAllFilesEndsOnPageTwo() {
        TfrmWhichDrive wizard(*context_);
        QVERIFY(wizard.btNext1->isEnabled() == anyChecked(wizard.pckDrive));
        checkAll(wizard.pckDrive, false);
        QVERIFY(!wizard.btNext1->isEnabled());
        wizard.pckDrive->item(0)->setCheckState(Qt::Checked);
        wizard.btNext1->click();
        QCOMPARE(wizard.notebook->currentIndex(), 1);
        QVERIFY(wizard.rbAll->isChecked());
        wizard.btNext2->click();
        QCOMPARE(wizard.result(), int(QDialog::Accepted));
        QCOMPARE(wizard.notebook->currentIndex(), 1);
    }

    void wizardTypeListCountsTheSelection() {
        TfrmWhichDrive wizard(*context_);
        wizard.pckDrive->item(0)->setCheckState(Qt::Checked);
        wizard.btNext1->click();
        wizard.rbExclude->setChecked(true);
        wizard.btNext2->click();
        QCOMPARE(wizard.notebook->currentIndex(), 2);
        QCOMPARE(wizard.lblTypes->text(), QStringLiteral("All file types except ..."));
        QCOMPARE(wizard.lblOf->text(), QStringLiteral("0/3"));  // the three first-use types
        QVERIFY(!wizard.btOK->isEnabled());
        wizard.PickList1->item(1)->setSelected(true);
        wizard.PickList1->item(2)->setSelected(true);
        QCOMPARE(wizard.lblOf->text(), QStringLiteral("2/3"));
        QVERIFY(wizard.btOK->isEnabled());
        wizard.selectAllTypes(false);
        QVERIFY(!wizard.btOK->isEnabled());
        wizard.selectAllTypes(true);
        wizard.btOK->click();
        QCOMPARE(wizard.result(), int(QDialog::Accepted));
        QCOMPARE(wizard.selectedTypes().size(), 3);
    }

    void typeListEditor() {
        TfrmStatList editor(*context_);
        editor.listSection = QStringLiteral("Include");
        editor.show();
        QCOMPARE(editor.lblCount->text(), QStringLiteral("3 available"));
        editor.addLine(QStringLiteral("*.DOC\tsomething"));
        editor.addLine(editor.PickList1->item(0)->text().toUpper());
        QCOMPARE(editor.PickList1->count(), 4);  // only the first was new
        editor.PickList1->item(0)->setSelected(true);
        dialogs_->clear();
        editor.btDelete->click();  // one line: no question
        QVERIFY(dialogs_->questions().isEmpty());
        QCOMPARE(editor.lblCount->text(), QStringLiteral("3 available"));
        QTest::keyClick(&editor, Qt::Key_Escape);  // Esc is Close: the list is stored
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        SettingsStore store;
        QCOMPARE(store.readInteger(QStringLiteral("Include"), QStringLiteral("Number"), -1), 3);
    }
    void printsTheShownPageOnly() {
        TempTree out;
        const QString pdf = QString::fromUtf8(out.path("page.pdf"));
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);
        w->show();
        const auto prints = [this] {
            int n = 0;
            for (const auto& r : dialogs_->records()) n += r.kind == ScriptedDialogs::Kind::Print;
            return n;
        };
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgSizes);  // nothing collected yet
        dialogs_->answerPrint(true);
        w->btPrint->click();
        QCOMPARE(prints(), 0);
        w->OvcNotebook1->setCurrentIndex(TfrmStatistics::pgDeleted);
        w->btPrint->click();
        QCOMPARE(prints(), 1);
        QVERIFY(QFile(pdf).size() > 1000);
    }
};

QTEST_MAIN(StatWindowTest)
#include "StatWindowTest.moc"
