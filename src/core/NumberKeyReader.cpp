#include "core/NumberKeyReader.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace vastel {

NumberKeyReader::NumberKeyReader(const QLocale& locale) : decimalPoint_(locale.decimalPoint()) {
    if (decimalPoint_.isEmpty()) decimalPoint_ = QStringLiteral(".");
}

long double NumberKeyReader::key(QStringView text) const {
    const QChar separatorStart = decimalPoint_.front();
    const bool longSeparator = decimalPoint_.size() > 1;
    // Most cells are whole numbers of a few digits: they are read in one pass with no text
    // built. Digits of any script count, so a locale that shows native digits sorts by value.
    std::string reduced;
    int separators = 0;
    int digits = 0;
    uint64_t whole = 0;
    bool wholeExact = true;
    const char16_t* p = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        const char16_t u = p[i];
        if (u == separatorStart.unicode() &&
            (!longSeparator || text.mid(i).startsWith(decimalPoint_))) {
            if (separators == 0 && wholeExact) reduced.assign(std::to_string(whole));
            reduced.push_back('.');
            ++separators;
            i += decimalPoint_.size();
            continue;
        }
        ++i;
        int value;
        if (u >= u'0' && u <= u'9') {
            value = u - u'0';
        } else if (u < 0x80) {
            continue;
        } else {
            const QChar c(u);
            if (!c.isDigit()) continue;
            value = c.digitValue();
        }
        ++digits;
        if (separators > 0 || !wholeExact) {
            reduced.push_back(char('0' + value));
            continue;
        }
        if (whole > (UINT64_MAX - uint64_t(value)) / 10) {
            // Past 2^64: go on as text from here.
            wholeExact = false;
            reduced.assign(std::to_string(whole));
            reduced.push_back(char('0' + value));
            continue;
        }
        whole = whole * 10 + uint64_t(value);
    }
    if (digits == 0 || separators > 1) return 0.0L;
    // Whole numbers below 2^64 are exact in extended precision and need no text conversion.
    if (separators == 0 && wholeExact) return static_cast<long double>(whole);

    long double result = 0.0L;
    const char* begin = reduced.data();
    const char* end = begin + reduced.size();
    const auto [ptr, ec] = std::from_chars(begin, end, result, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end) return 0.0L;
    return result;
}

}  // namespace vastel
