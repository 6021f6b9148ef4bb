// Times start-up: starts a program, waits until its main window is shown and
// the program answers messages (its start-up and first paint are done),
// closes it, and repeats. The station runs with a settings file that stacks
// the CD, MIDI, WAVE, mixer and playlist panels; the user's own settings file
// is put back afterwards. Prints the medians of the station, of its floor
// (the same windows from the same templates, doing nothing), of a bare
// window importing the station's system DLLs and of a bare window, with the
// ratios; the goal is set against the floor that opens the same devices.
// A copy of an earlier build put beside it as sbay32_before.exe takes its
// turns too, so that a change is measured before and after in one run.
//   startup_timer [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double Goal = 1.10;

std::string Beside(const char *name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of('\\') + 1);
    return directory + name;
}

std::string SettingsFile() {
    char directory[MAX_PATH];
    GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\SONIKBAY.INI";
}

// The user's settings file, read before the runs and written back after.
struct KeptFile {
    bool existed = false;
    std::string bytes;
};

KeptFile Keep(const std::string &path) {
    KeptFile kept;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return kept;
    kept.existed = true;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        kept.bytes.append(buffer, read);
    CloseHandle(file);
    return kept;
}

void PutBack(const std::string &path, const KeptFile &kept) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); // flush the cache
    if (!kept.existed) {
        DeleteFileA(path.c_str());
        return;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, kept.bytes.data(), static_cast<DWORD>(kept.bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// Every run of the station starts with the same panels stacked in the same
// order as the floor stacks them, at the same place.
void WriteBenchSettings(const std::string &path) {
    const char *keys[][2] = {{"CDDISPLAY", "1"},  {"MIDIDISPLAY", "2"},  {"WAVEDISPLAY", "3"},
                             {"MIXDISPLAY", "4"}, {"MULTIDISPLAY", "5"}, {"VIDEODISPLAY", "0"},
                             {"AUTOPLAY", "0"},   {"SELECTABLE", "0"}};
    for (const auto &key : keys)
        WritePrivateProfileStringA("Mixer", key[0], key[1], path.c_str());
    WritePrivateProfileStringA("Init", "X", "0", path.c_str());
    WritePrivateProfileStringA("Init", "Y", "0", path.c_str());
    WritePrivateProfileStringA("EFX", "DLOG", "0", path.c_str());
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

struct Start {
    double shown = -1;    // ms from CreateProcess until the window is visible
    double answered = -1; // ... until it then answers a message
};

BOOL CALLBACK FindUnpainted(HWND child, LPARAM found) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE))
        *reinterpret_cast<bool *>(found) = true;
    return TRUE;
}

// Whether the window or one of its children on screen has a part to paint.
bool WaitsForPaint(HWND window) {
    bool found = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Times one start of the program; negative times on failure.
Start TimeOneStart(const std::string &program, const char *arguments, const char *windowClass) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\" " + arguments;
    LARGE_INTEGER begin, shown, ready;
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return {};
    HWND window = nullptr;
    for (;;) {
        window = FindWindowA(windowClass, nullptr);
        if (window != nullptr && IsWindowVisible(window))
            break;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            window = nullptr;
            break;
        }
        Sleep(1);
    }
    QueryPerformanceCounter(&shown);
    // Answered and painted: a program may answer before its windows are
    // painted, so it is asked again while any of them waits for its paint.
    DWORD_PTR answer = 0;
    for (int asked = 0; window != nullptr && asked < 2000; ++asked) {
        if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer) == 0)
            window = nullptr;
        else if (!WaitsForPaint(window))
            break;
        Sleep(5); // asking often would slow the very program it waits for
    }
    QueryPerformanceCounter(&ready);
    if (window != nullptr)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (window == nullptr)
        return {};
    return {Seconds(begin, shown) * 1000.0, Seconds(begin, ready) * 1000.0};
}

struct Program {
    const char *file;
    const char *arguments;
    const char *windowClass;
    bool station;
    std::vector<double> shown, answered;
};

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Report(const char *what, const std::vector<Program> &programs,
            std::vector<double> Program::*times, int runs) {
    double station = Median(programs[0].*times);
    double floor = Median(programs[1].*times);
    double devices = Median(programs[2].*times);
    double imports = Median(programs[3].*times);
    double bare = Median(programs[4].*times);
    std::printf("start-up %s, median of %d runs (ms):\n", what, runs);
    std::printf("  sbay32                                  %7.1f\n", station);
    std::printf("  floor: same windows, doing nothing      %7.1f   sbay32/floor %.2f\n", floor,
                station / floor);
    std::printf("  floor opening the mixer and CD device   %7.1f   sbay32/this %.2f (goal %.2f)\n",
                devices, station / devices, Goal);
    std::printf("  bare window importing the system DLLs   %7.1f   sbay32/this %.2f\n", imports,
                station / imports);
    std::printf("  bare window                             %7.1f   sbay32/this %.2f\n", bare,
                station / bare);
    if (programs.size() > 5) {
        double before = Median(programs[5].*times);
        std::printf("  sbay32 before the change                %7.1f   sbay32/this %.2f, "
                    "this/floor with devices %.2f\n",
                    before, station / before, before / devices);
    }
}

} // namespace

int main(int argc, char **argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::string settings = SettingsFile();
    KeptFile kept = Keep(settings);
    std::vector<Program> programs = {{"sbay32.exe", "", "sonikbay", true, {}, {}},
                                     {"bare_station.exe", "", "barestation", false, {}, {}},
                                     {"bare_station.exe", "/devices", "barestation", false, {}, {}},
                                     {"bare_imports.exe", "", "bareimports", false, {}, {}},
                                     {"bare_window.exe", "", "barewindow", false, {}, {}}};
    if (GetFileAttributesA(Beside("sbay32_before.exe").c_str()) != INVALID_FILE_ATTRIBUTES)
        programs.push_back({"sbay32_before.exe", "", "sonikbay", true, {}, {}});
    bool failed = false;
    // Runs take turns, so that whatever else the machine does falls on all
    // of them alike; the first round warms up and is not counted.
    for (int run = 0; run <= runs && !failed; ++run)
        for (Program &program : programs) {
            if (program.station)
                WriteBenchSettings(settings);
            Start start =
                TimeOneStart(Beside(program.file), program.arguments, program.windowClass);
            if (start.answered < 0) {
                std::printf("%s did not show its window\n", program.file);
                failed = true;
                break;
            }
            if (run > 0) {
                program.shown.push_back(start.shown);
                program.answered.push_back(start.answered);
            }
        }
    PutBack(settings, kept);
    if (failed)
        return 1;
    Report("until the window is shown", programs, &Program::shown, runs);
    Report("until it then answers with its windows painted", programs, &Program::answered, runs);
    return 0;
}
