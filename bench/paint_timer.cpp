// Times full repaints of the station with every stacked panel open: the
// launcher bar, the CD, MIDI, WAVE, mixer, playlist and VIDEO panels and all
// their controls. Prints the median of one repaint.
//   paint_timer [repaints]
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

// Median time of a synchronous repaint of a window and all its children.
double MedianRepaint(HWND window, int repaints) {
    std::vector<double> times;
    for (int i = 0; i < repaints; ++i) {
        LARGE_INTEGER begin, end;
        QueryPerformanceCounter(&begin);
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(begin, end));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    int repaints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
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

    double median = MedianRepaint(MainWindow, repaints);
    std::printf("full repaint over %d repaints (ms): median %.2f\n", repaints, median);
    const struct {
        HWND window;
        const char *name;
    } parts[] = {{LauncherBar, "launcher bar"}, {CdPanel, "CD"},       {MidiPanel, "MIDI"},
                 {WavePanel, "WAVE"},           {MixerPanel, "mixer"}, {PlaylistPanel, "playlist"},
                 {VideoPanel, "VIDEO"}};
    for (const auto &part : parts)
        if (part.window != nullptr)
            std::printf("  %-12s %.2f ms\n", part.name,
                        MedianRepaint(part.window, std::max(1, repaints / 10)));

    PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    RunMessageLoop();
    EndStation();
    DeleteFileA(SettingsFileName);
    return 0;
}
