// Painting helpers shared by the panels: skin backgrounds through the one
// shared palette.
#pragma once
#include <windows.h>

// Answers WM_PAINT for a panel whose background is the given skin bitmap.
void PaintPanel(HWND panel, int backgroundId);

// Deletes the shared palette; the launcher bar calls it at exit.
void DeleteSharedPalette();
