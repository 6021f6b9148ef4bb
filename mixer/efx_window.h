// The 3D sound and tone window, and the start-up side of the effects: the
// chip revision probe and the saved preset.
#pragma once
#include <windows.h>

INT_PTR CALLBACK EfxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Revision flag of the sound chip.
int ProbeChipRevision();

// Writes the saved effect settings to the mixer.
void ApplySavedEffects();

// Room presets and MANUAL, as the "SELECT" setting counts them.
constexpr int EfxHall1 = 0;
constexpr int EfxDisco = 3;
constexpr int EfxManual = 4;
// Fader values of the window: 0 to 16.
constexpr int EfxFaderMaximum = 16;

// Program-wide effect state, kept while the window is closed.
extern int EfxSwitchValue; // the last value of the 3D switch control, 1 off
extern int EfxSelection;   // EfxHall1 ... EfxManual
extern int EfxBassValue;
extern int EfxTrebleValue;
extern int EfxWidthValue;

// Device levels of the four room presets; the width depends on ChipFlag.
struct EfxPreset {
    DWORD bass;
    DWORD treble;
    DWORD wide[2];
};
extern const EfxPreset EfxPresets[4];
