// Entry point of panekit32: loading the library registers its control classes.
#include "panekit/controls.h"

#include "panekit/resources/panel_ids.h"

HINSTANCE PanekitInstance;

namespace {

constexpr UINT SharedClassStyle = CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
constexpr int ClassNameSize = 40;

ATOM RegisteredClassAtom;

struct PanelClass {
    int nameId;
    WNDPROC procedure;
    int windowExtra;
};

const PanelClass PanelClasses[] = {
    {IDS_CLASS_BITMAPBUTTON, BitmapButtonProc, sizeof(LONG_PTR)}, // the state block's address
    {IDS_CLASS_SLIDERVOL, SliderVolProc, 36},
    {IDS_CLASS_HILITEBITMAP, HiliteBitmapProc, 36},
};

} // namespace

ATOM RegisterPanelClasses(HINSTANCE library) {
    if (RegisteredClassAtom != 0)
        return RegisteredClassAtom;
    for (const PanelClass &panelClass : PanelClasses) {
        char name[ClassNameSize];
        if (LoadStringA(library, panelClass.nameId, name, sizeof name) <= 0)
            return 0;
        WNDCLASSA windowClass{};
        windowClass.style = SharedClassStyle;
        windowClass.lpfnWndProc = panelClass.procedure;
        windowClass.cbWndExtra = panelClass.windowExtra;
        windowClass.hInstance = library;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = name;
        RegisteredClassAtom = RegisterClassA(&windowClass);
        if (RegisteredClassAtom == 0)
            return 0;
    }
    return RegisteredClassAtom;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE library, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    if (RegisterPanelClasses(library) == 0) {
        PanekitInstance = nullptr;
        return FALSE;
    }
    PanekitInstance = library;
    return TRUE;
}
