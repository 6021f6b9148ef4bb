// The pure rules of the owner-drawn controls, kept apart from their window
// procedures so that they read as a table and can be checked without a
// window: the BitmapButton's state bits and face choice, and the SliderVol's
// slots and value/thumb scale.
#pragma once
#include <windows.h>

#include "panekit/resources/panel_ids.h"

// ---- BitmapButton ----

// State word of a button.
constexpr DWORD BUTTON_DISABLED = 0x01;
constexpr DWORD BUTTON_HIDDEN = 0x02;
constexpr DWORD BUTTON_MOVED_INSIDE = 0x04;
constexpr DWORD BUTTON_PRESSED = 0x18; // 0x08 and 0x10, set and cleared together
constexpr DWORD BUTTON_LATCHED = 0x20;
constexpr DWORD BUTTON_KEY_HELD = 0x40; // Space or Enter went down on the focused button
constexpr DWORD BUTTON_CREATE_CLEARS = 0x1F;

constexpr UINT_PTR BUTTON_FIRST_REPEAT_TIMER = 500;
constexpr UINT BUTTON_FIRST_REPEAT_MS = 400;
constexpr UINT_PTR BUTTON_REPEAT_TIMER = 501;
constexpr UINT BUTTON_REPEAT_MS = 50;

constexpr int MUTE_FACE_BASE = 4055;
constexpr int PRESET_FACE_BASE = 1161;
constexpr int SOURCE_SELECTOR_FIRST = 7017;
constexpr int SOURCE_SELECTOR_LAST = 7020;

// First of a button's three faces (up, pressed, latched).
inline int ButtonFaceBase(int controlId, DWORD style) {
    if (style & BBS_PRESETFACE)
        return PRESET_FACE_BASE;
    if (style & BBS_MUTEFACE)
        return MUTE_FACE_BASE;
    if (controlId >= SOURCE_SELECTOR_FIRST && controlId <= SOURCE_SELECTOR_LAST)
        return SOURCE_SELECTOR_FIRST;
    return controlId;
}

// Bitmap id of the face that shows for this state: pressed wins over latched.
inline WORD ButtonFaceId(int controlId, DWORD style, DWORD state) {
    int base = ButtonFaceBase(controlId, style);
    if (state & (BUTTON_MOVED_INSIDE | 0x08))
        return static_cast<WORD>(base + 1);
    if (state & BUTTON_LATCHED)
        return static_cast<WORD>(base + 2);
    return static_cast<WORD>(base);
}

// ---- SliderVol ----

// Window slots of a slider, 32 bits each, as byte offsets.
constexpr int SLIDER_MODE = 0;
constexpr int SLIDER_VALUE = 4;
constexpr int SLIDER_MAXIMUM = 8;
constexpr int SLIDER_MINIMUM = 12;
constexpr int SLIDER_GRAB_OFFSET = 16;
constexpr int SLIDER_THUMB = 20;
constexpr int SLIDER_PIXEL_STEP = SVL_PIXELSTEP;
constexpr int SLIDER_VALUE_STEP = SVL_VALUESTEP;
constexpr int SLIDER_LIT = 32;

// Modes.
constexpr LONG SLIDER_IDLE = 0;
constexpr LONG SLIDER_DRAGGING = 1;
constexpr LONG SLIDER_PAGING_DOWN = 2;
constexpr LONG SLIDER_PAGING_UP = 4;

constexpr int SLIDER_TRAVEL = 40; // thumb top 0 shows the maximum, 40 the minimum
constexpr int SLIDER_THUMB_HEIGHT = 8;
constexpr UINT_PTR SLIDER_PAGING_TIMER = 500;
constexpr UINT SLIDER_PAGING_MS = 50;
constexpr int SLIDER_TRACK_UNLIT = 7025;
constexpr int SLIDER_TRACK_LIT = 7026;

// Thumb top for a value. An empty range (maximum equal to minimum) would
// divide by zero; it shows the thumb at the top.
inline LONG SliderThumbFor(LONG value, LONG maximum, LONG minimum) {
    LONG span = maximum - minimum;
    if (span == 0)
        return 0;
    return (maximum - value) * SLIDER_TRAVEL / span;
}

// Value for a thumb top in 0 to 40.
inline LONG SliderValueFor(LONG thumb, LONG maximum, LONG minimum) {
    return maximum - thumb * (maximum - minimum) / SLIDER_TRAVEL;
}

// Limits a value to the range: first to the maximum, then to the minimum.
inline LONG SliderLimit(LONG value, LONG maximum, LONG minimum) {
    if (value > maximum)
        value = maximum;
    if (value < minimum)
        value = minimum;
    return value;
}
