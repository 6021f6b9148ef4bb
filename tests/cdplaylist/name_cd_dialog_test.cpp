// The Name-CD dialog driven as a person drives it: keys typed into its
// fields, the arrow keys, Enter, OK, Cancel and Esc; what lands in the
// settings file and what the CD panel shows afterwards; damaged names.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "cdplaylist/cd_panel.h"
#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int TitleField = 1131;
constexpr int TrackLabel = 3000;
constexpr int NameField = 1132;
constexpr int TrackList = 1061;
constexpr int SaveKey = 1060;
constexpr int DiscardKey = 1140;
constexpr int NameCdKey = 4038;
constexpr int TrackLine = 3005;

// Three tracks of 01:10, 01:05 and 00:30: the disc is 02:45:00 long.
const char Section[] = "11522";

// What a person does in the dialog, on the robot's thread.
class DialogHand {
  public:
    explicit DialogHand(HWND dialog) : dialog_(dialog) {}

    void Type(const std::string &text) {
        HWND target = Focus();
        for (char c : text)
            PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
        Settle();
    }
    void Key(WPARAM key) {
        HWND target = Focus();
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, 0xC0000001);
        Settle();
    }
    void ClickInto(int id) {
        SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, id)),
                     TRUE);
        Settle();
    }
    std::string Row(int row) {
        char text[512] = "";
        SendDlgItemMessageA(dialog_, TrackList, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        return text;
    }
    int Selected() {
        return static_cast<int>(SendDlgItemMessageA(dialog_, TrackList, LB_GETCURSEL, 0, 0));
    }
    std::string Text(int id) {
        char text[512] = "";
        SendDlgItemMessageA(dialog_, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::string Caption() {
        char text[64] = "";
        SendMessageA(dialog_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }

  private:
    HWND Focus() {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &thread);
        return thread.hwndFocus != nullptr ? thread.hwndFocus : dialog_;
    }
    // The dialog's thread has handled what was posted.
    void Settle() {
        for (int i = 0; i < 4; ++i) {
            Sleep(25);
            SendMessageA(dialog_, WM_NULL, 0, 0);
        }
    }
    HWND dialog_;
};

class NameCdTest : public StationTest {
  protected:
    void StartWithDisc(const SimDisc &disc) {
        SimCardConfig card;
        card.mci.cd.discLoaded = true;
        card.mci.cd.disc = disc;
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        if (!CdPanelShown)
            PressLauncher(IDC_SHOW_CD);
        robot.Forget();
    }

    // Opens the dialog with the panel's key; the script runs in it and
    // answers the key to leave it by.
    void NameCd(std::function<int(DialogHand &)> script) {
        robot.SetAnswer([script](const SeenBox &box) -> int {
            if (box.caption != "Name CD")
                return 0;
            DialogHand hand(FindWindowA("#32770", "Name CD"));
            return script(hand);
        });
        SendMessageA(CdPanel, WM_COMMAND, NameCdKey, 0);
        robot.SetAnswer(nullptr);
    }

    std::string Shown(int id) { return ControlText(CdPanel, id); }
};

TEST_F(NameCdTest, TypeEnterTypeEnterAndOkKeepsEveryRow) {
    StartWithDisc(AudioDisc({70, 65, 30}));
    std::vector<std::string> seen;
    NameCd([&seen](DialogHand &hand) {
        seen = {hand.Caption(), hand.Text(7008), hand.Text(TitleField), hand.Text(TrackLabel),
                hand.Text(NameField)};
        hand.Type("Intro");
        hand.Key(VK_RETURN);
        seen.push_back(hand.Row(0) + "|" + hand.Text(TrackLabel) + "|" + hand.Text(NameField));
        hand.Type("Lost"); // left with an arrow key: not kept
        hand.Key(VK_DOWN);
        seen.push_back(hand.Row(1) + "|" + hand.Text(TrackLabel));
        hand.Type("Finale");
        hand.Key(VK_RETURN); // the last track: it stays selected
        hand.Key(VK_DOWN);
        seen.push_back(hand.Row(2) + "|" + std::to_string(hand.Selected()));
        hand.Key(VK_UP);
        hand.Key(VK_UP);
        hand.Key(VK_UP);
        seen.push_back(std::to_string(hand.Selected()) + "|" + hand.Text(NameField));
        hand.Type("Gone"); // typed, then OK without Enter: not kept
        hand.ClickInto(TitleField);
        hand.Type("My Disc");
        hand.Key(VK_RETURN); // Enter in the title field does nothing
        seen.push_back(hand.Row(0) + "|" + hand.Row(1) + "|" + hand.Row(2));
        return SaveKey;
    });
    std::vector<std::string> expected = {"Name CD",
                                         "CD Title",
                                         "untitled",
                                         "Track 01",
                                         "untitled1",
                                         "Intro|Track 02|untitled2",
                                         "untitled2|Track 03",
                                         "Finale|2",
                                         "0|Intro",
                                         "Intro|untitled2|Finale"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(Setting(Section, "Title"), "My Disc");
    EXPECT_EQ(Setting(Section, "1"), "Intro");
    EXPECT_EQ(Setting(Section, "2"), "untitled2") << "an unchanged row is written too";
    EXPECT_EQ(Setting(Section, "3"), "Finale");
    EXPECT_EQ(Shown(IDC_TITLE), "My Disc");
    EXPECT_EQ(Shown(TrackLine), "Track 01: Intro");

    // Another disc of exactly the same length has the same names.
    SimCdInsertDisc(AudioDisc({100, 65}));
    Pump(2000);
    EXPECT_EQ(Shown(IDC_TITLE), "My Disc");
    EXPECT_EQ(Shown(TrackLine), "Track 01: Intro");
}

TEST_F(NameCdTest, CancelAndEscLeaveTheFileAsItWas) {
    WriteSettingsFile("[11522]\r\nTitle=Kept\r\n1=One\r\n");
    StartWithDisc(AudioDisc({70, 65, 30}));
    std::string before = SettingsFileContents();
    for (WPARAM leave : {WPARAM(DiscardKey), WPARAM(VK_ESCAPE)}) {
        NameCd([leave](DialogHand &hand) {
            hand.Type("Changed");
            hand.Key(VK_RETURN);
            hand.ClickInto(TitleField);
            hand.Type("Other");
            if (leave == VK_ESCAPE) {
                hand.Key(VK_ESCAPE);
                return 0;
            }
            return DiscardKey;
        });
        EXPECT_EQ(SettingsFileContents(), before);
    }
    EXPECT_EQ(Shown(IDC_TITLE), "Kept");
}

// A settings file that cannot be written: OK says so at once and the dialog
// stays open with what was typed; the panel keeps the stored title.
TEST_F(NameCdTest, AFailedSaveIsToldAndKeepsTheDialogOpen) {
    WriteSettingsFile("[11522]\r\nTitle=Kept\r\n");
    StartWithDisc(AudioDisc({70, 65, 30}));
    MakeSettingsFileReadOnly();
    std::string told, kept;
    bool stillOpen = false;
    NameCd([&](DialogHand &hand) {
        hand.ClickInto(TitleField);
        hand.Type("New");
        HWND dialog = FindWindowA("#32770", "Name CD");
        PostMessageA(GetDlgItem(dialog, SaveKey), BM_CLICK, 0, 0);
        told = AnswerBoxInDialog("sonikbay32 error", IDOK);
        Sleep(100);
        stillOpen = IsWindow(dialog) != FALSE;
        kept = hand.Text(TitleField);
        return DiscardKey;
    });
    EXPECT_EQ(told, "Can't save settings");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(kept, "New");
    EXPECT_EQ(Shown(IDC_TITLE), "Kept");
}

TEST_F(NameCdTest, OverlongAndDamagedNamesShowWhatFits) {
    std::string title(500, 'T');
    std::string name(300, 'n');
    WriteSettingsFile("[11522]\r\nTitle=" + title + "\r\n1=" + name +
                      "\r\n2=\x01\x7f\xff garbage\r\n");
    StartWithDisc(AudioDisc({70, 65, 30}));
    EXPECT_EQ(Shown(IDC_TITLE), std::string(26, 'T'));
    EXPECT_EQ(Shown(TrackLine), "Track 01: " + std::string(127, 'n'));
    std::vector<size_t> lengths;
    NameCd([&lengths](DialogHand &hand) {
        lengths = {hand.Text(TitleField).size(), hand.Row(0).size(), hand.Row(1).size()};
        hand.ClickInto(TitleField);
        hand.Type(std::string(200, 'x')); // the field takes what the file can keep
        lengths.push_back(hand.Text(TitleField).size());
        return SaveKey;
    });
    EXPECT_EQ(lengths, (std::vector<size_t>{127, 127, 11, 127}));
    EXPECT_EQ(Setting(Section, "Title"), std::string(127, 'x'));
    EXPECT_EQ(Shown(IDC_TITLE), std::string(26, 'x'));
}

} // namespace
