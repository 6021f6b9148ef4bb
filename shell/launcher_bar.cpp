#include "shell/control_names.h"
#include "shell/launcher_bar.h"

#include "cdplaylist/cd_titles.h"
#include "cdplaylist/cd_panel.h"
#include "cdplaylist/playlist_editor.h"
#include "cdplaylist/sequencer.h"
#include "mixer/efx_window.h"
#include "mixer/mixer_access.h"
#include "mixer/mixer_panel.h"
#include "panekit/resources/panel_ids.h"
#include "players/media_files.h"
#include "shell/config_dialog.h"
#include "shell/fonts.h"
#include "shell/main_window.h"
#include "shell/painting.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/text_table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

PanelStackEntry PanelStack[MaxStackedPanels];
int PanelStackCount;
bool CdPanelShown;
bool MidiPanelShown;
bool WavePanelShown;
bool PlaylistPanelShown;
bool VideoPanelShown;
bool EfxWindowOpen;
bool MixerAvailable;
bool EfxAvailable;
int ChipFlag;
bool AutoPlayStarted;
bool OpenEfxAtFirstPaint;
int LockOption;
int WaveLockOption;
int MonoInOption;
char PlayListName[PlayListNameSize];
char PlayListEntry[PlayListNameSize];

namespace {

// Panels overlap their neighbours by three pixels: a slot of h pixels adds
// h - 3 to the client height.
constexpr int SlotOverlap = 3;
constexpr int PanelHeight = 82;
constexpr int ParkedX = 641;
// The playlist panel's mode text and its MIDI, WAVE and CD indicators.
constexpr int PlaylistModeText = 7007;
const int PlaylistLamps[] = {4012, 113, 4009};

const ControlPlace LauncherKeys[] = {
    {IDC_SHOW_WAVE, 109, 26, 55, 14},     {IDC_SHOW_MIDI, 164, 26, 52, 14},
    {IDC_SHOW_CD, 216, 26, 51, 14},       {IDC_SHOW_MIXER, 268, 26, 48, 14},
    {IDC_SHOW_PLAYLIST, 322, 26, 47, 14}, {IDC_CONFIG, 372, 26, 48, 14},
    {IDC_EDIT_PLAYLIST, 420, 26, 48, 14}, {IDC_EFX, 472, 26, 58, 14},
};

bool RoomForSlot(int slotHeight) {
    return ClientHeight + slotHeight < ScreenHeight;
}

void AppendToStack(HWND panel, int top, int slotHeight) {
    if (PanelStackCount >= MaxStackedPanels)
        return;
    PanelStack[PanelStackCount++] = {panel, static_cast<short>(top), slotHeight};
}

void GrowForSlot(int slotHeight) {
    ResizeMainWindow(ClientHeight + slotHeight - SlotOverlap);
}

void HideEfxKey(HWND bar) {
    HWND key = GetDlgItem(bar, IDC_EFX);
    ShowWindow(key, SW_HIDE);
    EnableWindow(key, FALSE);
    EfxAvailable = false;
}

void ReadOptions() {
    LockOption = ReadSettingInt("Mixer", "Lock", 1);
    WaveLockOption = ReadSettingInt("Mixer", "WaveLock", 0);
    ReadSettingText("Mixer", "PlayListName", Text(IDS_UNTITLED), PlayListName, PlayListNameSize);
    ReadSettingText("Mixer", "PlayListEntry", Text(IDS_LIST_UNTITLED), PlayListEntry,
                    PlayListNameSize);
    MonoInOption = ReadSettingInt("Mixer", "MonoIn", 0);
    AutoPlayStarted = false;
}

BOOL OnInitDialog(HWND bar) {
    ApplyControlNames(bar, NamedPanel::Launcher);
    ChipFlag = ProbeChipRevision();
    PlaceControls(bar, LauncherKeys);
    ReadOptions();
    PanelStackCount = 0;
    CdPanelShown = MidiPanelShown = WavePanelShown = PlaylistPanelShown = VideoPanelShown = false;
    EfxWindowOpen = false;
    OpenEfxAtFirstPaint = false;
    if (!OpenMixer(MainWindow)) {
        MessageBoxA(GetFocus(), Text(IDS_CANT_OPEN_MIXER), Text(IDS_ERROR_CAPTION),
                    MB_ICONINFORMATION);
        MixerAvailable = false;
        HideEfxKey(bar);
        return FALSE;
    }
    MixerAvailable = true;
    EfxAvailable = true;
    if (!ProbeMixer())
        HideEfxKey(bar);
    if (EfxAvailable) {
        ApplySavedEffects();
        if (ReadSettingInt("EFX", "DLOG", 0) != 0)
            OpenEfxAtFirstPaint = true;
    }
    // No key takes the focus: that would activate the main window while it
    // is still being built, before it is shown.
    return FALSE;
}

BOOL OnPaint(HWND bar) {
    if (OpenEfxAtFirstPaint) {
        OpenEfxAtFirstPaint = false;
        SendMessageA(bar, WM_COMMAND, IDC_EFX, 0);
    }
    PaintPanel(bar, LauncherBackground);
    return TRUE;
}

void StartPlaylistOnFirstOpening() {
    SendMessageA(PlaylistPanel, WM_COMMAND, IDC_REFRESH_LIST, 0);
    if (Display.autoPlay != 1 || AutoPlayStarted)
        return;
    AutoPlayStarted = true;
    HWND playKey = GetDlgItem(PlaylistPanel, IDC_PLAY);
    SendMessageA(PlaylistPanel, WM_COMMAND, IDC_START_SELECTION,
                 LOWORD(reinterpret_cast<UINT_PTR>(playKey)));
}

void ToggleStackedPanel(HWND panel, bool *shown, int key) {
    if (panel == nullptr)
        return;
    if (*shown) {
        SendMessageA(panel, WM_COMMAND, IDC_POWER, 0);
        return;
    }
    if (!RoomForSlot(PanelSlotHeight))
        return;
    MoveWindow(panel, 0, ClientHeight + 1, StationWidth, PanelHeight, TRUE);
    *shown = true;
    AppendToStack(panel, ClientHeight + 1, PanelSlotHeight);
    GrowForSlot(PanelSlotHeight);
    if (panel == PlaylistPanel)
        StartPlaylistOnFirstOpening();
    SetLauncherKey(key, true);
}

void ToggleMixerPanel() {
    if (!MixerAvailable)
        return;
    if (MixerPanel != nullptr) {
        SendMessageA(MixerPanel, WM_COMMAND, IDC_POWER, 0);
        return;
    }
    if (!RoomForSlot(PanelSlotHeight))
        return;
    char name[32];
    MixerPanel = CreateDialogParamA(LibraryInstance, TemplateName("MIXER", name, sizeof name),
                                    MainWindow, MixerPanelProc, 0);
    if (MixerPanel == nullptr) {
        MessageBoxA(GetFocus(), Text(IDS_MIXER_DIALOG_ERROR), Text(IDS_ERROR_CAPTION),
                    MB_ICONERROR);
        return;
    }
    MoveWindow(MixerPanel, 0, ClientHeight, StationWidth, PanelHeight, TRUE);
    AppendToStack(MixerPanel, ClientHeight + 1, PanelSlotHeight);
    GrowForSlot(PanelSlotHeight);
    SetLauncherKey(IDC_SHOW_MIXER, true);
}

void ToggleVideoPanel() {
    if (VideoPanel == nullptr)
        return;
    if (VideoPanelShown) {
        SendMessageA(VideoPanel, WM_COMMAND, IDC_POWER, 0);
        return;
    }
    if (!RoomForSlot(VideoSlotHeight))
        return;
    VideoPanelShown = true;
    MoveWindow(VideoPanel, 0, ClientHeight + 1, StationWidth, VideoSlotHeight, TRUE);
    AppendToStack(VideoPanel, ClientHeight + 1, VideoSlotHeight);
    GrowForSlot(VideoSlotHeight);
}

void WarnWhenCollectionIsForAnotherDisc(HWND bar) {
    DWORD bound = BoundDisc(PlayListEntry);
    if (bound != 0 && !IsLoadedDisc(bound))
        MessageBoxA(bar, Text(IDS_CD_DIFFERENT), Text(IDS_ERROR_CAPTION), MB_ICONERROR);
}

// The playlist panel shows the current collection, just saved or made, and
// the sequencer loads its first entry; an empty one leaves the panel blank.
void RefillPlaylist(HWND bar) {
    if (PlaylistPanel == nullptr)
        return;
    if (FillPlaylist(PlaylistPanel, PlayListEntry, PanelListMode) != 0) {
        SequencerRequest(EDITOR_SAVED, bar);
        SetDlgItemTextA(PlaylistPanel, PlaylistModeText,
                        Text(PlayMode == 1 ? IDS_REPEAT : IDS_SINGLE));
        return;
    }
    // The stop still reaches the player of the old entry.
    SendMessageA(PlaylistPanel, WM_COMMAND, IDC_STOP, MAKELPARAM(0, FROM_STATION));
    CurrentPlayer = nullptr;
    SetDlgItemTextA(PlaylistPanel, IDC_TIME, "");
    SetDlgItemTextA(PlaylistPanel, IDC_TOTAL, "");
    for (int lamp : PlaylistLamps)
        SwitchControl(GetDlgItem(PlaylistPanel, lamp), false);
    SetDlgItemTextA(PlaylistPanel, PlaylistModeText, "");
}

void RefillPlaylistAfterSave(HWND bar) {
    std::snprintf(PendingMediaPath, sizeof PendingMediaPath, "%s", EditorFilePath);
    std::snprintf(PendingMediaTitle, sizeof PendingMediaTitle, "%s", EditorFileTitle);
    RefillPlaylist(bar);
}

void EditPlaylist(HWND bar) {
    WarnWhenCollectionIsForAnotherDisc(bar);
    SetLauncherKey(IDC_EDIT_PLAYLIST, true);
    if (RunPlaylistEditor())
        RefillPlaylistAfterSave(bar);
    SetLauncherKey(IDC_EDIT_PLAYLIST, false);
}

void Configure() {
    SetLauncherKey(IDC_CONFIG, true);
    RunConfigDialog();
    SetLauncherKey(IDC_CONFIG, false);
}

void ToggleEfxWindow() {
    if (EfxWindowOpen) {
        SendMessageA(EfxWindow, WM_CLOSE, 0, 0);
        return;
    }
    EfxWindowOpen = true;
    EfxWindow = CreateDialogParamA(LibraryInstance, "EFX_DLG", MainWindow, EfxWindowProc, 0);
    if (EfxWindow == nullptr) {
        EfxWindowOpen = false;
        return;
    }
    SetLauncherKey(IDC_EFX, true);
}

BOOL OnCommand(HWND bar, int id) {
    switch (id) {
    case IDC_SHOW_CD: ToggleStackedPanel(CdPanel, &CdPanelShown, IDC_SHOW_CD); break;
    case IDC_SHOW_MIDI: ToggleStackedPanel(MidiPanel, &MidiPanelShown, IDC_SHOW_MIDI); break;
    case IDC_SHOW_WAVE: ToggleStackedPanel(WavePanel, &WavePanelShown, IDC_SHOW_WAVE); break;
    case IDC_SHOW_PLAYLIST:
        ToggleStackedPanel(PlaylistPanel, &PlaylistPanelShown, IDC_SHOW_PLAYLIST);
        break;
    case IDC_SHOW_MIXER: ToggleMixerPanel(); break;
    case IDC_SHOW_VIDEO: ToggleVideoPanel(); break;
    case IDC_EDIT_PLAYLIST: EditPlaylist(bar); break;
    case IDC_CONFIG: Configure(); break;
    case IDC_EFX: ToggleEfxWindow(); break;
    }
    return FALSE;
}

void SaveOptions() {
    WriteSettingInt("Mixer", "Lock", LockOption);
    WriteSettingInt("Mixer", "MonoIn", MonoInOption);
    WriteSettingInt("Mixer", "WaveLock", WaveLockOption);
    WriteSettingText("Mixer", "PlayListName", PlayListName);
    WriteSettingText("Mixer", "PlayListEntry", PlayListEntry);
}

BOOL OnDestroy() {
    SaveOptions();
    if (MixerHandle != nullptr) {
        SaveMixerState();
        CloseMixer();
    }
    WriteSettingInt("Init", "X", WindowX);
    WriteSettingInt("Init", "Y", WindowY);
    DeleteSharedFonts();
    DeleteSharedPalette();
    return FALSE;
}

} // namespace

INT_PTR CALLBACK LauncherBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(bar);
    case WM_PAINT: return OnPaint(bar);
    case WM_COMMAND: return OnCommand(bar, LOWORD(wParam));
    case WM_DESTROY: return OnDestroy();
    default: return FALSE;
    }
}

int StackIndexOf(HWND panel) {
    int index = 0;
    while (index < PanelStackCount && PanelStack[index].panel != panel)
        ++index;
    return index;
}

int RemovePanel(HWND panel, int slotHeight) {
    int index = StackIndexOf(panel);
    if (index == PanelStackCount)
        return 0;
    int shift = slotHeight - SlotOverlap;
    ResizeMainWindow(ClientHeight - shift);
    for (int later = index + 1; later < PanelStackCount; ++later) {
        PanelStackEntry entry = PanelStack[later];
        entry.top = static_cast<short>(entry.top - shift);
        MoveWindow(entry.panel, 0, entry.top, StationWidth, entry.height - 4, TRUE);
        PanelStack[later - 1] = entry;
    }
    MoveWindow(panel, ParkedX, 0, 10, 0, TRUE);
    --PanelStackCount;
    return 1;
}

void ClosePanelByPowerKey(HWND panel, int slotHeight, bool *shown, int launcherKey) {
    RemovePanel(panel, slotHeight);
    *shown = false;
    if (launcherKey != 0)
        SetLauncherKey(launcherKey, false);
}

void SetLauncherKey(int key, bool latched) {
    SwitchControl(GetDlgItem(LauncherBar, key), latched);
}

void ShowCurrentCollection() {
    RefillPlaylist(LauncherBar);
    if (!PlaylistPanelShown)
        ToggleStackedPanel(PlaylistPanel, &PlaylistPanelShown, IDC_SHOW_PLAYLIST);
}
