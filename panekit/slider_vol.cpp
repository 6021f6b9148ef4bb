// SliderVol: the vertical fader of the mixer panel, the WAVE panel and the
// 3D window. It shows a track bitmap (unlit 7025, lit 7026) with a drawn
// thumb 8 pixels tall travelling over 40 pixels, holds a value within a
// range, follows dragging and paging (timer 500, 50 ms), reports every
// change made by the mouse to its parent with SVM_POSCHANGED, and can be set
// (SVM_SETRANGE, SVM_SETPOS) or moved by a step (SVM_MOVEBY) by its panel.
// With the keyboard focus (which only the station's Tab gives it) it shows
// the focus mark and follows the arrow keys, Page Up and Down, Home and End
// as it follows the mouse.
#include "panekit/controls.h"

#include <oleacc.h>

#include "panekit/control_access.h"
#include "panekit/control_rules.h"
#include "panekit/gdi_owners.h"

namespace {

LONG Slot(HWND slider, int slot) {
    return GetWindowLongA(slider, slot);
}

void SetSlot(HWND slider, int slot, LONG value) {
    SetWindowLongA(slider, slot, value);
}

LONG ThumbFor(HWND slider, LONG value) {
    return SliderThumbFor(value, Slot(slider, SLIDER_MAXIMUM), Slot(slider, SLIDER_MINIMUM));
}

LONG ValueFor(HWND slider, LONG thumb) {
    return SliderValueFor(thumb, Slot(slider, SLIDER_MAXIMUM), Slot(slider, SLIDER_MINIMUM));
}

LONG Limited(HWND slider, LONG value) {
    return SliderLimit(value, Slot(slider, SLIDER_MAXIMUM), Slot(slider, SLIDER_MINIMUM));
}

// The thumb band: the full client width, rows thumb top to thumb top + 7.
// The stored thumb top is first limited to 0 to client height - 9.
RECT ThumbBand(HWND slider) {
    RECT band;
    GetClientRect(slider, &band);
    LONG top = Slot(slider, SLIDER_THUMB);
    if (top > band.bottom - 9)
        top = band.bottom - 9;
    if (top < 0)
        top = 0;
    SetSlot(slider, SLIDER_THUMB, top);
    band.top = top;
    band.bottom = top + SLIDER_THUMB_HEIGHT;
    return band;
}

// Invalidates, with erase, the rows that the thumb left and entered. A
// slider that is not on screen is painted whole when it is shown.
void InvalidateThumbRows(HWND slider, LONG oldTop, LONG newTop) {
    if (oldTop == newTop || !IsWindowVisible(slider))
        return;
    RECT rows;
    GetClientRect(slider, &rows);
    rows.top = oldTop < newTop ? oldTop : newTop;
    rows.bottom = (oldTop > newTop ? oldTop : newTop) + SLIDER_THUMB_HEIGHT;
    InvalidateRect(slider, &rows, TRUE);
}

void NotifyParent(HWND slider) {
    WPARAM changed = MAKEWPARAM(SVN_CHANGED, Slot(slider, SLIDER_VALUE));
    SendMessageA(GetParent(slider), SVM_POSCHANGED, changed, reinterpret_cast<LPARAM>(slider));
}

bool Paging(LONG mode) {
    return mode == SLIDER_PAGING_DOWN || mode == SLIDER_PAGING_UP;
}

// ---- Painting ----

// One row of the thumb, x from `left` to `right` inclusive.
void ThumbRow(HDC dc, COLORREF colour, int left, int right, int y) {
    gdi::Pen pen(CreatePen(PS_SOLID, 1, colour));
    gdi::Selection selected(dc, pen.get());
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right + 1, y);
}

void DrawThumb(HDC dc, int t) {
    ThumbRow(dc, RGB(255, 255, 0), 2, 18, t);
    ThumbRow(dc, RGB(255, 255, 0), 2, 18, t + 1);
    ThumbRow(dc, RGB(192, 192, 192), 2, 18, t + 2);
    ThumbRow(dc, RGB(128, 128, 255), 2, 18, t + 3);
    ThumbRow(dc, RGB(128, 255, 255), 2, 18, t + 4);
    ThumbRow(dc, RGB(255, 128, 255), 2, 18, t + 5);
    {
        gdi::Pen white(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        gdi::Selection selected(dc, white.get());
        MoveToEx(dc, 1, t, nullptr);
        LineTo(dc, 1, t + 6);
        MoveToEx(dc, 1, t + 6, nullptr);
        LineTo(dc, 19, t + 6);
    }
    ThumbRow(dc, RGB(0, 0, 0), 1, 18, t + 7);
}

void PaintSlider(HWND slider, HDC dc) {
    RECT client;
    GetClientRect(slider, &client);
    int track = Slot(slider, SLIDER_LIT) == 1 ? SLIDER_TRACK_LIT : SLIDER_TRACK_UNLIT;
    gdi::CopySkinBitmap(dc, PanekitInstance, track, client.right, client.bottom);
    DrawThumb(dc, Slot(slider, SLIDER_THUMB));
}

LRESULT OnPaint(HWND slider) {
    gdi::PaintScope paint(slider);
    PaintSlider(slider, paint.dc());
    DrawFocusMark(slider, paint.dc());
    return 0;
}

LRESULT OnPrintClient(HWND slider, HDC dc) {
    PaintSlider(slider, dc);
    DrawFocusMark(slider, dc);
    return 0;
}

// ---- What a client of the accessibility interface learns ----

// "0%" to "100%".
void WritePercent(LONG percent, wchar_t *text) {
    percent = SliderLimit(percent, 100, 0);
    wchar_t digits[4];
    int count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + percent % 10);
        percent /= 10;
    } while (percent != 0);
    while (count > 0)
        *text++ = digits[--count];
    *text++ = L'%';
    *text = L'\0';
}

// The value in percent of the range, as a person reads a fader.
void DescribeSlider(HWND slider, ControlFacts *facts) {
    facts->role = ROLE_SYSTEM_SLIDER;
    facts->state = CommonControlState(slider) | STATE_SYSTEM_FOCUSABLE;
    LONG minimum = Slot(slider, SLIDER_MINIMUM);
    LONG span = Slot(slider, SLIDER_MAXIMUM) - minimum;
    WritePercent(span > 0 ? (Slot(slider, SLIDER_VALUE) - minimum) * 100 / span : 0, facts->value);
}

// ---- Life and commands ----

LRESULT OnCreate(HWND slider) {
    SetSlot(slider, SLIDER_MODE, SLIDER_IDLE);
    SetSlot(slider, SLIDER_VALUE, 0);
    SetSlot(slider, SLIDER_THUMB, 0);
    SetSlot(slider, SLIDER_MAXIMUM, 100);
    SetSlot(slider, SLIDER_MINIMUM, 0);
    SetSlot(slider, SLIDER_LIT, 0);
    return TRUE;
}

LRESULT OnCommand(HWND slider, WPARAM command) {
    if (command != CMD_SET_ON && command != CMD_SET_OFF)
        return 0;
    SetSlot(slider, SLIDER_LIT, command == CMD_SET_ON ? 1 : 0);
    gdi::RepaintNow(slider);
    return 0;
}

LRESULT OnSetRange(HWND slider, LPARAM range) {
    SetSlot(slider, SLIDER_MAXIMUM, HIWORD(range));
    SetSlot(slider, SLIDER_MINIMUM, LOWORD(range));
    return 0;
}

// Stores a new value and tells the clients of the accessibility interface
// when it changed.
void StoreValue(HWND slider, LONG value) {
    LONG old = Slot(slider, SLIDER_VALUE);
    SetSlot(slider, SLIDER_VALUE, value);
    if (value != old)
        NotifyValueChange(slider);
}

LRESULT OnSetPos(HWND slider, LPARAM position) {
    LONG value = Limited(slider, HIWORD(position));
    LONG oldThumb = Slot(slider, SLIDER_THUMB);
    LONG thumb = ThumbFor(slider, value);
    StoreValue(slider, value);
    SetSlot(slider, SLIDER_THUMB, thumb);
    InvalidateThumbRows(slider, oldThumb, thumb);
    return 0;
}

LRESULT OnGetPos(HWND slider) {
    return Slot(slider, SLIDER_VALUE) & 0xFFFF;
}

LRESULT OnMoveBy(HWND slider, LONG valueStep, LONG pixelStep) {
    LONG oldThumb = Slot(slider, SLIDER_THUMB);
    LONG value;
    LONG thumb;
    if (valueStep != 0) {
        value = Limited(slider, Slot(slider, SLIDER_VALUE) + valueStep);
        thumb = ThumbFor(slider, value);
    } else {
        thumb = oldThumb + pixelStep;
        if (thumb < 0)
            thumb = 0;
        if (thumb > SLIDER_TRAVEL)
            thumb = SLIDER_TRAVEL;
        value = ValueFor(slider, thumb);
    }
    StoreValue(slider, value);
    SetSlot(slider, SLIDER_THUMB, thumb);
    InvalidateThumbRows(slider, oldThumb, thumb);
    return 0;
}

// ---- Mouse ----

LRESULT OnButtonDown(HWND slider, LPARAM position) {
    int y = static_cast<short>(HIWORD(position));
    RECT band = ThumbBand(slider);
    if (y >= band.top && y < band.bottom) {
        SetSlot(slider, SLIDER_GRAB_OFFSET, band.top - y);
        SetSlot(slider, SLIDER_MODE, SLIDER_DRAGGING);
    } else {
        SetSlot(slider, SLIDER_MODE, y > band.top ? SLIDER_PAGING_DOWN : SLIDER_PAGING_UP);
        SetTimer(slider, SLIDER_PAGING_TIMER, SLIDER_PAGING_MS, nullptr);
    }
    SetCapture(slider);
    return 0;
}

void Drag(HWND slider, int y) {
    LONG p = y + Slot(slider, SLIDER_GRAB_OFFSET);
    LONG oldThumb = Slot(slider, SLIDER_THUMB);
    if (p == oldThumb)
        return;
    SetSlot(slider, SLIDER_THUMB, p);
    SetSlot(slider, SLIDER_PIXEL_STEP, p - oldThumb);
    RECT band = ThumbBand(slider);
    if (p < 0)
        p = 0;
    if (p > SLIDER_TRAVEL)
        p = SLIDER_TRAVEL;
    StoreValue(slider, ValueFor(slider, p));
    SetSlot(slider, SLIDER_VALUE_STEP, 0);
    NotifyParent(slider);
    InvalidateThumbRows(slider, oldThumb, band.top);
}

LRESULT OnMouseMove(HWND slider, LPARAM position) {
    LONG mode = Slot(slider, SLIDER_MODE);
    if (mode == SLIDER_DRAGGING) {
        Drag(slider, static_cast<short>(HIWORD(position)));
    } else if (Paging(mode)) {
        POINT pointer = {static_cast<short>(LOWORD(position)),
                         static_cast<short>(HIWORD(position))};
        RECT client;
        GetClientRect(slider, &client);
        if (!PtInRect(&client, pointer))
            SendMessageA(slider, WM_LBUTTONUP, 0, position);
    }
    return 0;
}

// The fader at a new value as a paging step leaves it: stored, reported to
// the panel, its thumb drawn again.
void TakePagedValue(HWND slider, LONG value, LONG oldValue, LONG oldThumb, LONG thumb) {
    StoreValue(slider, value);
    SetSlot(slider, SLIDER_THUMB, thumb);
    SetSlot(slider, SLIDER_PIXEL_STEP, 0);
    SetSlot(slider, SLIDER_VALUE_STEP, value - oldValue);
    NotifyParent(slider);
    InvalidateThumbRows(slider, oldThumb, thumb);
}
// One paging step toward the pointer; the step that reaches the pointer or
// the end of travel ends paging and is still applied and reported.
LRESULT OnTimer(HWND slider) {
    LONG mode = Slot(slider, SLIDER_MODE);
    if (!Paging(mode))
        return 0;
    POINT pointer;
    GetCursorPos(&pointer);
    ScreenToClient(slider, &pointer);
    LONG oldValue = Slot(slider, SLIDER_VALUE);
    LONG oldThumb = Slot(slider, SLIDER_THUMB);
    LONG value = oldValue;
    LONG thumb;
    if (mode == SLIDER_PAGING_DOWN) {
        if (value > Slot(slider, SLIDER_MINIMUM))
            --value;
        thumb = ThumbFor(slider, value);
        if (pointer.y < thumb + SLIDER_THUMB_HEIGHT)
            SendMessageA(slider, WM_LBUTTONUP, 0, 0);
    } else {
        if (value < Slot(slider, SLIDER_MAXIMUM))
            ++value;
        thumb = ThumbFor(slider, value);
        if (thumb < pointer.y)
            SendMessageA(slider, WM_LBUTTONUP, 0, 0);
    }
    // The end of travel ends paging too, also for a pointer on row 0 that
    // the thumb can never pass.
    bool atEnd = mode == SLIDER_PAGING_DOWN ? thumb >= SLIDER_TRAVEL : thumb <= 0;
    if (atEnd && Paging(Slot(slider, SLIDER_MODE)))
        SendMessageA(slider, WM_LBUTTONUP, 0, 0);
    TakePagedValue(slider, value, oldValue, oldThumb, thumb);
    return 0;
}

LRESULT OnButtonUp(HWND slider) {
    if (Paging(Slot(slider, SLIDER_MODE)))
        KillTimer(slider, SLIDER_PAGING_TIMER);
    if (GetCapture() == slider)
        ReleaseCapture();
    SetSlot(slider, SLIDER_MODE, SLIDER_IDLE);
    return 0;
}

// ---- Keyboard ----

// The value step of a navigation key, 0 for any other key: one step for an
// arrow, an eighth of the range for Page Up and Down, to the ends for Home
// (the top, the maximum) and End.
LONG KeyStep(HWND slider, WPARAM key) {
    LONG value = Slot(slider, SLIDER_VALUE);
    LONG maximum = Slot(slider, SLIDER_MAXIMUM);
    LONG minimum = Slot(slider, SLIDER_MINIMUM);
    LONG page = (maximum - minimum) / 8 > 1 ? (maximum - minimum) / 8 : 1;
    switch (key) {
    case VK_UP:
    case VK_RIGHT: return 1;
    case VK_DOWN:
    case VK_LEFT: return -1;
    case VK_PRIOR: return page;
    case VK_NEXT: return -page;
    case VK_HOME: return maximum - value;
    case VK_END: return minimum - value;
    default: return 0;
    }
}

bool IsNavigationKey(WPARAM key) {
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END: return true;
    default: return false;
    }
}

// The navigation keys are the slider's; every other key is the station's.
LRESULT OnGetDlgCode(const MSG *message) {
    bool navigation = message != nullptr &&
                      (message->message == WM_KEYDOWN || message->message == WM_KEYUP) &&
                      IsNavigationKey(message->wParam);
    return DLGC_WANTARROWS | (navigation ? DLGC_WANTMESSAGE : 0);
}

// A key moves the value as a paging tick does: the parent hears of it and
// reads the step from the value-step slot.
LRESULT OnKeyDown(HWND slider, WPARAM key) {
    if (Slot(slider, SLIDER_MODE) != SLIDER_IDLE)
        return 0;
    LONG oldValue = Slot(slider, SLIDER_VALUE);
    LONG value = Limited(slider, oldValue + KeyStep(slider, key));
    if (value == oldValue)
        return 0;
    LONG oldThumb = Slot(slider, SLIDER_THUMB);
    LONG thumb = ThumbFor(slider, value);
    TakePagedValue(slider, value, oldValue, oldThumb, thumb);
    return 0;
}

LRESULT OnFocusChange(HWND slider) {
    gdi::RepaintNow(slider);
    return 0;
}

} // namespace

LRESULT CALLBACK SliderVolProc(HWND slider, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
    case WM_CREATE: return OnCreate(slider);
    case WM_PAINT: return OnPaint(slider);
    case WM_PRINTCLIENT: return OnPrintClient(slider, reinterpret_cast<HDC>(wParam));
    case WM_COMMAND: return OnCommand(slider, wParam);
    case SVM_SETRANGE: return OnSetRange(slider, lParam);
    case SVM_SETPOS: return OnSetPos(slider, lParam);
    case SVM_GETPOS: return OnGetPos(slider);
    case SVM_MOVEBY: return OnMoveBy(slider, static_cast<LONG>(wParam), static_cast<LONG>(lParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnButtonDown(slider, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(slider, lParam);
    case WM_TIMER: return OnTimer(slider);
    case WM_LBUTTONUP: return OnButtonUp(slider);
    case WM_GETDLGCODE: return OnGetDlgCode(reinterpret_cast<const MSG *>(lParam));
    case WM_KEYDOWN: return OnKeyDown(slider, wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return OnFocusChange(slider);
    case WM_GETOBJECT: return AnswerGetObject(slider, wParam, lParam, DescribeSlider);
    default: return DefWindowProcA(slider, message, wParam, lParam);
    }
}
