// Access to the sound card's mixer: the one open device, the map from the
// station's named mixer functions to the device's control identifiers, the
// six routines every panel reads and writes controls with, and the mixer
// state kept in the settings file at exit.
#pragma once
#include <windows.h>
#include <mmsystem.h>

// A slot of the map that the probe did not fill.
constexpr DWORD EmptyMixerSlot = 0xFFFF;

// No item of the record selector is selected.
constexpr int NoRecordSource = 4;

// Record-source indices, items of the record selector.
constexpr int RecordFromCd = 0;
constexpr int RecordFromMic = 1;
constexpr int RecordFromLine = 2;
constexpr int RecordFromLoop = 3;

struct MixerControls {
    DWORD FmVolume, FmMute;
    DWORD WaveVolume, WaveMute;
    DWORD MasterVolume, MasterMute;
    DWORD LoopVolume, LoopMute;
    DWORD LineVolume, LineMute;
    DWORD AuxVolume, AuxMute;
    DWORD MicVolume, MicMute;
    DWORD MonoInVolume, MonoInMute;
    DWORD SoftSynthVolume, SoftSynthMute;
    DWORD RecSelector;
    DWORD RecCdLevel, RecMicLevel, RecLineLevel, RecLoopLevel;
    DWORD RecMeter0, RecMeter1, RecMeter2, RecMeter3;
    DWORD WavePeakMeter;
    DWORD ToneBass, ToneTreble, EfxWide, EfxSwitch;
};

extern HMIXER MixerHandle;
extern MixerControls MixerControlMap;
// The 3D line has one channel.
extern bool ThreeDLineMono;
// The selected recording source (RecordFromCd ... RecordFromLoop, or
// NoRecordSource), shared by the WAVE panel and the mixer panel.
extern int RecordSource;

// Whether the device has the control: one query by its identifier.
bool MixerControlExists(DWORD control);

// The level control of a recording source, EmptyMixerSlot for none.
DWORD RecordLevelOf(int source);

// Opens mixer 0 with callbackWindow receiving every control change. Answers
// false when the platform has no mixer device or refuses to open it. Every
// slot of the map starts empty.
bool OpenMixer(HWND callbackWindow);

// Maps the mixer's lines and controls. Answers true when a 3D line exists.
bool ProbeMixer();

// Writes every level, mute and the record source to the settings file.
void SaveMixerState();

void CloseMixer();

// A packed level holds channel 0 in the low 16 bits and channel 1 in the
// high 16 bits; a one-channel control uses the low half only.
DWORD ReadLevel(DWORD control);
// Both writes answer false when there is no mixer or the slot is empty.
bool WriteLevel(DWORD control, DWORD packedLevel);
DWORD ReadSwitch(DWORD control);
bool WriteSwitch(DWORD control, bool on);
// Index of the first selected item of the record selector, or
// NoRecordSource when none is (or there is no mixer).
int ReadRecordSource();
// Selects the one item at index; an index above 3 selects item 0.
bool WriteRecordSource(int index);
