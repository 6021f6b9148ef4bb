// Production binding of the MCI and mixer seams: straight to winmm.
#include "platform/mci.h"
#include "platform/mixer.h"

MciBinding Mci = {mciSendCommandA, mciGetErrorStringA};

MixerBinding Mixer = {mixerGetNumDevs,        mixerOpen,
                      mixerGetDevCapsA,       mixerGetLineInfoA,
                      mixerGetLineControlsA,  mixerGetControlDetailsA,
                      mixerSetControlDetails, mixerClose};
