// The simulated "avivideo" device: reads the main header of an AVI file and
// plays its frames in a real playback window (sim_mci_video_window.cpp).
// Positions are frames.
#include "tests/simcard/sim_mci_device.h"

#include "tests/simcard/media_files.h"

#include <digitalv.h>

#include <algorithm>

namespace {

class AviVideo : public SimDevice, public SimPicture {
  public:
    AviVideo() : SimDevice("avivideo") { timeFormat = MCI_FORMAT_FRAMES; }

    MCIERROR Load(DWORD flags, DWORD_PTR params) override {
        if ((flags & MCI_OPEN_ELEMENT) == 0 || element.empty())
            return MCIERR_FILENAME_REQUIRED;
        Bytes file;
        if (MCIERROR error = LoadFile(element, file))
            return error;
        if (!ReadAvi(file, movie))
            return MCIERR_INVALID_FILE;
        return OpenPlaybackWindow(flags, params, element, Picture(), this, window);
    }

    void Closing() override {
        SimDevice::Closing();
        ClosePlaybackWindow(window);
    }

    // The frame on show: a grey that brightens along the movie.
    void Paint(HDC dc, const RECT &area) override {
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
    SIZE Picture() const {
        return {static_cast<LONG>(movie.width), static_cast<LONG>(movie.height)};
    }

    MCIERROR Where(DWORD flags, DWORD_PTR params) {
        if (MCIERROR error = WherePlayback(window, Picture(), flags, params))
            return error;
        NotifyNow(flags, params);
        return 0;
    }

    MCIERROR Window(DWORD flags, DWORD_PTR params) {
        if (MCIERROR error = CommandPlaybackWindow(window, flags, params))
            return error;
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

} // namespace

std::unique_ptr<SimDevice> MakeAviVideo() {
    return std::make_unique<AviVideo>();
}
