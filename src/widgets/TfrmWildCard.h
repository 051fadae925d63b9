#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace vastel {

// The pattern dialog: the caller puts its pattern into cbWildCard, shows the dialog and reads
// the combo's text after OK.
class TfrmWildCard : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmWildCard(QWidget* parent = nullptr);

    QComboBox* cbWildCard = nullptr;
    QLabel *lblPattern = nullptr, *lblWild = nullptr, *lblType = nullptr;
    QPushButton *btOK = nullptr, *btCancel = nullptr;

  public Q_SLOTS:
    void cbWildCardChange();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
};

}  // namespace vastel
