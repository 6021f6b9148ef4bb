// The three shared text fonts of the panels, sized from the default font's
// ascent and the user's language.
#pragma once
#include <windows.h>

extern HFONT PanelFont;    // CD, MIDI and WAVE panels
extern HFONT MixerFont;    // mixer panel
extern HFONT PlaylistFont; // playlist panel

struct FontSize {
    int height;
    BYTE charset;
};

struct SharedFontSizes {
    FontSize panel;
    FontSize mixer;
    FontSize playlist;
};

SharedFontSizes ComputeSharedFontSizes(int ascent, int languageCode, int shellGeneration);

// Creates the three fonts from DefaultAscent, LanguageCode and ShellGeneration.
void CreateSharedFonts();
void DeleteSharedFonts();
