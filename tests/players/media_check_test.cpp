// The structural check of media files: a corpus of damaged files written
// from good ones and checked without any device, and the worst of them
// opened through the MIDI panel's Open dialog on the platform's own
// sequencer, after which the station still answers and a good song opens.
#include "players/media_check.h"
#include "tests/players/player_test_support.h"
#include "tests/support/station_harness.h"

#include "panekit/resources/panel_ids.h"
#include "platform/mci.h"
#include "shell/launcher_bar.h"
#include "shell/startup.h"
#include "shell/station.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

namespace {

struct Sample {
    std::string name;
    Bytes bytes;
    MediaKind kind;
};

void Poke32(Bytes &bytes, size_t at, uint32_t value, bool bigEndian = false) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (bigEndian ? 24 - 8 * i : 8 * i));
}

// Offset of the nth occurrence of a four-letter tag.
size_t TagAt(const Bytes &bytes, const char *tag, int nth = 0) {
    for (size_t at = 0; at + 4 <= bytes.size(); ++at)
        if (std::memcmp(&bytes[at], tag, 4) == 0 && nth-- == 0)
            return at;
    ADD_FAILURE() << "no " << tag;
    return 0;
}

Bytes Noise(size_t size, uint32_t seed) {
    Bytes bytes(size);
    for (uint8_t &byte : bytes)
        byte = static_cast<uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
    return bytes;
}

// Inserts a RIFF chunk (padded to even size) at an offset and fixes the RIFF size.
Bytes WithChunk(Bytes riff, size_t at, const char *id, const Bytes &body) {
    Bytes chunk(id, id + 4);
    chunk.resize(8);
    Poke32(chunk, 4, static_cast<uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() % 2 != 0)
        chunk.push_back(0);
    riff.insert(riff.begin() + at, chunk.begin(), chunk.end());
    Poke32(riff, 4, static_cast<uint32_t>(riff.size() - 8));
    return riff;
}

MidiSong Song() {
    MidiSong song;
    song.tempos = {{0, 500000}};
    song.lengthTicks = 960;
    return song;
}

Bytes GoodMidi() {
    return MakeMidi(Song());
}
Bytes GoodWave() {
    return MakeWave(PcmFormat(1, 11025, 8), 1000);
} // odd data, padded
Bytes GoodAvi() {
    return MakeAvi(AviMovie{});
}

std::vector<Sample> SoundSamples() {
    Bytes midi = GoodMidi(), wave = GoodWave(), avi = GoodAvi();
    size_t secondTrack = TagAt(midi, "MTrk", 1);
    Bytes tracks = midi; // five tracks
    for (int i = 0; i < 3; ++i)
        tracks.insert(tracks.end(), midi.begin() + secondTrack, midi.end());
    tracks[11] = 5;
    Bytes alien = midi; // a chunk of another kind between the tracks
    const uint8_t xfir[] = {'X', 'F', 'I', 'R', 0, 0, 0, 3, 1, 2, 3};
    alien.insert(alien.begin() + secondTrack, std::begin(xfir), std::end(xfir));
    Bytes trailing = midi;
    trailing.insert(trailing.end(), {0, 0, 0});
    Bytes rmid = WithChunk(MakeRmi(Song()), 12, "LIST", {'I', 'N', 'F', 'O', 'I'});
    rmid = WithChunk(rmid, rmid.size(), "DISP", {1, 0, 0, 0, 'x'});
    Bytes unpadded = wave;
    unpadded.pop_back(); // the last pad byte left out
    Poke32(unpadded, 4, static_cast<uint32_t>(unpadded.size() - 8));
    Bytes extras = WithChunk(wave, TagAt(wave, "data"), "fact", {0x11, 0x2B, 0, 0});
    extras = WithChunk(extras, extras.size(), "LIST", {'I', 'N', 'F', 'O', 'x'});
    extras = WithChunk(extras, 12, "bext", {7});
    Bytes avis = WithChunk(avi, TagAt(avi, "movi") - 8, "JUNK", Bytes(13));
    Bytes unindexed(avi.begin(), avi.begin() + TagAt(avi, "idx1"));
    Poke32(unindexed, 4, static_cast<uint32_t>(unindexed.size() - 8));
    return {{"midi", midi, MediaKind::Midi},
            {"five tracks", tracks, MediaKind::Midi},
            {"alien chunk", alien, MediaKind::Midi},
            {"trailing bytes", trailing, MediaKind::Midi},
            {"rmid", MakeRmi(Song()), MediaKind::Midi},
            {"rmid with extra chunks", rmid, MediaKind::Midi},
            {"wave", wave, MediaKind::Wave},
            {"16-bit stereo", MakeWave(PcmFormat(2, 22050, 16), 300), MediaKind::Wave},
            {"no last pad", unpadded, MediaKind::Wave},
            {"fact, LIST, unknown", extras, MediaKind::Wave},
            {"avi", avi, MediaKind::Avi},
            {"avi with JUNK", avis, MediaKind::Avi},
            {"avi without index", unindexed, MediaKind::Avi}};
}

// Cuts at every byte of the headers, at and around every frame chunk's
// boundary and along the rest, up to the end of what the device needs.
void AddCuts(std::vector<Sample> &out, const char *name, const Bytes &good, size_t needed,
             MediaKind kind) {
    std::vector<size_t> cuts;
    for (size_t cut = 0; cut < needed; cut += cut < 300 ? 1 : 251)
        cuts.push_back(cut);
    for (size_t at = 0; at + 4 <= needed; ++at)
        if (std::memcmp(&good[at], "00db", 4) == 0)
            cuts.insert(cuts.end(), {at - 1, at, at + 4, at + 8});
    for (size_t cut : cuts)
        out.push_back({std::string(name) + " cut at " + std::to_string(cut),
                       Bytes(good.begin(), good.begin() + cut), kind});
}

// A chunk size that lies upward: past its holder, by one byte or by far.
void AddUpwardLies(std::vector<Sample> &out, const char *name, const Bytes &good, size_t header,
                   MediaKind kind, bool bigEndian = false) {
    uint32_t pastEnd = static_cast<uint32_t>(good.size() - header - 8 + 1);
    for (uint32_t size : {pastEnd, 0x7FFFFFF0u, 0xFFFFFFFFu}) {
        Bytes lie = good;
        Poke32(lie, header + 4, size, bigEndian);
        out.push_back({std::string(name) + " claims " + std::to_string(size), lie, kind});
    }
}

Sample Changed(const char *name, Bytes bytes, size_t at, uint32_t value, MediaKind kind,
               bool bigEndian = false) {
    Poke32(bytes, at, value, bigEndian);
    return {name, bytes, kind};
}

std::vector<Sample> DamagedSamples() {
    using K = MediaKind;
    Bytes midi = GoodMidi(), rmid = MakeRmi(Song()), wave = GoodWave(), avi = GoodAvi();
    std::vector<Sample> out;
    for (K kind : {K::Midi, K::Wave, K::Avi}) {
        out.push_back({"empty", {}, kind});
        out.push_back({"noise", Noise(4096, 7), kind});
    }
    out.push_back({"wave named as midi", wave, K::Midi});
    AddCuts(out, "midi", midi, midi.size(), K::Midi);
    AddCuts(out, "rmid", rmid, rmid.size(), K::Midi);
    // Cut in the headers, or before a whole block of sound.
    AddCuts(out, "wave", wave, TagAt(wave, "data") + 8 + 1, K::Wave);
    AddCuts(out, "avi", avi, TagAt(avi, "idx1"), K::Avi);

    AddUpwardLies(out, "MThd", midi, 0, K::Midi, true);
    AddUpwardLies(out, "first MTrk", midi, TagAt(midi, "MTrk"), K::Midi, true);
    AddUpwardLies(out, "last MTrk", midi, TagAt(midi, "MTrk", 1), K::Midi, true);
    AddUpwardLies(out, "rmid data", rmid, TagAt(rmid, "data"), K::Midi);
    Bytes lyingTrack(midi.begin(), midi.begin() + 22); // the header and eight bytes
    out.push_back(Changed("lying track", lyingTrack, 18, 0x7FFFFFF0, K::Midi, true));
    out.push_back(Changed("MThd of 5", midi, 4, 5, K::Midi, true));
    out.push_back(Changed("first MTrk of 2", midi, TagAt(midi, "MTrk") + 4, 2, K::Midi, true));
    midi[11] = 3;
    out.push_back({"three tracks counted, two there", midi, K::Midi});
    midi[10] = midi[11] = 0xFF;
    out.push_back({"65535 tracks counted", midi, K::Midi});
    midi[10] = midi[11] = 0;
    out.push_back({"no tracks", midi, K::Midi});
    midi = GoodMidi();
    midi[12] = midi[13] = 0;
    out.push_back({"division 0", midi, K::Midi});

    size_t fmt = TagAt(wave, "fmt "), data = TagAt(wave, "data");
    AddUpwardLies(out, "fmt", wave, fmt, K::Wave);
    out.push_back(Changed("data of all ones", wave, data + 4, 0xFFFFFFFF, K::Wave));
    AddUpwardLies(out, "junk before fmt", WithChunk(wave, 12, "junk", {1, 2}), 12, K::Wave);
    out.push_back(Changed("fmt of 4", wave, fmt + 4, 4, K::Wave));
    out.push_back(Changed("RIFF of 20", wave, 4, 20, K::Wave));
    out.push_back(Changed("no fmt", wave, fmt, 0x78787878, K::Wave));
    for (size_t field : {2, 4, 8, 12}) // channels, rate, byte rate, block size
        out.push_back(Changed("zero field", wave, fmt + 8 + field, 0, K::Wave));

    size_t avih = TagAt(avi, "avih"), movi = TagAt(avi, "movi") - 8;
    AddUpwardLies(out, "hdrl", avi, TagAt(avi, "hdrl") - 8, K::Avi);
    AddUpwardLies(out, "avih", avi, avih, K::Avi);
    AddUpwardLies(out, "strl", avi, TagAt(avi, "strl") - 8, K::Avi);
    AddUpwardLies(out, "strh", avi, TagAt(avi, "strh"), K::Avi);
    AddUpwardLies(out, "strf", avi, TagAt(avi, "strf"), K::Avi);
    AddUpwardLies(out, "movi", avi, movi, K::Avi);
    AddUpwardLies(out, "first frame", avi, TagAt(avi, "00db"), K::Avi);
    out.push_back(Changed("avih of 8", avi, avih + 4, 8, K::Avi));
    out.push_back(Changed("strh of 8", avi, TagAt(avi, "strh") + 4, 8, K::Avi));
    out.push_back(Changed("strf of 4", avi, TagAt(avi, "strf") + 4, 4, K::Avi));
    out.push_back(Changed("movi of 4", avi, movi + 4, 4, K::Avi));
    out.push_back(Changed("hdrl of 68", avi, TagAt(avi, "hdrl") - 4, 68, K::Avi));
    out.push_back(Changed("no streams", avi, avih + 8 + 24, 0, K::Avi));
    out.push_back(Changed("two streams, one list", avi, avih + 8 + 24, 2, K::Avi));
    out.push_back(Changed("frames beyond the list", avi, avih + 8 + 16, 0x7FFFFFF0, K::Avi));
    return out;
}

std::string ScratchFile(const char *name) {
    static std::string directory = MakeMediaDir("media_check");
    return directory + "\\" + name;
}

MCIERROR Check(const Sample &sample) {
    std::string path = ScratchFile("sample");
    EXPECT_TRUE(WriteBytes(path, sample.bytes));
    return CheckMediaFile(path.c_str(), sample.kind);
}

TEST(MediaCheck, SoundFilesPassTheUnusualOnesToo) {
    for (const Sample &sample : SoundSamples())
        EXPECT_EQ(Check(sample), 0u) << sample.name;
}

TEST(MediaCheck, DamagedFilesAreRefusedAsInvalidFiles) {
    for (const Sample &sample : DamagedSamples())
        EXPECT_EQ(Check(sample), DWORD(MCIERR_INVALID_FILE)) << sample.name;
}

// What a writer to a pipe leaves (placeholder sizes) and a copy cut short:
// the data chunk, the last, claims more than the file holds. They pass
// with the length of the sound there; so little sound that no whole block
// is left does not, nor a claim the devices refuse. At a byte a second, 5 MB
// play longer than a length can tell, and are told as the longest one.
TEST(MediaCheck, OverstatedWaveDataPassesWithTheLengthHeld) {
    Bytes whole = MakeWave(PcmFormat(1, 22050, 16), 2000);
    size_t data = TagAt(whole, "data");
    Bytes piped = whole;
    Poke32(piped, 4, 0x7FFFF024);
    Poke32(piped, data + 4, 0x7FFFF000);
    Bytes cut(whole.begin(), whole.end() - 1044);
    Bytes stereo = MakeWave(PcmFormat(2, 22050, 16), 100);
    Bytes lessThanABlock(stereo.begin(), stereo.begin() + TagAt(stereo, "data") + 8 + 3);
    Bytes slow = MakeWave(PcmFormat(1, 1, 8), 0);
    Poke32(slow, 4, 0x7FFFF024);
    Poke32(slow, TagAt(slow, "data") + 4, 0x7FFFF000);
    slow.resize(slow.size() + 5000000);
    const struct {
        const char *name;
        Bytes bytes;
        MCIERROR answer;
        DWORD heldMs;
    } cases[] = {{"whole", whole, 0, WholeMediaLength},
                 {"piped", piped, 0, 2000},
                 {"cut", cut, 0, (88200 - 1044) * 1000 / 44100},
                 {"less than a block", lessThanABlock, MCIERR_INVALID_FILE, WholeMediaLength},
                 {"a byte a second", slow, 0, WholeMediaLength - 1}};
    for (const auto &c : cases) {
        std::string path = ScratchFile("held.wav");
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        DWORD heldMs = 0;
        EXPECT_EQ(CheckMediaFile(path.c_str(), MediaKind::Wave, &heldMs), c.answer) << c.name;
        EXPECT_EQ(heldMs, c.heldMs) << c.name;
    }
}

// Bytes changed at random in the headers: the check answers every one.
TEST(MediaCheck, ScrambledHeadersAlwaysGetAnAnswer) {
    int refused = 0;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        for (const Sample &good : SoundSamples()) {
            Sample sample = good;
            Bytes noise = Noise(8, seed);
            for (int i = 0; i < 4; ++i)
                sample.bytes[noise[i] % std::min<size_t>(128, sample.bytes.size())] = noise[4 + i];
            refused += Check(sample) != 0;
        }
    }
    EXPECT_GT(refused, 0);
}

// A file of the given size that holds only what is written at its start.
std::string SparseFile(const char *name, const Bytes &start, uint64_t size) {
    std::string path = ScratchFile(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, start.data(), static_cast<DWORD>(start.size()), &written, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    return path;
}

TEST(MediaCheck, LargeFilesAreJudgedByTheirHeadersAlone) {
    constexpr uint32_t Samples = 1500000000u;
    Bytes header = MakeWave(PcmFormat(1, 44100, 8), 0);
    Poke32(header, 4, 36 + Samples);
    Poke32(header, 40, Samples);
    DWORD start = GetTickCount();
    EXPECT_EQ(CheckMediaFile(SparseFile("long.wav", header, 44 + uint64_t(Samples)).c_str(),
                             MediaKind::Wave),
              0u);
    // Past 4 GB the size's high word counts: the data fits in the file.
    constexpr uint32_t HugeSamples = 0xF0000000u;
    Poke32(header, 4, 36 + HugeSamples);
    Poke32(header, 40, HugeSamples);
    EXPECT_EQ(CheckMediaFile(SparseFile("huge.wav", header, (uint64_t(1) << 32) + 4096).c_str(),
                             MediaKind::Wave),
              0u);
    DeleteFileA(ScratchFile("huge.wav").c_str());
    std::string noise = SparseFile("noise.bin", Noise(4096, 3), uint64_t(1) << 30);
    for (MediaKind kind : {MediaKind::Midi, MediaKind::Wave, MediaKind::Avi})
        EXPECT_EQ(CheckMediaFile(noise.c_str(), kind), DWORD(MCIERR_INVALID_FILE));
    EXPECT_LT(GetTickCount() - start, 1000u);
    DeleteFileA(ScratchFile("long.wav").c_str());
    DeleteFileA(noise.c_str());
}

// ---- through the MIDI panel ----

// Once the file dialog has been answered, asks the main window from another
// thread, five times over half a second, whether it answers within 2 s. A
// station that stops answering cannot be stopped from here: the watch ends
// the process with the reason.
class AnswerWatch {
  public:
    using Flag = std::shared_ptr<std::atomic<bool>>;
    AnswerWatch(std::string file, Flag dialogAnswered)
        : file_(std::move(file)), dialogAnswered_(std::move(dialogAnswered)),
          thread_([this] { Watch(); }) {}
    ~AnswerWatch() { thread_.join(); }
    bool Done() const { return done_; }

  private:
    void Watch() {
        for (int waited = 0; !*dialogAnswered_ && waited < 10000; waited += 20)
            Sleep(20);
        for (int probe = 0; probe < 5; ++probe) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutA(MainWindow, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result) == 0) {
                std::fprintf(stderr, "FAILED: the station stopped answering after %s\n",
                             file_.c_str());
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
            Sleep(100);
        }
        done_ = true;
    }
    std::string file_;
    Flag dialogAnswered_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

class MediaCheckStation : public StationTest {
  protected:
    void StartOnTheOwnSequencer() {
        SimCardConfig card;
        card.mci.cd.drive = false;
        ASSERT_EQ(Start("", card), 0 + StationRunning);
        if (!MidiPanelShown)
            PressLauncher(IDC_SHOW_MIDI);
        RemoveSimulatedCard();
        directory = MakeMediaDir("media_check_station");
    }

    // Opens a file through the panel's Open key and dialog; answers the
    // error boxes that came up.
    std::vector<SeenBox> OpenThroughDialog(const std::string &name, const Bytes &bytes,
                                           HWND panel = MidiPanel) {
        std::string path = directory + "\\" + name;
        WriteBytes(path, bytes);
        robot.Forget();
        auto answered = std::make_shared<std::atomic<bool>>(false);
        BoxRobot::Answer typePath = TypeIntoFileDialog(path);
        robot.SetAnswer([typePath, answered](const SeenBox &box) {
            int pressed = typePath(box);
            if (pressed != 0)
                *answered = true;
            return pressed;
        });
        AnswerWatch watch(name, answered);
        PostMessageA(panel, WM_COMMAND, IDC_OPEN, 0);
        while (!watch.Done())
            Pump(50);
        Pump(200);
        robot.SetAnswer(nullptr);
        std::vector<SeenBox> errors;
        for (const SeenBox &box : robot.Seen())
            if (box.caption == "sonikbay32 error")
                errors.push_back(box);
        return errors;
    }

    std::string directory;
};

TEST_F(MediaCheckStation, DamagedSongsNeverFreezeThePlatformsOwnSequencer) {
    StartOnTheOwnSequencer();
    char invalid[256] = "";
    Mci.getErrorString(MCIERR_INVALID_FILE, invalid, sizeof invalid);
    Bytes midi = GoodMidi();
    Bytes lyingTrack(midi.begin(), midi.begin() + 22);
    Poke32(lyingTrack, 18, 0x7FFFFFF0, true);
    Bytes lyingHeader = midi;
    Poke32(lyingHeader, 4, 0x7FFFFFF0, true);
    Bytes lastTrack = midi;
    Poke32(lastTrack, TagAt(midi, "MTrk", 1) + 4, 0xFFFFFFFF, true);
    const std::pair<const char *, Bytes> worst[] = {
        {"lying track.mid", lyingTrack},
        {"lying header.mid", lyingHeader},
        {"lying last track.mid", lastTrack},
        {"cut.mid", Bytes(midi.begin(), midi.begin() + 30)},
        {"empty.mid", {}},
        {"noise.mid", Noise(4096, 11)}};
    for (const auto &[name, bytes] : worst) {
        std::vector<SeenBox> errors = OpenThroughDialog(name, bytes);
        ASSERT_EQ(errors.size(), 1u) << name;
        EXPECT_EQ(errors[0].text, invalid) << name;
        EXPECT_EQ(ControlText(MidiPanel, IDC_TITLE), "MIDI PLAYER") << name;
    }
    // Sound songs, the unusual ones too, open afterwards.
    for (const Sample &sample : SoundSamples()) {
        if (sample.name != "midi" && sample.name != "five tracks" &&
            sample.name != "trailing bytes")
            continue; // the platform's own sequencer refuses the others itself
        std::string name = sample.name + ".mid";
        EXPECT_TRUE(OpenThroughDialog(name, sample.bytes).empty()) << name;
        EXPECT_EQ(ControlText(MidiPanel, IDC_TITLE), name);
        EXPECT_EQ(ControlText(MidiPanel, IDC_TOTAL).substr(0, 5), "00:05") << name;
    }
    Close();
}

// The WAVE and VIDEO panels ask the same check on every open: files that
// would crash Wine's own devices or mislead them are refused, and a sound
// file opens afterwards.
TEST_F(MediaCheckStation, TheWaveAndVideoPanelsRefuseWhatWouldCrashTheirDevices) {
    StartOnTheOwnSequencer();
    PressLauncher(IDC_SHOW_VIDEO);
    char invalid[256] = "";
    Mci.getErrorString(MCIERR_INVALID_FILE, invalid, sizeof invalid);
    Bytes wave = GoodWave();
    Bytes noChannels = wave;
    noChannels[TagAt(wave, "fmt ") + 10] = 0;
    noChannels[TagAt(wave, "fmt ") + 11] = 0;
    Bytes lyingFormat = wave;
    Poke32(lyingFormat, TagAt(wave, "fmt ") + 4, 0x7FFFFFF0);
    Bytes avi = GoodAvi();
    Bytes noStreams = avi;
    Poke32(noStreams, TagAt(avi, "avih") + 8 + 24, 0);
    const struct {
        const char *name;
        Bytes bytes;
        HWND panel;
        const char *idleTitle;
    } worst[] = {{"no channels.wav", noChannels, WavePanel, "WAVE PLAYER"},
                 {"lying fmt.wav", lyingFormat, WavePanel, "WAVE PLAYER"},
                 {"no streams.avi", noStreams, VideoPanel, "VIDEO PLAYER"}};
    for (const auto &file : worst) {
        std::vector<SeenBox> errors = OpenThroughDialog(file.name, file.bytes, file.panel);
        ASSERT_EQ(errors.size(), 1u) << file.name;
        EXPECT_EQ(errors[0].text, invalid) << file.name;
        EXPECT_EQ(ControlText(file.panel, IDC_TITLE), file.idleTitle) << file.name;
    }
    EXPECT_TRUE(OpenThroughDialog("sound.wav", wave, WavePanel).empty());
    EXPECT_EQ(ControlText(WavePanel, IDC_TITLE).substr(0, 5), "sound");
    Close();
}

// On the simulated card, whose sequencer reads RMID files with extra chunks.
TEST_F(MediaCheckStation, AnRmidWithExtraChunksOpensAndPlays) {
    ASSERT_EQ(Start(""), 0 + StationRunning);
    if (!MidiPanelShown)
        PressLauncher(IDC_SHOW_MIDI);
    directory = MakeMediaDir("media_check_station");
    Sample rmid = SoundSamples()[5];
    ASSERT_EQ(rmid.name, "rmid with extra chunks");
    EXPECT_TRUE(OpenThroughDialog("extra.rmi", rmid.bytes).empty());
    EXPECT_EQ(ControlText(MidiPanel, IDC_TITLE), "extra.rmi");
    SendMessageA(MidiPanel, WM_COMMAND, IDC_PLAY, 0);
    EXPECT_TRUE(ButtonLatched(GetDlgItem(MidiPanel, IDC_PLAY)));
    Close();
}

} // namespace
