// Helpers of the player tests: real file drops on the main window, songs
// written to disk, panel texts and answers for the common file dialogs.
#pragma once
#include "tests/simcard/media_files.h"
#include "tests/support/box_robot.h"

#include "shell/station.h"

#include <windows.h>
#include <dlgs.h>
#include <shlobj.h>

#include <cstring>

#include <string>
#include <vector>

inline void DropOnMainWindow(const std::vector<std::string> &names) {
    size_t chars = 1;
    for (const std::string &name : names)
        chars += name.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars);
    auto *drop = static_cast<DROPFILES *>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char *text = reinterpret_cast<char *>(drop + 1);
    for (const std::string &name : names) {
        std::memcpy(text, name.c_str(), name.size() + 1);
        text += name.size() + 1;
    }
    GlobalUnlock(memory);
    PostMessageA(MainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

inline std::string WriteSong(const std::string &directory, const char *name, DWORD seconds) {
    MidiSong song;
    song.division = 96;
    song.tempos = {{0, 500000}};
    song.lengthTicks = seconds * 2 * 96; // two quarter notes a second
    std::string path = directory + "\\" + name;
    WriteBytes(path, MakeMidi(song));
    return path;
}

inline std::string ControlText(HWND dialog, int id) {
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

namespace player_test {

struct FileDialogSearch {
    HWND dialog = nullptr;
};

inline BOOL CALLBACK FindFileDialog(HWND window, LPARAM lParam) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        std::strcmp(className, "#32770") == 0 && GetDlgItem(window, IDOK) != nullptr &&
        (GetDlgItem(window, edt1) != nullptr || GetDlgItem(window, cmb13) != nullptr)) {
        reinterpret_cast<FileDialogSearch *>(lParam)->dialog = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace player_test

// The common file dialog this process shows, or null.
inline HWND FileDialogShown() {
    player_test::FileDialogSearch search;
    EnumWindows(player_test::FindFileDialog, reinterpret_cast<LPARAM>(&search));
    return search.dialog;
}

inline BoxRobot::Answer TypeIntoFileDialog(const std::string &name) {
    return [name](const SeenBox &) -> int {
        HWND dialog = FileDialogShown();
        if (dialog == nullptr)
            return 0;
        HWND field = GetDlgItem(dialog, edt1);
        if (field == nullptr)
            field = GetDlgItem(dialog, cmb13);
        // The dialog may still be filling its fields when it first shows:
        // type until the name stays.
        for (int tries = 0; tries < 20; ++tries) {
            SendMessageA(dialog, WM_NULL, 0, 0);
            SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
            Sleep(25);
            SendMessageA(dialog, WM_NULL, 0, 0);
            char typed[MAX_PATH] = "";
            GetWindowTextA(field, typed, sizeof typed);
            if (name == typed)
                break;
        }
        return IDOK;
    };
}
