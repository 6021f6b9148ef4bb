// The playlist store and sequencer. Entries are read one key at a time from
// the current collection's section; the sequencer stops the player of the
// previous entry, picks the next one's player by the entry's type and sends
// it IDC_OPEN with OPEN_FROM_PLAYLIST, keeping the playlist panel's list,
// indicator and Play key in step.
#include "cdplaylist/sequencer.h"

#include "cdplaylist/cd_panel.h"
#include "cdplaylist/cd_titles.h"
#include "cdplaylist/stored_entries.h"
#include "panekit/resources/panel_ids.h"
#include "players/media_files.h"
#include "shell/launcher_bar.h"
#include "shell/main_window.h"
#include "shell/painting.h"
#include "shell/settings.h"
#include "shell/station.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

HWND CurrentPlayer;
char CurrentEntryText[EntryTextSize];
unsigned short CurrentEntryIndex;
int PlaylistRunning;
int LitIndicator;
int PlayMode;

namespace {

constexpr int IDC_ENTRY_LIST = 1061;
constexpr int IDC_ENTRY_TEXTS = 1069;
constexpr int MidiIndicator = 4012;
constexpr int WaveIndicator = 113;
constexpr int CdIndicator = 4009;
constexpr int EntryBufferSize = 256;
constexpr int RowSize = EntryBufferSize + 8;
// The sequencer's stops are the station's own, not the user's.
constexpr LPARAM FromStation = MAKELPARAM(0, FROM_STATION);

// A file of none of the design's types: where the platform's devices play it.
EntryType TypeOfRoute(MediaRoute route) {
    switch (route) {
    case MediaRoute::Midi: return EntryType::Midi;
    case MediaRoute::Wave: return EntryType::Wave;
    case MediaRoute::Video: return EntryType::Video;
    case MediaRoute::Sound: return EntryType::Sound;
    default: return EntryType::Unknown;
    }
}

// A file whose device may or may not show a picture is asked; one that
// opens nowhere goes to the WAVE panel, which says why and stops the list
// on it.
EntryType SoundOrVideo(const char *entry) {
    MCIERROR error = 0;
    return RouteMediaFile(entry, &error) == MediaRoute::Video ? EntryType::Video : EntryType::Sound;
}

// The key after the last entry a collection can hold ends it, whatever a
// damaged section has there.
EntryType TypeAt(int index, const char *entry) {
    if (index >= MaxPlaylistEntries)
        return EntryType::End;
    // Files of none of the design's types go where the platform plays them.
    EntryType type = EntryTypeOf(entry);
    return type == EntryType::Unknown ? TypeOfRoute(RouteByName(entry)) : type;
}

// The entry of a key; a one-character text marks a missing key.
void ReadEntry(const char *section, int index, char *entry, DWORD size) {
    char key[16];
    std::snprintf(key, sizeof key, "%d", index);
    ReadSettingText(section, key, "e", entry, size);
}

void LightIndicator(bool on) {
    if (PlaylistPanel != nullptr && LitIndicator != 0)
        SwitchControl(GetDlgItem(PlaylistPanel, LitIndicator), on);
}

bool PanelShown(HWND player) {
    return (player == CdPanel && CdPanelShown) || (player == MidiPanel && MidiPanelShown) ||
           (player == WavePanel && WavePanelShown) || (player == VideoPanel && VideoPanelShown);
}

// A file player's title without the playlist's "NN:" before it.
void DropTitlePrefix(HWND player) {
    if (player == nullptr || player == CdPanel)
        return;
    char title[RowSize] = "";
    GetDlgItemTextA(player, IDC_TITLE, title, sizeof title);
    if (const char *colon = std::strchr(title, ':'))
        SetDlgItemTextA(player, IDC_TITLE, colon + 1);
}

// With AUTOPLAY and the Now Playing mode the stack follows the playlist.
void FollowWithPanels(HWND previous, int launcherCommand) {
    bool follow = Display.autoPlay == 1 && Display.selectable == 0 && MainWindow != nullptr &&
                  !IsIconic(MainWindow);
    if (follow && previous != nullptr)
        SendPlayerCommand(previous, IDC_POWER, 0);
    if (follow && !PanelShown(CurrentPlayer) && LauncherBar != nullptr)
        SendPlayerCommand(LauncherBar, launcherCommand, 0);
    DropTitlePrefix(previous);
}

// The list's selection on the current entry.
void SelectCurrentEntry() {
    HWND list = GetDlgItem(PlaylistPanel, IDC_ENTRY_LIST);
    if (SendMessageA(list, LB_GETCURSEL, 0, 0) == LB_ERR)
        GiveFocus(list);
    SendMessageA(list, LB_SETCURSEL, CurrentEntryIndex, 0);
}

// The list follows the current entry; its indicator and Play key too.
void ShowCurrentEntry(bool wasRunning) {
    if (PlaylistPanel == nullptr)
        return;
    SelectCurrentEntry();
    LightIndicator(true);
    if (wasRunning)
        SendPlayerCommand(PlaylistPanel, IDC_MARK_RUNNING, MAKELPARAM(0, FROM_PLAYLIST));
}

// Nothing plays the current entry: the list stops on it, idle, no player
// holding it and no indicator lit, so that Play tries it again and Next goes
// past it. The player that held an entry before is left stopped.
int StopIdleAtEntry(HWND previousPlayer) {
    LightIndicator(false);
    LitIndicator = 0;
    CurrentPlayer = nullptr;
    DropTitlePrefix(previousPlayer);
    if (PlaylistPanel == nullptr)
        return 1;
    if (PlaylistRunning != 0)
        SendPlayerCommand(PlaylistPanel, IDC_STOP, MAKELPARAM(0, FROM_PLAYLIST));
    SelectCurrentEntry();
    return 1;
}

// Puts back what a request changed when nothing is handed over.
int GiveUp(HWND previousPlayer, unsigned short previousIndex) {
    CurrentPlayer = previousPlayer;
    CurrentEntryIndex = previousIndex;
    LightIndicator(CurrentPlayer != nullptr);
    return 1;
}

} // namespace

int SequencerRequest(int code, HWND caller) {
    bool wasRunning = PlaylistRunning == 1;
    if (code == FOLLOW_CURRENT_ENTRY) {
        ShowCurrentEntry(wasRunning);
        return 0;
    }
    bool byCurrentPlayer = caller == CurrentPlayer && caller != nullptr;
    if (code == ENTRY_NOT_OPENED)
        return byCurrentPlayer ? StopIdleAtEntry(caller) : 0;
    if (code == END_OF_PLAY) {
        if (!byCurrentPlayer) {
            SendPlayerCommand(caller, IDC_STOP, FromStation);
            return 0;
        }
        code = IDC_FFSKIP;
    }
    SendPlayerCommand(CurrentPlayer != nullptr ? CurrentPlayer : caller, IDC_STOP, FromStation);
    LightIndicator(false);
    HWND previousPlayer = CurrentPlayer;
    unsigned short previousIndex = CurrentEntryIndex;
    if (code == IDC_FFSKIP)
        ++CurrentEntryIndex;
    else if (code == IDC_REWSKIP)
        --CurrentEntryIndex;
    else if (code == IDC_RESTART_LIST)
        CurrentEntryIndex = 0;
    ReadEntry(PlayListEntry, CurrentEntryIndex, CurrentEntryText, sizeof CurrentEntryText);
    if (std::strlen(CurrentEntryText) <= 1)
        return GiveUp(previousPlayer, previousIndex);
    int indicator = 0, launcherCommand = 0;
    EntryType type = TypeAt(CurrentEntryIndex, CurrentEntryText);
    if (type == EntryType::Sound)
        type = SoundOrVideo(CurrentEntryText);
    switch (type) {
    case EntryType::Midi:
        CurrentPlayer = MidiPanel;
        indicator = MidiIndicator;
        launcherCommand = IDC_SHOW_MIDI;
        break;
    case EntryType::Wave:
    case EntryType::Sound:
        if (ConfirmWaveChanges() == 0) {
            CurrentEntryIndex = previousIndex;
            return 1;
        }
        CurrentPlayer = WavePanel;
        indicator = WaveIndicator;
        launcherCommand = IDC_SHOW_WAVE;
        break;
    case EntryType::Video:
        // A picture needs its panel on show; no indicator stands for it.
        CurrentPlayer = VideoPanel;
        launcherCommand = IDC_SHOW_VIDEO;
        if (!VideoPanelShown && LauncherBar != nullptr)
            SendPlayerCommand(LauncherBar, IDC_SHOW_VIDEO, 0);
        break;
    case EntryType::Cd:
        // A damaged entry that names no track is passed over like one of
        // an unknown type.
        if (!NamesATrack(CurrentEntryText))
            return GiveUp(previousPlayer, previousIndex);
        // A track plays only on its own disc; the list stays on the entry,
        // idle, so that Play tries it again once that disc is in.
        if (!IsLoadedDisc(BoundDisc(PlayListEntry)))
            return StopIdleAtEntry(previousPlayer);
        CurrentPlayer = CdPanel;
        indicator = CdIndicator;
        launcherCommand = IDC_SHOW_CD;
        break;
    case EntryType::End:
        if (PlayMode == 1 && CurrentEntryIndex != 0) {
            CurrentEntryIndex = 0;
            if (wasRunning)
                PlaylistRunning = 1;
            if (PlaylistPanel != nullptr)
                PostMessageA(PlaylistPanel, WM_COMMAND, IDC_RESTART_LIST, 0);
            return 0;
        }
        return GiveUp(previousPlayer, previousIndex);
    case EntryType::Unknown: return GiveUp(previousPlayer, previousIndex);
    }
    LitIndicator = indicator;
    if (CurrentPlayer != previousPlayer)
        FollowWithPanels(previousPlayer, launcherCommand);
    if (wasRunning)
        PlaylistRunning = 1;
    SendPlayerCommand(CurrentPlayer, IDC_OPEN, MAKELPARAM(0, OPEN_FROM_PLAYLIST));
    // A player that could not open the entry has stopped the list on it.
    if (CurrentPlayer == nullptr)
        return 1;
    ShowCurrentEntry(wasRunning);
    return 0;
}

int FillPlaylist(HWND dialog, const char *section, int mode) {
    SendDlgItemMessageA(dialog, IDC_ENTRY_LIST, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(dialog, IDC_ENTRY_TEXTS, LB_RESETCONTENT, 0, 0);
    DWORD disc = BoundDisc(section);
    int rows = 0;
    bool ended = false;
    for (int index = 0; index <= MaxPlaylistEntries && !ended; ++index) {
        char entry[EntryBufferSize];
        ReadEntry(section, index, entry, sizeof entry);
        if (std::strlen(entry) <= 1)
            break;
        ended = TypeAt(index, entry) == EntryType::End;
        char name[EntryBufferSize] = "";
        char extension[EntryBufferSize] = "";
        FileExtensionOf(entry, extension, sizeof extension);
        if (std::strcmp(extension, ".CD") == 0)
            ReadTrackName(disc, std::atoi(entry), name, sizeof name);
        else if (GetFileTitleA(entry, name, sizeof name) != 0)
            std::snprintf(name, sizeof name, "%s", FileTitleOf(entry));
        char row[RowSize];
        if (mode == PanelListMode)
            std::snprintf(row, sizeof row, "%02d:%s", index + 1, name);
        else
            std::snprintf(row, sizeof row, "%s", name);
        SendDlgItemMessageA(dialog, IDC_ENTRY_LIST, LB_INSERTSTRING, index,
                            reinterpret_cast<LPARAM>(row));
        SendDlgItemMessageA(dialog, IDC_ENTRY_TEXTS, LB_INSERTSTRING, index,
                            reinterpret_cast<LPARAM>(entry));
        rows = index + 1;
    }
    // The end marker's row is never shown; a collection that lost its marker
    // keeps every entry it has.
    if (ended && rows > 0) {
        SendDlgItemMessageA(dialog, IDC_ENTRY_LIST, LB_DELETESTRING, rows - 1, 0);
        SendDlgItemMessageA(dialog, IDC_ENTRY_TEXTS, LB_DELETESTRING, rows - 1, 0);
        --rows;
    }
    return rows > 0 ? 1 : 0;
}
