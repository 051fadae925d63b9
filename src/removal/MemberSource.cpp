#include "removal/MemberSource.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vastel {

namespace {
constexpr zip_uint64_t kAskEvery = 256 << 10;
}

zip_source_t* MemberSource::create(const File& file, std::function<bool()> cancelRequested,
                                   bool* cancelled, zip_error_t* error) {
    return adopt(new MemberSource(file, std::move(cancelRequested), cancelled), error);
}

MemberSource::MemberSource(const File& file, std::function<bool()> cancelRequested, bool* cancelled)
    : file_(file), cancelRequested_(std::move(cancelRequested)), cancelled_(cancelled) {}

zip_int64_t MemberSource::run(void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    switch (cmd) {
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SUPPORTS,
                ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
        case ZIP_SOURCE_OPEN:
            position_ = 0;
            sinceAsked_ = 0;
            return 0;
        case ZIP_SOURCE_READ:
            return read(data, length);
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_STAT: {
            zip_stat_t* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &error_);
            if (!st) return -1;
            zip_stat_init(st);
            st->size = zip_uint64_t(file_.size);
            st->mtime = file_.mtime;
            st->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_GET_FILE_ATTRIBUTES: {
            // The permissions go with the member, for the restore.
            auto* attributes = ZIP_SOURCE_GET_ARGS(zip_file_attributes_t, data, length, &error_);
            if (!attributes) return -1;
            attributes->host_system = ZIP_OPSYS_UNIX;
            attributes->external_file_attributes = zip_uint32_t(file_.mode) << 16;
            attributes->valid |=
                ZIP_FILE_ATTRIBUTES_HOST_SYSTEM | ZIP_FILE_ATTRIBUTES_EXTERNAL_FILE_ATTRIBUTES;
            return 0;
        }
        default:
            return fail(ZIP_ER_OPNOTSUPP, 0);
    }
}

zip_int64_t MemberSource::read(void* data, zip_uint64_t length) {
    if (sinceAsked_ >= kAskEvery) {
        sinceAsked_ = 0;
        if (cancelRequested_ && cancelRequested_()) {
            if (cancelled_) *cancelled_ = true;
            return fail(ZIP_ER_CANCELLED, 0);
        }
    }
    const zip_uint64_t size = zip_uint64_t(file_.size);
    const zip_uint64_t wanted = std::min(length, size - std::min(size, position_));
    zip_uint64_t done = 0;
    while (done < wanted) {
        const ssize_t n = ::pread(file_.fd, static_cast<char*>(data) + done,
                                  size_t(std::min<zip_uint64_t>(wanted - done, 1 << 30)),
                                  off_t(position_ + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(ZIP_ER_READ, errno);
        if (n == 0) return fail(ZIP_ER_EOF, 0);  // the file shrank while it was read
        done += zip_uint64_t(n);
    }
    position_ += done;
    sinceAsked_ += done;
    return zip_int64_t(done);
}

}  // namespace vastel
