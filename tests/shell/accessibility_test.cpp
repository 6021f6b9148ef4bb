// The station as a screen reader meets it: every key, fader and light asked
// through the platform's accessibility interface (AccessibleObjectFromWindow)
// for its name, role, state and value, and the events a change sends.
#include "tests/support/station_harness.h"

#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/station.h"

#include <oleacc.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using FromWindowFn = HRESULT(WINAPI *)(HWND, DWORD, REFIID, void **);
using FreeStringFn = void(WINAPI *)(BSTR);

template <typename Function> Function Find(const char *library, const char *name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(LoadLibraryA(library), name)));
}

// What a client reads of one window.
struct Heard {
    std::string name, value;
    long role = 0, state = 0;
};

std::string Narrow(BSTR text) {
    char narrow[256] = "";
    if (text != nullptr)
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    Find<FreeStringFn>("oleaut32.dll", "SysFreeString")(text);
    return narrow;
}

Heard Ask(HWND window) {
    Heard heard;
    IAccessible *object = nullptr;
    auto fromWindow = Find<FromWindowFn>("oleacc.dll", "AccessibleObjectFromWindow");
    if (FAILED(fromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                          reinterpret_cast<void **>(&object))))
        return heard;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    object->get_accName(self, &text);
    heard.name = Narrow(text);
    text = nullptr;
    object->get_accValue(self, &text);
    heard.value = Narrow(text);
    VARIANT answer{};
    object->get_accRole(self, &answer);
    heard.role = answer.lVal;
    answer = VARIANT{};
    object->get_accState(self, &answer);
    heard.state = answer.lVal;
    object->Release();
    return heard;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<std::pair<DWORD, HWND>> Events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD,
                          DWORD) {
    if (object == OBJID_CLIENT)
        Events.push_back({event, window});
}

class AccessibilityTest : public StationTest {
  protected:
    void StartWithTheEffects() {
        ASSERT_TRUE(StartWithEveryPanel());
        PressLauncher(IDC_EFX);
        ASSERT_NE(EfxWindow, nullptr);
    }
    static void Click(HWND key) {
        SendMessageA(key, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(key, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    bool Announced(DWORD event, HWND window) {
        Pump(100);
        for (const auto &seen : Events)
            if (seen.first == event && seen.second == window)
                return true;
        return false;
    }
};

// Keys read as buttons (toggles as check buttons), faders as sliders, lights
// as indicators, each by a name a person understands; a display by its text.
TEST_F(AccessibilityTest, EveryKeyFaderAndLightHasANameAndItsRole) {
    StartWithTheEffects();
    int asked = 0;
    for (HWND panel : {LauncherBar, CdPanel, MidiPanel, WavePanel, MixerPanel, PlaylistPanel,
                       VideoPanel, EfxWindow}) {
        for (HWND child = GetWindow(panel, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child))
                continue;
            std::string kind = ClassOf(child);
            Heard heard = Ask(child);
            char text[256] = "";
            SendMessageA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
            int id = GetDlgCtrlID(child);
            if (kind == "Static") {
                EXPECT_EQ(heard.name, text) << "display " << id;
                continue;
            }
            ++asked;
            EXPECT_FALSE(heard.name.empty()) << kind << " " << id;
            EXPECT_EQ(heard.name.find("IDB_"), std::string::npos) << heard.name;
            EXPECT_NE(heard.name.rfind("User", 0), 0u) << heard.name;
            bool toggle = (GetWindowLongA(child, GWL_STYLE) & BBS_TOGGLE) != 0;
            long role = kind == "SliderVol"      ? ROLE_SYSTEM_SLIDER
                        : kind == "HiliteBitmap" ? ROLE_SYSTEM_INDICATOR
                        : toggle                 ? ROLE_SYSTEM_CHECKBUTTON
                                                 : ROLE_SYSTEM_PUSHBUTTON;
            if (kind != "ListBox") {
                EXPECT_EQ(heard.role, role) << heard.name;
            }
        }
    }
    EXPECT_GE(asked, 90);
    EXPECT_EQ(Ask(GetDlgItem(WavePanel, IDC_PLAY)).name, "Play");
    EXPECT_EQ(Ask(GetDlgItem(MixerPanel, 6)).name, "Mute Line In");
    EXPECT_EQ(Ask(GetDlgItem(LauncherBar, IDC_SHOW_WAVE)).name, "WAVE panel");
}

// A latched key tells its pressed or checked state, a fader its value, a
// light whether it is lit, a hidden and disabled key so; each change is
// announced to the clients that listen.
TEST_F(AccessibilityTest, StatesAndValuesAreToldAndTheirChangesAnnounced) {
    StartWithTheEffects();
    Events.clear();
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, RecordEvent,
                        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);

    EXPECT_TRUE(Ask(GetDlgItem(LauncherBar, IDC_SHOW_CD)).state & STATE_SYSTEM_PRESSED);
    EXPECT_FALSE(Ask(GetDlgItem(CdPanel, IDC_PLAY)).state & STATE_SYSTEM_PRESSED);
    HWND video = GetDlgItem(LauncherBar, IDC_SHOW_VIDEO);
    EXPECT_EQ(Ask(video).state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE),
              STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE);

    HWND repeat = GetDlgItem(CdPanel, 4034);
    EXPECT_FALSE(Ask(repeat).state & STATE_SYSTEM_CHECKED);
    Click(repeat);
    EXPECT_TRUE(Ask(repeat).state & STATE_SYSTEM_CHECKED);
    EXPECT_TRUE(Announced(EVENT_OBJECT_STATECHANGE, repeat));

    HWND mute = GetDlgItem(MixerPanel, 6); // latched while the line sounds
    EXPECT_FALSE(Ask(mute).state & STATE_SYSTEM_CHECKED);
    Click(mute);
    EXPECT_TRUE(Ask(mute).state & STATE_SYSTEM_CHECKED) << "muted";

    HWND fader = GetDlgItem(MixerPanel, 23);
    SendMessageA(fader, SVM_SETPOS, 0, MAKELPARAM(0, 8));
    EXPECT_EQ(Ask(fader).value, "50%");
    EXPECT_TRUE(Announced(EVENT_OBJECT_VALUECHANGE, fader));

    HWND cdLight = GetDlgItem(WavePanel, 4018);
    HWND micLight = GetDlgItem(WavePanel, 4020);
    bool cdLit = (Ask(cdLight).state & STATE_SYSTEM_CHECKED) != 0;
    EXPECT_NE(cdLit, (Ask(micLight).state & STATE_SYSTEM_CHECKED) != 0);
    Events.clear();
    Click(GetDlgItem(MixerPanel, cdLit ? 7019 : 7017)); // the other source
    Pump(200);
    EXPECT_NE((Ask(cdLight).state & STATE_SYSTEM_CHECKED) != 0, cdLit);
    EXPECT_TRUE(Announced(EVENT_OBJECT_STATECHANGE, cdLight));
    UnhookWinEvent(hook);
}

} // namespace
