// What the simulated card's devices share: the transport that plays and
// records on the virtual clock, the one-slot notification, and the commands
// every device answers the same way (play, pause, resume, stop, seek, status,
// set, close). Each device type derives from SimDevice.
#pragma once
#include "tests/simcard/sim_mci.h"

#include <memory>
#include <string>

// Playing or recording state, in the device's own units.
struct Transport {
    DWORD mode = MCI_MODE_STOP;
    DWORD position = 0;
    DWORD target = 0;    // where the running play or bounded record ends
    bool bounded = true; // false: a recording that runs until stopped
    DWORD startClock = 0;
    DWORD startPosition = 0;
    DWORD pausedMode = MCI_MODE_PLAY; // what a pause returns to
    // The one outstanding notification: of a play, record or seek.
    bool notifyPending = false;
    HWND notifyWindow = nullptr;
    MCIDEVICEID notifyDevice = 0;
    DWORD notifyEnd = 0; // 0xFFFFFFFF: a recording without an end
};

// Posts MM_MCINOTIFY and records it.
void PostMciNotify(HWND window, WPARAM flag, MCIDEVICEID device);
// The callback window of a parameter block.
HWND CallbackOf(DWORD_PTR params);

class SimDevice {
  public:
    explicit SimDevice(const char *type) : type(type) {}
    virtual ~SimDevice() = default;
    SimDevice(const SimDevice &) = delete;
    SimDevice &operator=(const SimDevice &) = delete;

    // Takes the open request: the element named, the device's own open flags.
    virtual MCIERROR Load(DWORD flags, DWORD_PTR params) = 0;
    // Runs one command other than MCI_OPEN.
    MCIERROR Command(UINT message, DWORD flags, DWORD_PTR params, SimMciCall &call);
    // Lets the clock run to now.
    virtual void Advance(DWORD now);
    // Stops what runs and lets go of windows; before the device is deleted.
    virtual void Closing();

    MCIDEVICEID id = 0;
    std::string type;
    std::string element; // the element named at open, as given
    std::string alias;

  protected:
    virtual Transport &Run() = 0;
    // Length of the media in units, and where it starts and ends.
    virtual DWORD Length() = 0;
    virtual DWORD StartUnits() { return 0; }
    DWORD EndUnits() { return StartUnits() + Length(); }
    // Units a run covers in the given milliseconds, and back.
    virtual DWORD UnitsIn(DWORD milliseconds) { return milliseconds; }
    virtual DWORD MillisecondsFor(DWORD units) { return units; }
    // Time format conversions; ToUnits fails with MCIERR_OUTOFRANGE.
    virtual MCIERROR ToUnits(DWORD value, DWORD &units);
    virtual DWORD FromUnits(DWORD units) { return units; }
    virtual bool AcceptsTimeFormat(DWORD format) { return format == MCI_FORMAT_MILLISECONDS; }
    // 0 when the media can be played now, else the error.
    virtual MCIERROR Ready() { return 0; }
    // 0 when a play may start at the given position, else the error.
    virtual MCIERROR PlayableFrom(DWORD) { return 0; }
    // 0 when a seek may move the transport as it is now, else the error.
    virtual MCIERROR SeekableNow() { return 0; }
    // Device items of MCI_STATUS; MCIERR_BAD_CONSTANT when not known.
    virtual MCIERROR StatusItem(DWORD flags, MCI_STATUS_PARMS &status);
    // Device flags of MCI_SET beyond the time format.
    virtual MCIERROR SetItems(DWORD flags, DWORD_PTR params);
    virtual MCIERROR Capability(DWORD item, DWORD &answer);
    // Commands of one device type only.
    virtual MCIERROR Other(UINT message, DWORD flags, DWORD_PTR params, SimMciCall &call);
    // The transport moved from one position to another while running in
    // the given mode (it may have stopped at its end since).
    virtual void Ran(DWORD, DWORD, DWORD) {}
    // The device starts to play: windows show, and so on.
    virtual void Playing() {}

    // Starts playing or recording from a position; handles the notification
    // rules and MCI_WAIT.
    MCIERROR Start(DWORD mode, DWORD from, DWORD target, bool bounded, DWORD flags,
                   DWORD_PTR params);
    // Ends a pending notification with the given flag.
    void EndNotify(WPARAM flag);
    // A command with MCI_NOTIFY that completes at once.
    void NotifyNow(DWORD flags, DWORD_PTR params);
    // Stops at the current position; a pending notification is aborted.
    void StopHere();

    DWORD timeFormat = MCI_FORMAT_MILLISECONDS;

  private:
    MCIERROR Play(DWORD flags, DWORD_PTR params, SimMciCall &call);
    MCIERROR Status(DWORD flags, DWORD_PTR params, SimMciCall &call);
    MCIERROR Set(DWORD flags, DWORD_PTR params, SimMciCall &call);
    MCIERROR Seek(DWORD flags, DWORD_PTR params, SimMciCall &call);
};

// Moves a transport along the clock: answers true when it reached its end
// and stopped (the notification is then posted).
bool AdvanceTransport(Transport &run, DWORD unitsElapsed);

std::unique_ptr<SimDevice> MakeCdAudio();
std::unique_ptr<SimDevice> MakeSequencer();
std::unique_ptr<SimDevice> MakeWaveAudio();
std::unique_ptr<SimDevice> MakeAviVideo();
// seeksWhilePaused: a seek while paused moves the position instead of
// failing with MCIERR_INTERNAL.
std::unique_ptr<SimDevice> MakeMpegVideo(bool seeksWhilePaused);

// The CD drive outlives the devices opened on it.
void ResetCdDrive(const SimCdConfig &config);
void AdvanceCdDrive(DWORD now);
// 0, or the error an open of the CD device meets now.
MCIERROR CdOpenError(bool shareable);

// Reads a whole file for a device's open: 0, MCIERR_FILE_NOT_FOUND.
MCIERROR LoadFile(const std::string &path, std::vector<uint8_t> &bytes);

// ---- the playback window of the video devices ----

// What a playback window shows: its device paints the frame on show.
class SimPicture {
  public:
    virtual void Paint(HDC dc, const RECT &area) = 0;

  protected:
    ~SimPicture() = default;
};

// Opens a real playback window fitting a picture of the given size, hidden,
// with the style and parent that an MCI_DGV_OPEN_PARMSA request names (an
// overlapped window of its own otherwise) and the element's file name as
// its title. Answers 0 or MCIERR_CREATEWINDOW.
MCIERROR OpenPlaybackWindow(DWORD flags, DWORD_PTR params, const std::string &element, SIZE picture,
                            SimPicture *painter, HWND &window);
// Destroys it; the handle becomes null.
void ClosePlaybackWindow(HWND &window);
// MCI_WHERE of the source (the picture), the destination (the client area)
// or the window; rectangles give an offset and an extent.
MCIERROR WherePlayback(HWND window, SIZE picture, DWORD flags, DWORD_PTR params);
// MCI_WINDOW: the show state and the title of the device's own window
// (another window is not simulated).
MCIERROR CommandPlaybackWindow(HWND window, DWORD flags, DWORD_PTR params);
