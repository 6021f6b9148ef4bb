// The simulated "avivideo" device: reads the main header of an AVI file and
// plays its frames in a real playback window, a child of the given parent or
// an overlapped window of its own. Positions are frames; MCI rectangles give
// an offset and an extent (right and bottom hold width and height).
#include "tests/simcard/sim_mci_device.h"

#include "tests/simcard/media_files.h"

#include <digitalv.h>

#include <algorithm>

namespace {

const char PlaybackClass[] = "SimCardAviPlayback";

class AviVideo;

LRESULT CALLBACK PlaybackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

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

class AviVideo : public SimDevice {
  public:
    AviVideo() : SimDevice("avivideo") { timeFormat = MCI_FORMAT_FRAMES; }

    MCIERROR Load(DWORD flags, DWORD_PTR params) override {
        const auto &open = *reinterpret_cast<MCI_DGV_OPEN_PARMSA *>(params);
        if ((flags & MCI_OPEN_ELEMENT) == 0 || element.empty())
            return MCIERR_FILENAME_REQUIRED;
        Bytes file;
        if (MCIERROR error = LoadFile(element, file))
            return error;
        if (!ReadAvi(file, movie))
            return MCIERR_INVALID_FILE;
        DWORD style = (flags & MCI_DGV_OPEN_WS) ? open.dwStyle : WS_OVERLAPPEDWINDOW;
        HWND parent = (flags & MCI_DGV_OPEN_PARENT) ? open.hWndParent : nullptr;
        if ((style & WS_CHILD) && parent == nullptr)
            return MCIERR_CREATEWINDOW;
        if (!RegisterPlaybackClass())
            return MCIERR_CREATEWINDOW;
        // The window fits the picture; it stays hidden until play or a show.
        RECT frame = {0, 0, static_cast<LONG>(movie.width), static_cast<LONG>(movie.height)};
        AdjustWindowRect(&frame, style & ~WS_VISIBLE, FALSE);
        int x = (style & WS_CHILD) ? 0 : CW_USEDEFAULT;
        int y = (style & WS_CHILD) ? 0 : CW_USEDEFAULT;
        std::string title = element.substr(element.find_last_of("\\/") + 1);
        window = CreateWindowExA(0, PlaybackClass, title.c_str(), style & ~WS_VISIBLE, x, y,
                                 frame.right - frame.left, frame.bottom - frame.top, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        if (window == nullptr)
            return MCIERR_CREATEWINDOW;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        return 0;
    }

    void Closing() override {
        SimDevice::Closing();
        if (window != nullptr) {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            DestroyWindow(window);
            window = nullptr;
        }
    }

    // The frame on show: a grey that brightens along the movie.
    void Paint(HDC dc, const RECT &area) {
        DWORD frame = run.position;
        BYTE shade = static_cast<BYTE>(movie.frames ? frame * 255 / movie.frames : 0);
        HBRUSH brush = CreateSolidBrush(RGB(shade, shade, shade));
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }

  protected:
    Transport &Run() override { return run; }
    DWORD Length() override { return movie.frames; }
    DWORD UnitsIn(DWORD milliseconds) override {
        return static_cast<DWORD>(uint64_t(milliseconds) * 1000 / movie.microsPerFrame);
    }
    DWORD MillisecondsFor(DWORD frames) override {
        return static_cast<DWORD>((uint64_t(frames) * movie.microsPerFrame + 999) / 1000);
    }
    bool AcceptsTimeFormat(DWORD format) override {
        return format == MCI_FORMAT_FRAMES || format == MCI_FORMAT_MILLISECONDS;
    }
    MCIERROR ToUnits(DWORD value, DWORD &frame) override {
        frame = timeFormat == MCI_FORMAT_FRAMES ? value : UnitsIn(value);
        return frame > movie.frames ? MCIERR_OUTOFRANGE : 0;
    }
    DWORD FromUnits(DWORD frame) override {
        return timeFormat == MCI_FORMAT_FRAMES
                   ? frame
                   : static_cast<DWORD>(uint64_t(frame) * movie.microsPerFrame / 1000);
    }

    void Playing() override {
        if (!IsWindowVisible(window))
            ShowWindow(window, SW_SHOWNA);
        InvalidateRect(window, nullptr, FALSE);
    }

    void Ran(DWORD, DWORD, DWORD) override { InvalidateRect(window, nullptr, FALSE); }

    MCIERROR StatusItem(DWORD, MCI_STATUS_PARMS &status) override {
        if (status.dwItem != MCI_DGV_STATUS_HWND)
            return MCIERR_BAD_CONSTANT;
        status.dwReturn = reinterpret_cast<DWORD_PTR>(window);
        return 0;
    }

    MCIERROR Capability(DWORD item, DWORD &answer) override {
        switch (item) {
        case MCI_GETDEVCAPS_DEVICE_TYPE: answer = MCI_DEVTYPE_DIGITAL_VIDEO; return 0;
        case MCI_GETDEVCAPS_HAS_VIDEO: answer = TRUE; return 0;
        default: return SimDevice::Capability(item, answer);
        }
    }

    MCIERROR Other(UINT message, DWORD flags, DWORD_PTR params, SimMciCall &call) override {
        switch (message) {
        case MCI_WHERE: return Where(flags, params);
        case MCI_WINDOW: return Window(flags, params);
        case MCI_STEP: return Step(flags, params, call);
        case MCI_PUT: NotifyNow(flags, params); return 0;
        default: return MCIERR_UNSUPPORTED_FUNCTION;
        }
    }

  private:
    MCIERROR Where(DWORD flags, DWORD_PTR params) {
        if (params == 0)
            return MCIERR_NULL_PARAMETER_BLOCK;
        auto &where = *reinterpret_cast<MCI_DGV_RECT_PARMS *>(params);
        DWORD kind = flags & (MCI_DGV_WHERE_SOURCE | MCI_DGV_WHERE_DESTINATION |
                              MCI_DGV_WHERE_WINDOW | MCI_DGV_WHERE_FRAME | MCI_DGV_WHERE_VIDEO);
        if (kind == 0)
            return MCIERR_MISSING_PARAMETER;
        if ((kind & (kind - 1)) != 0)
            return MCIERR_FLAGS_NOT_COMPATIBLE;
        RECT area = {0, 0, static_cast<LONG>(movie.width), static_cast<LONG>(movie.height)};
        if (kind == MCI_DGV_WHERE_DESTINATION) {
            GetClientRect(window, &area);
        } else if (kind == MCI_DGV_WHERE_WINDOW) {
            GetWindowRect(window, &area);
            area.right -= area.left;
            area.bottom -= area.top;
        }
        where.rc = area;
        NotifyNow(flags, params);
        return 0;
    }

    MCIERROR Window(DWORD flags, DWORD_PTR params) {
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
        NotifyNow(flags, params);
        return 0;
    }

    MCIERROR Step(DWORD flags, DWORD_PTR params, SimMciCall &call) {
        DWORD frames = 1;
        if (flags & MCI_DGV_STEP_FRAMES) {
            if (params == 0)
                return MCIERR_NULL_PARAMETER_BLOCK;
            frames = reinterpret_cast<MCI_DGV_STEP_PARMS *>(params)->dwFrames;
        }
        call.item = frames;
        // A step ends a play and leaves the device paused on the new frame.
        DWORD position = run.position;
        StopHere();
        if (flags & MCI_DGV_STEP_REVERSE)
            position = frames > position ? 0 : position - frames;
        else
            position = std::min(movie.frames, position + frames);
        run.position = position;
        run.pausedMode = MCI_MODE_PLAY;
        run.mode = MCI_MODE_PAUSE;
        InvalidateRect(window, nullptr, FALSE);
        NotifyNow(flags, params);
        return 0;
    }

    Transport run;
    AviMovie movie;
    HWND window = nullptr;
};

LRESULT CALLBACK PlaybackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *device = reinterpret_cast<AviVideo *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_PAINT && device != nullptr) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        device->Paint(dc, area);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND && device != nullptr)
        return 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

std::unique_ptr<SimDevice> MakeAviVideo() {
    return std::make_unique<AviVideo>();
}
