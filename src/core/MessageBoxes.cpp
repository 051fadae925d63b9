#include "core/MessageBoxes.h"

#include "platform/Dialogs.h"

namespace vastel {

void errorBox(const QString& text) { dialogs().message(Beep::Exclamation, BoxIcon::Error, text); }

void warningBox(const QString& text) {
    dialogs().message(Beep::CriticalStop, BoxIcon::Warning, text);
}

void infoBox(const QString& text) { dialogs().message(Beep::None, BoxIcon::Information, text); }

}  // namespace vastel
