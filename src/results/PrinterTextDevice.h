#pragma once

#include "results/TextDevice.h"

#include <QPainter>

class QPrinter;

namespace vastel {

// Prints lines of text on a printer: one line below the other from the top of the printable
// area, a new page when the next line would not fit. No page headers or numbers.
class PrinterTextDevice : public TextDevice {
  public:
    explicit PrinterTextDevice(QPrinter& printer);
    ~PrinterTextDevice() override;

    bool open(const QFont& font, const QString& jobName) override;
    bool writeLine(const QString& text) override;
    bool close() override;

  private:
    bool healthy() const;

    QPrinter& printer_;
    QPainter painter_;
    qreal lineHeight_ = 0;
    qreal ascent_ = 0;
    qreal pageHeight_ = 0;
    qreal y_ = 0;
};

}  // namespace vastel
