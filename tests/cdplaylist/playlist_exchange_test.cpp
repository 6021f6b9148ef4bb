// Playlist files of other players dropped on the station: the collection
// each makes in the settings file, what the message after the import lists,
// and the question before a collection of the same name is replaced.
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "cdplaylist/sequencer.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A share of this Wine prefix, \\station\share, which Wine finds in the
// prefix's dosdevices\unc folder.
std::string MakeShare() {
    char prefix[MAX_PATH] = "";
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    std::string folder = std::string("Z:") + prefix + "/dosdevices/unc";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    for (const char *part : {"", "\\station", "\\share", "\\lists"})
        CreateDirectoryA((folder += part).c_str(), nullptr);
    return "\\\\station\\share";
}

class PlaylistExchangeTest : public StationTest {
  protected:
    void SetUp() override {
        StationTest::SetUp();
        ASSERT_EQ(Start(), 0 + StationRunning);
        Pump(100);
        robot.Forget();
        directory = MakeMediaDir("exchange");
        song = WriteSong(directory, "song.mid", 3);
        take = directory + "\\take.wav";
        WriteBytes(take, MakeWave(PcmFormat(1, 11025, 8), 500));
    }

    void TearDown() override {
        StationTest::TearDown();
        CurrentPlayer = nullptr;
        PlaylistRunning = 0;
        CurrentEntryIndex = 0;
    }

    std::string WritePlaylist(const char *name, const std::string &text) {
        std::string path = directory + "\\" + name;
        WriteBytes(path, Bytes(text.begin(), text.end()));
        return path;
    }

    std::vector<std::string> Entries(const std::string &collection) {
        std::vector<std::string> entries;
        for (int key = 0;; ++key) {
            std::string entry = Setting(("List" + collection).c_str(), std::to_string(key).c_str());
            if (entry == "ENDFLAG.END" || entry == "<missing>")
                return entries;
            entries.push_back(entry);
        }
    }

    std::string Reported() {
        std::vector<SeenBox> seen = robot.Seen();
        return seen.empty() ? "<none>" : seen.back().text;
    }

    std::string directory, song, take;
};

// An .m3u as players write it: comments, an absolute and two relative paths,
// a web address, a missing file and another type, in CRLF lines.
TEST_F(PlaylistExchangeTest, AnM3uBecomesTheCurrentCollectionAndWhatIsLeftIsListed) {
    CreateDirectoryA((directory + "\\sub").c_str(), nullptr);
    std::string nested = directory + "\\sub\\b.wav";
    WriteBytes(nested, MakeWave(PcmFormat(1, 11025, 8), 500));
    WriteBytes(directory + "\\notes.txt", Bytes{'x'});
    std::string mix = WritePlaylist("mix.m3u", "#EXTM3U\r\n#EXTINF:3,Band - Song\r\n" + song +
                                                   "\r\nsub/b.wav\r\n"
                                                   "http://radio.example/stream.mp3\r\n"
                                                   "missing.wav\r\nnotes.txt\r\n.\\take.wav\r\n");
    DropOnMainWindow({mix});
    Pump(300);
    EXPECT_EQ(Entries("mix"), (std::vector<std::string>{song, nested, take}));
    EXPECT_EQ(Reported(), "3 of 6 entries taken from \"mix.m3u\".\nNot taken:\n"
                          "http://radio.example/stream.mp3 (web address)\n" +
                              directory + "\\missing.wav (no such file)\n" + directory +
                              "\\notes.txt (not a file the station plays)");
    EXPECT_EQ(Setting("PlayListTitle", "Number"), "2");
    EXPECT_EQ(Setting("PlayListTitle", "2"), "mix");
    EXPECT_STREQ(PlayListEntry, "Listmix");
    EXPECT_TRUE(PlaylistPanelShown);
    EXPECT_EQ(SendDlgItemMessageA(PlaylistPanel, 1061, LB_GETCOUNT, 0, 0), 3);

    // The same name again: asked first; Cancel keeps the collection as it is.
    WritePlaylist("mix.m3u", song + "\n");
    robot.Forget();
    robot.SetAnswer([](const SeenBox &) { return IDCANCEL; });
    DropOnMainWindow({mix});
    Pump(300);
    ASSERT_EQ(robot.Seen().size(), 1u);
    EXPECT_EQ(robot.Seen()[0].text, "The collection \"mix\" exists.\nReplace it?");
    EXPECT_EQ(Entries("mix").size(), 3u);
    robot.SetAnswer([](const SeenBox &) { return IDOK; });
    DropOnMainWindow({mix});
    Pump(300);
    EXPECT_EQ(Entries("mix"), std::vector<std::string>{song});
    EXPECT_EQ(Setting("PlayListTitle", "Number"), "2");
}

// UTF-8 behind a byte-order mark, a .pls out of order in LF lines, and more
// entries than a collection keeps.
TEST_F(PlaylistExchangeTest, Utf8PlsAndLongPlaylistsAreTakenAsFarAsTheyCanBe) {
    std::wstring wideName = L"caf\u00e9.wav";
    char ansiName[64] = "";
    WideCharToMultiByte(CP_ACP, 0, wideName.c_str(), -1, ansiName, sizeof ansiName, nullptr,
                        nullptr);
    std::wstring widePath(directory.begin(), directory.end());
    HANDLE file = CreateFileW((widePath + L"\\" + wideName).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    Bytes wave = MakeWave(PcmFormat(1, 11025, 8), 500);
    DWORD written = 0;
    WriteFile(file, wave.data(), static_cast<DWORD>(wave.size()), &written, nullptr);
    CloseHandle(file);
    WritePlaylist("accents.m3u",
                  "\xEF\xBB\xBF#EXTM3U\ncaf\xC3\xA9.wav\nsong-\xF0\x9F\x8E\xB5.mid\n");
    DropOnMainWindow({directory + "\\accents.m3u"});
    Pump(300);
    EXPECT_EQ(Entries("accents"), std::vector<std::string>{directory + "\\" + ansiName});
    EXPECT_NE(Reported().find("\n" + directory + "\\song-"), std::string::npos);
    EXPECT_NE(Reported().find(".mid (name not in this system's characters)"), std::string::npos);

    robot.Forget();
    WritePlaylist("radio.pls", "[playlist]\nFile2=take.wav\nTitle2=Take\nFile1=" + song +
                                   "\nLength1=3\nNumberOfEntries=2\nVersion=2\n");
    DropOnMainWindow({directory + "\\radio.pls"});
    Pump(300);
    EXPECT_EQ(Entries("radio"), (std::vector<std::string>{song, take}));
    EXPECT_TRUE(robot.Seen().empty()) << Reported();

    std::string many;
    for (int i = 0; i < 120; ++i)
        many += "song.mid\r\n";
    WritePlaylist("many.m3u", many);
    DropOnMainWindow({directory + "\\many.m3u"});
    Pump(300);
    EXPECT_EQ(Entries("many").size(), 99u);
    std::string report = Reported();
    EXPECT_EQ(report.substr(0, report.find('\n')), "99 of 120 entries taken from \"many.m3u\".");
    EXPECT_NE(report.find(song + " (beyond the 99 entries of a collection)"), std::string::npos);
    EXPECT_EQ(report.substr(report.rfind('\n') + 1), "... and 9 more");
    EXPECT_STREQ(PlayListEntry, "Listmany");
}

// Playlist files as other systems write them: lines ended by CR alone,
// UTF-16 either way round behind its byte-order mark, and on a share an
// entry from the share's root, a name this system has only a look-alike for
// (the name of another file) and a line of a megabyte, quoted only in part.
TEST_F(PlaylistExchangeTest, LineEndsUtf16SharesAndOddNamesAreReadAsWritten) {
    WritePlaylist("mac.m3u", "#EXTM3U\rsong.mid\rtake.wav\r");
    DropOnMainWindow({directory + "\\mac.m3u"});
    Pump(300);
    EXPECT_EQ(Entries("mac"), (std::vector<std::string>{song, take}));
    for (bool little : {true, false}) {
        Bytes bytes = little ? Bytes{0xFF, 0xFE} : Bytes{0xFE, 0xFF};
        for (char c : std::string("#EXTM3U\r\ntake.wav\r\n")) {
            bytes.push_back(little ? c : 0);
            bytes.push_back(little ? 0 : c);
        }
        std::string path = directory + (little ? "\\le.m3u" : "\\be.m3u");
        WriteBytes(path, bytes);
        DropOnMainWindow({path});
        Pump(300);
        EXPECT_EQ(Entries(little ? "le" : "be"), std::vector<std::string>{take});
    }

    std::string share = MakeShare(), odd = share + "\\lists\\odd.m3u8";
    std::string root = WriteSong(share, "root.mid", 3);
    WriteBytes(share + "\\lists\\a.wav", MakeWave(PcmFormat(1, 11025, 8), 500));
    std::string text = "\\root.mid\n\xC4\x81.wav\n" + std::string(1 << 20, 'x') + ".wav\n";
    WriteBytes(odd, Bytes(text.begin(), text.end()));
    robot.Forget();
    DropOnMainWindow({odd});
    Pump(300);
    EXPECT_EQ(Entries("odd"), std::vector<std::string>{root});
    std::string report = Reported();
    EXPECT_NE(report.find("\\a.wav (name not in this system's characters)"), std::string::npos);
    EXPECT_NE(report.find("xx... (path too long)"), std::string::npos) << report.substr(0, 300);
}

} // namespace
