#pragma once

#include "core/DriveEntries.h"
#include "core/ScanTarget.h"

#include <QIcon>
#include <vector>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QWidget;

namespace vastel {

// The glyph of a drive entry, by drive type.
QIcon driveGlyph(DriveType type);
// The launcher's folder glyph (bmpFolder), shown beside the extra folders.
QIcon folderGlyph();

// Replaces the entries of a drive list (a check list) by the source's drives with the current
// drive checked and, with folders, the extra folders after them.
void fillDriveList(QListWidget* list, const DriveSource& source, bool withFolders);

// The target an entry of a drive list stands for, with its exact root path.
ScanTarget driveListTarget(const QListWidgetItem* item);
// The checked entries, in list order.
std::vector<ScanTarget> checkedTargets(const QListWidget* list);
bool anyChecked(const QListWidget* list);

// The start control is enabled exactly when at least one entry is checked, now and after every
// click in the list.
void bindStartControl(QListWidget* list, QWidget* startControl);

// "Add a folder to the list of drives": the folder list dialog, then the list filled again.
void addFolderToDriveList(QWidget* parent, QListWidget* list, const DriveSource& source);
// The pop-up item for it, appended to a menu (object name Addafoldertothelistofdrives1).
QAction* addFolderMenuItem(QMenu* menu, QListWidget* list, const DriveSource& source);

}  // namespace vastel
