// The VIDEO (AVI) player panel: plays one video at a time on the platform's
// digital-video device, its picture in a small window inside the panel or
// in an overlapped window of its own.
#pragma once
#include <windows.h>

constexpr int VideoStopped = 0;
constexpr int VideoPlaying = 1;
constexpr int VideoPaused = 2;
constexpr int VideoStepping = 5; // Forward or Back held during playback

constexpr int VideoSeparateWindow = 2; // any other window mode: inside the panel

// 0 stopped, 1 playing, 2 paused, 5 stepping.
extern int VideoPlayState;
// 2: the picture in its own window; 0 at start, 1 after switching back.
extern int VideoWindowMode;
// The device's playback window, or null with no video open.
extern HWND VideoPlaybackWindow;

// Whether the panel has the file at path open.
bool VideoHoldsFile(const char *path);

INT_PTR CALLBACK VideoPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
