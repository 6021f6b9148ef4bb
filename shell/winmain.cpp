// Entry point of sbay32.
#include "shell/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showState) {
    int exitCode = StartStation(instance, previous, commandLine, showState);
    if (exitCode != StationRunning)
        return exitCode;
    exitCode = RunMessageLoop();
    EndStation();
    return exitCode;
}
