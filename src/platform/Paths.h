#pragma once

#include <QString>

namespace vastel {

// Where the program keeps its files: XDG folders with their usual fallbacks under $HOME.
QString configHome();  // $XDG_CONFIG_HOME, else ~/.config
QString dataHome();    // $XDG_DATA_HOME, else ~/.local/share
QString homeFolder();  // $HOME, else the passwd entry

// Folder of the settings files: <configHome>/Tessivo Corporation/Vastel
QString settingsFolder();
// The main settings file: <settingsFolder>/3.0.ini
QString mainSettingsFile();
// A per-user key outside the main one ("vastel.ini", "vastl98") as a file in settingsFolder.
QString secondaryKeyFile(const QString& keyName);
// The program's own data folder (folders.txt): <dataHome>/Tessivo Corporation/Vastel
QString programDataFolder();
// The folder the running executable lives in.
QString programFolder();
// The installed help page, beside the program or in ../share/vastel.
QString helpFilePath();

}  // namespace vastel
