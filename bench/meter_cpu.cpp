// The cost of a running meter: CPU time of the station over a stretch of
// wall-clock time with the WAVE panel open, first idle and then while it
// plays a WAVE file on the real wave device (timer 3 drawing the meter and
// polling the device), as a percentage of one core; then the same file
// played on the same device with the panel stopped, which tells the panel's
// share from the driver's.
//   meter_cpu [seconds]
#include "panekit/resources/panel_ids.h"
#include "players/media_files.h"
#include "players/wave_panel.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double GoalAboveDevice = 0.5; // percent of one core

double Seconds(FILETIME time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return double(value.QuadPart) / 1e7;
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

// Serves the station's windows for the given time without spinning; answers
// the CPU time the process used meanwhile as a percentage of one core.
double CpuPercentOver(double seconds) {
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    double cpuBegin = ProcessCpuSeconds();
    double elapsed = 0;
    while (elapsed < seconds) {
        DWORD wait = static_cast<DWORD>(std::max(1.0, (seconds - elapsed) * 1000));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        QueryPerformanceCounter(&now);
        elapsed = double(now.QuadPart - begin.QuadPart) / double(frequency.QuadPart);
    }
    return (ProcessCpuSeconds() - cpuBegin) / elapsed * 100.0;
}

void Put(std::vector<char> &out, const void *data, size_t size) {
    const char *bytes = static_cast<const char *>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// A mono 16-bit 22050 Hz sine of the given length.
bool WriteTone(const char *path, int seconds) {
    const DWORD rate = 22050, dataSize = rate * 2 * static_cast<DWORD>(seconds);
    const DWORD riffSize = 36 + dataSize, fmtSize = 16, byteRate = rate * 2;
    const WORD tag = WAVE_FORMAT_PCM, channels = 1, align = 2, bits = 16;
    std::vector<char> file;
    Put(file, "RIFF", 4);
    Put(file, &riffSize, 4);
    Put(file, "WAVEfmt ", 8);
    Put(file, &fmtSize, 4);
    Put(file, &tag, 2);
    Put(file, &channels, 2);
    Put(file, &rate, 4);
    Put(file, &byteRate, 4);
    Put(file, &align, 2);
    Put(file, &bits, 2);
    Put(file, "data", 4);
    Put(file, &dataSize, 4);
    for (DWORD i = 0; i < dataSize / 2; ++i) {
        auto sample = static_cast<short>(8000 * std::sin(2 * 3.14159265358979 * 441.0 * i / rate));
        Put(file, &sample, 2);
    }
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(handle, file.data(), static_cast<DWORD>(file.size()), &written, nullptr) &&
              written == file.size();
    CloseHandle(handle);
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    double seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    std::snprintf(SettingsFileName, sizeof SettingsFileName, "%ssbay_meter_bench.ini", directory);
    std::string tone = std::string(directory) + "sbay_meter_bench.wav";
    DeleteFileA(SettingsFileName);
    WritePrivateProfileStringA("Mixer", "CDDISPLAY", "0", SettingsFileName);
    WritePrivateProfileStringA("Mixer", "MIDIDISPLAY", "0", SettingsFileName);
    WritePrivateProfileStringA("Mixer", "MIXDISPLAY", "0", SettingsFileName);
    WritePrivateProfileStringA("Mixer", "WAVEDISPLAY", "1", SettingsFileName);
    if (!WriteTone(tone.c_str(), static_cast<int>(seconds) + 2)) {
        std::printf("meter: could not write %s\n", tone.c_str());
        return 1;
    }
    if (StartStation(GetModuleHandleA(nullptr), nullptr, "", SW_SHOWNORMAL) != StationRunning ||
        WavePanel == nullptr) {
        std::printf("meter: the station did not start with its WAVE panel\n");
        return 1;
    }
    CpuPercentOver(1); // start-up settles

    double idle = CpuPercentOver(seconds);
    int result = 0;
    if (waveOutGetNumDevs() == 0) {
        std::printf("meter: no wave device (no sound server), not measured; idle %.2f %%\n", idle);
    } else {
        DispatchMediaFile(tone.c_str()); // opens and plays
        bool playing = WavePlayState == WavePlaying;
        double busy = CpuPercentOver(seconds);
        playing = playing && WavePlayState == WavePlaying;
        // The same file on the same device with the panel stopped: what the
        // driver and the sound server's client cost without the panel.
        SendMessageA(WavePanel, WM_COMMAND, IDC_STOP, 0);
        MCI_PLAY_PARMS play{};
        bool driverPlaying = mciSendCommandA(WaveDevice, MCI_PLAY, MCI_FROM,
                                             reinterpret_cast<DWORD_PTR>(&play)) == 0;
        double driver = CpuPercentOver(seconds);
        MCI_STATUS_PARMS mode{};
        mode.dwItem = MCI_STATUS_MODE;
        mciSendCommandA(WaveDevice, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&mode));
        driverPlaying = driverPlaying && mode.dwReturn == MCI_MODE_PLAY;
        MCI_GENERIC_PARMS stop{};
        mciSendCommandA(WaveDevice, MCI_STOP, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&stop));

        const char *invalid = "  (playback did not last: figure not valid)";
        std::printf("station CPU over %.0f s, WAVE panel open (%% of one core):\n", seconds);
        std::printf("  idle                            %6.2f %%\n", idle);
        std::printf("  playing, meter running          %6.2f %%%s\n", busy, playing ? "" : invalid);
        std::printf("  above idle                      %6.2f %%\n", busy - idle);
        std::printf("  the device alone, panel stopped %6.2f %%%s\n", driver,
                    driverPlaying ? "" : invalid);
        std::printf("  the panel above the device      %6.2f %%   goal: under %.2f %%\n",
                    busy - driver, GoalAboveDevice);
        result = playing && driverPlaying ? 0 : 1;
    }

    PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    RunMessageLoop();
    EndStation();
    DeleteFileA(SettingsFileName);
    DeleteFileA(tone.c_str());
    return result;
}
