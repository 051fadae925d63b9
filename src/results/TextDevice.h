#pragma once

#include <QFont>
#include <QString>

namespace vastel {

// A device that prints lines of text in one font, top to bottom, and starts a new page when the
// next line does not fit. Every step reports whether it worked.
class TextDevice {
  public:
    virtual ~TextDevice() = default;

    // Opens the device and starts one job.
    virtual bool open(const QFont& font, const QString& jobName) = 0;
    virtual bool writeLine(const QString& text) = 0;
    // Ends the job; safe to call after a failure and when the device is not open.
    virtual bool close() = 0;
};

}  // namespace vastel
