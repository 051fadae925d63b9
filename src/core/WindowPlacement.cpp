#include "core/WindowPlacement.h"

#include "core/SettingsStore.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vastel {

QString formatPlacement(const WindowPlacement& p) {
    const int fields[] = {p.flags, p.showCmd, p.minX, p.minY,  p.maxX,
                          p.maxY,  p.left,    p.top,  p.right, p.bottom};
    QString text;
    for (int value : fields) text += QString::number(value) + QLatin1Char(' ');
    return text;
}

WindowPlacement parsePlacement(const QString& text) {
    const QStringList parts = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    auto field = [&](int i, int missing) {
        if (i >= parts.size()) return missing;
        const std::optional<qint64> n = parseStoredInteger(parts[i], 32);
        return n ? int(*n) : missing;
    };
    WindowPlacement p;
    p.flags = field(0, 0);
    p.showCmd = field(1, 1);
    p.minX = field(2, 0);
    p.minY = field(3, 0);
    p.maxX = field(4, 0);
    p.maxY = field(5, 0);
    p.left = field(6, 0);
    p.top = field(7, 0);
    p.right = field(8, 0);
    p.bottom = field(9, 0);
    return p;
}

QString programSectionName() {
    if (QCoreApplication::instance()) {
        const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        if (!name.isEmpty()) return name;
    }
    return QStringLiteral("vastel");
}

std::optional<WindowPlacement> readPlacement(const QString& keyName, const QString& section,
                                             const QString& valueName) {
    const SettingsStore store = SettingsStore::forKey(keyName);
    if (!store.hasValue(section, valueName)) return std::nullopt;
    return parsePlacement(store.readString(section, valueName, QString()));
}

void writePlacement(const QString& keyName, const QString& section, const QString& valueName,
                    const WindowPlacement& p) {
    SettingsStore store = SettingsStore::forKey(keyName);
    store.writeString(section, valueName, formatPlacement(p));
}

}  // namespace vastel
