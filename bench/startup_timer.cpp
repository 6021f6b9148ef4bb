// Times start-up: starts a program, waits until its main window is visible,
// closes it, and repeats. Prints the median for the station and for the bare
// window program, and their ratio.
//   startup_timer [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Beside(const char *name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of('\\') + 1);
    return directory + name;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// Milliseconds from CreateProcess to a visible window of the class; -1 on failure.
double TimeOneStart(const std::string &program, const char *windowClass) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\"";
    LARGE_INTEGER begin, shown;
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return -1;
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
    if (window != nullptr)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return window == nullptr ? -1 : Seconds(begin, shown) * 1000.0;
}

double MedianStart(const std::string &program, const char *windowClass, int runs) {
    std::vector<double> times;
    TimeOneStart(program, windowClass); // warm-up
    for (int i = 0; i < runs; ++i) {
        double ms = TimeOneStart(program, windowClass);
        if (ms < 0) {
            std::printf("%s did not show its window\n", program.c_str());
            return -1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    double station = MedianStart(Beside("sbay32.exe"), "sonikbay", runs);
    double bare = MedianStart(Beside("bare_window.exe"), "barewindow", runs);
    double imports = MedianStart(Beside("bare_imports.exe"), "bareimports", runs);
    if (station < 0 || bare < 0 || imports < 0)
        return 1;
    std::printf("startup over %d runs (median, ms): sbay32 %.1f, bare window %.1f, ratio %.2f\n",
                runs, station, bare, station / bare);
    std::printf("  bare window importing the station's system DLLs %.1f, ratio %.2f\n", imports,
                imports / bare);
    return 0;
}
