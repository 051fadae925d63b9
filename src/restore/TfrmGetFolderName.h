#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vastel {

// The prompt for a new folder's name ("New folder name"); the caller sets the caption.
class TfrmGetFolderName : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmGetFolderName(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton *btOK = nullptr, *btCancel = nullptr;
};

}  // namespace vastel
