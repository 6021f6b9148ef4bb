// Files from outside the station: a drop of several, files named on the
// command line and the files a second start hands to the running station.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "players/wave_panel.h"
#include "shell/launcher_bar.h"
#include "shell/open_files.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

class OpenFilesTest : public StationTest {
  protected:
    void SetUp() override {
        StationTest::SetUp();
        directory = MakeMediaDir("open_files");
        collection = directory.substr(directory.rfind('\\') + 1);
    }

    void StartHere(const std::string &commandLine = "") {
        SimCardConfig card;
        card.mixer.present = true; // no box about a missing mixer
        ASSERT_EQ(Start(commandLine.c_str(), card), 0 + StationRunning);
        Pump(300);
    }

    std::vector<std::string> OpenedElements() {
        std::vector<std::string> opened;
        for (const SimMciCall &call : SimMciCallsOf(MCI_OPEN))
            if (call.deviceType != "cdaudio")
                opened.push_back(call.text);
        return opened;
    }

    std::vector<std::string> Entries(const std::string &name) {
        std::vector<std::string> entries;
        for (int row = 0;; ++row) {
            std::string entry = Setting(("List" + name).c_str(), std::to_string(row).c_str());
            if (entry == "<missing>" || entry.find(':') == std::string::npos)
                return entries;
            entries.push_back(entry);
        }
    }

    std::vector<std::string> Songs(int count) {
        std::vector<std::string> songs;
        for (int i = 0; i < count; ++i)
            songs.push_back(WriteSong(directory, ("song" + std::to_string(i) + ".mid").c_str(), 2));
        return songs;
    }

    std::string directory;
    std::string collection; // named after the folder of the songs
};

std::string Quoted(const std::string &path) {
    return "\"" + path + "\"";
}

// ---- A drop of several files ----

TEST_F(OpenFilesTest, SeveralDroppedFilesBecomeACollectionPlayedFromItsFirst) {
    StartHere();
    robot.Forget();
    std::vector<std::string> songs = Songs(3);
    DropOnMainWindow(songs);
    Pump(300);
    EXPECT_TRUE(robot.Seen().empty());
    EXPECT_EQ(Entries(collection), songs);
    EXPECT_EQ(std::string(PlayListName), collection);
    EXPECT_TRUE(PlaylistPanelShown);
    ASSERT_FALSE(OpenedElements().empty());
    EXPECT_EQ(OpenedElements().front(), songs[0]);
}

TEST_F(OpenFilesTest, WhatACollectionCannotTakeIsListedInOneMessage) {
    StartHere();
    robot.Forget();
    std::vector<std::string> files = Songs(101);
    files.insert(files.begin() + 1, directory + "\\notes.txt");
    files.insert(files.begin() + 2, directory + "\\gone.mid");
    DropOnMainWindow(files);
    Pump(500);
    ASSERT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(robot.Seen()[0].text, "99 of 103 files taken into \"" + collection +
                                        "\".\nNot taken:\n" + directory +
                                        "\\notes.txt (not a file the station plays)\n" + directory +
                                        "\\gone.mid (no such file)\n" + files[101] +
                                        " (beyond the 99 entries of a collection)\n" + files[102] +
                                        " (beyond the 99 entries of a collection)");
    EXPECT_EQ(Entries(collection).size(), 99u);
}

TEST_F(OpenFilesTest, ACollectionOfTheSameNameIsReplacedOnlyWhenTheUserSaysSo) {
    StartHere();
    std::vector<std::string> songs = Songs(3);
    DropOnMainWindow({songs[0], songs[1]});
    Pump(300);
    robot.Forget();
    robot.SetAnswer([](const SeenBox &) { return IDCANCEL; });
    DropOnMainWindow({songs[2], songs[0]});
    Pump(300);
    ASSERT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(robot.Seen()[0].text, "The collection \"" + collection + "\" exists.\nReplace it?");
    EXPECT_EQ(Entries(collection), (std::vector<std::string>{songs[0], songs[1]}));
    robot.SetAnswer([](const SeenBox &) { return IDOK; });
    DropOnMainWindow({songs[2], songs[0]});
    Pump(300);
    EXPECT_EQ(Entries(collection), (std::vector<std::string>{songs[2], songs[0]}));
}

// ---- The command line ----

TEST_F(OpenFilesTest, CommandLineWordsFollowThePlatformsQuotes) {
    char folder[MAX_PATH];
    GetCurrentDirectoryA(sizeof folder, folder);
    std::string here = std::string(folder) + (folder[std::strlen(folder) - 1] == '\\' ? "" : "\\");
    using Files = std::vector<std::string>;
    EXPECT_EQ(FilesOfCommandLine("\"C:\\My Music\\a b.mid\"  C:\\x.mid"),
              (Files{"C:\\My Music\\a b.mid", "C:\\x.mid"}));
    EXPECT_EQ(FilesOfCommandLine("song.mid .\\b.wav"), (Files{here + "song.mid", here + "b.wav"}));
    EXPECT_EQ(FilesOfCommandLine("C:\\PROGRA~1\\SONG~1.MID"), (Files{"C:\\PROGRA~1\\SONG~1.MID"}));
    EXPECT_EQ(FilesOfCommandLine("C:\\a\" b\"\\c.mid \\\\srv\\s\\\\\\\"q.mid"),
              (Files{"C:\\a b\\c.mid", "\\\\srv\\s\\\"q.mid"}));
    EXPECT_EQ(FilesOfCommandLine("/play"), Files{});
    EXPECT_EQ(FilesOfCommandLine("/play %3"), Files{});
    EXPECT_EQ(FilesOfCommandLine("  /play D:\\Track%  12.cda"), Files{});
    EXPECT_EQ(FilesOfCommandLine("/play D:\\ D:\\Track01.cda"), Files{});
    EXPECT_EQ(FilesOfCommandLine("/play \"C:\\x y.mid\""), Files{"C:\\x y.mid"});
    EXPECT_EQ(FilesOfCommandLine(""), Files{});
}

// A path of 259 characters, blanks in its folders, quoted as the shell
// quotes it: the file plays.
TEST_F(OpenFilesTest, AFileOnTheCommandLinePlays) {
    std::string path = directory + "\\with blanks";
    CreateDirectoryA(path.c_str(), nullptr);
    const size_t target = 259 - std::strlen("\\song.mid");
    while (path.size() < target) {
        size_t left = target - path.size() - 1; // after the backslash
        path += "\\" + std::string(left <= 100 ? left : left < 102 ? 50 : 100, 'f');
        CreateDirectoryA(path.c_str(), nullptr);
    }
    std::string song = WriteSong(path, "song.mid", 2);
    ASSERT_EQ(song.size(), 259u);
    StartHere(Quoted(song));
    EXPECT_TRUE(robot.Seen().empty());
    EXPECT_EQ(OpenedElements(), std::vector<std::string>{song});
}

TEST_F(OpenFilesTest, SeveralFilesBesidePlayBecomeACollectionAndTheDiscWaits) {
    std::vector<std::string> songs = Songs(2);
    StartHere("/play " + Quoted(songs[0]) + " " + songs[1]);
    EXPECT_EQ(Entries(collection), songs);
    ASSERT_FALSE(OpenedElements().empty());
    EXPECT_EQ(OpenedElements().front(), songs[0]);
    for (const SimMciCall &call : SimMciCallsOf(MCI_PLAY))
        EXPECT_NE(call.deviceType, "cdaudio") << "the files win over the disc";
}

TEST_F(OpenFilesTest, APlaylistFileOnTheCommandLineIsImported) {
    std::vector<std::string> songs = Songs(2);
    WriteBytes(directory + "\\mix.m3u", Bytes(songs[0].begin(), songs[0].end()));
    StartHere(Quoted(directory + "\\mix.m3u"));
    EXPECT_EQ(Entries("mix"), std::vector<std::string>{songs[0]});
    EXPECT_EQ(std::string(PlayListName), "mix");
}

TEST_F(OpenFilesTest, AMissingFileOnTheCommandLineIsNamedInABox) {
    StartHere(Quoted(directory + "\\gone.mid"));
    ASSERT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(robot.Seen()[0].caption, "sonikbay32 error");
    EXPECT_EQ(robot.Seen()[0].text.substr(0, 11), "[gone.mid]\n");
    EXPECT_TRUE(IsWindow(MainWindow));
}

// ---- A second start's files ----

TEST_F(OpenFilesTest, ASecondStartHandsItsFilesToTheRunningStationAndEnds) {
    StartHere();
    ShowWindow(MainWindow, SW_MINIMIZE);
    Pump();
    std::string song = Songs(1)[0];
    DWORD started = GetTickCount();
    EXPECT_EQ(RunProgram(BuildFile("sbay32.exe"), Quoted(song)), 1u);
    EXPECT_LT(GetTickCount() - started, 2000u);
    Pump(300);
    EXPECT_EQ(OpenedElements(), std::vector<std::string>{song});
    EXPECT_FALSE(IsIconic(MainWindow));
    EXPECT_EQ(FindWindowA("sonikbay", nullptr), MainWindow);
    EXPECT_EQ(FindWindowExA(nullptr, MainWindow, "sonikbay", nullptr), nullptr);
}

// Files handed over while the station asks about an unsaved take wait for
// the answer; the take is still there to be asked about.
TEST_F(OpenFilesTest, FilesHandedOverDuringAQuestionOpenOnceItIsAnswered) {
    StartHere();
    std::string song = Songs(1)[0];
    std::snprintf(WaveFileTitle, sizeof WaveFileTitle, "UNTITLED.WAV");
    WaveModified = 1;
    bool openedDuringQuestion = true;
    robot.SetAnswer([&](const SeenBox &) {
        HandFilesTo(MainWindow, {song});
        Sleep(400);
        openedDuringQuestion = !OpenedElements().empty();
        return IDCANCEL;
    });
    PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    Pump(1000);
    EXPECT_FALSE(openedDuringQuestion);
    EXPECT_EQ(OpenedElements(), std::vector<std::string>{song});
    EXPECT_EQ(WaveModified, 1);
    EXPECT_TRUE(IsWindow(MainWindow));
    WaveModified = 0;
}

TEST_F(OpenFilesTest, HandOversThatAreNoListOfFilesAreIgnored) {
    StartHere();
    robot.Forget();
    auto send = [](ULONG_PTR tag, const std::string &bytes) {
        COPYDATASTRUCT data{tag, static_cast<DWORD>(bytes.size()),
                            const_cast<char *>(bytes.data())};
        return SendMessageA(MainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    };
    std::string song = Songs(1)[0];
    std::string list = song + std::string(2, '\0');
    std::string thousands;
    for (int i = 0; i < 2000; ++i)
        thousands += song.substr(0, 20) + '\0';
    EXPECT_EQ(send(12345, list), FALSE) << "another tag";
    EXPECT_EQ(send(HandedFilesTag, song), FALSE) << "no NUL";
    EXPECT_EQ(send(HandedFilesTag, song + '\0'), FALSE) << "no end of the list";
    EXPECT_EQ(send(HandedFilesTag, std::string(100 * 1024, 'x') + std::string(2, '\0')), FALSE);
    EXPECT_EQ(send(HandedFilesTag, std::string(2000, 'x') + std::string(2, '\0')), FALSE);
    EXPECT_EQ(send(HandedFilesTag, thousands + '\0'), FALSE);
    EXPECT_EQ(send(HandedFilesTag, std::string(2, '\0')), FALSE) << "no paths";
    EXPECT_EQ(send(HandedFilesTag, song + std::string(3, '\0') + "x" + std::string(2, '\0')),
              FALSE);
    EXPECT_EQ(send(HandedFilesTag, ""), FALSE);
    Pump(300);
    EXPECT_TRUE(robot.Seen().empty());
    EXPECT_TRUE(OpenedElements().empty());
    EXPECT_EQ(send(HandedFilesTag, list), TRUE) << "the station answers on";
    Pump(300);
    EXPECT_EQ(OpenedElements(), std::vector<std::string>{song});
}

} // namespace
