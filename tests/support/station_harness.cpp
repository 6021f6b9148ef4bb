#include "tests/support/station_harness.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/station.h"
#include "shell/station_keys.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

int TestCounter;

// Keeps panekit32 loaded for the whole test run: its classes are registered
// once per process, as in the program.
struct LibraryHolder {
    LibraryHolder() { LoadLibraryA(BuildFile("panekit32.dll").c_str()); }
} Holder;

} // namespace

std::string BuildFile(const char *name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of('\\') + 1);
    return directory + name;
}

bool ButtonLatched(HWND button) {
    struct ButtonState {
        HWND target;
        DWORD style;
        DWORD state;
    };
    auto *state = reinterpret_cast<const ButtonState *>(GetWindowLongPtrA(button, 0));
    return state != nullptr && (state->state & 0x20) != 0;
}

int PlatformFamilyOfThisPrefix() {
    return (GetVersion() & 0x80000000u) != 0 ? 95 : 40;
}

void StationTest::SetUp() {
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%ssbay_%lu_%d.ini", directory, GetCurrentProcessId(),
                  ++TestCounter);
    settingsPath = name;
    DeleteFileA(settingsPath.c_str());
    std::snprintf(SettingsFileName, sizeof SettingsFileName, "%s", settingsPath.c_str());
}

void StationTest::TearDown() {
    if (running)
        Close();
    EndStation();
    RemoveSimulatedCard();
    if (readOnlyHold != INVALID_HANDLE_VALUE)
        CloseHandle(readOnlyHold);
    readOnlyHold = INVALID_HANDLE_VALUE;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, settingsPath.c_str());
    SetFileAttributesA(settingsPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(settingsPath.c_str());
}

void StationTest::WriteSettingsFile(const std::string &contents) {
    // Flush the profile cache so that the platform reads the new file.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, settingsPath.c_str());
    std::ofstream file(settingsPath, std::ios::binary | std::ios::trunc);
    file << contents;
}

void StationTest::MakeSettingsFileReadOnly() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, settingsPath.c_str());
    SetFileAttributesA(settingsPath.c_str(), FILE_ATTRIBUTE_READONLY);
    readOnlyHold = CreateFileA(settingsPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(readOnlyHold, INVALID_HANDLE_VALUE);
}

std::string StationTest::SettingsFileContents() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, settingsPath.c_str());
    std::ifstream file(settingsPath, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string StationTest::Setting(const char *section, const char *key) {
    char value[512];
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, settingsPath.c_str());
    return value;
}

int StationTest::Start(const char *commandLine, const SimCardConfig &card) {
    InstallSimulatedCard(card);
    int result = StartStation(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
    running = result == StationRunning;
    Pump();
    return result;
}

bool StationTest::StartWithEveryPanel() {
    SimCardConfig card;
    card.mixer.present = true;
    WriteSettingsFile("[Mixer]\r\nMULTIDISPLAY=5\r\n");
    if (Start("", card) != StationRunning)
        return false;
    PressLauncher(IDC_SHOW_VIDEO);
    return StackOrder().size() == 6u;
}

void StationTest::Pump(int milliseconds) {
    DWORD end = GetTickCount() + milliseconds;
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            DispatchStationMessage(message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

int StationTest::Close() {
    PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    int code = RunMessageLoop();
    EndStation();
    running = false;
    return code;
}

std::vector<HWND> StationTest::StackOrder() {
    std::vector<HWND> panels;
    for (int i = 0; i < PanelStackCount; ++i)
        panels.push_back(PanelStack[i].panel);
    return panels;
}

void StationTest::PressLauncher(int key) {
    SendMessageA(LauncherBar, WM_COMMAND, MAKEWPARAM(key, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(LauncherBar, key)));
    Pump();
}

RECT StationTest::ClientRectOf(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

RECT StationTest::RectInMain(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, MainWindow, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

DWORD StationTest::RunProgram(const std::string &program, const std::string &arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return static_cast<DWORD>(-1);
    robot.AlsoWatch(process.dwProcessId);
    for (int waited = 0; waited < 30000; waited += 50) {
        if (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT) ==
            WAIT_OBJECT_0)
            break;
        Pump(0);
    }
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, exitCode);
    else
        GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Pump();
    return exitCode;
}

std::string AnswerBoxInDialog(const char *caption, int button) {
    for (int tries = 0; tries < 100; ++tries, Sleep(20)) {
        HWND box = FindWindowA("#32770", caption);
        if (box == nullptr || !IsWindowVisible(box))
            continue;
        char text[512] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
        for (int wait = 0; IsWindow(box) && wait < 100; ++wait)
            Sleep(20);
        return text;
    }
    return "";
}
