#pragma once

#include <QDialog>

namespace vastel {

// The file viewer's find dialog, made once at start and reused.
class TFindDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TFindDlg(QWidget* parent = nullptr);
};

}  // namespace vastel
