// The simulated card's mixer driver: its line and control tables built from
// the configuration, the eight mixer calls answered from them, and the call
// log the tests read.
#include "tests/simcard/sim_mixer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD NoControl = 0xFFFF;
constexpr DWORD NoLine = 0xFFFFFFFF;
constexpr DWORD ObjectTypeMask = 0xF0000000;
constexpr DWORD QueryMask = 0x0000000F;
constexpr UINT_PTR FirstHandle = 0x5100;
constexpr WORD SimMakerId = 1; // the maker number the driver reports

struct Control {
    DWORD id;
    DWORD type;
    DWORD flags; // MIXERCONTROL_CONTROLF_*
    DWORD items; // multiple items, 0 for a plain control
    const char *name;
    LONG minimum;
    LONG maximum;
    size_t line;
    DWORD channels;           // value channels kept: 1 for a uniform control
    std::vector<LONG> values; // [channel * max(items, 1) + item]
};

struct Line {
    SimLine kind;
    bool reserved; // an input the board lacks
    DWORD destination;
    DWORD source; // NoLine for a destination
    DWORD id;
    DWORD componentType;
    DWORD targetType;
    DWORD channels;
    DWORD flags; // MIXERLINE_LINEF_*
    const char *name;
    std::vector<size_t> controls;
    std::vector<size_t> sources; // destinations only
};

struct OpenMixer {
    HMIXER handle;
    HWND callbackWindow; // null without CALLBACK_WINDOW
};

SimMixerConfig Config;
int Family;
std::vector<Line> Lines;
std::vector<size_t> Destinations;
std::vector<Control> Controls;
std::vector<OpenMixer> OpenMixers;
std::vector<SimMixerCall> Calls;
UINT_PTR NextHandle;
DWORD NextControlId;

// ---- Building the card ----

bool IsFixedId(DWORD id) {
    const DWORD fixed95[] = {38, 39, 41, 42};
    const DWORD fixedNt[] = {2, 3, 21, 22};
    const DWORD *fixed = Family == 95 ? fixed95 : fixedNt;
    return std::find(fixed, fixed + 4, id) != fixed + 4;
}

DWORD AllocateControlId() {
    while (IsFixedId(NextControlId))
        ++NextControlId;
    return NextControlId++;
}

LONG InitialValue(DWORD type) {
    switch (type) {
    case MIXERCONTROL_CONTROLTYPE_VOLUME: return 49152;
    case MIXERCONTROL_CONTROLTYPE_BASS:
    case MIXERCONTROL_CONTROLTYPE_TREBLE: return 32768;
    default: return 0;
    }
}

void AddControl(size_t line, DWORD type, const char *name, DWORD fixedId = NoControl,
                DWORD extraFlags = 0) {
    Control control{};
    control.id = fixedId != NoControl ? fixedId : AllocateControlId();
    control.type = type;
    control.name = name;
    control.line = line;
    control.minimum = 0;
    control.maximum = 65535;
    switch (type) {
    case MIXERCONTROL_CONTROLTYPE_MUTE:
    case MIXERCONTROL_CONTROLTYPE_ONOFF:
        control.flags = MIXERCONTROL_CONTROLF_UNIFORM;
        control.maximum = 1;
        break;
    case MIXERCONTROL_CONTROLTYPE_MIXER:
        control.flags = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
        control.items = 4;
        control.maximum = 1;
        break;
    case MIXERCONTROL_CONTROLTYPE_PEAKMETER:
        control.minimum = -32768;
        control.maximum = 32767;
        break;
    default: break;
    }
    control.flags |= extraFlags;
    control.channels = (control.flags & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : Lines[line].channels;
    control.values.assign(control.channels * std::max<DWORD>(control.items, 1), InitialValue(type));
    if (type == MIXERCONTROL_CONTROLTYPE_MIXER)
        control.values[0] = 1; // the compact disc is selected
    Lines[line].controls.push_back(Controls.size());
    Controls.push_back(control);
}

size_t AddLine(SimLine kind, DWORD componentType, DWORD channels, const char *name,
               DWORD targetType = MIXERLINE_TARGETTYPE_UNDEFINED) {
    Line line{};
    line.kind = kind;
    line.componentType = componentType;
    line.targetType = targetType;
    line.channels = channels;
    line.name = name;
    line.flags = MIXERLINE_LINEF_ACTIVE;
    if (Config.disconnected & SimLineBit(kind))
        line.flags = MIXERLINE_LINEF_DISCONNECTED;
    Lines.push_back(line);
    return Lines.size() - 1;
}

size_t AddDestination(SimLine kind, DWORD componentType, DWORD channels, const char *name,
                      DWORD targetType = MIXERLINE_TARGETTYPE_UNDEFINED) {
    size_t line = AddLine(kind, componentType, channels, name, targetType);
    Lines[line].destination = static_cast<DWORD>(Destinations.size());
    Lines[line].source = NoLine;
    Lines[line].id = Lines[line].destination;
    Destinations.push_back(line);
    return line;
}

size_t AddSource(size_t destination, SimLine kind, DWORD componentType, DWORD channels,
                 const char *name, DWORD targetType = MIXERLINE_TARGETTYPE_UNDEFINED) {
    size_t line = AddLine(kind, componentType, channels, name, targetType);
    Line &record = Lines[line];
    record.destination = Lines[destination].destination;
    record.source = static_cast<DWORD>(Lines[destination].sources.size());
    record.id = ((record.source + 1) << 16) | record.destination;
    record.flags |= MIXERLINE_LINEF_SOURCE;
    Lines[destination].sources.push_back(line);
    return line;
}

// An input the board lacks keeps its source number.
void AddReservedSource(size_t destination, SimLine kind) {
    size_t line =
        AddSource(destination, kind, MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED, 1, "Reserved");
    Lines[line].reserved = true;
    Lines[line].flags = MIXERLINE_LINEF_SOURCE | MIXERLINE_LINEF_DISCONNECTED;
}

void AddVolumeAndMute(size_t line) {
    AddControl(line, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume");
    AddControl(line, MIXERCONTROL_CONTROLTYPE_MUTE, "Mute");
}

void AddOutputSource(size_t speakers, bool exists, SimLine kind, DWORD type, DWORD channels,
                     const char *name, DWORD target = MIXERLINE_TARGETTYPE_UNDEFINED) {
    if (!exists) {
        AddReservedSource(speakers, kind);
        return;
    }
    AddVolumeAndMute(AddSource(speakers, kind, type, channels, name, target));
}

void AddThreeDLine(size_t speakers) {
    if (!Config.threeDLine) {
        AddReservedSource(speakers, SimLine::ThreeD);
        return;
    }
    size_t line = AddSource(speakers, SimLine::ThreeD, MIXERLINE_COMPONENTTYPE_SRC_ANALOG,
                            Config.threeDMono ? 1 : 2, "3D Sound");
    bool win95 = Family == 95;
    AddControl(line, MIXERCONTROL_CONTROLTYPE_FADER, "3D Width", win95 ? 41 : 21);
    AddControl(line, MIXERCONTROL_CONTROLTYPE_ONOFF, "3D Switch", win95 ? 42 : 22);
}

void AddTelephone(size_t speakers) {
    AddOutputSource(speakers, Config.telephone, SimLine::Telephone,
                    MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE, 1, "Telephone");
}

void BuildOutputDestination() {
    size_t speakers = AddDestination(SimLine::Speakers, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 2,
                                     "Master", MIXERLINE_TARGETTYPE_WAVEOUT);
    AddControl(speakers, MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", NoControl,
               Config.uniformMaster ? MIXERCONTROL_CONTROLF_UNIFORM : 0);
    AddControl(speakers, MIXERCONTROL_CONTROLTYPE_MUTE, "Mute");
    AddControl(speakers, MIXERCONTROL_CONTROLTYPE_VOLUME, "Loop Volume");
    AddControl(speakers, MIXERCONTROL_CONTROLTYPE_MUTE, "Loop Mute");
    bool win95 = Family == 95;
    AddControl(speakers, MIXERCONTROL_CONTROLTYPE_BASS, "Bass", win95 ? 38 : 2);
    AddControl(speakers, MIXERCONTROL_CONTROLTYPE_TREBLE, "Treble", win95 ? 39 : 3);
    AddOutputSource(speakers, true, SimLine::Synth, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, 2,
                    "Synth", MIXERLINE_TARGETTYPE_MIDIOUT);
    size_t wave = AddSource(speakers, SimLine::WaveOut, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, 2,
                            "Wave", MIXERLINE_TARGETTYPE_WAVEOUT);
    AddVolumeAndMute(wave);
    AddControl(wave, MIXERCONTROL_CONTROLTYPE_PEAKMETER, "Wave Peak");
    AddOutputSource(speakers, Config.lineSource, SimLine::Line, MIXERLINE_COMPONENTTYPE_SRC_LINE, 2,
                    "Line");
    AddOutputSource(speakers, true, SimLine::CompactDisc, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC,
                    2, "CD", MIXERLINE_TARGETTYPE_AUX);
    AddOutputSource(speakers, Config.auxSource, SimLine::Auxiliary,
                    MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY, 2, "Aux", MIXERLINE_TARGETTYPE_AUX);
    AddOutputSource(speakers, true, SimLine::Microphone, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 1,
                    "Mic");
    if (Family == 95) {
        AddOutputSource(speakers, true, SimLine::SoftSynth, MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED,
                        2, "SW Synth");
        AddThreeDLine(speakers);
    } else {
        AddThreeDLine(speakers);
    }
    AddTelephone(speakers);
}

void AddRecordSource(size_t waveIn, bool exists, SimLine kind, DWORD type, DWORD channels,
                     const char *name) {
    if (!exists) {
        AddReservedSource(waveIn, kind);
        return;
    }
    size_t line = AddSource(waveIn, kind, type, channels, name);
    AddControl(line, MIXERCONTROL_CONTROLTYPE_VOLUME, "Record Level");
    AddControl(line, MIXERCONTROL_CONTROLTYPE_PEAKMETER, "Record Peak");
}

void BuildRecordDestination() {
    size_t waveIn = AddDestination(SimLine::WaveIn, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, 2,
                                   "Recording", MIXERLINE_TARGETTYPE_WAVEIN);
    AddControl(waveIn, MIXERCONTROL_CONTROLTYPE_MIXER, "Record Source");
    AddRecordSource(waveIn, true, SimLine::RecCompactDisc, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC,
                    2, "CD");
    // The mic's recording line has two channels, as on the card: its level
    // is set as one value, its meter reads both.
    AddRecordSource(waveIn, true, SimLine::RecMicrophone, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 2,
                    "Mic");
    AddRecordSource(waveIn, Config.lineSource, SimLine::RecLine, MIXERLINE_COMPONENTTYPE_SRC_LINE,
                    2, "Line");
    AddRecordSource(waveIn, true, SimLine::RecLoop, MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 2, "Loop");
}

void BuildOtherDestinations() {
    AddDestination(SimLine::VoiceIn, MIXERLINE_COMPONENTTYPE_DST_VOICEIN, 1, "Voice",
                   MIXERLINE_TARGETTYPE_WAVEIN);
    if (!Config.loopbackDestination)
        return;
    size_t loop = AddDestination(SimLine::LoopbackDestination,
                                 MIXERLINE_COMPONENTTYPE_DST_UNDEFINED, 2, "Loopback Out");
    AddVolumeAndMute(
        AddSource(loop, SimLine::Loopback, MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 2, "Loopback"));
}

// Reserved lines at the end of a destination are not reported at all.
void DropTrailingReservedSources() {
    for (size_t destination : Destinations) {
        std::vector<size_t> &sources = Lines[destination].sources;
        while (!sources.empty() && Lines[sources.back()].reserved)
            sources.pop_back();
    }
}

void BuildCard() {
    Lines.clear();
    Destinations.clear();
    Controls.clear();
    NextControlId = 0;
    BuildOutputDestination();
    BuildRecordDestination();
    BuildOtherDestinations();
    DropTrailingReservedSources();
}

// ---- Looking things up ----

Control *FindControl(DWORD id) {
    for (Control &control : Controls)
        if (control.id == id)
            return &control;
    return nullptr;
}

bool Reported(size_t line) {
    const Line &record = Lines[line];
    if (record.source == NoLine)
        return true;
    const std::vector<size_t> &sources = Lines[Destinations[record.destination]].sources;
    return std::find(sources.begin(), sources.end(), line) != sources.end();
}

Line *FindLineById(DWORD id) {
    for (size_t i = 0; i < Lines.size(); ++i)
        if (Lines[i].id == id && Reported(i))
            return &Lines[i];
    return nullptr;
}

Line *FindLineByKind(SimLine kind) {
    for (size_t i = 0; i < Lines.size(); ++i)
        if (Lines[i].kind == kind && !Lines[i].reserved && Reported(i))
            return &Lines[i];
    return nullptr;
}

// Destinations first, each followed by its sources, as the driver lists them.
Line *FindLineByType(DWORD componentType) {
    for (size_t destination : Destinations) {
        if (Lines[destination].componentType == componentType)
            return &Lines[destination];
        for (size_t source : Lines[destination].sources)
            if (Lines[source].componentType == componentType && !Lines[source].reserved)
                return &Lines[source];
    }
    return nullptr;
}

bool IsOpenHandle(HMIXER handle) {
    for (const OpenMixer &open : OpenMixers)
        if (open.handle == handle)
            return true;
    return false;
}

// Checks the object a call names: mixer 0 by number or an open handle.
MMRESULT CheckObject(HMIXEROBJ object, DWORD flags) {
    if (!Config.present)
        return MMSYSERR_BADDEVICEID;
    switch (flags & ObjectTypeMask) {
    case MIXER_OBJECTF_MIXER:
        return reinterpret_cast<UINT_PTR>(object) == 0 ? MMSYSERR_NOERROR : MMSYSERR_BADDEVICEID;
    case MIXER_OBJECTF_HMIXER:
        return IsOpenHandle(reinterpret_cast<HMIXER>(object)) ? MMSYSERR_NOERROR
                                                              : MMSYSERR_INVALHANDLE;
    default: return MMSYSERR_INVALHANDLE;
    }
}

void Notify(DWORD controlId) {
    for (const OpenMixer &open : OpenMixers)
        if (open.callbackWindow != nullptr)
            PostMessageA(open.callbackWindow, MM_MIXM_CONTROL_CHANGE,
                         reinterpret_cast<WPARAM>(open.handle), static_cast<LPARAM>(controlId));
}

MMRESULT Log(SimMixerCall call) {
    Calls.push_back(call);
    return call.result;
}

SimMixerCall NewCall(SimMixerCallKind kind, DWORD flags) {
    SimMixerCall call{};
    call.kind = kind;
    call.flags = flags;
    return call;
}

// ---- Line information ----

void FillLine(const Line &line, LPMIXERLINEA out) {
    out->dwDestination = line.destination;
    if (line.source != NoLine)
        out->dwSource = line.source;
    out->dwLineID = line.id;
    out->fdwLine = line.flags;
    out->dwUser = 0;
    out->dwComponentType = line.componentType;
    out->cChannels = line.channels;
    out->cConnections = static_cast<DWORD>(line.sources.size());
    out->cControls = static_cast<DWORD>(line.controls.size());
    std::snprintf(out->szShortName, sizeof out->szShortName, "%s", line.name);
    std::snprintf(out->szName, sizeof out->szName, "%s", line.name);
    out->Target.dwType = line.targetType;
    out->Target.dwDeviceID = 0;
    out->Target.wMid = SimMakerId;
    out->Target.wPid = 0x7150;
    out->Target.vDriverVersion = 0x0400;
    std::snprintf(out->Target.szPname, sizeof out->Target.szPname, "%s",
                  line.targetType == MIXERLINE_TARGETTYPE_UNDEFINED ? "" : "Simulated Card");
}

Line *QueryLine(LPMIXERLINEA line, DWORD query, MMRESULT *result) {
    *result = MIXERR_INVALLINE;
    switch (query) {
    case MIXER_GETLINEINFOF_DESTINATION:
        if (line->dwDestination < Destinations.size())
            return &Lines[Destinations[line->dwDestination]];
        return nullptr;
    case MIXER_GETLINEINFOF_SOURCE:
        if (line->dwDestination < Destinations.size()) {
            const std::vector<size_t> &sources = Lines[Destinations[line->dwDestination]].sources;
            if (line->dwSource < sources.size())
                return &Lines[sources[line->dwSource]];
        }
        return nullptr;
    case MIXER_GETLINEINFOF_LINEID: return FindLineById(line->dwLineID);
    case MIXER_GETLINEINFOF_COMPONENTTYPE: return FindLineByType(line->dwComponentType);
    case MIXER_GETLINEINFOF_TARGETTYPE: *result = MMSYSERR_NOTSUPPORTED; return nullptr;
    default: *result = MMSYSERR_INVALFLAG; return nullptr;
    }
}

// ---- Line controls ----

void FillControl(const Control &control, LPMIXERCONTROLA out) {
    std::memset(out, 0, sizeof *out);
    out->cbStruct = sizeof *out;
    out->dwControlID = control.id;
    out->dwControlType = control.type;
    out->fdwControl = control.flags;
    out->cMultipleItems = control.items;
    std::snprintf(out->szShortName, sizeof out->szShortName, "%s", control.name);
    std::snprintf(out->szName, sizeof out->szName, "%s", control.name);
    out->Bounds.lMinimum = control.minimum;
    out->Bounds.lMaximum = control.maximum;
    out->Metrics.cSteps = static_cast<DWORD>(control.maximum - control.minimum);
}

MMRESULT AllControls(LPMIXERLINECONTROLSA request) {
    Line *line = FindLineById(request->dwLineID);
    if (line == nullptr)
        return MIXERR_INVALLINE;
    if (request->cControls == 0 || request->cControls != line->controls.size())
        return MMSYSERR_INVALPARAM;
    auto *out = reinterpret_cast<BYTE *>(request->pamxctrl);
    for (size_t control : line->controls) {
        FillControl(Controls[control], reinterpret_cast<LPMIXERCONTROLA>(out));
        out += request->cbmxctrl;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT OneControlById(LPMIXERLINECONTROLSA request) {
    if (request->cControls != 1)
        return MMSYSERR_INVALPARAM;
    Control *control = FindControl(request->dwControlID);
    if (control == nullptr)
        return MIXERR_INVALCONTROL;
    request->dwLineID = Lines[control->line].id;
    FillControl(*control, request->pamxctrl);
    return MMSYSERR_NOERROR;
}

MMRESULT OneControlByType(LPMIXERLINECONTROLSA request) {
    Line *line = FindLineById(request->dwLineID);
    if (line == nullptr)
        return MIXERR_INVALLINE;
    if (request->cControls != 1)
        return MMSYSERR_INVALPARAM;
    for (size_t control : line->controls)
        if (Controls[control].type == request->dwControlType) {
            FillControl(Controls[control], request->pamxctrl);
            return MMSYSERR_NOERROR;
        }
    return MIXERR_INVALCONTROL;
}

// ---- Control details ----

size_t ValueIndex(const Control &control, DWORD channel, DWORD item) {
    DWORD items = std::max<DWORD>(control.items, 1);
    DWORD kept = std::min(channel, control.channels - 1);
    return kept * items + item;
}

MMRESULT CheckDetails(LPMIXERCONTROLDETAILS details, bool listText, Control **found) {
    if (details == nullptr || details->cbStruct != sizeof(MIXERCONTROLDETAILS))
        return MMSYSERR_INVALPARAM;
    Control *control = FindControl(details->dwControlID);
    if (control == nullptr)
        return MIXERR_INVALCONTROL;
    DWORD lineChannels = Lines[control->line].channels;
    if (details->cChannels == 0 || details->cChannels > lineChannels)
        return MMSYSERR_INVALPARAM;
    bool multiple = (control->flags & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
    if (details->cMultipleItems != (multiple ? control->items : 0))
        return MMSYSERR_INVALPARAM;
    if (listText && !multiple)
        return MMSYSERR_INVALPARAM;
    DWORD size =
        listText ? sizeof(MIXERCONTROLDETAILS_LISTTEXTA) : sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    if (details->cbDetails != size || details->paDetails == nullptr)
        return MMSYSERR_INVALPARAM;
    *found = control;
    return MMSYSERR_NOERROR;
}

DWORD DetailCount(LPMIXERCONTROLDETAILS details) {
    return details->cChannels * std::max<DWORD>(details->cMultipleItems, 1);
}

void ReadValues(const Control &control, LPMIXERCONTROLDETAILS details, SimMixerCall *call) {
    auto *out = static_cast<LONG *>(details->paDetails);
    DWORD items = std::max<DWORD>(details->cMultipleItems, 1);
    // A uniform volume has one value and answers in the first channel only.
    bool uniformVolume = (control.flags & MIXERCONTROL_CONTROLF_UNIFORM) != 0 &&
                         control.type == MIXERCONTROL_CONTROLTYPE_VOLUME;
    DWORD answered = uniformVolume ? 1 : details->cChannels;
    for (DWORD channel = 0; channel < answered; ++channel)
        for (DWORD item = 0; item < items; ++item) {
            LONG value = control.values[ValueIndex(control, channel, item)];
            out[channel * items + item] = value;
            call->values.push_back(value);
        }
}

void ReadListText(const Control &control, LPMIXERCONTROLDETAILS details) {
    static const char *const names[] = {"CD", "Mic", "Line", "Loop"};
    auto *out = static_cast<MIXERCONTROLDETAILS_LISTTEXTA *>(details->paDetails);
    for (DWORD channel = 0; channel < details->cChannels; ++channel)
        for (DWORD item = 0; item < control.items; ++item) {
            MIXERCONTROLDETAILS_LISTTEXTA &text = out[channel * control.items + item];
            text.dwParam1 = Lines[Destinations[1]].sources.size() > item
                                ? Lines[Lines[Destinations[1]].sources[item]].id
                                : 0;
            text.dwParam2 = 0;
            std::snprintf(text.szName, sizeof text.szName, "%s", names[item % 4]);
        }
}

LONG Bounded(const Control &control, LONG value) {
    if (control.maximum == 1)
        return value != 0 ? 1 : 0;
    if (control.type == MIXERCONTROL_CONTROLTYPE_PEAKMETER)
        return std::clamp(value, control.minimum, control.maximum);
    // Unsigned controls: the value is a DWORD of 0 to 65535.
    DWORD unsignedValue = static_cast<DWORD>(value);
    return static_cast<LONG>(std::min<DWORD>(unsignedValue, 65535));
}

void WriteValues(Control &control, LPMIXERCONTROLDETAILS details, SimMixerCall *call) {
    const auto *in = static_cast<const LONG *>(details->paDetails);
    DWORD items = std::max<DWORD>(details->cMultipleItems, 1);
    for (DWORD item = 0; item < items; ++item) {
        for (DWORD channel = 0; channel < control.channels; ++channel) {
            // One channel given sets every channel alike.
            DWORD given = details->cChannels == 1 ? 0 : channel;
            LONG value = Bounded(control, in[given * items + item]);
            control.values[ValueIndex(control, channel, item)] = value;
        }
    }
    for (DWORD i = 0; i < DetailCount(details); ++i)
        call->values.push_back(in[i]);
}

// ---- The eight calls ----

UINT WINAPI SimMixerGetNumDevs() {
    UINT count = Config.present ? 1 : 0;
    SimMixerCall call = NewCall(SimMixerCallKind::GetNumDevs, 0);
    call.result = static_cast<MMRESULT>(count);
    Log(call);
    return count;
}

MMRESULT OpenResult(LPHMIXER mixer, UINT id, DWORD_PTR callback, DWORD flags) {
    if (!Config.present || id != 0 || (flags & ObjectTypeMask) != MIXER_OBJECTF_MIXER)
        return MMSYSERR_BADDEVICEID;
    if (mixer == nullptr)
        return MMSYSERR_INVALPARAM;
    DWORD callbackKind = flags & CALLBACK_TYPEMASK;
    if (callbackKind != CALLBACK_NULL && callbackKind != CALLBACK_WINDOW)
        return MMSYSERR_INVALFLAG;
    HWND window = callbackKind == CALLBACK_WINDOW ? reinterpret_cast<HWND>(callback) : nullptr;
    if (callbackKind == CALLBACK_WINDOW && !IsWindow(window))
        return MMSYSERR_INVALPARAM;
    HMIXER handle = reinterpret_cast<HMIXER>(NextHandle);
    NextHandle += 4;
    OpenMixers.push_back({handle, window});
    *mixer = handle;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimMixerOpen(LPHMIXER mixer, UINT id, DWORD_PTR callback, DWORD_PTR, DWORD flags) {
    SimMixerCall call = NewCall(SimMixerCallKind::Open, flags);
    call.result = OpenResult(mixer, id, callback, flags);
    return Log(call);
}

MMRESULT WINAPI SimMixerGetDevCaps(UINT_PTR id, LPMIXERCAPSA caps, UINT size) {
    SimMixerCall call = NewCall(SimMixerCallKind::GetDevCaps, 0);
    if (!Config.present || (id != 0 && !IsOpenHandle(reinterpret_cast<HMIXER>(id))))
        call.result = MMSYSERR_BADDEVICEID;
    else if (caps == nullptr)
        call.result = MMSYSERR_INVALPARAM;
    else {
        MIXERCAPSA full{};
        full.wMid = SimMakerId;
        full.wPid = 0x7150;
        full.vDriverVersion = 0x0400;
        std::snprintf(full.szPname, sizeof full.szPname, "Simulated Card Mixer");
        full.cDestinations = static_cast<DWORD>(Destinations.size());
        std::memcpy(caps, &full, std::min<size_t>(size, sizeof full));
        call.result = MMSYSERR_NOERROR;
    }
    return Log(call);
}

MMRESULT WINAPI SimMixerGetLineInfo(HMIXEROBJ object, LPMIXERLINEA line, DWORD flags) {
    SimMixerCall call = NewCall(SimMixerCallKind::GetLineInfo, flags);
    call.result = CheckObject(object, flags);
    if (call.result == MMSYSERR_NOERROR && (line == nullptr || line->cbStruct != sizeof *line))
        call.result = MMSYSERR_INVALPARAM;
    if (call.result != MMSYSERR_NOERROR)
        return Log(call);
    call.destination = line->dwDestination;
    call.source = line->dwSource;
    call.componentType = line->dwComponentType;
    call.lineId = line->dwLineID;
    Line *found = QueryLine(line, flags & QueryMask, &call.result);
    if (found != nullptr) {
        FillLine(*found, line);
        call.result = MMSYSERR_NOERROR;
    }
    return Log(call);
}

MMRESULT WINAPI SimMixerGetLineControls(HMIXEROBJ object, LPMIXERLINECONTROLSA request,
                                        DWORD flags) {
    SimMixerCall call = NewCall(SimMixerCallKind::GetLineControls, flags);
    call.result = CheckObject(object, flags);
    if (call.result == MMSYSERR_NOERROR &&
        (request == nullptr || request->cbStruct != sizeof *request ||
         request->cbmxctrl < sizeof(MIXERCONTROLA) || request->pamxctrl == nullptr))
        call.result = MMSYSERR_INVALPARAM;
    if (call.result != MMSYSERR_NOERROR)
        return Log(call);
    call.lineId = request->dwLineID;
    call.controlId = request->dwControlID;
    call.componentType = request->dwControlType;
    switch (flags & QueryMask) {
    case MIXER_GETLINECONTROLSF_ALL: call.result = AllControls(request); break;
    case MIXER_GETLINECONTROLSF_ONEBYID: call.result = OneControlById(request); break;
    case MIXER_GETLINECONTROLSF_ONEBYTYPE: call.result = OneControlByType(request); break;
    default: call.result = MMSYSERR_INVALFLAG; break;
    }
    return Log(call);
}

MMRESULT WINAPI SimMixerGetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details,
                                          DWORD flags) {
    SimMixerCall call = NewCall(SimMixerCallKind::GetControlDetails, flags);
    call.result = CheckObject(object, flags);
    DWORD query = flags & QueryMask;
    if (call.result == MMSYSERR_NOERROR && query != MIXER_GETCONTROLDETAILSF_VALUE &&
        query != MIXER_GETCONTROLDETAILSF_LISTTEXT)
        call.result = MMSYSERR_INVALFLAG;
    Control *control = nullptr;
    if (call.result == MMSYSERR_NOERROR)
        call.result = CheckDetails(details, query == MIXER_GETCONTROLDETAILSF_LISTTEXT, &control);
    if (details != nullptr) {
        call.controlId = details->dwControlID;
        call.channels = details->cChannels;
        call.items = details->cMultipleItems;
    }
    if (call.result == MMSYSERR_NOERROR) {
        if (query == MIXER_GETCONTROLDETAILSF_VALUE)
            ReadValues(*control, details, &call);
        else
            ReadListText(*control, details);
    }
    return Log(call);
}

MMRESULT WINAPI SimMixerSetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details,
                                          DWORD flags) {
    SimMixerCall call = NewCall(SimMixerCallKind::SetControlDetails, flags);
    call.result = CheckObject(object, flags);
    if (call.result == MMSYSERR_NOERROR && (flags & QueryMask) != MIXER_SETCONTROLDETAILSF_VALUE)
        call.result = MMSYSERR_INVALFLAG;
    Control *control = nullptr;
    if (call.result == MMSYSERR_NOERROR)
        call.result = CheckDetails(details, false, &control);
    if (call.result == MMSYSERR_NOERROR && control->type == MIXERCONTROL_CONTROLTYPE_PEAKMETER)
        call.result = MMSYSERR_NOTSUPPORTED; // meters are read-only
    if (details != nullptr) {
        call.controlId = details->dwControlID;
        call.channels = details->cChannels;
        call.items = details->cMultipleItems;
    }
    if (call.result == MMSYSERR_NOERROR) {
        WriteValues(*control, details, &call);
        Notify(control->id);
    }
    return Log(call);
}

MMRESULT WINAPI SimMixerClose(HMIXER mixer) {
    SimMixerCall call = NewCall(SimMixerCallKind::Close, 0);
    call.result = MMSYSERR_INVALHANDLE;
    for (auto open = OpenMixers.begin(); open != OpenMixers.end(); ++open)
        if (open->handle == mixer) {
            OpenMixers.erase(open);
            call.result = MMSYSERR_NOERROR;
            break;
        }
    return Log(call);
}

} // namespace

void ResetSimMixer(const SimMixerConfig &config) {
    Config = config;
    Family = config.family != 0 ? config.family : ((GetVersion() & 0x80000000u) != 0 ? 95 : 40);
    OpenMixers.clear();
    Calls.clear();
    NextHandle = FirstHandle;
    BuildCard();
}

MixerBinding SimMixerBinding() {
    return {SimMixerGetNumDevs,        SimMixerOpen,
            SimMixerGetDevCaps,        SimMixerGetLineInfo,
            SimMixerGetLineControls,   SimMixerGetControlDetails,
            SimMixerSetControlDetails, SimMixerClose};
}

int OpenSimMixers() {
    return static_cast<int>(OpenMixers.size());
}

DWORD SimControlId(SimLine kind, int index) {
    Line *line = FindLineByKind(kind);
    if (line == nullptr || index < 0 || static_cast<size_t>(index) >= line->controls.size())
        return NoControl;
    return Controls[line->controls[index]].id;
}

DWORD SimLineId(SimLine kind) {
    Line *line = FindLineByKind(kind);
    return line != nullptr ? line->id : NoLine;
}

LONG SimControlValue(DWORD controlId, int channel, int item) {
    Control *control = FindControl(controlId);
    if (control == nullptr || channel < 0 || item < 0 ||
        static_cast<DWORD>(item) >= std::max<DWORD>(control->items, 1))
        return 0;
    return control->values[ValueIndex(*control, channel, item)];
}

void SetSimControlValue(DWORD controlId, int channel, int item, LONG value) {
    Control *control = FindControl(controlId);
    if (control == nullptr || channel < 0 || static_cast<DWORD>(channel) >= control->channels ||
        item < 0 || static_cast<DWORD>(item) >= std::max<DWORD>(control->items, 1))
        return;
    control->values[ValueIndex(*control, channel, item)] = value;
}

void ChangeSimControlFromOutside(DWORD controlId, LONG value, int item) {
    Control *control = FindControl(controlId);
    if (control == nullptr)
        return;
    for (DWORD channel = 0; channel < control->channels; ++channel)
        SetSimControlValue(controlId, static_cast<int>(channel), item, Bounded(*control, value));
    Notify(controlId);
}

void SetSimMeter(DWORD controlId, LONG left, LONG right) {
    SetSimControlValue(controlId, 0, 0, left);
    SetSimControlValue(controlId, 1, 0, right);
}

const std::vector<SimMixerCall> &SimMixerCalls() {
    return Calls;
}

void ClearSimMixerCalls() {
    Calls.clear();
}

std::vector<SimMixerCall> SimMixerWrites() {
    std::vector<SimMixerCall> writes;
    for (const SimMixerCall &call : Calls)
        if (call.kind == SimMixerCallKind::SetControlDetails)
            writes.push_back(call);
    return writes;
}
