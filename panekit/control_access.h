// What the platform's accessibility interface learns of the library's
// controls, and the mark of the control with the keyboard focus.
//
// A client (a screen reader) asks a window for its object with WM_GETOBJECT.
// Where the system has the accessibility runtime (oleacc.dll, Windows 98 and
// later, Windows 95 and NT 4.0 with the accessibility add-on) a control
// answers with an object of its own that tells its role, state and value;
// the runtime and its functions are looked up when the first client asks,
// never imported, so that the library loads where they are missing. There the
// window text, which the station sets to each control's name, still names it.
#pragma once
#include <windows.h>

// What a control tells of itself, asked afresh at every question.
struct ControlFacts {
    long role;         // ROLE_SYSTEM_*
    long state;        // STATE_SYSTEM_* bits
    wchar_t value[16]; // empty: the control has no value
};
using DescribeControl = void (*)(HWND control, ControlFacts *facts);

// The states every control shares: unavailable while disabled, invisible
// while hidden, focused while it has the keyboard focus.
long CommonControlState(HWND control);

// WM_GETOBJECT: the control's own object for OBJID_CLIENT, what the default
// window procedure answers for anything else or without the runtime.
LRESULT AnswerGetObject(HWND control, WPARAM flags, LPARAM objectId, DescribeControl describe);

// Tells the clients that listen that the control's state (latched, lit,
// enabled) or its value changed; nothing where the system cannot tell them.
void NotifyStateChange(HWND control);
void NotifyValueChange(HWND control);

// The focus mark: a frame in the skin's yellow along the client area's edge,
// drawn over the face while the control has the keyboard focus.
void DrawFocusMark(HWND control, HDC dc);
