#include "finders/FoundColumns.h"

#include "core/ShortDateReader.h"
#include "core/Utility.h"
#include "platform/NativePath.h"

#include <cmath>
#include <cstring>

namespace vastel {

qint32 FoundTypes::typeOf(QByteArrayView name) {
    const void* found = name.isEmpty() ? nullptr : ::memrchr(name.data(), '.', size_t(name.size()));
    const qsizetype dot = found ? static_cast<const char*>(found) - name.data() : -1;
    const qsizetype length = dot < 0 ? 0 : name.size() - dot;
    if (length <= 8) {
        // Names hold no NUL byte, so the packed bytes tell every short extension apart.
        quint64 key = 0;
        for (qsizetype i = 0; i < length; ++i) key |= quint64(uchar(name[dot + i])) << (8 * i);
        // A small table in front of the hash: a walk asks once per file.
        RecentType& recent = recent_[size_t((key * 0x9E3779B97F4A7C15ull) >> 56)];
        if (recent.index >= 0 && recent.key == key) return recent.index;
        const auto it = byShortExtension_.constFind(key);
        qint32 index;
        if (it != byShortExtension_.constEnd()) {
            index = it.value();
        } else {
            index = typeOfLong(name, dot);
            byShortExtension_.insert(key, index);
        }
        recent = {key, index};
        return index;
    }
    return typeOfLong(name, dot);
}

qint32 FoundTypes::typeOfLong(QByteArrayView name, qsizetype dot) {
    const QByteArray view =
        dot < 0 ? QByteArray() : QByteArray::fromRawData(name.data() + dot, name.size() - dot);
    const auto it = byExtension_.constFind(view);
    if (it != byExtension_.constEnd()) return it.value();
    const QByteArray extension(view.constData(), view.size());
    texts_.push_back(fileTypeText(displayPath(extension)));
    const qint32 index = qint32(texts_.size() - 1);
    byExtension_.insert(extension, index);
    return index;
}

const QString& FoundTypes::text(qint32 type) const {
    static const QString none;
    return type >= 0 && size_t(type) < texts_.size() ? texts_[size_t(type)] : none;
}

FoundColumns::FoundColumns(std::vector<Field> fields, std::shared_ptr<const FoundTypes> types)
    : fields_(std::move(fields)), types_(std::move(types)) {}

std::shared_ptr<FoundColumns> FoundColumns::quickClean(std::shared_ptr<const FoundTypes> types) {
    return std::make_shared<FoundColumns>(
        std::vector<Field>{Field::Size, Field::Modified, Field::Time, Field::Access, Field::Path,
                           Field::Type},
        std::move(types));
}

std::shared_ptr<FoundColumns> FoundColumns::filesByDate(std::shared_ptr<const FoundTypes> types) {
    return std::make_shared<FoundColumns>(
        std::vector<Field>{Field::Name, Field::Access, Field::Created, Field::Modified, Field::Size,
                           Field::Folder, Field::Type},
        std::move(types));
}

quint32 FoundColumns::stampOf(const ResultRecord& r, Field f) const {
    switch (f) {
        case Field::Modified:
        case Field::Time:
            return r.modified;
        case Field::Access:
            return r.accessed;
        case Field::Created:
            return r.created;
        default:
            return 0;
    }
}

QString FoundColumns::text(const ResultRecord& r, int column) const {
    if (column < 0 || column >= count()) return {};
    const Field f = fields_[size_t(column)];
    switch (f) {
        case Field::Name:
            return displayPath(r.name());
        case Field::Size:
            return thousandsText(r.size);
        case Field::Modified:
        case Field::Access:
        case Field::Created:
            return dateText(stampOf(r, f));
        case Field::Time:
            return timeText(r.modified);
        case Field::Path:
            return displayPath(r.path());
        case Field::Folder:
            return displayPath(r.folder());
        case Field::Type:
            return types_ ? types_->text(r.type) : QString();
    }
    return {};
}

ResultColumns::NumberKeyOf FoundColumns::numberKeyOf(int column) const {
    if (column < 0 || column >= count() || fields_[size_t(column)] != Field::Size)
        return ResultColumns::numberKeyOf(column);
    return [](const ResultRecord& r) { return std::fabs(static_cast<long double>(r.size)); };
}

ResultColumns::WholeKeyOf FoundColumns::wholeNumberKeyOf(int column) const {
    if (column < 0 || column >= count() || fields_[size_t(column)] != Field::Size) return {};
    return [](const ResultRecord& r) { return sizeKey(r.size); };
}

ResultColumns::DateKeyOf FoundColumns::dateKeyOf(int column) const {
    if (column < 0 || column >= count()) return ResultColumns::dateKeyOf(column);
    const Field f = fields_[size_t(column)];
    if (f != Field::Modified && f != Field::Access && f != Field::Created)
        return ResultColumns::dateKeyOf(column);
    // Many rows share a date text: each distinct text is read once, as the locale reads it.
    struct Cache {
        ShortDateReader reader;
        std::vector<double> keyOfText;  // by StampTexts index; NaN: not read yet
    };
    auto cache = std::make_shared<Cache>();
    return [this, cache, f](const ResultRecord& r) {
        const int index = stamps_.dateIndex(stampOf(r, f));
        if (size_t(index) >= cache->keyOfText.size())
            cache->keyOfText.resize(stamps_.size(), std::nan(""));
        double& key = cache->keyOfText[size_t(index)];
        if (std::isnan(key)) key = cache->reader.key(stamps_.text(index));
        return key;
    };
}

}  // namespace vastel
