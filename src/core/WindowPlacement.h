#pragma once

#include <QRect>
#include <QString>
#include <optional>

namespace vastel {

// A saved window placement: ten integers, each followed by one blank.
struct WindowPlacement {
    int flags = 0;
    int showCmd = 1;  // 1 normal, 2 minimised, 3 maximised
    int minX = 0, minY = 0;
    int maxX = 0, maxY = 0;
    int left = 0, top = 0, right = 0, bottom = 0;

    QRect normalRect() const { return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)); }
    // Applied only when the rectangle's left is smaller than its right.
    bool applicable() const { return left < right; }
};

QString formatPlacement(const WindowPlacement& p);
// Missing or malformed numbers count as 0, the show state as 1.
WindowPlacement parsePlacement(const QString& text);

// The section of a placement record: the program file's own name, without folder.
QString programSectionName();

// Reads and writes records under a per-user key ("vastel.ini" or "vastl98").
std::optional<WindowPlacement> readPlacement(const QString& keyName, const QString& section,
                                             const QString& valueName);
void writePlacement(const QString& keyName, const QString& section, const QString& valueName,
                    const WindowPlacement& p);

}  // namespace vastel
