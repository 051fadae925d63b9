#pragma once

#include "protect/RegistryFolderScan.h"

#include <QDialog>

class QLabel;
class QListView;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace vastel {

class FolderListModel;

// The Safe Harbor window: the folders not to delete (built from the software registry, added
// and edited by hand) and the protected file types. Saves "folders.txt" on closing when the
// list changed; reloadNeeded tells the launcher to reload its lists.
class TfrmNoDelete : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmNoDelete(QWidget* parent = nullptr);

    bool listChanged = false;
    bool reloadNeeded = false;
    // Where the build reads the registry; tests point it at a fixture.
    RegistryBranches branches;

    QLabel* lblHeading = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QListView* ListBox1 = nullptr;
    FolderListModel* folders = nullptr;
    QLabel *lblCount = nullptr, *lblWhen = nullptr, *lblToday = nullptr;
    QPushButton *btBuild = nullptr, *btAdd = nullptr, *btDel = nullptr, *btEdit = nullptr;
    QListWidget* PickList1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* btClose = nullptr;

    void updateCount();
    void updateLastDate();
    void ReadInFromDisk();

  public Q_SLOTS:
    void btAddClick();
    void btDelClick();
    void btEditClick();
    void btBuildClick();
    void BitBtn1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormShow();
    void FormClose();
    void setBuilding(bool building);
    bool building_ = false;
};

}  // namespace vastel
