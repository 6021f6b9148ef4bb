// Skin bitmaps of panekit32: every image the panels and controls draw is
// present at the size the layout expects, is a plain bottom-up DIB that the
// platform decodes, and all 8-bit images carry the one colour table from
// which the station builds its shared palette. The faces of one control
// must differ, or a press, a latch or a lit lamp would not show.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

HMODULE panekit() {
    static HMODULE lib = LoadLibraryA(PANEKIT32_PATH);
    return lib;
}

// One bitmap resource as stored: header, colour table and pixels.
struct StoredDib {
    const BITMAPINFOHEADER *header = nullptr;
    const RGBQUAD *table = nullptr;
    int colours = 0;
    const BYTE *pixels = nullptr;
    DWORD pixelBytes = 0;
};

// Reads the raw DIB; fails the test (and returns false) when it is missing
// or when its pixels would run past the end of the resource.
bool ReadDib(HMODULE module, int id, StoredDib *dib) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (found == nullptr) {
        ADD_FAILURE() << "bitmap " << id << " is missing";
        return false;
    }
    DWORD size = SizeofResource(module, found);
    auto *header = static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(module, found)));
    if (header == nullptr || size < sizeof *header) {
        ADD_FAILURE() << "bitmap " << id << " has no header";
        return false;
    }
    dib->header = header;
    dib->colours = header->biClrUsed != 0 ? static_cast<int>(header->biClrUsed)
                                          : (header->biBitCount <= 8 ? 1 << header->biBitCount : 0);
    dib->table =
        reinterpret_cast<const RGBQUAD *>(reinterpret_cast<const BYTE *>(header) + header->biSize);
    dib->pixels = reinterpret_cast<const BYTE *>(dib->table + dib->colours);
    DWORD stride = ((header->biWidth * header->biBitCount + 31) / 32) * 4;
    dib->pixelBytes =
        stride * static_cast<DWORD>(header->biHeight < 0 ? -header->biHeight : header->biHeight);
    if (header->biSize + dib->colours * sizeof(RGBQUAD) + dib->pixelBytes > size) {
        ADD_FAILURE() << "bitmap " << id << " is shorter than its header says";
        return false;
    }
    return true;
}

struct Image {
    int id;
    int width;
    int height;
    int bits = 8;
};

const std::vector<Image> &Images() {
    static const std::vector<Image> images = [] {
        std::vector<Image> all = {
            // Panel backgrounds, and the hidden VIDEO launcher key.
            {1999, 640, 41},
            {122, 639, 83},
            {4053, 639, 83},
            {1016, 640, 83},
            {4054, 640, 84},
            {1017, 640, 83},
            {7021, 224, 259},
            {4047, 639, 106},
            {4040, 47, 24},
            {4041, 45, 25},
            // Power key, shared by every panel.
            {1020, 48, 18},
            {1021, 46, 18},
            // Launcher key 2000 has shorter pressed and latched faces.
            {2000, 51, 14},
            {2001, 51, 13},
            {2002, 51, 13},
            // Mixer Lock.
            {1030, 48, 18},
            {1031, 46, 18},
            {1032, 46, 18},
            // CD and VIDEO option keys.
            {4032, 60, 24},
            {4042, 60, 24},
            {4043, 61, 24},
            {4044, 60, 24},
            // WAVE panel keys.
            {4024, 138, 18},
            {4025, 39, 17},
            {4026, 138, 18},
            {4028, 88, 21},
            {4029, 88, 21},
            // Slider tracks, unlit and lit.
            {7025, 19, 48},
            {7026, 19, 48},
            // The VIDEO lamp is the one 4-bit image.
            {4045, 40, 16, 4},
            {4046, 40, 16, 4},
        };
        auto faces = [&all](int first, int count, int width, int height) {
            for (int id = first; id < first + count; ++id)
                all.push_back({id, width, height});
        };
        for (int id : {1002, 1004, 1006, 1008, 1010})
            faces(id, 2, 45, 21); // transport keys, up and pressed
        faces(4000, 3, 45, 21);   // play, pause and record also latch
        faces(4004, 3, 45, 21);
        faces(1022, 3, 45, 21);
        faces(2003, 3, 52, 14); // launcher keys
        faces(2006, 3, 55, 14);
        faces(2009, 3, 48, 14);
        faces(7030, 3, 47, 14);
        faces(7040, 3, 48, 14);
        faces(1040, 3, 52, 14);
        faces(4049, 3, 58, 14);
        faces(1014, 2, 48, 18); // CD door, open file, CD repeat and name
        faces(2012, 2, 48, 18);
        faces(4034, 3, 48, 18);
        faces(4038, 2, 48, 18);
        faces(4055, 3, 44, 11); // shared mute faces
        faces(1161, 3, 46, 46); // shared preset faces
        faces(1165, 3, 37, 35); // MANUAL
        faces(1070, 3, 39, 20); // 3D stage switch
        faces(7017, 3, 13, 7);  // record-source selectors
        for (int id : {4012, 4009, 113})
            faces(id, 2, 39, 12); // playlist lamps
        for (int id : {4016, 4018, 4020, 4022})
            faces(id, 2, 36, 11); // record-source lamps
        return all;
    }();
    return images;
}

TEST(SkinImages, EveryImageHasItsSizeAndDepthAndDecodes) {
    ASSERT_NE(panekit(), nullptr);
    for (const Image &image : Images()) {
        SCOPED_TRACE(image.id);
        StoredDib dib;
        if (!ReadDib(panekit(), image.id, &dib))
            continue;
        EXPECT_EQ(dib.header->biWidth, image.width);
        EXPECT_EQ(dib.header->biHeight, image.height); // positive: bottom-up
        EXPECT_EQ(dib.header->biBitCount, image.bits);
        EXPECT_EQ(dib.header->biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(dib.colours, 1 << image.bits);

        HBITMAP loaded = LoadBitmapA(panekit(), MAKEINTRESOURCEA(image.id));
        ASSERT_NE(loaded, nullptr);
        BITMAP info{};
        GetObjectA(loaded, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, image.width);
        EXPECT_EQ(info.bmHeight, image.height);
        DeleteObject(loaded);
    }
}

TEST(SkinImages, EveryEightBitImageCarriesTheLauncherBarsColourTable) {
    StoredDib first;
    ASSERT_TRUE(ReadDib(panekit(), 1999, &first));
    ASSERT_EQ(first.colours, 256);
    for (const Image &image : Images()) {
        StoredDib dib;
        if (image.bits != 8 || !ReadDib(panekit(), image.id, &dib))
            continue;
        ASSERT_EQ(dib.colours, 256) << image.id;
        EXPECT_EQ(std::memcmp(dib.table, first.table, 256 * sizeof(RGBQUAD)), 0)
            << "bitmap " << image.id << " has a colour table of its own";
    }
}

bool SamePixels(int a, int b) {
    StoredDib first, second;
    if (!ReadDib(panekit(), a, &first) || !ReadDib(panekit(), b, &second))
        return false;
    return first.pixelBytes == second.pixelBytes &&
           std::memcmp(first.pixels, second.pixels, first.pixelBytes) == 0;
}

TEST(SkinImages, PressedLatchedAndLitFacesLookDifferent) {
    // Keys with up, pressed and (where they latch) latched faces.
    const std::vector<std::pair<int, int>> keys = {
        {1002, 2}, {1004, 2}, {1006, 2}, {1008, 2}, {1010, 2}, {4000, 3}, {4004, 3}, {1022, 3},
        {1020, 2}, {2000, 3}, {2003, 3}, {2006, 3}, {2009, 3}, {7030, 3}, {7040, 3}, {1040, 3},
        {4049, 3}, {1014, 2}, {2012, 2}, {4034, 3}, {4038, 2}, {1030, 3}, {4042, 3}, {4028, 2},
        {4055, 3}, {1161, 3}, {1165, 3}, {1070, 3}, {7017, 3}, {4040, 2}, {7025, 2}, {4012, 2},
        {4009, 2}, {113, 2},  {4045, 2}, {4016, 2}, {4018, 2}, {4020, 2}, {4022, 2}};
    for (auto [base, count] : keys)
        for (int i = 0; i < count; ++i)
            for (int j = i + 1; j < count; ++j)
                EXPECT_FALSE(SamePixels(base + i, base + j))
                    << "faces " << base + i << " and " << base + j << " are the same";
}

} // namespace
