// The simulated "mpegvideo" device: the platform's player of compressed
// sound and movies (MP3, WMA, MPEG and the rest), answering as Wine's device
// does. It learns a file's length and picture from the block of the card's
// test files (media_files.h); it also reads AVI and WAVE headers, and takes
// any other bytes as sound of a made-up length. Positions are milliseconds.
//
// What it answers unlike the other devices: device type digital video and
// "has video" for every file, a picture only where the file has one (MCI_WHERE
// and MCI_WINDOW of a sound-only file fail with MCIERR_NO_WINDOW, its window
// handle status with MCIERR_UNRECOGNIZED_COMMAND); no recording; a seek
// while paused fails with MCIERR_INTERNAL; an empty or missing file fails to
// open with MCIERR_INTERNAL; commands it does not know, MCI_STEP among them,
// fail with MCIERR_UNRECOGNIZED_COMMAND.
#include "tests/simcard/sim_mci_device.h"

#include "tests/simcard/media_files.h"

#include <digitalv.h>

namespace {

// Wine's device guesses the length of bytes it cannot read as if they were
// sound at 128 kbit/s.
const DWORD GuessedBytesPerMillisecond = 16;

// What the device makes of a file it can open.
CompressedMedia MediaOf(const Bytes &file) {
    CompressedMedia media;
    if (ReadCompressedMedia(file, media))
        return media;
    AviMovie movie;
    WaveData wave;
    if (ReadAvi(file, movie)) {
        media.picture = true;
        media.width = movie.width;
        media.height = movie.height;
        media.milliseconds =
            static_cast<DWORD>(uint64_t(movie.frames) * movie.microsPerFrame / 1000);
    } else if (ReadWave(file, wave)) {
        media.milliseconds =
            static_cast<DWORD>(uint64_t(wave.samples.size()) * 1000 / wave.format.avgBytesPerSec);
    } else {
        media.milliseconds = static_cast<DWORD>(file.size() / GuessedBytesPerMillisecond);
    }
    return media;
}

class MpegVideo : public SimDevice, public SimPicture {
  public:
    explicit MpegVideo(bool seeksWhilePaused)
        : SimDevice("mpegvideo"), seeksWhilePaused(seeksWhilePaused) {}

    MCIERROR Load(DWORD flags, DWORD_PTR params) override {
        Bytes file;
        if ((flags & MCI_OPEN_ELEMENT) == 0 || element.empty() || LoadFile(element, file) != 0 ||
            file.empty())
            return MCIERR_INTERNAL; // nothing the platform's codecs can render
        media = MediaOf(file);
        if (!media.picture)
            return 0;
        return OpenPlaybackWindow(flags, params, element, Picture(), this, window);
    }

    void Closing() override {
        SimDevice::Closing();
        ClosePlaybackWindow(window);
    }

    // The picture on show: a blue that brightens along the movie.
    void Paint(HDC dc, const RECT &area) override {
        DWORD length = media.milliseconds;
        BYTE shade = static_cast<BYTE>(length ? uint64_t(run.position) * 255 / length : 0);
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, shade));
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    }

  protected:
    Transport &Run() override { return run; }
    DWORD Length() override { return media.milliseconds; }

    MCIERROR SeekableNow() override {
        return run.mode == MCI_MODE_PAUSE && !seeksWhilePaused ? MCIERR_INTERNAL : 0;
    }

    void Playing() override {
        if (window == nullptr)
            return;
        if (!IsWindowVisible(window))
            ShowWindow(window, SW_SHOWNA);
        InvalidateRect(window, nullptr, FALSE);
    }

    void Ran(DWORD, DWORD, DWORD) override {
        if (window != nullptr)
            InvalidateRect(window, nullptr, FALSE);
    }

    MCIERROR StatusItem(DWORD, MCI_STATUS_PARMS &status) override {
        switch (status.dwItem) {
        case MCI_STATUS_LENGTH:
            if (media.length == LengthAnswer::Refused)
                return MCIERR_UNRECOGNIZED_COMMAND;
            status.dwReturn = media.length == LengthAnswer::Zero ? 0 : media.milliseconds;
            return 0;
        case MCI_DGV_STATUS_HWND:
            if (window == nullptr)
                return MCIERR_UNRECOGNIZED_COMMAND;
            status.dwReturn = reinterpret_cast<DWORD_PTR>(window);
            return 0;
        case MCI_STATUS_NUMBER_OF_TRACKS:
        case MCI_STATUS_CURRENT_TRACK:
        case MCI_STATUS_READY:
        case MCI_STATUS_MEDIA_PRESENT: return MCIERR_UNRECOGNIZED_COMMAND;
        default: return MCIERR_BAD_CONSTANT;
        }
    }

    // Audio and video switches are taken and change nothing.
    MCIERROR SetItems(DWORD, DWORD_PTR) override { return 0; }

    MCIERROR Capability(DWORD item, DWORD &answer) override {
        switch (item) {
        case MCI_GETDEVCAPS_DEVICE_TYPE: answer = MCI_DEVTYPE_DIGITAL_VIDEO; return 0;
        case MCI_GETDEVCAPS_HAS_VIDEO: answer = TRUE; return 0;
        default: return SimDevice::Capability(item, answer);
        }
    }

    MCIERROR Other(UINT message, DWORD flags, DWORD_PTR params, SimMciCall &) override {
        switch (message) {
        case MCI_WHERE: return Where(flags, params);
        case MCI_WINDOW: return Window(flags, params);
        case MCI_PUT: NotifyNow(flags, params); return 0;
        default: return MCIERR_UNRECOGNIZED_COMMAND;
        }
    }

  private:
    SIZE Picture() const {
        return {static_cast<LONG>(media.width), static_cast<LONG>(media.height)};
    }

    MCIERROR Where(DWORD flags, DWORD_PTR params) {
        if (window == nullptr)
            return MCIERR_NO_WINDOW;
        if (MCIERROR error = WherePlayback(window, Picture(), flags, params))
            return error;
        NotifyNow(flags, params);
        return 0;
    }

    MCIERROR Window(DWORD flags, DWORD_PTR params) {
        if (window == nullptr)
            return MCIERR_NO_WINDOW;
        if (MCIERROR error = CommandPlaybackWindow(window, flags, params))
            return error;
        NotifyNow(flags, params);
        return 0;
    }

    bool seeksWhilePaused;
    Transport run;
    CompressedMedia media;
    HWND window = nullptr;
};

} // namespace

std::unique_ptr<SimDevice> MakeMpegVideo(bool seeksWhilePaused) {
    return std::make_unique<MpegVideo>(seeksWhilePaused);
}
