#include "finders/BrowseColumns.h"

#include "core/ShortDateReader.h"
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "platform/NativePath.h"

#include <cmath>
#include <memory>
#include <string>

namespace vastel {

namespace {

// textKey of a name's text: for ASCII bytes the bytes with a to z upper-cased, without making
// the text; other names through their display text, as the text sort reads them.
std::string nameKey(const QByteArray& name) {
    std::string key(name.constData(), size_t(name.size()));
    for (char& c : key) {
        if (uchar(c) >= 0x80) return textKey(displayPath(name));
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    return key;
}

}  // namespace

BrowseColumns::BrowseColumns(std::vector<QString> typeTexts) : typeTexts_(std::move(typeTexts)) {}

QStringList BrowseColumns::headers() {
    return {QStringLiteral("Modified"), QStringLiteral("Time"),     QStringLiteral("Access"),
            QStringLiteral("Size"),     QStringLiteral("Filename"), QStringLiteral("Type")};
}

const QString& BrowseColumns::typeText(qint32 type) const {
    static const QString none;
    return type >= 0 && size_t(type) < typeTexts_.size() ? typeTexts_[size_t(type)] : none;
}

QString BrowseColumns::text(const ResultRecord& r, int column) const {
    switch (column) {
        case Modified:
            return stamps_.text(stamps_.dateIndex(r.modified));
        case Time:
            return stamps_.text(stamps_.timeIndex(r.modified));
        case Access:
            return stamps_.text(stamps_.dateIndex(r.accessed));
        case Size:
            return thousandsText(r.size);
        case Filename:
            return displayPath(r.name());
        case Type:
            return typeText(r.type);
        default:
            return {};
    }
}

ResultColumns::NumberKeyOf BrowseColumns::numberKeyOf(int column) const {
    if (column != Size) return ResultColumns::numberKeyOf(column);
    return [](const ResultRecord& r) { return std::fabs(static_cast<long double>(r.size)); };
}

ResultColumns::WholeKeyOf BrowseColumns::wholeNumberKeyOf(int column) const {
    if (column != Size) return {};
    return [](const ResultRecord& r) { return sizeKey(r.size); };
}

ResultColumns::DateKeyOf BrowseColumns::dateKeyOf(int column) const {
    if (column != Modified && column != Access) return ResultColumns::dateKeyOf(column);
    // Many files share a date: each distinct text is read once, as the locale reads it.
    struct Cache {
        ShortDateReader reader;
        std::vector<double> keyOfText;  // by StampTexts index; NaN: not read yet
    };
    auto cache = std::make_shared<Cache>();
    const bool modified = column == Modified;
    return [this, cache, modified](const ResultRecord& r) {
        const int index = stamps_.dateIndex(modified ? r.modified : r.accessed);
        if (size_t(index) >= cache->keyOfText.size())
            cache->keyOfText.resize(stamps_.size(), std::nan(""));
        double& key = cache->keyOfText[size_t(index)];
        if (std::isnan(key)) key = cache->reader.key(stamps_.text(index));
        return key;
    };
}

ResultColumns::TextKeyOf BrowseColumns::textKeyOf(int column) const {
    if (column == Filename)
        return [](const ResultRecord& r) { return nameKey(r.name().toByteArray()); };
    if (column != Type) return ResultColumns::textKeyOf(column);
    auto keys = std::make_shared<std::vector<std::string>>();
    keys->reserve(typeTexts_.size());
    for (const QString& t : typeTexts_) keys->push_back(textKey(t));
    return [keys](const ResultRecord& r) {
        return r.type >= 0 && size_t(r.type) < keys->size() ? (*keys)[size_t(r.type)]
                                                            : std::string();
    };
}

}  // namespace vastel
