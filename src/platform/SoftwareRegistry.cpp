#include "platform/SoftwareRegistry.h"

#include "platform/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArrayList>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <optional>

namespace vastel {

namespace {

constexpr qint64 kMaxKeyFileSize = 1024 * 1024;

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Byte-wise, folding only A-Z: UTF-8 sequences are never folded into other characters.
bool equalIgnoringAsciiCase(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// The parts of a key path, "\" or "/" separated, without a leading "Software"; nullopt when a
// part would step outside the branch ("." or "..") or cannot be a file name.
std::optional<QByteArrayList> keyParts(const QString& keyPath) {
    QByteArray path = keyPath.toUtf8();
    path.replace('\\', '/');
    QByteArrayList parts;
    for (const QByteArray& part : path.split('/')) {
        if (part.isEmpty()) continue;
        if (part == "." || part == ".." || part.contains('\0')) return std::nullopt;
        parts.append(part);
    }
    if (!parts.isEmpty() && equalIgnoringAsciiCase(parts.first(), "software")) parts.removeFirst();
    return parts;
}

// The child of a folder named like a key part: the exact name, else the first name (in byte
// order) that equals it without regard to case, as registry key names do.
QByteArray childNamed(const QByteArray& folder, const QByteArray& name) {
    const QByteArray exact = folder + '/' + name;
    if (::access(exact.constData(), F_OK) == 0) return exact;
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return {};
    QByteArrayList matches;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray entry(e->d_name);
        if (entry != "." && entry != ".." && equalIgnoringAsciiCase(entry, name))
            matches.append(entry);
    }
    ::closedir(dir);
    if (matches.isEmpty()) return {};
    std::sort(matches.begin(), matches.end());
    return folder + '/' + matches.first();
}

// The text of a key file; nullopt when it is not a regular file, is larger than 1 MiB, cannot
// be read or is binary (holds a NUL byte).
std::optional<QByteArray> readKeyFile(const QByteArray& path) {
    // O_NONBLOCK: a FIFO in the branch must not hang the reader; it is refused below.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxKeyFileSize) {
        ::close(fd);
        return std::nullopt;
    }
    // Read to the end, not to st_size: the file may grow, and some report size 0.
    QByteArray text(kMaxKeyFileSize + 1, Qt::Uninitialized);
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = ::read(fd, text.data() + done, size_t(text.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        done += n;
    }
    ::close(fd);
    if (done > kMaxKeyFileSize) return std::nullopt;
    text.truncate(done);
    if (text.contains('\0')) return std::nullopt;
    return text;
}

// The value of the first "name=value" line whose name (blanks around it ignored) equals
// valueName without regard to ASCII case.
QString valueOfLines(const QByteArray& text, const QByteArray& valueName) {
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        if (equalIgnoringAsciiCase(line.left(eq).trimmed(), valueName))
            return QString::fromUtf8(line.mid(eq + 1));
    }
    return {};
}

QString readValue(const QByteArray& branchRoot, const QByteArrayList& parts,
                  const QString& valueName) {
    if (branchRoot.isEmpty() || parts.isEmpty()) return {};  // the root holds keys only
    QByteArray path = branchRoot;
    for (const QByteArray& part : parts) {
        path = childNamed(path, part);
        if (path.isEmpty()) return {};
    }
    const std::optional<QByteArray> text = readKeyFile(path);
    return text ? valueOfLines(*text, valueName.toUtf8()) : QString();
}

}  // namespace

QString readUserRegText(const QString& keyPath, const QString& valueName) {
    const std::optional<QByteArrayList> parts = keyParts(keyPath);
    if (!parts) return {};
    return readValue(QFile::encodeName(configHome()), *parts, valueName);
}

QString readMachineRegText(const QString& keyPath, const QString& valueName) {
    std::optional<QByteArrayList> parts = keyParts(keyPath);
    // Of the machine branch only its "etc" key holds name=value text.
    if (!parts || parts->isEmpty() || !equalIgnoringAsciiCase(parts->first(), "etc")) return {};
    parts->removeFirst();
    return readValue(QByteArrayLiteral("/etc"), *parts, valueName);
}

}  // namespace vastel
