#include "finders/FieldTexts.h"

#include "core/DateTexts.h"
#include "platform/NativePath.h"
#include "platform/PackedStamp.h"

#include <QDate>
#include <QTime>
#include <algorithm>
#include <numeric>

namespace vastel {

namespace {

bool isAscii(const QByteArray& bytes) {
    for (const char c : bytes)
        if (uchar(c) >= 0x80) return false;
    return true;
}

// ASCII letters only; the other bytes stay.
QByteArray asciiUpper(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size() && !(bytes[i] >= 'a' && bytes[i] <= 'z')) ++i;
    if (i == bytes.size()) return bytes;
    QByteArray out = bytes;
    char* p = out.data();
    for (; i < out.size(); ++i)
        if (p[i] >= 'a' && p[i] <= 'z') p[i] = char(p[i] - 'a' + 'A');
    return out;
}

bool validStamp(const DosStampParts& p) {
    return QDate::isValid(p.year, p.month, p.day) && QTime::isValid(p.hour, p.minute, p.second);
}

}  // namespace

QByteArray foldedKey(const QByteArray& bytes) {
    if (isAscii(bytes) || !isValidUtf8(bytes)) return asciiUpper(bytes);
    return QString::fromUtf8(bytes).toUpper().toUtf8();
}

QByteArray foldedKey(const QString& text) { return foldedKey(text.toUtf8()); }

StampTexts::StampTexts() : byDate_(65536, -1), byTime_(65536, -1) {}

int StampTexts::intern(const QString& text) {
    const auto it = indexOfText_.constFind(text);
    if (it != indexOfText_.constEnd()) return it.value();
    const qint32 index = qint32(texts_.size());
    texts_.push_back(text);
    indexOfText_.insert(text, index);
    return index;
}

int StampTexts::indexOf(quint32 stamp, std::vector<qint32>& valid, quint32 part,
                        QHash<quint32, qint32>& invalid, QString (*textOf)(quint32)) {
    if (stamp == 0) {
        if (zero_ < 0) zero_ = intern(QString());
        return zero_;
    }
    if (validStamp(unpackDosStamp(stamp))) {
        qint32& slot = valid[part];
        if (slot < 0) {
            // Each part has its own text: no look-up among the texts for one that reads alike.
            slot = qint32(texts_.size());
            texts_.push_back(textOf(stamp));
        }
        return slot;
    }
    const auto it = invalid.constFind(stamp);
    if (it != invalid.constEnd()) return it.value();
    const int index = intern(textOf(stamp));
    invalid.insert(stamp, index);
    return index;
}

int StampTexts::dateIndex(quint32 stamp) {
    return indexOf(stamp, byDate_, stamp >> 16, invalidDates_, &fileDateText);
}

int StampTexts::timeIndex(quint32 stamp) {
    return indexOf(stamp, byTime_, stamp & 0xFFFF, invalidTimes_, &fileTimeText);
}

std::vector<qint32> rankKeys(const std::vector<QByteArray>& keys) {
    std::vector<qint32> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](qint32 a, qint32 b) { return keys[size_t(a)] < keys[size_t(b)]; });
    std::vector<qint32> rank(keys.size());
    qint32 r = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && keys[size_t(order[i])] != keys[size_t(order[i - 1])]) ++r;
        rank[size_t(order[i])] = r;
    }
    return rank;
}

std::vector<qint32> rankTexts(const std::vector<QString>& texts) {
    std::vector<QByteArray> keys;
    keys.reserve(texts.size());
    for (const QString& t : texts) keys.push_back(foldedKey(t));
    return rankKeys(keys);
}

}  // namespace vastel
