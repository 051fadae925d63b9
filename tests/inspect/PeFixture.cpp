#include "PeFixture.h"

#include <QtEndian>

namespace vastel::test {

namespace {

void put16(QByteArray& b, int at, quint16 v) { qToLittleEndian(v, b.data() + at); }
void put32(QByteArray& b, int at, quint32 v) { qToLittleEndian(v, b.data() + at); }

QByteArray utf16z(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    out.append(2, '\0');
    return out;
}

void pad4(QByteArray& b) {
    while (b.size() % 4) b.append('\0');
}

}  // namespace

QByteArray versionNode(const QString& key, const QByteArray& value, quint16 valueLength,
                       quint16 type, const QList<QByteArray>& children) {
    QByteArray out(6, '\0');
    out += utf16z(key);
    pad4(out);
    out += value;
    for (const QByteArray& child : children) {
        pad4(out);
        out += child;
    }
    put16(out, 0, quint16(out.size()));
    put16(out, 2, valueLength);
    put16(out, 4, type);
    return out;
}

QByteArray versionString(const QString& key, const QString& text) {
    const QByteArray value = utf16z(text);
    return versionNode(key, value, quint16(value.size() / 2), 1);
}

int PeFixture::sectionTable() const { return kPeOffset + 4 + 20 + (pe32plus ? 240 : 224); }

QByteArray PeFixture::build() const {
    // The version block: fixed file info, then the strings and the translation.
    QByteArray fixed(52, '\0');
    put32(fixed, 0, 0xFEEF04BD);
    put32(fixed, 4, 0x00010000);
    QList<QByteArray> items;
    for (const auto& [name, value] : strings) items << versionString(name, value);
    QList<QByteArray> children;
    children << versionNode(QStringLiteral("StringFileInfo"), {}, 0, 1,
                            {versionNode(stringTable, {}, 0, 1, items)});
    if (translation) {
        QByteArray pair(4, '\0');
        put16(pair, 0, translation->first);
        put16(pair, 2, translation->second);
        children << versionNode(QStringLiteral("VarFileInfo"), {}, 0, 1,
                                {versionNode(QStringLiteral("Translation"), pair, 4, 0)});
    }
    const QByteArray block = versionNode(QStringLiteral("VS_VERSION_INFO"), fixed, 52, 0, children);

    // The resource tree: type 16 -> name 1 -> language 0x0409 -> data entry -> block.
    QByteArray rsrc(kVersionBlock, '\0');
    const auto directory = [&](int at, quint32 id, quint32 target) {
        put16(rsrc, at + 14, 1);  // one entry with an id
        put32(rsrc, at + 16, id);
        put32(rsrc, at + 20, target);
    };
    directory(0x00, 16, 0x80000000u | 0x18);
    directory(0x18, 1, 0x80000000u | 0x30);
    directory(0x30, 0x0409, kDataEntry);
    put32(rsrc, kDataEntry, kSectionRva + kVersionBlock);
    put32(rsrc, kDataEntry + 4, quint32(block.size()));
    rsrc += block;
    while (rsrc.size() % 0x200) rsrc.append('\0');

    QByteArray image(kRawPointer, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    put32(image, 0x3C, kPeOffset);
    image.replace(kPeOffset, 4, QByteArray("PE\0\0", 4));
    const int coff = kPeOffset + 4;
    put16(image, coff, pe32plus ? 0x8664 : 0x014C);
    put16(image, coff + 2, 1);  // sections
    put16(image, coff + 16, pe32plus ? 240 : 224);
    put16(image, coff + 18, 0x0102);
    const int optional = coff + 20;
    put16(image, optional, pe32plus ? 0x20B : 0x10B);
    const int directories = optional + (pe32plus ? 112 : 96);
    put32(image, directories - 4, 16);
    if (withResource) {
        put32(image, directories + 16, kSectionRva);
        put32(image, directories + 20, quint32(rsrc.size()));
    }
    const int section = sectionTable();
    image.replace(section, 5, QByteArray(".rsrc"));
    put32(image, section + 8, quint32(rsrc.size()));  // virtual size
    put32(image, section + 12, kSectionRva);
    put32(image, section + 16, quint32(rsrc.size()));  // raw size
    put32(image, section + 20, kRawPointer);
    put32(image, section + 36, 0x40000040);
    return image + rsrc;
}

}  // namespace vastel::test
