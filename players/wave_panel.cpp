// The WAVE player and recorder panel: opens a file on the "waveaudio"
// device, plays, pauses, seeks by the second, records new, overwriting or
// appending takes in the format of the settings file from the selected
// recording source, runs a two-row peak meter on timer 3 and cycles the
// recording source. A recording lives only in the open device until the save
// question keeps it, and every path that would drop it asks first.
#include "players/wave_panel.h"

#include "cdplaylist/sequencer.h"
#include "mixer/mixer_access.h"
#include "panekit/gdi_owners.h"
#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "players/media_check.h"
#include "players/media_device.h"
#include "players/media_files.h"
#include "players/media_route.h"
#include "shell/fonts.h"
#include "shell/launcher_bar.h"
#include "shell/painting.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/station_keys.h"
#include "shell/text_table.h"

#include <cstdio>
#include <initializer_list>

int WaveModified;
char WaveFilePath[WavePathSize];
char WaveFileTitle[WaveNameSize];
MCIDEVICEID WaveDevice;
int WavePlayState;
int WaveRecordMode = 2;
bool WavePlayOnly;

namespace {

constexpr UINT_PTR MeterTimer = 3;
constexpr UINT MeterTimerMs = 125;
constexpr int HalfTick = 125;
constexpr int TimeTextSize = 32;
constexpr int TitleSize = WaveNameSize + 48;
constexpr DWORD OneSecond = 1000;
constexpr DWORD DarkMeter = 0x80008000;
constexpr int IDS_WAVE_PLAYER = 551;
constexpr int IDC_SPARE_TEXT = 3006;
constexpr int RecLeftFader = 25, RecRightFader = 26, MicFader = 22;
constexpr int MixerLoopKey = 9;
constexpr int MixerRecRightFader = 26;
constexpr DWORD LevelScale = 4095;
constexpr DWORD NewTakeBufferSeconds = 3;

// Formats a settings file may ask for; anything else records in the default.
constexpr int DefaultChannels = 1, DefaultBits = 8, DefaultRate = 22050;
constexpr int LowestRate = 8000, HighestRate = 48000;

constexpr LPARAM FromPlaylist = MAKELPARAM(0, FROM_PLAYLIST);
// What the panel sends itself: not the user's.
constexpr LPARAM FromStation = MAKELPARAM(0, FROM_STATION);

bool WaveDeviceOpen;
DWORD WaveKeptPosition; // ms
DWORD WaveLength;       // ms
bool WaveLengthKnown;   // false for a device that reports none
long WaveBits;
long WaveRate;
long WaveChannels = 1;
MCI_PLAY_PARMS WavePlayRequest;
MCI_RECORD_PARMS WaveRecordRequest;
int WaveFrame = IdleDisplay;
int WaveTicks;
HWND LatchedPlayButton;
HWND LatchedPauseButton;
HBRUSH WavePanelBrush; // behind the panel's static texts

const ControlPlace WavePlaces[] = {
    {IDC_REWSKIP, 91, 61, 43, 21},    {IDC_REW, 137, 61, 44, 21},
    {IDC_STOP, 183, 61, 43, 21},      {IDC_PLAY, 229, 61, 43, 21},
    {IDC_PAUSE, 274, 61, 43, 21},     {IDC_FF, 318, 61, 44, 21},
    {IDC_RECORD, 365, 61, 45, 21},    {IDC_POWER, 19, 17, 47, 18},
    {IDC_OPEN, 19, 47, 47, 18},       {IDC_RECSOURCE, 434, 61, 84, 21},
    {4018, 376, 4, 32, 11},           {4020, 412, 4, 28, 11},
    {4016, 447, 4, 40, 11},           {4022, 491, 4, 56, 11},
    {IDC_TITLE, 100, 8, 215, 18},     {IDC_TOTAL, 100, 35, 64, 18},
    {IDC_TIME, 232, 35, 64, 18},      {IDC_SPARE_TEXT, 271, 8, 64, 18},
    {IDC_WAVELOCK, 490, 7, 40, 19},   {RecLeftFader, 454, 30, 15, 65},
    {RecRightFader, 470, 30, 17, 65}, {MicFader, 533, 30, 17, 65},
};

// ---- device ----

MCIERROR WaveCommand(UINT message, DWORD flags, void *params) {
    return DeviceCommand(WaveDevice, message, flags, params);
}

MCIERROR QueryStatus(DWORD item, DWORD *value) {
    return DeviceStatus(WaveDevice, item, value);
}

MCIERROR PlayFrom(DWORD position) {
    return DevicePlayFrom(WaveDevice, WavePlayRequest, position);
}

MCIERROR RecordFrom(DWORD position, DWORD extraFlags) {
    WaveRecordRequest.dwFrom = position;
    return WaveCommand(MCI_RECORD, MCI_NOTIFY | MCI_FROM | extraFlags, &WaveRecordRequest);
}

// Closes the open device; answers false (after saying why) when it stays open.
// A take closed with it is gone and is asked about no more.
bool CloseDevice(HWND panel) {
    if (!WaveDeviceOpen)
        return true;
    if (MCIERROR error = DeviceClose(WaveDevice)) {
        ShowMciError(panel, error);
        return false;
    }
    WaveDeviceOpen = false;
    WaveDevice = 0;
    WaveModified = 0;
    return true;
}

MCIERROR OpenDevice(const char *element, DWORD extraFlags, MCIDEVICEID *device) {
    MCI_WAVE_OPEN_PARMSA open{};
    open.lpstrDeviceType = "waveaudio";
    open.lpstrElementName = element;
    open.dwBufferSeconds = NewTakeBufferSeconds;
    MCIERROR error =
        Mci.sendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT | extraFlags,
                        reinterpret_cast<DWORD_PTR>(&open));
    if (error == 0)
        *device = open.wDeviceID;
    return error;
}

// A sound-only file of another device, on the device the platform's table
// names for it.
MCIERROR OpenPlayOnlyDevice(const char *element, MCIDEVICEID *device) {
    // The routing that sent the file here may have it open already.
    if ((*device = TakeAskedDevice(element)) != 0)
        return 0;
    MCI_OPEN_PARMSA open{};
    open.lpstrElementName = element;
    MCIERROR error = Mci.sendCommand(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                                     reinterpret_cast<DWORD_PTR>(&open));
    if (error == 0)
        *device = open.wDeviceID;
    return error;
}

bool IsPlayOnlyFile(const char *element) {
    return RouteByName(element) == MediaRoute::Sound;
}

// ---- display ----

// One row of the meter: nine slanted bars, lit below the row's level.
void DrawMeterRow(HDC dc, int y, int level, HPEN const lit[3], HPEN const dark[3]) {
    for (int i = 0; i < 9; ++i) {
        int colour = i < 5 ? 0 : i < 7 ? 1 : 2;
        gdi::Selection pen(dc, i < level ? lit[colour] : dark[colour]);
        int x = 412 + 12 * i;
        for (int k = 0; k <= 6; k += 2) {
            MoveToEx(dc, x + 8 - k, y + k / 2, nullptr);
            LineTo(dc, x + 14 - k, y + k / 2);
        }
    }
}

// The levels the meter's rows show on screen; none after a paint.
struct MeterRows {
    int upper = -1, lower = -1;
};
MeterRows DrawnMeter;

void OnPaint(HWND panel) {
    PaintPanel(panel, WaveBackground);
    DrawnMeter = MeterRows{};
}

int MeterLevel(WORD peak, bool dark) {
    int level = static_cast<int>(((peak + 32768u) % 65536u) / 5041u) - 4;
    return !dark && level < 1 ? 1 : level;
}

} // namespace

// The two-row peak meter: the left channel above, the right channel below
// (the left one again for mono data). 0x80008000 draws it dark. Rows that
// show what they showed are not drawn again until the panel is painted.
void DrawLevelMeter(HWND panel, DWORD value) {
    bool dark = value == DarkMeter;
    int upper = MeterLevel(LOWORD(value), dark);
    int lower = MeterLevel(WaveChannels == 2 ? HIWORD(value) : LOWORD(value), dark);
    if (upper == DrawnMeter.upper && lower == DrawnMeter.lower)
        return;
    gdi::Pen cyan(CreatePen(PS_SOLID, 1, RGB(0, 255, 255)));
    gdi::Pen darkCyan(CreatePen(PS_SOLID, 1, RGB(0, 128, 128)));
    gdi::Pen yellow(CreatePen(PS_SOLID, 1, RGB(255, 255, 0)));
    gdi::Pen darkYellow(CreatePen(PS_SOLID, 1, RGB(128, 128, 0)));
    gdi::Pen red(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    gdi::Pen darkRed(CreatePen(PS_SOLID, 1, RGB(128, 0, 0)));
    HPEN const lit[3] = {cyan.get(), yellow.get(), red.get()};
    HPEN const unlit[3] = {darkCyan.get(), darkYellow.get(), darkRed.get()};
    HDC dc = GetDC(panel);
    if (dc == nullptr)
        return;
    DrawMeterRow(dc, 22, upper, lit, unlit);
    DrawMeterRow(dc, 36, lower, lit, unlit);
    ReleaseDC(panel, dc);
    DrawnMeter = {upper, lower};
}

namespace {

// The panel stopped, as its Stop key leaves it; a take ends where it was
// recorded to.
void StopPlaying(HWND panel) {
    KillTimer(panel, MeterTimer);
    if (DeviceStop(WaveDevice) != 0)
        return;
    if (WavePlayState == WaveRecording || WavePlayState == WaveRecordPaused) {
        DWORD position = 0;
        if (QueryStatus(MCI_STATUS_POSITION, &position) == 0)
            WaveKeptPosition = position;
        if (WaveKeptPosition > WaveLength)
            WaveLength = WaveKeptPosition;
        DeviceSeek(WaveDevice, MCI_SEEK_TO_END);
        ShowPlayerTime(panel, IDC_TOTAL, WaveLength);
    }
    WavePlayState = WaveStopped;
    WaveKeptPosition = 0;
    ShowPlayerTime(panel, IDC_TIME, 0);
    WaveFrame = IdleDisplay;
    DrawIdleDisplay(panel);
    DrawLevelMeter(panel, DarkMeter);
    ReleaseLatchedButtons(&LatchedPlayButton, &LatchedPauseButton);
}

// ---- open ----

bool ChooseFile() {
    if (ConfirmWaveChanges() == 0)
        return false;
    if (ChooseMediaFile(MainWindow, "*.wav", WaveFilter, ChooseToOpen) == 0 ||
        !KeepChosenFile(MediaRoute::Wave, MediaRoute::Sound))
        return false;
    std::snprintf(WaveFilePath, sizeof WaveFilePath, "%s", FileRequestPath);
    std::snprintf(WaveFileTitle, sizeof WaveFileTitle, "%s", FileRequestTitle);
    return true;
}

// The sample size, rate and channels of the opened data, asked of the device
// before it plays; a play-only file's are the device's own business.
bool ReadFormat(HWND panel) {
    if (WavePlayOnly)
        return true;
    DWORD bits = 0, rate = 0, channels = 0;
    if (QueryStatus(MCI_WAVE_STATUS_BITSPERSAMPLE, &bits) != 0)
        bits = 4;
    MCIERROR error = QueryStatus(MCI_WAVE_STATUS_SAMPLESPERSEC, &rate);
    if (error == 0)
        error = QueryStatus(MCI_WAVE_STATUS_CHANNELS, &channels);
    if (error != 0) {
        ShowMciError(panel, error);
        return false;
    }
    WaveBits = static_cast<long>(bits);
    WaveRate = static_cast<long>(rate);
    WaveChannels = channels == 2 ? 2 : 1;
    return true;
}

// The device's length, or the length of the sound the file holds when its
// header claims more: the device reports the claim and stops where the
// sound ends. A play-only file whose device reports no length still plays:
// its length is unknown.
bool ReadLength(HWND panel, DWORD heldMs) {
    DWORD length = 0;
    MCIERROR error = QueryStatus(MCI_STATUS_LENGTH, &length);
    WaveLengthKnown = error == 0;
    if (error != 0 && !WavePlayOnly) {
        ShowMciError(panel, error);
        return false;
    }
    WaveLength = error != 0 ? 0 : length < heldMs ? length : heldMs;
    return true;
}

// A file opened by the panel's own keys or a drop is no playlist entry: the
// playlist no longer drives the panel.
void LeaveThePlaylist(HWND panel, int origin) {
    if (origin != OPEN_FROM_PLAYLIST && CurrentPlayer == panel)
        CurrentPlayer = nullptr;
}

// The opened data in the title line: the file's own name up to its last
// period, read from the path (the platform's file title may have no
// extension left to take off, Windows hides known ones, or be cut short),
// with sample size and rate; a play-only file's whole name, which tells its
// kind too. A playlist entry is numbered.
void ShowTitle(HWND panel, int origin) {
    char name[WaveNameSize];
    if (WavePlayOnly)
        std::snprintf(name, sizeof name, "%s", FileTitleOf(WaveFilePath));
    else
        FileBaseNameOf(FileTitleOf(WaveFilePath), name, sizeof name);
    char number[16] = "";
    if (origin == OPEN_FROM_PLAYLIST)
        std::snprintf(number, sizeof number, "%d:", CurrentEntryIndex + 1);
    char text[TitleSize];
    if (WavePlayOnly)
        std::snprintf(text, sizeof text, "%s%s", number, name);
    else
        std::snprintf(text, sizeof text, "%s%s %ldBit %ldK", number, name, WaveBits,
                      WaveRate / 1000);
    SetDlgItemTextA(panel, IDC_TITLE, text);
}

void ShowLength(HWND panel) {
    if (WaveLengthKnown)
        ShowPlayerTime(panel, IDC_TOTAL, WaveLength);
    else
        ShowUnknownTime(panel, IDC_TOTAL);
}

// The current data's name, put back when an open leaves that data open.
struct KeptName {
    char path[WavePathSize];
    char title[WaveNameSize];
};

void KeepName(KeptName *kept) {
    std::snprintf(kept->path, sizeof kept->path, "%s", WaveFilePath);
    std::snprintf(kept->title, sizeof kept->title, "%s", WaveFileTitle);
}

void PutBackName(const KeptName &kept) {
    std::snprintf(WaveFilePath, sizeof WaveFilePath, "%s", kept.path);
    std::snprintf(WaveFileTitle, sizeof WaveFileTitle, "%s", kept.title);
}

// What plays stops before another file opens; a drop with AUTOPLAY on stops
// the panel even when it stands still.
void StopForOpen(HWND panel, int origin) {
    if (WavePlayState == WaveStopped && !AutoPlayDrop(origin))
        return;
    StopPlaying(panel);
    if (origin != OPEN_FROM_PLAYLIST && DrivenByPlaylist(panel))
        SendPlayerCommand(PlaylistPanel, IDC_STOP, FromPlaylist);
}

// The name of the file to open: a drop's, or one chosen in the dialog. The
// playlist's entry is named once it is open.
bool NameFileToOpen(int origin) {
    if (origin == OPEN_AND_PLAY) {
        std::snprintf(WaveFilePath, sizeof WaveFilePath, "%s", PendingMediaPath);
        MediaFileTitle(WaveFilePath, WaveFileTitle, sizeof WaveFileTitle);
        return true;
    }
    return origin == OPEN_FROM_PLAYLIST || ChooseFile();
}

// The element on a device of its own beside the open one. The same file
// again cannot be opened beside itself, since the device keeps one open per
// file: the old device is closed first then. Answers false, after saying
// why, when no new device is open.
bool OpenBeside(HWND panel, const char *element, const char *oldPath, MCIDEVICEID *opened,
                DWORD *heldMs) {
    if (!FileNameFits(panel, element))
        return false;
    // The station reads the headers of WAVE files only; a play-only file is
    // the device's to read.
    bool playOnly = IsPlayOnlyFile(element);
    MCIERROR error = playOnly ? 0 : CheckMediaFile(element, MediaKind::Wave, heldMs);
    if (error == 0 && WaveDeviceOpen && lstrcmpiA(oldPath, element) == 0 && !CloseDevice(panel))
        return false;
    if (error == 0)
        error = playOnly ? OpenPlayOnlyDevice(element, opened) : OpenDevice(element, 0, opened);
    if (error == MCIERR_DEVICE_OPEN && WaveDeviceOpen && CloseDevice(panel))
        error = playOnly ? OpenPlayOnlyDevice(element, opened) : OpenDevice(element, 0, opened);
    if (error != 0) {
        ShowMciError(panel, error);
        return false;
    }
    return true;
}

// The old data let go for the device just opened; when the old device stays
// open, the new one is closed again.
bool LetOldDataGo(HWND panel, MCIDEVICEID opened) {
    if (CloseDevice(panel))
        return true;
    DeviceClose(opened);
    return false;
}

// The opened device as the panel's, counting in milliseconds; one that
// cannot is of no use and is closed again.
bool UseDevice(HWND panel, MCIDEVICEID opened) {
    WaveDevice = opened;
    WaveModified = 0;
    if (MCIERROR error = DeviceSetTimeFormat(WaveDevice, MCI_FORMAT_MILLISECONDS)) {
        ShowMciError(panel, error);
        DeviceClose(WaveDevice);
        WaveDevice = 0;
        return false;
    }
    WaveDeviceOpen = true;
    WaveKeptPosition = 0;
    return true;
}

// The output is chosen before anything plays: Wine's device stops a
// playback that is under way when it is set.
void ChooseAnyOutput(HWND panel) {
    MCI_WAVE_SET_PARMS output{};
    if (MCIERROR error = WaveCommand(MCI_SET, MCI_WAVE_SET_ANYOUTPUT | MCI_WAIT, &output))
        ShowMciError(panel, error);
}

// Opens the file, and plays it when the drop or the running playlist asks.
// Answers whether it opened.
bool LoadFile(HWND panel, int origin) {
    bool fromPlaylist = origin == OPEN_FROM_PLAYLIST;
    KeptName kept;
    KeepName(&kept);
    StopForOpen(panel, origin);
    if (!NameFileToOpen(origin))
        return false;
    // Nothing plays until a file is open, even when the old one failed to stop.
    WavePlayState = WaveStopped;
    // The new file is opened before the old data is let go: a file the
    // device refuses leaves what was open, and whether it is kept, as it was.
    const char *element = fromPlaylist ? CurrentEntryText : WaveFilePath;
    MCIDEVICEID opened = 0;
    DWORD heldMs = WholeMediaLength;
    if (!OpenBeside(panel, element, kept.path, &opened, &heldMs) || !LetOldDataGo(panel, opened)) {
        PutBackName(kept);
        return false;
    }
    if (!UseDevice(panel, opened))
        return false;
    WavePlayOnly = IsPlayOnlyFile(element);
    if (fromPlaylist) {
        std::snprintf(WaveFilePath, sizeof WaveFilePath, "%s", CurrentEntryText);
        MediaFileTitle(WaveFilePath, WaveFileTitle, sizeof WaveFileTitle);
    }
    if (!ReadFormat(panel) || !ReadLength(panel, heldMs))
        return false;
    LeaveThePlaylist(panel, origin);
    if (!WavePlayOnly)
        ChooseAnyOutput(panel);
    // The file is heard before the panel paints what it is.
    if (origin == OPEN_AND_PLAY || (fromPlaylist && PlaylistRunning == 1)) {
        WavePlayState = WaveStopped;
        SendPlayerCommand(panel, IDC_PLAY, FromPlaylist);
    }
    ShowTitle(panel, origin);
    ShowLength(panel);
    return true;
}

void OnOpen(HWND panel, int origin) {
    bool opened = LoadFile(panel, origin);
    ReportEntryOpened(panel, origin, opened, WavePlayState == WavePlaying);
}

// ---- transport ----

bool StartMeter(HWND panel) {
    WaveTicks = 0;
    if (SetTimer(panel, MeterTimer, MeterTimerMs, nullptr) != 0)
        return true;
    MessageBoxA(panel, Text(IDS_CANT_GET_TIMER), Text(IDS_ERROR_CAPTION), MB_OK | MB_ICONERROR);
    return false;
}

void OnPlay(HWND panel) {
    if (!WaveDeviceOpen)
        return;
    if (WavePlayState == WavePaused) {
        SendPlayerCommand(panel, IDC_PAUSE, FromStation);
        return;
    }
    if (WavePlayState != WaveStopped)
        return;
    WaveFrame = IdleDisplay;
    if (MCIERROR error = PlayFrom(0)) {
        ShowMciError(panel, error);
        return;
    }
    if (!StartMeter(panel))
        return;
    WavePlayState = WavePlaying;
    LatchButton(panel, IDC_PLAY, &LatchedPlayButton);
}

// The format of a new take from the settings file; a value that makes no
// format records in the default one.
MCI_WAVE_SET_PARMS NewTakeFormat() {
    int channels = ReadSettingInt("Mixer", "Mono", DefaultChannels);
    int rate = ReadSettingInt("Mixer", "SampleRate", DefaultRate);
    int bits = ReadSettingInt("Mixer", "Bits", DefaultBits);
    if (channels != 1 && channels != 2)
        channels = DefaultChannels;
    if (bits != 8 && bits != 16)
        bits = DefaultBits;
    if (rate < LowestRate || rate > HighestRate)
        rate = DefaultRate;
    MCI_WAVE_SET_PARMS format{};
    format.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = static_cast<WORD>(bits);
    format.nBlockAlign = static_cast<WORD>(bits / 8 * channels);
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    return format;
}

// The panel as it stands with nothing open, once the old data is let go.
void ShowNoData(HWND panel) {
    SetDlgItemTextA(panel, IDC_TITLE, Text(IDS_WAVE_PLAYER));
    ShowPlayerTime(panel, IDC_TOTAL, 0);
}

// A new, untitled take in the device. Answers false when there is none; the
// data that was open stays whole when the question keeps it.
bool SetUpNewTake(HWND panel) {
    if (ConfirmWaveChanges() == 0 || !CloseDevice(panel))
        return false;
    WaveLength = 0;
    WaveLengthKnown = true;
    WavePlayOnly = false;
    if (MCIERROR error =
            OpenDevice("", PlatformFamily == 40 ? MCI_WAVE_OPEN_BUFFER : 0, &WaveDevice)) {
        ShowMciError(panel, error);
        ShowNoData(panel);
        return false;
    }
    MCI_WAVE_SET_PARMS format = NewTakeFormat();
    WaveBits = format.wBitsPerSample;
    WaveChannels = format.nChannels;
    WaveRate = static_cast<long>(format.nSamplesPerSec);
    std::snprintf(WaveFileTitle, sizeof WaveFileTitle, "%s", Text(IDS_UNTITLED_WAV));
    std::snprintf(WaveFilePath, sizeof WaveFilePath, "%s", Text(IDS_UNTITLED_WAV));
    DWORD flags = MCI_WAIT | MCI_SET_TIME_FORMAT | MCI_WAVE_SET_FORMATTAG | MCI_WAVE_SET_CHANNELS |
                  MCI_WAVE_SET_SAMPLESPERSEC | MCI_WAVE_SET_AVGBYTESPERSEC |
                  MCI_WAVE_SET_BLOCKALIGN | MCI_WAVE_SET_BITSPERSAMPLE | MCI_WAVE_SET_ANYINPUT;
    WaveDeviceOpen = true;
    if (MCIERROR error = WaveCommand(MCI_SET, flags, &format)) {
        ShowMciError(panel, error);
        CloseDevice(panel);
        return false;
    }
    char title[TitleSize];
    std::snprintf(title, sizeof title, "%s %ldBit %ldK", Text(IDS_UNTITLED), WaveBits,
                  WaveRate / 1000);
    SetDlgItemTextA(panel, IDC_TITLE, title);
    return true;
}

void OnRecord(HWND panel) {
    if (WavePlayState == WaveRecordPaused) {
        SendPlayerCommand(panel, IDC_PAUSE, FromStation);
        return;
    }
    if (WavePlayState != WaveStopped)
        return;
    if (!WaveDeviceOpen || WaveRecordMode == 2 || WavePlayOnly) {
        if (!SetUpNewTake(panel))
            return;
    } else if (WaveModified == 1 && ConfirmWaveChanges() == 0) {
        // A recording not yet kept is asked about before another take goes
        // into the same data: some drivers start every take afresh.
        return;
    }
    WaveFrame = IdleDisplay;
    WavePlayState = WaveRecording;
    if (MCIERROR error = RecordFrom(WaveRecordMode == 1 ? WaveLength : 0, MCI_RECORD_OVERWRITE))
        ShowMciError(panel, error);
    if (CurrentPlayer == panel)
        CurrentPlayer = nullptr;
    StartMeter(panel);
    LatchButton(panel, IDC_RECORD, &LatchedPlayButton);
    WaveModified = 1;
}

void OnPause(HWND panel) {
    if (WavePlayState == WaveStopped)
        return;
    if (WavePlayState == WavePaused || WavePlayState == WaveRecordPaused) {
        bool recording = WavePlayState == WaveRecordPaused;
        MCIERROR error = recording ? RecordFrom(WaveKeptPosition, 0) : PlayFrom(WaveKeptPosition);
        if (error != 0)
            return;
        WavePlayState = recording ? WaveRecording : WavePlaying;
        SwitchControl(LatchedPauseButton, false);
        LatchedPauseButton = nullptr;
        return;
    }
    DWORD position = 0;
    if (QueryStatus(MCI_STATUS_POSITION, &position) != 0 || DeviceStop(WaveDevice) != 0)
        return;
    WaveKeptPosition = position;
    WavePlayState = WavePlayState == WaveRecording ? WaveRecordPaused : WavePaused;
    LatchButton(panel, IDC_PAUSE, &LatchedPauseButton);
}

void OnStop(HWND panel) {
    if (WavePlayState != WaveStopped)
        StopPlaying(panel);
}

bool SeekOrigin(DWORD *position) {
    if (WavePlayState == WavePlaying)
        return QueryStatus(MCI_STATUS_POSITION, position) == 0;
    *position = WaveKeptPosition;
    return true;
}

void OnForward(HWND panel) {
    DWORD position = 0;
    if ((WavePlayState != WavePlaying && WavePlayState != WavePaused) || !SeekOrigin(&position))
        return;
    if (WaveLengthKnown && (WaveLength < OneSecond || position >= WaveLength - OneSecond)) {
        SequencerRequest(END_OF_PLAY, panel);
        return;
    }
    DWORD target = position + OneSecond;
    if (WavePlayState == WavePlaying) {
        if (PlayFrom(target) != 0) {
            SendPlayerCommand(panel, IDC_STOP, FromStation);
            return;
        }
    } else {
        WaveKeptPosition = target;
    }
    ShowPlayerTime(panel, IDC_TIME, target);
}

void OnBack(HWND panel) {
    DWORD position = 0;
    if ((WavePlayState != WavePlaying && WavePlayState != WavePaused) || !SeekOrigin(&position))
        return;
    DWORD target = position > 999 ? position - OneSecond : 0;
    if (WavePlayState == WavePlaying)
        PlayFrom(target);
    else
        WaveKeptPosition = target;
    ShowPlayerTime(panel, IDC_TIME, target);
}

// Within the first second of a driven file, stopped too: the previous
// playlist entry. Otherwise a playing file starts again; a stopped or paused
// one stays.
void OnBackToStart(HWND panel) {
    DWORD position = 0;
    if (!SeekOrigin(&position))
        return;
    if (position < OneSecond && DrivenByPlaylist(panel)) {
        SendPlayerCommand(PlaylistPanel, IDC_REWSKIP, FromPlaylist);
        return;
    }
    if (WavePlayState == WavePlaying)
        PlayFrom(0);
}

void OnPower(HWND panel) {
    if (ConfirmWaveChanges() != 0)
        ClosePanelByPowerKey(panel, PanelSlotHeight, &WavePanelShown, IDC_SHOW_WAVE);
}

// ---- the recording source ----

void OnRecordSource(HWND panel, LPARAM lParam) {
    (void)panel;
    if (LOWORD(lParam) != 0)
        RecordSource =
            RecordSource >= RecordFromLoop || RecordSource < 0 ? RecordFromCd : RecordSource + 1;
    else
        RecordSource = HIWORD(lParam) <= RecordFromLoop ? HIWORD(lParam) : RecordFromCd;
    if (MixerPanel != nullptr) {
        HWND loopKey = GetDlgItem(MixerPanel, MixerLoopKey);
        if (RecordSource == RecordFromLoop)
            SendMessageA(MixerPanel, WM_COMMAND, NOTIFY_UNLATCHED,
                         LOWORD(reinterpret_cast<DWORD_PTR>(loopKey)));
        ShowWindow(loopKey, RecordSource == RecordFromLoop ? SW_HIDE : SW_SHOW);
        DWORD level = ReadLevel(RecordLevelOf(RecordSource));
        if (RecordSource == RecordFromMic)
            SendDlgItemMessageA(MixerPanel, MixerRecRightFader, SVM_SETPOS, 0,
                                MAKELPARAM(0, LOWORD(level) / LevelScale));
        WriteLevel(RecordLevelOf(RecordSource), level);
    }
    WriteRecordSource(RecordSource);
}

// ---- messages ----

void OnWaveLock(HWND panel, LPARAM lParam, bool latched) {
    HWND key = GetDlgItem(panel, IDC_WAVELOCK);
    if (LOWORD(reinterpret_cast<DWORD_PTR>(key)) == LOWORD(lParam))
        WaveLockOption = latched ? 1 : 0;
}

BOOL OnCommand(HWND panel, int id, LPARAM lParam) {
    NotePlayerCommand(panel, id, lParam);
    int origin = HIWORD(lParam);
    bool fromPlaylist = origin == FROM_PLAYLIST;
    if (panel == CurrentPlayer && !fromPlaylist && EchoedToPlaylist(id))
        SendPlayerCommand(PlaylistPanel, id, FromPlaylist);
    switch (id) {
    case IDC_OPEN: OnOpen(panel, origin); break;
    case IDC_PLAY: OnPlay(panel); break;
    case IDC_RECORD: OnRecord(panel); break;
    case IDC_PAUSE: OnPause(panel); break;
    case IDC_STOP: OnStop(panel); break;
    case IDC_FF: OnForward(panel); break;
    case IDC_REW: OnBack(panel); break;
    case IDC_REWSKIP:
        if (!fromPlaylist)
            OnBackToStart(panel);
        break;
    case IDC_POWER: OnPower(panel); break;
    case IDC_RECSOURCE: OnRecordSource(panel, lParam); break;
    case NOTIFY_LATCHED: OnWaveLock(panel, lParam, true); break;
    case NOTIFY_UNLATCHED: OnWaveLock(panel, lParam, false); break;
    default: break;
    }
    return FALSE;
}

DWORD RecordMeterOf(int source) {
    const MixerControls &map = MixerControlMap;
    switch (source) {
    case RecordFromCd: return map.RecMeter0;
    case RecordFromMic: return map.RecMeter1;
    case RecordFromLine: return map.RecMeter2;
    case RecordFromLoop: return map.RecMeter3;
    default: return EmptyMixerSlot;
    }
}

// Every other tick of 125 ms: the device's mode and position.
void PollDevice(HWND panel) {
    DWORD mode = 0;
    if (MCIERROR error = QueryStatus(MCI_STATUS_MODE, &mode)) {
        ShowMciError(panel, error);
        SendPlayerCommand(panel, IDC_STOP, FromStation);
        return;
    }
    if (mode == MCI_MODE_STOP) {
        SequencerRequest(END_OF_PLAY, panel);
        return;
    }
    DWORD position = 0;
    if (MCIERROR error = QueryStatus(MCI_STATUS_POSITION, &position)) {
        ShowMciError(panel, error);
        return;
    }
    WaveKeptPosition = position;
    ShowPlayerTime(panel, IDC_TIME, position);
}

void OnMeterTimer(HWND panel) {
    DWORD meter = 0;
    if (WavePlayState == WavePlaying)
        meter = MixerControlMap.WavePeakMeter;
    else if (WavePlayState == WaveRecording)
        meter = RecordMeterOf(RecordSource);
    else
        return;
    DrawLevelMeter(panel, ReadLevel(meter));
    if (WaveTicks == 0) {
        AnimateDisplay(panel, WavePlayState, &WaveFrame, &WaveTicks);
        WaveTicks -= HalfTick;
        return;
    }
    WaveTicks = 0;
    PollDevice(panel);
}

LRESULT OnMciNotify(HWND panel) {
    if (!WaveDeviceOpen)
        return TRUE;
    DWORD position = 0;
    if (MCIERROR error = QueryStatus(MCI_STATUS_POSITION, &position)) {
        ShowMciError(panel, error);
        return TRUE;
    }
    bool recording = WavePlayState == WaveRecording || WavePlayState == WaveRecordPaused;
    if (!recording && WavePlayState != WaveStopped && position >= WaveLength)
        SequencerRequest(END_OF_PLAY, panel);
    return TRUE;
}

void LoadHiddenFaders(HWND panel) {
    for (int id : {RecLeftFader, RecRightFader, MicFader})
        SendDlgItemMessageA(panel, id, SVM_SETRANGE, 0, MAKELPARAM(0, 16));
    DWORD level = ReadLevel(RecordLevelOf(RecordSource));
    bool mic = RecordSource == RecordFromMic;
    SendDlgItemMessageA(panel, RecLeftFader, SVM_SETPOS, 0,
                        MAKELPARAM(0, LOWORD(level) / LevelScale));
    SendDlgItemMessageA(panel, RecRightFader, SVM_SETPOS, 0,
                        MAKELPARAM(0, (mic ? LOWORD(level) : HIWORD(level)) / LevelScale));
    SendDlgItemMessageA(panel, MicFader, SVM_SETPOS, 0,
                        MAKELPARAM(0, LOWORD(ReadLevel(MixerControlMap.MicVolume)) / LevelScale));
}

BOOL OnInitDialog(HWND panel) {
    ApplyControlNames(panel, NamedPanel::Wave);
    SetDlgItemTextA(panel, IDC_TITLE, Text(IDS_WAVE_PLAYER));
    PlaceControls(panel, WavePlaces, FALSE);
    if (ShellGeneration == 95)
        SetControlFonts(panel, {IDC_TITLE, IDC_TOTAL, IDC_TIME, IDC_SPARE_TEXT}, PanelFont);
    WavePanelBrush = CreateSolidBrush(RGB(0, 0, 0));
    if (WaveLockOption == 1)
        SwitchControl(GetDlgItem(panel, IDC_WAVELOCK), true);
    WaveFrame = IdleDisplay;
    WavePlayRequest = MCI_PLAY_PARMS{};
    WavePlayRequest.dwCallback = reinterpret_cast<DWORD_PTR>(panel);
    WaveRecordRequest = MCI_RECORD_PARMS{};
    WaveRecordRequest.dwCallback = reinterpret_cast<DWORD_PTR>(panel);
    WavePlayState = WaveStopped;
    WaveModified = 0;
    WaveLength = 0;
    WaveRecordMode = ReadSettingInt("Mixer", "RECMODE", 2);
    RecordSource = ReadRecordSource();
    SelectSourceIndicator(panel, SourceIndicatorOf(RecordSource));
    if (MixerPanel != nullptr)
        ShowWindow(GetDlgItem(MixerPanel, MixerLoopKey),
                   RecordSource == RecordFromLoop ? SW_HIDE : SW_SHOW);
    LoadHiddenFaders(panel);
    // No key takes the focus: that would activate the main window while it
    // is still being built, before it is shown.
    return FALSE;
}

BOOL OnDestroy(HWND panel) {
    DeleteObject(WavePanelBrush);
    WavePanelBrush = nullptr;
    if (!WaveDeviceOpen)
        return FALSE;
    if (WavePlayState == WavePlaying || WavePlayState == WaveRecording)
        SendPlayerCommand(panel, IDC_STOP, FromStation);
    if (CloseDevice(panel) && CurrentPlayer == panel)
        CurrentPlayer = nullptr;
    return FALSE;
}

} // namespace

bool WaveHoldsFile(const char *path) {
    return WaveDeviceOpen && lstrcmpiA(WaveFilePath, path) == 0;
}

INT_PTR CALLBACK WavePanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(panel);
    case WM_PAINT: OnPaint(panel); return TRUE;
    case WM_CTLCOLORSTATIC:
        StaticColors(WavePanelBrush, panel, reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<INT_PTR>(WavePanelBrush);
    case WM_COMMAND: return OnCommand(panel, LOWORD(wParam), lParam);
    case WM_TIMER:
        if (wParam == MeterTimer)
            OnMeterTimer(panel);
        return TRUE;
    case MM_MCINOTIFY: return OnMciNotify(panel);
    case WM_DESTROY: return OnDestroy(panel);
    default: return FALSE;
    }
}
