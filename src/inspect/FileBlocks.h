#pragma once

#include <QByteArray>
#include <QFile>
#include <vector>

namespace vastel {

// Reads a file through a small cache of fixed blocks, so that a view of a file of any size
// holds a bounded amount of memory. The size is taken when the file is opened; bytes that
// can no longer be read (a file cut short meanwhile) read as zeros.
class FileBlocks {
  public:
    static constexpr qint64 kBlockSize = 65536;
    static constexpr int kMaxBlocks = 64;  // 4 MiB

    bool open(const QByteArray& path);  // false with errno set
    void close();
    bool isOpen() const { return file_.isOpen(); }
    qint64 size() const { return size_; }
    QFile& file() { return file_; }

    // The bytes from `offset` to the end of their block: a pointer and how many there are
    // (0 outside the file). Valid until the next call.
    const char* span(qint64 offset, qint64* available);
    int byteAt(qint64 offset);                      // -1 outside the file
    QByteArray read(qint64 offset, qint64 length);  // clipped to the file

  private:
    struct Entry {
        qint64 index = -1;
        QByteArray data;
        quint64 lastUse = 0;
    };
    const QByteArray& block(qint64 index);
    QFile file_;
    qint64 size_ = 0;
    std::vector<Entry> cache_;
    quint64 clock_ = 0;
    int last_ = -1;  // entry of the latest lookup, the usual hit
};

}  // namespace vastel
