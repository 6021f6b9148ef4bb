// The text table: every message and label text, loaded from panekit32's
// string table at start-up.
#pragma once
#include <windows.h>

constexpr int TextSlotSize = 256;

// Loads ids 101..128 and 501..573 from the library. Texts the library does not
// have keep the built-in copy where there is one (the few texts needed to say
// that the library itself is missing), else the empty text.
void LoadTextTable(HINSTANCE library);

// Text of a string id of the table; the empty text for an id outside it.
const char *Text(int id);
