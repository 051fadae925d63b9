#pragma once

#include "core/ResultRecord.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

namespace vastel {

class GridModel;

// Moves the rows a running walk has found into the grid a few times a second, so that they
// appear while the scan goes on. The timer fires while the walk lets pending events run; one
// insertion per batch keeps a big scan from repainting per row.
class LiveRows : public QObject {
    Q_OBJECT
  public:
    using Take = std::function<std::vector<ResultRecord>()>;
    LiveRows(GridModel* model, QObject* parent = nullptr);

    void start(Take take);
    // The last rows, then no more.
    void stop();
    void flush();

  private:
    GridModel* model_;
    Take take_;
    QTimer timer_;
};

}  // namespace vastel
