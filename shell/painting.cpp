#include "shell/painting.h"

#include "cdplaylist/sequencer.h"
#include "panekit/gdi_owners.h"
#include "panekit/resources/panel_ids.h"
#include "shell/station.h"

#include <initializer_list>
#include <vector>

namespace {

HPALETTE SharedPalette;

constexpr int DisplayX = 372;
constexpr int DisplayY = 40;
constexpr int PlaylistDisplayX = 415;
constexpr int PlaylistDisplayY = 64;
constexpr int TickMilliseconds = 250;
constexpr int PollMilliseconds = 750;

// A bitmap resource as stored: header, colour table, pixels.
struct PackedBitmap {
    const BITMAPINFOHEADER *header = nullptr;
    int colours = 0;
    const void *pixels = nullptr;
};

int RowBytes(const BITMAPINFOHEADER &header) {
    return ((header.biWidth * header.biBitCount + 31) / 32) * 4;
}

// Finds the resource and checks that header, colour table and pixels all
// lie inside it before anything reads them.
bool FindPackedBitmap(HINSTANCE module, int id, PackedBitmap *bitmap) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (found == nullptr)
        return false;
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    auto *header = static_cast<const BITMAPINFOHEADER *>(LockResource(loaded));
    if (header == nullptr || size < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof *header ||
        header->biWidth <= 0 || header->biHeight == 0 || header->biCompression != BI_RGB ||
        header->biBitCount == 0 || header->biBitCount > 32)
        return false;
    int colours = header->biClrUsed != 0    ? static_cast<int>(header->biClrUsed)
                  : header->biBitCount <= 8 ? 1 << header->biBitCount
                                            : 0;
    if (colours > 256)
        return false;
    int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    DWORD needed = header->biSize + colours * sizeof(RGBQUAD) +
                   static_cast<DWORD>(RowBytes(*header)) * static_cast<DWORD>(height);
    if (needed > size)
        return false;
    bitmap->header = header;
    bitmap->colours = colours;
    bitmap->pixels =
        reinterpret_cast<const BYTE *>(header) + header->biSize + colours * sizeof(RGBQUAD);
    return true;
}

// The first bitmap ever drawn gives its colours to the whole program.
void CreateSharedPaletteFrom(const PackedBitmap &bitmap) {
    if (SharedPalette != nullptr || bitmap.colours == 0)
        return;
    auto *table = reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(bitmap.header) +
                                                    bitmap.header->biSize);
    std::vector<BYTE> block(sizeof(LOGPALETTE) + bitmap.colours * sizeof(PALETTEENTRY));
    auto *palette = reinterpret_cast<LOGPALETTE *>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(bitmap.colours);
    for (int i = 0; i < bitmap.colours; ++i)
        palette->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    SharedPalette = CreatePalette(palette);
}

void DrawOnWindow(HWND window, int id, int x, int y, HINSTANCE module) {
    HDC dc = GetDC(window);
    if (dc == nullptr)
        return;
    DrawSkinBitmap(dc, id, x, y, module);
    ReleaseDC(window, dc);
}

} // namespace

void DrawSkinBitmap(HDC dc, int id, int x, int y, HINSTANCE module) {
    PackedBitmap bitmap;
    if (module == nullptr || !FindPackedBitmap(module, id, &bitmap))
        return;
    int width = bitmap.header->biWidth;
    int height = bitmap.header->biHeight < 0 ? -bitmap.header->biHeight : bitmap.header->biHeight;
    CreateSharedPaletteFrom(bitmap);

    gdi::MemoryDc memory(dc);
    gdi::Bitmap canvas(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !canvas)
        return;
    gdi::Selection selected(memory.get(), canvas.get());
    gdi::PaletteSelection palette(memory.get(), SharedPalette, true);
    StretchDIBits(memory.get(), 0, 0, width, height, 0, 0, width, height, bitmap.pixels,
                  reinterpret_cast<const BITMAPINFO *>(bitmap.header), DIB_RGB_COLORS, SRCCOPY);
    BitBlt(dc, static_cast<short>(x), static_cast<short>(y), width, height, memory.get(), 0, 0,
           SRCCOPY);
}

void PaintPanel(HWND panel, int backgroundId) {
    gdi::PaintScope paint(panel);
    HDC dc = paint.dc();
    if (dc == nullptr)
        return;
    DrawSkinBitmap(dc, backgroundId, 0, 0, LibraryInstance);
    switch (backgroundId) {
    case LauncherBackground:
    case MixerBackground:
    case VideoBackground: break;
    case PlaylistBackground:
        DrawSkinBitmap(dc, IdlePlaylistDisplay, PlaylistDisplayX, PlaylistDisplayY,
                       ProgramInstance);
        break;
    default: DrawSkinBitmap(dc, IdleDisplay, DisplayX, DisplayY, ProgramInstance); break;
    }
}

void StaticColors(HBRUSH brush, HWND panel, HDC dc) {
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(0, 255, 255));
    UnrealizeObject(brush);
    POINT origin{0, 0};
    ClientToScreen(panel, &origin);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
}

int AnimateDisplay(HWND panel, int playState, int *frame, int *ticks) {
    if (playState == 1 || playState == 3) {
        *frame = *frame < LastDisplayFrame ? *frame + 1 : FirstDisplayFrame;
        DrawOnWindow(panel, *frame, DisplayX, DisplayY, ProgramInstance);
        if (panel == CurrentPlayer && PlaylistPanel != nullptr)
            DrawOnWindow(PlaylistPanel, *frame + PlaylistFrameOffset, PlaylistDisplayX,
                         PlaylistDisplayY, ProgramInstance);
    }
    *ticks += TickMilliseconds;
    if (*ticks < PollMilliseconds)
        return 0;
    *ticks = 0;
    return 1;
}

void SwitchControl(HWND control, bool on) {
    if (control != nullptr)
        SendMessageA(control, WM_COMMAND, on ? CMD_SET_ON : CMD_SET_OFF, 0);
}

// The controls of a table move in one deferred pass; where the platform
// cannot hold the pass, one by one. The panel's erase of what the moves
// uncover waits for its next paint: a panel is placed before it is shown.
void PlaceControls(HWND panel, const ControlPlace *places, size_t count, BOOL repaint,
                   HWND *handles, const bool *hidden) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE | (repaint ? 0 : SWP_NOREDRAW);
    HDWP pass = BeginDeferWindowPos(static_cast<int>(count));
    for (size_t i = 0; i < count; ++i) {
        HWND control = GetDlgItem(panel, places[i].id);
        if (handles != nullptr)
            handles[i] = control;
        UINT hide = hidden != nullptr && hidden[i] ? SWP_HIDEWINDOW : 0;
        if (control != nullptr && pass != nullptr)
            pass = DeferWindowPos(pass, control, nullptr, places[i].x, places[i].y, places[i].width,
                                  places[i].height, flags | hide);
    }
    if (pass != nullptr && EndDeferWindowPos(pass))
        return;
    for (size_t i = 0; i < count; ++i)
        if (HWND control = GetDlgItem(panel, places[i].id)) {
            MoveWindow(control, places[i].x, places[i].y, places[i].width, places[i].height,
                       repaint);
            if (hidden != nullptr && hidden[i])
                ShowWindow(control, SW_HIDE);
        }
}

void SetControlFonts(HWND panel, std::initializer_list<int> ids, HFONT font) {
    BOOL redraw = IsWindowVisible(panel);
    for (int id : ids)
        SendDlgItemMessageA(panel, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

RECT ReachableScreen(int(WINAPI *metric)(int)) {
    int left = metric(SM_XVIRTUALSCREEN);
    int top = metric(SM_YVIRTUALSCREEN);
    int width = metric(SM_CXVIRTUALSCREEN);
    int height = metric(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) {
        left = top = 0;
        width = metric(SM_CXSCREEN);
        height = metric(SM_CYSCREEN);
    }
    return RECT{left, top, left + width, top + height};
}

void DrawIdleDisplay(HWND panel) {
    if (panel == PlaylistPanel)
        DrawOnWindow(panel, IdlePlaylistDisplay, PlaylistDisplayX, PlaylistDisplayY,
                     ProgramInstance);
    else
        DrawOnWindow(panel, IdleDisplay, DisplayX, DisplayY, ProgramInstance);
}

void LatchButton(HWND panel, int id, HWND *remembered) {
    *remembered = GetDlgItem(panel, id);
    SwitchControl(*remembered, true);
}

void ReleaseLatchedButtons(HWND *first, HWND *second) {
    for (HWND *button : {first, second}) {
        SwitchControl(*button, false);
        *button = nullptr;
    }
}

void SelectSourceIndicator(HWND panel, int indicatorId) {
    for (int id : {4016, 4018, 4020, 4022})
        SwitchControl(GetDlgItem(panel, id), id == indicatorId);
}

int SourceIndicatorOf(int source) {
    const int indicators[] = {4018, 4020, 4016, 4022};
    return source >= 0 && source < 4 ? indicators[source] : 0;
}

void DeleteSharedPalette() {
    if (SharedPalette != nullptr)
        DeleteObject(SharedPalette);
    SharedPalette = nullptr;
}

HPALETTE CurrentSharedPalette() {
    return SharedPalette;
}
