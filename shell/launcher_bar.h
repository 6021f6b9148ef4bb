// The launcher bar: the strip of keys at the top of the main window. It opens
// and closes the stacked panels, owns their vertical layout and the window's
// height, starts the tools, and keeps the panel options.
#pragma once
#include <windows.h>

constexpr int PanelSlotHeight = 86;
constexpr int VideoSlotHeight = 106;
constexpr int MaxStackedPanels = 6;

struct PanelStackEntry {
    HWND panel;
    short top;  // client y of the panel's slot
    int height; // slot height
};

extern PanelStackEntry PanelStack[MaxStackedPanels];
extern int PanelStackCount;

// Set when a panel is put into the stack, cleared by the panel's power key.
extern bool CdPanelShown;
extern bool MidiPanelShown;
extern bool WavePanelShown;
extern bool PlaylistPanelShown;
extern bool VideoPanelShown;
extern bool EfxWindowOpen;

extern bool MixerAvailable;
extern bool EfxAvailable;
extern int ChipFlag;
extern bool AutoPlayStarted;
extern bool OpenEfxAtFirstPaint;

// Options kept by the bar for the panels.
extern int LockOption;
extern int WaveLockOption;
extern int MonoInOption;
constexpr int PlayListNameSize = 64;
extern char PlayListName[PlayListNameSize];
extern char PlayListEntry[PlayListNameSize];

INT_PTR CALLBACK LauncherBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);

// The panel's place in the stack, PanelStackCount when it is not there.
int StackIndexOf(HWND panel);

// Takes a panel out of the stack and closes the gap. Answers 0 when the panel
// is not in the stack.
int RemovePanel(HWND panel, int slotHeight);

// What a stacked panel's power key does: out of the stack, shown flag cleared,
// its launcher key released (no key for launcherKey 0).
void ClosePanelByPowerKey(HWND panel, int slotHeight, bool *shown, int launcherKey);

// The playlist panel on the current collection, as after the editor saved
// it: refilled, its first entry loaded, the panel opened when it is not.
void ShowCurrentCollection();

// Latches or releases one of the bar's keys.
void SetLauncherKey(int key, bool latched);
