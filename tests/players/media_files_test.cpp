// Dropped files reach the player of their extension, and the save question
// for a changed recording with its file dialog.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "players/media_files.h"
#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

class MediaFilesTest : public StationTest {
  protected:
    void StartStationHere() {
        ASSERT_EQ(Start(), 0 + StationRunning);
        Pump(100);
        robot.Forget();
        directory = MakeMediaDir("media_files");
    }

    std::vector<std::string> OpenedElements() {
        std::vector<std::string> opened;
        for (const SimMciCall &call : SimMciCallsOf(MCI_OPEN))
            if (call.deviceType != "cdaudio") // the CD panel's own, opened at start-up
                opened.push_back(call.text);
        return opened;
    }

    std::string directory;
};

TEST_F(MediaFilesTest, FilesGoByTheirOwnExtensionAndOthersAreRefusedByName) {
    StartStationHere();
    std::string mixedCase = WriteSong(directory, "song.Mid", 3);
    DropOnMainWindow({mixedCase});
    Pump(100);
    EXPECT_EQ(OpenedElements(), std::vector<std::string>{mixedCase});

    // Folders and names with periods: the file's own extension counts, and
    // the whole name before it titles the file.
    std::string folder = MakeMediaDir("My.Music");
    ClearSimMciLog();
    std::string versioned = WriteSong(folder, "song.v2.mid", 3);
    DropOnMainWindow({versioned});
    Pump(100);
    EXPECT_EQ(OpenedElements(), std::vector<std::string>{versioned});
    EXPECT_EQ(ControlText(MidiPanel, IDC_TITLE), "song.v2.mid");
    std::string intro = folder + "\\01. Intro.wav";
    WriteBytes(intro, MakeWave(PcmFormat(1, 11025, 8), 1000));
    DropOnMainWindow({intro});
    Pump(100);
    EXPECT_EQ(OpenedElements().back(), intro);
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE), "01. Intro 8Bit 11K");

    // Files of no device's are refused by name.
    ClearSimMciLog();
    DropOnMainWindow({directory + "\\song.wave"});
    DropOnMainWindow({folder + "\\song.mid.txt"});
    DropOnMainWindow({directory + "\\notes.txt"});
    Pump(100);
    EXPECT_TRUE(OpenedElements().empty());
    std::vector<std::string> refused;
    for (const SeenBox &box : robot.Seen())
        refused.push_back(box.text.substr(0, box.text.find('\n')));
    std::sort(refused.begin(), refused.end());
    EXPECT_EQ(refused, (std::vector<std::string>{"[notes.txt]", "[song.mid.txt]", "[song.wave]"}));

    EXPECT_EQ(DispatchMediaFile("song.wave"), 0);
    EXPECT_EQ(DispatchMediaFile((directory + "\\take.WAV").c_str()), 1);
    EXPECT_STREQ(PendingMediaPath, (directory + "\\take.WAV").c_str());
}

// Several dropped files play from the first of them that plays, as a
// collection (see the shell's tests of files from outside).
TEST_F(MediaFilesTest, SeveralDroppedFilesPlayFromTheFirstThatPlays) {
    StartStationHere();
    std::string first = WriteSong(directory, "first.mid", 3);
    std::string second = WriteSong(directory, "second.rmi", 3);
    DropOnMainWindow({first, second});
    Pump(300);
    ASSERT_FALSE(OpenedElements().empty());
    EXPECT_EQ(OpenedElements().front(), first);

    // The collection of the same folder is replaced when the user says so.
    ClearSimMciLog();
    robot.SetAnswer([](const SeenBox &) { return IDOK; });
    DropOnMainWindow({directory + "\\notes.txt", second});
    Pump(300);
    ASSERT_FALSE(OpenedElements().empty());
    EXPECT_EQ(OpenedElements().front(), second);
}

TEST_F(MediaFilesTest, ADroppedNameTooLongForTheStationIsRefusedNotCut) {
    StartStationHere();
    std::string longName = directory + "\\" + std::string(600, 'x') + ".mid";
    DropOnMainWindow({longName});
    Pump(300);
    EXPECT_TRUE(OpenedElements().empty());
    char expected[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_FILENAME_EXCED_RANGE, 0, expected, sizeof expected, nullptr);
    auto seen = robot.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "sonikbay32 error");
    EXPECT_EQ(seen[0].text, expected);
    EXPECT_EQ(seen[0].icon, BoxIcon::Error);
}

// A file whose path has the given length, in folders of 120 characters at
// most, written through the wide calls, which take paths longer than the
// ANSI ones do.
std::string WriteFileOfPathLength(std::string path, size_t length, const char *name,
                                  const Bytes &bytes) {
    while (path.size() + 1 + std::strlen(name) < length) {
        size_t room = length - path.size() - 1 - std::strlen(name);
        path += "\\" + std::string(std::min<size_t>(room - 1, 120), 'f');
        std::wstring wide = L"\\\\?\\" + std::wstring(path.begin(), path.end());
        CreateDirectoryW(wide.c_str(), nullptr);
    }
    path += std::string("\\") + name;
    std::wstring wide = L"\\\\?\\" + std::wstring(path.begin(), path.end());
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

// Long dropped paths: one of 258 characters opens that very file; one of
// about 300, more than the platform's file calls take, is refused by a
// message that names it, and the station keeps running.
TEST_F(MediaFilesTest, LongDroppedPathsOpenThatFileOrAreRefusedByName) {
    StartStationHere();
    Bytes wave = MakeWave(PcmFormat(1, 11025, 8), 1000);
    std::string fits = WriteFileOfPathLength(directory, 258, "fits.wav", wave);
    ASSERT_EQ(fits.size(), 258u);
    DropOnMainWindow({fits});
    Pump(200);
    EXPECT_TRUE(robot.Seen().empty());
    EXPECT_EQ(OpenedElements(), std::vector<std::string>{fits});

    for (const char *name : {"long.wav", "long.mid"}) {
        robot.Forget();
        ClearSimMciLog();
        std::string path = WriteFileOfPathLength(directory, 297, name, wave);
        DropOnMainWindow({path});
        Pump(200);
        ASSERT_EQ(robot.Seen().size(), 1u) << name;
        EXPECT_EQ(robot.Seen()[0].caption, "sonikbay32 error");
        EXPECT_EQ(robot.Seen()[0].text.substr(0, path.size() + 3), "[" + path + "]\n") << name;
        EXPECT_TRUE(OpenedElements().empty());
    }
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE), "fits 8Bit 11K");
    EXPECT_TRUE(IsWindow(MainWindow));
}

// A path of about 300 characters typed into the Open dialog of each file
// panel is refused by a message that names it while the dialog stays; the
// name then corrected opens that very file, and the station keeps running.
TEST_F(MediaFilesTest, ALongPathTypedIntoAnOpenDialogIsRefusedByName) {
    StartStationHere();
    struct Panel {
        int show;
        HWND *panel;
        const char *name;
        Bytes file;
    };
    for (const Panel &each :
         {Panel{IDC_SHOW_MIDI, &MidiPanel, "long.mid", MakeMidi(MidiSong{})},
          Panel{IDC_SHOW_WAVE, &WavePanel, "long.wav", MakeWave(PcmFormat(1, 11025, 8), 1000)},
          Panel{IDC_SHOW_VIDEO, &VideoPanel, "long.avi", MakeAvi(AviMovie{})}}) {
        SCOPED_TRACE(each.name);
        if (*each.panel == nullptr)
            PressLauncher(each.show);
        Pump(100);
        ASSERT_NE(*each.panel, nullptr);
        std::string path = WriteFileOfPathLength(directory, 297, each.name, each.file);
        std::string fits = directory + "\\" + each.name;
        WriteBytes(fits, each.file);
        robot.Forget();
        ClearSimMciLog();
        auto retype = TypeIntoFileDialog(fits);
        robot.SetAnswer([typeName = TypeIntoFileDialog(path), retype](const SeenBox &box) {
            if (box.caption != "sonikbay32 error")
                return typeName(box);
            retype(box);
            PostMessageA(FileDialogShown(), WM_COMMAND, IDOK, 0);
            return 0;
        });
        SendMessageA(*each.panel, WM_COMMAND, IDC_OPEN, 0);
        Pump(200);
        ASSERT_TRUE(IsWindow(MainWindow));
        std::vector<SeenBox> seen = robot.Seen();
        ASSERT_GE(seen.size(), 2u);
        EXPECT_EQ(seen[1].caption, "sonikbay32 error");
        EXPECT_EQ(seen[1].text.substr(0, path.size() + 3), "[" + path + "]\n");
        EXPECT_EQ(OpenedElements(), std::vector<std::string>{fits});
    }
}

// A device error has text: the platform's, or the station's own with the
// code where the platform has none (Wine's AVI device gives 5, for one).
TEST_F(MediaFilesTest, EveryDeviceErrorBoxHasText) {
    StartStationHere();
    char known[256] = "";
    Mci.getErrorString(MCIERR_FILE_NOT_FOUND, known, sizeof known);
    ShowMciError(MainWindow, MCIERR_FILE_NOT_FOUND);
    ShowMciError(MainWindow, 5);
    std::vector<SeenBox> seen = robot.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, known);
    EXPECT_EQ(seen[1].text, "Device error 5");
    EXPECT_EQ(seen[1].caption, "sonikbay32 error");
    EXPECT_EQ(seen[1].icon, BoxIcon::Error);
}

// A changed recording on the card's "waveaudio" device, as the WAVE panel
// leaves it after recording.
class SaveQuestionTest : public MediaFilesTest {
  protected:
    void SetUp() override {
        MediaFilesTest::SetUp();
        StartStationHere();
        RemoveFilesIn(directory); // takes saved by an earlier test or run
        MCI_OPEN_PARMSA open{};
        open.lpstrDeviceType = "waveaudio";
        open.lpstrElementName = "";
        ASSERT_EQ(Mci.sendCommand(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                                  reinterpret_cast<DWORD_PTR>(&open)),
                  0u);
        WaveDevice = open.wDeviceID;
        std::snprintf(WaveFilePath, sizeof WaveFilePath, "UNTITLED.WAV");
        std::snprintf(WaveFileTitle, sizeof WaveFileTitle, "UNTITLED.WAV");
        WaveModified = 1;
    }

    void TearDown() override {
        WaveModified = 0;
        MCI_GENERIC_PARMS close{};
        Mci.sendCommand(WaveDevice, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close));
        WaveDevice = 0;
        MediaFilesTest::TearDown();
    }

    // Answers the questions with the given buttons, in order, and the save
    // dialog with the given name, after choosing the filter when not 0.
    void Answer(std::vector<int> buttons, const std::string &name, int filterIndex = 0) {
        auto queue = std::make_shared<std::vector<int>>(std::move(buttons));
        auto typeName = TypeIntoFileDialog(name);
        robot.SetAnswer([queue, typeName, filterIndex](const SeenBox &box) {
            if (box.caption == "sonikbay32") {
                if (queue->empty())
                    return 0;
                int button = queue->front();
                queue->erase(queue->begin());
                return button;
            }
            if (filterIndex != 0)
                ChooseFilter(filterIndex);
            return typeName(box);
        });
    }

    static void ChooseFilter(int filterIndex) {
        HWND dialog = FileDialogShown();
        HWND filters = GetDlgItem(dialog, cmb1);
        if (filters == nullptr)
            return;
        SendMessageA(filters, CB_SETCURSEL, static_cast<WPARAM>(filterIndex - 1), 0);
        // As a pick from the list: the selection changes, then is confirmed.
        for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, code),
                         reinterpret_cast<LPARAM>(filters));
    }

    static void RemoveFilesIn(const std::string &folder) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return;
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    std::vector<SimMciCall> Saves() { return SimMciCallsOf(MCI_SAVE); }

    std::string BoxesSeen() {
        std::string list;
        for (const SeenBox &box : robot.Seen())
            list +=
                "[" + box.caption + ": " + box.text + " -> " + std::to_string(box.pressed) + "] ";
        return list;
    }

    bool Exists(const std::string &path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

TEST_F(SaveQuestionTest, WithNoChangesNothingIsAsked) {
    WaveModified = 0;
    EXPECT_EQ(ConfirmWaveChanges(), 1);
    EXPECT_TRUE(robot.Seen().empty());
}

TEST_F(SaveQuestionTest, NoDropsTheDataAndCancelKeepsIt) {
    Answer({IDNO}, "");
    EXPECT_EQ(ConfirmWaveChanges(), 1);
    auto seen = robot.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "sonikbay32");
    EXPECT_EQ(seen[0].text, "[UNTITLED.WAV]\nThis Wave data has changed.\nSave current changes?");
    EXPECT_EQ(seen[0].icon, BoxIcon::Question);
    EXPECT_EQ(seen[0].owner, GetAncestor(WavePanel, GA_ROOT));
    EXPECT_EQ(WaveModified, 1);

    robot.Forget();
    Answer({IDCANCEL}, "");
    EXPECT_EQ(ConfirmWaveChanges(), 0);
    EXPECT_EQ(WaveModified, 1);
    EXPECT_TRUE(Saves().empty());
}

TEST_F(SaveQuestionTest, YesSavesThroughTheDeviceWithWavAddedForTheWaveFilter) {
    std::string take = directory + "\\take1";
    Answer({IDYES}, take);
    EXPECT_EQ(ConfirmWaveChanges(), 1) << BoxesSeen();
    ASSERT_EQ(Saves().size(), 1u);
    EXPECT_EQ(Saves()[0].flags, DWORD(MCI_SAVE_FILE | MCI_WAIT));
    EXPECT_EQ(Saves()[0].text, take + ".wav");
    EXPECT_TRUE(Exists(take + ".wav"));
    EXPECT_EQ(WaveModified, 0);
}

TEST_F(SaveQuestionTest, TheAllFilesFilterSavesTheNameAsTyped) {
    std::string take = directory + "\\take1";
    Answer({IDYES}, take, AllFilesFilter);
    EXPECT_EQ(ConfirmWaveChanges(), 1) << BoxesSeen();
    ASSERT_EQ(Saves().size(), 1u);
    EXPECT_EQ(Saves()[0].text, take);
    EXPECT_EQ(FileRequest.nFilterIndex, DWORD(AllFilesFilter));
}

TEST_F(SaveQuestionTest, AnExistingFileIsReplacedOnlyAfterAskingWithNoAsDefault) {
    std::string take = directory + "\\take2.wav";
    ASSERT_TRUE(WriteBytes(take, Bytes{'o', 'l', 'd'}));
    Answer({IDYES, 0}, take); // the overwrite question gets its default key
    EXPECT_EQ(ConfirmWaveChanges(), 0);
    auto seen = robot.Seen();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.back().text, "[take2.wav]\nThis Wave file has been exist.\noverwrite?");
    EXPECT_EQ(seen.back().icon, BoxIcon::Question);
    EXPECT_EQ(seen.back().pressed, IDNO);
    EXPECT_TRUE(Saves().empty());
    EXPECT_EQ(WaveModified, 1);
    Bytes kept;
    ASSERT_TRUE(ReadBytes(take, kept));
    EXPECT_EQ(kept, (Bytes{'o', 'l', 'd'}));

    // The name typed without ".wav" names the same file and is asked about too.
    robot.Forget();
    Answer({IDYES, IDYES}, directory + "\\take2");
    EXPECT_EQ(ConfirmWaveChanges(), 1);
    ASSERT_EQ(Saves().size(), 1u);
    EXPECT_EQ(Saves()[0].text, take);
    EXPECT_EQ(robot.Seen().back().text, "[take2.wav]\nThis Wave file has been exist.\noverwrite?");
}

TEST_F(SaveQuestionTest, AnExistingFileFarDownIsAskedAboutToo) {
    std::string folder = directory;
    while (folder.size() < 160) { // past the 128 characters of the old checks
        folder += "\\a-folder-of-takes";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    std::string take = folder + "\\take.wav";
    ASSERT_TRUE(WriteBytes(take, Bytes{'o', 'l', 'd'}));
    Answer({IDYES, IDNO}, take);
    EXPECT_EQ(ConfirmWaveChanges(), 0);
    EXPECT_EQ(robot.Seen().back().text, "[take.wav]\nThis Wave file has been exist.\noverwrite?");
    EXPECT_TRUE(Saves().empty());
    Bytes kept;
    ASSERT_TRUE(ReadBytes(take, kept));
    EXPECT_EQ(kept, (Bytes{'o', 'l', 'd'}));
}

// The Windows 95 family knows no delete sharing: its checks ask for none and
// answer as the NT family's do. Only a file another program holds open for
// deletion tells them apart: the 95 family's checks cannot open it.
TEST_F(SaveQuestionTest, BothFamiliesCheckSavesAlike) {
    int detected = PlatformFamily;
    for (int family : {95, 40}) {
        SCOPED_TRACE(family);
        PlatformFamily = family;
        std::string take = directory + "\\family" + std::to_string(family) + ".wav";
        robot.Forget();
        Answer({IDYES}, take);
        EXPECT_EQ(ConfirmWaveChanges(), 1) << BoxesSeen();
        EXPECT_TRUE(Exists(take));

        WaveModified = 1;
        robot.Forget();
        Answer({IDYES, IDYES}, take);
        EXPECT_EQ(ConfirmWaveChanges(), 1) << BoxesSeen();
        EXPECT_EQ(WaveModified, 0);

        WaveModified = 1;
        size_t asked = Saves().size();
        HANDLE holder = CreateFileA(take.c_str(), GENERIC_READ | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        robot.Forget();
        Answer({IDYES, IDYES}, take);
        ConfirmWaveChanges();
        CloseHandle(holder);
        EXPECT_EQ(Saves().size() - asked, family == 95 ? 0u : 1u);

        SetFileAttributesA(take.c_str(), FILE_ATTRIBUTE_READONLY);
        WaveModified = 1;
        asked = Saves().size();
        robot.Forget();
        Answer({IDYES, IDYES}, take);
        EXPECT_EQ(ConfirmWaveChanges(), 0);
        EXPECT_EQ(Saves().size(), asked) << "a read-only file reached the device";
        EXPECT_EQ(WaveModified, 1);
        SetFileAttributesA(take.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    PlatformFamily = detected;
}

TEST_F(SaveQuestionTest, AFailedSaveIsShownAndTheChangesStayUnsaved) {
    SimMciFailNext("waveaudio", MCI_SAVE, MCIERR_FILE_NOT_SAVED);
    Answer({IDYES}, directory + "\\take3.wav");
    EXPECT_EQ(ConfirmWaveChanges(), 0);
    EXPECT_EQ(WaveModified, 1);
    char expected[256] = "";
    Mci.getErrorString(MCIERR_FILE_NOT_SAVED, expected, sizeof expected);
    auto seen = robot.Seen();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().caption, "sonikbay32");
    EXPECT_EQ(seen.back().text, expected);
    EXPECT_EQ(seen.back().icon, BoxIcon::Error);
}

TEST_F(SaveQuestionTest, CancelInTheSaveDialogKeepsTheData) {
    robot.SetAnswer(
        [](const SeenBox &box) { return box.caption == "sonikbay32" ? IDYES : IDCANCEL; });
    EXPECT_EQ(ConfirmWaveChanges(), 0);
    EXPECT_TRUE(Saves().empty());
    EXPECT_EQ(WaveModified, 1);

    // A name too long for the platform is refused in the dialog, which stays
    // until cancelled; the take stays unsaved.
    robot.Forget();
    std::string path = directory + "\\" + std::string(290, 't') + ".wav";
    robot.SetAnswer([typeName = TypeIntoFileDialog(path)](const SeenBox &box) {
        if (box.caption == "sonikbay32")
            return IDYES;
        if (box.caption != "sonikbay32 error")
            return typeName(box);
        PostMessageA(FileDialogShown(), WM_COMMAND, IDCANCEL, 0);
        return 0;
    });
    EXPECT_EQ(ConfirmWaveChanges(), 0);
    ASSERT_EQ(robot.Seen().size(), 3u) << BoxesSeen();
    EXPECT_EQ(robot.Seen()[2].text.substr(0, path.size() + 3), "[" + path + "]\n");
    EXPECT_TRUE(Saves().empty());
    EXPECT_EQ(WaveModified, 1);
}

// Asks the save question from the loop of the Open dialog on show, as a
// running list reaching a changed WAVE entry does.
int AnswerInside = -1;
void CALLBACK AskInsideTheOpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    if (FileDialogShown() == nullptr)
        return;
    KillTimer(nullptr, timer);
    AnswerInside = ConfirmWaveChanges();
}

// Ends a file dialog still there after 20 s, so that one that no longer
// closes cannot hold up the run.
bool DialogForced = false;
void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND dialog = FileDialogShown()) {
        DialogForced = true;
        EndDialog(dialog, 0);
    }
}

// The Save dialog run inside an Open dialog leaves the Open dialog working:
// it closes by its own Cancel key once the Save dialog is done, and the
// station is enabled again.
TEST_F(SaveQuestionTest, ASaveDialogInsideAnOpenDialogLeavesTheOpenDialogWorking) {
    std::string take = directory + "\\inside.wav";
    // At the Open dialog: Yes to the question over it, a name into the Save
    // dialog, and Cancel once that has gone.
    robot.SetAnswer([take](const SeenBox &box) -> int {
        HWND open = FileDialogShown(), save = open;
        AnswerBoxInDialog("sonikbay32", IDYES);
        for (int tries = 0; tries < 100 && save == open; ++tries, Sleep(20))
            save = FileDialogShown();
        TypeIntoFileDialog(take)(box);
        PostMessageA(save, WM_COMMAND, IDOK, 0);
        for (int tries = 0; tries < 100 && IsWindow(save); ++tries)
            Sleep(20);
        return IDCANCEL;
    });
    SetTimer(nullptr, 0, 100, AskInsideTheOpenDialog);
    UINT_PTR guard = SetTimer(nullptr, 0, 20000, EndStuckDialog);
    EXPECT_EQ(ChooseMediaFile(MainWindow, "*.mid", MidiFilter, ChooseToOpen), 0);
    KillTimer(nullptr, guard);
    EXPECT_FALSE(DialogForced) << "the Open dialog no longer closed";
    EXPECT_EQ(AnswerInside, 1) << BoxesSeen(); // saved
    EXPECT_TRUE(IsWindowEnabled(MainWindow));
}

} // namespace
