#pragma once

#include <QLatin1String>
#include <QString>

class QPushButton;
class QWidget;

namespace vastel {

// Gives a control its object name, by which tests and the accessibility tree find it.
template <typename W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A named push button with its hint. It is never an auto-default: Enter in a grid, list or tree
// must not press a button that happens to have focus.
QPushButton* namedButton(const char* name, const QString& caption, const QString& hint,
                         QWidget* parent);

}  // namespace vastel
