// What the control tests share: the library loaded once per process, a
// visible host window that records what its children send or post to it, a
// message pump with a deadline, a 32-bit canvas to render controls into,
// the library's own faces read back pixel by pixel, and a count of GDI
// handles that works under Wine.
#pragma once
#include "tests/support/object_census.h"
#include "tests/support/screen_pixels.h"
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "../../panekit/resources/panel_ids.h"

namespace harness {

inline HMODULE Panekit() {
    static HMODULE lib = LoadLibraryA(PANEKIT32_PATH);
    return lib;
}

// A WM_COMMAND or SVM_POSCHANGED that reached a recording window.
struct Note {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Note &o) const {
        return message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};

inline std::ostream &operator<<(std::ostream &os, const Note &n) {
    return os << "{" << n.message << ", " << n.wParam << " (" << LOWORD(n.wParam) << ","
              << HIWORD(n.wParam) << "), 0x" << std::hex << n.lParam << std::dec << "}";
}

inline std::vector<Note> &Notes() {
    static std::vector<Note> notes;
    return notes;
}

// When set, the host destroys the window named by a NOTIFY_LATCHED it receives.
inline bool &DestroyOnLatch() {
    static bool destroy;
    return destroy;
}

inline bool Recorded(UINT message) {
    return message == WM_COMMAND || message == SVM_POSCHANGED;
}

inline LRESULT CALLBACK HostProc(HWND host, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Recorded(message)) {
        Notes().push_back({message, wParam, lParam});
        if (message == WM_COMMAND && wParam == NOTIFY_LATCHED && DestroyOnLatch())
            DestroyWindow(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return DefWindowProcA(host, message, wParam, lParam);
}

inline INT_PTR CALLBACK RecordingDialogProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Recorded(message)) {
        Notes().push_back({message, wParam, lParam});
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

// A visible top-level window at the screen's top-left corner.
inline HWND Host() {
    static HWND host = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = "PanekitTestHost";
        RegisterClassA(&wc);
        return CreateWindowExA(0, "PanekitTestHost", "host", WS_POPUP | WS_VISIBLE, 0, 0, 640, 240,
                               nullptr, nullptr, wc.hInstance, nullptr);
    }();
    return host;
}

// Dispatches everything queued until `ms` milliseconds have passed; 0
// drains what is queued now.
inline void Pump(DWORD ms = 0) {
    DWORD end = GetTickCount() + ms;
    MSG msg;
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        LONG left = static_cast<LONG>(end - GetTickCount());
        if (left <= 0)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
}

// Puts the system pointer far from every test window, so that windows
// appearing and vanishing under it make the system send no mouse moves to
// a control that holds the capture; then drains what is queued.
inline void ParkPointer() {
    SetCursorPos(1100, 1000);
    Pump(20);
}

// A child control of the host, destroyed at scope exit.
struct Control {
    HWND hwnd;
    Control(const char *cls, int id, DWORD style, int x, int y, int w, int h, HWND parent = Host())
        : hwnd(CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                               nullptr)) {}
    ~Control() {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;
};

// A dialog of the library with a recording dialog procedure.
struct Dialog {
    HWND hwnd;
    Dialog(const char *name, HWND parent = Host())
        : hwnd(CreateDialogParamA(Panekit(), name, parent, RecordingDialogProc, 0)) {}
    ~Dialog() {
        if (hwnd)
            DestroyWindow(hwnd);
    }
    Dialog(const Dialog &) = delete;
    Dialog &operator=(const Dialog &) = delete;
};

inline LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

// Mouse messages as the window manager delivers them to a window.
inline void Down(HWND w, int x, int y) {
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
}
inline void Move(HWND w, int x, int y) {
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, At(x, y));
}
inline void Up(HWND w, int x, int y) {
    SendMessageA(w, WM_LBUTTONUP, 0, At(x, y));
}

// A 32-bit top-down canvas, filled with one colour, for WM_PRINTCLIENT.
class Canvas {
  public:
    static constexpr COLORREF Untouched = RGB(1, 2, 3);

    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = TopDownInfo(width, height);
        dc_ = CreateCompatibleDC(nullptr);
        void *bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<DWORD *>(bits);
        previous_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i)
            bits_[i] = 0x010203; // Untouched
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    HDC dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Renders a control's client area the way it paints itself.
    void Render(HWND control) {
        SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    DWORD *bits_;
};

inline bool FaceExists(int id) {
    return FindResourceA(Panekit(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)) != nullptr;
}

// A face of the library read back as a device-independent section.
class FaceImage {
  public:
    explicit FaceImage(int id)
        : bitmap_(static_cast<HBITMAP>(LoadImageA(Panekit(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0,
                                                  0, LR_CREATEDIBSECTION))),
          dc_(CreateCompatibleDC(nullptr)) {
        previous_ = SelectObject(dc_, bitmap_);
        GetObjectA(bitmap_, sizeof info_, &info_);
    }
    ~FaceImage() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    FaceImage(const FaceImage &) = delete;
    FaceImage &operator=(const FaceImage &) = delete;

    int width() const { return info_.bmWidth; }
    int height() const { return info_.bmHeight; }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

  private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
    BITMAP info_{};
};

// Checks that `canvas` shows face `id` 1:1 from (0, 0) over the part of the
// control's client area that the face covers, on a grid of sample points.
inline void ExpectShowsFace(const Canvas &canvas, int id, int clientWidth, int clientHeight) {
    FaceImage face(id);
    int w = face.width() < clientWidth ? face.width() : clientWidth;
    int h = face.height() < clientHeight ? face.height() : clientHeight;
    ASSERT_GT(w, 0);
    for (int y = 0; y < h; y += 3)
        for (int x = 0; x < w; x += 3)
            ASSERT_EQ(canvas.Pixel(x, y), face.Pixel(x, y))
                << "face " << id << " at " << x << "," << y;
}

using ::LiveGdiObjects;

} // namespace harness
