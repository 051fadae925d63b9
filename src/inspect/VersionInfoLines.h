#pragma once

#include <QByteArray>
#include <QStringList>

namespace vastel {

// Replaces `lines` by the version-information lines of a program file: for the first
// translation of its version block, eleven lines "Company: ", "File description: ", ...
// each followed by the separator (a tab when `tabbed`, else nothing; doubled after
// "Copyright: ") and the item's value without leading blanks. No lines for a file without
// version information or without a translation.
void versionInfoLines(const QByteArray& path, QStringList& lines, bool tabbed);

}  // namespace vastel
