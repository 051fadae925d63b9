#include "platform/Paths.h"

#include <pwd.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vastel {

namespace {
QString envFolder(const char* name) {
    const QByteArray value = qgetenv(name);
    // The XDG rules ignore relative values.
    if (value.isEmpty() || value[0] != '/') return {};
    return QFile::decodeName(value);
}
const QString kVendorApp = QStringLiteral("/Tessivo Corporation/Vastel");
}  // namespace

QString homeFolder() {
    QString home = envFolder("HOME");
    if (!home.isEmpty()) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return QFile::decodeName(pw->pw_dir);
    return QStringLiteral("/");
}

QString configHome() {
    const QString v = envFolder("XDG_CONFIG_HOME");
    return v.isEmpty() ? homeFolder() + QStringLiteral("/.config") : v;
}

QString dataHome() {
    const QString v = envFolder("XDG_DATA_HOME");
    return v.isEmpty() ? homeFolder() + QStringLiteral("/.local/share") : v;
}

QString settingsFolder() { return configHome() + kVendorApp; }

QString mainSettingsFile() { return settingsFolder() + QStringLiteral("/3.0.ini"); }

QString secondaryKeyFile(const QString& keyName) {
    QString file = keyName;
    if (!file.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive)) file += QStringLiteral(".ini");
    return settingsFolder() + QLatin1Char('/') + file;
}

QString programDataFolder() { return dataHome() + kVendorApp; }

QString programFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return QDir::currentPath();
    return QFileInfo(QFile::decodeName(QByteArray(buf, n))).absolutePath();
}

QString helpFilePath() {
    const QString beside = programFolder() + QStringLiteral("/vastel30.html");
    if (QFileInfo::exists(beside)) return beside;
    return QDir::cleanPath(programFolder() +
                           QStringLiteral("/" VASTEL_DATA_FROM_BIN "/vastel30.html"));
}

}  // namespace vastel
