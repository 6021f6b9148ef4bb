// Times full repaints of the station with every stacked panel open: the
// launcher bar, the CD, MIDI, WAVE, mixer, playlist and VIDEO panels and all
// their controls, beside the floor: a bare copy of the same window tree that
// paints only what the design asks (bench/paint_floor.h), timed in the same
// run. Prints the medians of one repaint, whole and per panel, with the
// ratio to the floor.
//   paint_timer [repaints]
#include "bench/paint_floor.h"
#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr double Goal = 1.2;
constexpr int Rounds = 6; // the trees take turns this often

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Times `repaints` synchronous repaints of a window and all its children.
void TimeRepaints(HWND window, int repaints, std::vector<double> *times) {
    for (int i = 0; i < repaints; ++i) {
        LARGE_INTEGER begin, end;
        QueryPerformanceCounter(&begin);
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        QueryPerformanceCounter(&end);
        times->push_back(Milliseconds(begin, end));
    }
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The station's window tree and its copies take turns on screen, each timed
// while the others are hidden.
constexpr int Trees = 3; // the station, the floor, the windows alone

using Times = std::vector<double>[Trees];

// Times the same window of each tree; `tops` are the trees' top-level windows.
void TimeTurns(const HWND (&tops)[Trees], const HWND (&windows)[Trees], int repaints,
               Times &times) {
    int each = std::max(1, repaints / Rounds);
    for (int round = 0; round < Rounds; ++round)
        for (int tree = 0; tree < Trees; ++tree) {
            for (int other = 0; other < Trees; ++other)
                if (other != tree)
                    ShowWindow(tops[other], SW_HIDE);
            ShowWindow(tops[tree], SW_SHOWNA);
            Pump();
            TimeRepaints(windows[tree], each, &times[tree]);
        }
    for (int tree = 1; tree < Trees; ++tree)
        ShowWindow(tops[tree], SW_HIDE);
    ShowWindow(tops[0], SW_SHOWNA);
    Pump();
}

void Report(const char *name, const Times &times) {
    double station = Median(times[0]), floor = Median(times[1]), windows = Median(times[2]);
    std::printf("  %-12s %7.2f   floor %7.2f   ratio %.2f   windows alone %7.2f\n", name, station,
                floor, station / floor, windows);
}

} // namespace

int main(int argc, char **argv) {
    int repaints = argc > 1 ? std::max(Rounds, std::atoi(argv[1])) : 300;
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    std::snprintf(SettingsFileName, sizeof SettingsFileName, "%ssbay_paint_bench.ini", directory);
    DeleteFileA(SettingsFileName);
    WritePrivateProfileStringA("Mixer", "MULTIDISPLAY", "5", SettingsFileName);

    if (StartStation(GetModuleHandleA(nullptr), nullptr, "", SW_SHOWNORMAL) != StationRunning) {
        std::printf("the station did not start\n");
        return 1;
    }
    SendMessageA(LauncherBar, WM_COMMAND, IDC_SHOW_VIDEO, 0);
    Pump();
    std::printf("panels open: %d%s\n", PanelStackCount,
                MixerPanel == nullptr ? " (no mixer device: mixer panel missing)" : "");

    const FloorPanel panels[] = {
        {LauncherBar, 1999, 0, 0, 0},    {CdPanel, 122, 104, 372, 40},
        {MidiPanel, 4053, 104, 372, 40}, {WavePanel, 1016, 104, 372, 40},
        {MixerPanel, 1017, 0, 0, 0},     {PlaylistPanel, 4054, 135, 415, 64},
        {VideoPanel, 4040, 0, 0, 0}};
    const char *names[] = {"launcher bar", "CD", "MIDI", "WAVE", "mixer", "playlist", "VIDEO"};
    std::map<HWND, HWND> floor = BuildPaintFloor(MainWindow, LibraryInstance, panels, 7, false);
    std::map<HWND, HWND> bare = BuildPaintFloor(MainWindow, LibraryInstance, panels, 7, true);
    Pump();

    const HWND tops[Trees] = {MainWindow, floor[MainWindow], bare[MainWindow]};
    Times whole;
    TimeTurns(tops, tops, repaints, whole);
    std::printf("full repaint of %d windows, median of %d repaints (ms):\n",
                static_cast<int>(floor.size()), repaints);
    Report("station", whole);
    std::printf("  goal: ratio at most %.2f; windows alone: the same tree painting nothing\n",
                Goal);
    std::printf("per panel, median of %d repaints (ms):\n", std::max(Rounds, repaints / 5));
    for (int i = 0; i < 7; ++i) {
        HWND panel = panels[i].panel;
        if (panel == nullptr || floor.count(panel) == 0)
            continue;
        Times part;
        TimeTurns(tops, {panel, floor[panel], bare[panel]}, repaints / 5, part);
        Report(names[i], part);
    }

    DestroyWindow(floor[MainWindow]);
    DestroyWindow(bare[MainWindow]);
    PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    RunMessageLoop();
    EndStation();
    DeleteFileA(SettingsFileName);
    return 0;
}
