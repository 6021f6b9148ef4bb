// Helpers for the tests of the simulated card's MCI devices: a hidden window
// that collects MM_MCINOTIFY, and short forms of the commands the tests send
// through any MCI binding (the card's or winmm's own).
#pragma once
#include "tests/simcard/media_files.h"
#include "tests/simcard/sim_mci.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// (flag, device) of each MM_MCINOTIFY the window received.
using NoticeList = std::vector<std::pair<WPARAM, MCIDEVICEID>>;

class NoticeWindow {
  public:
    NoticeWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SimMciNoticeWindow";
        RegisterClassA(&windowClass); // fails harmlessly once registered
        window = CreateWindowA("SimMciNoticeWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&received));
    }
    ~NoticeWindow() { DestroyWindow(window); }
    NoticeWindow(const NoticeWindow &) = delete;
    NoticeWindow &operator=(const NoticeWindow &) = delete;

    // Dispatches what is queued, then answers and forgets what arrived.
    NoticeList Take() {
        MSG message;
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        NoticeList taken;
        taken.swap(received);
        return taken;
    }
    // Waits up to the given real time for a notification (for real drivers).
    NoticeList WaitFor(DWORD milliseconds) {
        DWORD start = GetTickCount();
        NoticeList got = Take();
        while (got.empty() && GetTickCount() - start < milliseconds) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            got = Take();
        }
        return got;
    }
    DWORD_PTR Callback() const { return reinterpret_cast<DWORD_PTR>(window); }

    HWND window;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == MM_MCINOTIFY) {
            auto *list = reinterpret_cast<NoticeList *>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (list != nullptr)
                list->push_back({wParam, static_cast<MCIDEVICEID>(lParam)});
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    NoticeList received;
};

// Commands through one binding.
struct MciClient {
    MciBinding mci;

    MCIERROR Send(MCIDEVICEID device, UINT message, DWORD flags, void *params) {
        return mci.sendCommand(device, message, flags, reinterpret_cast<DWORD_PTR>(params));
    }
    // Opens by type name and element (element null: none); answers the error.
    MCIERROR Open(const char *type, const char *element, MCIDEVICEID &device, DWORD extraFlags = 0,
                  DWORD_PTR callback = 0) {
        MCI_OPEN_PARMSA open = {};
        open.dwCallback = callback;
        open.lpstrDeviceType = const_cast<LPSTR>(type);
        open.lpstrElementName = const_cast<LPSTR>(element);
        DWORD flags = MCI_WAIT | extraFlags;
        if (type != nullptr)
            flags |= MCI_OPEN_TYPE;
        if (element != nullptr)
            flags |= MCI_OPEN_ELEMENT;
        MCIERROR error = Send(0, MCI_OPEN, flags, &open);
        device = error == 0 ? open.wDeviceID : 0;
        return error;
    }
    // One status item; the error, with the answer in value.
    MCIERROR TryStatus(MCIDEVICEID device, DWORD item, DWORD_PTR &value, DWORD track = 0) {
        MCI_STATUS_PARMS status = {};
        status.dwItem = item;
        status.dwTrack = track;
        DWORD flags = MCI_STATUS_ITEM | MCI_WAIT | (track != 0 ? MCI_TRACK : 0);
        MCIERROR error = Send(device, MCI_STATUS, flags, &status);
        value = status.dwReturn;
        return error;
    }
    // One status item that must succeed.
    DWORD_PTR Status(MCIDEVICEID device, DWORD item, DWORD track = 0) {
        DWORD_PTR value = 0;
        MCIERROR error = TryStatus(device, item, value, track);
        EXPECT_EQ(0u, error) << "status item " << item;
        return value;
    }
    MCIERROR SetTimeFormat(MCIDEVICEID device, DWORD format) {
        MCI_SET_PARMS set = {};
        set.dwTimeFormat = format;
        return Send(device, MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &set);
    }
    MCIERROR Play(MCIDEVICEID device, DWORD flags, DWORD from = 0, DWORD to = 0,
                  DWORD_PTR callback = 0) {
        MCI_PLAY_PARMS play = {};
        play.dwCallback = callback;
        play.dwFrom = from;
        play.dwTo = to;
        return Send(device, MCI_PLAY, flags, &play);
    }
    MCIERROR Simple(MCIDEVICEID device, UINT message, DWORD flags = MCI_WAIT,
                    DWORD_PTR callback = 0) {
        MCI_GENERIC_PARMS generic = {};
        generic.dwCallback = callback;
        return Send(device, message, flags, &generic);
    }
    MCIERROR Close(MCIDEVICEID device) { return Simple(device, MCI_CLOSE); }
};

// The card reset to a configuration, with a client bound to it.
class SimMciTest : public ::testing::Test {
  protected:
    void Reset(const SimMciConfig &config = {}) { ResetSimMci(config); }
    void SetUp() override { Reset(); }
    void TearDown() override { ResetSimMci({}); }

    MciClient card{SimMciBinding()};
    NoticeWindow notices;
};

// Writes bytes to a file of a test's media directory; answers its path.
inline std::string MediaFile(const char *dir, const char *name, const Bytes &bytes) {
    std::string path = MakeMediaDir(dir) + "\\" + name;
    EXPECT_TRUE(WriteBytes(path, bytes)) << path;
    return path;
}
