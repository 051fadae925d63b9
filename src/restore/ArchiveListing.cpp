#include "restore/ArchiveListing.h"

#include <zip.h>

namespace vastel {

namespace {

zip_t* openForReading(const QByteArray& archivePath, QString* error) {
    int code = 0;
    zip_t* archive = zip_open(archivePath.constData(), ZIP_RDONLY, &code);
    if (!archive && error) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        *error = QString::fromLocal8Bit(zip_error_strerror(&zipError));
        zip_error_fini(&zipError);
    }
    return archive;
}

}  // namespace

ArchiveListing listArchive(const QByteArray& archivePath) {
    ArchiveListing listing;
    zip_t* archive = openForReading(archivePath, &listing.error);
    if (!archive) return listing;
    listing.opened = true;
    int commentLength = 0;
    if (const char* comment = zip_get_archive_comment(archive, &commentLength, ZIP_FL_ENC_RAW))
        listing.comment = QByteArray(comment, commentLength);
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    listing.members.reserve(size_t(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, zip_uint64_t(i), ZIP_FL_ENC_RAW, &st) != 0 || !st.name)
            continue;
        ArchiveMember member;
        member.index = zip_uint64_t(i);
        member.name = QByteArray(st.name);
        if (st.valid & ZIP_STAT_SIZE) member.size = qint64(st.size);
        if (st.valid & ZIP_STAT_COMP_SIZE) member.compressedSize = qint64(st.comp_size);
        if (st.valid & ZIP_STAT_MTIME) member.mtime = st.mtime;
        if (st.valid & ZIP_STAT_CRC) member.crc = st.crc;
        member.encrypted =
            (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
        listing.members.push_back(std::move(member));
    }
    zip_discard(archive);
    return listing;
}

bool canOpenArchive(const QByteArray& archivePath) {
    zip_t* archive = openForReading(archivePath, nullptr);
    if (!archive) return false;
    zip_discard(archive);
    return true;
}

}  // namespace vastel
