#include "tests/simcard/sim_mixer.h"

namespace {

SimMixerConfig Config;
int OpenMixerCount;

HMIXER const SimMixerHandle = reinterpret_cast<HMIXER>(0x5100);

UINT WINAPI SimMixerGetNumDevs() {
    return Config.present ? 1 : 0;
}

MMRESULT WINAPI SimMixerOpen(LPHMIXER mixer, UINT id, DWORD_PTR, DWORD_PTR, DWORD) {
    if (!Config.present || id != 0)
        return MMSYSERR_BADDEVICEID;
    *mixer = SimMixerHandle;
    ++OpenMixerCount;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SimMixerGetDevCaps(UINT_PTR, LPMIXERCAPSA, UINT) {
    return MMSYSERR_BADDEVICEID;
}
MMRESULT WINAPI SimMixerGetLineInfo(HMIXEROBJ, LPMIXERLINEA, DWORD) {
    return MIXERR_INVALLINE;
}
MMRESULT WINAPI SimMixerGetLineControls(HMIXEROBJ, LPMIXERLINECONTROLSA, DWORD) {
    return MIXERR_INVALLINE;
}
MMRESULT WINAPI SimMixerGetControlDetails(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD) {
    return MIXERR_INVALCONTROL;
}
MMRESULT WINAPI SimMixerSetControlDetails(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD) {
    return MIXERR_INVALCONTROL;
}

MMRESULT WINAPI SimMixerClose(HMIXER mixer) {
    if (mixer != SimMixerHandle || OpenMixerCount == 0)
        return MMSYSERR_INVALHANDLE;
    --OpenMixerCount;
    return MMSYSERR_NOERROR;
}

} // namespace

void ResetSimMixer(const SimMixerConfig &config) {
    Config = config;
    OpenMixerCount = 0;
}

MixerBinding SimMixerBinding() {
    return {SimMixerGetNumDevs,        SimMixerOpen,
            SimMixerGetDevCaps,        SimMixerGetLineInfo,
            SimMixerGetLineControls,   SimMixerGetControlDetails,
            SimMixerSetControlDetails, SimMixerClose};
}

int OpenSimMixers() {
    return OpenMixerCount;
}
