#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vastel {

// The file-type picker: a typed type, or one or many rows of the system's registered types.
class TfrmSelectExtension : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmSelectExtension(QWidget* parent = nullptr);

    // Results, read after the dialog ended with OK.
    bool multipleChosen = false;
    QString chosenPattern;  // empty when nothing usable was given
    QString chosenDescription;
    QStringList selectedRows() const;  // "pattern<TAB>description", with multipleChosen

    QLineEdit* Edit1 = nullptr;
    QListWidget* lBox = nullptr;
    QComboBox* cbWildCard = nullptr;  // hidden: the registered patterns
    QLabel* lblWild = nullptr;        // hidden: the description of cbWildCard's pattern
    QPushButton* btOK = nullptr;
    QPushButton* btCancel = nullptr;

  public Q_SLOTS:
    void btOKClick();
    void lBoxClick();
    void lBoxDblClick();
    void cbWildCardChange();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    void chooseTyped();
    bool filled_ = false;
};

}  // namespace vastel
