// The playlist editor on the simulated card: the platform's classic file
// dialog opened with the launcher key and worked by the robot with clicks
// and keys; what OK, Cancel and the editor's keys leave in the settings file
// and the playlist panel.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "cdplaylist/playlist_editor.h"
#include "cdplaylist/sequencer.h"
#include "panekit/resources/panel_ids.h"
#include "players/midi_panel.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int Collections = 1151, Files = 1120, Directories = 1121, Drives = 1137;
constexpr int FileTypes = 1136, NameLabel = 1090, Entries = 1061, EntryTexts = 1069;
constexpr int AddKey = 2000, AddAllKey = 1064, InsertKey = 1066, ClearKey = 1065;
constexpr int DeleteCollectionKey = 1068, RepeatKey = 1073, SaveKey = 1060;

// A person at the editor, on the robot's thread.
class EditorHand {
  public:
    explicit EditorHand(HWND dialog) : dialog_(dialog) {}

    void Settle() {
        for (int i = 0; i < 4; ++i) {
            SendMessageA(dialog_, WM_NULL, 0, 0);
            Sleep(15);
        }
    }
    void Press(int id) {
        PostMessageA(GetDlgItem(dialog_, id), BM_CLICK, 0, 0);
        Settle();
    }
    // A click on a row of a list; with control held it adds to the selection.
    void ClickRow(int list, int row, bool control = false, bool twice = false) {
        HWND box = GetDlgItem(dialog_, list);
        RECT rect{}, client{};
        GetClientRect(box, &client);
        SendMessageA(box, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        if (rect.bottom > client.bottom) { // scrolled into view first
            SendMessageA(box, LB_SETTOPINDEX, row, 0);
            SendMessageA(box, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        }
        LPARAM at = MAKELPARAM(rect.left + 4, (rect.top + rect.bottom) / 2);
        WPARAM keys = MK_LBUTTON | (control ? MK_CONTROL : 0);
        PostMessageA(box, WM_LBUTTONDOWN, keys, at);
        PostMessageA(box, WM_LBUTTONUP, keys & ~MK_LBUTTON, at);
        if (twice) {
            PostMessageA(box, WM_LBUTTONDBLCLK, keys, at);
            PostMessageA(box, WM_LBUTTONUP, keys & ~MK_LBUTTON, at);
        }
        Settle();
    }
    // Chooses a file type with the arrow keys, as from the keyboard.
    void ChooseType(int index) {
        HWND box = GetDlgItem(dialog_, FileTypes);
        SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
        int now = static_cast<int>(SendMessageA(box, CB_GETCURSEL, 0, 0));
        for (; now != index; now += now < index ? 1 : -1) {
            WPARAM key = now < index ? VK_DOWN : VK_UP;
            PostMessageA(box, WM_KEYDOWN, key, 1);
            PostMessageA(box, WM_KEYUP, key, 0xC0000001);
            Settle();
        }
    }
    // Types a directory and its pattern into the file name and confirms it.
    void Browse(const std::string &directory, const char *pattern) {
        std::string typed = directory + "\\" + pattern;
        SendDlgItemMessageA(dialog_, edt1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        PostMessageA(dialog_, WM_COMMAND, IDOK, 0);
        Settle();
    }
    void SetName(const std::string &name) {
        SendDlgItemMessageA(dialog_, Collections, WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(name.c_str()));
        Settle();
    }
    std::vector<std::string> Rows(int list) {
        std::vector<std::string> rows;
        LRESULT count = SendDlgItemMessageA(dialog_, list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char row[512] = "";
            SendDlgItemMessageA(dialog_, list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
            rows.push_back(row);
        }
        return rows;
    }
    int Count(int id, UINT message = LB_GETCOUNT) {
        return static_cast<int>(SendDlgItemMessageA(dialog_, id, message, 0, 0));
    }
    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE; }
    std::string Text(int id) {
        char text[512] = "";
        SendDlgItemMessageA(dialog_, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // A collection chosen in the box, as with the mouse.
    void ChooseCollection(int row) {
        HWND box = GetDlgItem(dialog_, Collections);
        SendMessageA(box, CB_SETCURSEL, row, 0);
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(Collections, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box));
        Settle();
    }
    // Export... and the path typed into its Save dialog.
    void ExportTo(const std::string &path) {
        Press(1067);
        for (int tries = 0; tries < 100; ++tries, Sleep(20)) {
            HWND save = nullptr;
            while ((save = FindWindowExA(nullptr, save, "#32770", nullptr)) != nullptr)
                if (GetWindow(save, GW_OWNER) == dialog_ && IsWindowVisible(save))
                    break;
            if (save == nullptr)
                continue;
            HWND field = GetDlgItem(save, cmb13) ? GetDlgItem(save, cmb13) : GetDlgItem(save, edt1);
            SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
            PostMessageA(save, WM_COMMAND, IDOK, 0);
            for (int wait = 0; IsWindow(save) && wait < 100; ++wait)
                Sleep(20);
            break;
        }
        Settle();
    }
    // The box with this caption shown within a second, answered with the
    // given button: its text, or "" when none came.
    std::string AnswerBox(const char *caption, int button) {
        std::string text = AnswerBoxInDialog(caption, button);
        Settle();
        return text;
    }

  private:
    HWND dialog_;
};

std::string Lower(std::string text) {
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

class PlaylistEditorTest : public StationTest {
  protected:
    void TearDown() override {
        StationTest::TearDown();
        CurrentPlayer = nullptr;
        PlaylistRunning = 0;
        CurrentEntryIndex = 0;
        LitIndicator = 0;
    }

    void StartWith(const std::string &settings, bool disc) {
        WriteSettingsFile("[Mixer]\r\nCDDISPLAY=1\r\nMIDIDISPLAY=2\r\nWAVEDISPLAY=3\r\n"
                          "MIXDISPLAY=0\r\nMULTIDISPLAY=4\r\n" +
                          settings);
        SimCardConfig card;
        card.mci.cd.discLoaded = disc;
        if (disc)
            card.mci.cd.disc = AudioDisc({70, 65, 30}); // 11522, three tracks
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        robot.Forget();
    }

    // Opens the editor with the launcher key; the script works in it and
    // answers the key that leaves it. A dialog still open after 60 s is
    // cancelled, so that a failing script never hangs the run.
    void Edit(std::function<int(EditorHand &)> script) {
        char directory[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof directory, directory);
        std::atomic<bool> done{false};
        std::atomic<int> scripts{0}; // scripts still running on the robot's thread
        robot.SetAnswer([script, &scripts](const SeenBox &box) -> int {
            if (box.caption != "PlayList")
                return 0;
            ++scripts;
            EditorHand hand(FindWindowA("#32770", "PlayList"));
            hand.Settle();
            int key = script(hand);
            --scripts;
            return key;
        });
        std::thread guard([&done] {
            for (int waited = 0; waited < 60000 && !done; waited += 50)
                Sleep(50);
            while (!done) {
                HWND dialog = FindWindowA("#32770", "PlayList");
                if (dialog != nullptr)
                    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                Sleep(200);
            }
        });
        SendMessageA(LauncherBar, WM_COMMAND, IDC_EDIT_PLAYLIST, 0);
        // A dialog that closed before its script ended (a failing test) must
        // not leave the script writing into the test's ended locals.
        while (scripts > 0)
            Pump();
        done = true;
        guard.join();
        robot.SetAnswer(nullptr);
        SetCurrentDirectoryA(directory); // the dialog browses by changing it
        Pump();
    }
};

// Without a disc the CD Track filter lists nothing, and the disc binding of
// saved CD entries goes.
TEST_F(PlaylistEditorTest, WithoutADiscNoTracksAreListedAndSavedTracksLoseTheirDisc) {
    StartWith("[PlayList]\r\nExt=3\r\n[Listuntitled]\r\n0=0002.CD\r\n1=ENDFLAG.END\r\n"
              "CD_ID=11522\r\n",
              false);
    std::vector<std::string> seen;
    Edit([&seen](EditorHand &hand) {
        seen = {std::to_string(hand.Count(Files)), std::to_string(hand.Enabled(Directories)),
                std::to_string(hand.Enabled(Drives)), hand.Text(NameLabel)};
        hand.Press(RepeatKey);
        return SaveKey;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"0", "1", "1", "File Name"}));
    EXPECT_EQ(Setting("PlayList", "Ext"), "3");
    EXPECT_EQ(Setting("Listuntitled", "0"), "0002.CD");
    EXPECT_EQ(Setting("Listuntitled", "CD_ID"), "<missing>");
    EXPECT_EQ(Setting("Mixer", "PLAYMODE"), "1");
    EXPECT_EQ(ControlText(PlaylistPanel, 7007), "Repeat");
}

TEST_F(PlaylistEditorTest, TracksOneAndThreeAreStoredAndBoundToTheDiscOnOk) {
    StartWith("[PlayList]\r\nExt=1\r\n[11522]\r\n3=Finale\r\n", true);
    std::vector<std::string> seen;
    Edit([&seen](EditorHand &hand) {
        hand.ChooseType(3);
        seen.push_back(hand.Text(NameLabel) + "|" + std::to_string(hand.Enabled(Directories)));
        hand.ClickRow(Files, 0);
        hand.Press(InsertKey); // nothing to insert before
        seen.push_back(std::to_string(hand.Count(Entries)));
        hand.ClickRow(Files, 2, true);
        hand.Press(AddKey);
        hand.ChooseType(4); // back to the files
        seen.push_back(hand.Text(NameLabel) + "|" + std::to_string(hand.Enabled(Directories)));
        return SaveKey;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"Track Name|0", "0", "File Name|1"}));
    EXPECT_EQ(Setting("Listuntitled", "0"), "0001.CD");
    EXPECT_EQ(Setting("Listuntitled", "1"), "0003.CD");
    EXPECT_EQ(Setting("Listuntitled", "2"), "ENDFLAG.END");
    EXPECT_EQ(Setting("Listuntitled", "CD_ID"), "11522") << SettingsFileContents();
    EXPECT_EQ(Setting("11522", "PlayListName"), "untitled");
    EXPECT_EQ(Setting("PlayListTitle", "Number"), "1");
    EXPECT_EQ(Setting("PlayList", "NowSelected"), "untitled");
    EXPECT_EQ(Setting("PlayList", "Ext"), "4");
    // The playlist panel shows the saved collection with the first entry loaded.
    EXPECT_EQ(ControlText(PlaylistPanel, 7007), "Single");
    EXPECT_EQ(SendDlgItemMessageA(PlaylistPanel, Entries, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(std::string(CurrentEntryText), "0001.CD");
    EXPECT_EQ(CurrentPlayer, CdPanel);
}

TEST_F(PlaylistEditorTest, FilesAppendInDialogOrderWithFullPathsAndA100thIsRefused) {
    std::string directory = MakeMediaDir("editor");
    for (const char *name : {"one.mid", "two.mid", "three.mid"})
        WriteSong(directory, name, 1);
    StartWith("[PlayList]\r\nExt=1\r\n", false);
    std::vector<std::string> listed, names, paths, refused;
    int rows = 0;
    Edit([&](EditorHand &hand) {
        hand.Browse(directory, "*.mid");
        listed = hand.Rows(Files);
        hand.ClickRow(Files, 0);
        hand.ClickRow(Files, 1, true);
        hand.ClickRow(Files, 2, true);
        hand.Press(AddKey);
        names = hand.Rows(Entries);
        paths = hand.Rows(EntryTexts);
        hand.ClickRow(Files, 1, false, true); // a double-click adds one more
        while (hand.Count(Entries) + 3 <= 99)
            hand.Press(AddAllKey);
        hand.Press(AddAllKey); // three more would make 100: none are added
        refused.push_back(hand.AnswerBox("sonikbay32 error", IDOK));
        refused.push_back(std::to_string(hand.Count(Entries)));
        hand.ClickRow(Files, 1, false, true);
        hand.ClickRow(Files, 1, false, true);
        hand.ClickRow(Files, 1, false, true); // the 100th
        refused.push_back(hand.AnswerBox("sonikbay32 error", IDOK));
        rows = hand.Count(Entries);
        return SaveKey;
    });
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(names, listed);
    ASSERT_EQ(paths.size(), 3u);
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(Lower(paths[i]), Lower(directory + "\\" + listed[i]));
    EXPECT_EQ(refused, (std::vector<std::string>{"A playlist holds at most 99 entries.", "97",
                                                 "A playlist holds at most 99 entries."}));
    EXPECT_EQ(rows, 99);
    EXPECT_EQ(Lower(Setting("Listuntitled", "3")), Lower(directory + "\\" + listed[1]));
    EXPECT_EQ(Lower(Setting("Listuntitled", "98")), Lower(directory + "\\" + listed[1]));
    EXPECT_EQ(Setting("Listuntitled", "99"), "ENDFLAG.END");
    EXPECT_EQ(Setting("Listuntitled", "100"), "<missing>");
    EXPECT_EQ(SendDlgItemMessageA(PlaylistPanel, Entries, LB_GETCOUNT, 0, 0), 99);
}

// A selection too long for the dialog's buffer, or a path too long for an
// entry, is reported and adds nothing rather than a cut path.
TEST_F(PlaylistEditorTest, SelectionsAndPathsThatWouldNotFitAreReportedNotCut) {
    std::string directory = MakeMediaDir("editor-long");
    directory += "\\" + std::string(165 - directory.size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    for (int i = 10; i < 22; ++i) // 12 names of 88 characters
        WriteSong(directory, (std::string(82, 'n') + std::to_string(i) + ".mid").c_str(), 1);
    StartWith("[PlayList]\r\nExt=1\r\n", false);
    std::vector<std::string> seen;
    Edit([&](EditorHand &hand) {
        hand.Browse(directory, "*.mid");
        seen.push_back(std::to_string(hand.Count(Files)));
        for (int row = 0; row < 12; ++row)
            hand.ClickRow(Files, row, row > 0);
        hand.Press(AddKey);
        seen.push_back(hand.AnswerBox("sonikbay32 error", IDOK));
        hand.ClickRow(Files, 3);
        hand.Press(AddKey);
        seen.push_back(hand.AnswerBox("sonikbay32 error", IDOK).substr(0, 40));
        seen.push_back(std::to_string(hand.Count(Entries)));
        return IDCANCEL;
    });
    EXPECT_EQ(
        seen,
        (std::vector<std::string>{
            "12", "The chosen files do not fit in one selection.\nChoose fewer files at a time.",
            "A path is too long for the playlist:\n" + directory.substr(0, 3), "0"}));
}

TEST_F(PlaylistEditorTest, ClearAsksOnlyWhenThereIsSomethingAndTheOnlyCollectionStays) {
    StartWith("[PlayList]\r\nExt=3\r\n", true);
    std::vector<std::string> seen;
    Edit([&seen](EditorHand &hand) {
        hand.Press(ClearKey);
        seen.push_back(hand.AnswerBox("sonikbay32", IDCANCEL));
        hand.Press(DeleteCollectionKey);
        seen.push_back(std::to_string(hand.Count(Collections, CB_GETCOUNT)));
        hand.Press(AddAllKey);
        for (int answer : {IDCANCEL, IDOK}) {
            hand.Press(ClearKey);
            std::string asked = hand.AnswerBox("sonikbay32", answer);
            seen.push_back(asked + "|" + std::to_string(hand.Count(Entries)) +
                           std::to_string(hand.Count(EntryTexts)));
        }
        return IDCANCEL;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"", "1", "Clear PlayList OK?|33",
                                              "Clear PlayList OK?|00"}));
}

// Deleting the collection on show loads the one the box then names, so that
// OK cannot save the deleted rows over another collection.
TEST_F(PlaylistEditorTest, DeletingTheShownCollectionShowsTheNextOne) {
    StartWith("[PlayList]\r\nNowSelected=mix\r\n[PlayListTitle]\r\nNumber=2\r\n1=mix\r\n"
              "2=other\r\n[Listmix]\r\n0=C:\\a.mid\r\n1=ENDFLAG.END\r\n"
              "[Listother]\r\n0=C:\\b.mid\r\n1=ENDFLAG.END\r\n",
              false);
    std::vector<std::string> shown;
    Edit([&shown](EditorHand &hand) {
        hand.SetName("mix");
        hand.Press(DeleteCollectionKey);
        hand.AnswerBox("sonikbay32", IDOK);
        shown = hand.Rows(Entries);
        return SaveKey;
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"b.mid"}));
    EXPECT_EQ(Setting("Listother", "0"), "C:\\b.mid");
    EXPECT_EQ(Setting("Listmix", "0"), "<missing>");
}

// A collection goes only by its exact name and after asking; rows go over
// another collection's only when the user says so.
TEST_F(PlaylistEditorTest, NothingIsDeletedOrReplacedUnasked) {
    StartWith("[PlayList]\r\nNowSelected=mix\r\n[PlayListTitle]\r\nNumber=2\r\n1=mix\r\n"
              "2=rockabilly\r\n[Listmix]\r\n0=C:\\a.mid\r\n1=ENDFLAG.END\r\n"
              "[Listrockabilly]\r\n0=C:\\b.mid\r\n1=ENDFLAG.END\r\n",
              false);
    std::vector<std::string> seen;
    Edit([&seen](EditorHand &hand) {
        hand.SetName("");
        hand.Press(DeleteCollectionKey);
        hand.SetName("rock");
        hand.Press(DeleteCollectionKey);
        seen.push_back(hand.AnswerBox("sonikbay32 error", IDOK));
        hand.SetName("rockabilly");
        hand.Press(DeleteCollectionKey);
        seen.push_back(hand.AnswerBox("sonikbay32", IDCANCEL));
        seen.push_back(std::to_string(hand.Count(Collections, CB_GETCOUNT)));
        hand.Press(SaveKey); // mix's rows under the name rockabilly
        seen.push_back(hand.AnswerBox("sonikbay32", IDCANCEL));
        seen.push_back(hand.Text(Collections) + "|" + std::to_string(hand.Count(Entries)));
        hand.Press(SaveKey);
        seen.push_back(hand.AnswerBox("sonikbay32", IDOK));
        return IDCANCEL; // the save has closed the dialog already
    });
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "There is no collection \"rock\".", "Delete the collection \"rockabilly\"?",
                        "2", "The collection \"rockabilly\" exists.\nReplace it?", "rockabilly|1",
                        "The collection \"rockabilly\" exists.\nReplace it?"}));
    EXPECT_EQ(Setting("Listrockabilly", "0"), "C:\\a.mid");
    EXPECT_EQ(Setting("Listmix", "0"), "C:\\a.mid");
}

// A single file whose directory has a blank, where the text before the blank
// names a directory too, is that one file.
TEST_F(PlaylistEditorTest, ABlankInADirectoryNameIsPartOfThePath) {
    std::string base = MakeMediaDir("editor-blank");
    CreateDirectoryA((base + "\\Music").c_str(), nullptr);
    std::string folder = base + "\\Music Old";
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteSong(folder, "a.mid", 1);
    StartWith("[PlayList]\r\nExt=1\r\n", false);
    std::vector<std::string> paths;
    Edit([&](EditorHand &hand) {
        hand.Browse(folder, "*.mid");
        hand.ClickRow(Files, 0);
        hand.Press(AddKey);
        paths = hand.Rows(EntryTexts);
        return IDCANCEL;
    });
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(Lower(paths[0]), Lower(folder + "\\a.mid"));
}

TEST_F(PlaylistEditorTest, SavingAnEmptyCollectionStopsTheOldEntry) {
    std::string song = WriteSong(MakeMediaDir("editor-empty"), "a.mid", 20);
    StartWith("[Listuntitled]\r\n0=" + song + "\r\n1=ENDFLAG.END\r\n", false);
    SendDlgItemMessageA(PlaylistPanel, Entries, LB_SETCURSEL, 0, 0);
    SendMessageA(PlaylistPanel, WM_COMMAND, IDC_PLAY, 0);
    ASSERT_EQ(MidiPlayState, MidiPlaying);
    Edit([](EditorHand &hand) {
        hand.Press(ClearKey);
        hand.AnswerBox("sonikbay32", IDOK);
        return SaveKey;
    });
    EXPECT_EQ(MidiPlayState, MidiStopped);
    EXPECT_EQ(CurrentPlayer, nullptr);
    EXPECT_EQ(PlaylistRunning, 0);
}

// An Add from row 8 on scrolls both lists to 7 rows above the first added
// row; Delete takes the selected rows from both lists; a name chosen from
// the box shows that collection with its disc.
TEST_F(PlaylistEditorTest, RowsScrollAndGoAndCollectionsAreChosenFromTheBox) {
    std::string directory = MakeMediaDir("editor-rows");
    for (const char *name : {"one.mid", "two.mid", "three.mid"})
        WriteSong(directory, name, 1);
    StartWith("[PlayList]\r\nExt=1\r\n[PlayListTitle]\r\nNumber=2\r\n1=untitled\r\n"
              "2=discs\r\n[Listdiscs]\r\n0=0002.CD\r\n1=ENDFLAG.END\r\nCD_ID=11522\r\n"
              "[11522]\r\nTitle=Three\r\n",
              false);
    std::vector<std::string> seen;
    Edit([&](EditorHand &hand) {
        hand.Browse(directory, "*.mid");
        for (int i = 0; i < 10; ++i)
            hand.Press(AddAllKey);
        for (int row = 0; row < 3; ++row)
            hand.ClickRow(Files, row, row > 0);
        hand.Press(AddKey); // rows 30 to 32
        HWND entries = GetDlgItem(FindWindowA("#32770", "PlayList"), Entries);
        RECT client{};
        GetClientRect(entries, &client);
        int shown = client.bottom / static_cast<int>(SendMessageA(entries, LB_GETITEMHEIGHT, 0, 0));
        seen.push_back(std::to_string(std::min(30 - 7, 33 - shown)) + "|" +
                       std::to_string(hand.Count(Entries, LB_GETTOPINDEX)) + "|" +
                       std::to_string(hand.Count(EntryTexts, LB_GETTOPINDEX)));
        hand.ClickRow(Entries, 9);
        hand.ClickRow(Entries, 11, true);
        hand.Press(1062); // Delete
        seen.push_back(std::to_string(hand.Count(Entries)) +
                       std::to_string(hand.Count(EntryTexts)) + "|" + hand.Rows(Entries)[9] + "|" +
                       std::to_string(hand.Count(Entries, LB_GETSELCOUNT)));
        hand.ChooseCollection(1);
        seen.push_back(hand.Rows(EntryTexts)[0] + "|" + hand.Text(1131));
        return IDCANCEL;
    });
    ASSERT_EQ(seen.size(), 3u);
    std::string top = seen[0].substr(0, seen[0].find('|'));
    EXPECT_EQ(seen[0], top + "|" + top + "|" + top) << "7 rows above the first added, or the end";
    EXPECT_EQ(seen[1].substr(0, 5), "3131|");
    EXPECT_EQ(seen[1].back(), '1') << "the row at the first deleted place is selected";
    EXPECT_EQ(seen[2], "0002.CD|Three");
}

TEST_F(PlaylistEditorTest, AFailedSaveIsToldAndKeepsTheEditorOpen) {
    StartWith("", true);
    MakeSettingsFileReadOnly();
    std::vector<std::string> seen;
    Edit([&seen](EditorHand &hand) {
        hand.ChooseType(3);
        hand.Press(AddAllKey);
        hand.Press(SaveKey);
        seen.push_back(hand.AnswerBox("sonikbay32 error", IDOK));
        seen.push_back(std::to_string(IsWindow(FindWindowA("#32770", "PlayList")) != FALSE) +
                       std::to_string(hand.Count(Entries)));
        return IDCANCEL;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"Can't save settings", "13"}));
}

TEST_F(PlaylistEditorTest, CancelWritesNothingButTheFileType) {
    std::string settings = "[PlayList]\r\nExt=1\r\nNowSelected=mix\r\n"
                           "[PlayListTitle]\r\nNumber=2\r\n1=mix\r\n2=other\r\n"
                           "[Listmix]\r\n0=0001.CD\r\n1=ENDFLAG.END\r\nCD_ID=11522\r\n";
    StartWith(settings, true);
    std::string before = SettingsFileContents();
    std::vector<std::string> shown;
    Edit([&shown](EditorHand &hand) {
        shown = hand.Rows(Entries);
        hand.ChooseType(3);
        hand.Press(AddAllKey);
        hand.Press(RepeatKey);
        hand.SetName("fresh");
        return IDCANCEL;
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"untitled1"}));
    std::string expected = before;
    expected.replace(expected.find("Ext=1"), 5, "Ext=3");
    EXPECT_EQ(SettingsFileContents(), expected);
    EXPECT_EQ(std::string(PlayListName), "untitled") << "the current collection is unchanged";
}

TEST_F(PlaylistEditorTest, ANameThatWouldNotSurviveARestartIsRefusedWithAMessage) {
    StartWith("", true);
    std::string tooLong(60, 'n');
    std::string longest(59, 'k');
    std::vector<std::string> seen;
    Edit([&](EditorHand &hand) {
        hand.ChooseType(3);
        hand.Press(AddAllKey);
        hand.SetName(tooLong);
        hand.Press(SaveKey);
        seen.push_back(hand.AnswerBox("sonikbay32 error", IDOK));
        seen.push_back(std::to_string(hand.Count(Entries)));
        hand.SetName(longest);
        return SaveKey;
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"A collection name needs 1 to 59 characters.", "3"}));
    EXPECT_EQ(Setting(("List" + tooLong).c_str(), "0"), "<missing>");
    EXPECT_EQ(Setting(("List" + longest).c_str(), "2"), "0003.CD");
    EXPECT_EQ(std::string(PlayListName), longest);
    EXPECT_EQ(std::string(PlayListEntry), "List" + longest);
    ASSERT_EQ(Close(), 0);
    EXPECT_EQ(Setting("Mixer", "PlayListEntry"), "List" + longest) << "read back whole";
}

// Export writes the rows on show as an .m3u, disc tracks as comment lines
// with their disc; the file taken in again gives the same collection.
TEST_F(PlaylistEditorTest, AnExportedPlaylistImportsAsTheSameCollection) {
    std::string directory = MakeMediaDir("export");
    std::string song = WriteSong(directory, "a.mid", 3);
    std::string take = directory + "\\b.wav";
    WriteBytes(take, MakeWave(PcmFormat(1, 11025, 8), 500));
    StartWith("[PlayList]\r\nNowSelected=trip\r\n[PlayListTitle]\r\nNumber=2\r\n1=untitled\r\n"
              "2=trip\r\n[Listtrip]\r\n0=" +
                  song + "\r\n1=0002.CD\r\n2=" + take + "\r\n3=ENDFLAG.END\r\nCD_ID=11522\r\n",
              true);
    std::string exported = directory + "\\trip-copy.m3u";
    DeleteFileA(exported.c_str());
    Edit([&exported](EditorHand &hand) {
        hand.ExportTo(exported);
        return IDCANCEL;
    });
    Bytes written;
    ASSERT_TRUE(ReadBytes(exported, written));
    EXPECT_EQ(std::string(written.begin(), written.end()),
              "#EXTM3U\r\n" + song + "\r\n#SONIKBAY-CD:11522:0002.CD\r\n" + take + "\r\n");

    // Chosen in the editor's file list, it is made a collection of its own.
    int listed = 0;
    Edit([&](EditorHand &hand) {
        hand.ChooseType(5);
        hand.Browse(directory, "*.m3u");
        hand.ClickRow(Files, 0);
        hand.Press(AddKey);
        listed = hand.Count(Collections, CB_GETCOUNT);
        return IDCANCEL;
    });
    for (const char *key : {"0", "1", "2", "3", "CD_ID"})
        EXPECT_EQ(Setting("Listtrip-copy", key), Setting("Listtrip", key)) << key;
    EXPECT_EQ(listed, 3);
    EXPECT_EQ(Setting("PlayListTitle", "3"), "trip-copy");
    EXPECT_STREQ(PlayListEntry, "Listtrip-copy");
}

// Export binds disc tracks to the disc of their collection, whatever the
// drive holds, leaves out tracks of a disc nobody knows (and says so), and
// leaves the editor's classic dialog in the folder on show, from which Add
// All takes the media files (not the playlist files) with their paths.
TEST_F(PlaylistEditorTest, ExportKeepsTracksWithTheirDiscAndTheEditorInItsFolder) {
    std::string shown = MakeMediaDir("export-shown"), elsewhere = MakeMediaDir("export-disc");
    std::string song = WriteSong(shown, "a.mid", 1);
    WriteSong(shown, "b.mid", 1);
    WriteBytes(shown + "\\other.m3u", Bytes{'b', '.', 'm', 'i', 'd'});
    StartWith("[PlayList]\r\nNowSelected=trip\r\n[PlayListTitle]\r\nNumber=3\r\n1=untitled\r\n"
              "2=trip\r\n3=loose\r\n[Listtrip]\r\n0=" +
                  song + "\r\n1=0002.CD\r\n2=ENDFLAG.END\r\nCD_ID=11522\r\n[Listloose]\r\n0=" +
                  song + "\r\n1=0002.CD\r\n2=ENDFLAG.END\r\n",
              false);
    std::string bound = elsewhere + "\\bound.m3u", unbound = elsewhere + "\\unbound.m3u";
    DeleteFileA(bound.c_str());
    DeleteFileA(unbound.c_str());
    std::string report;
    std::vector<std::string> added;
    Edit([&](EditorHand &hand) {
        hand.Browse(shown, "*.*");
        hand.ExportTo(bound);
        hand.ChooseCollection(2);
        hand.ExportTo(unbound);
        report = hand.AnswerBox("sonikbay32", IDOK);
        hand.Press(AddAllKey);
        added = hand.Rows(EntryTexts);
        return IDCANCEL;
    });
    Bytes written;
    ASSERT_TRUE(ReadBytes(bound, written));
    EXPECT_EQ(std::string(written.begin(), written.end()),
              "#EXTM3U\r\n" + song + "\r\n#SONIKBAY-CD:11522:0002.CD\r\n");
    ASSERT_TRUE(ReadBytes(unbound, written));
    EXPECT_EQ(std::string(written.begin(), written.end()), "#EXTM3U\r\n" + song + "\r\n");
    EXPECT_EQ(report, "1 of 2 entries written to \"unbound.m3u\".\nNot written: 1 disc tracks of a "
                      "disc that is not known.");
    ASSERT_EQ(added.size(), 4u) << "a playlist file is imported only when chosen by itself";
    EXPECT_EQ(Lower(added[3].substr(0, shown.size())), Lower(shown)) << added[3];
    EXPECT_EQ(Setting("Listother", "0"), "<missing>");
}

// A playlist file imported over the collection on show replaces the rows
// on show too, so that OK keeps the import.
TEST_F(PlaylistEditorTest, AnImportOverTheShownCollectionIsWhatOkKeeps) {
    std::string directory = MakeMediaDir("import-shown");
    std::string old = WriteSong(directory, "old.mid", 1);
    std::string fresh = WriteSong(directory, "new.mid", 1);
    std::string playlist = "#EXTM3U\r\nnew.mid\r\n";
    WriteBytes(directory + "\\mix.m3u", Bytes(playlist.begin(), playlist.end()));
    StartWith("[PlayList]\r\nNowSelected=mix\r\n[PlayListTitle]\r\nNumber=2\r\n1=untitled\r\n"
              "2=mix\r\n[Listmix]\r\n0=" +
                  old + "\r\n1=ENDFLAG.END\r\n",
              false);
    std::vector<std::string> shown;
    Edit([&](EditorHand &hand) {
        hand.ChooseType(5);
        hand.Browse(directory, "*.m3u");
        hand.ClickRow(Files, 0);
        hand.Press(AddKey);
        hand.AnswerBox("sonikbay32", IDOK); // replace "mix"
        shown = hand.Rows(EntryTexts);
        return SaveKey;
    });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(Lower(shown[0]), Lower(fresh));
    EXPECT_EQ(Lower(Setting("Listmix", "0")), Lower(fresh));
}

// OK refuses with a message, before it writes anything, a row longer than
// an entry may be (from a settings file written by hand; written empty, it
// ended the collection there) and a name the full list has no room for.
TEST_F(PlaylistEditorTest, OkRefusesWhatItCannotSaveWholeBeforeWriting) {
    std::string longPath = "C:\\" + std::string(248, 'x') + ".mid"; // 255 characters
    std::string settings = "[Listuntitled]\r\n0=C:\\a.mid\r\n1=" + longPath +
                           "\r\n2=C:\\b.mid\r\n3=ENDFLAG.END\r\n[PlayListTitle]\r\nNumber=100\r\n";
    for (int i = 1; i <= 100; ++i)
        settings += std::to_string(i) + (i == 1 ? "=untitled" : "=c" + std::to_string(i)) + "\r\n";
    StartWith(settings, false);
    std::vector<std::string> refusals;
    Edit([&](EditorHand &hand) {
        hand.Press(SaveKey);
        refusals.push_back(hand.AnswerBox("sonikbay32 error", IDOK).substr(0, 38));
        hand.SetName("extra");
        hand.Press(SaveKey);
        refusals.push_back(hand.AnswerBox("sonikbay32 error", IDOK));
        return IDCANCEL;
    });
    EXPECT_EQ(refusals, (std::vector<std::string>{"An entry is too long for the playlist:",
                                                  "There is no room for another collection."}));
    EXPECT_EQ(Setting("Listuntitled", "1"), longPath);
    EXPECT_EQ(Setting("Listuntitled", "2"), "C:\\b.mid");
    EXPECT_EQ(Setting("Listextra", "0"), "<missing>");
}

// Windows 95 and NT 4.0 refuse a file dialog's request of any size but
// theirs: the size of every request the station hands over, read at the
// call through this program's imports.
std::vector<DWORD> RequestSizes;
ULONG_PTR PlatformOpen, PlatformSave;
BOOL WINAPI RecordOpen(LPOPENFILENAMEA request) {
    RequestSizes.push_back(request->lStructSize);
    return reinterpret_cast<decltype(&RecordOpen)>(PlatformOpen)(request);
}
BOOL WINAPI RecordSave(LPOPENFILENAMEA request) {
    RequestSizes.push_back(request->lStructSize);
    return reinterpret_cast<decltype(&RecordSave)>(PlatformSave)(request);
}

void RedirectImports(ULONG_PTR from, ULONG_PTR to) {
    auto *base = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
    auto *module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; module->Name != 0; ++module)
        for (auto *slot = reinterpret_cast<IMAGE_THUNK_DATA *>(base + module->FirstThunk);
             slot->u1.Function != 0; ++slot) {
            DWORD was = 0;
            if (slot->u1.Function != from ||
                !VirtualProtect(&slot->u1.Function, sizeof(ULONG_PTR), PAGE_READWRITE, &was))
                continue;
            slot->u1.Function = to;
            VirtualProtect(&slot->u1.Function, sizeof(ULONG_PTR), was, &was);
        }
}

TEST_F(PlaylistEditorTest, EveryFileDialogRequestHasTheSizeTheOldSystemsAccept) {
    std::string exported = MakeMediaDir("request-size") + "\\sized.m3u";
    DeleteFileA(exported.c_str());
    StartWith("", false);
    HMODULE dialogs = GetModuleHandleA("comdlg32");
    PlatformOpen = reinterpret_cast<ULONG_PTR>(GetProcAddress(dialogs, "GetOpenFileNameA"));
    PlatformSave = reinterpret_cast<ULONG_PTR>(GetProcAddress(dialogs, "GetSaveFileNameA"));
    RedirectImports(PlatformOpen, reinterpret_cast<ULONG_PTR>(RecordOpen));
    RedirectImports(PlatformSave, reinterpret_cast<ULONG_PTR>(RecordSave));
    Edit([&](EditorHand &hand) {
        hand.ExportTo(exported);
        return IDCANCEL;
    });
    RedirectImports(reinterpret_cast<ULONG_PTR>(RecordOpen), PlatformOpen);
    RedirectImports(reinterpret_cast<ULONG_PTR>(RecordSave), PlatformSave);
    const DWORD classic = OPENFILENAME_SIZE_VERSION_400A; // 76 bytes on 32-bit Windows
    EXPECT_EQ(RequestSizes, (std::vector<DWORD>{classic, classic}));
}

} // namespace
