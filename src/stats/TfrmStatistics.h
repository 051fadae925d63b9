#pragma once

#include <QWidget>

namespace vastel {

// The statistics window: modeless, alive for the whole run so collected tallies persist.
class TfrmStatistics : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmStatistics(QWidget* parent = nullptr);
};

}  // namespace vastel
