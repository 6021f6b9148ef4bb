// The 3D sound and tone window, and the start-up side of the effects: the
// chip revision probe and the saved preset.
#pragma once
#include <windows.h>

INT_PTR CALLBACK EfxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Revision flag of the sound chip.
int ProbeChipRevision();

// Writes the saved effect settings to the mixer.
void ApplySavedEffects();
