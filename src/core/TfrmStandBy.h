#pragma once

#include <QDialog>

class QLabel;

namespace vastel {

// A small window that asks the user to stand by while a long load runs.
class TfrmStandBy : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmStandBy(QWidget* parent = nullptr);
    QLabel* lblMessage = nullptr;
};

}  // namespace vastel
