#include "RestoreTestSupport.h"

#include "platform/DirEntry.h"

#include <zip.h>

#include <QFile>

namespace vastel::test {

bool writeArchive(const QByteArray& path, const std::vector<RawMember>& members) {
    int code = 0;
    zip_t* archive = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) return false;
    for (const RawMember& m : members) {
        zip_source_t* source =
            zip_source_buffer(archive, m.data.constData(), zip_uint64_t(m.data.size()), 0);
        const zip_int64_t index = zip_file_add(archive, m.name.constData(), source, ZIP_FL_ENC_RAW);
        if (index < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
        if (m.store) zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
        if (m.mtime) zip_file_set_mtime(archive, zip_uint64_t(index), m.mtime, 0);
        if (m.encryption &&
            zip_file_set_encryption(archive, zip_uint64_t(index), zip_uint16_t(m.encryption),
                                    m.password.constData()) != 0) {
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

bool patchFile(const QByteArray& path, const QByteArray& from, const QByteArray& to, int times) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadWrite)) return false;
    QByteArray data = file.readAll();
    qsizetype at = 0;
    for (int i = 0; i < times; ++i) {
        at = data.indexOf(from, at);
        if (at < 0) return false;
        data.replace(at, to.size(), to);
        at += to.size();
    }
    file.seek(0);
    return file.write(data) == data.size();
}

bool holdsTemporaryFiles(const QByteArray& folder) {
    for (const DirEntry& entry : listDirectory(folder))
        if (entry.name.startsWith(".vastel-restore-")) return true;
    return false;
}

}  // namespace vastel::test
