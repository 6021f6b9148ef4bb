// The file-name helpers of the players and the playlist import.
#include "players/file_names.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNamesTest, ExtensionsAreReadFromTheLastPeriodOfTheFilesOwnName) {
    char out[32] = "unchanged";
    FileExtensionOf("NOEXT", out, sizeof out);
    EXPECT_STREQ(out, "unchanged");
    FileExtensionOf("c:\\my.dir\\NOEXT", out, sizeof out);
    EXPECT_STREQ(out, "unchanged");
    FileExtensionOf("A.B.MID", out, sizeof out);
    EXPECT_STREQ(out, ".MID");
    FileExtensionOf("c:\\my.dir\\song.mid", out, sizeof out);
    EXPECT_STREQ(out, ".mid");
    char small[4];
    FileExtensionOf("song.midi", small, sizeof small);
    EXPECT_STREQ(small, ".mi") << "cut to the buffer, never past it";

    FileBaseNameOf("TAKE1.WAV", out, sizeof out);
    EXPECT_STREQ(out, "TAKE1");
    FileBaseNameOf("c:\\my.dir\\NOEXT", out, sizeof out);
    EXPECT_STREQ(out, "c:\\my.dir\\NOEXT");
    FileBaseNameOf("01. Intro.wav", out, sizeof out);
    EXPECT_STREQ(out, "01. Intro");
    FileBaseNameOf("A.B.MID", small, sizeof small);
    EXPECT_STREQ(small, "A.B");
}

} // namespace
