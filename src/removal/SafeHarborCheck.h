#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace vastel {

class SafeHarbor;

// How the removal windows ask the Safe Harbor about a path: a reason code (0 = not protected,
// 1 to 5 = protected, for that reason) and the text of a reason.
struct SafeHarborCheck {
    std::function<int(const QByteArray& path, bool isFile)> reasonOf;
    std::function<QString(int reason)> reasonText;

    int reason(const QByteArray& path, bool isFile) const;
    QString text(int reason) const;
    static bool isProtected(int reason) { return reason >= 1 && reason <= 5; }

    // The test over one Safe Harbor's lists (which must outlive the check).
    static SafeHarborCheck over(SafeHarbor& harbor);
};

}  // namespace vastel
