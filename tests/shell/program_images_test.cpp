// The program's own images: the display animation the panels draw at their
// idle and playing displays, stored as 8-bit bottom-up DIBs with the same
// colour table as panekit32's skins (the shared palette is built from
// whichever bitmap is drawn first), and the program icon in both sizes.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The raw DIB of a bitmap resource, or null when it is missing or short.
const BITMAPINFOHEADER *StoredDib(HMODULE module, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (found == nullptr)
        return nullptr;
    DWORD size = SizeofResource(module, found);
    auto *header = static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(module, found)));
    if (header == nullptr || size < sizeof *header || header->biBitCount != 8)
        return header;
    DWORD stride = ((header->biWidth * 8 + 31) / 32) * 4;
    DWORD needed = header->biSize + 256 * sizeof(RGBQUAD) + stride * header->biHeight;
    return needed <= size ? header : nullptr;
}

const RGBQUAD *ColourTable(const BITMAPINFOHEADER *header) {
    return reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(header) +
                                             header->biSize);
}

struct Display {
    int first;
    int last;
    int width;
    int height;
};

// Idle displays 104 and 135 and their animation frames.
const std::vector<Display> Displays = {
    {104, 114, 158, 20}, {135, 135, 138, 18}, {4031, 4040, 138, 18}};

TEST(ProgramImages, DisplayBitmapsHaveTheirSizesAndTheSkinsColourTable) {
    HMODULE program = GetModuleHandleA(nullptr);
    // The library's own table, read without running the library.
    HMODULE skins = LoadLibraryExA("panekit32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(skins, nullptr);
    const BITMAPINFOHEADER *launcher = StoredDib(skins, 1999);
    ASSERT_NE(launcher, nullptr);
    for (const Display &display : Displays) {
        for (int id = display.first; id <= display.last; ++id) {
            SCOPED_TRACE(id);
            const BITMAPINFOHEADER *header = StoredDib(program, id);
            ASSERT_NE(header, nullptr) << "display bitmap missing or short";
            EXPECT_EQ(header->biWidth, display.width);
            EXPECT_EQ(header->biHeight, display.height);
            EXPECT_EQ(header->biBitCount, 8);
            EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
            EXPECT_TRUE(header->biClrUsed == 0 || header->biClrUsed == 256);
            EXPECT_EQ(std::memcmp(ColourTable(header), ColourTable(launcher), 256 * 4), 0);
        }
    }
    FreeLibrary(skins);
}

TEST(ProgramImages, AnimationFramesMoveAndDifferFromTheIdleDisplay) {
    HMODULE program = GetModuleHandleA(nullptr);
    struct Loop {
        int idle, first, last;
    };
    for (const auto &[idle, first, last] : {Loop{104, 105, 114}, Loop{135, 4031, 4040}}) {
        auto pixels = [program](int id) {
            const BITMAPINFOHEADER *header = StoredDib(program, id);
            const BYTE *start = reinterpret_cast<const BYTE *>(ColourTable(header) + 256);
            DWORD bytes = ((header->biWidth * 8 + 31) / 32) * 4 * header->biHeight;
            return std::vector<BYTE>(start, start + bytes);
        };
        std::vector<BYTE> resting = pixels(idle);
        for (int id = first; id <= last; ++id) {
            EXPECT_NE(pixels(id), resting) << id;
            EXPECT_NE(pixels(id), pixels(id == last ? first : id + 1)) << id;
        }
    }
}

TEST(ProgramImages, IconComesInBothSizes) {
    HMODULE program = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(program, "SONIKBAY", MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(program, "SONIKBAY", IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask{};
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, size);
        DeleteObject(info.hbmMask);
        if (info.hbmColor != nullptr)
            DeleteObject(info.hbmColor);
        DestroyIcon(icon);
    }
    EXPECT_NE(LoadIconA(program, "SONIKBAY"), nullptr);
}

} // namespace
