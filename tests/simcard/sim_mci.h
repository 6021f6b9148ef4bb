// The simulated card's multimedia devices, bound to the station's MCI seam:
// "cdaudio", "sequencer", "waveaudio", "avivideo" and the platform's player
// of compressed sound and movies, "mpegvideo", run on a virtual clock
// that tests advance. Every command is logged for tests to assert on, and
// MM_MCINOTIFY is posted to the callback window as a real driver posts it.
#pragma once
#include "platform/mci.h"

#include <string>
#include <utility>
#include <vector>

struct SimCdTrack {
    DWORD frames;      // length, 75 frames a second
    bool data = false; // a data track, not audio
};

struct SimDisc {
    std::vector<SimCdTrack> tracks;
};

// An audio disc with tracks of the given lengths in seconds.
SimDisc AudioDisc(const std::vector<DWORD> &trackSeconds);
// A data disc: one data track.
SimDisc DataDisc();

struct SimCdConfig {
    bool drive = true;               // a CD drive exists
    bool discLoaded = false;         // a disc lies in the tray
    SimDisc disc;                    // the disc, when loaded
    bool doorOpen = false;           // the tray is out
    bool heldByOtherProgram = false; // another program holds the drive unshared
    int playingTrack = 0;            // above 0: the drive is already playing from this track
};

struct SimMciConfig {
    SimCdConfig cd;
    bool sequencer = true;
    bool waveaudio = true;
    bool avivideo = true;
    // The platform's media player is installed: the "mpegvideo" device and
    // the extensions the system's table maps to it (mp3, wma, mpg, ...: see
    // SimMciExtensionTable). Without it neither the type nor those
    // extensions are known.
    bool mpegvideo = true;
    // Further extensions the table maps to "mpegvideo", without the dot
    // ("ogg", "flac"), for a platform with codecs for them.
    std::vector<std::string> moreMpegExtensions;
    // The "mpegvideo" device seeks while paused; Wine's fails with
    // MCIERR_INTERNAL.
    bool mpegSeeksWhilePaused = false;
};

// Puts every device into its initial state for the given configuration:
// devices closed, clock at 0, log and notifications empty.
void ResetSimMci(const SimMciConfig &config);

// The MCI calls of the simulated card.
MciBinding SimMciBinding();

// ---- clock ----

// Lets the given time pass: devices play and record, and plays that reach
// their end post their notifications.
void AdvanceSimClock(DWORD milliseconds);
DWORD SimClock();

// ---- log ----

// One command as the card received it, with its key parameters.
struct SimMciCall {
    DWORD clock = 0;
    MCIDEVICEID device = 0;
    std::string deviceType; // "cdaudio", ...; empty when no device answered
    UINT message = 0;
    DWORD flags = 0;
    DWORD item = 0;         // status item, capability, time format set; open: buffer seconds
    DWORD track = 0;        // MCI_TRACK of a status
    DWORD from = 0, to = 0; // as given, in the device's time format
    DWORD_PTR returned = 0; // dwReturn of a status or capability
    std::string text;       // open: element (or type when no element); save: file
    MCIERROR result = 0;
};

const std::vector<SimMciCall> &SimMciLog();
void ClearSimMciLog();
// The logged calls of one message, in order.
std::vector<SimMciCall> SimMciCallsOf(UINT message);
// "MCI_PLAY", ...; a number for unknown messages.
std::string MciMessageName(UINT message);
// A readable line for assertion messages.
std::string DescribeMciCall(const SimMciCall &call);

struct SimMciNotice {
    DWORD clock;
    MCIDEVICEID device;
    WPARAM flag; // MCI_NOTIFY_SUCCESSFUL, _SUPERSEDED, _ABORTED, _FAILURE
    HWND window;
};

// Every MM_MCINOTIFY the card posted, in order.
const std::vector<SimMciNotice> &SimMciNotices();

// ---- scripting ----

// A person pushes a disc into the drive (the tray closes).
void SimCdInsertDisc(const SimDisc &disc);
// A person takes the disc out (the tray stays open).
void SimCdRemoveDisc();
// A person opens or closes the tray by its button.
void SimCdSetDoor(bool open);
// Another program takes or gives back the drive.
void SimCdSetHeldByOtherProgram(bool held);

// The next command of that message to a device of that type fails with the
// given error (type "" matches every device).
void SimMciFailNext(const std::string &deviceType, UINT message, MCIERROR error);

// Devices open on the card.
int OpenSimMciDevices();

// The card's MCI extension table under the configuration of the last reset:
// (extension without the dot, lower case; device type) in the table's order.
std::vector<std::pair<std::string, std::string>> SimMciExtensionTable();
