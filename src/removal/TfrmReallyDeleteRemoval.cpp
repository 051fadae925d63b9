// The three removals of the deletion review.
#include "removal/TfrmReallyDelete.h"

#include "core/MessageBoxes.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "removal/ArchiveFolder.h"
#include "removal/RemovalTotals.h"
#include "removal/ReviewRemoval.h"
#include "results/JobRunner.h"
#include "widgets/BusyCursor.h"

#include <QDateTime>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace vastel {

namespace {

const QString kNotDeleted = QStringLiteral("Files not deleted");

// The bar runs from 0 to count - 1; a single file still gets a bar, not a busy indicator.
void startBar(QProgressBar* bar, int count) {
    bar->setRange(0, std::max(count - 1, 1));
    bar->setValue(0);
}

bool ask(const QString& text) {
    return confirmed(dialogs().question(text, Buttons::YesNo, BoxIcon::Question, Beep::None));
}

// The review's side of its removals: the file's name and the bar, the member's gauge.
class ReviewJob : public JobRunner {
  public:
    explicit ReviewJob(TfrmReallyDelete& window, bool* abortFlag = nullptr)
        : JobRunner(abortFlag), window_(window) {}
    void item(qint64 index, const QByteArray& path) override {
        window_.lblName->setText(PathListBox::rowText(path));
        window_.bar->setValue(int(index));
    }
    void progress(qint64 percent, qint64) override { window_.Gauge1->setValue(int(percent)); }

  private:
    TfrmReallyDelete& window_;
};

}  // namespace

void TfrmReallyDelete::finishRemoval() {
    lb1->clear();
    UpdateHeaders();
    accept();
}

void TfrmReallyDelete::removeWithProgress(const QList<QByteArray>& paths, Remover remove) {
    BusyCursor busy;
    startBar(bar, int(paths.size()));
    bar->show();
    btClose->setEnabled(false);
    operationRunning_ = true;
    ReviewJob job(*this);
    remove(paths, job);
    operationRunning_ = false;
    btClose->setEnabled(true);
    bar->hide();
}

void TfrmReallyDelete::DeleteAllClick() {
    if (!ask(QStringLiteral("Really delete?"))) {
        infoBox(kNotDeleted);
        return;
    }
    const QList<QByteArray> paths = lb1->paths();
    removeWithProgress(paths, &deleteFiles);
    addRemovalTotals(paths.size(), savingsBytes(), 0, 0);
    finishRemoval();
}

void TfrmReallyDelete::RecycleClick() {
    if (!ask(QStringLiteral("Note that the recycle bin may be full or that you may have the "
                            "\"Immediately Remove Files On Delete\" option turned on in the "
                            "recycle bin. If either is true, then you will not be able to recover "
                            "the deleted files from the recycle bin. \r\rSend to the recycle bin "
                            "anyway?"))) {
        infoBox(kNotDeleted);
        return;
    }
    const QList<QByteArray> paths = lb1->paths();
    removeWithProgress(paths, &recycleFiles);
    addRemovalTotals(0, 0, paths.size(), savingsBytes());
    finishRemoval();
}

void TfrmReallyDelete::ZipItClick() {
    const std::optional<QString> comment = zipOptions ? zipOptions() : std::nullopt;
    if (!comment) return;
    const QList<QByteArray> paths = lb1->paths();
    ArchiveOutcome outcome;
    {
        BusyCursor busy;
        startBar(bar, int(paths.size()));
        bar->show();
        Gauge1->setValue(0);
        Gauge1->show();
        const QDateTime start = QDateTime::currentDateTime();
        // Close stays usable: it asks whether to abort, and the archiving keeps the window
        // responsive while it compresses.
        operationRunning_ = true;
        archiving_ = true;
        ReviewJob job(*this, &abortRequested);
        outcome = archiveFiles(paths, {archiveTag, comment->toUtf8(), start}, job, job.stopToken());
        archiving_ = false;
        operationRunning_ = false;
        bar->hide();
        Gauge1->hide();
    }
    addArchiveTotals(paths.size(), savingsBytes());
    // Success is said only for what happened: all files, some of them, or none (whose
    // failures were shown one by one).
    if (!abortRequested && outcome.archived > 0) {
        const QString folder = displayPath(archiveFolder);
        if (outcome.kept == 0)
            dialogs().message(Beep::None, BoxIcon::None,
                              QStringLiteral("Files deleted and stored in archive zip files in "
                                             "the folder \"%1\"")
                                  .arg(folder));
        else
            dialogs().message(Beep::None, BoxIcon::None,
                              QStringLiteral("%1 of %2 files were deleted and stored in archive "
                                             "zip files in the folder \"%3\"; %4 files stayed "
                                             "in place.")
                                  .arg(outcome.archived)
                                  .arg(paths.size())
                                  .arg(folder)
                                  .arg(outcome.kept));
    }
    finishRemoval();
}

}  // namespace vastel
