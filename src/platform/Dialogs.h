#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;

namespace vastel {

enum class Beep { None, Exclamation, CriticalStop };
enum class BoxIcon { None, Error, Warning, Information, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// Every message box, question, input box and file, folder, font and print dialog goes through
// this seam, so that tests can answer them and read their texts.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A modal box with one OK button, after the given beep.
    virtual void message(Beep beep, BoxIcon icon, const QString& text) = 0;
    // A confirmation with a fixed button set; callers proceed only on Yes (or Ok).
    virtual Answer question(const QString& text, Buttons buttons, BoxIcon icon, Beep beep) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                            const QString& value) = 0;
    // The folder picker; nullopt when cancelled.
    virtual std::optional<QString> pickFolder(const QString& caption, const QString& start) = 0;
    // File open dialog; nullopt when cancelled.
    virtual std::optional<QString> openFile(const QString& caption, const QString& start,
                                            const QString& filter) = 0;
    // The font dialog. Fonts travel in their QFont::toString() form, which keeps every attribute
    // the dialog sets, so that this layer (and vastel-scan) needs no QtGui.
    virtual std::optional<QString> pickFont(const QString& initial, bool fixedPitchOnly) = 0;
    // Print and printer-setup dialogs work on the caller's printer; false when cancelled.
    virtual bool printDialog(QPrinter& printer, bool allowSelection) = 0;
    virtual bool printerSetupDialog(QPrinter& printer) = 0;
    // A print preview that draws its pages with `paint`; true when the user printed from it.
    virtual bool printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) = 0;
};

// The installed implementation. The program installs the widget dialogs at start; tests
// install a ScriptedDialogs. Without either, a scripted one that records and declines is used.
Dialogs& dialogs();
void setDialogs(Dialogs* implementation);

// A question that proceeds only on Yes or OK.
bool confirmed(Answer answer);

}  // namespace vastel
