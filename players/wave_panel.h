// The WAVE player and recorder panel, and the state of its WAVE data that
// the save question reads.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "players/file_names.h"

constexpr int WaveNameSize = 256;
constexpr int WavePathSize = MediaPathSize;

extern int WaveModified;                // 1 while a recording is not saved
extern char WaveFilePath[WavePathSize]; // full path of the current data
extern char WaveFileTitle[WaveNameSize];
extern MCIDEVICEID WaveDevice; // the open "waveaudio" device, 0 when none
constexpr int WaveStopped = 0;
constexpr int WavePlaying = 1;
constexpr int WavePaused = 2;       // playback paused
constexpr int WaveRecording = 3;    // a take being recorded
constexpr int WaveRecordPaused = 4; // a take's recording paused

// 0 stopped, 1 playing, 2 paused, as the MIDI panel counts; 3 recording,
// 4 recording paused.
extern int WavePlayState;
extern int WaveRecordMode; // 0 overwrite, 1 append, 2 new
// The open data is a sound-only file of another of the platform's devices
// (an MP3, say), played only: never written, never recorded into.
extern bool WavePlayOnly;

// Whether the panel has the file at path open.
bool WaveHoldsFile(const char *path);

INT_PTR CALLBACK WavePanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
