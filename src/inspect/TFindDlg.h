#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vastel {

// The file viewer's find dialog, made once at start and shared by every viewer, so that it
// keeps the last search text and options.
class TFindDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TFindDlg(QWidget* parent = nullptr);

    QString searchText() const;
    bool searchBackward() const;
    bool matchCase() const;
    bool globalSearch() const;

    QLineEdit* Edit1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;  // forward
    QRadioButton* RadioButton2 = nullptr;  // backward
    QCheckBox* CheckBox1 = nullptr;        // match case
    QCheckBox* CheckBox2 = nullptr;        // whole file
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace vastel
