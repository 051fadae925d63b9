#pragma once

#include "platform/Dialogs.h"

namespace vastel {

// The real dialogs: Qt message boxes, input dialog, file and font dialogs, print dialogs.
// Boxes are parented to the active window so they stay modal over it.
class WidgetDialogs : public Dialogs {
  public:
    void message(Beep beep, BoxIcon icon, const QString& text) override;
    Answer question(const QString& text, Buttons buttons, BoxIcon icon, Beep beep) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& value) override;
    std::optional<QString> pickFolder(const QString& caption, const QString& start) override;
    std::optional<QString> openFile(const QString& caption, const QString& start,
                                    const QString& filter) override;
    std::optional<QString> pickFont(const QString& initial, bool fixedPitchOnly) override;
    bool printDialog(QPrinter& printer, bool allowSelection) override;
    bool printerSetupDialog(QPrinter& printer) override;
    bool printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;
};

}  // namespace vastel
