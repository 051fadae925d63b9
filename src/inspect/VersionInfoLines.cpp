#include "inspect/VersionInfoLines.h"

#include "platform/PeVersion.h"

namespace vastel {

void versionInfoLines(const QByteArray& path, QStringList& lines, bool tabbed) {
    static const char* const items[][2] = {
        {"CompanyName", "Company: "},
        {"FileDescription", "File description: "},
        {"FileVersion", "File version: "},
        {"InternalName", "Internal name: "},
        {"LegalCopyright", "Copyright: "},
        {"LegalTrademarks", "Trademarks: "},
        {"OriginalFilename", "Original filename: "},
        {"PrivateBuild", "Private build info: "},
        {"ProductName", "Product name: "},
        {"ProductVersion", "Product version: "},
        {"SpecialBuild", "Special build info: "},
    };
    lines.clear();
    const QString separator = tabbed ? QStringLiteral("\t") : QString();
    const std::optional<QByteArray> block = readFileVersionInfo(path);
    if (!block) return;
    const std::optional<QByteArray> translation =
        versionQueryValue(*block, QStringLiteral("\\VarFileInfo\\Translation"));
    if (!translation || translation->size() < 4) return;
    const auto word = [&](int at) {
        return quint16(quint8(translation->at(at)) | quint8(translation->at(at + 1)) << 8);
    };
    const QString table = QStringLiteral("%1%2")
                              .arg(word(0), 4, 16, QLatin1Char('0'))
                              .arg(word(2), 4, 16, QLatin1Char('0'));
    for (const auto& item : items) {
        const QString label = QLatin1String(item[1]);
        QString value = versionQueryString(*block, QStringLiteral("\\StringFileInfo\\") + table +
                                                       QLatin1Char('\\') + QLatin1String(item[0]))
                            .value_or(QString());
        qsizetype blanks = 0;
        while (blanks < value.size() && value.at(blanks) == QLatin1Char(' ')) ++blanks;
        value.remove(0, blanks);
        const QString gap =
            label == QLatin1String("Copyright: ") ? separator + separator : separator;
        lines.append(label + gap + value);
    }
}

}  // namespace vastel
