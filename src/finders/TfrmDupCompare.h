#pragma once

#include <QWidget>

namespace vastel {

// The modeless window that compares neighbouring duplicates side by side.
class TfrmDupCompare : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmDupCompare(QWidget* parent = nullptr);
};

}  // namespace vastel
