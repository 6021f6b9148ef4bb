// The floor of a full repaint: a bare copy of the station's window tree, the
// same windows in the same places, each painting the same bitmaps as the
// station's window and nothing more. Panels draw their skin background (and
// the idle display), buttons their face, sliders their track and thumb,
// indicators their face; every bitmap is loaded, selected into a memory
// context, copied and deleted within the paint. Static texts and list boxes
// are the platform's own, coloured as the panels colour them. Nothing erases
// what its own paint covers, and no window paints twice.
#pragma once
#include <windows.h>

#include <map>

struct FloorPanel {
    HWND panel;       // a panel of the station
    int backgroundId; // its skin background in panekit32
    int displayId;    // the idle display it draws, or 0
    int displayX, displayY;
};

// Copies the tree under `stationWindow` into a new hidden top-level window of
// the same size and style in the same place (the caller shows one of them at
// a time). Returns the copy of every window of the tree, keyed by the
// station's window. With `paintNothing` the copies begin and end their paint
// and draw nothing: what the windows alone cost.
std::map<HWND, HWND> BuildPaintFloor(HWND stationWindow, HINSTANCE library,
                                     const FloorPanel *panels, int panelCount, bool paintNothing);
