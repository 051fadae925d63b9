#include "restore/MemberPath.h"

namespace vastel {

QByteArray MemberPath::key() const {
    QByteArray key = folders.join('/');
    if (!file.isEmpty()) {
        if (!key.isEmpty()) key += '/';
        key += file;
    }
    return key;
}

bool splitMemberName(const QByteArray& name, MemberPath& out) {
    out = {};
    if (name.isEmpty() || name.startsWith('/')) return false;
    const bool folderMember = name.endsWith('/');
    const QByteArrayList parts = name.split('/');
    QByteArrayList kept;
    for (const QByteArray& part : parts) {
        if (part == "..") return false;
        if (part.isEmpty() || part == ".") continue;
        kept << part;
    }
    if (kept.isEmpty()) return false;
    if (!folderMember) out.file = kept.takeLast();
    out.folders = kept;
    return true;
}

}  // namespace vastel
