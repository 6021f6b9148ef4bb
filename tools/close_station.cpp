// Closes a running station the way its close box would, and waits until it
// has gone (at most ten seconds). Exit code 0 when it closed.
#include <windows.h>

int main() {
    HWND station = FindWindowA("sonikbay", nullptr);
    if (station == nullptr)
        return 1;
    PostMessageA(station, WM_CLOSE, 0, 0);
    for (int waited = 0; waited < 10000; waited += 50) {
        if (!IsWindow(station))
            return 0;
        Sleep(50);
    }
    return 1;
}
