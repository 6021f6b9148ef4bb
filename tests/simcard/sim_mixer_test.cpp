// The simulated mixer answers as a mixer driver does: structure sizes, object
// flags, every line query kind, control queries, details with channels and
// items, return codes, and the change notification to callback windows.
#include "tests/simcard/sim_card.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

class SimMixerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
    }
    void TearDown() override {
        if (handle != nullptr)
            Mixer.close(handle);
        RemoveSimulatedCard();
        DestroyWindow(window);
    }

    void Install(SimMixerConfig config) {
        config.present = true;
        SimCardConfig card;
        card.mixer = config;
        InstallSimulatedCard(card);
        ASSERT_EQ(Mixer.open(&handle, 0, reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW),
                  static_cast<MMRESULT>(MMSYSERR_NOERROR));
    }
    void Install95() {
        SimMixerConfig config;
        config.family = 95;
        Install(config);
    }

    HMIXEROBJ Object() { return reinterpret_cast<HMIXEROBJ>(handle); }

    MMRESULT Source(DWORD destination, DWORD source, MIXERLINEA *line) {
        line->cbStruct = sizeof *line;
        line->dwDestination = destination;
        line->dwSource = source;
        return Mixer.getLineInfo(Object(), line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE);
    }

    MMRESULT Details(bool write, DWORD control, DWORD channels, DWORD items, LONG *values,
                     DWORD size = sizeof(LONG)) {
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = control;
        details.cChannels = channels;
        details.cMultipleItems = items;
        details.cbDetails = size;
        details.paDetails = values;
        DWORD flags = MIXER_OBJECTF_HMIXER;
        return write ? Mixer.setControlDetails(Object(), &details, flags)
                     : Mixer.getControlDetails(Object(), &details, flags);
    }

    // The control ids of change notifications waiting for the window.
    std::vector<DWORD> Notifications() {
        std::vector<DWORD> ids;
        MSG message;
        while (PeekMessageA(&message, window, MM_MIXM_CONTROL_CHANGE, MM_MIXM_CONTROL_CHANGE,
                            PM_REMOVE)) {
            EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(handle));
            ids.push_back(static_cast<DWORD>(message.lParam));
        }
        return ids;
    }

    HWND window = nullptr;
    HMIXER handle = nullptr;
};

TEST_F(SimMixerTest, NoDeviceRefusesEverything) {
    InstallSimulatedCard();
    EXPECT_EQ(Mixer.getNumDevs(), 0u);
    HMIXER none = nullptr;
    EXPECT_EQ(Mixer.open(&none, 0, 0, 0, CALLBACK_NULL),
              static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
    MIXERCAPSA caps{};
    EXPECT_EQ(Mixer.getDevCaps(0, &caps, sizeof caps), static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
}

TEST_F(SimMixerTest, OpenChecksCallbackAndCloseForgetsTheHandle) {
    SimCardConfig card;
    card.mixer.present = true;
    InstallSimulatedCard(card);
    HMIXER bad = nullptr;
    EXPECT_EQ(Mixer.open(&bad, 1, 0, 0, CALLBACK_NULL),
              static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
    EXPECT_EQ(Mixer.open(&bad, 0, 0x1234, 0, CALLBACK_WINDOW),
              static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    EXPECT_EQ(Mixer.open(&bad, 0, 0, 0, CALLBACK_FUNCTION),
              static_cast<MMRESULT>(MMSYSERR_INVALFLAG));
    EXPECT_EQ(OpenSimMixers(), 0);
    HMIXER first = nullptr;
    ASSERT_EQ(Mixer.open(&first, 0, 0, 0, CALLBACK_NULL), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(OpenSimMixers(), 1);
    MIXERCAPSA caps{};
    ASSERT_EQ(Mixer.getDevCaps(0, &caps, sizeof caps), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(caps.cDestinations, 4u);
    EXPECT_EQ(Mixer.close(first), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(Mixer.close(first), static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    EXPECT_EQ(Mixer.getLineInfo(reinterpret_cast<HMIXEROBJ>(first), &line,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION),
              static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
}

TEST_F(SimMixerTest, StructureSizesAndObjectFlagsAreChecked) {
    Install95();
    MIXERLINEA line{};
    line.cbStruct = sizeof line - 4;
    EXPECT_EQ(Mixer.getLineInfo(Object(), &line, MIXER_OBJECTF_HMIXER),
              static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    line.cbStruct = sizeof line;
    // A handle passed without the handle flag names a device number.
    EXPECT_EQ(Mixer.getLineInfo(Object(), &line, MIXER_GETLINEINFOF_DESTINATION),
              static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
    EXPECT_EQ(Mixer.getLineInfo(nullptr, &line, MIXER_OBJECTF_MIXER),
              static_cast<MMRESULT>(MMSYSERR_NOERROR));
    ASSERT_GT(line.cControls, 0u);
    std::vector<MIXERCONTROLA> controls(line.cControls);
    MIXERLINECONTROLSA request{};
    request.cbStruct = sizeof request - 1;
    request.dwLineID = line.dwLineID;
    request.cControls = line.cControls;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = controls.data();
    EXPECT_EQ(Mixer.getLineControls(Object(), &request, MIXER_OBJECTF_HMIXER),
              static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    request.cbStruct = sizeof request;
    request.cbmxctrl = sizeof(MIXERCONTROLA) - 4;
    EXPECT_EQ(Mixer.getLineControls(Object(), &request, MIXER_OBJECTF_HMIXER),
              static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    ASSERT_EQ(Mixer.getLineControls(Object(), &request, MIXER_OBJECTF_HMIXER),
              static_cast<MMRESULT>(MMSYSERR_NOERROR));
    LONG value = 0;
    EXPECT_EQ(Details(false, controls[0].dwControlID, 1, 0, &value, 2),
              static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
}

TEST_F(SimMixerTest, LineQueriesOfEveryKind) {
    Install95();
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    ASSERT_EQ(
        Mixer.getLineInfo(Object(), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION),
        static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(line.dwComponentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS));
    EXPECT_EQ(line.cControls, 6u);
    EXPECT_EQ(line.cConnections, 9u);
    EXPECT_EQ(line.fdwLine & MIXERLINE_LINEF_SOURCE, 0u);

    line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
    ASSERT_EQ(
        Mixer.getLineInfo(Object(), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE),
        static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(line.dwDestination, 0u);
    EXPECT_EQ(line.dwSource, 1u);
    EXPECT_EQ(line.cControls, 3u);
    EXPECT_NE(line.fdwLine & MIXERLINE_LINEF_SOURCE, 0u);

    DWORD waveId = line.dwLineID;
    line = MIXERLINEA{};
    line.cbStruct = sizeof line;
    line.dwLineID = waveId;
    ASSERT_EQ(Mixer.getLineInfo(Object(), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID),
              static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(line.dwSource, 1u);

    // A failed query leaves the record as it was.
    MIXERLINEA before = line;
    EXPECT_EQ(Source(0, 9, &line), static_cast<MMRESULT>(MIXERR_INVALLINE));
    EXPECT_EQ(line.dwLineID, before.dwLineID);
    EXPECT_EQ(line.cControls, before.cControls);
    EXPECT_EQ(Source(4, 0, &line), static_cast<MMRESULT>(MIXERR_INVALLINE));
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER;
    EXPECT_EQ(
        Mixer.getLineInfo(Object(), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE),
        static_cast<MMRESULT>(MIXERR_INVALLINE));
}

TEST_F(SimMixerTest, FixedSourcesAndEffectIdsOfEachFamily) {
    struct Case {
        int family;
        DWORD threeDSource, telephoneSource;
        DWORD bass, treble, wide, toggle;
    };
    for (const Case &c : {Case{95, 7, 8, 38, 39, 41, 42}, Case{40, 6, 7, 2, 3, 21, 22}}) {
        SCOPED_TRACE(c.family);
        SimMixerConfig config;
        config.family = c.family;
        Install(config);
        MIXERLINEA line{};
        ASSERT_EQ(Source(0, c.threeDSource, &line), static_cast<MMRESULT>(MMSYSERR_NOERROR));
        EXPECT_EQ(line.cChannels, 2u);
        EXPECT_EQ(SimControlId(SimLine::Speakers, 4), c.bass);
        EXPECT_EQ(SimControlId(SimLine::Speakers, 5), c.treble);
        EXPECT_EQ(SimControlId(SimLine::ThreeD, 0), c.wide);
        EXPECT_EQ(SimControlId(SimLine::ThreeD, 1), c.toggle);
        ASSERT_EQ(Source(0, c.telephoneSource, &line), static_cast<MMRESULT>(MMSYSERR_NOERROR));
        EXPECT_EQ(line.dwComponentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE));
        EXPECT_EQ(line.cChannels, 1u);
        EXPECT_EQ(Source(0, 6, &line), static_cast<MMRESULT>(MMSYSERR_NOERROR));
        EXPECT_EQ(line.dwLineID == SimLineId(SimLine::SoftSynth), c.family == 95);
        Mixer.close(handle);
        handle = nullptr;
    }
}

TEST_F(SimMixerTest, MissingInputsKeepTheSourceNumbers) {
    SimMixerConfig config;
    config.family = 40;
    config.lineSource = false;
    config.threeDLine = false;
    Install(config);
    MIXERLINEA line{};
    ASSERT_EQ(Source(0, 2, &line), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(line.dwComponentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED));
    EXPECT_NE(line.fdwLine & MIXERLINE_LINEF_DISCONNECTED, 0u);
    EXPECT_EQ(line.cControls, 0u);
    ASSERT_EQ(Source(0, 7, &line), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(line.dwComponentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE));
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_LINE;
    EXPECT_EQ(
        Mixer.getLineInfo(Object(), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE),
        static_cast<MMRESULT>(MIXERR_INVALLINE))
        << "neither the playback nor the record side has a line input";

    // Without the telephone too, nothing follows the missing 3D line.
    Mixer.close(handle);
    config.telephone = false;
    Install(config);
    EXPECT_EQ(Source(0, 6, &line), static_cast<MMRESULT>(MIXERR_INVALLINE));
}

TEST_F(SimMixerTest, ControlQueriesAllOneByIdOneByType) {
    Install95();
    MIXERLINEA line{};
    ASSERT_EQ(Source(0, 1, &line), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    MIXERCONTROLA controls[3]{};
    MIXERLINECONTROLSA request{};
    request.cbStruct = sizeof request;
    request.dwLineID = line.dwLineID;
    request.cControls = 2;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = controls;
    EXPECT_EQ(Mixer.getLineControls(Object(), &request,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL),
              static_cast<MMRESULT>(MMSYSERR_INVALPARAM))
        << "the count must be the line's";
    request.cControls = 3;
    ASSERT_EQ(Mixer.getLineControls(Object(), &request,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL),
              static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(controls[0].cbStruct, sizeof(MIXERCONTROLA));
    EXPECT_EQ(controls[0].dwControlType, static_cast<DWORD>(MIXERCONTROL_CONTROLTYPE_VOLUME));
    EXPECT_EQ(controls[1].dwControlType, static_cast<DWORD>(MIXERCONTROL_CONTROLTYPE_MUTE));
    EXPECT_EQ(controls[2].dwControlType, static_cast<DWORD>(MIXERCONTROL_CONTROLTYPE_PEAKMETER));

    MIXERCONTROLA one{};
    request.cControls = 1;
    request.pamxctrl = &one;
    request.dwControlType = MIXERCONTROL_CONTROLTYPE_PEAKMETER;
    ASSERT_EQ(Mixer.getLineControls(Object(), &request,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
              static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(one.dwControlID, controls[2].dwControlID);
    request.dwControlType = MIXERCONTROL_CONTROLTYPE_BASS;
    EXPECT_EQ(Mixer.getLineControls(Object(), &request,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
              static_cast<MMRESULT>(MIXERR_INVALCONTROL));

    request.dwLineID = 0;
    request.dwControlID = 41;
    ASSERT_EQ(Mixer.getLineControls(Object(), &request,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID),
              static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(request.dwLineID, SimLineId(SimLine::ThreeD)) << "the id query names the line";
    request.dwControlID = 0x7777;
    EXPECT_EQ(Mixer.getLineControls(Object(), &request,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID),
              static_cast<MMRESULT>(MIXERR_INVALCONTROL));
}

TEST_F(SimMixerTest, DetailsHonourChannelsAndItemsAndNotify) {
    Install95();
    DWORD master = SimControlId(SimLine::Speakers, 0);
    LONG values[4] = {1000, 2000};
    ASSERT_EQ(Details(true, master, 2, 0, values), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(SimControlValue(master, 0), 1000);
    EXPECT_EQ(SimControlValue(master, 1), 2000);
    EXPECT_EQ(Notifications(), std::vector<DWORD>{master});
    // One channel given sets both.
    values[0] = 3000;
    ASSERT_EQ(Details(true, master, 1, 0, values), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(SimControlValue(master, 1), 3000);
    EXPECT_EQ(Details(false, master, 3, 0, values), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));

    DWORD mic = SimControlId(SimLine::Microphone, 0);
    EXPECT_EQ(Details(false, mic, 2, 0, values), static_cast<MMRESULT>(MMSYSERR_INVALPARAM))
        << "the microphone has one channel";

    DWORD selector = SimControlId(SimLine::WaveIn, 0);
    EXPECT_EQ(Details(false, selector, 1, 0, values), static_cast<MMRESULT>(MMSYSERR_INVALPARAM));
    LONG items[4] = {0, 0, 1, 0};
    ASSERT_EQ(Details(true, selector, 1, 4, items), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(SimControlValue(selector, 0, 2), 1);
    EXPECT_EQ(SimControlValue(selector, 0, 0), 0);
    MIXERCONTROLDETAILS_LISTTEXTA texts[4]{};
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = selector;
    details.cChannels = 1;
    details.cMultipleItems = 4;
    details.cbDetails = sizeof texts[0];
    details.paDetails = texts;
    ASSERT_EQ(Mixer.getControlDetails(Object(), &details,
                                      MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_LISTTEXT),
              static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_STREQ(texts[3].szName, "Loop");
    EXPECT_EQ(texts[1].dwParam1, SimLineId(SimLine::RecMicrophone));

    EXPECT_EQ(Details(true, 0x7777, 1, 0, values), static_cast<MMRESULT>(MIXERR_INVALCONTROL));
    Notifications();
    ChangeSimControlFromOutside(mic, 777);
    EXPECT_EQ(SimControlValue(mic), 777);
    EXPECT_EQ(Notifications(), std::vector<DWORD>{mic}) << "another program's change notifies too";
}

TEST_F(SimMixerTest, MetersAreScriptedAndReadOnly) {
    Install95();
    DWORD meter = SimControlId(SimLine::WaveOut, 2);
    SetSimMeter(meter, 1200, -300);
    LONG values[2] = {};
    ASSERT_EQ(Details(false, meter, 2, 0, values), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(values[0], 1200);
    EXPECT_EQ(values[1], -300);
    EXPECT_NE(Details(true, meter, 2, 0, values), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_TRUE(Notifications().empty());
    ASSERT_FALSE(SimMixerCalls().empty());
    const SimMixerCall &last = SimMixerCalls().back();
    EXPECT_EQ(last.kind, SimMixerCallKind::SetControlDetails);
    EXPECT_EQ(last.controlId, meter);
}

} // namespace
