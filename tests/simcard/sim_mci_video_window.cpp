// The playback window that the simulated video devices show their picture
// in: a real window, a child of the given parent or an overlapped window of
// its own, painted by its device.
#include "tests/simcard/sim_mci_device.h"

#include <digitalv.h>

namespace {

const char PlaybackClass[] = "SimCardAviPlayback";

LRESULT CALLBACK PlaybackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *painter = reinterpret_cast<SimPicture *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_PAINT && painter != nullptr) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        painter->Paint(dc, area);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND && painter != nullptr)
        return 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterPlaybackClass() {
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PlaybackProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = PlaybackClass;
    registered = RegisterClassA(&windowClass) != 0;
    return registered;
}

} // namespace

MCIERROR OpenPlaybackWindow(DWORD flags, DWORD_PTR params, const std::string &element, SIZE picture,
                            SimPicture *painter, HWND &window) {
    const auto &open = *reinterpret_cast<MCI_DGV_OPEN_PARMSA *>(params);
    DWORD style = (flags & MCI_DGV_OPEN_WS) ? open.dwStyle : WS_OVERLAPPEDWINDOW;
    HWND parent = (flags & MCI_DGV_OPEN_PARENT) ? open.hWndParent : nullptr;
    if ((style & WS_CHILD) && parent == nullptr)
        return MCIERR_CREATEWINDOW;
    if (!RegisterPlaybackClass())
        return MCIERR_CREATEWINDOW;
    // The window fits the picture; it stays hidden until play or a show.
    RECT frame = {0, 0, picture.cx, picture.cy};
    AdjustWindowRect(&frame, style & ~WS_VISIBLE, FALSE);
    int x = (style & WS_CHILD) ? 0 : CW_USEDEFAULT;
    int y = (style & WS_CHILD) ? 0 : CW_USEDEFAULT;
    std::string title = element.substr(element.find_last_of("\\/") + 1);
    window = CreateWindowExA(0, PlaybackClass, title.c_str(), style & ~WS_VISIBLE, x, y,
                             frame.right - frame.left, frame.bottom - frame.top, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr)
        return MCIERR_CREATEWINDOW;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(painter));
    return 0;
}

void ClosePlaybackWindow(HWND &window) {
    if (window == nullptr)
        return;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    window = nullptr;
}

MCIERROR WherePlayback(HWND window, SIZE picture, DWORD flags, DWORD_PTR params) {
    if (params == 0)
        return MCIERR_NULL_PARAMETER_BLOCK;
    auto &where = *reinterpret_cast<MCI_DGV_RECT_PARMS *>(params);
    DWORD kind = flags & (MCI_DGV_WHERE_SOURCE | MCI_DGV_WHERE_DESTINATION | MCI_DGV_WHERE_WINDOW |
                          MCI_DGV_WHERE_FRAME | MCI_DGV_WHERE_VIDEO);
    if (kind == 0)
        return MCIERR_MISSING_PARAMETER;
    if ((kind & (kind - 1)) != 0)
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    RECT area = {0, 0, picture.cx, picture.cy};
    if (kind == MCI_DGV_WHERE_DESTINATION) {
        GetClientRect(window, &area);
    } else if (kind == MCI_DGV_WHERE_WINDOW) {
        GetWindowRect(window, &area);
        area.right -= area.left;
        area.bottom -= area.top;
    }
    where.rc = area;
    return 0;
}

MCIERROR CommandPlaybackWindow(HWND window, DWORD flags, DWORD_PTR params) {
    if (params == 0)
        return MCIERR_NULL_PARAMETER_BLOCK;
    const auto &request = *reinterpret_cast<MCI_DGV_WINDOW_PARMSA *>(params);
    if (flags & MCI_DGV_WINDOW_HWND) {
        // Only the device's own window is simulated.
        if (request.hWnd != MCI_DGV_WINDOW_DEFAULT && request.hWnd != window)
            return MCIERR_UNSUPPORTED_FUNCTION;
    }
    if (flags & MCI_DGV_WINDOW_STATE)
        ShowWindow(window, static_cast<int>(request.nCmdShow));
    if ((flags & MCI_DGV_WINDOW_TEXT) && request.lpstrText != nullptr)
        SetWindowTextA(window, request.lpstrText);
    return 0;
}
