// The floor of the station's start-up: what the platform costs for the
// windows the station shows, and nothing else. It imports the station's
// system DLLs, loads panekit32, creates the main window, the launcher bar,
// the five permanent panels and the mixer panel from the very templates the
// station uses, stacks the CD, MIDI, WAVE, mixer and playlist panels as the
// start-up benchmark's settings file has them, shows the window and runs the
// message loop. The panels' procedures and the three control classes do
// nothing: no control is moved, nothing is painted but what the platform
// paints itself, and no device is opened, unless the command line says
// "/devices": then the mixer is opened with the main window as callback
// window where the station's launcher bar opens it, and the CD audio device
// where the station's CD panel opens it, and both are closed at exit.
#include <windows.h>

#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>
#include <initializer_list>

namespace {

constexpr char BareClass[] = "barestation";
constexpr int StationWidth = 639;
constexpr int PanelHeight = 82;
constexpr int SlotHeight = 86;
constexpr int SlotOverlap = 3;
constexpr int ParkedX = 641;

// One function of each DLL that the station imports and this program would
// not otherwise call, so that the linker keeps the imports.
void *volatile StationImports[] = {reinterpret_cast<void *>(&GetOpenFileNameA),
                                   reinterpret_cast<void *>(&DragAcceptFiles),
                                   reinterpret_cast<void *>(&RegOpenKeyExA)};

HWND Main;
int ClientHeight;
int NonClientHeight;
bool LargeFont;

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK NothingDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

HMIXER OpenMixer() {
    HMIXER mixer = nullptr;
    if (mixerGetNumDevs() == 0 ||
        mixerOpen(&mixer, 0, reinterpret_cast<DWORD_PTR>(Main), 0,
                  CALLBACK_WINDOW | MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR)
        return nullptr;
    MIXERCAPSA caps{};
    mixerGetDevCapsA(reinterpret_cast<UINT_PTR>(mixer), &caps, sizeof caps);
    return mixer;
}

MCIDEVICEID OpenCd(HWND panel) {
    MCI_OPEN_PARMSA open{};
    open.dwCallback = reinterpret_cast<DWORD_PTR>(panel);
    open.lpstrDeviceType = reinterpret_cast<LPCSTR>(static_cast<DWORD_PTR>(MCI_DEVTYPE_CD_AUDIO));
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return 0;
    return open.wDeviceID;
}

// The library registers the real controls when it loads; they give way to
// controls of the same classes that only take the platform's defaults.
void RegisterIdleControls(HMODULE library) {
    const struct {
        const char *name;
        int extra;
    } classes[] = {{"BitmapButton", sizeof(void *)}, {"SliderVol", 36}, {"HiliteBitmap", 36}};
    for (const auto &control : classes) {
        UnregisterClassA(control.name, library);
        WNDCLASSA windowClass{};
        windowClass.style = CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.cbWndExtra = control.extra;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = control.name;
        RegisterClassA(&windowClass);
    }
}

HMODULE LoadLibraryBeside(const char *name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char *slash = std::strrchr(path, '\\');
    std::strcpy(slash != nullptr ? slash + 1 : path, name);
    return LoadLibraryA(path);
}

HWND Panel(HMODULE library, const char *name) {
    char templateName[32];
    std::strcpy(templateName, name);
    if (LargeFont)
        std::strcat(templateName, "1");
    return CreateDialogParamA(library, templateName, Main, NothingDialog, 0);
}

void Resize(int clientHeight) {
    ClientHeight = clientHeight;
    MoveWindow(Main, 0, 0, StationWidth, clientHeight + NonClientHeight, TRUE);
}

void Stack(HWND panel, int top) {
    MoveWindow(panel, 0, top, StationWidth, PanelHeight, TRUE);
    Resize(ClientHeight + SlotHeight - SlotOverlap);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState) {
    bool devices = std::strstr(commandLine, "/devices") != nullptr;
    for (void *function : StationImports)
        if (function == nullptr)
            return 1;
    HMODULE library = LoadLibraryBeside("panekit32.dll");
    if (library == nullptr)
        return 1;
    RegisterIdleControls(library);

    HDC screen = GetDC(nullptr);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    ReleaseDC(nullptr, screen);
    LargeFont = metrics.tmAscent > 16;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = BareClass;
    RegisterClassA(&windowClass);
    Main =
        CreateWindowExA(WS_EX_STATICEDGE | WS_EX_ACCEPTFILES, BareClass, "bare station",
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, StationWidth,
                        GetSystemMetrics(SM_CYCAPTION) + 44, nullptr, nullptr, instance, nullptr);
    RECT outer, inner;
    GetWindowRect(Main, &outer);
    GetClientRect(Main, &inner);
    NonClientHeight = (outer.bottom - outer.top) - (inner.bottom - inner.top);
    Resize(40);

    HWND launcher = Panel(library, "MAIN");
    HMIXER mixerDevice = devices ? OpenMixer() : nullptr;
    HWND cd = Panel(library, "CD_PLAY");
    MCIDEVICEID cdDevice = devices ? OpenCd(cd) : 0;
    HWND midi = Panel(library, "MIDI_PLAY");
    HWND wave = Panel(library, "WAVE_PLAY");
    HWND playlist = Panel(library, "PLAYLIST");
    HWND video = Panel(library, "VIDEO_PLAY");
    MoveWindow(launcher, 0, 1, StationWidth, 38, TRUE);
    for (HWND panel : {cd, midi, wave, video, playlist})
        MoveWindow(panel, ParkedX, 0, 1, 1, FALSE);
    for (HWND panel : {cd, midi, wave})
        Stack(panel, ClientHeight + 1);
    HWND mixer = Panel(library, "MIXER");
    Stack(mixer, ClientHeight);
    Stack(playlist, ClientHeight + 1);

    ShowWindow(Main, showState);
    UpdateWindow(Main);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (cdDevice != 0)
        mciSendCommandA(cdDevice, MCI_CLOSE, MCI_WAIT, 0);
    if (mixerDevice != nullptr)
        mixerClose(mixerDevice);
    FreeLibrary(library);
    return 0;
}
