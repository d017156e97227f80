#pragma once

#include <QString>

// The two folders every content path is formed from. They are set once, by the grade menu
// window's creation handler, and read by every window afterwards.
extern QString pasta_prog;
extern QString pasta_config;

// Reads the current directory into pasta_prog and forms pasta_config from it.
void initialiseFolders();

// The content literals and catalog values are written with backslashes; on this platform each
// one becomes the native separator. Nothing else is touched: folders are joined by plain
// concatenation, so "/" + "\config\" gives "//config/" as a drive root gives "D:\\config\".
[[nodiscard]] QString mapSeparators(QString path);

// pasta_config for a given program folder.
[[nodiscard]] QString configFolderOf(const QString& programFolder);
