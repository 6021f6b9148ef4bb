// The least a Win32 program can do: register a class, show one window and run
// the message loop. The start-up benchmark compares the station against it.
// Built with WITH_STATION_IMPORTS it also loads the system DLLs that the
// station imports, to tell their loading apart from the station's own work.
#include <windows.h>

#ifdef WITH_STATION_IMPORTS
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
#endif

namespace {

#ifdef WITH_STATION_IMPORTS
constexpr char BareClass[] = "bareimports";
// One function of each DLL, so that the linker keeps the imports.
void *volatile StationImports[] = {
    reinterpret_cast<void *>(&GetOpenFileNameA), reinterpret_cast<void *>(&DragAcceptFiles),
    reinterpret_cast<void *>(&mciSendCommandA), reinterpret_cast<void *>(&RegOpenKeyExA)};
#else
constexpr char BareClass[] = "barewindow";
#endif

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
#ifdef WITH_STATION_IMPORTS
    for (void *function : StationImports)
        if (function == nullptr)
            return 1;
#endif
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = BareClass;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, BareClass, "bare", WS_OVERLAPPEDWINDOW, 0, 0, 639, 60, nullptr,
                                  nullptr, instance, nullptr);
    ShowWindow(window, showState);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
