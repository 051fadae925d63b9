#include "core/Utility.h"

#include "platform/FileTypes.h"

#include <QLocale>
#include <cmath>
#include <cstdio>

namespace vastel {

namespace {

template <typename Text>
Text joined(const Text& folder, const Text& name, const Text& separator) {
    // No caller passes an empty folder; keep the name relative rather than put it at the root.
    if (folder.isEmpty()) return name;
    if (folder.endsWith(separator)) return folder + name;
    return folder + separator + name;
}

}  // namespace

QString joinPath(const QString& folder, const QString& name) {
    return joined(folder, name, QStringLiteral("/"));
}

QByteArray joinPath(const QByteArray& folder, const QByteArray& name) {
    return joined(folder, name, QByteArrayLiteral("/"));
}

int safeStrToInt(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    if (i == t.size()) return 0;
    const qint64 limit = negative ? 2147483648LL : 2147483647LL;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9') return 0;
        value = value * 10 + (c - u'0');
        if (value > limit) return 0;
    }
    return int(negative ? -value : value);
}

double safeStrToFloat(const QString& text) {
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    // "inf" and "nan" would poison every sum and comparison they reach.
    return ok && std::isfinite(value) ? value : 0.0;
}

QString thousandsText(qint64 value) {
    // The same text as formatting with two decimals and cutting at the decimal separator, but
    // exact beyond the 53 bits a double holds.
    return QLocale().toString(value);
}

QString numberText(double value) {
    if (!std::isfinite(value)) return QString();
    const double rounded = std::round(value);
    if (std::fabs(rounded) < 1e14) return QLocale().toString(qint64(rounded));
    // Beyond 14 digits keep the first 14 significant digits and fill with zeros.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.13e", rounded);
    const QByteArray scientific(buffer);
    const qsizetype e = scientific.indexOf('e');
    const int exponent = scientific.mid(e + 1).toInt();
    QByteArray digits = scientific.left(e);
    const bool negative = digits.startsWith('-');
    if (negative) digits.remove(0, 1);
    digits.remove(1, 1);   // the decimal point after the first digit
    if (exponent <= 17) {  // 14 digits times 10^4 still fits 64 bits
        qint64 whole = digits.toLongLong();
        for (int i = 13; i < exponent; ++i) whole *= 10;
        return QLocale().toString(negative ? -whole : whole);
    }
    return QLocale().toString(rounded, 'g', 14);
}

bool isBlank(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u != 8 && u != 10 && u != 13 && u != 32) return false;
    }
    return true;
}

QString digitsOnly(const QString& text) {
    QString out;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) out += c;
    return out;
}

QString fieldOfLine(const QString& line, int n) {
    if (n < 1) return QString();
    qsizetype start = 0;
    for (int field = 1; field < n; ++field) {
        start = line.indexOf(QLatin1Char('\t'), start);
        if (start < 0) return QString();
        ++start;
    }
    qsizetype end = line.indexOf(QLatin1Char('\t'), start);
    if (end < 0) end = line.size();
    // Blanks and control characters (everything up to the space) are trimmed at both ends.
    while (start < end && line[start].unicode() <= 32) ++start;
    while (end > start && line[end - 1].unicode() <= 32) --end;
    return line.mid(start, end - start);
}

int entryKind(const DirEntry& entry) {
    if (entry.name == "." || entry.name == "..") return 1;
    return (entry.attributes & faDirectory) ? 0 : 2;
}

QString fileTypeText(const QString& extension) {
    if (extension == QLatin1String("*.")) return QStringLiteral("No extension");
    if (extension.isEmpty() || extension.contains(QLatin1Char('*'))) return QString();
    const FileTypeInfo info = fileTypeOfExtension(extension);
    if (!info.description.isEmpty()) return info.description;
    if (!info.identifier.isEmpty()) return info.identifier;
    return extension.mid(1).toUpper() + QStringLiteral(" File");
}

void fillWildcardList(QStringList& list, bool withAll) {
    list.clear();
    if (withAll) list.append(QStringLiteral("*.*"));
    list.append(registeredExtensionPatterns());
}

}  // namespace vastel
