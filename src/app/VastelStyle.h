#pragma once

#include <QProxyStyle>

namespace vastel {

// The program's style: the platform style with the hint pause the launcher sets.
class VastelStyle : public QProxyStyle {
    Q_OBJECT
  public:
    using QProxyStyle::QProxyStyle;
    static void setHintPause(int milliseconds);
    static int hintPause();
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

}  // namespace vastel
