// From a drop to the device playing: the station, in this process on the real
// devices, is handed a file as a drop hands it over, and the time until its
// device reports that it plays is taken; beside it, a bare open and play of
// the same bytes through the same device. The moment is read off the device
// as soon as a play command to it returns, the station's passing through its
// command seam to winmm, so what a panel paints after its device plays is
// not counted as time before the sound; that is printed beside, as the time
// until the station has answered the drop. The two sides take turns; the
// medians and their ratio are printed beside the goal.
//   drop_to_play FILE [FILE...] [-rounds N]
#include "panekit/resources/panel_ids.h"
#include "players/media_files.h"
#include "players/wave_panel.h"
#include "platform/mci.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double Goal = 1.1;
constexpr double GiveUpMs = 5000;

double NowMs() {
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

void ServeWindows() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool DevicePlays(MCIDEVICEID device) {
    MCI_STATUS_PARMS mode{};
    mode.dwItem = MCI_STATUS_MODE;
    return device != 0 &&
           mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                           reinterpret_cast<DWORD_PTR>(&mode)) == 0 &&
           mode.dwReturn == MCI_MODE_PLAY;
}

// The moment the last play command left its device playing, or -1.
double PlayingSince = -1;

void NotePlaying(MCIDEVICEID device) {
    if (PlayingSince < 0 && DevicePlays(device))
        PlayingSince = NowMs();
}

// The station's commands go to winmm as before, with the moment noted.
decltype(Mci.sendCommand) StationSend;

MCIERROR WINAPI NotingSend(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params) {
    MCIERROR error = StationSend(device, message, flags, params);
    if (message == MCI_PLAY && error == 0)
        NotePlaying(device);
    return error;
}

void ServeWindowsUntil(double start, bool (*done)()) {
    while (NowMs() - start < GiveUpMs && !done()) {
        ServeWindows();
        Sleep(1);
    }
}

bool StationPlays() {
    return DevicePlays(WaveDevice);
}

struct Round {
    double playing = -1;  // drop to the device playing
    double answered = -1; // drop to the station's answer, painting included
};

Round StationRound(const char *path) {
    PlayingSince = -1;
    double start = NowMs();
    DispatchMediaFile(path);
    ServeWindows(); // what the drop left to paint
    Round round;
    round.answered = NowMs() - start;
    ServeWindowsUntil(start, StationPlays);
    if (PlayingSince >= 0)
        round.playing = PlayingSince - start;
    SendMessageA(WavePanel, WM_COMMAND, IDC_STOP, 0);
    ServeWindows();
    return round;
}

void Close(MCIDEVICEID device) {
    MCI_GENERIC_PARMS generic{};
    mciSendCommandA(device, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&generic));
}

MCIDEVICEID BareDevice;

// What the panel does for a file, bare: the file opened on the device the
// platform's table gives it (the wave device for a WAVE file), the file
// before it closed, and play.
double BareRound(const char *path) {
    PlayingSince = -1;
    double start = NowMs();
    MCI_OPEN_PARMSA open{};
    open.lpstrElementName = path;
    open.lpstrDeviceType = "waveaudio";
    const char *extension = std::strrchr(path, '.');
    DWORD flags = MCI_OPEN_ELEMENT | MCI_WAIT;
    if (extension != nullptr && lstrcmpiA(extension, ".wav") == 0)
        flags |= MCI_OPEN_TYPE;
    if (mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return -1;
    if (BareDevice != 0)
        Close(BareDevice);
    BareDevice = open.wDeviceID;
    MCI_SET_PARMS format{};
    format.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    mciSendCommandA(BareDevice, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT,
                    reinterpret_cast<DWORD_PTR>(&format));
    MCI_PLAY_PARMS play{};
    if (mciSendCommandA(BareDevice, MCI_PLAY, MCI_FROM, reinterpret_cast<DWORD_PTR>(&play)) == 0)
        NotePlaying(BareDevice);
    double ms = PlayingSince < 0 ? -1 : PlayingSince - start;
    MCI_GENERIC_PARMS generic{};
    mciSendCommandA(BareDevice, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&generic));
    return ms;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Each side takes turns between two copies of the file, as a user drops one
// file after another: the device before is closed after the next one opens.
// A device opens a file only once, so the two sides have copies of their own.
std::string CopyOf(const char *path, const char *mark) {
    std::string copy = path;
    copy.insert(copy.rfind('.'), mark);
    CopyFileA(path, copy.c_str(), FALSE);
    return copy;
}

void Measure(const char *path, int rounds) {
    const std::string station[2] = {CopyOf(path, "-1"), CopyOf(path, "-2")};
    const std::string bare[2] = {CopyOf(path, "-bare1"), CopyOf(path, "-bare2")};
    std::vector<double> stationMs, answeredMs, bareMs;
    for (int round = 0; round < rounds + 1; ++round) {
        Round s = StationRound(station[round % 2].c_str());
        double b = BareRound(bare[round % 2].c_str());
        if (round == 0)
            continue; // the first of each side opens no file before it
        if (s.playing >= 0) {
            stationMs.push_back(s.playing);
            answeredMs.push_back(s.answered);
        }
        if (b >= 0)
            bareMs.push_back(b);
    }
    const char *name = std::strrchr(path, '\\') ? std::strrchr(path, '\\') + 1 : path;
    if (stationMs.empty() || bareMs.empty()) {
        std::printf("drop to play, %s: not playing (station %zu, bare %zu of %d rounds)\n", name,
                    stationMs.size(), bareMs.size(), rounds);
        return;
    }
    double s = Median(stationMs), b = Median(bareMs);
    std::printf("drop to play, %s: station %.1f ms, bare open and play %.1f ms, %.2f of it "
                "(goal %.2f), median of %d; the station has answered the drop, painting "
                "included, after %.1f ms\n",
                name, s, b, s / b, Goal, rounds, Median(answeredMs));
}

} // namespace

int main(int argc, char **argv) {
    int rounds = 11;
    std::vector<const char *> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-rounds") == 0 && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            files.push_back(argv[i]);
    }
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    std::snprintf(SettingsFileName, sizeof SettingsFileName, "%ssbay_drop_bench.ini", directory);
    DeleteFileA(SettingsFileName);
    for (const char *key : {"CDDISPLAY", "MIDIDISPLAY", "MIXDISPLAY", "MULTIDISPLAY"})
        WritePrivateProfileStringA("Mixer", key, "0", SettingsFileName);
    WritePrivateProfileStringA("Mixer", "WAVEDISPLAY", "1", SettingsFileName);
    if (waveOutGetNumDevs() == 0) {
        std::printf("drop to play: no wave device (no sound server), not measured\n");
        return 0;
    }
    if (StartStation(GetModuleHandleA(nullptr), nullptr, "", SW_SHOWNORMAL) != StationRunning ||
        WavePanel == nullptr) {
        std::printf("drop to play: the station did not start with its WAVE panel\n");
        return 1;
    }
    StationSend = Mci.sendCommand;
    Mci.sendCommand = NotingSend;
    for (const char *file : files)
        Measure(file, rounds);
    PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    ServeWindows();
    return 0;
}
