// The Name-CD dialog: the user types the loaded disc's title and the name of
// every track (type, Enter, type, Enter ...), and OK keeps them in the
// disc-title database.
#pragma once
#include <windows.h>

// Runs the dialog modally for the disc loaded now. Answers whether the user
// saved with OK.
bool RunNameCdDialog(HWND owner);
