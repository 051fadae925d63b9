#include "app/VastelStyle.h"

namespace vastel {

namespace {
int g_hintPause = 700;
}

void VastelStyle::setHintPause(int milliseconds) { g_hintPause = milliseconds; }
int VastelStyle::hintPause() { return g_hintPause; }

int VastelStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const {
    if (hint == SH_ToolTip_WakeUpDelay) return g_hintPause;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace vastel
