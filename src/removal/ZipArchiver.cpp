#include "removal/ZipArchiver.h"

#include "platform/FileRemoval.h"
#include "platform/NativePath.h"
#include "removal/ArchiveFileSource.h"
#include "removal/ArchiveFolder.h"
#include "removal/MemberSource.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vastel {

namespace {

QString zipErrorText(zip_error_t* error) {
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

// The index of the member of that name, -1 when there is none.
zip_int64_t memberIndex(zip_t* archive, const QByteArray& name) {
    const zip_int64_t found = zip_name_locate(archive, name.constData(), ZIP_FL_ENC_RAW);
    if (found >= 0) return found;
    // libzip looks names up in the form it converted them to; names that are not UTF-8 were
    // taken as CP437 and converted, so for them only a comparison of the raw bytes is sure.
    if (isValidUtf8(name)) return -1;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* stored = zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        if (stored && name == stored) return i;
    }
    return -1;
}

ZipArchiver::Result failed(const QString& reason) {
    ZipArchiver::Result result;
    result.reason = reason;
    return result;
}

}  // namespace

void ZipArchiver::progressCallback(zip_t*, double done, void* self) {
    auto* me = static_cast<ZipArchiver*>(self);
    // libzip reports the whole close; the members kept in place take no time, so the new
    // member's share of that range is its own 0 to 100 %.
    const double own = (done - me->memberStart_) / me->memberShare_;
    me->sink_.progress(std::lround(std::clamp(own, 0.0, 1.0) * 100.0), 100);
}

int ZipArchiver::cancelCallback(zip_t*, void* self) {
    return static_cast<ZipArchiver*>(self)->cancelRequested() ? 1 : 0;
}

bool ZipArchiver::cancelRequested() {
    sink_.tick();
    return stop_.requested();
}

ZipArchiver::Result ZipArchiver::addFile(const QByteArray& archivePath, const QByteArray& comment,
                                         const QByteArray& filePath) {
    OpenedFile file;
    if (!openRegularFile(filePath, file))
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    return addOpenedFile(archivePath, comment, archiveMemberName(filePath), file);
}

ZipArchiver::Result ZipArchiver::addOpenedFile(const QByteArray& archivePath,
                                               const QByteArray& comment,
                                               const QByteArray& memberName, OpenedFile file) {
    // The descriptor stays ours until the end, to see afterwards whether the file changed while
    // it was read.
    struct Closer {
        int fd;
        ~Closer() {
            if (fd >= 0) ::close(fd);
        }
    } closer{file.fd};
    if (memberName.isEmpty()) return failed(QStringLiteral("no member name"));

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* archiveSource =
        ArchiveFileSource::create(archivePath, &error, [this] { sink_.tick(); });
    zip_t* archive =
        archiveSource ? zip_open_from_source(archiveSource, ZIP_CREATE, &error) : nullptr;
    if (!archive) {
        if (archiveSource) zip_source_free(archiveSource);
        const Result result = failed(zipErrorText(&error));
        zip_error_fini(&error);
        return result;
    }
    zip_error_fini(&error);

    auto discard = [archive](const QString& reason) {
        zip_discard(archive);
        return failed(reason);
    };
    if (zip_set_archive_comment(archive, comment.isEmpty() ? nullptr : comment.constData(),
                                zip_uint16_t(std::min<qsizetype>(comment.size(), 0xFFFF))) != 0)
        return discard(zipErrorText(zip_get_error(archive)));
    // The same path archived again within the minute (say after a restore) replaces the
    // older member of that name, so the archive holds the file as it was last removed.
    const zip_int64_t older = memberIndex(archive, memberName);

    bool cancelledWhileReading = false;
    zip_error_init(&error);
    zip_source_t* data = MemberSource::create(
        MemberSource::File{file.fd, file.size, time_t(file.mtime), file.mode},
        [this] { return cancelRequested(); }, &cancelledWhileReading, &error);
    if (!data) {
        const QString reason = zipErrorText(&error);
        zip_error_fini(&error);
        return discard(reason);
    }
    zip_error_fini(&error);
    zip_int64_t index = older;
    if (older >= 0) {
        if (zip_file_replace(archive, zip_uint64_t(older), data, 0) != 0) index = -1;
    } else {
        index = zip_file_add(archive, memberName.constData(), data, ZIP_FL_ENC_GUESS);
    }
    if (index < 0) {
        zip_source_free(data);
        return discard(zipErrorText(zip_get_error(archive)));
    }
    if (zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 6) != 0 ||
        zip_file_set_mtime(archive, zip_uint64_t(index), time_t(file.mtime), 0) != 0)
        return discard(zipErrorText(zip_get_error(archive)));

    const double members = double(zip_get_num_entries(archive, 0));
    memberShare_ = 1.0 / std::max(members, 1.0);
    memberStart_ = 1.0 - memberShare_;
    zip_register_progress_callback_with_state(archive, memberShare_ / 100.0, &progressCallback,
                                              nullptr, this);
    zip_register_cancel_callback_with_state(archive, &cancelCallback, nullptr, this);

    if (zip_close(archive) != 0) {
        Result result;
        zip_error_t* closeError = zip_get_error(archive);
        result.status = cancelledWhileReading || zip_error_code_zip(closeError) == ZIP_ER_CANCELLED
                            ? Status::Cancelled
                            : Status::Failed;
        result.reason = zipErrorText(closeError);
        zip_discard(archive);
        return result;
    }

    // A file that changed while it was read is not what the member holds; it must stay.
    struct stat after;
    if (::fstat(file.fd, &after) != 0 || qint64(after.st_size) != file.size ||
        qint64(after.st_mtim.tv_sec) != file.mtime)
        return failed(QStringLiteral("the file changed while it was archived"));
    Result result;
    result.status = Status::Added;
    result.identity = file.identity;
    result.size = file.size;
    return result;
}

}  // namespace vastel
