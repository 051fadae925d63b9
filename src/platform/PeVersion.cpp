#include "platform/PeVersion.h"

#include "platform/NativeFile.h"

#include <QFile>
#include <QStringList>
#include <vector>

namespace vastel {

namespace {

constexpr quint32 kRtVersion = 16;
constexpr quint32 kVsVersionInfoId = 1;
constexpr quint32 kSubdirectoryFlag = 0x80000000u;
// Real version blocks are a few KiB; a larger declared size is a broken or hostile file.
constexpr quint32 kMaxVersionBlock = 1u << 20;
// Bounds the work a hostile header can ask for; real images have a few dozen at most.
constexpr int kMaxSections = 1024;

quint16 le16(const char* p) { return quint16(quint8(p[0]) | quint16(quint8(p[1])) << 8); }
quint32 le32(const char* p) { return quint32(le16(p)) | quint32(le16(p + 2)) << 16; }

// Bounds-checked reads over the image.
class Image {
  public:
    Image(qint64 size, const ReadAt& readAt) : size_(size), readAt_(readAt) {}
    bool read(qint64 offset, qint64 length, char* out) const {
        if (offset < 0 || length < 0 || offset > size_ || length > size_ - offset) return false;
        return readAt_(offset, length, out);
    }
    bool u16(qint64 offset, quint16& v) const {
        char b[2];
        if (!read(offset, 2, b)) return false;
        v = le16(b);
        return true;
    }
    bool u32(qint64 offset, quint32& v) const {
        char b[4];
        if (!read(offset, 4, b)) return false;
        v = le32(b);
        return true;
    }

  private:
    qint64 size_;
    const ReadAt& readAt_;
};

struct Section {
    quint32 virtualAddress = 0;
    quint32 rawSize = 0;
    quint32 rawPointer = 0;
};

// Maps an RVA range to a file offset, when the whole range lies in one section's file data.
std::optional<qint64> fileOffset(const std::vector<Section>& sections, quint32 rva,
                                 quint32 length) {
    for (const Section& s : sections) {
        if (rva < s.virtualAddress) continue;
        const quint64 into = quint64(rva) - s.virtualAddress;
        if (into + length > s.rawSize) continue;
        return qint64(s.rawPointer) + qint64(into);
    }
    return std::nullopt;
}

// The resource tree: offsets inside it are relative to its start and must stay in its section.
class ResourceTree {
  public:
    ResourceTree(const Image& image, qint64 base, qint64 limit)
        : image_(image), base_(base), limit_(limit) {}

    bool u32(qint64 relative, quint32& v) const {
        if (relative + 4 > limit_ - base_) return false;
        return image_.u32(base_ + relative, v);
    }
    bool u16(qint64 relative, quint16& v) const {
        if (relative + 2 > limit_ - base_) return false;
        return image_.u16(base_ + relative, v);
    }

    // The data field of the entry with the numeric id `id` in the directory at `dir`; with
    // id < 0, of the directory's first entry.
    std::optional<quint32> entry(qint64 dir, qint64 id) const {
        quint16 named = 0, ids = 0;
        if (!u16(dir + 12, named) || !u16(dir + 14, ids)) return std::nullopt;
        const int total = int(named) + int(ids);
        for (int i = 0; i < total; ++i) {
            const qint64 at = dir + 16 + 8 * qint64(i);
            quint32 name = 0, data = 0;
            if (!u32(at, name) || !u32(at + 4, data)) return std::nullopt;
            if (id < 0) return data;
            if (!(name & kSubdirectoryFlag) && name == quint32(id)) return data;
        }
        return std::nullopt;
    }

  private:
    const Image& image_;
    qint64 base_;
    qint64 limit_;
};

std::optional<QByteArray> readVersionBlock(const Image& image) {
    quint16 mz = 0;
    quint32 peOffset = 0, signature = 0;
    if (!image.u16(0, mz) || mz != 0x5A4D) return std::nullopt;
    if (!image.u32(0x3C, peOffset) || !image.u32(peOffset, signature)) return std::nullopt;
    if (signature != 0x00004550) return std::nullopt;

    const qint64 coff = qint64(peOffset) + 4;
    quint16 sectionCount = 0, optionalSize = 0, magic = 0;
    if (!image.u16(coff + 2, sectionCount) || !image.u16(coff + 16, optionalSize))
        return std::nullopt;
    const qint64 optional = coff + 20;
    if (!image.u16(optional, magic)) return std::nullopt;
    qint64 directories = 0;
    quint32 directoryCount = 0;
    if (magic == 0x10B) {  // PE32
        if (!image.u32(optional + 92, directoryCount)) return std::nullopt;
        directories = optional + 96;
    } else if (magic == 0x20B) {  // PE32+
        if (!image.u32(optional + 108, directoryCount)) return std::nullopt;
        directories = optional + 112;
    } else {
        return std::nullopt;
    }
    // The resource directory is entry 2 and must lie inside the optional header.
    if (directoryCount < 3 || directories + 3 * 8 > optional + optionalSize) return std::nullopt;
    quint32 resourceRva = 0, resourceSize = 0;
    if (!image.u32(directories + 16, resourceRva) || !image.u32(directories + 20, resourceSize))
        return std::nullopt;
    if (resourceRva == 0) return std::nullopt;

    std::vector<Section> sections;
    const qint64 table = optional + optionalSize;
    for (int i = 0; i < qMin(int(sectionCount), kMaxSections); ++i) {
        char raw[40];
        if (!image.read(table + 40 * qint64(i), 40, raw)) break;
        sections.push_back({le32(raw + 12), le32(raw + 16), le32(raw + 20)});
    }

    // The tree lies in the section that holds its start, and never reaches past it.
    qint64 base = -1, limit = -1;
    for (const Section& s : sections) {
        if (resourceRva < s.virtualAddress) continue;
        const quint64 into = quint64(resourceRva) - s.virtualAddress;
        if (into >= s.rawSize) continue;
        base = qint64(s.rawPointer) + qint64(into);
        limit = qint64(s.rawPointer) + qint64(s.rawSize);
        break;
    }
    if (base < 0) return std::nullopt;
    const ResourceTree tree(image, base, limit);

    // Exactly three levels: type, name, language. A directory entry where data is due (or
    // the reverse) ends the search, so a loop in the tree cannot be followed.
    const std::optional<quint32> type = tree.entry(0, kRtVersion);
    if (!type || !(*type & kSubdirectoryFlag)) return std::nullopt;
    std::optional<quint32> name = tree.entry(*type & ~kSubdirectoryFlag, kVsVersionInfoId);
    if (!name) name = tree.entry(*type & ~kSubdirectoryFlag, -1);
    if (!name || !(*name & kSubdirectoryFlag)) return std::nullopt;
    const std::optional<quint32> language = tree.entry(*name & ~kSubdirectoryFlag, -1);
    if (!language || (*language & kSubdirectoryFlag)) return std::nullopt;

    quint32 dataRva = 0, dataSize = 0;
    if (!tree.u32(*language, dataRva) || !tree.u32(qint64(*language) + 4, dataSize))
        return std::nullopt;
    if (dataSize == 0 || dataSize > kMaxVersionBlock) return std::nullopt;
    const std::optional<qint64> at = fileOffset(sections, dataRva, dataSize);
    if (!at) return std::nullopt;
    QByteArray block(qsizetype(dataSize), Qt::Uninitialized);
    if (!image.read(*at, dataSize, block.data())) return std::nullopt;
    return block;
}

// One node of a version block: wLength, wValueLength, wType, a NUL-terminated UTF-16 key,
// padding to 32 bits, the value, padding, then the children.
struct Node {
    qint64 end = 0;  // clamped to the parent's end
    QString key;
    qint64 value = 0;
    qint64 valueBytes = 0;
    quint16 valueLength = 0;
    qint64 children = 0;
};

qint64 align4(qint64 offset) { return (offset + 3) & ~qint64(3); }

bool parseNode(const QByteArray& block, qint64 start, qint64 limit, Node& node) {
    const char* d = block.constData();
    if (start < 0 || start + 6 > limit) return false;
    const quint16 length = le16(d + start);
    if (length < 6) return false;
    node.valueLength = le16(d + start + 2);
    const quint16 type = le16(d + start + 4);
    node.end = qMin<qint64>(start + length, limit);
    node.key.clear();
    qint64 p = start + 6;
    for (;; p += 2) {
        if (p + 2 > node.end) return false;  // a key without its NUL
        const quint16 c = le16(d + p);
        if (c == 0) break;
        node.key.append(QChar(c));
    }
    node.value = qMin(align4(p + 2), node.end);
    // Text values count 16-bit characters, binary ones bytes.
    const qint64 declared = type == 1 ? 2 * qint64(node.valueLength) : node.valueLength;
    node.valueBytes = qMin(declared, node.end - node.value);
    node.children = qMin(align4(node.value + node.valueBytes), node.end);
    return true;
}

// Finds the node at the end of the key path, walking from the root.
std::optional<Node> findNode(const QByteArray& block, const QString& subBlock) {
    Node node;
    if (!parseNode(block, 0, block.size(), node)) return std::nullopt;
    const QStringList keys = subBlock.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& key : keys) {
        bool found = false;
        qint64 at = node.children;
        Node child;
        // Each child is at least 6 bytes long, so the walk always moves forward.
        while (at + 6 <= node.end && parseNode(block, at, node.end, child)) {
            if (child.key.compare(key, Qt::CaseInsensitive) == 0) {
                found = true;
                break;
            }
            at = align4(child.end);
        }
        if (!found) return std::nullopt;
        node = child;
    }
    return node;
}

}  // namespace

std::optional<QByteArray> versionInfoFromReader(qint64 size, const ReadAt& readAt) {
    if (size <= 0) return std::nullopt;
    return readVersionBlock(Image(size, readAt));
}

std::optional<QByteArray> versionInfoFromImage(const QByteArray& image) {
    return versionInfoFromReader(image.size(), [&image](qint64 offset, qint64 length, char* out) {
        std::copy_n(image.constData() + offset, length, out);
        return true;
    });
}

std::optional<QByteArray> readFileVersionInfo(const QByteArray& nativePath) {
    QFile file;
    if (!openNativeForReading(file, nativePath)) return std::nullopt;
    return versionInfoFromReader(file.size(), [&file](qint64 offset, qint64 length, char* out) {
        return file.seek(offset) && file.read(out, length) == length;
    });
}

std::optional<QByteArray> versionQueryValue(const QByteArray& block, const QString& subBlock) {
    const std::optional<Node> node = findNode(block, subBlock);
    if (!node) return std::nullopt;
    return block.mid(node->value, node->valueBytes);
}

std::optional<QString> versionQueryString(const QByteArray& block, const QString& subBlock) {
    const std::optional<Node> node = findNode(block, subBlock);
    if (!node) return std::nullopt;
    if (node->valueLength == 0) return QString();
    // Some linkers count the length in bytes or leave out the NUL; read up to the NUL or the
    // node's end instead of trusting it.
    QString text;
    const char* d = block.constData();
    for (qint64 p = node->value; p + 2 <= node->end; p += 2) {
        const quint16 c = le16(d + p);
        if (c == 0) break;
        text.append(QChar(c));
    }
    return text;
}

}  // namespace vastel
