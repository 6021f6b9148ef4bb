// The simulated card's MCI: opening devices by type or by file extension,
// device identifiers and aliases, the virtual clock, the command log, the
// notification record and the error texts.
#include "tests/simcard/sim_mci.h"

#include "tests/simcard/sim_mci_device.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

SimMciConfig Config;
DWORD Clock;
std::map<MCIDEVICEID, std::unique_ptr<SimDevice>> Devices;
std::vector<SimMciCall> Log;
std::vector<SimMciNotice> Notices;

struct Fault {
    std::string deviceType;
    UINT message;
    MCIERROR error;
};
std::vector<Fault> Faults;

bool SameText(const std::string &a, const char *b) {
    return lstrcmpiA(a.c_str(), b) == 0;
}

// The extensions the system's MCI extension table maps to "mpegvideo" once
// the platform's media player is installed, as Wine's registry has them.
const char *const MpegExtensions[] = {
    "aifc", "asf", "asx", "au",   "lsf", "lsx", "m1v", "m3u", "mp2", "mp2v", "mp3", "mpa", "mpe",
    "mpeg", "mpg", "mpv", "mpv2", "snd", "wax", "wm",  "wma", "wmp", "wmv",  "wmx", "wvx"};

std::vector<std::pair<std::string, std::string>> ExtensionTable() {
    std::vector<std::pair<std::string, std::string>> table = {
        {"wav", "waveaudio"}, {"mid", "sequencer"}, {"rmi", "sequencer"}, {"avi", "avivideo"}};
    if (!Config.mpegvideo)
        return table;
    for (const char *extension : MpegExtensions)
        table.push_back({extension, "mpegvideo"});
    for (const std::string &extension : Config.moreMpegExtensions)
        table.push_back({extension, "mpegvideo"});
    return table;
}

// The device type a file extension stands for, as the system's MCI
// extension table maps them; empty when none.
std::string TypeOfExtension(const std::string &element) {
    size_t dot = element.find_last_of('.');
    size_t slash = element.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string extension = element.substr(dot + 1);
    for (const auto &entry : ExtensionTable())
        if (SameText(extension, entry.first.c_str()))
            return entry.second;
    return "";
}

std::string TypeOfId(WORD type) {
    switch (type) {
    case MCI_DEVTYPE_CD_AUDIO: return "cdaudio";
    case MCI_DEVTYPE_WAVEFORM_AUDIO: return "waveaudio";
    case MCI_DEVTYPE_SEQUENCER: return "sequencer";
    case MCI_DEVTYPE_DIGITAL_VIDEO: return "avivideo";
    default: return "";
    }
}

std::unique_ptr<SimDevice> MakeDevice(const std::string &type) {
    if (type == "cdaudio" && Config.cd.drive)
        return MakeCdAudio();
    if (type == "sequencer" && Config.sequencer)
        return MakeSequencer();
    if (type == "waveaudio" && Config.waveaudio)
        return MakeWaveAudio();
    if (type == "avivideo" && Config.avivideo)
        return MakeAviVideo();
    if (type == "mpegvideo" && Config.mpegvideo)
        return MakeMpegVideo(Config.mpegSeeksWhilePaused);
    return nullptr;
}

bool KnownType(const std::string &type) {
    return type == "cdaudio" || type == "sequencer" || type == "waveaudio" || type == "avivideo" ||
           (type == "mpegvideo" && Config.mpegvideo);
}

MCIDEVICEID FreeId() {
    MCIDEVICEID id = 1;
    while (Devices.count(id) != 0)
        ++id;
    return id;
}

SimDevice *DeviceNamed(const std::string &name) {
    for (auto &entry : Devices)
        if (!name.empty() && SameText(entry.second->alias, name.c_str()))
            return entry.second.get();
    return nullptr;
}

// The error of an injected fault for this command, used up; or 0.
MCIERROR TakeFault(const std::string &deviceType, UINT message) {
    for (auto fault = Faults.begin(); fault != Faults.end(); ++fault) {
        if (fault->message == message &&
            (fault->deviceType.empty() || fault->deviceType == deviceType)) {
            MCIERROR error = fault->error;
            Faults.erase(fault);
            return error;
        }
    }
    return 0;
}

MCIERROR Open(DWORD flags, DWORD_PTR params, SimMciCall &call) {
    if (params == 0)
        return MCIERR_NULL_PARAMETER_BLOCK;
    auto &open = *reinterpret_cast<MCI_OPEN_PARMSA *>(params);
    std::string type;
    if (flags & MCI_OPEN_TYPE) {
        if (flags & MCI_OPEN_TYPE_ID) {
            type = TypeOfId(LOWORD(reinterpret_cast<DWORD_PTR>(open.lpstrDeviceType)));
        } else if (open.lpstrDeviceType != nullptr) {
            type = open.lpstrDeviceType;
            std::transform(type.begin(), type.end(), type.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        }
        if (!KnownType(type))
            return MCIERR_INVALID_DEVICE_NAME;
    }
    std::string element;
    if ((flags & MCI_OPEN_ELEMENT) && open.lpstrElementName != nullptr)
        element = open.lpstrElementName;
    call.text = (flags & MCI_OPEN_ELEMENT) ? element : type;
    if (type.empty()) {
        if ((flags & MCI_OPEN_ELEMENT) == 0)
            return MCIERR_MISSING_DEVICE_NAME;
        type = TypeOfExtension(element);
        if (type.empty())
            return MCIERR_EXTENSION_NOT_FOUND;
    }
    call.deviceType = type;
    if (MCIERROR error = TakeFault(type, MCI_OPEN))
        return error;
    if (type == "waveaudio" && (flags & MCI_WAVE_OPEN_BUFFER))
        call.item = reinterpret_cast<MCI_WAVE_OPEN_PARMSA *>(params)->dwBufferSeconds;

    // A device is known by its alias, else by its element, else by its type;
    // a new untitled element has no name of its own.
    bool untitled = (flags & MCI_OPEN_ELEMENT) && element.empty();
    std::string alias = (flags & MCI_OPEN_ALIAS) && open.lpstrAlias != nullptr ? open.lpstrAlias
                        : !element.empty()                                     ? element
                        : untitled                                             ? ""
                                                                               : type;
    if (type == "cdaudio") {
        if (MCIERROR error = CdOpenError((flags & MCI_OPEN_SHAREABLE) != 0))
            return error;
    }
    if (DeviceNamed(alias) != nullptr && !(type == "cdaudio" && (flags & MCI_OPEN_SHAREABLE)))
        return (flags & MCI_OPEN_ALIAS) ? MCIERR_DUPLICATE_ALIAS : MCIERR_DEVICE_OPEN;

    std::unique_ptr<SimDevice> device = MakeDevice(type);
    if (!device)
        return MCIERR_CANNOT_LOAD_DRIVER;
    device->id = FreeId();
    device->element = element;
    device->alias = alias;
    if (MCIERROR error = device->Load(flags, params)) {
        device->Closing();
        return error;
    }
    open.wDeviceID = device->id;
    call.device = device->id;
    MCIDEVICEID id = device->id;
    Devices[id] = std::move(device);
    if (flags & MCI_NOTIFY)
        PostMciNotify(CallbackOf(params), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR Close(MCIDEVICEID id, DWORD flags, DWORD_PTR params) {
    auto found = Devices.find(id);
    found->second->Closing();
    Devices.erase(found);
    if (flags & MCI_NOTIFY)
        PostMciNotify(CallbackOf(params), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR Dispatch(MCIDEVICEID id, UINT message, DWORD flags, DWORD_PTR params, SimMciCall &call) {
    if (message == MCI_OPEN)
        return Open(flags, params, call);
    if (id == MCI_ALL_DEVICE_ID) {
        if (message != MCI_CLOSE)
            return MCIERR_CANNOT_USE_ALL;
        std::vector<MCIDEVICEID> ids;
        for (auto &entry : Devices)
            ids.push_back(entry.first);
        for (MCIDEVICEID each : ids)
            Close(each, flags & ~MCI_NOTIFY, 0);
        if (flags & MCI_NOTIFY)
            PostMciNotify(CallbackOf(params), MCI_NOTIFY_SUCCESSFUL, id);
        return 0;
    }
    auto found = Devices.find(id);
    if (found == Devices.end())
        return MCIERR_INVALID_DEVICE_ID;
    SimDevice &device = *found->second;
    call.deviceType = device.type;
    if ((flags & MCI_NOTIFY) && params == 0)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (MCIERROR error = TakeFault(device.type, message))
        return error;
    if (message == MCI_CLOSE)
        return Close(id, flags, params);
    return device.Command(message, flags, params, call);
}

MCIERROR WINAPI SimSendCommand(MCIDEVICEID id, UINT message, DWORD_PTR flags, DWORD_PTR params) {
    SimMciCall call;
    call.clock = Clock;
    call.device = id;
    call.message = message;
    call.flags = static_cast<DWORD>(flags);
    call.result = Dispatch(id, message, call.flags, params, call);
    Log.push_back(call);
    return call.result;
}

struct ErrorText {
    MCIERROR code;
    const char *text;
};

// The system's texts of the codes the card answers.
const ErrorText ErrorTexts[] = {
    {0, "The specified command was carried out."},
    {MCIERR_INVALID_DEVICE_ID,
     "Invalid MCI device ID. Use the ID returned when opening the MCI device."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The driver cannot recognize the specified command."},
    {MCIERR_HARDWARE, "There is a problem with your media device. Make sure it is working "
                      "correctly or contact the device manufacturer."},
    {MCIERR_INVALID_DEVICE_NAME, "The specified device is not open or is not recognized by MCI."},
    {MCIERR_DEVICE_OPEN,
     "The device name is already being used as an alias by this application. Use a unique "
     "alias."},
    {MCIERR_CANNOT_LOAD_DRIVER,
     "There is an undetectable problem in loading the specified device driver."},
    {MCIERR_MISSING_PARAMETER, "The specified command requires a parameter. Please supply one."},
    {MCIERR_UNSUPPORTED_FUNCTION,
     "The MCI device you are using does not support the specified command."},
    {MCIERR_FILE_NOT_FOUND,
     "Cannot find the specified file. Make sure the path and filename are correct."},
    {MCIERR_DEVICE_NOT_READY, "The device driver is not ready."},
    {MCIERR_INTERNAL, "A problem occurred in initializing MCI. Try restarting Windows."},
    {MCIERR_CANNOT_USE_ALL, "Cannot use 'all' as the device name with the specified command."},
    {MCIERR_EXTENSION_NOT_FOUND,
     "Cannot determine the device type from the given filename extension."},
    {MCIERR_OUTOFRANGE, "The specified parameter is out of range for the specified command."},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "The specified parameters cannot be used together."},
    {MCIERR_FILE_NOT_SAVED, "Cannot save the specified file. Make sure you have enough disk "
                            "space or are still connected to the network."},
    {MCIERR_DUPLICATE_ALIAS,
     "The specified alias is already being used in this application. Use a unique alias."},
    {MCIERR_BAD_CONSTANT, "The specified parameter is invalid for this command."},
    {MCIERR_MUST_USE_SHAREABLE, "The device driver is already in use. To share it, use the "
                                "'shareable' parameter with each 'open' command."},
    {MCIERR_MISSING_DEVICE_NAME, "The specified command requires an alias, file, driver, or "
                                 "device name. Please supply one."},
    {MCIERR_BAD_TIME_FORMAT, "The specified value for the time format is invalid. Refer to the "
                             "MCI documentation for valid formats."},
    {MCIERR_INVALID_FILE, "The specified file cannot be played on the specified MCI device. The "
                          "file may be corrupt, or not in the correct format."},
    {MCIERR_NULL_PARAMETER_BLOCK, "A null parameter block was passed to MCI."},
    {MCIERR_UNNAMED_RESOURCE, "Cannot save an unnamed file. Supply a filename."},
    {MCIERR_NONAPPLICABLE_FUNCTION, "Cannot carry out the commands in the order specified. "
                                    "Correct the command sequence, and then try again."},
    {MCIERR_FILENAME_REQUIRED, "The filename is invalid. Make sure the filename is not longer "
                               "than 8 characters, followed by a period and an extension."},
    {MCIERR_SEQ_NOMIDIPRESENT, "The system has no installed MIDI devices. Use the Drivers "
                               "option from the Control Panel to install a MIDI driver."},
    {MCIERR_NO_WINDOW, "There is no display window."},
    {MCIERR_CREATEWINDOW, "Could not create or use window."},
    {MCIERR_FILE_READ, "Cannot read the specified file. Make sure the file is still present, or "
                       "check your disk or network connection."},
};

BOOL WINAPI SimGetErrorString(MCIERROR error, LPSTR text, UINT size) {
    if (text == nullptr || size == 0)
        return FALSE;
    for (const ErrorText &entry : ErrorTexts) {
        if (entry.code == error) {
            lstrcpynA(text, entry.text, static_cast<int>(size));
            return TRUE;
        }
    }
    text[0] = '\0';
    return FALSE;
}

} // namespace

void PostMciNotify(HWND window, WPARAM flag, MCIDEVICEID device) {
    Notices.push_back({Clock, device, flag, window});
    if (window != nullptr)
        PostMessageA(window, MM_MCINOTIFY, flag, device);
}

SimDisc AudioDisc(const std::vector<DWORD> &trackSeconds) {
    SimDisc disc;
    for (DWORD seconds : trackSeconds)
        disc.tracks.push_back({seconds * 75, false});
    return disc;
}

SimDisc DataDisc() {
    SimDisc disc;
    disc.tracks.push_back({30 * 60 * 75, true});
    return disc;
}

void ResetSimMci(const SimMciConfig &config) {
    for (auto &entry : Devices)
        entry.second->Closing();
    Devices.clear();
    Config = config;
    Clock = 0;
    Log.clear();
    Notices.clear();
    Faults.clear();
    ResetCdDrive(config.cd);
}

MciBinding SimMciBinding() {
    return {SimSendCommand, SimGetErrorString};
}

void AdvanceSimClock(DWORD milliseconds) {
    // Small steps, so that a play ending early in the interval posts its
    // notification at its own time and not at the end of the interval.
    DWORD end = Clock + milliseconds;
    while (Clock < end) {
        Clock = std::min(end, Clock + 10);
        AdvanceCdDrive(Clock);
        std::vector<SimDevice *> devices;
        for (auto &entry : Devices)
            devices.push_back(entry.second.get());
        for (SimDevice *device : devices)
            device->Advance(Clock);
    }
}

DWORD SimClock() {
    return Clock;
}

const std::vector<SimMciCall> &SimMciLog() {
    return Log;
}

void ClearSimMciLog() {
    Log.clear();
}

std::vector<SimMciCall> SimMciCallsOf(UINT message) {
    std::vector<SimMciCall> calls;
    for (const SimMciCall &call : Log)
        if (call.message == message)
            calls.push_back(call);
    return calls;
}

std::string MciMessageName(UINT message) {
    switch (message) {
    case MCI_OPEN: return "MCI_OPEN";
    case MCI_CLOSE: return "MCI_CLOSE";
    case MCI_PLAY: return "MCI_PLAY";
    case MCI_RECORD: return "MCI_RECORD";
    case MCI_SEEK: return "MCI_SEEK";
    case MCI_STOP: return "MCI_STOP";
    case MCI_PAUSE: return "MCI_PAUSE";
    case MCI_RESUME: return "MCI_RESUME";
    case MCI_STATUS: return "MCI_STATUS";
    case MCI_SET: return "MCI_SET";
    case MCI_SAVE: return "MCI_SAVE";
    case MCI_GETDEVCAPS: return "MCI_GETDEVCAPS";
    case MCI_INFO: return "MCI_INFO";
    case MCI_STEP: return "MCI_STEP";
    case MCI_WHERE: return "MCI_WHERE";
    case MCI_WINDOW: return "MCI_WINDOW";
    case MCI_PUT: return "MCI_PUT";
    default: return std::to_string(message);
    }
}

std::string DescribeMciCall(const SimMciCall &call) {
    char line[512];
    std::snprintf(line, sizeof line,
                  "t=%lu %s dev=%u(%s) flags=0x%lx item=%lu track=%lu from=%lu to=%lu "
                  "return=%lu text='%s' -> %lu",
                  static_cast<unsigned long>(call.clock), MciMessageName(call.message).c_str(),
                  call.device, call.deviceType.c_str(), static_cast<unsigned long>(call.flags),
                  static_cast<unsigned long>(call.item), static_cast<unsigned long>(call.track),
                  static_cast<unsigned long>(call.from), static_cast<unsigned long>(call.to),
                  static_cast<unsigned long>(call.returned), call.text.c_str(),
                  static_cast<unsigned long>(call.result));
    return line;
}

const std::vector<SimMciNotice> &SimMciNotices() {
    return Notices;
}

void SimMciFailNext(const std::string &deviceType, UINT message, MCIERROR error) {
    Faults.push_back({deviceType, message, error});
}

int OpenSimMciDevices() {
    return static_cast<int>(Devices.size());
}

std::vector<std::pair<std::string, std::string>> SimMciExtensionTable() {
    return ExtensionTable();
}
