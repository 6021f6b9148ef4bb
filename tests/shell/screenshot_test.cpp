// Saves a picture of the launcher bar and of every stacked panel under the
// build directory (screens/*.bmp) for people to look at, and checks that
// each one shows a painted skin rather than an empty window.
#include "panekit/resources/panel_ids.h"
#include "shell/launcher_bar.h"
#include "shell/station.h"
#include "tests/support/screen_pixels.h"
#include "tests/support/station_harness.h"

#include <cstdint>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

using ScreenshotTest = StationTest;

// The window's pixels as 32-bit BGRX rows, top row first.
std::vector<uint32_t> Capture(HWND window, int *width, int *height) {
    RECT rect;
    GetWindowRect(window, &rect);
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    HDC source = GetWindowDC(window);
    std::vector<uint32_t> pixels = CopyPixels(source, 0, 0, *width, *height);
    ReleaseDC(window, source);
    return pixels;
}

void SaveBmp(const std::string &path, const std::vector<uint32_t> &pixels, int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    DWORD imageBytes = static_cast<DWORD>(pixels.size() * 4);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + imageBytes;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(&file), sizeof file);
    out.write(reinterpret_cast<const char *>(&header), sizeof header);
    out.write(reinterpret_cast<const char *>(pixels.data()), imageBytes);
}

} // namespace

TEST_F(ScreenshotTest, EveryPanelIsPaintedAndSavedForPeopleToLookAt) {
    ASSERT_TRUE(StartWithEveryPanel());
    UpdateWindow(MainWindow);
    Pump(200);

    std::string directory = BuildFile("screens");
    CreateDirectoryA(directory.c_str(), nullptr);
    const struct {
        HWND window;
        const char *name;
    } shots[] = {{MainWindow, "station"},     {LauncherBar, "launcher"}, {CdPanel, "cd"},
                 {MidiPanel, "midi"},         {WavePanel, "wave"},       {MixerPanel, "mixer"},
                 {PlaylistPanel, "playlist"}, {VideoPanel, "video"}};
    for (const auto &shot : shots) {
        ASSERT_NE(shot.window, nullptr) << shot.name;
        int width = 0, height = 0;
        std::vector<uint32_t> pixels = Capture(shot.window, &width, &height);
        SaveBmp(directory + "\\" + shot.name + ".bmp", pixels, width, height);
        std::set<uint32_t> colours;
        for (uint32_t pixel : pixels)
            colours.insert(pixel & 0xFFFFFF);
        EXPECT_GT(colours.size(), 8u) << shot.name << " looks unpainted";
    }
}
