// A statistics run in the statistics window: the wizard, the checks before the walk, the walk
// of each target with the window kept painted, and the texts that report it.
#include "stats/TfrmStatistics.h"

#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "platform/NativePath.h"
#include "stats/StatCollector.h"
#include "stats/StatRun.h"
#include "stats/TfrmWhichDrive.h"
#include "widgets/DriveList.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

namespace vastel {

// Between time slices of the walk: the status text and pending events, the window's abort flag
// passed on to the walk's stop token.
class TfrmStatistics::Progress : public WalkProgress {
  public:
    Progress(TfrmStatistics& window, const StatCollector& collector, StopToken& stop)
        : w_(window), collector_(collector), stop_(stop) {}

    void pump(const QByteArray&) override {
        // The folder of every third file; shown when a slice ends, which is as often as the
        // screen can tell the difference.
        if (collector_.statusSerial() != shownSerial_) {
            shownSerial_ = collector_.statusSerial();
            w_.StatusBar1->showMessage(QStringLiteral("Processing drive ") + w_.currentTarget +
                                       QStringLiteral(" ... standby : ") +
                                       displayPath(collector_.statusFolder()));
        }
        stop_.syncWith(w_.abortStats);
        QCoreApplication::processEvents();
        stop_.syncWith(w_.abortStats);
    }
    void targetFailed(const ScanTarget& target) override {
        errorBox(QStringLiteral("Can't open drive ") + target.text);
    }

  private:
    TfrmStatistics& w_;
    const StatCollector& collector_;
    StopToken& stop_;
    quint64 shownSerial_ = 0;
};

void TfrmStatistics::btOKClick() {
    if (collecting) return;
    PickList1.clear();
    {
        TfrmWhichDrive wizard(context_, this);
        const int result = runWizard ? runWizard(wizard) : wizard.exec();
        if (result == QDialog::Accepted) {
            PickList1 = checkedTargets(wizard.pckDrive);
            includeTypes = excludeTypes = allTypes = false;
            PickList2.clear();
            if (wizard.rbAll->isChecked()) {
                allTypes = true;
            } else {
                includeTypes = wizard.rbInclude->isChecked();
                excludeTypes = wizard.rbExclude->isChecked();
                PickList2 = wizard.selectedTypes();
            }
        }
    }
    if (PickList1.empty()) return;

    targetsCapacity = computePickListTotal();
    if (!(targetsCapacity > 0)) {
        errorBox(
            QStringLiteral("Could not compute the total size of the disk drives selected.  "
                           "Cannot proceed with statistics."));
        return;
    }
    abortStats = false;
    if (PickList1.size() == 1)
        infoBox(QStringLiteral("Disk Drive ") + PickList1.front().text +
                QStringLiteral(" will be scanned.  The analysis may take some time.  You may "
                               "quit at any time by clicking Abort or pressing ESC."));
    else
        infoBox(
            QStringLiteral("Since you selected more than one drive to analyze, the Cluster "
                           "Overhang tab will be disabled.  You may quit the analysis at "
                           "any time by clicking CANCEL or by pressing ESC."));

    StatOptions options;
    options.targets = PickList1;
    options.filter.allTypes = allTypes;
    options.filter.includeTypes = includeTypes;
    options.filter.excludeTypes = excludeTypes;
    options.filter.types = PickList2;
    StatRun run(tallies_, options);  // clearVariables
    clearVariables();
    OvcNotebook1->setTabEnabled(pgOverhang, PickList1.size() == 1);

    QString doneList;
    for (const ScanTarget& target : PickList1) {
        if (abortStats) break;
        currentTarget = target.text;
        doneList += target.text + QLatin1Char(' ');
        if (!targetReady(target)) continue;
        computeClusterSize(target);
        collecting = true;
        lblNotYet->setText(QStringLiteral(
            "Collecting statistics ... standby.  Press Esc or click Abort to stop."));
        btAbort->show();
        OvcNotebook1PageChanged(OvcNotebook1->currentIndex());
        const bool turning = Timer1->isActive();
        Timer1->stop();
        scan(run, target);
        if (turning) Timer1->start();
        collected = true;
        collecting = false;
        if (abortStats) {
            setWindowTitle(QStringLiteral("Statistics for drive(s) incomplete ... aborted."));
            break;
        }
        setWindowTitle(QStringLiteral("Stats done for ") + doneList);
    }
    collecting = false;
    // The panel is back to its idle text, for a run whose targets were none of them ready.
    lblNotYet->setText(QStringLiteral("Statistics haven't been collected yet!"));
    btAbort->hide();
    OvcNotebook1PageChanged(OvcNotebook1->currentIndex());
}

double TfrmStatistics::computePickListTotal() { return vastel::targetsCapacity(PickList1); }

void TfrmStatistics::computeClusterSize(const ScanTarget& target) {
    clusterSize = vastel::computeClusterSize(target);
}

void TfrmStatistics::clearVariables() {
    // The tallies were cleared when the run was made; the pages that list them are redrawn
    // from zero.
    StatusBar1->clearMessage();
    redrawPages();
}

void TfrmStatistics::scan(StatRun& run, const ScanTarget& target) {
    StatusBar1->clearMessage();
    disenable(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    StopToken stop;
    Progress progress(*this, run.collector(), stop);
    stop.syncWith(abortStats);
    run.scanTarget(target, progress, stop);
    stop.syncWith(abortStats);

    redrawPages();
    QString status = QStringLiteral("Finished - ") + thousandsText(tallies_.filesProcessed) +
                     QStringLiteral(" files processed");
    if (tallies_.filesSelected != tallies_.filesProcessed)
        status += QLatin1Char(' ') + thousandsText(tallies_.filesSelected) +
                  QStringLiteral(" files found");
    if (abortStats) status += QStringLiteral(" INCOMPLETE ... ABORTED");
    StatusBar1->showMessage(status);

    QApplication::restoreOverrideCursor();
    disenable(true);
}

void TfrmStatistics::redrawPages() {
    // The nine tally pages draw themselves from tallies().
    if (PickList1.size() == 1) doOverHang();
    doFileTypes();
    doFileSizes();
    doFileAttrs();
    fillGridDates(ageGrid[0], QStringLiteral("Accessed Date"), tallies_.accessCount,
                  tallies_.accessBytes);
    fillGridDates(ageGrid[1], QStringLiteral("Created Date"), tallies_.createCount,
                  tallies_.createBytes);
    fillGridDates(ageGrid[2], QStringLiteral("Modified Date"), tallies_.modifyCount,
                  tallies_.modifyBytes);
    fillCombinedGridDates();  // after the Modified listing, whose labels it copies
    doFileTimes();
    doFileAges();
    SortbyExtensionClick(SortbyExtension);
    Q_EMIT pagesRedrawn();
}

void TfrmStatistics::disenable(bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(btPrint), static_cast<QWidget*>(btOK),
                       static_cast<QWidget*>(rgSpace1), static_cast<QWidget*>(rgSpace2),
                       static_cast<QWidget*>(pckStatDrive), static_cast<QWidget*>(Button1)})
        w->setEnabled(enabled);
    // The radio buttons of the tally pages, where those pages have them.
    static const char* const kNames[] = {"rbCombine1", "rbCombine2", "rgTypes",   "rgSize0",
                                         "rgSize1",    "rgSize2",    "rgAccess0", "rgAccess1",
                                         "rgAccess2",  "rgCreate0",  "rgCreate1", "rgCreate2",
                                         "rgModify0",  "rgModify1",  "rgModify2"};
    for (const char* name : kNames)
        if (QWidget* w = findChild<QWidget*>(QLatin1String(name))) w->setEnabled(enabled);
}

}  // namespace vastel
