#pragma once

#include "removal/SafeHarborCheck.h"

#include <QByteArray>
#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vastel {

class AppContext;

// Set by the folder-tree removal's Cancel (after "Really abort?") to stop its walk.
extern bool abortRemoval;

// The folder-tree removal: deletes a folder with everything below it, sends its files to the
// trash, or zips them into one archive. The caller sets the folder (setFolder), runs exec() and
// reads recycleMode: Accepted once an operation ran, Rejected when closed without one or after
// a confirmed abort.
class TfrmDelDirectory : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDelDirectory(AppContext& context, QWidget* parent = nullptr);

    // The folder to remove, as exact bytes; lblDirectory shows it.
    void setFolder(const QByteArray& path);
    const QByteArray& folder() const { return folder_; }

    bool zipMode = false;
    bool recycleMode = false;
    bool removalBusy = false;
    // The Safe Harbor test; starts as the context's.
    SafeHarborCheck safeHarbor;
    // The archive options dialog: the comment, or nothing when cancelled. Tests replace it.
    std::function<std::optional<QString>()> zipOptions;
    // Whether a path lies on a removable volume (no trash there).
    std::function<bool(const QByteArray&)> isRemovable;

    QLabel* lblTop = nullptr;
    QLabel* lblDirectory = nullptr;
    QPushButton* btDelete = nullptr;
    QPushButton* btRecycle = nullptr;
    QPushButton* btZip = nullptr;
    QCheckBox* cbDelete = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QLabel* pnlCount = nullptr;
    QLabel* pnlName = nullptr;
    QProgressBar* Gauge1 = nullptr;

    void FormShow();
    void btDeleteClick();
    void btRecycleClick();
    void btZipClick();
    void BitBtn3Click();
    // Runs the removal in the current mode; false when it did not start (declined warning,
    // folder that cannot be opened).
    bool StartTheDeletionProcess();

  public Q_SLOTS:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void runOperation(const std::function<bool()>& operation);
    void setBusy(bool busy);

    QByteArray folder_;
    QByteArray archivePath_;
    QString comment_;
    bool shown_ = false;
    bool abortConfirmed_ = false;
};

}  // namespace vastel
