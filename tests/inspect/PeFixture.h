#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace vastel::test {

// Builds small PE program images with a version resource, byte by byte, for the version
// reader's tests. The layout is fixed so that tests can corrupt chosen fields.
struct PeFixture {
    bool pe32plus = false;
    // The translation's language and code page; no VarFileInfo at all without one.
    std::optional<QPair<quint16, quint16>> translation = QPair<quint16, quint16>(0x0409, 0x04B0);
    QString stringTable = QStringLiteral("040904b0");
    QList<QPair<QString, QString>> strings;  // item name, value
    bool withResource = true;

    QByteArray build() const;

    // Where the parts lie in the built image.
    static constexpr int kPeOffset = 0x80;
    static constexpr int kRawPointer = 0x400;  // the .rsrc section's data
    static constexpr quint32 kSectionRva = 0x2000;
    static constexpr int kDataEntry = 0x48;     // relative to the section
    static constexpr int kVersionBlock = 0x58;  // relative to the section
    int sectionTable() const;                   // file offset of the section table
};

// One node of a version block: key, value, children, with 32-bit alignment.
QByteArray versionNode(const QString& key, const QByteArray& value, quint16 valueLength,
                       quint16 type, const QList<QByteArray>& children = {});
QByteArray versionString(const QString& key, const QString& text);

}  // namespace vastel::test
