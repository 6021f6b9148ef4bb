// The mixer access layer: opening the card's mixer, the probe that fills the
// control map from the driver's line layout, the six control routines and
// the exit save of the mixer state.
#include "mixer/mixer_access.h"

#include "platform/mixer.h"
#include "shell/settings.h"
#include "shell/station.h"

#include <utility>
#include <vector>

HMIXER MixerHandle;
MixerControls MixerControlMap;
bool ThreeDLineMono;
int RecordSource;

namespace {

// The probe's one line record and one controls request, reused from step to
// step: a field a step does not set keeps what the previous query left.
MIXERLINEA ProbeLine;
MIXERLINECONTROLSA ProbeRequest;
std::vector<MIXERCONTROLA> ProbeControls;
DWORD FetchedControls;
// Controls the driver marks uniform: one value for all their channels.
std::vector<DWORD> UniformControls;
// The level last written to each control, as the station wrote it.
std::vector<std::pair<DWORD, DWORD>> WrittenLevels;

HMIXEROBJ MixerObject() {
    return reinterpret_cast<HMIXEROBJ>(MixerHandle);
}

bool Win95Family() {
    return PlatformFamily == 95;
}

void ClearControlMap() {
    DWORD *slot = reinterpret_cast<DWORD *>(&MixerControlMap);
    for (size_t i = 0; i < sizeof MixerControlMap / sizeof(DWORD); ++i)
        slot[i] = EmptyMixerSlot;
    ThreeDLineMono = false;
    UniformControls.clear();
    WrittenLevels.clear();
}

// ---- Probe steps ----

bool QueryLine(DWORD query) {
    ProbeLine.cbStruct = sizeof ProbeLine;
    return Mixer.getLineInfo(MixerObject(), &ProbeLine, MIXER_OBJECTF_HMIXER | query) ==
           MMSYSERR_NOERROR;
}

bool LineByType(DWORD componentType) {
    ProbeLine.dwComponentType = componentType;
    return QueryLine(MIXER_GETLINEINFOF_COMPONENTTYPE);
}

// A driver that ignores the destination number answers with a line of
// another destination; that is not the line asked for.
bool LineBySource(DWORD destination, DWORD source) {
    ProbeLine.dwDestination = destination;
    ProbeLine.dwSource = source;
    return QueryLine(MIXER_GETLINEINFOF_SOURCE) && ProbeLine.dwDestination == destination &&
           ProbeLine.dwSource == source;
}

bool LineConnected() {
    return (ProbeLine.fdwLine & MIXERLINE_LINEF_DISCONNECTED) == 0;
}

// Every control of the line just found, in the order the device lists them.
bool FetchControls() {
    FetchedControls = 0;
    if (ProbeLine.cControls == 0)
        return false;
    ProbeControls.assign(ProbeLine.cControls, MIXERCONTROLA{});
    ProbeRequest.cbStruct = sizeof ProbeRequest;
    ProbeRequest.dwLineID = ProbeLine.dwLineID;
    ProbeRequest.cControls = ProbeLine.cControls;
    ProbeRequest.cbmxctrl = sizeof(MIXERCONTROLA);
    ProbeRequest.pamxctrl = ProbeControls.data();
    if (Mixer.getLineControls(MixerObject(), &ProbeRequest,
                              MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) !=
        MMSYSERR_NOERROR)
        return false;
    FetchedControls = ProbeLine.cControls;
    for (const MIXERCONTROLA &control : ProbeControls)
        if (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM)
            UniformControls.push_back(control.dwControlID);
    return true;
}

bool FetchLine(bool found) {
    return found && FetchControls();
}

bool FetchByType(DWORD componentType) {
    return FetchLine(LineByType(componentType));
}

DWORD ControlAt(DWORD index) {
    return index < FetchedControls ? ProbeControls[index].dwControlID : EmptyMixerSlot;
}

void Assign(DWORD *slot, DWORD index) {
    if (index < FetchedControls)
        *slot = ProbeControls[index].dwControlID;
}

void AssignPair(DWORD *volume, DWORD *mute) {
    Assign(volume, 0);
    Assign(mute, 1);
}

void ProbePlaybackLines() {
    MixerControls &map = MixerControlMap;
    if (FetchByType(MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER))
        AssignPair(&map.FmVolume, &map.FmMute);
    if (FetchByType(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT))
        AssignPair(&map.WaveVolume, &map.WaveMute);
    // The destination the wave output is mixed into, as the record holds it.
    ProbeLine.dwSource = 0;
    if (FetchLine(QueryLine(MIXER_GETLINEINFOF_DESTINATION))) {
        AssignPair(&map.MasterVolume, &map.MasterMute);
        if (ProbeLine.cControls > 2) {
            Assign(&map.LoopVolume, 2);
            Assign(&map.LoopMute, 3);
        }
    }
    if (FetchLine(LineBySource(3, 0)))
        AssignPair(&map.LoopVolume, &map.LoopMute);
}

void ProbeInputLines() {
    MixerControls &map = MixerControlMap;
    if (FetchByType(MIXERLINE_COMPONENTTYPE_SRC_LINE) ||
        FetchByType(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC))
        AssignPair(&map.LineVolume, &map.LineMute);
    // The compact disc stands in for the auxiliary input unless it already
    // stands in for the line input.
    if (FetchByType(MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY) ||
        (FetchByType(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC) && ControlAt(0) != map.LineVolume))
        AssignPair(&map.AuxVolume, &map.AuxMute);
    if (FetchByType(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE))
        AssignPair(&map.MicVolume, &map.MicMute);
    if (LineByType(MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE) && LineConnected() && FetchControls())
        AssignPair(&map.MonoInVolume, &map.MonoInMute);
    if (Win95Family() && LineBySource(0, 6) && LineConnected() && FetchControls())
        AssignPair(&map.SoftSynthVolume, &map.SoftSynthMute);
}

bool ProbeThreeDLine() {
    if (!LineBySource(0, Win95Family() ? 7 : 6) || !LineConnected())
        return false;
    ThreeDLineMono = ProbeLine.cChannels == 1;
    return true;
}

void AssignFixedEffectControls() {
    MixerControls &map = MixerControlMap;
    bool win95 = Win95Family();
    map.ToneBass = win95 ? 38 : 2;
    map.ToneTreble = win95 ? 39 : 3;
    map.EfxWide = win95 ? 41 : 21;
    map.EfxSwitch = win95 ? 42 : 22;
}

void ProbeWavePeakMeter() {
    if (!LineByType(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT))
        return;
    ProbeControls.assign(1, MIXERCONTROLA{});
    ProbeRequest.cbStruct = sizeof ProbeRequest;
    ProbeRequest.dwLineID = ProbeLine.dwLineID;
    ProbeRequest.dwControlType = MIXERCONTROL_CONTROLTYPE_PEAKMETER;
    ProbeRequest.cControls = 1;
    ProbeRequest.cbmxctrl = sizeof(MIXERCONTROLA);
    ProbeRequest.pamxctrl = ProbeControls.data();
    if (Mixer.getLineControls(MixerObject(), &ProbeRequest,
                              MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
        MMSYSERR_NOERROR)
        MixerControlMap.WavePeakMeter = ProbeControls[0].dwControlID;
}

void ProbeRecordLines() {
    MixerControls &map = MixerControlMap;
    DWORD *levels[] = {&map.RecCdLevel, &map.RecMicLevel, &map.RecLineLevel, &map.RecLoopLevel};
    DWORD *meters[] = {&map.RecMeter0, &map.RecMeter1, &map.RecMeter2, &map.RecMeter3};
    if (FetchLine(LineBySource(1, 0)))
        Assign(&map.RecLineLevel, 0); // stand-by until source 2 answers
    // The record levels are looked for only in a wave-input destination that
    // exists; otherwise the record would name whatever line came last.
    if (LineByType(MIXERLINE_COMPONENTTYPE_DST_WAVEIN)) {
        if (FetchControls())
            Assign(&map.RecSelector, 0);
        DWORD waveIn = ProbeLine.dwDestination;
        for (DWORD source = 0; source < 4; ++source)
            if (FetchLine(LineBySource(waveIn, source)))
                Assign(levels[source], 0);
    }
    ProbeWavePeakMeter();
    for (DWORD source = 0; source < 4; ++source)
        if (FetchLine(LineBySource(1, source)))
            Assign(meters[source], 1);
}

// ---- Control details ----

bool Usable(DWORD control) {
    return MixerHandle != nullptr && control != EmptyMixerSlot;
}

bool Uniform(DWORD control) {
    for (DWORD id : UniformControls)
        if (id == control)
            return true;
    return false;
}

DWORD ChannelsOf(DWORD control) {
    const MixerControls &map = MixerControlMap;
    if (control == map.MicVolume || control == map.MonoInVolume || control == map.RecMicLevel)
        return 1;
    if (ThreeDLineMono && control == map.EfxWide)
        return 1;
    return 2;
}

void RememberWritten(DWORD control, DWORD packedLevel) {
    for (auto &written : WrittenLevels)
        if (written.first == control) {
            written.second = packedLevel;
            return;
        }
    WrittenLevels.emplace_back(control, packedLevel);
}

// A driver that keeps levels as fractions gives back one unit less than it
// was given; a fader set by the user must not drop a step for that. A
// channel one unit below what the station wrote reads as what it wrote.
DWORD AsWritten(DWORD control, DWORD level) {
    for (const auto &written : WrittenLevels) {
        if (written.first != control)
            continue;
        WORD low = LOWORD(level), high = HIWORD(level);
        if (low + 1 == LOWORD(written.second))
            low = LOWORD(written.second);
        if (high + 1 == HIWORD(written.second))
            high = HIWORD(written.second);
        return MAKELONG(low, high);
    }
    return level;
}

// A uniform control is asked and told one value; a two-channel slot shows
// that value in both halves of its packed level.
DWORD ValuesOf(DWORD control) {
    return Uniform(control) ? 1 : ChannelsOf(control);
}

MIXERCONTROLDETAILS Details(DWORD control, DWORD channels, DWORD items, void *values) {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = control;
    details.cChannels = channels;
    details.cMultipleItems = items;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = values;
    return details;
}

void GetValues(DWORD control, DWORD channels, DWORD items, void *values) {
    MIXERCONTROLDETAILS details = Details(control, channels, items, values);
    Mixer.getControlDetails(MixerObject(), &details,
                            MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
}

void SetValues(DWORD control, DWORD channels, DWORD items, void *values) {
    MIXERCONTROLDETAILS details = Details(control, channels, items, values);
    Mixer.setControlDetails(MixerObject(), &details,
                            MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}

const DWORD RecordSourceItems = 4;

void SaveLevelPair(const char *left, const char *right, DWORD control) {
    DWORD level = ReadLevel(control);
    WriteSettingInt("Mixer", left, LOWORD(level));
    WriteSettingInt("Mixer", right, HIWORD(level));
}

void SaveMute(const char *key, DWORD control) {
    WriteSettingInt("Mixer", key, LOWORD(ReadSwitch(control)));
}

// The level of the selected record source; with none selected there is no
// level to keep and both channels are saved as 0.
void SaveRecordState() {
    int source = ReadRecordSource();
    WriteSettingInt("Mixer", "RECSOURCE", source);
    DWORD level = ReadLevel(RecordLevelOf(source));
    WriteSettingInt("Mixer", "RECINL", LOWORD(level));
    WriteSettingInt("Mixer", "RECINR", HIWORD(level));
}

} // namespace

bool MixerControlExists(DWORD control) {
    if (!Usable(control))
        return false;
    MIXERCONTROLA found{};
    found.cbStruct = sizeof found;
    MIXERLINECONTROLSA request{};
    request.cbStruct = sizeof request;
    request.dwControlID = control;
    request.cControls = 1;
    request.cbmxctrl = sizeof found;
    request.pamxctrl = &found;
    return Mixer.getLineControls(MixerObject(), &request,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID) ==
           MMSYSERR_NOERROR;
}

DWORD RecordLevelOf(int source) {
    const MixerControls &map = MixerControlMap;
    switch (source) {
    case RecordFromCd: return map.RecCdLevel;
    case RecordFromMic: return map.RecMicLevel;
    case RecordFromLine: return map.RecLineLevel;
    case RecordFromLoop: return map.RecLoopLevel;
    default: return EmptyMixerSlot;
    }
}

bool OpenMixer(HWND callbackWindow) {
    MixerHandle = nullptr;
    ClearControlMap();
    if (Mixer.getNumDevs() == 0)
        return false;
    HMIXER handle = nullptr;
    if (Mixer.open(&handle, 0, reinterpret_cast<DWORD_PTR>(callbackWindow), 0,
                   CALLBACK_WINDOW | MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR)
        return false;
    MixerHandle = handle;
    return true;
}

bool ProbeMixer() {
    ClearControlMap();
    if (MixerHandle == nullptr)
        return false;
    ProbeLine = MIXERLINEA{};
    ProbeRequest = MIXERLINECONTROLSA{};
    ProbePlaybackLines();
    ProbeInputLines();
    bool threeD = ProbeThreeDLine();
    AssignFixedEffectControls();
    ProbeRecordLines();
    return threeD;
}

void SaveMixerState() {
    if (MixerHandle == nullptr)
        return;
    const MixerControls &map = MixerControlMap;
    SaveLevelPair("MASTEROUTL", "MASTEROUTR", map.MasterVolume);
    SaveLevelPair("WAVEOUTL", "WAVEOUTR", map.WaveVolume);
    SaveLevelPair("FMOUTL", "FMOUTR", map.FmVolume);
    SaveLevelPair("AUXOUTL", "AUXOUTR", map.AuxVolume);
    SaveLevelPair("LINEOUTL", "LINEOUTR", map.LineVolume);
    WriteSettingInt("Mixer", "MICOUT", LOWORD(ReadLevel(map.MicVolume)));
    SaveLevelPair("LOOPBACKL", "LOOPBACKR", map.RecLoopLevel);
    SaveMute("MUTE_OUTAUX1", map.AuxMute);
    SaveMute("MUTE_OUTDAC", map.WaveMute);
    SaveMute("MUTE_OUTMIDI", map.FmMute);
    SaveMute("MUTE_OUTLINEIN", map.LineMute);
    SaveMute("MUTE_OUTMIC", map.MicMute);
    SaveMute("MUTE_OUTLINE", map.MasterMute);
    SaveMute("MUTE_LOOPBACK", map.LoopMute);
    SaveRecordState();
}

void CloseMixer() {
    if (MixerHandle != nullptr)
        Mixer.close(MixerHandle);
    MixerHandle = nullptr;
    ClearControlMap();
}

DWORD ReadLevel(DWORD control) {
    if (!Usable(control))
        return 0;
    DWORD channels = ChannelsOf(control);
    MIXERCONTROLDETAILS_UNSIGNED values[2] = {};
    GetValues(control, ValuesOf(control), 0, values);
    if (channels == 1)
        return AsWritten(control, LOWORD(values[0].dwValue));
    if (Uniform(control))
        values[1] = values[0];
    return AsWritten(control, MAKELONG(LOWORD(values[0].dwValue), LOWORD(values[1].dwValue)));
}

bool WriteLevel(DWORD control, DWORD packedLevel) {
    if (!Usable(control))
        return false;
    MIXERCONTROLDETAILS_UNSIGNED values[2] = {{LOWORD(packedLevel)}, {HIWORD(packedLevel)}};
    SetValues(control, ValuesOf(control), 0, values);
    DWORD channels = ChannelsOf(control);
    if (channels == 1)
        packedLevel = LOWORD(packedLevel);
    else if (Uniform(control))
        packedLevel = MAKELONG(LOWORD(packedLevel), LOWORD(packedLevel));
    RememberWritten(control, packedLevel);
    return true;
}

DWORD ReadSwitch(DWORD control) {
    if (!Usable(control))
        return 0;
    MIXERCONTROLDETAILS_BOOLEAN value = {};
    GetValues(control, 1, 0, &value);
    return static_cast<DWORD>(value.fValue);
}

bool WriteSwitch(DWORD control, bool on) {
    if (!Usable(control))
        return false;
    MIXERCONTROLDETAILS_BOOLEAN value = {on ? 1 : 0};
    SetValues(control, 1, 0, &value);
    return true;
}

int ReadRecordSource() {
    if (!Usable(MixerControlMap.RecSelector))
        return NoRecordSource;
    MIXERCONTROLDETAILS_BOOLEAN items[RecordSourceItems] = {};
    GetValues(MixerControlMap.RecSelector, 1, RecordSourceItems, items);
    for (int item = 0; item < static_cast<int>(RecordSourceItems); ++item)
        if (items[item].fValue == 1)
            return item;
    return NoRecordSource;
}

bool WriteRecordSource(int index) {
    if (!Usable(MixerControlMap.RecSelector))
        return false;
    if (index < 0 || index > RecordFromLoop)
        index = RecordFromCd;
    MIXERCONTROLDETAILS_BOOLEAN items[RecordSourceItems] = {};
    items[index].fValue = 1;
    SetValues(MixerControlMap.RecSelector, 1, RecordSourceItems, items);
    return true;
}
