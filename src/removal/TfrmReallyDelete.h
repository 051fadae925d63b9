#pragma once

#include "removal/ui/PathListBox.h"
#include "removal/ReviewRemoval.h"
#include "removal/SafeHarborCheck.h"

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace vastel {

class AppContext;

// The deletion review: splits the marked files between the Deletion panel and the Safe Harbor
// panel, lets the user move them between the two, and deletes, trashes or archives the files
// of the Deletion panel. The finder fills lb1 (setPaths), sets archiveTag and
// potentialSavings, and runs exec(): Accepted once a removal ran, Rejected otherwise.
class TfrmReallyDelete : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmReallyDelete(AppContext& context, QWidget* parent = nullptr);

    // Inputs.
    PathListBox* lb1 = nullptr;   // the Deletion panel
    QString archiveTag;           // "Duplicates", "TempClean", "FileDates", "InternetCache" or ""
    double potentialSavings = 0;  // bytes
    // The Safe Harbor test; starts as the context's.
    SafeHarborCheck safeHarbor;
    // The archive options dialog: the comment, or nothing when cancelled. Tests replace it.
    std::function<std::optional<QString>()> zipOptions;

    bool abortRequested = false;

    PathListBox* lb2 = nullptr;  // the Safe Harbor panel
    QTabWidget* PageControl1 = nullptr;
    QWidget* tsDelete = nullptr;
    QWidget* tsSafeHarbor = nullptr;
    QLabel* lblSavings = nullptr;
    QLabel* lblFreed = nullptr;  // what removing the Deletion panel's files really frees
    QLabel* lblDelete = nullptr;
    QLabel* lblLeft = nullptr;
    QLabel* lblRight = nullptr;
    QLabel* lblName = nullptr;
    QPushButton* btToAgainst = nullptr;
    QPushButton* btMoveLeft = nullptr;
    QPushButton* btReason = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btRecycle = nullptr;
    QPushButton* btZip = nullptr;
    QPushButton* btClose = nullptr;
    QWidget* pnlButtons = nullptr;
    QWidget* pnlProgress = nullptr;
    QProgressBar* bar = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QTimer* Timer1 = nullptr;

    void FormShow();
    void MoveFiles();
    void UpdateHeaders();
    void updateLeftRight();
    void Timer1Timer();
    void ShowWarning();
    void lb1Click();
    void lb2Click();
    void btToAgainstClick();
    void btMoveLeftClick();
    void btReasonClick();
    void btDeleteAllClick();
    void btRecycleClick();
    void btZipClick();
    void btCloseClick();
    bool NoFilesToDelete();
    void DeleteAllClick();
    void RecycleClick();
    void ZipItClick();

    // True while a removal runs.
    bool operationRunning() const { return operationRunning_; }

  public Q_SLOTS:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildPages();
    void runRemoval(void (TfrmReallyDelete::*removal)());
    qint64 savingsBytes() const;
    void finishRemoval();
    // Deletes or recycles the files with the progress bar shown and Close disabled.
    using Remover = int (*)(const QList<QByteArray>&, JobSink&);
    void removeWithProgress(const QList<QByteArray>& paths, Remover remove);

    AppContext& context_;
    bool shown_ = false;
    bool operationRunning_ = false;
    bool archiving_ = false;
};

}  // namespace vastel
