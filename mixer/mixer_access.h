// Access to the sound card's mixer: the open device, the map of its controls,
// and the state kept in the settings file at exit.
#pragma once
#include <windows.h>
#include <mmsystem.h>

extern HMIXER MixerHandle;

// Opens mixer 0 with callbackWindow receiving every control change. Answers
// false when the platform has no mixer device or refuses to open it.
bool OpenMixer(HWND callbackWindow);

// Maps the mixer's lines and controls. Answers true when a 3D line exists.
bool ProbeMixer();

// Writes every level, mute and the record source to the settings file.
void SaveMixerState();

void CloseMixer();
