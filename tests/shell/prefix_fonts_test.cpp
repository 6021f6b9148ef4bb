// The faces the station asks for resolve to themselves in the prefix: the
// caption buttons' Marlett, the templates' faces and the common dialogs'.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

struct ChosenFace {
    std::string face;
    bool fixedPitch = false;
};

ChosenFace FaceFor(const char *asked) {
    ChosenFace chosen;
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font =
        CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH, asked);
    HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof face, face);
    chosen.face = face;
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    // The flag's name says the opposite of what it means: set is variable.
    chosen.fixedPitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return chosen;
}

TEST(PrefixFonts, TheFacesTheStationAndItsDialogsAskForAreThere) {
    for (const char *face : {"Marlett", "MS Sans Serif", "Tahoma", "MS Shell Dlg", "Courier New"})
        EXPECT_EQ(FaceFor(face).face, face);
    EXPECT_TRUE(FaceFor("Courier New").fixedPitch);
}

} // namespace
