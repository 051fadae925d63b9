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

int StampTexts::dateIndex(quint32 stamp) {
    if (stamp == 0) return intern(QString());
    const bool valid = validStamp(unpackDosStamp(stamp));
    if (valid) {
        qint32& slot = byDate_[stamp >> 16];
        if (slot < 0) slot = intern(fileDateText(stamp));
        return slot;
    }
    const auto it = invalidDates_.constFind(stamp);
    if (it != invalidDates_.constEnd()) return it.value();
    const int index = intern(fileDateText(stamp));
    invalidDates_.insert(stamp, index);
    return index;
}

int StampTexts::timeIndex(quint32 stamp) {
    if (stamp == 0) return intern(QString());
    const bool valid = validStamp(unpackDosStamp(stamp));
    if (valid) {
        qint32& slot = byTime_[stamp & 0xFFFF];
        if (slot < 0) slot = intern(fileTimeText(stamp));
        return slot;
    }
    const auto it = invalidTimes_.constFind(stamp);
    if (it != invalidTimes_.constEnd()) return it.value();
    const int index = intern(fileTimeText(stamp));
    invalidTimes_.insert(stamp, index);
    return index;
}

std::vector<qint32> rankTexts(const std::vector<QString>& texts) {
    std::vector<QByteArray> keys;
    keys.reserve(texts.size());
    for (const QString& t : texts) keys.push_back(foldedKey(t));
    std::vector<qint32> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](qint32 a, qint32 b) { return keys[size_t(a)] < keys[size_t(b)]; });
    std::vector<qint32> rank(texts.size());
    qint32 r = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && keys[size_t(order[i])] != keys[size_t(order[i - 1])]) ++r;
        rank[size_t(order[i])] = r;
    }
    return rank;
}

}  // namespace vastel
