// Painting helpers shared by the panels: skin bitmaps drawn through the one
// shared palette, panel backgrounds, display text colours, the display
// animation, control placement and the screen windows are kept on, and the
// release and lighting of remembered keys.
#pragma once
#include <windows.h>

#include <initializer_list>

// Background skins of panekit32.
constexpr int LauncherBackground = 1999;
constexpr int CdBackground = 122;
constexpr int MidiBackground = 4053;
constexpr int WaveBackground = 1016;
constexpr int PlaylistBackground = 4054;
constexpr int MixerBackground = 1017;
constexpr int VideoBackground = 4047;

// The program's own display bitmaps.
constexpr int IdleDisplay = 104;
constexpr int FirstDisplayFrame = 105;
constexpr int LastDisplayFrame = 114;
constexpr int IdlePlaylistDisplay = 135;
constexpr int PlaylistFrameOffset = 3926; // frame f shows on the playlist as f + 3926

// Draws bitmap resource id of module with its top-left corner at x, y.
// A missing or damaged bitmap draws nothing.
void DrawSkinBitmap(HDC dc, int id, int x, int y, HINSTANCE module);

// The whole WM_PAINT of a panel whose background is the given skin.
void PaintPanel(HWND panel, int backgroundId);

// WM_CTLCOLORSTATIC of a panel: cyan text on black, the brush aligned with
// the panel wherever it sits. The caller answers with the brush.
void StaticColors(HBRUSH brush, HWND panel, HDC dc);

// One 250 ms tick of a panel's display: draws the next frame while playing
// or recording. Answers 1 every third tick, else 0.
int AnimateDisplay(HWND panel, int playState, int *frame, int *ticks);

// A control's place in its panel, in pixels.
struct ControlPlace {
    int id, x, y, width, height;
};

// Moves each control of the table that the panel has to its place. Where
// handles is given, it receives each control's window, null for a control
// the panel does not have, in the order of the table; where hidden is given,
// a control marked there in the order of the table is hidden in the same pass.
void PlaceControls(HWND panel, const ControlPlace *places, size_t count, BOOL repaint,
                   HWND *handles = nullptr, const bool *hidden = nullptr);
template <size_t N>
void PlaceControls(HWND panel, const ControlPlace (&places)[N], BOOL repaint = TRUE) {
    PlaceControls(panel, places, N, repaint);
}

// Gives the listed controls of a panel a font; a panel not yet on screen
// draws them with it when it is shown.
void SetControlFonts(HWND panel, std::initializer_list<int> ids, HFONT font);

// The area a window of the station is kept within so that it can be seen
// and moved: the virtual screen of all monitors, or the primary screen where
// the system answers 0 for the virtual screen (Windows 95 and NT 4.0).
// metric stands in for GetSystemMetrics.
RECT ReachableScreen(int(WINAPI *metric)(int) = GetSystemMetrics);

// The idle display of a player panel, or of the playlist panel, drawn now.
void DrawIdleDisplay(HWND panel);

// Latches a key and remembers it for ReleaseLatchedButtons.
void LatchButton(HWND panel, int id, HWND *remembered);

// Latches or lights a panekit32 control (on), or releases or darkens it.
void SwitchControl(HWND control, bool on);

// Releases the remembered latched keys and forgets them.
void ReleaseLatchedButtons(HWND *first, HWND *second);

// Lights one of the WAVE panel's record-source indicators and darkens the others.
void SelectSourceIndicator(HWND panel, int indicatorId);
// The WAVE panel's indicator of a recording source (0 CD, 1 mic, 2 line,
// 3 loop), 0 for none.
int SourceIndicatorOf(int source);

// Deletes the shared palette; the launcher bar calls it at exit.
void DeleteSharedPalette();

// The palette every skin is drawn through, or null before the first bitmap.
HPALETTE CurrentSharedPalette();
