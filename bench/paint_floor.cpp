#include "bench/paint_floor.h"

#include "panekit/control_rules.h"
#include "shell/painting.h"

#include <climits>
#include <cstring>
#include <set>
#include <vector>

namespace {

constexpr char FloorTop[] = "floortop";
constexpr char FloorPanelClass[] = "floorpanel";
constexpr char FloorButton[] = "floorbutton";
constexpr char FloorSlider[] = "floorslider";
constexpr char FloorLamp[] = "floorlamp";
constexpr int SliderTrack = 7025;
constexpr int ThumbTop = 20;

HINSTANCE Library;
HINSTANCE Program;
HBRUSH Black;
std::map<HWND, FloorPanel> Panels;
std::set<HWND> Idle; // windows of a copy that paints nothing
bool CopyPaintsNothing;

// Width and height of a bitmap resource, read from its header.
SIZE SizeOfBitmap(HINSTANCE module, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    auto *header =
        found == nullptr
            ? nullptr
            : static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(module, found)));
    if (header == nullptr)
        return {0, 0};
    return {header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight};
}

// A bitmap of `module` loaded, copied 1:1 to (x, y) of `dc`, at most
// `limit` of it, and deleted.
void CopyBitmap(HDC dc, HINSTANCE module, int id, int x, int y, SIZE limit) {
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
    if (bitmap == nullptr)
        return;
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, x, y, info.bmWidth < limit.cx ? info.bmWidth : limit.cx,
           info.bmHeight < limit.cy ? info.bmHeight : limit.cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

// A control's face, copied to its client area.
void CopyFace(HWND control, HDC dc, int id) {
    RECT client;
    GetClientRect(control, &client);
    CopyBitmap(dc, Library, id, 0, 0, {client.right, client.bottom});
}

// Fills what a paint of `covered` leaves of the client area.
void EraseAround(HWND window, HDC dc, SIZE covered) {
    RECT client;
    GetClientRect(window, &client);
    if (covered.cx >= client.right && covered.cy >= client.bottom)
        return;
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, 0, 0, covered.cx, covered.cy);
    FillRect(dc, &client, Black);
    RestoreDC(dc, saved);
}

int LampFace(HWND lamp) {
    return GetDlgCtrlID(lamp);
}

void PaintPanel(HWND window, HDC dc) {
    const FloorPanel &panel = Panels[window];
    const SIZE whole{SHRT_MAX, SHRT_MAX};
    CopyBitmap(dc, Library, panel.backgroundId, 0, 0, whole);
    if (panel.displayId != 0)
        CopyBitmap(dc, Program, panel.displayId, panel.displayX, panel.displayY, whole);
}

void PaintButton(HWND button, HDC dc) {
    CopyFace(button, dc,
             ButtonFaceBase(GetDlgCtrlID(button), GetWindowLongA(button, GWL_STYLE) & 0xFF));
}

void ThumbRow(HDC dc, COLORREF colour, int left, int right, int y) {
    SetDCPenColor(dc, colour);
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right + 1, y);
}

void PaintSlider(HWND slider, HDC dc) {
    CopyFace(slider, dc, SliderTrack);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(DC_PEN));
    const COLORREF rows[] = {RGB(255, 255, 0),   RGB(255, 255, 0),   RGB(192, 192, 192),
                             RGB(128, 128, 255), RGB(128, 255, 255), RGB(255, 128, 255)};
    for (int row = 0; row < 6; ++row)
        ThumbRow(dc, rows[row], 2, 18, ThumbTop + row);
    SetDCPenColor(dc, RGB(255, 255, 255));
    MoveToEx(dc, 1, ThumbTop, nullptr);
    LineTo(dc, 1, ThumbTop + 6);
    LineTo(dc, 19, ThumbTop + 6);
    ThumbRow(dc, RGB(0, 0, 0), 1, 18, ThumbTop + 7);
    SelectObject(dc, previous);
}

void PaintLamp(HWND lamp, HDC dc) {
    CopyFace(lamp, dc, LampFace(lamp));
}

// What each kind of window paints, and how much of it that covers.
struct Role {
    void (*paint)(HWND window, HDC dc);
    SIZE (*covered)(HWND window);
};

SIZE PanelCovers(HWND window) {
    return SizeOfBitmap(Library, Panels[window].backgroundId);
}
SIZE ButtonCovers(HWND) {
    return {SHRT_MAX, SHRT_MAX}; // a button never erases
}
SIZE SliderCovers(HWND) {
    return SizeOfBitmap(Library, SliderTrack);
}
SIZE LampCovers(HWND window) {
    return SizeOfBitmap(Library, LampFace(window));
}

const Role PanelRole{PaintPanel, PanelCovers};
const Role ButtonRole{PaintButton, ButtonCovers};
const Role SliderRole{PaintSlider, SliderCovers};
const Role LampRole{PaintLamp, LampCovers};

LRESULT Handle(const Role &role, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    bool idle = Idle.count(window) != 0;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (!idle)
            role.paint(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        if (!idle)
            EraseAround(window, reinterpret_cast<HDC>(wParam), role.covered(window));
        return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
        if (!idle && &role == &PanelRole) {
            // Coloured as the panels colour them, by the same helper.
            StaticColors(Black, window, reinterpret_cast<HDC>(wParam));
            return reinterpret_cast<LRESULT>(Black);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Handle(PanelRole, window, message, wParam, lParam);
}
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Handle(ButtonRole, window, message, wParam, lParam);
}
LRESULT CALLBACK SliderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Handle(SliderRole, window, message, wParam, lParam);
}
LRESULT CALLBACK LampProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Handle(LampRole, window, message, wParam, lParam);
}

void Register(const char *name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = Program;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

// The floor's class for a window of the station's class, or null when the
// window is the platform's own and is copied as it is.
const char *FloorClassOf(HWND window, const char *stationClass) {
    if (Panels.count(window) != 0 || std::strcmp(stationClass, "#32770") == 0)
        return FloorPanelClass;
    if (std::strcmp(stationClass, "BitmapButton") == 0)
        return FloorButton;
    if (std::strcmp(stationClass, "SliderVol") == 0)
        return FloorSlider;
    if (std::strcmp(stationClass, "HiliteBitmap") == 0)
        return FloorLamp;
    return nullptr;
}

void CopyListRows(HWND from, HWND to) {
    LRESULT rows = SendMessageA(from, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < rows; ++row) {
        std::vector<char> text(SendMessageA(from, LB_GETTEXTLEN, row, 0) + 1);
        SendMessageA(from, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
        SendMessageA(to, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.data()));
    }
}

void CopyChildren(HWND from, HWND to, std::map<HWND, HWND> *copies) {
    // A new child goes under its siblings, so copies made from the top of
    // the z-order down stack as the originals do.
    for (HWND child = GetWindow(from, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = "";
        GetClassNameA(child, className, sizeof className);
        char text[256] = "";
        GetWindowTextA(child, text, sizeof text);
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, from, reinterpret_cast<POINT *>(&place), 2);
        const char *floorClass = FloorClassOf(child, className);
        DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
        if (floorClass != nullptr) {
            style = WS_CHILD | (style & (WS_VISIBLE | 0xFF));
            exStyle = 0;
        }
        HWND copy = CreateWindowExA(
            exStyle, floorClass != nullptr ? floorClass : className, text, style, place.left,
            place.top, place.right - place.left, place.bottom - place.top, to,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(child))), Program, nullptr);
        if (copy == nullptr)
            continue;
        if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)))
            SendMessageA(copy, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (std::strcmp(className, "ListBox") == 0)
            CopyListRows(child, copy);
        if (Panels.count(child) != 0)
            Panels[copy] = Panels[child];
        if (CopyPaintsNothing && floorClass != nullptr)
            Idle.insert(copy);
        (*copies)[child] = copy;
        CopyChildren(child, copy, copies);
    }
}

} // namespace

std::map<HWND, HWND> BuildPaintFloor(HWND stationWindow, HINSTANCE library,
                                     const FloorPanel *panels, int panelCount, bool paintNothing) {
    CopyPaintsNothing = paintNothing;
    Library = library;
    Program = GetModuleHandleA(nullptr);
    Black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    Register(FloorTop, DefWindowProcA, Black);
    Register(FloorPanelClass, PanelProc, nullptr);
    Register(FloorButton, ButtonProc, nullptr);
    Register(FloorSlider, SliderProc, nullptr);
    Register(FloorLamp, LampProc, nullptr);
    for (int i = 0; i < panelCount; ++i)
        if (panels[i].panel != nullptr)
            Panels[panels[i].panel] = panels[i];

    RECT place;
    GetWindowRect(stationWindow, &place);
    HWND top = CreateWindowExA(
        static_cast<DWORD>(GetWindowLongA(stationWindow, GWL_EXSTYLE)), FloorTop, "floor",
        static_cast<DWORD>(GetWindowLongA(stationWindow, GWL_STYLE)) & ~WS_VISIBLE, place.left,
        place.top, place.right - place.left, place.bottom - place.top, nullptr, nullptr, Program,
        nullptr);
    std::map<HWND, HWND> copies;
    copies[stationWindow] = top;
    CopyChildren(stationWindow, top, &copies);
    return copies;
}
