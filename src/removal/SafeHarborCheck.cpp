#include "removal/SafeHarborCheck.h"

#include "protect/SafeHarbor.h"

namespace vastel {

int SafeHarborCheck::reason(const QByteArray& path, bool isFile) const {
    // A check without a test protects every path: never "unprotected" by default.
    return reasonOf ? reasonOf(path, isFile) : int(SafeHarbor::SystemFolder);
}

QString SafeHarborCheck::text(int code) const {
    return reasonText ? reasonText(code) : SafeHarbor::safeHarborReason(code);
}

SafeHarborCheck SafeHarborCheck::over(SafeHarbor& harbor) {
    SafeHarborCheck check;
    check.reasonOf = [&harbor](const QByteArray& path, bool isFile) {
        int reason = 0;
        harbor.isInSafeHarbor(path, isFile, &reason);
        return reason;
    };
    check.reasonText = &SafeHarbor::safeHarborReason;
    return check;
}

}  // namespace vastel
