#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vastel {

// Edits one Safe Harbor folder entry: its folder and whether its sub-folders are protected too.
class TfrmEditFolder : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmEditFolder(QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QCheckBox* cbAll = nullptr;
    QLabel* lblExample = nullptr;
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

  public Q_SLOTS:
    void cbAllClick();
    void SpeedButton1Click();

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace vastel
