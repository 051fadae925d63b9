#include "results/PrinterTextDevice.h"

#include <QFontMetricsF>
#include <QPrinter>

namespace vastel {

PrinterTextDevice::PrinterTextDevice(QPrinter& printer) : printer_(printer) {}

PrinterTextDevice::~PrinterTextDevice() { close(); }

bool PrinterTextDevice::open(const QFont& font, const QString& jobName) {
    if (painter_.isActive()) return false;
    printer_.setDocName(jobName);
    if (!painter_.begin(&printer_)) return false;
    painter_.setFont(font);
    const QFontMetricsF metrics(painter_.font(), &printer_);
    lineHeight_ = metrics.lineSpacing();
    ascent_ = metrics.ascent();
    pageHeight_ = printer_.height();
    y_ = 0;
    return healthy() && lineHeight_ > 0;
}

bool PrinterTextDevice::writeLine(const QString& text) {
    if (!healthy()) return false;
    if (y_ > 0 && y_ + lineHeight_ > pageHeight_) {
        if (!printer_.newPage()) return false;
        y_ = 0;
    }
    if (!text.isEmpty()) painter_.drawText(QPointF(0, y_ + ascent_), text);
    y_ += lineHeight_;
    return healthy();
}

bool PrinterTextDevice::close() {
    if (!painter_.isActive()) return true;
    const bool ended = painter_.end();
    return ended && printer_.printerState() != QPrinter::Error &&
           printer_.printerState() != QPrinter::Aborted;
}

bool PrinterTextDevice::healthy() const {
    return painter_.isActive() && printer_.printerState() != QPrinter::Error &&
           printer_.printerState() != QPrinter::Aborted;
}

}  // namespace vastel
