#include "tests/simcard/sim_card.h"

#include "platform/mci.h"
#include "platform/mixer.h"
#include "platform/ports.h"

#include <cstring>

namespace {

SimCardConfig Card;
int OpenMixerCount;
bool Installed;
MciBinding ProductionMci;
MixerBinding ProductionMixer;
PortBinding ProductionPorts;

HMIXER const SimMixerHandle = reinterpret_cast<HMIXER>(0x5100);

// ---- MCI: no CD drive, no sequencer, no wave or video device ----

MCIERROR WINAPI SimSendCommand(MCIDEVICEID, UINT message, DWORD_PTR, DWORD_PTR) {
    return message == MCI_OPEN ? MCIERR_INVALID_DEVICE_NAME : MCIERR_INVALID_DEVICE_ID;
}

BOOL WINAPI SimGetErrorString(MCIERROR error, LPSTR text, UINT size) {
    const char *message = error == MCIERR_INVALID_DEVICE_NAME
                              ? "The specified device is not open or is not recognized by MCI."
                              : "Invalid device ID. Use the ID given to the device when the "
                                "device was opened.";
    if (text == nullptr || size == 0)
        return FALSE;
    std::strncpy(text, message, size - 1);
    text[size - 1] = '\0';
    return TRUE;
}

// ---- Mixer: none, or one that only opens and closes ----

UINT WINAPI SimMixerGetNumDevs() {
    return Card.hasMixer ? 1 : 0;
}

MMRESULT WINAPI SimMixerOpen(LPHMIXER mixer, UINT id, DWORD_PTR, DWORD_PTR, DWORD) {
    if (!Card.hasMixer || id != 0)
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

// ---- Ports: nothing answers ----

bool SimReadPort(WORD, BYTE *) {
    return false;
}
bool SimWritePort(WORD, BYTE) {
    return false;
}

} // namespace

void InstallSimulatedCard(const SimCardConfig &config) {
    if (!Installed) {
        ProductionMci = Mci;
        ProductionMixer = Mixer;
        ProductionPorts = Ports;
        Installed = true;
    }
    Card = config;
    OpenMixerCount = 0;
    Mci = {SimSendCommand, SimGetErrorString};
    Mixer = {SimMixerGetNumDevs,        SimMixerOpen,
             SimMixerGetDevCaps,        SimMixerGetLineInfo,
             SimMixerGetLineControls,   SimMixerGetControlDetails,
             SimMixerSetControlDetails, SimMixerClose};
    Ports = {SimReadPort, SimWritePort};
}

void RemoveSimulatedCard() {
    if (!Installed)
        return;
    Mci = ProductionMci;
    Mixer = ProductionMixer;
    Ports = ProductionPorts;
    Installed = false;
}

int OpenSimMixers() {
    return OpenMixerCount;
}
