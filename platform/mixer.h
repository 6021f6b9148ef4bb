// The audio mixer seam: the eight mixer calls the station makes. Production
// binds them to winmm, tests to the simulated sound card.
#pragma once
#include <windows.h>
#include <mmsystem.h>

struct MixerBinding {
    UINT(WINAPI *getNumDevs)();
    MMRESULT(WINAPI *open)
    (LPHMIXER mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
    MMRESULT(WINAPI *getDevCaps)(UINT_PTR id, LPMIXERCAPSA caps, UINT size);
    MMRESULT(WINAPI *getLineInfo)(HMIXEROBJ mixer, LPMIXERLINEA line, DWORD flags);
    MMRESULT(WINAPI *getLineControls)(HMIXEROBJ mixer, LPMIXERLINECONTROLSA controls, DWORD flags);
    MMRESULT(WINAPI *getControlDetails)
    (HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
    MMRESULT(WINAPI *setControlDetails)
    (HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
    MMRESULT(WINAPI *close)(HMIXER mixer);
};

extern MixerBinding Mixer;
