// The start-up side of the 3D sound and tone stage: the probe that tells the
// two chip revisions apart, and the saved room preset applied before any
// window is open.
#include "mixer/efx_window.h"

#include "mixer/mixer_access.h"
#include "platform/ports.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

// Program-wide effect state, kept while the 3D window is closed.
int EfxSwitchValue;
int EfxSelection;
int EfxBassValue;
int EfxTrebleValue;
int EfxWidthValue;

constexpr DWORD Pack(WORD left, WORD right) {
    return static_cast<DWORD>(right) << 16 | left;
}

const EfxPreset EfxPresets[4] = {
    {Pack(20000, 20000), Pack(0, 0), {Pack(30000, 30000), Pack(30000, 30000)}},
    {Pack(30000, 30000), Pack(20000, 20000), {Pack(45000, 40000), Pack(45000, 45000)}},
    {Pack(50000, 50000), Pack(30000, 30000), {Pack(50000, 45000), Pack(50000, 50000)}},
    {Pack(30000, 30000), Pack(60000, 60000), {Pack(0, 0), Pack(0, 0)}},
};

namespace {

const char ChipKey[] = "Enum\\ISAPNP\\QVX7150_DEV0000\\FFFFFFFF";
const char LogConfigKey[] = "Enum\\ISAPNP\\QVX7150_DEV0000\\FFFFFFFF\\LogConfig";
constexpr DWORD ConfigBufferSize = 255;
constexpr DWORD PortOffset = 148;
constexpr BYTE RevisionRegister = 10;

// The base port held in one configuration value: the 16-bit little-endian
// number at offset 148. A value too short to hold it gives no port.
WORD PortOfValue(HKEY key, const char *name, bool *readable) {
    BYTE data[ConfigBufferSize];
    DWORD size = sizeof data;
    *readable = RegQueryValueExA(key, name, nullptr, nullptr, data, &size) == ERROR_SUCCESS;
    if (!*readable || size < PortOffset + 2)
        return 0;
    return static_cast<WORD>(data[PortOffset] | (data[PortOffset + 1] << 8));
}

HKEY OpenChipKey(const char *path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Values "0000", "0001", ... in turn, until one cannot be read or gives a port.
WORD PortFromLogConfig() {
    HKEY key = OpenChipKey(LogConfigKey);
    if (key == nullptr)
        return 0;
    WORD port = 0;
    for (int index = 0; index <= 9999 && port == 0; ++index) {
        char name[8];
        std::snprintf(name, sizeof name, "%04d", index);
        bool readable = false;
        port = PortOfValue(key, name, &readable);
        if (!readable)
            break;
    }
    RegCloseKey(key);
    return port;
}

WORD PortFromForcedConfig() {
    HKEY key = OpenChipKey(ChipKey);
    if (key == nullptr)
        return 0;
    bool readable = false;
    WORD port = PortOfValue(key, "ForcedConfig", &readable);
    RegCloseKey(key);
    return port;
}

WORD ChipBasePort() {
    WORD port = PortFromLogConfig();
    WORD forced = PortFromForcedConfig();
    return forced != 0 ? forced : port;
}

} // namespace

// Without a chip entry, or when the chip cannot be reached, the flag is 1.
int ProbeChipRevision() {
    WORD base = ChipBasePort();
    if (base == 0)
        return 1;
    BYTE revision = 0;
    if (!Ports.writeByte(base, RevisionRegister) ||
        !Ports.readByte(static_cast<WORD>(base + 1), &revision))
        return 1;
    return (revision & 7) > 2 ? 1 : 0;
}

void ApplySavedEffects() {
    EfxSwitchValue = ReadSettingInt("EFX", "SAON", 0);
    EfxSelection = ReadSettingInt("EFX", "SELECT", 0);
    EfxBassValue = ReadSettingInt("EFX", "BASS", 0);
    EfxTrebleValue = ReadSettingInt("EFX", "TREBLE", 0);
    EfxWidthValue = ReadSettingInt("EFX", "WIDE", 0);
    // Values a damaged file holds beyond the faders' range are taken as the
    // nearest end; a selection no table knows is MANUAL, which writes nothing.
    for (int *value : {&EfxBassValue, &EfxTrebleValue, &EfxWidthValue})
        *value = std::clamp(*value, 0, EfxFaderMaximum);
    if (EfxSelection < EfxHall1 || EfxSelection > EfxManual)
        EfxSelection = EfxManual;
    EfxSwitchValue = static_cast<int>(ReadSwitch(MixerControlMap.EfxSwitch));
    if (EfxSwitchValue == 1 || EfxSelection > EfxDisco)
        return;
    const EfxPreset &preset = EfxPresets[EfxSelection];
    WriteLevel(MixerControlMap.EfxWide, preset.wide[ChipFlag != 0 ? 1 : 0]);
    WriteLevel(MixerControlMap.ToneBass, preset.bass);
    WriteLevel(MixerControlMap.ToneTreble, preset.treble);
}
