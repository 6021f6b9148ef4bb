// The collections' side of the settings file that the editor and the
// playlist files share: a collection's entries written with their end
// marker, the list of collection names, and the question before a
// collection is replaced.
#pragma once
#include "cdplaylist/sequencer.h"
#include "cdplaylist/stored_entries.h"

#include <windows.h>

// The entries of one collection, in order.
struct CollectionEntries {
    char text[MaxPlaylistEntries][EntryTextSize];
    int count = 0;
};

// Writes the entries and the end marker over what the collection's section
// held. Answers whether one of them is a disc track.
bool WriteCollectionEntries(const char *section, const CollectionEntries &entries);

// The list of collection names holds at most this many.
constexpr int MaxCollectionNames = 100;

// How many names the list holds: its "Number", 1 to MaxCollectionNames.
int ListedCollectionCount();

// Whether the list of collection names holds this name, in any case.
bool CollectionListed(const char *name);
// Adds a name at the end of the list of collection names, unless listed.
// Answers false when the list is full and the name is not in it.
bool ListCollectionName(const char *name);

// Asks whether the existing collection of that name may be replaced; answers
// whether the user said OK (Cancel is the default).
bool AskToReplaceCollection(HWND owner, const char *name);
