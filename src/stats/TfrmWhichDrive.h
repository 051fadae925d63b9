#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace vastel {

class AppContext;

// The statistics' three-page wizard: the drives and extra folders to walk, which file types to
// count (all, only the selected ones, all but the selected ones) and, for the last two, the
// types picked from the "Include" or "Exclude" list.
class TfrmWhichDrive : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmWhichDrive(AppContext& context, QWidget* parent = nullptr);

    QStackedWidget* notebook = nullptr;
    // Page 1.
    QListWidget* pckDrive = nullptr;
    QPushButton* btNext1 = nullptr;
    QPushButton* btCancel1 = nullptr;
    // Page 2.
    QRadioButton* rbAll = nullptr;
    QRadioButton* rbInclude = nullptr;
    QRadioButton* rbExclude = nullptr;
    QPushButton* btPrev2 = nullptr;
    QPushButton* btNext2 = nullptr;
    // Page 3.
    QLabel* lblTypes = nullptr;  // "Selected file types only" or "All file types except ..."
    QListWidget* PickList1 = nullptr;
    QLabel* lblOf = nullptr;
    QPushButton* btEdit = nullptr;
    QPushButton* btPrev3 = nullptr;
    QPushButton* btOK = nullptr;

    // The selected type lines, in list order.
    QStringList selectedTypes() const;
    // The section of the type list page 3 shows.
    QString typeSection() const;

  public Q_SLOTS:
    void btNext1Click();
    void btNext2Click();
    void btEditClick();
    void btOKClick();
    void PickList1Click();
    void selectAllDrives(bool checked);
    void selectAllTypes(bool selected);

  private:
    QWidget* buildDrivePage();
    QWidget* buildTypeChoicePage();
    QWidget* buildTypeListPage();
    void loadTypes();

    AppContext& context_;
};

}  // namespace vastel
