#include "shell/fonts.h"

#include "panekit/resources/panel_ids.h"
#include "shell/station.h"
#include "shell/text_table.h"
#include <initializer_list>

HFONT PanelFont;
HFONT MixerFont;
HFONT PlaylistFont;

namespace {

FontSize PanelFontSize(int a, int language) {
    int h = a > 16 ? a * 9 / 10 : a * 6 / 5;
    if (language == LanguageJapanese)
        return {h, SHIFTJIS_CHARSET};
    if (language == LanguageFrench)
        return {h * 8 / 10, DEFAULT_CHARSET};
    return {h, DEFAULT_CHARSET};
}

// Works on h, which the playlist font continues from.
FontSize MixerFontSize(int a, int language, int shellGeneration, int &h) {
    h = a;
    if (a <= 16)
        h = h * 8 / 5;
    if (language == LanguageJapanese && shellGeneration == 95)
        return {h * 5 / 10, SHIFTJIS_CHARSET};
    if (language == LanguageJapanese) {
        if (a <= 12)
            h = h * 9 / 5;
        if (a > 16 && a < 24)
            h = h * 9 / 5;
        if (a >= 24)
            h = h * 8 / 5;
        if (a == 16)
            h = h * 7 / 5;
        return {h * 3 / 10, SHIFTJIS_CHARSET};
    }
    if (language == LanguageFrench) {
        h = a > 16 ? h * 9 / 10 : h * 7 / 10;
        return {h * 6 / 10, OEM_CHARSET};
    }
    if (language == LanguageSpanish)
        return {a >= 16 ? h * 5 / 10 : h * 6 / 10, DEFAULT_CHARSET};
    return {h * 5 / 10, OEM_CHARSET};
}

FontSize PlaylistFontSize(int a, int language, int h) {
    if (language == LanguageJapanese) {
        h = a > 16 ? h * 7 / 5 : h * 11 / 10;
        return {h * 5 / 10, SHIFTJIS_CHARSET};
    }
    h = a >= 16 ? h * 11 / 10 : h * 14 / 10;
    switch (language) {
    case LanguageFrench: h = a >= 16 ? h * 12 / 10 : h * 11 / 10; return {h * 8 / 10, OEM_CHARSET};
    case LanguageSpanish: return {h * 6 / 10, OEM_CHARSET};
    case LanguageItalian: return {a <= 16 ? h * 6 / 10 : h * 7 / 10, DEFAULT_CHARSET};
    default: return {h * 6 / 10, DEFAULT_CHARSET};
    }
}

HFONT CreateStationFont(const FontSize &size) {
    return CreateFontA(size.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, size.charset,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, FIXED_PITCH | FF_MODERN,
                       Text(IDS_FONT_FACE));
}

} // namespace

SharedFontSizes ComputeSharedFontSizes(int ascent, int languageCode, int shellGeneration) {
    SharedFontSizes sizes;
    int h = 0;
    sizes.panel = PanelFontSize(ascent, languageCode);
    sizes.mixer = MixerFontSize(ascent, languageCode, shellGeneration, h);
    sizes.playlist = PlaylistFontSize(ascent, languageCode, h);
    return sizes;
}

void CreateSharedFonts() {
    SharedFontSizes sizes = ComputeSharedFontSizes(DefaultAscent, LanguageCode, ShellGeneration);
    PanelFont = CreateStationFont(sizes.panel);
    MixerFont = CreateStationFont(sizes.mixer);
    PlaylistFont = CreateStationFont(sizes.playlist);
}

void DeleteSharedFonts() {
    for (HFONT *font : {&PanelFont, &MixerFont, &PlaylistFont}) {
        if (*font != nullptr)
            DeleteObject(*font);
        *font = nullptr;
    }
}
