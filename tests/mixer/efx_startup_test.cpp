// Start-up of the effects: the chip revision probe through the registry and
// the chip's ports, the saved preset written to the 3D and tone controls, and
// the launcher bar's save of the mixer state at exit through a whole run.
#include "mixer/efx_window.h"
#include "mixer/mixer_access.h"
#include "shell/launcher_bar.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "tests/support/station_harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char DeviceKey[] = "Enum\\ISAPNP\\QVX7150_DEV0000";
const char ChipKey[] = "Enum\\ISAPNP\\QVX7150_DEV0000\\FFFFFFFF";
const char LogConfigKey[] = "Enum\\ISAPNP\\QVX7150_DEV0000\\FFFFFFFF\\LogConfig";

// A configuration value with the base port at offset 148.
std::vector<BYTE> ConfigWithPort(WORD port, size_t size = 200) {
    std::vector<BYTE> data(size, 0);
    for (size_t at = 148; at < 150 && at < size; ++at)
        data[at] = at == 148 ? LOBYTE(port) : HIBYTE(port);
    return data;
}

void WriteConfig(const char *keyPath, const char *name, const std::vector<BYTE> &data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

void RemoveChipEntry() {
    for (const char *path : {LogConfigKey, ChipKey, DeviceKey})
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
}

class ChipProbeTest : public ::testing::Test {
  protected:
    void SetUp() override { RemoveChipEntry(); }
    void TearDown() override {
        RemoveChipEntry();
        RemoveSimulatedCard();
    }
    void InstallChip(WORD base, BYTE revision) {
        SimCardConfig card;
        card.ports.chipBase = base;
        card.ports.revision = revision;
        InstallSimulatedCard(card);
    }
};

TEST_F(ChipProbeTest, NoRegistryEntryGivesOneAndTouchesNoPort) {
    InstallChip(0x0220, 0);
    EXPECT_EQ(ProbeChipRevision(), 1);
    EXPECT_TRUE(SimPortLog().empty());
}

TEST_F(ChipProbeTest, RevisionFromThePortTheRegistryNames) {
    struct Case {
        BYTE revision;
        int flag;
    };
    for (const Case &c : {Case{0, 0}, Case{2, 0}, Case{3, 1}, Case{7, 1}, Case{0xFA, 0}}) {
        SCOPED_TRACE(c.revision);
        WriteConfig(LogConfigKey, "0000", ConfigWithPort(0x0280));
        InstallChip(0x0280, c.revision);
        EXPECT_EQ(ProbeChipRevision(), c.flag);
        const std::vector<SimPortAccess> &log = SimPortLog();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_TRUE(log[0].write);
        EXPECT_EQ(log[0].port, 0x0280) << "a low byte of 0x80 is kept as it is";
        EXPECT_EQ(log[0].value, 10);
        EXPECT_FALSE(log[1].write);
        EXPECT_EQ(log[1].port, 0x0281);
    }
}

TEST_F(ChipProbeTest, WalksTheValuesAndForcedConfigWins) {
    WriteConfig(LogConfigKey, "0000", ConfigWithPort(0));
    WriteConfig(LogConfigKey, "0001", ConfigWithPort(0x0240));
    WriteConfig(LogConfigKey, "0002", ConfigWithPort(0x0260));
    InstallChip(0x0240, 3);
    EXPECT_EQ(ProbeChipRevision(), 1);
    ASSERT_FALSE(SimPortLog().empty());
    EXPECT_EQ(SimPortLog()[0].port, 0x0240) << "the first value with a port";

    WriteConfig(ChipKey, "ForcedConfig", ConfigWithPort(0x0300));
    InstallChip(0x0300, 1);
    EXPECT_EQ(ProbeChipRevision(), 0);
    EXPECT_EQ(SimPortLog()[0].port, 0x0300);
}

TEST_F(ChipProbeTest, ShortOrMissingValuesGiveNoPort) {
    // A value of 149 bytes would leave the port's high byte past its data.
    WriteConfig(LogConfigKey, "0000", ConfigWithPort(0x0280, 149));
    WriteConfig(ChipKey, "ForcedConfig", std::vector<BYTE>(100, 0x55));
    InstallChip(0x5555, 0);
    EXPECT_EQ(ProbeChipRevision(), 1);
    EXPECT_TRUE(SimPortLog().empty());

    // The walk stops at the first value that cannot be read.
    RemoveChipEntry();
    WriteConfig(LogConfigKey, "0000", ConfigWithPort(0));
    WriteConfig(LogConfigKey, "0002", ConfigWithPort(0x0280));
    InstallChip(0x0280, 0);
    EXPECT_EQ(ProbeChipRevision(), 1);
    EXPECT_TRUE(SimPortLog().empty());
}

TEST_F(ChipProbeTest, UnreachablePortsGiveOne) {
    WriteConfig(LogConfigKey, "0000", ConfigWithPort(0x0280));
    SimCardConfig card;
    card.ports.reachable = false;
    card.ports.chipBase = 0x0280;
    InstallSimulatedCard(card);
    EXPECT_EQ(ProbeChipRevision(), 1);
}

// ---- The saved preset ----

class SavedEffectsTest : public StationTest {
  protected:
    void SetUp() override {
        StationTest::SetUp();
        savedFamily = PlatformFamily;
        savedChip = ChipFlag;
        window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
    }
    void TearDown() override {
        CloseMixer();
        PlatformFamily = savedFamily;
        ChipFlag = savedChip;
        DestroyWindow(window);
        StationTest::TearDown();
    }
    void OpenCard(int family, bool mono = false) {
        PlatformFamily = family;
        SimCardConfig card;
        card.mixer.present = true;
        card.mixer.family = family;
        card.mixer.threeDMono = mono;
        InstallSimulatedCard(card);
        ASSERT_TRUE(OpenMixer(window));
        ASSERT_TRUE(ProbeMixer());
        ClearSimMixerCalls();
    }

    struct Write {
        DWORD control;
        std::vector<LONG> values;
        bool operator==(const Write &other) const {
            return control == other.control && values == other.values;
        }
    };
    static std::vector<Write> Writes() {
        std::vector<Write> writes;
        for (const SimMixerCall &call : SimMixerWrites())
            writes.push_back({call.controlId, call.values});
        return writes;
    }

    int savedFamily = 40;
    int savedChip = 1;
    HWND window = nullptr;
};

TEST_F(SavedEffectsTest, ChurchPresetIsWrittenWidthBassTreble) {
    struct Case {
        int family;
        int chip;
        std::vector<Write> expected;
    };
    const Case cases[] = {
        {95, 0, {{41, {50000, 45000}}, {38, {50000, 50000}}, {39, {30000, 30000}}}},
        {95, 1, {{41, {50000, 50000}}, {38, {50000, 50000}}, {39, {30000, 30000}}}},
        {40, 0, {{21, {50000, 45000}}, {2, {50000, 50000}}, {3, {30000, 30000}}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.family * 10 + c.chip);
        WriteSettingsFile("[EFX]\r\nSELECT=2\r\nSAON=0\r\nBASS=9\r\n");
        OpenCard(c.family);
        ChipFlag = c.chip;
        ApplySavedEffects();
        EXPECT_TRUE(Writes() == c.expected);
        CloseMixer();
    }
}

TEST_F(SavedEffectsTest, NothingIsWrittenWhenTheDeviceSwitchIsOnOrForManual) {
    WriteSettingsFile("[EFX]\r\nSELECT=1\r\nSAON=0\r\n");
    OpenCard(95);
    SetSimControlValue(MixerControlMap.EfxSwitch, 0, 0, 1);
    ApplySavedEffects();
    EXPECT_TRUE(SimMixerWrites().empty()) << "the device's switch, not the saved one, counts";

    WriteSettingsFile("[EFX]\r\nSELECT=4\r\nSAON=0\r\nBASS=16\r\n");
    SetSimControlValue(MixerControlMap.EfxSwitch, 0, 0, 0);
    ApplySavedEffects();
    EXPECT_TRUE(SimMixerWrites().empty()) << "manual writes nothing, not even the faders";
}

TEST_F(SavedEffectsTest, MonoThreeDLineTakesOnlyTheLowHalfOfTheWidth) {
    WriteSettingsFile("[EFX]\r\nSELECT=1\r\n");
    OpenCard(95, true);
    ChipFlag = 0;
    ApplySavedEffects();
    std::vector<Write> expected = {{41, {45000}}, {38, {30000, 30000}}, {39, {20000, 20000}}};
    EXPECT_TRUE(Writes() == expected);
    EXPECT_EQ(SimControlValue(41), 45000);
}

// ---- A whole run ----

using MixerStationTest = StationTest;

SimCardConfig WithMixer() {
    SimCardConfig card;
    card.mixer.present = true;
    return card;
}

TEST_F(MixerStationTest, StartAppliesThePresetAndExitSavesTheMixerState) {
    WriteSettingsFile("[EFX]\r\nSELECT=3\r\nSAON=0\r\n");
    ASSERT_EQ(Start("", WithMixer()), -1);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(LauncherBar, 4049))) << "the 3D line exists";
    const MixerControls &map = MixerControlMap;
    EXPECT_EQ(SimControlValue(map.ToneTreble, 1), 60000) << "DISCO at start-up";
    EXPECT_EQ(SimControlValue(map.EfxWide, 0), 0);

    SetSimControlValue(map.MasterVolume, 0, 0, 1000);
    SetSimControlValue(map.MasterVolume, 1, 0, 2000);
    SetSimControlValue(map.MicVolume, 0, 0, 777);
    ChangeSimControlFromOutside(map.LineMute, 1);
    ChangeSimControlFromOutside(map.RecLoopLevel, 4321);
    WriteRecordSource(RecordFromLoop);
    Pump();
    Close();

    EXPECT_EQ(OpenSimMixers(), 0);
    EXPECT_EQ(Setting("Mixer", "MASTEROUTL"), "1000");
    EXPECT_EQ(Setting("Mixer", "MASTEROUTR"), "2000");
    EXPECT_EQ(Setting("Mixer", "WAVEOUTL"), "49152");
    EXPECT_EQ(Setting("Mixer", "MICOUT"), "777");
    EXPECT_EQ(Setting("Mixer", "LOOPBACKL"), "4321");
    EXPECT_EQ(Setting("Mixer", "LOOPBACKR"), "4321");
    EXPECT_EQ(Setting("Mixer", "MUTE_OUTLINEIN"), "1");
    EXPECT_EQ(Setting("Mixer", "MUTE_OUTDAC"), "0");
    EXPECT_EQ(Setting("Mixer", "RECSOURCE"), "3");
    EXPECT_EQ(Setting("Mixer", "RECINL"), "4321");
    EXPECT_EQ(Setting("Mixer", "RECINR"), "4321");
    for (const char *key :
         {"FMOUTL", "FMOUTR", "AUXOUTL", "AUXOUTR", "LINEOUTL", "LINEOUTR", "MUTE_OUTAUX1",
          "MUTE_OUTMIDI", "MUTE_OUTMIC", "MUTE_OUTLINE", "MUTE_LOOPBACK"})
        EXPECT_NE(Setting("Mixer", key), "<missing>") << key;
}

TEST_F(MixerStationTest, ExitWithNoRecordSourceSavesFourAndNoLevel) {
    ASSERT_EQ(Start("", WithMixer()), -1);
    for (int item = 0; item < 4; ++item)
        SetSimControlValue(MixerControlMap.RecSelector, 0, item, 0);
    Close();
    EXPECT_EQ(Setting("Mixer", "RECSOURCE"), "4");
    EXPECT_EQ(Setting("Mixer", "RECINL"), "0");
    EXPECT_EQ(Setting("Mixer", "RECINR"), "0");
}

TEST_F(MixerStationTest, WithoutThreeDLineNoPresetIsWritten) {
    WriteSettingsFile("[EFX]\r\nSELECT=2\r\n");
    SimCardConfig card = WithMixer();
    card.mixer.threeDLine = false;
    ASSERT_EQ(Start("", card), -1);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(LauncherBar, 4049)));
    EXPECT_FALSE(EfxAvailable);
    const MixerControls &map = MixerControlMap;
    for (const SimMixerCall &write : SimMixerWrites())
        for (DWORD effect : {map.ToneBass, map.ToneTreble, map.EfxWide, map.EfxSwitch})
            EXPECT_NE(write.controlId, effect) << "no preset without the 3D line";
    Close();
}

TEST_F(MixerStationTest, WithoutMixerNoMixerKeyIsWritten) {
    ASSERT_EQ(Start(), -1);
    Close();
    for (const char *key : {"MASTEROUTL", "WAVEOUTR", "MICOUT", "LOOPBACKL", "MUTE_OUTDAC",
                            "MUTE_LOOPBACK", "RECSOURCE", "RECINL", "RECINR"})
        EXPECT_EQ(Setting("Mixer", key), "<missing>") << key;
}

} // namespace
