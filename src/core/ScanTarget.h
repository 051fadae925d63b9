#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace vastel {

// An entry of a drive list: a mounted volume or an extra folder, with its root path as data.
struct ScanTarget {
    enum class Kind { Drive, Folder };
    Kind kind = Kind::Folder;
    QByteArray root;  // exact path of the volume's mount point or of the folder
    QString text;     // what the list shows
    bool isDrive() const { return kind == Kind::Drive; }
};

// Raised by enterTarget when the target cannot be entered.
class TargetError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A drive is ready when its file system answers; a folder always counts as ready.
bool targetReady(const ScanTarget& target);
// Makes the target the process's current folder; throws TargetError on failure.
void enterTarget(const ScanTarget& target);

}  // namespace vastel
