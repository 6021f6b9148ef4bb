// The Name-CD dialog on template "NAME_CD". The list holds one row per
// track; only Enter (or Next) in the track-name field puts a typed name into
// the list, and only OK writes the title and every row to the database.
#include "cdplaylist/name_cd_dialog.h"

#include "cdplaylist/cd_panel.h"
#include "cdplaylist/cd_titles.h"
#include "panekit/resources/panel_ids.h"
#include "shell/settings.h"
#include "shell/station.h"
#include "shell/text_table.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int IDC_DISC_TITLE = 1131;
constexpr int IDC_TITLE_LABEL = 7008;
constexpr int IDC_TRACK_LABEL = 3000;
constexpr int IDC_TRACK_NAME = 1132;
constexpr int IDC_TRACK_LIST = 1061;
constexpr int IDC_SAVE = 1060;
constexpr int IDC_DISCARD = 1140;
constexpr int IDC_NEXT = 1141;

constexpr int IDS_NAME_CD = 529;
constexpr int IDS_CD_TITLE = 530;
constexpr int IDS_TRACK01 = 531;

constexpr int LabelSize = TextSlotSize + 8;

DWORD NamedDisc;     // the disc the dialog was opened for
int NamedTrackCount; // its tracks, one row each
WNDPROC TrackFieldProc;

HWND Item(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

int SelectedRow(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_GETCURSEL, 0, 0));
}

// A track row's name, cut to what the database keeps.
std::string TrackNameOfRow(HWND dialog, int row) {
    LRESULT length = SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_GETTEXTLEN, row, 0);
    if (length == LB_ERR)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_GETTEXT, row,
                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(std::min<size_t>(text.find('\0'), CdNameSize - 1));
    return text;
}

// The selected row into the name field, which takes the focus.
void LoadSelectedTrack(HWND dialog) {
    int row = SelectedRow(dialog);
    if (row < 0)
        return;
    HWND field = Item(dialog, IDC_TRACK_NAME);
    SetWindowTextA(field, TrackNameOfRow(dialog, row).c_str());
    SetFocus(field);
    char label[LabelSize];
    std::snprintf(label, sizeof label, "%s %02d", Text(IDS_TRACK), row + 1);
    SetDlgItemTextA(dialog, IDC_TRACK_LABEL, label);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

void SelectRow(HWND dialog, int row) {
    SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_SETCURSEL, row, 0);
    LoadSelectedTrack(dialog);
}

// Up and Down in the name field move through the list instead of the text.
LRESULT CALLBACK TrackFieldKeys(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    bool arrow = wParam == VK_UP || wParam == VK_DOWN;
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && arrow) {
        if (message == WM_KEYDOWN) {
            HWND dialog = GetParent(field);
            int row = SelectedRow(dialog);
            if (wParam == VK_UP && row > 0)
                --row;
            else if (wParam == VK_DOWN && row < NamedTrackCount - 1)
                ++row;
            SelectRow(dialog, row);
        }
        return 0;
    }
    return CallWindowProcA(TrackFieldProc, field, message, wParam, lParam);
}

void OnNext(HWND dialog) {
    int row = SelectedRow(dialog);
    if (row < 0)
        return;
    char name[CdNameSize] = "";
    GetDlgItemTextA(dialog, IDC_TRACK_NAME, name, sizeof name);
    SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_DELETESTRING, row, 0);
    SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_INSERTSTRING, row,
                        reinterpret_cast<LPARAM>(name));
    if (row < NamedTrackCount - 1)
        ++row;
    SelectRow(dialog, row);
}

// Over a failed write the dialog stays open with everything typed, and the
// title line keeps what the database holds.
void OnSave(HWND dialog) {
    char title[CdNameSize] = "";
    GetDlgItemTextA(dialog, IDC_DISC_TITLE, title, sizeof title);
    int mark = SettingsWriteMark();
    WriteDiscTitle(NamedDisc, title);
    for (int track = 1; track <= NamedTrackCount; ++track)
        WriteTrackName(NamedDisc, track, TrackNameOfRow(dialog, track - 1).c_str());
    if (ReportSettingsWritesSince(mark, dialog))
        return;
    if (CdPanel != nullptr) {
        char line[CdTitleLineLimit + 1];
        std::snprintf(line, sizeof line, "%s", title);
        SetDlgItemTextA(CdPanel, IDC_TITLE, line);
    }
    EndDialog(dialog, 1);
}

// Enter arrives as IDOK: it confirms a track name, and nothing else.
void OnEnter(HWND dialog) {
    if (GetFocus() == Item(dialog, IDC_TRACK_NAME))
        OnNext(dialog);
}

BOOL OnInitDialog(HWND dialog) {
    SetWindowTextA(dialog, Text(IDS_NAME_CD));
    SetDlgItemTextA(dialog, IDC_TITLE_LABEL, Text(IDS_CD_TITLE));
    SetDlgItemTextA(dialog, IDC_TRACK_LABEL, Text(IDS_TRACK01));
    HWND field = Item(dialog, IDC_TRACK_NAME);
    TrackFieldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrackFieldKeys)));
    // What is typed is what the database can keep.
    for (int id : {IDC_DISC_TITLE, IDC_TRACK_NAME})
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, CdNameSize - 1, 0);
    NamedDisc = DiscId;
    NamedTrackCount = static_cast<int>(TrackCount);
    char text[CdNameSize];
    ReadDiscTitle(NamedDisc, text, sizeof text);
    HWND title = Item(dialog, IDC_DISC_TITLE);
    SetWindowTextA(title, text);
    SetFocus(title);
    SendMessageA(title, EM_SETSEL, 0, -1);
    for (int track = 1; track <= NamedTrackCount; ++track) {
        ReadTrackName(NamedDisc, track, text, sizeof text);
        SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_INSERTSTRING, track - 1,
                            reinterpret_cast<LPARAM>(text));
    }
    SelectRow(dialog, 0);
    return FALSE; // the focus is where loading put it
}

void OnDestroy(HWND dialog) {
    if (TrackFieldProc != nullptr)
        SetWindowLongPtrA(Item(dialog, IDC_TRACK_NAME), GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(TrackFieldProc));
    TrackFieldProc = nullptr;
}

BOOL OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_TRACK_LIST:
        if (code == LBN_SELCHANGE)
            LoadSelectedTrack(dialog);
        break;
    case IDC_NEXT: OnNext(dialog); break;
    case IDOK: OnEnter(dialog); break;
    case IDC_SAVE: OnSave(dialog); break;
    case IDC_DISCARD:
    case IDCANCEL: EndDialog(dialog, 0); break;
    default: return FALSE;
    }
    return TRUE;
}

INT_PTR CALLBACK NameCdProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY: OnDestroy(dialog); return FALSE;
    default: return FALSE;
    }
}

} // namespace

bool RunNameCdDialog(HWND owner) {
    return DialogBoxParamA(LibraryInstance, "NAME_CD", owner, NameCdProc, 0) == 1;
}
