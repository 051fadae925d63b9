#pragma once

#include <QString>

namespace vastel {

// Modal boxes with one OK button.
void errorBox(const QString& text);    // exclamation beep, error icon
void warningBox(const QString& text);  // critical-stop beep, warning icon
void infoBox(const QString& text);     // no beep, information icon

}  // namespace vastel
