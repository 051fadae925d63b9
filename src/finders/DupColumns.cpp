#include "finders/DupColumns.h"

#include "core/ShortDateReader.h"
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "finders/DupFinder.h"
#include "platform/NativePath.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

namespace vastel {

namespace {

using Field = DupColumns::Field;

constexpr Field kDuplicateFields[] = {Field::Name,   Field::Size,   Field::Modified, Field::Time,
                                      Field::Access, Field::Folder, Field::Type};
constexpr Field kFileHogFields[] = {Field::Size,   Field::Modified, Field::Time,
                                    Field::Access, Field::Path,     Field::Type};

// textKey of the text of path bytes: for ASCII bytes (most paths) the bytes themselves with
// a to z upper-cased, without making the text.
std::string pathKey(QByteArrayView bytes) {
    std::string key(bytes.data(), size_t(bytes.size()));
    for (char& c : key) {
        if (uchar(c) >= 0x80) return textKey(displayPath(bytes.toByteArray()));
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    return key;
}

}  // namespace

DupColumns::DupColumns(FinderMode mode, StampTexts stamps, std::vector<QString> typeTexts)
    : mode_(mode), stamps_(std::move(stamps)), typeTexts_(std::move(typeTexts)) {}

DupColumns::DupColumns(FinderMode mode) : DupColumns(mode, StampTexts(), {}) {}

int DupColumns::count() const {
    return mode_ == FinderMode::Duplicates ? int(std::size(kDuplicateFields))
                                           : int(std::size(kFileHogFields));
}

DupColumns::Field DupColumns::field(int column) const {
    if (column < 0 || column >= count()) return Field::None;
    return mode_ == FinderMode::Duplicates ? kDuplicateFields[column] : kFileHogFields[column];
}

int DupColumns::sharedFileColumn() const {
    for (int c = 0; c < count(); ++c)
        if (field(c) == Field::Size) return c;
    return -1;
}

const QString& DupColumns::typeText(qint32 type) const {
    static const QString none;
    return type >= 0 && size_t(type) < typeTexts_.size() ? typeTexts_[size_t(type)] : none;
}

QString DupColumns::text(const ResultRecord& r, int column) const {
    switch (field(column)) {
        case Field::Name:
            return displayPath(r.name());
        case Field::Size:
            return thousandsText(r.size);
        case Field::Modified:
            return stamps_.text(stamps_.dateIndex(r.modified));
        case Field::Time:
            return stamps_.text(stamps_.timeIndex(r.modified));
        case Field::Access:
            return stamps_.text(stamps_.dateIndex(r.accessed));
        case Field::Folder:
            return displayPath(r.folder());
        case Field::Path:
            // The path keeps its case: on this system another case names another file.
            return displayPath(r.path());
        case Field::Type:
            return typeText(r.type);
        case Field::None:
            break;
    }
    return {};
}

ResultColumns::NumberKeyOf DupColumns::numberKeyOf(int column) const {
    if (field(column) != Field::Size) return ResultColumns::numberKeyOf(column);
    // The text's digits without separators: the size, signs being dropped.
    return [](const ResultRecord& r) { return std::fabs(static_cast<long double>(r.size)); };
}

ResultColumns::WholeKeyOf DupColumns::wholeNumberKeyOf(int column) const {
    if (field(column) != Field::Size) return {};
    return [](const ResultRecord& r) { return sizeKey(r.size); };
}

ResultColumns::DateKeyOf DupColumns::dateKeyOf(int column) const {
    const Field f = field(column);
    if (f != Field::Modified && f != Field::Access) return ResultColumns::dateKeyOf(column);
    // Many rows share a date text: each distinct text is read once, as the locale reads it now
    // (two-digit years placed in their hundred years), so the order is the text sort's.
    struct Cache {
        ShortDateReader reader;
        std::vector<double> keyOfText;  // by StampTexts index; NaN: not read yet
    };
    auto cache = std::make_shared<Cache>();
    const bool modified = f == Field::Modified;
    return [this, cache, modified](const ResultRecord& r) {
        const int index = stamps_.dateIndex(modified ? r.modified : r.accessed);
        if (size_t(index) >= cache->keyOfText.size())
            cache->keyOfText.resize(stamps_.size(), std::nan(""));
        double& key = cache->keyOfText[size_t(index)];
        if (std::isnan(key)) key = cache->reader.key(stamps_.text(index));
        return key;
    };
}

ResultColumns::TextKeyOf DupColumns::textKeyOf(int column) const {
    switch (field(column)) {
        case Field::Name:
            return [](const ResultRecord& r) { return pathKey(r.name()); };
        case Field::Folder:
            return [](const ResultRecord& r) { return pathKey(r.folder()); };
        case Field::Path:
            return [](const ResultRecord& r) { return pathKey(r.path()); };
        case Field::Type:
            break;
        default:
            return ResultColumns::textKeyOf(column);
    }
    auto keys = std::make_shared<std::vector<std::string>>();
    keys->reserve(typeTexts_.size());
    for (const QString& t : typeTexts_) keys->push_back(textKey(t));
    return [this, keys](const ResultRecord& r) {
        return r.type >= 0 && size_t(r.type) < keys->size() ? (*keys)[size_t(r.type)]
                                                            : textKey(typeText(r.type));
    };
}

}  // namespace vastel
