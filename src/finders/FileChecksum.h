#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace vastel {

class StopToken;

// The pair comparison's checksum: the sum, modulo 2^32, of the CRC-32 values of the file's
// 2048-byte blocks, each block's CRC taken on that block alone. 0 for a file that cannot be
// opened. A read error ends the sum where it happened.
quint32 fileChecksum(const QByteArray& path, const StopToken* stop = nullptr);

// "%8x" as the reference platform prints it: upper-case hexadecimal right-aligned in eight.
QString checksumText(quint32 checksum);

// Both checksums, and whether the two files hold the same bytes. Blocks in another order
// give equal checksums, so only the byte comparison proves equal contents. Both files are read
// once, side by side.
struct PairChecksums {
    quint32 left = 0;
    quint32 right = 0;
    bool identical = false;  // both read completely and equal byte for byte
};
PairChecksums comparePair(const QByteArray& left, const QByteArray& right,
                          const StopToken* stop = nullptr);

}  // namespace vastel
