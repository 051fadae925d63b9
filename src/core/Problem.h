#pragma once

#include <QByteArray>

namespace vastel {

// Something a job could not do, as a value: the window (or vastel-scan) words it.
struct Problem {
    enum class Kind {
        CannotOpen,     // a file to read
        CannotDelete,   // a file that stays where it is
        CannotZip,      // a file that could not be added to its archive
        CannotCreate,   // a file to write
        CannotWrite,    // writing to a created file failed
        CannotRecycle,  // the trash itself refused; the job ends
    };
    Kind kind = Kind::CannotOpen;
    QByteArray path;  // exact native bytes
    int error = 0;    // errno where the system gave one
};

}  // namespace vastel
