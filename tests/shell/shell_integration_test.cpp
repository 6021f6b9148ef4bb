// The copy of the shell's AutoPlay command for audio discs, taken from the
// registry of this Wine prefix into the settings file.
#include "tests/support/station_harness.h"

#include "shell/startup.h"

#include <string>

namespace {

const char PlayCommandKey[] = "AudioCD\\shell\\play\\command";

class AutoPlayCopyTest : public StationTest {
  protected:
    void SetUp() override {
        StationTest::SetUp();
        char value[512] = "";
        LONG size = sizeof value;
        hadCommand =
            RegQueryValueA(HKEY_CLASSES_ROOT, PlayCommandKey, value, &size) == ERROR_SUCCESS;
        savedCommand = value;
    }
    void TearDown() override {
        StationTest::TearDown();
        if (hadCommand)
            Register(savedCommand);
        else
            Unregister();
    }

    static void Register(const std::string &command) {
        RegSetValueA(HKEY_CLASSES_ROOT, PlayCommandKey, REG_SZ, command.c_str(),
                     static_cast<DWORD>(command.size()));
    }
    static void Unregister() {
        for (const char *key :
             {"AudioCD\\shell\\play\\command", "AudioCD\\shell\\play", "AudioCD\\shell", "AudioCD"})
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    }
    void StartAndClose() {
        ASSERT_EQ(Start(), 0 + StationRunning);
        Close();
    }
    std::string Copy() { return Setting("Init", "CDAutoPlayPath"); }

    bool hadCommand = false;
    std::string savedCommand;
};

TEST_F(AutoPlayCopyTest, TakenOnceAndAgainAfterAOneCharacterValue) {
    Register("C:\\player.exe /play %1");
    StartAndClose();
    EXPECT_EQ(Copy(), "C:\\player.exe /play %1");

    Register("C:\\other.exe /play %1");
    StartAndClose();
    EXPECT_EQ(Copy(), "C:\\player.exe /play %1") << "the registry is read only once";

    WriteSettingsFile("[Init]\r\nCDAutoPlayPath=x\r\n");
    StartAndClose();
    EXPECT_EQ(Copy(), "C:\\other.exe /play %1");
}

TEST_F(AutoPlayCopyTest, AMissingCommandIsKeptAsE) {
    Unregister();
    StartAndClose();
    EXPECT_EQ(Copy(), "e");
    Register("C:\\player.exe /play %1");
    StartAndClose();
    EXPECT_EQ(Copy(), "C:\\player.exe /play %1") << "tried again at the next start";
}

} // namespace
