#pragma once

#include <QDialog>

class QPushButton;

namespace vastel {

// The About box: product, version and how to reach the maker.
class TfrmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmAbout(QWidget* parent = nullptr);
    QPushButton* btOK = nullptr;
};

}  // namespace vastel
