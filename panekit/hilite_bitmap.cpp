// HiliteBitmap: a passive two-state indicator. It shows the bitmap numbered
// like its control id while unlit and id + 1 while lit; CMD_SET_ON lights it
// and CMD_SET_OFF darkens it. It takes no input and sends nothing to its
// panel; clients of the accessibility interface hear when it changes.
#include "panekit/controls.h"

#include <oleacc.h>

#include "panekit/control_access.h"
#include "panekit/gdi_owners.h"
#include "panekit/resources/panel_ids.h"

namespace {

constexpr int LIT_SLOT = 0;

LRESULT OnCreate(HWND indicator) {
    SetWindowLongA(indicator, LIT_SLOT, 0);
    return TRUE;
}

LRESULT OnCommand(HWND indicator, WPARAM command) {
    if (command != CMD_SET_ON && command != CMD_SET_OFF)
        return 0;
    LONG lit = command == CMD_SET_ON ? 1 : 0;
    LONG before = SetWindowLongA(indicator, LIT_SLOT, lit);
    gdi::RepaintNow(indicator);
    if (before != lit)
        NotifyStateChange(indicator);
    return 0;
}

// A light reads as an indicator, checked while lit.
void DescribeIndicator(HWND indicator, ControlFacts *facts) {
    facts->role = ROLE_SYSTEM_INDICATOR;
    facts->state = CommonControlState(indicator) | STATE_SYSTEM_READONLY;
    if (GetWindowLongA(indicator, LIT_SLOT))
        facts->state |= STATE_SYSTEM_CHECKED;
}

void PaintFace(HWND indicator, HDC dc) {
    RECT client;
    GetClientRect(indicator, &client);
    int face = (GetDlgCtrlID(indicator) & 0xFFFF) + (GetWindowLongA(indicator, LIT_SLOT) ? 1 : 0);
    gdi::CopySkinBitmap(dc, PanekitInstance, face, client.right, client.bottom);
}

LRESULT OnPaint(HWND indicator) {
    gdi::PaintScope paint(indicator);
    PaintFace(indicator, paint.dc());
    return 0;
}

LRESULT OnPrintClient(HWND indicator, HDC dc) {
    PaintFace(indicator, dc);
    return 0;
}

} // namespace

LRESULT CALLBACK HiliteBitmapProc(HWND indicator, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
    case WM_CREATE: return OnCreate(indicator);
    case WM_NCDESTROY: return 0;
    case WM_COMMAND: return OnCommand(indicator, wParam);
    case WM_PAINT: return OnPaint(indicator);
    case WM_PRINTCLIENT: return OnPrintClient(indicator, reinterpret_cast<HDC>(wParam));
    case WM_GETOBJECT: return AnswerGetObject(indicator, wParam, lParam, DescribeIndicator);
    default: return DefWindowProcA(indicator, message, wParam, lParam);
    }
}
