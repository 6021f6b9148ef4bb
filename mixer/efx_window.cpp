// The 3D sound and tone window: four room presets, MANUAL with the treble,
// bass and width faders below the presets (the window grows to show them),
// and the key that switches the 3D stage. It writes the device; its faders
// follow the device through the mixer panel's change tracker. Where it was
// and what was chosen are kept in the settings file when it closes.
#include "mixer/efx_window.h"

#include "mixer/mixer_access.h"
#include "panekit/gdi_owners.h"
#include "panekit/resources/panel_ids.h"
#include "shell/control_names.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"
#include "shell/settings.h"
#include "shell/station.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr int FirstPresetKey = 1161; // HALL1; + selection up to MANUAL 1165
constexpr int ManualKey = 1165;
constexpr int SwitchKey = 1070;
constexpr int BassFader = 1166;
constexpr int TrebleFader = 1167;
constexpr int WidthFader = 1168;
constexpr int BassLabel = 1170;
constexpr int TrebleLabel = 1171;
constexpr int Background = 7021;
constexpr int WindowWidth = 225;
constexpr int PresetHeight = 160;
constexpr int ManualHeight = 279;
constexpr DWORD LevelScale = 4095;
const COLORREF Grey = RGB(192, 192, 192);

int EfxX, EfxY;  // the window's place, as the settings file keeps it
HBRUSH EfxBrush; // behind the window's static texts

const ControlPlace EfxPlaces[] = {
    {TrebleFader, 49, 161, 19, 48}, {BassFader, 102, 161, 19, 48}, {WidthFader, 154, 161, 19, 48},
    {1161, 9, 22, 42, 43},          {1162, 62, 22, 42, 43},        {1163, 117, 22, 42, 43},
    {1164, 169, 22, 42, 43},        {ManualKey, 94, 81, 36, 35},   {SwitchKey, 146, 219, 39, 20},
};

void Light(HWND window, int id, bool on) {
    SwitchControl(GetDlgItem(window, id), on);
}

void SetFader(HWND window, int id, DWORD value) {
    SendDlgItemMessageA(window, id, SVM_SETPOS, 0, MAKELPARAM(0, LOWORD(value)));
}

void SetHeight(HWND window, int height) {
    RECT rect;
    GetWindowRect(window, &rect);
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Latches the key of a selection and releases the other four.
void ShowSelection(HWND window, int selection) {
    for (int key = FirstPresetKey; key <= ManualKey; ++key)
        Light(window, key, key == FirstPresetKey + selection);
}

void ChoosePreset(HWND window, int selection) {
    if (selection == EfxManual) {
        SetHeight(window, ManualHeight);
        EfxSelection = EfxManual;
        ShowSelection(window, EfxManual);
        return;
    }
    SetHeight(window, PresetHeight);
    EfxSelection = selection;
    const EfxPreset &preset = EfxPresets[selection];
    WriteLevel(MixerControlMap.ToneBass, preset.bass);
    WriteLevel(MixerControlMap.ToneTreble, preset.treble);
    WriteLevel(MixerControlMap.EfxWide, preset.wide[ChipFlag != 0 ? 1 : 0]);
    ShowSelection(window, selection);
}

// A place a damaged or stale settings file gives is pulled onto the screen,
// so that the window can always be seen and moved.
void PlaceOnScreen(HWND window) {
    RECT screen = ReachableScreen();
    int x = std::max<int>(screen.left, std::min<int>(EfxX, screen.right - WindowWidth));
    int y = std::max<int>(screen.top, std::min<int>(EfxY, screen.bottom - ManualHeight));
    MoveWindow(window, x, y, WindowWidth, ManualHeight, TRUE);
}

BOOL OnInitDialog(HWND window) {
    ApplyControlNames(window, NamedPanel::Efx);
    EfxX = ReadSettingInt("Init", "3DX", 0);
    EfxY = ReadSettingInt("Init", "3DY", 0);
    ShowWindow(GetDlgItem(window, BassLabel), SW_HIDE);
    ShowWindow(GetDlgItem(window, TrebleLabel), SW_HIDE);
    PlaceControls(window, EfxPlaces);
    EfxBrush = CreateSolidBrush(Grey);
    for (int id : {BassFader, TrebleFader, WidthFader})
        SendDlgItemMessageA(window, id, SVM_SETRANGE, 0, MAKELPARAM(0, EfxFaderMaximum));
    const MixerControls &map = MixerControlMap;
    SetFader(window, BassFader, LOWORD(ReadLevel(map.ToneBass)) / LevelScale);
    SetFader(window, TrebleFader, HIWORD(ReadLevel(map.ToneTreble)) / LevelScale);
    SetFader(window, WidthFader, LOWORD(ReadLevel(map.EfxWide)) / LevelScale);
    PlaceOnScreen(window);
    EfxSwitchValue = static_cast<int>(ReadSwitch(map.EfxSwitch));
    if (EfxSelection < EfxHall1 || EfxSelection > EfxManual)
        EfxSelection = EfxManual;
    ChoosePreset(window, EfxSelection);
    Light(window, SwitchKey, EfxSwitchValue != 1);
    Light(window, WidthFader, EfxSwitchValue != 1);
    Light(window, BassFader, true);
    Light(window, TrebleFader, true);
    return TRUE;
}

void OnSwitchKey(HWND window, LPARAM lParam, bool latched) {
    HWND key = GetDlgItem(window, SwitchKey);
    if (LOWORD(reinterpret_cast<DWORD_PTR>(key)) != LOWORD(lParam))
        return;
    EfxSwitchValue = latched ? 0 : 1;
    WriteSwitch(MixerControlMap.EfxSwitch, EfxSwitchValue != 0);
}

BOOL OnCommand(HWND window, int id, LPARAM lParam) {
    if (id >= FirstPresetKey && id <= ManualKey)
        ChoosePreset(window, id - FirstPresetKey);
    else if (id == NOTIFY_LATCHED || id == NOTIFY_UNLATCHED)
        OnSwitchKey(window, lParam, id == NOTIFY_LATCHED);
    return TRUE;
}

void OnFaderMoved(HWND slider) {
    int value = LOWORD(SendMessageA(slider, SVM_GETPOS, 0, 0));
    DWORD level = static_cast<DWORD>(value) * LevelScale;
    const MixerControls &map = MixerControlMap;
    switch (GetDlgCtrlID(slider)) {
    case BassFader:
        EfxBassValue = value;
        WriteLevel(map.ToneBass, MAKELONG(level, level));
        break;
    case TrebleFader:
        EfxTrebleValue = value;
        WriteLevel(map.ToneTreble, MAKELONG(level, level));
        break;
    case WidthFader:
        EfxWidthValue = value;
        WriteLevel(map.EfxWide, MAKELONG(level, level));
        break;
    default: break;
    }
}

void OnPaint(HWND window) {
    gdi::PaintScope paint(window);
    if (paint.dc() != nullptr)
        DrawSkinBitmap(paint.dc(), Background, 0, 0, LibraryInstance);
}

// The window's place is kept as its frame's corner, where the window is
// moved to when it opens. It is taken from the window itself: a frame of
// another width than the classic two pixels must not make the window creep
// each time it opens.
void OnMove(HWND window) {
    RECT frame;
    if (!GetWindowRect(window, &frame))
        return;
    EfxX = frame.left;
    EfxY = frame.top;
}

void OnClose(HWND window) {
    EfxWindowOpen = false;
    DestroyWindow(window);
    EfxWindow = nullptr;
    SetLauncherKey(IDC_EFX, false);
}

// Still open while the window is destroyed: the program is ending, and the
// window opens again at the next start.
void OnDestroy() {
    WriteSettingInt("EFX", "DLOG", EfxWindowOpen ? 1 : 0);
    WriteSettingInt("EFX", "SAON", EfxSwitchValue);
    WriteSettingInt("EFX", "SELECT", EfxSelection);
    WriteSettingInt("EFX", "BASS", EfxBassValue);
    WriteSettingInt("EFX", "TREBLE", EfxTrebleValue);
    WriteSettingInt("EFX", "WIDE", EfxWidthValue);
    WriteSettingInt("Init", "3DX", EfxX);
    WriteSettingInt("Init", "3DY", EfxY);
    DeleteObject(EfxBrush);
    EfxBrush = nullptr;
    EfxWindowOpen = false;
    EfxWindow = nullptr;
}

} // namespace

INT_PTR CALLBACK EfxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_COMMAND: return OnCommand(window, LOWORD(wParam), lParam);
    case SVM_POSCHANGED:
        if (LOWORD(wParam) == SVN_CHANGED)
            OnFaderMoved(reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_PAINT: OnPaint(window); return TRUE;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), Grey);
        return reinterpret_cast<INT_PTR>(EfxBrush);
    case WM_MOVE: OnMove(window); return FALSE;
    case WM_CLOSE: OnClose(window); return TRUE;
    case WM_DESTROY: OnDestroy(); return FALSE;
    default: return FALSE;
    }
}
