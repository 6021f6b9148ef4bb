// Dialog templates of panekit32: every panel and dialog is created from the
// library and each control is checked for its id, window class and the style
// bits that the panel procedures rely on. Panels come in two variants (plain
// and suffix "1") that must carry the same controls.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "../../panekit/resources/panel_ids.h"

namespace {

constexpr DWORD kShown = WS_VISIBLE;
constexpr DWORD kHidden = 0;
constexpr DWORD kState = WS_VISIBLE | WS_DISABLED;
constexpr DWORD kListBits = LBS_SORT | LBS_NOTIFY | LBS_MULTIPLESEL | LBS_EXTENDEDSEL;

// One expected control: GetWindowLong(GWL_STYLE) & mask must equal bits.
struct Ctl {
    int id;
    const char *cls;
    DWORD mask;
    DWORD bits;
    const char *text; // template text that is shown as it is, or nullptr
};

// BitmapButton: the low style byte selects click, repeat, toggle and faces.
Ctl key(int id, DWORD low, DWORD state = kShown) {
    return {id, "BitmapButton", kState | 0xFF, state | low, nullptr};
}
Ctl fader(int id, DWORD state = kShown) {
    return {id, "SliderVol", kState, state, nullptr};
}
Ctl lamp(int id, DWORD state = kShown) {
    return {id, "HiliteBitmap", kState, state, nullptr};
}
Ctl text(int id, const char *t = nullptr, DWORD state = kShown) {
    return {id, "Static", kState, state, t};
}
// Shows file, disc and track names, which may contain '&'.
Ctl name(int id, const char *t = nullptr) {
    return {id, "Static", kState | SS_NOPREFIX, kShown | SS_NOPREFIX, t};
}
// A label whose clicks the panel handles.
Ctl clickable(int id, const char *t) {
    return {id, "Static", kState | SS_NOTIFY, kShown | SS_NOTIFY, t};
}
// List boxes never sort: rows map to entries and tracks by position.
Ctl rows(int id, DWORD bits, DWORD state = kShown) {
    return {id, "ListBox", kState | kListBits, state | bits, nullptr};
}
Ctl button(int id, DWORD type, const char *t = nullptr, DWORD state = kShown) {
    return {id, "Button", kState | BS_TYPEMASK, state | type, t};
}
Ctl group(int id, const char *t = nullptr) {
    return button(id, BS_GROUPBOX, t);
}
Ctl hiddenButton(int id) {
    return {id, "Button", kState, kHidden, nullptr};
}
Ctl combo(int id, DWORD type) {
    return {id, "ComboBox", kState | 0x3, kShown | type, nullptr};
}
// Single line, so that Enter reaches the dialog as a command.
Ctl edit(int id) {
    return {id, "Edit", kState | ES_MULTILINE | ES_WANTRETURN, kShown, nullptr};
}

using Ctls = std::vector<Ctl>;

Ctls operator+(Ctls a, const Ctls &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Previous, rewind, stop, play, pause and forward of the player panels.
Ctls transport(DWORD previous, DWORD rewind) {
    return {key(IDC_REWSKIP, previous), key(IDC_REW, rewind), key(IDC_STOP, 0x06),
            key(IDC_PLAY, 0x06),        key(IDC_PAUSE, 0x06), key(IDC_FF, rewind)};
}

Ctls mixerControls() {
    Ctls c = {key(IDC_POWER, 0x06),  key(1030, 0x0E),      text(1157),
              clickable(10, "CD"),   clickable(11, "Mic"), clickable(12, "Line"),
              clickable(13, "Loop"), key(7017, 0x06),      key(7018, 0x06),
              key(7019, 0x06),       key(7020, 0x06),      text(1022, "REC"),
              text(1007, "Mic"),     text(1008, "Mono"),   text(1009, "Line"),
              text(1010, "CD"),      text(1011, "Synth"),  text(1012, "Wave"),
              text(1013, "Master"),  text(1014, "SW.SYN"), text(1155, nullptr, kHidden)};
    for (int id : {3, 4, 5, 6, 7, 8, 9, 40, 41})
        c.push_back(key(id, 0x2E)); // latching mute keys with the shared faces
    for (int id = 14; id <= 30; ++id)
        c.push_back(fader(id, id == 27 ? kHidden : kShown));
    return c;
}

struct Template {
    const char *name;
    bool panel; // child panel with a "1" variant; otherwise a captioned pop-up
    const char *caption;
    const wchar_t *face;
    int points, points1;
    Ctls controls;
};

void PrintTo(const Template &t, std::ostream *os) {
    *os << t.name;
}

const wchar_t kGothic[] = L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF";

Template panel(const char *name, const wchar_t *face, int points, int points1, Ctls c) {
    return {name, true, nullptr, face, points, points1, std::move(c)};
}
Template popup(const char *name, const char *caption, const wchar_t *face, int points, Ctls c) {
    return {name, false, caption, face, points, points, std::move(c)};
}
Ctl radio(int id) {
    return button(id, BS_AUTORADIOBUTTON);
}
Ctl push(int id, const char *t = nullptr) {
    return button(id, BS_PUSHBUTTON, t);
}

// CONFIG: the procedure keeps the component flags and sets those boxes
// itself, while "Mono in" and "CD auto detect ON" are read only on OK and so
// toggle themselves. NAME_CD has no default button: Enter arrives as IDOK,
// which the procedure turns into "next track" in the track-name field.
// NEWTEMP's file list 1120 also lists CD tracks, found again by row.
const std::vector<Template> &templates() {
    static const std::vector<Template> all = {
        panel("MAIN", L"Courier New", 14, 11,
              {key(IDC_SHOW_WAVE, 0x06), key(IDC_SHOW_MIDI, 0x06), key(IDC_SHOW_CD, 0x06),
               key(IDC_SHOW_MIXER, 0x06), key(IDC_SHOW_PLAYLIST, 0x06), key(IDC_CONFIG, 0x06),
               key(IDC_EDIT_PLAYLIST, 0x06), key(IDC_EFX, 0x06),
               key(IDC_SHOW_VIDEO, 0x06, WS_DISABLED)}),
        panel("CD_PLAY", kGothic, 14, 11,
              transport(0x01, 0x01) + Ctls{key(IDC_FFSKIP, 0x01), key(IDC_POWER, 0x06),
                                           key(1014, 0x06), key(4038, 0x06), key(4034, 0x0E),
                                           name(IDC_TITLE), name(3005), text(3004), text(IDC_TOTAL),
                                           text(IDC_TIME, nullptr, kHidden),
                                           key(4032, 0x06, kHidden)}),
        panel("MIDI_PLAY", kGothic, 14, 11,
              transport(0x06, 0x01) + Ctls{key(IDC_FFSKIP, 0x06), key(IDC_POWER, 0x06),
                                           key(IDC_OPEN, 0x06), name(IDC_TITLE), text(IDC_TOTAL),
                                           text(IDC_TIME)}),
        panel("WAVE_PLAY", kGothic, 14, 11,
              transport(0x06, 0x01) +
                  Ctls{key(1022, 0x06), key(IDC_POWER, 0x06), key(IDC_OPEN, 0x06), key(4028, 0x00),
                       lamp(4016), lamp(4018), lamp(4020), lamp(4022), name(IDC_TITLE),
                       text(IDC_TOTAL), text(IDC_TIME), text(3006), key(4024, 0x0E, kHidden),
                       fader(25, kHidden), fader(26, kHidden), fader(22, kHidden)}),
        panel("VIDEO_PLAY", L"Courier New", 14, 11,
              transport(0x01, 0x11) + Ctls{key(IDC_FFSKIP, 0x01), key(IDC_POWER, 0x06),
                                           key(4042, 0x0E), key(IDC_OPEN, 0x06),
                                           name(IDC_TITLE, "VIDEO PLAYER"), text(IDC_TOTAL),
                                           text(IDC_TIME)}),
        panel("PLAYLIST", kGothic, 12, 9,
              transport(0x01, 0x01) + Ctls{key(IDC_FFSKIP, 0x01), key(IDC_POWER, 0x06),
                                           rows(1061, LBS_NOTIFY), rows(1069, LBS_NOTIFY, kHidden),
                                           lamp(113), lamp(4012), lamp(4009), lamp(4045, kHidden),
                                           text(7007), text(IDC_TOTAL), text(IDC_TIME)}),
        panel("MIXER", L"Courier New", 7, 7, mixerControls()),
        popup("EFX_DLG", "Ambiora", L"MS Sans Serif", 8,
              {key(1161, 0x46), key(1162, 0x46), key(1163, 0x46), key(1164, 0x46), key(1165, 0x06),
               key(1070, 0x0E), fader(1166), fader(1167), fader(1168), text(1170), text(1171)}),
        popup("CONFIG", "Config", L"MS Sans Serif", 8,
              Ctls{group(1122), radio(1073), radio(1074), group(7000), radio(1075), radio(1076)} +
                  Ctls{group(7001), button(1070, BS_CHECKBOX), button(1071, BS_CHECKBOX),
                       button(1072, BS_CHECKBOX), button(1077, BS_CHECKBOX),
                       button(1078, BS_CHECKBOX, "VIDEO", WS_DISABLED)} +
                  Ctls{group(7002), group(7006), radio(307), radio(308), radio(309), group(7005),
                       radio(302), radio(303), radio(304)} +
                  Ctls{group(209), radio(300), radio(301), group(7004), radio(305), radio(306)} +
                  Ctls{text(7003), text(7007), group(-1, "Mixer"), button(1015, BS_AUTOCHECKBOX),
                       group(1016, "CD Auto detect"),
                       button(1017, BS_AUTOCHECKBOX, "CD auto detect ON"),
                       button(IDOK, BS_DEFPUSHBUTTON, "OK"), push(IDCANCEL, "Cancel")}),
        popup("NAME_CD", "Name CD", kGothic, 10,
              {text(7008), edit(1131), text(3000), edit(1132), rows(1061, LBS_NOTIFY),
               push(1060, "OK"), push(1140, "Cancel"),
               button(1141, BS_PUSHBUTTON, nullptr, kHidden)}),
        popup("NEWTEMP", "PlayList", kGothic, 11,
              Ctls{group(7009), combo(1151, CBS_DROPDOWN), push(1068), group(7010), name(1131),
                   group(7011), push(2000), push(1064), push(1066), push(1062), push(1065)} +
                  Ctls{group(7012), text(1090), edit(1152),
                       rows(1120, LBS_NOTIFY | LBS_EXTENDEDSEL), text(7015), text(1088),
                       rows(1121, LBS_NOTIFY | LBS_SORT), text(1089, "List Files of Type"),
                       combo(1136, CBS_DROPDOWNLIST), text(1091, "Drives"),
                       combo(1137, CBS_DROPDOWNLIST)} +
                  Ctls{group(7007), radio(1072), radio(1073), group(7013),
                       rows(1061, LBS_NOTIFY | LBS_EXTENDEDSEL), rows(1069, 0, kHidden),
                       push(1067, "Export..."), button(1060, BS_DEFPUSHBUTTON),
                       push(IDCANCEL, "Cancel")} +
                  Ctls{hiddenButton(IDOK), hiddenButton(1038), hiddenButton(1040),
                       hiddenButton(1063)}),
    };
    return all;
}

// Loaded once and kept: the classes it registers outlive an unload, so the
// library is not loaded a second time in this process.
HMODULE panekit() {
    static HMODULE lib = LoadLibraryA(PANEKIT32_PATH);
    return lib;
}

HWND hostWindow() {
    static HWND host = CreateWindowA("STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 700, 200, nullptr,
                                     nullptr, nullptr, nullptr);
    return host;
}

INT_PTR CALLBACK NullProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

// A dialog created from the library, destroyed at scope exit.
struct Dialog {
    HWND hwnd;
    Dialog(HMODULE lib, const std::string &name, HWND parent)
        : hwnd(CreateDialogParamA(lib, name.c_str(), parent, NullProc, 0)) {}
    ~Dialog() {
        if (hwnd)
            DestroyWindow(hwnd);
    }
    Dialog(const Dialog &) = delete;
    Dialog &operator=(const Dialog &) = delete;
};

std::vector<int> childIds(HWND dlg) {
    std::vector<int> ids;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(c));
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Header fields of a DLGTEMPLATEEX resource.
struct Header {
    DWORD style = 0, exStyle = 0;
    WORD points = 0;
    std::wstring face;
};

const WORD *skipSzOrOrd(const WORD *p) {
    if (*p == 0xFFFF)
        return p + 2;
    while (*p++) {
    }
    return p;
}

bool readHeader(HMODULE lib, const std::string &name, Header *h) {
    HRSRC res = FindResourceA(lib, name.c_str(), MAKEINTRESOURCEA(5)); // RT_DIALOG
    const WORD *p = res ? static_cast<const WORD *>(LockResource(LoadResource(lib, res))) : nullptr;
    if (!p || p[0] != 1 || p[1] != 0xFFFF)
        return false;
    h->exStyle = MAKELONG(p[4], p[5]);
    h->style = MAKELONG(p[6], p[7]);
    p = skipSzOrOrd(skipSzOrOrd(skipSzOrOrd(p + 13))); // menu, class, title
    h->points = p[0];
    h->face = reinterpret_cast<const wchar_t *>(p + 3);
    return true;
}

class TemplateTest : public ::testing::TestWithParam<Template> {
  protected:
    void SetUp() override {
        lib_ = panekit();
        ASSERT_NE(lib_, nullptr) << "cannot load " << PANEKIT32_PATH;
    }

    std::vector<std::string> variants() const {
        const Template &t = GetParam();
        if (!t.panel)
            return {t.name};
        return {t.name, std::string(t.name) + "1"};
    }
    HWND parent() const { return GetParam().panel ? hostWindow() : nullptr; }

    HMODULE lib_ = nullptr;
};

TEST_P(TemplateTest, ControlsHaveIdClassAndStyle) {
    for (const std::string &v : variants()) {
        Dialog dlg(lib_, v, parent());
        ASSERT_NE(dlg.hwnd, nullptr) << v;
        for (const Ctl &c : GetParam().controls) {
            SCOPED_TRACE(v + " control " + std::to_string(c.id));
            HWND w = GetDlgItem(dlg.hwnd, c.id);
            ASSERT_NE(w, nullptr);
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            EXPECT_EQ(lstrcmpiA(cls, c.cls), 0) << cls;
            DWORD style = static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE));
            EXPECT_EQ(style & c.mask, c.bits) << std::hex << "style 0x" << style;
            if (c.text) {
                char buf[64] = {};
                GetWindowTextA(w, buf, sizeof buf);
                EXPECT_STREQ(buf, c.text);
            }
        }
    }
}

TEST_P(TemplateTest, VariantsCarryExactlyTheListedControls) {
    std::vector<int> expected;
    for (const Ctl &c : GetParam().controls)
        expected.push_back(c.id);
    std::sort(expected.begin(), expected.end());
    std::vector<std::vector<int>> found;
    for (const std::string &v : variants()) {
        Dialog dlg(lib_, v, parent());
        ASSERT_NE(dlg.hwnd, nullptr) << v;
        found.push_back(childIds(dlg.hwnd));
        EXPECT_EQ(found.back(), expected) << v << ": missing, extra or duplicate ids";
    }
    EXPECT_EQ(found.front(), found.back());
}

TEST_P(TemplateTest, WindowStyleFontAndCaption) {
    const Template &t = GetParam();
    for (const std::string &v : variants()) {
        SCOPED_TRACE(v);
        Header h;
        ASSERT_TRUE(readHeader(lib_, v, &h)) << "not an extended dialog template";
        bool large = v != t.name;
        EXPECT_EQ(h.face, t.face);
        EXPECT_EQ(h.points, large ? t.points1 : t.points);
        EXPECT_TRUE(h.style & DS_SETFONT);
        if (t.panel) {
            EXPECT_EQ(h.style & (WS_CHILD | WS_VISIBLE | WS_POPUP | WS_CAPTION),
                      DWORD(WS_CHILD | WS_VISIBLE));
            EXPECT_EQ((h.style & DS_ABSALIGN) != 0, v == "CD_PLAY1");
            EXPECT_EQ((h.exStyle & WS_EX_TRANSPARENT) != 0, v.rfind("MAIN", 0) == 0);
        } else {
            EXPECT_EQ(h.style & (WS_CHILD | WS_POPUP | WS_CAPTION), DWORD(WS_POPUP | WS_CAPTION));
            Dialog dlg(lib_, v, nullptr);
            ASSERT_NE(dlg.hwnd, nullptr);
            char caption[64] = {};
            GetWindowTextA(dlg.hwnd, caption, sizeof caption);
            EXPECT_STREQ(caption, t.caption);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Panekit, TemplateTest, ::testing::ValuesIn(templates()),
                         [](const ::testing::TestParamInfo<Template> &info) {
                             return std::string(info.param.name);
                         });

// The dialog manager creates the panel font from the template: the Japanese
// face name must arrive intact as UTF-16.
TEST(TemplateFont, CdPanelUsesTheJapaneseFace) {
    ASSERT_NE(panekit(), nullptr);
    {
        Dialog dlg(panekit(), "CD_PLAY", hostWindow());
        ASSERT_NE(dlg.hwnd, nullptr);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(dlg.hwnd, WM_GETFONT, 0, 0));
        LOGFONTW lf = {};
        ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), int(sizeof lf));
        EXPECT_STREQ(lf.lfFaceName, kGothic);
        HDC dc = GetDC(nullptr);
        EXPECT_EQ(lf.lfHeight, -MulDiv(14, GetDeviceCaps(dc, LOGPIXELSY), 72));
        ReleaseDC(nullptr, dc);
    }
}

// Auto radio buttons uncheck the others of their group: each choice of the
// configuration dialog must be a group of its own.
TEST(TemplateConfig, RadioGroupsAreIndependent) {
    ASSERT_NE(panekit(), nullptr);
    {
        Dialog dlg(panekit(), "CONFIG", nullptr);
        ASSERT_NE(dlg.hwnd, nullptr);
        ShowWindow(dlg.hwnd, SW_SHOWNA);
        const std::vector<std::vector<int>> groups = {
            {1073, 1074}, {1075, 1076}, {309, 307, 308}, {302, 303, 304}, {300, 301}, {305, 306}};
        for (const auto &g : groups)
            SendDlgItemMessageA(dlg.hwnd, g.back(), BM_CLICK, 0, 0);
        // Choose the first button of each group in turn; every other group
        // keeps its own choice.
        for (size_t i = 0; i < groups.size(); ++i) {
            SendDlgItemMessageA(dlg.hwnd, groups[i].front(), BM_CLICK, 0, 0);
            for (size_t j = 0; j < groups.size(); ++j)
                for (int id : groups[j]) {
                    int chosen = j <= i ? groups[j].front() : groups[j].back();
                    EXPECT_EQ(IsDlgButtonChecked(dlg.hwnd, id) == BST_CHECKED, id == chosen)
                        << "after clicking " << groups[i].front() << ", button " << id;
                }
        }
    }
}

} // namespace
