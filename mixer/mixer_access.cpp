#include "mixer/mixer_access.h"

#include "platform/mixer.h"

HMIXER MixerHandle;

bool OpenMixer(HWND callbackWindow) {
    MixerHandle = nullptr;
    if (Mixer.getNumDevs() == 0)
        return false;
    HMIXER handle = nullptr;
    if (Mixer.open(&handle, 0, reinterpret_cast<DWORD_PTR>(callbackWindow), 0, CALLBACK_WINDOW) !=
        MMSYSERR_NOERROR)
        return false;
    MixerHandle = handle;
    return true;
}

// The control map is not built yet: no line is known, so no 3D line either.
bool ProbeMixer() {
    return false;
}

void SaveMixerState() {}

void CloseMixer() {
    if (MixerHandle != nullptr)
        Mixer.close(MixerHandle);
    MixerHandle = nullptr;
}
