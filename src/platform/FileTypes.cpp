#include "platform/FileTypes.h"

#include <QMimeDatabase>
#include <QMimeType>
#include <algorithm>

namespace vastel {

namespace {

// A glob of the form "*.abc": one leading "*", a dot, then 1 to 4 characters that are neither
// wildcards nor further dots.
bool isShortSuffixGlob(const QString& glob) {
    if (glob.size() < 3 || glob.size() > 6 || !glob.startsWith(QLatin1String("*."))) return false;
    for (qsizetype i = 2; i < glob.size(); ++i) {
        const QChar c = glob[i];
        if (c == u'*' || c == u'?' || c == u'[' || c == u']' || c == u'.' || c == u'\\')
            return false;
    }
    return true;
}

QStringList buildPatternList() {
    QStringList patterns;
    const QList<QMimeType> types = QMimeDatabase().allMimeTypes();
    for (const QMimeType& type : types)
        for (const QString& glob : type.globPatterns())
            if (isShortSuffixGlob(glob)) patterns.append(glob.toLower());
    std::sort(patterns.begin(), patterns.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    patterns.erase(std::unique(patterns.begin(), patterns.end()), patterns.end());
    return patterns;
}

}  // namespace

FileTypeInfo fileTypeOfExtension(const QString& extension) {
    if (extension.isEmpty() || extension.contains(u'*') || extension.contains(u'/')) return {};
    // The glob "*.txt" applied to a name with a neutral stem; a name that is only the
    // extension could hit literal patterns such as ".gitignore" instead.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("x") + extension,
                                                           QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault()) return {};
    return FileTypeInfo{type.name(), type.comment()};
}

QStringList registeredExtensionPatterns() {
    // Building the list loads every type of the database; it does not change while we run.
    static const QStringList patterns = buildPatternList();
    return patterns;
}

}  // namespace vastel
