#include "removal/SafeHarborCheck.h"

#include "protect/SafeHarbor.h"

namespace vastel {

namespace {
// The program's own Safe Harbor, the launcher's lists once it is shown.
int programReason(const QByteArray& path, bool isFile) {
    int reason = 0;
    safeHarbor().isInSafeHarbor(path, isFile, &reason);
    return reason;
}

SafeHarborCheck& installed() {
    static SafeHarborCheck check{&programReason, &SafeHarbor::safeHarborReason};
    return check;
}
}  // namespace

int SafeHarborCheck::reason(const QByteArray& path, bool isFile) const {
    // A check without a test falls back to the program's lists: never "unprotected" by default.
    return reasonOf ? reasonOf(path, isFile) : programReason(path, isFile);
}

QString SafeHarborCheck::text(int code) const {
    return reasonText ? reasonText(code) : SafeHarbor::safeHarborReason(code);
}

void setSafeHarborCheck(SafeHarborCheck check) { installed() = std::move(check); }

const SafeHarborCheck& safeHarborCheck() { return installed(); }

}  // namespace vastel
