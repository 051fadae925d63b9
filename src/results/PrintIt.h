#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAbstractItemModel;
class QPrinter;
class QTableView;

namespace vastel {

class TextDevice;

// The program's printer: the print and printer-setup dialogs configure it, the reports print on
// it. Callers show dialogs().printDialog(currentPrinter(), ...) first and print only on OK.
QPrinter& currentPrinter();

// Prints a grid as a plain-text report on the current printer: the title, the "Printed : " line,
// two empty lines, the header row, then one line per row in fixed-width columns of
// (column width in pixels / 6) characters and a blank each. Reports failures with printError()
// and returns false when the report did not print completely.
bool printGrid(const QTableView& grid, const QString& title);  // widths from the view's header
bool printGrid(const QAbstractItemModel& grid, const QList<int>& columnWidths,
               const QString& title);

// Prints lines (tabs kept as they are) as a report indented by three blanks, in the same way.
bool printTabList(const QStringList& lines, const QString& title);

// The one message every printing failure ends in.
void printError();

// The same reports on any text device (tests use devices that fail on purpose).
bool printGrid(TextDevice& device, const QAbstractItemModel& grid, const QList<int>& columnWidths,
               const QString& title);
bool printTabList(TextDevice& device, const QStringList& lines, const QString& title);

// One field of a grid line: the text cut to width / 6 characters, padded to them, and a blank.
QString gridField(const QString& text, int columnWidth);

}  // namespace vastel
