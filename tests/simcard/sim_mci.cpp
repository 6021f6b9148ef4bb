#include "tests/simcard/sim_mci.h"

#include <cstring>

namespace {

// No CD drive, no sequencer, no wave or video device.
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

} // namespace

void ResetSimMci(const SimMciConfig &) {}

MciBinding SimMciBinding() {
    return {SimSendCommand, SimGetErrorString};
}
