#include "RemovalTestSupport.h"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <algorithm>

namespace vastel::test {

std::vector<QByteArray> ZipContent::names() const {
    std::vector<QByteArray> out;
    for (const ZipMember& m : members) out.push_back(m.name);
    return out;
}

ZipContent readZip(const QByteArray& archivePath) {
    ZipContent content;
    int error = 0;
    zip_t* archive = zip_open(archivePath.constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) return content;
    content.opened = true;
    int commentLength = 0;
    if (const char* c = zip_get_archive_comment(archive, &commentLength, ZIP_FL_ENC_RAW))
        content.comment = QByteArray(c, commentLength);
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, zip_uint64_t(i), ZIP_FL_ENC_RAW, &st) != 0) continue;
        content.members.push_back(
            ZipMember{QByteArray(st.name), qint64(st.size), st.mtime, int(st.comp_method)});
    }
    zip_discard(archive);
    return content;
}

QByteArray zipMemberData(const QByteArray& archivePath, const QByteArray& memberName) {
    int error = 0;
    zip_t* archive = zip_open(archivePath.constData(), ZIP_RDONLY, &error);
    if (!archive) return {};
    QByteArray data;
    // By index: libzip's name lookup goes through names it has converted from CP437.
    zip_int64_t index = -1;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0) && index < 0; ++i) {
        const char* name = zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        if (name && memberName == name) index = i;
    }
    if (index >= 0) {
        if (zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(index), 0)) {
            char buffer[65536];
            zip_int64_t n;
            while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) data.append(buffer, n);
            zip_fclose(file);
        }
    }
    zip_discard(archive);
    return data;
}

bool unzipTestPasses(const QByteArray& archivePath) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"),
                {QStringLiteral("-t"), QStringLiteral("-qq"), QFile::decodeName(archivePath)});
    return unzip.waitForFinished(600000) && unzip.exitStatus() == QProcess::NormalExit &&
           unzip.exitCode() == 0;
}

bool pathExists(const QByteArray& path) {
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

QByteArray readWholeFile(const QByteArray& path) {
    QByteArray data;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return data;
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) data.append(buffer, n);
    ::close(fd);
    return data;
}

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QRandomGenerator generator(seed);
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i) data[i] = char(generator.generate() & 0xFF);
    return data;
}

std::vector<QByteArray> folderNames(const QByteArray& folder) {
    // Read by bytes: names that are not UTF-8 would not survive a trip through QString.
    std::vector<QByteArray> names;
    if (DIR* dir = ::opendir(folder.constData())) {
        while (const dirent* e = ::readdir(dir)) {
            const QByteArray name(e->d_name);
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool mountPrivateTmpfs(const QByteArray& where) {
    static bool unshared = false;
    if (!unshared) {
        if (::unshare(CLONE_NEWNS) != 0) return false;
        // Mounts made from here on stay in this namespace.
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
        unshared = true;
    }
    ::mkdir(where.constData(), 0755);
    return ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=16m,mode=0755") == 0;
}

void unmountPrivate(const QByteArray& where) { ::umount2(where.constData(), MNT_DETACH); }

}  // namespace vastel::test
