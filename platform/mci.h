// The multimedia command seam. Every MCI command the station sends and every
// error text it shows goes through `Mci`; production binds it to winmm, tests
// to the simulated sound card.
#pragma once
#include <windows.h>
#include <mmsystem.h>

struct MciBinding {
    MCIERROR(WINAPI *sendCommand)
    (MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);
    BOOL(WINAPI *getErrorString)(MCIERROR error, LPSTR text, UINT size);
};

extern MciBinding Mci;
