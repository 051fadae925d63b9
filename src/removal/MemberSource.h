#pragma once

#include "removal/ZipCallbackSource.h"

#include <zip.h>
#include <QtGlobal>
#include <functional>

namespace vastel {

// The data of one new member: an opened file read through its descriptor, up to the size it
// had when it was opened. Every few hundred kilobytes it asks whether to go on, so the window
// gets its turn (and the member can be abandoned) however well the data compresses; libzip
// itself asks only per block of compressed output.
class MemberSource : public ZipCallbackSource {
  public:
    struct File {
        int fd = -1;  // stays the caller's
        qint64 size = 0;
        time_t mtime = 0;
        quint32 mode = 0;
    };
    // A source that libzip owns from then on. cancelled is set when cancelRequested said yes.
    static zip_source_t* create(const File& file, std::function<bool()> cancelRequested,
                                bool* cancelled, zip_error_t* error);

  private:
    MemberSource(const File& file, std::function<bool()> cancelRequested, bool* cancelled);
    ~MemberSource() override = default;
    zip_int64_t run(void* data, zip_uint64_t length, zip_source_cmd_t cmd) override;
    zip_int64_t read(void* data, zip_uint64_t length);

    File file_;
    std::function<bool()> cancelRequested_;
    bool* cancelled_;
    zip_uint64_t position_ = 0;
    zip_uint64_t sinceAsked_ = 0;
};

}  // namespace vastel
