// The playlist player panel.
#pragma once
#include <windows.h>

INT_PTR CALLBACK PlaylistPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Subclasses the panel's two list boxes so that they scroll together.
void SubclassPlaylistLists();
