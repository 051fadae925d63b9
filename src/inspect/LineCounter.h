#pragma once

#include "core/StopToken.h"

#include <QByteArray>
#include <QThread>
#include <memory>

namespace vastel {

class LineIndex;

// Counts the text lines of a file on a worker thread (the rules of TextLines), reading it in
// 1 MiB pieces with its own handle, and fills a LineIndex as it goes. progress() is emitted
// at most every 50 ms; QThread::finished when done or stopped.
class LineCounter : public QThread {
    Q_OBJECT
  public:
    LineCounter(const QByteArray& path, qint64 size, std::shared_ptr<LineIndex> index,
                QObject* parent = nullptr);
    ~LineCounter() override;  // stops and waits
    void stop();

  Q_SIGNALS:
    void progress();

  protected:
    void run() override;

  private:
    QByteArray path_;
    qint64 size_;
    std::shared_ptr<LineIndex> index_;
    StopToken stop_;
};

}  // namespace vastel
