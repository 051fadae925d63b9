#pragma once

#include <QString>

class QWidget;

namespace vastel {

// Window placement for windows that remember where they were: centre when made, restore a
// saved placement when shown, save it when destroyed.
void centreOnScreen(QWidget* window);
void applySavedPlacement(QWidget* window, const QString& keyName, const QString& section,
                         const QString& valueName);
void savePlacement(const QWidget* window, const QString& keyName, const QString& section,
                   const QString& valueName);

}  // namespace vastel
