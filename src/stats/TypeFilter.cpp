#include "stats/TypeFilter.h"

#include "stats/StatRules.h"

#include <algorithm>

namespace vastel {

QStringList TypeFilter::linesOfPatterns(const QString& patterns) {
    QStringList lines;
    for (const QString& p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = p.trimmed();
        if (!pattern.isEmpty()) lines << pattern + QLatin1Char('\t');
    }
    return lines;
}

TypeMatcher::TypeMatcher(const TypeFilter& filter)
    : all_(filter.allTypes), include_(filter.includeTypes), exclude_(filter.excludeTypes) {
    for (const QString& line : filter.types) extensions_.push_back(extractExtension(line).toUtf8());
}

bool TypeMatcher::isThisSelected(const QByteArray& name) const {
    if (all_) return true;
    const QByteArray extension = fileExtension(name).toByteArray().toLower();
    const bool listed =
        std::find(extensions_.begin(), extensions_.end(), extension) != extensions_.end();
    return listed ? include_ : exclude_;
}

}  // namespace vastel
