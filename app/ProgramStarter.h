#pragma once

#include <QString>

// Starts an activity program and returns at once, without waiting for it. The whole path is the
// program and it gets no arguments: it is never handed to a shell, so no catalog text is ever
// read as a command. The program inherits the current directory. A Windows program (a file that
// begins with "MZ") is run through wine when wine is installed. Any failure passes silently:
// the activity still opens in the player.
void startProgram(const QString& path);
