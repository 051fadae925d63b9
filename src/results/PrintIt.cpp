#include "results/PrintIt.h"

#include "core/DateTexts.h"
#include "results/PrinterTextDevice.h"
#include "platform/Dialogs.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QPrinter>
#include <QTableView>

namespace vastel {

namespace {

const QString kIndent = QStringLiteral("   ");

// The hourglass for as long as the report's lines are written.
class WaitCursor {
  public:
    WaitCursor() {
        if (qGuiApp) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() { restore(); }
    void restore() {
        if (active_ && qGuiApp) QGuiApplication::restoreOverrideCursor();
        active_ = false;
    }

  private:
    bool active_ = true;
};

QFont printerFont(const QString& family) {
    QFont font(family, 8);
    // Neither family needs to be installed; any fixed-pitch face keeps the columns aligned.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QString printedLine() {
    const QDateTime now = QDateTime::currentDateTime();
    return QStringLiteral("Printed : ") + dateText(now) + QStringLiteral("  ") +
           QLocale().toString(now.time(), longTimeFormat());
}

// Opens the device and writes the four lines above the content. Any failure ends the report.
bool beginReport(TextDevice& device, const QFont& font, const QString& title,
                 const QString& indent) {
    const bool ok = device.open(font, title) && device.writeLine(indent + title) &&
                    device.writeLine(indent + printedLine()) && device.writeLine(QString()) &&
                    device.writeLine(QString());
    if (!ok) {
        device.close();
        printError();
    }
    return ok;
}

// Writes the content lines under the hourglass; the first failing line ends the report.
template <typename LineOf>
bool writeContent(TextDevice& device, int lineCount, LineOf lineOf) {
    WaitCursor wait;
    for (int i = 0; i < lineCount; ++i) {
        if (!device.writeLine(lineOf(i))) {
            wait.restore();
            device.close();
            printError();
            return false;
        }
    }
    wait.restore();
    // A job that cannot be finished did not print, whatever reached the device before.
    if (!device.close()) {
        printError();
        return false;
    }
    return true;
}

QString gridLine(const QAbstractItemModel& grid, const QList<int>& widths, int row) {
    QString line;
    for (int c = 0; c < grid.columnCount(); ++c) {
        const QString text = row < 0 ? grid.headerData(c, Qt::Horizontal).toString()
                                     : grid.data(grid.index(row, c)).toString();
        line += gridField(text, widths.value(c, 0));
    }
    return line;
}

}  // namespace

QPrinter& currentPrinter() {
    // Made on first use, after the application object, and never destroyed: a printer torn
    // down after the application may call into a print plugin that is gone.
    static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}

void printError() {
    dialogs().message(Beep::None, BoxIcon::Error,
                      QStringLiteral("Error printing report ... quitting"));
}

QString gridField(const QString& text, int columnWidth) {
    const int w = columnWidth > 0 ? columnWidth / 6 : 0;
    QString field = text.left(w);
    // Never leave half of a character that takes two UTF-16 units.
    if (field.size() == w && w > 0 && field.back().isHighSurrogate()) field.chop(1);
    return field.leftJustified(w, QLatin1Char(' ')) + QLatin1Char(' ');
}

bool printGrid(TextDevice& device, const QAbstractItemModel& grid, const QList<int>& columnWidths,
               const QString& title) {
    if (!beginReport(device, printerFont(QStringLiteral("Courier New")), title, QString()))
        return false;
    // Line 0 is the header row; the model's rows follow.
    return writeContent(device, grid.rowCount() + 1,
                        [&](int i) { return gridLine(grid, columnWidths, i - 1); });
}

bool printTabList(TextDevice& device, const QStringList& lines, const QString& title) {
    if (!beginReport(device, printerFont(QStringLiteral("Courier")), title, kIndent)) return false;
    return writeContent(device, int(lines.size()), [&](int i) { return kIndent + lines.at(i); });
}

bool printGrid(const QAbstractItemModel& grid, const QList<int>& columnWidths,
               const QString& title) {
    PrinterTextDevice device(currentPrinter());
    return printGrid(device, grid, columnWidths, title);
}

bool printGrid(const QTableView& grid, const QString& title) {
    if (!grid.model()) return false;
    QList<int> widths;
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        widths.append(grid.horizontalHeader()->sectionSize(c));
    return printGrid(*grid.model(), widths, title);
}

bool printTabList(const QStringList& lines, const QString& title) {
    PrinterTextDevice device(currentPrinter());
    return printTabList(device, lines, title);
}

}  // namespace vastel
