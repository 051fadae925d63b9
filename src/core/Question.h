#pragma once

#include <QByteArray>

namespace vastel {

// A decision a job needs before it goes on, as a value; the sink answers it.
struct Question {
    enum class Kind {
        DeleteReadOnly,  // the file is read-only: delete it and go on?
        DeleteHidden,
        DeleteSystem,
    };
    Kind kind = Kind::DeleteReadOnly;
    QByteArray path;
};

}  // namespace vastel
