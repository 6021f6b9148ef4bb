// The mixer access layer on the simulated card: what the probe maps on each
// card variant and platform family, the channel rules of the six routines,
// the record source, and the probe against Wine's own mixer.
#include "mixer/mixer_access.h"
#include "platform/mixer.h"
#include "shell/station.h"
#include "tests/simcard/sim_card.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class MixerAccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedFamily = PlatformFamily;
        window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
    }
    void TearDown() override {
        CloseMixer();
        RemoveSimulatedCard();
        PlatformFamily = savedFamily;
        DestroyWindow(window);
    }

    // Opens and probes a card of the given family; answers the probe's result.
    bool Probe(int family, SimMixerConfig config = {}) {
        PlatformFamily = family;
        config.present = true;
        config.family = family;
        SimCardConfig card;
        card.mixer = config;
        InstallSimulatedCard(card);
        EXPECT_TRUE(OpenMixer(window));
        return ProbeMixer();
    }

    // The channel counts of the control-details calls made since the last look.
    std::vector<DWORD> ChannelsUsed() {
        std::vector<DWORD> channels;
        for (const SimMixerCall &call : SimMixerCalls())
            if (call.kind == SimMixerCallKind::GetControlDetails ||
                call.kind == SimMixerCallKind::SetControlDetails)
                channels.push_back(call.channels);
        ClearSimMixerCalls();
        return channels;
    }

    int savedFamily = 40;
    HWND window = nullptr;
    const MixerControls &map = MixerControlMap;
};

constexpr DWORD Empty = EmptyMixerSlot;

TEST_F(MixerAccessTest, FullCardFillsEverySlotOnBothFamilies) {
    for (int family : {95, 40}) {
        SCOPED_TRACE(family);
        EXPECT_TRUE(Probe(family));
        struct Slot {
            DWORD mapped;
            SimLine line;
            int index;
        };
        const Slot slots[] = {
            {map.FmVolume, SimLine::Synth, 0},
            {map.FmMute, SimLine::Synth, 1},
            {map.WaveVolume, SimLine::WaveOut, 0},
            {map.WaveMute, SimLine::WaveOut, 1},
            {map.MasterVolume, SimLine::Speakers, 0},
            {map.MasterMute, SimLine::Speakers, 1},
            {map.LoopVolume, SimLine::Loopback, 0},
            {map.LoopMute, SimLine::Loopback, 1},
            {map.LineVolume, SimLine::Line, 0},
            {map.LineMute, SimLine::Line, 1},
            {map.AuxVolume, SimLine::Auxiliary, 0},
            {map.AuxMute, SimLine::Auxiliary, 1},
            {map.MicVolume, SimLine::Microphone, 0},
            {map.MicMute, SimLine::Microphone, 1},
            {map.MonoInVolume, SimLine::Telephone, 0},
            {map.MonoInMute, SimLine::Telephone, 1},
            {map.RecSelector, SimLine::WaveIn, 0},
            {map.RecCdLevel, SimLine::RecCompactDisc, 0},
            {map.RecMicLevel, SimLine::RecMicrophone, 0},
            {map.RecLineLevel, SimLine::RecLine, 0},
            {map.RecLoopLevel, SimLine::RecLoop, 0},
            {map.RecMeter0, SimLine::RecCompactDisc, 1},
            {map.RecMeter1, SimLine::RecMicrophone, 1},
            {map.RecMeter2, SimLine::RecLine, 1},
            {map.RecMeter3, SimLine::RecLoop, 1},
            {map.WavePeakMeter, SimLine::WaveOut, 2},
        };
        for (size_t i = 0; i < sizeof slots / sizeof slots[0]; ++i) {
            EXPECT_EQ(slots[i].mapped, SimControlId(slots[i].line, slots[i].index)) << "slot " << i;
            EXPECT_NE(slots[i].mapped, Empty) << "slot " << i;
        }
        if (family == 95) {
            EXPECT_EQ(map.SoftSynthVolume, SimControlId(SimLine::SoftSynth, 0));
            EXPECT_EQ(map.SoftSynthMute, SimControlId(SimLine::SoftSynth, 1));
            EXPECT_EQ(
                (std::vector<DWORD>{map.ToneBass, map.ToneTreble, map.EfxWide, map.EfxSwitch}),
                (std::vector<DWORD>{38, 39, 41, 42}));
        } else {
            EXPECT_EQ(map.SoftSynthVolume, Empty);
            EXPECT_EQ(map.SoftSynthMute, Empty);
            EXPECT_EQ(
                (std::vector<DWORD>{map.ToneBass, map.ToneTreble, map.EfxWide, map.EfxSwitch}),
                (std::vector<DWORD>{2, 3, 21, 22}));
        }
        EXPECT_FALSE(ThreeDLineMono);
        CloseMixer();
    }
}

TEST_F(MixerAccessTest, WithoutTheLoopbackDestinationTheMasterLoopControlsServe) {
    SimMixerConfig config;
    config.loopbackDestination = false;
    Probe(95, config);
    EXPECT_EQ(map.LoopVolume, SimControlId(SimLine::Speakers, 2));
    EXPECT_EQ(map.LoopMute, SimControlId(SimLine::Speakers, 3));
}

TEST_F(MixerAccessTest, CompactDiscStandsInForMissingLineAndAuxiliary) {
    SimMixerConfig noLine;
    noLine.lineSource = false;
    Probe(95, noLine);
    EXPECT_EQ(map.LineVolume, SimControlId(SimLine::CompactDisc, 0));
    EXPECT_EQ(map.LineMute, SimControlId(SimLine::CompactDisc, 1));
    EXPECT_EQ(map.AuxVolume, SimControlId(SimLine::Auxiliary, 0));
    // The record side's line level keeps its stand-by, the CD's level.
    EXPECT_EQ(map.RecLineLevel, SimControlId(SimLine::RecCompactDisc, 0));
    CloseMixer();

    SimMixerConfig noAux;
    noAux.auxSource = false;
    Probe(95, noAux);
    EXPECT_EQ(map.LineVolume, SimControlId(SimLine::Line, 0));
    EXPECT_EQ(map.AuxVolume, SimControlId(SimLine::CompactDisc, 0));
    EXPECT_EQ(map.AuxMute, SimControlId(SimLine::CompactDisc, 1));
    CloseMixer();

    // Neither: the compact disc serves as line once, and the "CD" channel
    // (auxiliary) stays empty rather than doubling it.
    SimMixerConfig neither;
    neither.lineSource = false;
    neither.auxSource = false;
    Probe(40, neither);
    EXPECT_EQ(map.LineVolume, SimControlId(SimLine::CompactDisc, 0));
    EXPECT_EQ(map.AuxVolume, Empty);
    EXPECT_EQ(map.AuxMute, Empty);
    EXPECT_EQ(ReadLevel(map.AuxVolume), 0u);
}

TEST_F(MixerAccessTest, MissingOrDisconnectedLinesLeaveTheirSlotsEmpty) {
    SimMixerConfig noTelephone;
    noTelephone.telephone = false;
    EXPECT_TRUE(Probe(95, noTelephone));
    EXPECT_EQ(map.MonoInVolume, Empty);
    EXPECT_EQ(map.MonoInMute, Empty);
    CloseMixer();

    SimMixerConfig disconnected;
    disconnected.disconnected = SimLineBit(SimLine::Telephone) | SimLineBit(SimLine::SoftSynth) |
                                SimLineBit(SimLine::ThreeD);
    EXPECT_FALSE(Probe(95, disconnected)) << "a disconnected 3D line counts as missing";
    EXPECT_EQ(map.MonoInVolume, Empty);
    EXPECT_EQ(map.SoftSynthVolume, Empty);
    EXPECT_EQ(map.MicVolume, SimControlId(SimLine::Microphone, 0));
    CloseMixer();

    for (int family : {95, 40}) {
        SimMixerConfig no3d;
        no3d.threeDLine = false;
        EXPECT_FALSE(Probe(family, no3d)) << family;
        CloseMixer();
        no3d.telephone = false;
        EXPECT_FALSE(Probe(family, no3d)) << family;
        CloseMixer();
    }
}

TEST_F(MixerAccessTest, ProbeReusesOneLineRecordForTheMasterDestination) {
    Probe(95);
    // Step 3 queries the destination the wave output's record named, with
    // no destination number of its own.
    bool sawWave = false;
    for (const SimMixerCall &call : SimMixerCalls()) {
        if (call.kind != SimMixerCallKind::GetLineInfo)
            continue;
        DWORD query = call.flags & 0xF;
        if (query == MIXER_GETLINEINFOF_COMPONENTTYPE &&
            call.componentType == MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT)
            sawWave = true;
        if (query == MIXER_GETLINEINFOF_DESTINATION) {
            EXPECT_TRUE(sawWave);
            EXPECT_EQ(call.destination, 0u);
            EXPECT_EQ(call.source, 0u);
            break;
        }
    }
}

TEST_F(MixerAccessTest, ChannelCountsFollowTheSlotTable) {
    Probe(95);
    SetSimControlValue(map.MicVolume, 0, 0, 0x1234);
    SetSimControlValue(map.MasterVolume, 0, 0, 0x1111);
    SetSimControlValue(map.MasterVolume, 1, 0, 0x2222);
    ClearSimMixerCalls();
    EXPECT_EQ(ReadLevel(map.MicVolume), 0x1234u) << "one channel, nothing above";
    EXPECT_EQ(ReadLevel(map.MasterVolume), 0x22221111u);
    ReadLevel(map.MonoInVolume);
    ReadLevel(map.RecMicLevel);
    ReadLevel(map.RecMeter1);
    ReadLevel(map.RecCdLevel);
    ReadLevel(map.EfxWide);
    EXPECT_EQ(ChannelsUsed(), (std::vector<DWORD>{1, 2, 1, 1, 2, 2, 2}))
        << "the mic's recording meter has two channels, like the other three";

    EXPECT_TRUE(WriteLevel(map.MicVolume, MAKELONG(500, 900)));
    EXPECT_EQ(SimControlValue(map.MicVolume), 500) << "a one-channel control takes the low half";
    EXPECT_TRUE(WriteLevel(map.WaveVolume, MAKELONG(100, 65535)));
    EXPECT_EQ(SimControlValue(map.WaveVolume, 0), 100);
    EXPECT_EQ(SimControlValue(map.WaveVolume, 1), 65535);
    EXPECT_EQ(ChannelsUsed(), (std::vector<DWORD>{1, 2}));

    ChangeSimControlFromOutside(map.WaveMute, 1);
    EXPECT_EQ(ReadSwitch(map.WaveMute), 1u);
    EXPECT_TRUE(WriteSwitch(map.WaveMute, false));
    EXPECT_EQ(SimControlValue(map.WaveMute), 0);
    EXPECT_TRUE(WriteSwitch(map.EfxSwitch, true));
    EXPECT_EQ(SimControlValue(map.EfxSwitch), 1);
    EXPECT_EQ(ChannelsUsed(), (std::vector<DWORD>{1, 1, 1}));
}

TEST_F(MixerAccessTest, MonoThreeDLineReadsTheWidthOnOneChannelOnBothFamilies) {
    for (int family : {95, 40}) {
        SimMixerConfig config;
        config.threeDMono = true;
        EXPECT_TRUE(Probe(family, config));
        EXPECT_TRUE(ThreeDLineMono);
        ClearSimMixerCalls();
        EXPECT_TRUE(WriteLevel(map.EfxWide, MAKELONG(30000, 40000)));
        EXPECT_EQ(SimControlValue(map.EfxWide), 30000) << family;
        EXPECT_EQ(ReadLevel(map.EfxWide), 30000u) << family;
        EXPECT_EQ(ChannelsUsed(), (std::vector<DWORD>{1, 1}));
        CloseMixer();
    }
}

TEST_F(MixerAccessTest, RecordSourceReadsFourWhenNoneIsSelectedAndWritesOneItem) {
    Probe(40);
    for (int item = 0; item < 4; ++item)
        SetSimControlValue(map.RecSelector, 0, item, 0);
    EXPECT_EQ(ReadRecordSource(), NoRecordSource);
    SetSimControlValue(map.RecSelector, 0, 3, 1);
    SetSimControlValue(map.RecSelector, 0, 1, 1);
    EXPECT_EQ(ReadRecordSource(), 1) << "the first selected item wins";

    ClearSimMixerCalls();
    EXPECT_TRUE(WriteRecordSource(7));
    std::vector<SimMixerCall> writes = SimMixerWrites();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].channels, 1u);
    EXPECT_EQ(writes[0].items, 4u);
    EXPECT_EQ(writes[0].values, (std::vector<LONG>{1, 0, 0, 0}));
    EXPECT_EQ(ReadRecordSource(), 0);
    EXPECT_TRUE(WriteRecordSource(RecordFromLine));
    EXPECT_EQ(ReadRecordSource(), RecordFromLine);
    EXPECT_TRUE(WriteRecordSource(-1));
    EXPECT_EQ(ReadRecordSource(), 0);
}

TEST_F(MixerAccessTest, OwnWritesComeBackAsChangeNotifications) {
    Probe(95);
    WriteLevel(map.MasterVolume, MAKELONG(1, 2));
    MSG message;
    ASSERT_TRUE(
        PeekMessageA(&message, window, MM_MIXM_CONTROL_CHANGE, MM_MIXM_CONTROL_CHANGE, PM_REMOVE));
    EXPECT_EQ(static_cast<DWORD>(message.lParam), map.MasterVolume);
    EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(MixerHandle));
}

TEST_F(MixerAccessTest, AUniformVolumeIsOneValueOnBothChannels) {
    SimMixerConfig config;
    config.uniformMaster = true;
    Probe(40, config);
    ClearSimMixerCalls();
    EXPECT_TRUE(WriteLevel(map.MasterVolume, MAKELONG(40000, 12000)));
    EXPECT_EQ(ReadLevel(map.MasterVolume), DWORD(MAKELONG(40000, 40000)));
    EXPECT_EQ(ChannelsUsed(), (std::vector<DWORD>{1, 1}));
    ReadLevel(map.WaveVolume);
    EXPECT_EQ(ChannelsUsed(), (std::vector<DWORD>{2})) << "other volumes keep both channels";
}

TEST_F(MixerAccessTest, EmptySlotsAndNoMixerMakeNoCalls) {
    Probe(95);
    ClearSimMixerCalls();
    EXPECT_EQ(ReadLevel(Empty), 0u);
    EXPECT_FALSE(WriteLevel(Empty, 5));
    EXPECT_EQ(ReadSwitch(Empty), 0u);
    EXPECT_FALSE(WriteSwitch(Empty, true));
    EXPECT_TRUE(SimMixerCalls().empty());
    CloseMixer();

    PlatformFamily = 95;
    InstallSimulatedCard();
    EXPECT_FALSE(OpenMixer(window));
    EXPECT_EQ(MixerHandle, nullptr);
    EXPECT_FALSE(ProbeMixer());
    EXPECT_EQ(map.MasterVolume, Empty);
    EXPECT_EQ(map.ToneBass, Empty);
    EXPECT_EQ(ReadRecordSource(), NoRecordSource);
    EXPECT_FALSE(WriteRecordSource(1));
    EXPECT_EQ(ReadLevel(38), 0u);
    EXPECT_FALSE(WriteLevel(38, 1));
}

// Wine's own mixer on the null sink: one speaker destination with volume and
// mute (ids 0, 1), one wave-output source (ids 2, 3). The simulated card
// follows the documentation where Wine differs: Wine never posts
// MM_MIXM_CONTROL_CHANGE, its wave-output volume reads 0 whatever was
// written, and it answers a source query for any destination with its one
// source (so 3/0 and 1/0 name the wave output; the probe does not take
// that line for the loopback or record lines).
TEST_F(MixerAccessTest, ProbeOnWinesOwnMixer) {
    RemoveSimulatedCard();
    if (Mixer.getNumDevs() == 0)
        GTEST_SKIP() << "no sound server: Wine offers no mixer";
    PlatformFamily = (GetVersion() & 0x80000000u) != 0 ? 95 : 40;
    ASSERT_TRUE(OpenMixer(window));
    EXPECT_FALSE(ProbeMixer()) << "Wine has no 3D line";
    EXPECT_EQ(map.MasterVolume, 0u);
    EXPECT_EQ(map.MasterMute, 1u);
    EXPECT_NE(map.WaveVolume, Empty);
    EXPECT_NE(map.WaveMute, Empty);
    for (DWORD slot :
         {map.FmVolume, map.LoopVolume, map.LoopMute, map.LineVolume, map.AuxVolume, map.MicVolume,
          map.MonoInVolume, map.SoftSynthVolume, map.RecSelector, map.RecCdLevel, map.RecMicLevel,
          map.RecLineLevel, map.RecLoopLevel, map.RecMeter0, map.RecMeter3, map.WavePeakMeter})
        EXPECT_EQ(slot, Empty);
    EXPECT_EQ(map.ToneBass, PlatformFamily == 95 ? 38u : 2u) << "fixed, found or not";

    // Wine marks the speaker volume uniform: one value, shown on both
    // channels. It keeps the volume as a fraction and gives back one unit less.
    DWORD before = ReadLevel(map.MasterVolume);
    EXPECT_TRUE(WriteLevel(map.MasterVolume, MAKELONG(30000, 30000)));
    DWORD level = ReadLevel(map.MasterVolume);
    EXPECT_NEAR(LOWORD(level), 30000, 1);
    EXPECT_EQ(HIWORD(level), LOWORD(level));
    WriteLevel(map.MasterVolume, before);
    MSG message;
    EXPECT_FALSE(
        PeekMessageA(&message, window, MM_MIXM_CONTROL_CHANGE, MM_MIXM_CONTROL_CHANGE, PM_REMOVE))
        << "Wine posts no change notification";
    EXPECT_EQ(ReadRecordSource(), NoRecordSource);
}

} // namespace
