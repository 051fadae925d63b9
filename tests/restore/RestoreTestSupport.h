#pragma once

#include "restore/RestoreSink.h"

#include <QByteArray>
#include <QList>
#include <ctime>
#include <optional>
#include <utility>
#include <vector>

namespace vastel::test {

// Records what a restore reports and answers its password requests from a script.
class RecordingRestoreSink : public RestoreSink {
  public:
    void memberFailed(const MemberFailure& failure) override { failures.push_back(failure); }
    std::optional<QByteArray> password(const QByteArray& member) override {
        asked << member;
        if (passwords.empty()) return std::nullopt;
        const std::optional<QByteArray> next = passwords.front();
        passwords.erase(passwords.begin());
        return next;
    }
    QList<QByteArray> failedMembers() const {
        QList<QByteArray> out;
        for (const MemberFailure& f : failures) out << f.member;
        return out;
    }
    std::vector<MemberFailure> failures;
    std::vector<std::optional<QByteArray>> passwords;
    QList<QByteArray> asked;
};

// A member to write into a hand-made archive.
struct RawMember {
    RawMember(QByteArray name, QByteArray data, time_t mtime = 0, int encryption = 0,
              QByteArray password = {}, bool store = false)
        : name(std::move(name)),
          data(std::move(data)),
          mtime(mtime),
          encryption(encryption),
          password(std::move(password)),
          store(store) {}
    QByteArray name;
    QByteArray data;
    time_t mtime = 0;
    int encryption = 0;  // ZIP_EM_*
    QByteArray password;
    bool store = false;  // uncompressed, so that its bytes can be found in the archive
};

// Writes an archive with libzip, names taken as raw bytes; false when libzip refused.
bool writeArchive(const QByteArray& path, const std::vector<RawMember>& members);

// Replaces the first occurrence of `from` in the file by `to` (same length), as many times
// as asked; false when it is not there.
bool patchFile(const QByteArray& path, const QByteArray& from, const QByteArray& to, int times = 1);

// The names in a folder that start with the restore's temporary prefix.
bool holdsTemporaryFiles(const QByteArray& folder);

}  // namespace vastel::test
