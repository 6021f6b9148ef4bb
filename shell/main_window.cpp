#include "shell/main_window.h"

#include "mixer/mixer_access.h"
#include "mixer/mixer_panel.h"
#include "panekit/resources/panel_ids.h"
#include "players/media_files.h"
#include "shell/launcher_bar.h"
#include "shell/open_files.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/station_keys.h"
#include "shell/text_table.h"

#include <shellapi.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr DWORD MainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD MainExStyle = WS_EX_STATICEDGE | WS_EX_ACCEPTFILES;

int MeasuredNonClientHeight;
HWND FocusAfterShow; // asked for while the main window was being built

void MeasureFrame(HWND window) {
    RECT outer, inner;
    GetWindowRect(window, &outer);
    GetClientRect(window, &inner);
    MeasuredNonClientHeight = (outer.bottom - outer.top) - (inner.bottom - inner.top);
}

LRESULT OnMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsIconic(window))
        return DefWindowProcA(window, message, wParam, lParam);
    // The saved position is the window's outer corner, whatever the frame.
    RECT outer;
    GetWindowRect(window, &outer);
    WindowX = static_cast<short>(outer.left);
    WindowY = static_cast<short>(outer.top);
    return 0;
}

LRESULT OnSize(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam == SIZE_MINIMIZED)
        return DefWindowProcA(window, message, wParam, lParam);
    ClientHeight = HIWORD(lParam);
    return 0;
}

LRESULT OnClose(HWND window) {
    if (ConfirmWaveChanges() == 0 && WavePanel != nullptr)
        return 0;
    DestroyWindow(window);
    return 0;
}

// Logging off or shutting down asks about an unsaved recording first; Cancel
// keeps the session, and the recording with it.
LRESULT OnQueryEndSession() {
    return ConfirmWaveChanges() != 0 || WavePanel == nullptr ? TRUE : FALSE;
}

LRESULT OnEndSession(HWND window) {
    DestroyWindow(window);
    return 1;
}

void SaveDisplayOrder() {
    if (Display.autoPlay != 0 || LauncherBar == nullptr)
        return;
    for (const char *key :
         {"CDDISPLAY", "MIDIDISPLAY", "WAVEDISPLAY", "MIXDISPLAY", "MULTIDISPLAY"})
        WriteSettingText("Mixer", key, "0");
    for (int i = 0; i < PanelStackCount; ++i) {
        HWND panel = PanelStack[i].panel;
        const char *key = panel == CdPanel         ? "CDDISPLAY"
                          : panel == MidiPanel     ? "MIDIDISPLAY"
                          : panel == WavePanel     ? "WAVEDISPLAY"
                          : panel == MixerPanel    ? "MIXDISPLAY"
                          : panel == PlaylistPanel ? "MULTIDISPLAY"
                                                   : nullptr;
        if (key != nullptr)
            WriteSettingInt("Mixer", key, i + 1);
    }
}

LRESULT OnDestroy() {
    SaveDisplayOrder();
    PostQuitMessage(0);
    return 0;
}

// Every file of the drop, as one list. A name is read whole, whatever its
// length: one too long for the station is refused as such, never cut down
// to some other file's name.
LRESULT OnDropFiles(HDROP drop) {
    std::vector<std::string> names;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT needed = DragQueryFileA(drop, i, nullptr, 0);
        if (needed == 0)
            continue;
        std::string name(needed + 1, '\0');
        name.resize(DragQueryFileA(drop, i, &name[0], needed + 1));
        names.push_back(name);
    }
    DragFinish(drop);
    OpenFiles(names);
    return 0;
}

// Files a second start handed over wait in a list of their own until the
// station is free to open them: a dialog of the station's own (the save
// question, a file dialog, the configuration) disables the main window
// while it runs, and keeps what the user was doing from being cut short.
// Hand-overs that come close together, as the shell's one start per file
// of a selection, open as one list.
constexpr UINT OpenKeptFilesMessage = WM_APP + 1;
constexpr UINT_PTR KeptFilesTimer = 1;
constexpr UINT KeptFilesDelay = 250;
std::vector<std::string> KeptFiles;

void BringToFront(HWND window) {
    if (IsIconic(window))
        ShowWindow(window, SW_SHOWNORMAL);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Only files are taken here: anything else is left alone, and nothing that
// shows a box or plays runs while the sender waits.
LRESULT OnCopyData(HWND window, const COPYDATASTRUCT *data) {
    std::vector<std::string> paths;
    if (data == nullptr || !ReadHandedFiles(*data, paths))
        return FALSE;
    KeptFiles.insert(KeptFiles.end(), paths.begin(), paths.end());
    BringToFront(window);
    PostMessageA(window, OpenKeptFilesMessage, 0, 0);
    return TRUE;
}

LRESULT OnOpenKeptFiles(HWND window) {
    if ((GetWindowLongA(window, GWL_STYLE) & WS_DISABLED) != 0) {
        SetTimer(window, KeptFilesTimer, KeptFilesDelay, nullptr);
        return 0;
    }
    KillTimer(window, KeptFilesTimer);
    std::vector<std::string> paths;
    paths.swap(KeptFiles);
    OpenFiles(paths);
    return 0;
}

LRESULT OnTimer(HWND window, WPARAM timer) {
    if (timer == KeptFilesTimer)
        return OnOpenKeptFiles(window);
    return 0;
}

LRESULT OnMixerControlChange(DWORD controlId) {
    if (MixerHandle != nullptr)
        TrackMixerChange(controlId);
    return 0;
}

// Sent up from the focused window by the systems that have media keys; the
// command is in the high word, less the device bits.
constexpr UINT AppCommandMessage = 0x0319;

LRESULT OnAppCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    if (RouteAppCommand(HIWORD(lParam) & 0x0FFF))
        return TRUE;
    return DefWindowProcA(window, AppCommandMessage, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    // WM_CREATE needs nothing: the display settings, "AUTOPLAY" among them,
    // were read just before the window was created.
    case WM_MOVE: return OnMove(window, message, wParam, lParam);
    case WM_SIZE: return OnSize(window, message, wParam, lParam);
    case WM_CLOSE: return OnClose(window);
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_ENDSESSION: return OnEndSession(window);
    case WM_DESTROY: return OnDestroy();
    case WM_DROPFILES: return OnDropFiles(reinterpret_cast<HDROP>(wParam));
    case WM_COPYDATA: return OnCopyData(window, reinterpret_cast<COPYDATASTRUCT *>(lParam));
    case OpenKeptFilesMessage: return OnOpenKeptFiles(window);
    case WM_TIMER: return OnTimer(window, wParam);
    case WM_QUERYNEWPALETTE: return 1;
    case WM_PALETTECHANGED: InvalidateRect(window, nullptr, TRUE); return 0;
    case MM_MIXM_CONTROL_CHANGE: return OnMixerControlChange(static_cast<DWORD>(lParam));
    case AppCommandMessage: return OnAppCommand(window, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "SONIKBAY");
    // The icon's own small image; without it the platform scales one down
    // from the large image at every start. Shared, like the large one, so
    // that registering the class again loads nothing new.
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, "SONIKBAY", IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = MainWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

void UnregisterMainWindowClass(HINSTANCE instance) {
    UnregisterClassA(MainWindowClass, instance);
}

HWND CreateMainWindow() {
    FocusAfterShow = nullptr;
    KeptFiles.clear();
    MainWindow = CreateWindowExA(MainExStyle, MainWindowClass, Text(IDS_CAPTION), MainStyle,
                                 WindowX, WindowY, StationWidth, CaptionHeight + 44, nullptr,
                                 nullptr, ProgramInstance, nullptr);
    if (MainWindow == nullptr)
        return nullptr;
    MeasureFrame(MainWindow);
    ResizeMainWindow(LauncherHeight);
    return MainWindow;
}

int NonClientHeight() {
    return MeasuredNonClientHeight;
}

void ResizeMainWindow(int clientHeight) {
    MoveWindow(MainWindow, WindowX, WindowY, StationWidth, clientHeight + MeasuredNonClientHeight,
               TRUE);
}

void GiveFocus(HWND control) {
    if (MainWindow != nullptr && !IsWindowVisible(MainWindow)) {
        FocusAfterShow = control;
        return;
    }
    SetFocus(control);
}

void ShowMainWindow(int showState) {
    ShowWindow(MainWindow, showState);
    HWND control = FocusAfterShow;
    FocusAfterShow = nullptr;
    if (control != nullptr && IsWindow(control))
        SetFocus(control);
}
