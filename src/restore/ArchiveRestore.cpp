#include "restore/ArchiveRestore.h"

#include "restore/ArchiveListing.h"
#include "restore/MemberPath.h"
#include "restore/MemberWriter.h"

#include <zip.h>

#include <QSet>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

namespace vastel {

namespace {

constexpr qint64 kChunk = 1 << 20;

QString zipText(zip_error_t* error) { return QString::fromLocal8Bit(zip_error_strerror(error)); }

QString zipCodeText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = zipText(&error);
    zip_error_fini(&error);
    return text;
}

MemberFailure systemFailure(const QByteArray& member, int code) {
    return {member, MemberFailure::Kind::System, code, QString::fromLocal8Bit(std::strerror(code))};
}

MemberFailure libraryFailure(const QByteArray& member, int code) {
    return {member, MemberFailure::Kind::Library, code, zipCodeText(code)};
}

// The permission bits a member was archived with, or -1 when it carries none.
int storedMode(zip_t* archive, quint64 index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0 ||
        system != ZIP_OPSYS_UNIX)
        return -1;
    const int mode = int((attributes >> 16) & 0777);
    return mode != 0 ? mode : -1;
}

// One restore: the open archive, the writer and the password in use.
class Restore {
  public:
    Restore(zip_t* archive, MemberWriter& writer, RestoreSink& sink, const StopToken& stop)
        : archive_(archive), writer_(writer), sink_(sink), stop_(stop) {}

    void run(const std::vector<ArchiveMember>& members, RestoreOutcome& outcome);

  private:
    enum class Result { Restored, FolderMade, Failed, Stopped };
    Result restoreMember(const ArchiveMember& member);
    zip_file_t* openMember(const ArchiveMember& member, int* code);
    Result copyMember(const ArchiveMember& member, zip_file_t* file);

    zip_t* archive_;
    MemberWriter& writer_;
    RestoreSink& sink_;
    const StopToken& stop_;
    std::optional<QByteArray> password_;
    QSet<QByteArray> restoredKeys_;
    std::unique_ptr<char[]> buffer_{new char[kChunk]};
    qint64 done_ = 0;
    qint64 total_ = 0;
};

void Restore::run(const std::vector<ArchiveMember>& members, RestoreOutcome& outcome) {
    for (const ArchiveMember& member : members) total_ += member.size;
    sink_.progress(0, total_);
    qint64 i = 0;
    for (const ArchiveMember& member : members) {
        sink_.tick();
        if (stop_.requested()) {
            outcome.stopped = true;
            break;
        }
        sink_.item(i++, member.name);
        switch (restoreMember(member)) {
            case Result::Restored:
                ++outcome.restored;
                break;
            case Result::FolderMade:
                break;
            case Result::Failed:
                ++outcome.failed;
                break;
            case Result::Stopped:
                outcome.stopped = true;
                return;
        }
    }
    sink_.progress(total_, total_);
}

Restore::Result Restore::restoreMember(const ArchiveMember& member) {
    const auto failed = [&](const MemberFailure& failure) {
        sink_.memberFailed(failure);
        done_ += member.size;
        return Result::Failed;
    };
    MemberPath path;
    if (!splitMemberName(member.name, path))
        return failed({member.name, MemberFailure::Kind::LeavesDestination, 0, {}});
    const QByteArray key = path.key();
    if (restoredKeys_.contains(key))
        return failed({member.name, MemberFailure::Kind::DuplicateName, 0, {}});
    if (!writer_.openFolders(path.folders)) {
        // A link inside the destination is never followed: the name would lead outside it.
        if (errno == ELOOP)
            return failed({member.name, MemberFailure::Kind::LeavesDestination, 0, {}});
        return failed(systemFailure(member.name, errno));
    }
    if (path.file.isEmpty()) {
        restoredKeys_.insert(key);
        return Result::FolderMade;
    }

    int code = 0;
    zip_file_t* file = openMember(member, &code);
    if (!file) return failed(libraryFailure(member.name, code));
    if (!writer_.begin(path.file)) {
        const int error = errno;
        zip_fclose(file);
        return failed(systemFailure(member.name, error));
    }
    const qint64 before = done_;
    const Result result = copyMember(member, file);
    zip_fclose(file);
    if (result == Result::Failed) done_ = before + member.size;
    // Only a member that was put back takes its name: a later one of that name may still
    // come back when this one failed.
    if (result == Result::Restored) restoredKeys_.insert(key);
    return result;
}

zip_file_t* Restore::openMember(const ArchiveMember& member, int* code) {
    if (!member.encrypted) {
        zip_file_t* file = zip_fopen_index(archive_, member.index, 0);
        if (!file) *code = zip_error_code_zip(zip_get_error(archive_));
        return file;
    }
    // The password that opened the last member is tried first; the user is asked when it
    // is missing or wrong, once per member.
    for (int round = 0; round < 2; ++round) {
        if (password_ || round == 1) {
            zip_error_clear(archive_);
            zip_file_t* file = zip_fopen_index_encrypted(
                archive_, member.index, 0, password_ ? password_->constData() : nullptr);
            if (file) return file;
            *code = zip_error_code_zip(zip_get_error(archive_));
            if (*code != ZIP_ER_WRONGPASSWD && *code != ZIP_ER_NOPASSWD) return nullptr;
            if (round == 1) return nullptr;
        }
        const std::optional<QByteArray> given = sink_.password(member.name);
        if (!given) {
            *code = password_ ? ZIP_ER_WRONGPASSWD : ZIP_ER_NOPASSWD;
            return nullptr;
        }
        password_ = given;
    }
    return nullptr;
}

Restore::Result Restore::copyMember(const ArchiveMember& member, zip_file_t* file) {
    qint64 copied = 0;
    for (;;) {
        sink_.tick();
        if (stop_.requested()) {
            writer_.discard();
            return Result::Stopped;
        }
        // One byte more than the stated size is asked for: a member that inflates beyond
        // what its header says is refused instead of filling the disk.
        const qint64 want = std::min<qint64>(kChunk, member.size - copied + 1);
        const zip_int64_t n = zip_fread(file, buffer_.get(), zip_uint64_t(want));
        if (n < 0) {
            writer_.discard();
            sink_.memberFailed(
                libraryFailure(member.name, zip_error_code_zip(zip_file_get_error(file))));
            return Result::Failed;
        }
        if (n == 0) break;
        copied += n;
        if (copied > member.size) {
            writer_.discard();
            sink_.memberFailed(libraryFailure(member.name, ZIP_ER_INCONS));
            return Result::Failed;
        }
        if (!writer_.write(buffer_.get(), n)) {
            const int error = errno;
            writer_.discard();
            sink_.memberFailed(systemFailure(member.name, error));
            return Result::Failed;
        }
        done_ += n;
        sink_.progress(done_, total_);
    }
    if (copied != member.size) {
        writer_.discard();
        sink_.memberFailed(libraryFailure(member.name, ZIP_ER_INCONS));
        return Result::Failed;
    }
    if (!writer_.commit(member.mtime, storedMode(archive_, member.index))) {
        sink_.memberFailed(systemFailure(member.name, errno));
        return Result::Failed;
    }
    return Result::Restored;
}

}  // namespace

RestoreOutcome restoreArchive(const RestoreOptions& options, RestoreSink& sink,
                              const StopToken& stop) {
    RestoreOutcome outcome;
    ArchiveListing listing = listArchive(options.archivePath);
    if (!listing.opened) {
        outcome.error = listing.error;
        return outcome;
    }
    int code = 0;
    zip_t* archive = zip_open(options.archivePath.constData(), ZIP_RDONLY, &code);
    if (!archive) {
        outcome.error = zipCodeText(code);
        return outcome;
    }
    outcome.opened = true;
    std::vector<ArchiveMember> members;
    if (options.only.empty()) {
        members = std::move(listing.members);
    } else {
        for (ArchiveMember& member : listing.members)
            if (std::find(options.only.begin(), options.only.end(), member.index) !=
                options.only.end())
                members.push_back(std::move(member));
    }
    MemberWriter writer(options.destination);
    if (!writer.isOpen()) {
        for (const ArchiveMember& member : members)
            sink.memberFailed(systemFailure(member.name, writer.openError()));
        outcome.failed = int(members.size());
    } else {
        Restore(archive, writer, sink, stop).run(members, outcome);
    }
    zip_discard(archive);
    return outcome;
}

}  // namespace vastel
