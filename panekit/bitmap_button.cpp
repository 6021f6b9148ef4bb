// BitmapButton: the push button of every panel. It draws its up, pressed or
// latched face from panekit32's bitmaps, tracks the mouse with capture,
// repeats while held (BBS_AUTOREPEAT), reports on press or on release
// (BBS_NOTIFYONRELEASE), latches like a toggle (BBS_TOGGLE) and reports
// clicks, latching, unlatching and release to its parent as WM_COMMAND.
// With the keyboard focus (which only the station's Tab gives it) it shows
// the focus mark, and Space or Enter does what its click does.
#include "panekit/controls.h"

#include <new>
#include <oleacc.h>

#include "panekit/control_access.h"
#include "panekit/control_rules.h"
#include "panekit/gdi_owners.h"

namespace {

// Per-button state block, hung on the window's single extra slot.
struct ButtonState {
    HWND target; // the parent at creation; every notification goes here
    DWORD style; // window style at creation; only the low byte is read
    DWORD state; // BUTTON_* bits
};

ButtonState *StateOf(HWND button) {
    return reinterpret_cast<ButtonState *>(GetWindowLongPtrA(button, 0));
}

bool Styled(const ButtonState &s, DWORD bit) {
    return (s.style & bit) != 0;
}

bool Pressed(const ButtonState &s) {
    return (s.state & BUTTON_PRESSED) != 0;
}

// Notifications carry the button's handle cut to its low 16 bits.
LPARAM ShortHandle(HWND button) {
    return static_cast<LPARAM>(reinterpret_cast<UINT_PTR>(button) & 0xFFFF);
}

void PostClick(HWND button, HWND target) {
    PostMessageA(target, WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(button) & 0xFFFF),
                 ShortHandle(button));
}

void Notify(HWND button, HWND target, WPARAM code) {
    SendMessageA(target, WM_COMMAND, code, ShortHandle(button));
}

void KillRepeatTimers(HWND button, const ButtonState &s) {
    if (!Styled(s, BBS_AUTOREPEAT))
        return;
    KillTimer(button, BUTTON_FIRST_REPEAT_TIMER);
    KillTimer(button, BUTTON_REPEAT_TIMER);
}

void ReleaseOwnCapture(HWND button) {
    if (GetCapture() == button)
        ReleaseCapture();
}

// ---- Painting ----

// A face as stored in the library: header, colour table and pixels, each
// checked to lie inside the resource before it is read.
struct Face {
    const BITMAPINFO *info = nullptr;
    int colours = 0;
    const BYTE *pixels = nullptr;
};

bool FindFace(WORD id, Face *face) {
    HRSRC found = FindResourceA(PanekitInstance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (found == nullptr)
        return false;
    DWORD size = SizeofResource(PanekitInstance, found);
    auto *header =
        static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(PanekitInstance, found)));
    if (header == nullptr || size < sizeof *header || header->biSize < sizeof *header ||
        header->biSize > size || header->biWidth <= 0 || header->biHeight == 0 ||
        header->biBitCount == 0 || header->biBitCount > 32)
        return false;
    DWORD colours = header->biClrUsed;
    if (colours == 0 && header->biBitCount <= 8)
        colours = 1u << header->biBitCount;
    DWORD masks = header->biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0;
    if (colours > 256 || header->biSize + masks + colours * sizeof(RGBQUAD) > size)
        return false;
    DWORD height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    DWORD rowBytes = ((header->biWidth * header->biBitCount + 31) / 32) * 4;
    DWORD offset = header->biSize + masks + colours * sizeof(RGBQUAD);
    if (header->biCompression == BI_RGB && rowBytes * height > size - offset)
        return false;
    face->info = reinterpret_cast<const BITMAPINFO *>(header);
    face->colours = static_cast<int>(colours);
    face->pixels = reinterpret_cast<const BYTE *>(header) + offset;
    return true;
}

// A logical palette with one entry per colour-table entry of the face.
HPALETTE CreateFacePalette(const Face &face) {
    if (face.colours == 0)
        return nullptr;
    struct {
        WORD version;
        WORD entries;
        PALETTEENTRY entry[256];
    } palette{};
    palette.version = 0x300;
    palette.entries = static_cast<WORD>(face.colours);
    const RGBQUAD *table = reinterpret_cast<const RGBQUAD *>(
        reinterpret_cast<const BYTE *>(face.info) + face.info->bmiHeader.biSize +
        (face.info->bmiHeader.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0));
    for (int i = 0; i < face.colours; ++i)
        palette.entry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    return CreatePalette(reinterpret_cast<const LOGPALETTE *>(&palette));
}

void PaintFace(HWND button, HDC dc) {
    const ButtonState *s = StateOf(button);
    if (s == nullptr)
        return;
    Face face;
    if (!FindFace(ButtonFaceId(GetDlgCtrlID(button), s->style & 0xFF, s->state), &face))
        return;
    RECT client;
    GetClientRect(button, &client);
    gdi::Palette palette(CreateFacePalette(face));
    gdi::MemoryDc memory(dc);
    gdi::Bitmap canvas(CreateCompatibleBitmap(dc, client.right, client.bottom));
    if (!memory || !canvas)
        return;
    {
        gdi::Selection drawn(memory.get(), canvas.get());
        gdi::PaletteSelection memoryPalette(memory.get(), palette.get(), true);
        const BITMAPINFOHEADER &header = face.info->bmiHeader;
        int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
        StretchDIBits(memory.get(), 0, 0, header.biWidth, height, 0, 0, header.biWidth, height,
                      face.pixels, face.info, DIB_RGB_COLORS, SRCCOPY);
        gdi::PaletteSelection windowPalette(dc, palette.get(), false);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
}

LRESULT OnPaint(HWND button) {
    gdi::PaintScope paint(button);
    PaintFace(button, paint.dc());
    DrawFocusMark(button, paint.dc());
    return 0;
}

LRESULT OnPrintClient(HWND button, HDC dc) {
    PaintFace(button, dc);
    DrawFocusMark(button, dc);
    return 0;
}

// ---- What a client of the accessibility interface learns ----

// A toggle is a check button; a key that its panel latches (Play while
// playing, an open panel's launcher key, the selected source) a push button
// shown pressed. A mute key latches while its channel sounds: it is checked
// while the channel is muted.
void DescribeButton(HWND button, ControlFacts *facts) {
    facts->role = ROLE_SYSTEM_PUSHBUTTON;
    facts->state = CommonControlState(button) | STATE_SYSTEM_FOCUSABLE;
    const ButtonState *s = StateOf(button);
    if (s == nullptr)
        return;
    bool latched = (s->state & BUTTON_LATCHED) != 0;
    if (Styled(*s, BBS_TOGGLE)) {
        facts->role = ROLE_SYSTEM_CHECKBUTTON;
        if (latched != Styled(*s, BBS_MUTEFACE))
            facts->state |= STATE_SYSTEM_CHECKED;
    } else if (latched || Pressed(*s)) {
        facts->state |= STATE_SYSTEM_PRESSED;
    }
}

// ---- Life ----

LRESULT OnNcCreate(HWND button, const CREATESTRUCTA *create) {
    auto *s = new (std::nothrow) ButtonState{};
    if (s == nullptr)
        return FALSE;
    s->target = create->hwndParent;
    s->style = static_cast<DWORD>(create->style);
    SetWindowLongPtrA(button, 0, reinterpret_cast<LONG_PTR>(s));
    return DefWindowProcA(button, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(create));
}

LRESULT OnCreate(ButtonState *s) {
    s->state &= ~BUTTON_CREATE_CLEARS;
    return 0;
}

LRESULT OnNcDestroy(HWND button) {
    delete StateOf(button);
    SetWindowLongPtrA(button, 0, 0);
    return DefWindowProcA(button, WM_NCDESTROY, 0, 0);
}

LRESULT OnEnable(HWND button, ButtonState *s, bool enabled) {
    DWORD before = s->state;
    if (enabled)
        s->state &= ~BUTTON_DISABLED;
    else
        s->state |= BUTTON_DISABLED;
    gdi::RepaintNow(button);
    if (s->state != before)
        NotifyStateChange(button);
    return 0;
}

LRESULT OnShowWindow(ButtonState *s, bool shown) {
    if (shown)
        s->state &= ~BUTTON_HIDDEN;
    else
        s->state |= BUTTON_HIDDEN;
    return 0;
}

// ---- Commands ----

LRESULT OnSetLatch(HWND button, ButtonState *s, bool latched) {
    DWORD before = s->state;
    if (latched)
        s->state |= BUTTON_LATCHED;
    else
        s->state &= ~BUTTON_LATCHED;
    s->state &= ~(BUTTON_PRESSED | BUTTON_MOVED_INSIDE);
    gdi::RepaintNow(button);
    if ((s->state ^ before) & BUTTON_LATCHED)
        NotifyStateChange(button);
    return 0;
}

LRESULT OnCommand(HWND button, ButtonState *s, WPARAM command) {
    switch (command) {
    case CMD_SET_ON: return OnSetLatch(button, s, true);
    case CMD_SET_OFF: return OnSetLatch(button, s, false);
    default: return 0;
    }
}

// ---- Mouse ----

LRESULT OnButtonDown(HWND button, ButtonState *s) {
    s->state |= BUTTON_PRESSED;
    gdi::RepaintNow(button);
    if (!Styled(*s, BBS_NOTIFYONRELEASE))
        PostClick(button, s->target);
    SetCapture(button);
    if (Styled(*s, BBS_AUTOREPEAT))
        SetTimer(button, BUTTON_FIRST_REPEAT_TIMER, BUTTON_FIRST_REPEAT_MS, nullptr);
    return 0;
}

// Column 0 and row 0 count as outside.
bool Inside(HWND button, LPARAM position) {
    int x = static_cast<short>(LOWORD(position));
    int y = static_cast<short>(HIWORD(position));
    RECT client;
    GetClientRect(button, &client);
    return x > 0 && x < client.right && y > 0 && y < client.bottom;
}

LRESULT OnMouseMove(HWND button, ButtonState *s, LPARAM position) {
    if (!Pressed(*s))
        return 0;
    DWORD before = s->state;
    if (Inside(button, position)) {
        s->state |= BUTTON_MOVED_INSIDE;
    } else {
        // Leaving cancels the press: nothing is reported, a toggle keeps its state.
        KillRepeatTimers(button, *s);
        ReleaseOwnCapture(button);
        s->state &= ~(BUTTON_MOVED_INSIDE | BUTTON_PRESSED);
    }
    if (s->state != before)
        gdi::RepaintNow(button);
    return 0;
}

LRESULT OnTimer(HWND button, ButtonState *s, UINT_PTR timer) {
    if (!Styled(*s, BBS_AUTOREPEAT))
        return 0;
    if (!Pressed(*s)) { // a command ended the press while the timers ran
        KillRepeatTimers(button, *s);
        return 0;
    }
    if (timer == BUTTON_FIRST_REPEAT_TIMER) {
        KillTimer(button, BUTTON_FIRST_REPEAT_TIMER);
        SetTimer(button, BUTTON_REPEAT_TIMER, BUTTON_REPEAT_MS, nullptr);
    }
    if (!Styled(*s, BBS_NOTIFYONRELEASE) && !(s->state & BUTTON_MOVED_INSIDE))
        PostClick(button, s->target);
    return 0;
}

// A completed click of a toggle flips its latch. The parent may destroy the
// button while it handles the latch notification, so nothing of the state
// block is read after it.
void CompleteToggle(HWND button, HWND target, bool latched) {
    if (!latched) {
        SendMessageA(button, WM_COMMAND, CMD_SET_ON, 0);
        Notify(button, target, NOTIFY_LATCHED);
        if (IsWindow(button))
            PostClick(button, target);
    } else {
        SendMessageA(button, WM_COMMAND, CMD_SET_OFF, 0);
        Notify(button, target, NOTIFY_UNLATCHED);
    }
}

void CompleteClick(HWND button, ButtonState *s) {
    HWND target = s->target;
    bool onRelease = Styled(*s, BBS_NOTIFYONRELEASE);
    if (Styled(*s, BBS_RELEASENOTIFY)) {
        Notify(button, target, NOTIFY_RELEASED);
        s = IsWindow(button) ? StateOf(button) : nullptr;
        if (s == nullptr)
            return;
    }
    s->state &= ~(BUTTON_MOVED_INSIDE | BUTTON_PRESSED);
    gdi::RepaintNow(button);
    if (onRelease)
        PostClick(button, target);
}

LRESULT OnButtonUp(HWND button, ButtonState *s) {
    if (!Pressed(*s)) {
        // A command ended the press while the mouse was held: give the
        // capture back so that the next click elsewhere is not taken here.
        ReleaseOwnCapture(button);
        return 0;
    }
    KillRepeatTimers(button, *s);
    ReleaseOwnCapture(button);
    if (Styled(*s, BBS_TOGGLE) && Styled(*s, BBS_NOTIFYONRELEASE))
        CompleteToggle(button, s->target, (s->state & BUTTON_LATCHED) != 0);
    else
        CompleteClick(button, s);
    return 0;
}

LRESULT OnCancelMode(HWND button) {
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    return 0;
}

// ---- Keyboard ----

bool IsPressKey(WPARAM key) {
    return key == VK_SPACE || key == VK_RETURN;
}

// Space and Enter are the button's; every other key is the station's.
LRESULT OnGetDlgCode(const MSG *message) {
    bool pressKey = message != nullptr &&
                    (message->message == WM_KEYDOWN || message->message == WM_KEYUP) &&
                    IsPressKey(message->wParam);
    return pressKey ? DLGC_WANTMESSAGE : 0;
}

// A key press is a whole click at once: a toggle flips, any other button
// posts its click; held down, only a repeating button clicks again.
LRESULT OnKeyDown(HWND button, ButtonState *s, WPARAM key, LPARAM flags) {
    if (!IsPressKey(key) || (s->state & (BUTTON_DISABLED | BUTTON_HIDDEN)))
        return 0;
    bool repeated = (flags & (1 << 30)) != 0;
    if (repeated && !Styled(*s, BBS_AUTOREPEAT))
        return 0;
    s->state |= BUTTON_KEY_HELD;
    if (Styled(*s, BBS_TOGGLE) && Styled(*s, BBS_NOTIFYONRELEASE))
        CompleteToggle(button, s->target, (s->state & BUTTON_LATCHED) != 0);
    else
        PostClick(button, s->target);
    return 0;
}

// Letting the key go, or losing the focus while it is down, releases a
// button that reports its release (the VIDEO panel's stepping keys).
void EndKeyPress(HWND button, ButtonState *s) {
    if (!(s->state & BUTTON_KEY_HELD))
        return;
    s->state &= ~BUTTON_KEY_HELD;
    if (Styled(*s, BBS_RELEASENOTIFY))
        Notify(button, s->target, NOTIFY_RELEASED);
}

LRESULT OnKeyUp(HWND button, ButtonState *s, WPARAM key) {
    if (IsPressKey(key))
        EndKeyPress(button, s);
    return 0;
}

LRESULT OnFocusChange(HWND button, ButtonState *s, bool gained) {
    if (!gained)
        EndKeyPress(button, s);
    if (IsWindow(button))
        gdi::RepaintNow(button);
    return 0;
}

} // namespace

LRESULT CALLBACK BitmapButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        return OnNcCreate(button, reinterpret_cast<const CREATESTRUCTA *>(lParam));
    ButtonState *s = StateOf(button);
    if (s == nullptr)
        return DefWindowProcA(button, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: return OnCreate(s);
    case WM_NCDESTROY: return OnNcDestroy(button);
    case WM_PAINT: return OnPaint(button);
    case WM_PRINTCLIENT: return OnPrintClient(button, reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND: return 0; // the face covers the client area
    case WM_ENABLE: return OnEnable(button, s, wParam != FALSE);
    case WM_SHOWWINDOW: return OnShowWindow(s, wParam != FALSE);
    case WM_COMMAND: return OnCommand(button, s, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnButtonDown(button, s);
    case WM_MOUSEMOVE: return OnMouseMove(button, s, lParam);
    case WM_TIMER: return OnTimer(button, s, wParam);
    case WM_LBUTTONUP: return OnButtonUp(button, s);
    case WM_CANCELMODE: return OnCancelMode(button);
    case WM_GETDLGCODE: return OnGetDlgCode(reinterpret_cast<const MSG *>(lParam));
    case WM_KEYDOWN: return OnKeyDown(button, s, wParam, lParam);
    case WM_KEYUP: return OnKeyUp(button, s, wParam);
    case WM_SETFOCUS: return OnFocusChange(button, s, true);
    case WM_KILLFOCUS: return OnFocusChange(button, s, false);
    case WM_GETOBJECT: return AnswerGetObject(button, wParam, lParam, DescribeButton);
    default:
        if (message >= WM_USER)
            return 0;
        return DefWindowProcA(button, message, wParam, lParam);
    }
}
