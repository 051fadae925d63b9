#include "stats/StatRules.h"

#include <cstdlib>

namespace vastel {

int sizeBucket(qint64 size) {
    qint64 bound = 16384;
    for (int k = 1; k < 12; ++k, bound *= 2)
        if (size <= bound) return k;
    return 12;
}

int ageToIndex(int days) {
    if (days < 0) return 0;
    static constexpr int kUpper[] = {7, 30, 60, 120, 365, 730, 1095, 1460};
    for (int k = 0; k < 8; ++k)
        if (days <= kUpper[k]) return k + 1;
    return 9;
}

namespace {

bool validTime(quint32 stamp) {
    const quint32 time = stamp & 0xFFFF;
    return (time >> 11) <= 23 && ((time >> 5) & 0x3F) <= 59 && (time & 0x1F) * 2 <= 59;
}

QDate dateOfHalf(quint32 high) {
    return QDate(int((high >> 9) & 0x7F) + 1980, int((high >> 5) & 0x0F), int(high & 0x1F));
}

}  // namespace

int halfHourSlot(quint32 stamp) {
    if (stamp == 0) return -1;
    if (!validTime(stamp) || !dateOfHalf(stamp >> 16).isValid()) return 0;
    const quint32 time = stamp & 0xFFFF;
    return int(time >> 11) * 2 + (((time >> 5) & 0x3F) >= 30 ? 1 : 0);
}

QByteArrayView fileExtension(QByteArrayView name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QByteArrayView() : name.sliced(dot);
}

int extensionLength(QByteArrayView extension) {
    int n = 0;
    for (const char c : extension)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

QString extractExtension(const QString& line) {
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    const qsizetype end = tab < 0 ? line.size() : tab;
    return end <= 1 ? QString() : line.mid(1, end - 1).toLower();
}

qint64 clusterSizeFor(double totalBytes, qint64 measured) {
    constexpr double k31 = 2147483648.0;
    if (totalBytes >= 16 * k31) return 32768;
    if (totalBytes > 8 * k31) return 16384;
    if (totalBytes > 4 * k31) return 8192;
    if (totalBytes > k31) return 4096;
    return measured;
}

AgeTable::AgeTable(const QDate& today) : ages_(1 << 16, -2) {
    for (quint32 high = 0; high < (1u << 16); ++high) {
        const QDate date = dateOfHalf(high);
        if (date.isValid()) ages_[high] = qint32(std::llabs(today.daysTo(date)));
    }
    fallbackAge_ = int(std::llabs(today.daysTo(QDate(1980, 1, 1))));
}

int AgeTable::ageInDays(quint32 stamp) const {
    if (stamp == 0) return -1;
    const qint32 age = ages_[stamp >> 16];
    return age < 0 || !validTime(stamp) ? fallbackAge_ : age;
}

}  // namespace vastel
