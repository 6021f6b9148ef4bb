#include "bench/paint_floor.h"

#include "panekit/control_rules.h"

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

struct Dib {
    const BITMAPINFOHEADER *header = nullptr;
    const BYTE *pixels = nullptr;
    int colours = 0;
};

bool FindDib(HINSTANCE module, int id, Dib *dib) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (found == nullptr)
        return false;
    dib->header = static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(module, found)));
    if (dib->header == nullptr)
        return false;
    dib->colours = dib->header->biClrUsed != 0    ? static_cast<int>(dib->header->biClrUsed)
                   : dib->header->biBitCount <= 8 ? 1 << dib->header->biBitCount
                                                  : 0;
    dib->pixels = reinterpret_cast<const BYTE *>(dib->header) + dib->header->biSize +
                  dib->colours * sizeof(RGBQUAD);
    return true;
}

int HeightOf(const Dib &dib) {
    return dib.header->biHeight < 0 ? -dib.header->biHeight : dib.header->biHeight;
}

// A bitmap loaded, copied 1:1 to the client's corner and deleted.
SIZE CopyBitmap(HDC dc, int id, const RECT &client) {
    HBITMAP face = LoadBitmapA(Library, MAKEINTRESOURCEA(id));
    if (face == nullptr)
        return {0, 0};
    BITMAP info{};
    GetObjectA(face, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, face);
    BitBlt(dc, 0, 0, info.bmWidth < client.right ? info.bmWidth : client.right,
           info.bmHeight < client.bottom ? info.bmHeight : client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(face);
    return {info.bmWidth, info.bmHeight};
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

SIZE SizeOfBitmap(HINSTANCE module, int id) {
    Dib dib;
    if (!FindDib(module, id, &dib))
        return {0, 0};
    return {dib.header->biWidth, HeightOf(dib)};
}

int LampFace(HWND lamp) {
    return GetDlgCtrlID(lamp);
}

// A bitmap of `module` loaded, copied 1:1 to (x, y) and deleted.
void CopyBitmapAt(HDC dc, HINSTANCE module, int id, int x, int y) {
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
    if (bitmap == nullptr)
        return;
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

void PaintPanel(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const FloorPanel &panel = Panels[window];
    CopyBitmapAt(dc, Library, panel.backgroundId, 0, 0);
    if (panel.displayId != 0)
        CopyBitmapAt(dc, Program, panel.displayId, panel.displayX, panel.displayY);
    EndPaint(window, &paint);
}

void PaintButton(HWND button) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(button, &paint);
    RECT client;
    GetClientRect(button, &client);
    CopyBitmap(dc, ButtonFaceBase(GetDlgCtrlID(button), GetWindowLongA(button, GWL_STYLE) & 0xFF),
               client);
    EndPaint(button, &paint);
}

void ThumbRow(HDC dc, COLORREF colour, int left, int right, int y) {
    SetDCPenColor(dc, colour);
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right + 1, y);
}

void PaintSlider(HWND slider) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(slider, &paint);
    RECT client;
    GetClientRect(slider, &client);
    CopyBitmap(dc, SliderTrack, client);
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
    EndPaint(slider, &paint);
}

void PaintLamp(HWND lamp) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(lamp, &paint);
    RECT client;
    GetClientRect(lamp, &client);
    CopyBitmap(dc, LampFace(lamp), client);
    EndPaint(lamp, &paint);
}

LRESULT StaticColours(HWND panel, HDC dc) {
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(0, 255, 255));
    UnrealizeObject(Black);
    POINT origin{0, 0};
    ClientToScreen(panel, &origin);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    return reinterpret_cast<LRESULT>(Black);
}

LRESULT IdleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Idle.count(window) != 0)
        return IdleProc(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: PaintPanel(window); return 0;
    case WM_ERASEBKGND: {
        const FloorPanel &panel = Panels[window];
        EraseAround(window, reinterpret_cast<HDC>(wParam),
                    SizeOfBitmap(Library, panel.backgroundId));
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX: return StaticColours(window, reinterpret_cast<HDC>(wParam));
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Idle.count(window) != 0)
        return IdleProc(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: PaintButton(window); return 0;
    case WM_ERASEBKGND: return 1;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK SliderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Idle.count(window) != 0)
        return IdleProc(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: PaintSlider(window); return 0;
    case WM_ERASEBKGND:
        EraseAround(window, reinterpret_cast<HDC>(wParam), SizeOfBitmap(Library, SliderTrack));
        return 1;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK LampProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Idle.count(window) != 0)
        return IdleProc(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: PaintLamp(window); return 0;
    case WM_ERASEBKGND:
        EraseAround(window, reinterpret_cast<HDC>(wParam), SizeOfBitmap(Library, LampFace(window)));
        return 1;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
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
    // The first child is the top of the z-order; copies are created bottom up
    // so that each lands on top of the ones before.
    std::vector<HWND> children;
    for (HWND child = GetWindow(from, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        HWND child = *it;
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
