#pragma once

#include "core/JobSink.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace vastel {

// Why one member could not be restored.
struct MemberFailure {
    enum class Kind {
        Library,            // libzip's error; code is its ZIP_ER_* code
        System,             // the system refused; code is errno
        LeavesDestination,  // the name would put the file outside the destination folder
        DuplicateName,      // a member of that name was restored already
    };
    QByteArray member;  // raw name
    Kind kind = Kind::Library;
    int code = 0;
    QString text;  // the library's or the system's words, empty for the others
};

// What the restore tells whoever runs it, beyond the job contract: per-member failures and
// the password of encrypted members. item() gets each member's index and name, progress()
// the bytes written of all members.
class RestoreSink : public JobSink {
  public:
    // The member was not restored; the restore goes on with the next one.
    virtual void memberFailed(const MemberFailure& failure) {}
    // The password for an encrypted member; nullopt gives none (the member then fails).
    virtual std::optional<QByteArray> password(const QByteArray& member) { return std::nullopt; }
};

}  // namespace vastel
