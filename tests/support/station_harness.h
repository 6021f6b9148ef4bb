// Runs the whole station in the test process: real windows, real message
// loop, a settings file of the test's own and the simulated sound card.
#pragma once
#include "tests/simcard/sim_card.h"
#include "tests/support/box_robot.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

class StationTest : public ::testing::Test {
  public:
    void SetUp() override;
    void TearDown() override;

    // Writes the settings file as the user left it.
    void WriteSettingsFile(const std::string &contents);
    std::string SettingsFileContents();
    // Makes the settings file read-only for the station. The attribute alone
    // stops nobody when the tests run as root, so the file is also held open
    // for reading only, which refuses every writer until the test ends.
    void MakeSettingsFileReadOnly();
    // Value of a key in the settings file, or "<missing>".
    std::string Setting(const char *section, const char *key);

    // Starts the station; answers StartStation's result.
    int Start(const char *commandLine = "", const SimCardConfig &card = {});
    // Starts with a mixer and every stacked panel open: CD, MIDI, WAVE,
    // mixer, playlist and VIDEO. Answers whether all six are in the stack.
    bool StartWithEveryPanel();
    // Dispatches messages for the given time.
    void Pump(int milliseconds = 50);
    // Closes the main window as a person would and runs the loop to its end.
    int Close();

    // Runs another program to its end while this thread keeps serving its
    // windows; boxes it shows are answered by the robot. Answers its exit code.
    DWORD RunProgram(const std::string &program, const std::string &arguments);

    // Panels of the stack, top to bottom.
    std::vector<HWND> StackOrder();
    // Pressing a launcher key.
    void PressLauncher(int key);
    RECT ClientRectOf(HWND window);
    // A window's rectangle in the main window's client coordinates.
    RECT RectInMain(HWND window);

    BoxRobot robot;
    std::string settingsPath;
    bool running = false;
    HANDLE readOnlyHold = INVALID_HANDLE_VALUE;
};

// Whether a BitmapButton is latched: read from its state block, whose third
// field is the state word with 0x20 for latched.
bool ButtonLatched(HWND button);

// 95 when this Wine prefix reports the Windows 95 family, else 40.
int PlatformFamilyOfThisPrefix();

// For a script that works in an open dialog on the robot's thread: the box
// with this caption that shows within two seconds, answered with the given
// button once it has gone. Answers its text, or "" when none came.
std::string AnswerBoxInDialog(const char *caption, int button);

// Full path of a file next to the test executable.
std::string BuildFile(const char *name);
