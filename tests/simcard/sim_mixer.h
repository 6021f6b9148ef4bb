// The simulated card's mixer device, bound to the station's mixer seam. It
// answers the mixer calls as the card's own driver does: the same structures,
// size checks, flags and return codes, and a MM_MIXM_CONTROL_CHANGE posted to
// every callback window after each change, whoever made it.
//
// Line layout (destination d, source s):
//   0     speakers: volume, mute, loop volume, loop mute, bass, treble
//   0/0   synthesizer        0/1 wave output (volume, mute, peak meter)
//   0/2   line               0/3 compact disc        0/4 auxiliary
//   0/5   microphone (one channel)
//   0/6   soft synthesizer (95 family) or the 3D line (NT)
//   0/7   the 3D line (95 family) or telephone (NT, one channel)
//   0/8   telephone (95 family)
//   1     wave input: record selector (multiple select, 4 items)
//   1/0-3 compact disc, microphone (one channel), line, loop: level, peak meter
//   2     voice input, no sources
//   3/0   loopback: volume, mute
// The tone controls (bass, treble) and the 3D line's width and switch sit at
// the fixed identifiers 38, 39, 41, 42 (95 family) or 2, 3, 21, 22 (NT). The
// driver numbers sources by the chip's inputs: an input the board lacks keeps its
// number as a disconnected line of undefined type without controls, and such
// lines at the end of a destination are left out.
#pragma once
#include "platform/mixer.h"

#include <string>
#include <vector>

// The lines of the card, for configurations and look-ups.
enum class SimLine {
    Speakers,
    Synth,
    WaveOut,
    Line,
    CompactDisc,
    Auxiliary,
    Microphone,
    SoftSynth,
    ThreeD,
    Telephone,
    WaveIn,
    RecCompactDisc,
    RecMicrophone,
    RecLine,
    RecLoop,
    VoiceIn,
    LoopbackDestination,
    Loopback,
};

constexpr unsigned SimLineBit(SimLine line) {
    return 1u << static_cast<unsigned>(line);
}

struct SimMixerConfig {
    bool present = false;            // a mixer device exists
    int family = 0;                  // 95 or 40; 0: what this Wine prefix reports
    bool lineSource = true;          // line input (output and record side)
    bool auxSource = true;           // auxiliary input
    bool telephone = true;           // telephone input
    bool threeDLine = true;          // the 3D line with tone and 3D controls
    bool threeDMono = false;         // the 3D line has one channel
    bool loopbackDestination = true; // destination 3 with its loopback source
    // The speakers' volume is one value for both channels (uniform), as on
    // Wine's own mixer: asked for two channels it answers the first only.
    bool uniformMaster = false;
    unsigned disconnected = 0;       // SimLineBit of each line reported disconnected
};

// Puts the mixer into its initial state for the given configuration.
void ResetSimMixer(const SimMixerConfig &config);

// The mixer calls of the simulated card.
MixerBinding SimMixerBinding();

// Number of mixer handles the station holds open on the card.
int OpenSimMixers();

// ---- Looking into the card ----

// Identifier of the index-th control (0 first) of a line, or 0xFFFF when the
// line or the control does not exist on this card.
DWORD SimControlId(SimLine line, int index);
// Identifier of the line, or 0xFFFFFFFF when it does not exist.
DWORD SimLineId(SimLine line);

// Current value of one channel (and item) of a control; 0 for none.
LONG SimControlValue(DWORD controlId, int channel = 0, int item = 0);
// Sets a control's value as the card's own state (no notification).
void SetSimControlValue(DWORD controlId, int channel, int item, LONG value);
// Another program changes a control: every channel takes the value (item 0,
// or the given item of a multiple-item control) and the card notifies.
void ChangeSimControlFromOutside(DWORD controlId, LONG value, int item = 0);
// Scripts what a peak meter reads on each channel.
void SetSimMeter(DWORD controlId, LONG left, LONG right);

// ---- The call log ----

enum class SimMixerCallKind {
    GetNumDevs,
    Open,
    GetDevCaps,
    GetLineInfo,
    GetLineControls,
    GetControlDetails,
    SetControlDetails,
    Close,
};

struct SimMixerCall {
    SimMixerCallKind kind;
    DWORD flags;              // the call's flag argument
    DWORD destination;        // line queries: as given
    DWORD source;             // line queries: as given
    DWORD componentType;      // line queries by type; control queries by type
    DWORD lineId;             // control queries
    DWORD controlId;          // control details, control queries by id
    DWORD channels;           // control details
    DWORD items;              // control details
    std::vector<LONG> values; // control details written or read
    MMRESULT result;
};

const std::vector<SimMixerCall> &SimMixerCalls();
void ClearSimMixerCalls();
// The control details writes only, in order.
std::vector<SimMixerCall> SimMixerWrites();
