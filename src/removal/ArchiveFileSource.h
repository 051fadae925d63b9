#pragma once

#include "removal/ZipCallbackSource.h"

#include <zip.h>
#include <QByteArray>
#include <functional>

namespace vastel {

// A libzip source over one archive file that never leaves a broken archive behind and makes
// adding one member cheap. A new archive is written to a hidden temporary file beside it and
// renamed into place. When members are added to an existing archive, its members stay where
// they lie: the new data and the new central directory are written to a temporary file and
// only at commit copied over the old directory, which is put back when that copy fails.
// (libzip's own file source rewrites the whole archive at every close, which would make
// closing the archive after each file cost quadratic time.)
class ArchiveFileSource : public ZipCallbackSource {
  public:
    // A source for the archive at path; libzip owns it from then on. keepAlive is called
    // between the chunks of a long copy at commit, where libzip reports nothing.
    static zip_source_t* create(const QByteArray& path, zip_error_t* error,
                                std::function<void()> keepAlive = {});

  private:
    ArchiveFileSource(const QByteArray& path, std::function<void()> keepAlive);
    ~ArchiveFileSource() override;
    zip_int64_t run(void* data, zip_uint64_t length, zip_source_cmd_t cmd) override;

    zip_int64_t stat(void* data, zip_uint64_t length);
    zip_int64_t openRead();
    zip_int64_t read(void* data, zip_uint64_t length);
    zip_int64_t beginWrite(bool cloning, zip_uint64_t keep);
    zip_int64_t write(const void* data, zip_uint64_t length);
    zip_int64_t commit();
    zip_int64_t commitInPlace();
    void dropTemporary();

    QByteArray path_;
    std::function<void()> keepAlive_;
    int readFd_ = -1;
    zip_uint64_t readPos_ = 0;
    zip_uint64_t readSize_ = 0;
    int tempFd_ = -1;
    QByteArray tempPath_;
    bool cloning_ = false;
    bool existed_ = false;
    zip_uint64_t keep_ = 0;      // bytes of the original that stay in place
    zip_uint64_t writePos_ = 0;  // positions are those of the new archive
    zip_uint64_t writeEnd_ = 0;
};

}  // namespace vastel
