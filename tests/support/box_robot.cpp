#include "tests/support/box_robot.h"

namespace {

constexpr int MessageTextId = 0xFFFF;

struct BoxSearch {
    std::vector<DWORD> processes;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM lParam) {
    auto *search = reinterpret_cast<BoxSearch *>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16];
    bool watched = false;
    for (DWORD candidate : search->processes)
        watched = watched || candidate == process;
    if (watched && IsWindowVisible(window) &&
        GetClassNameA(window, className, sizeof className) > 0 &&
        std::string(className) == "#32770")
        search->boxes.push_back(window);
    return TRUE;
}

struct IconSearch {
    HICON icon = nullptr;
};

BOOL CALLBACK FindIconChild(HWND child, LPARAM lParam) {
    auto *search = reinterpret_cast<IconSearch *>(lParam);
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        search->icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

// Icons are told apart by handle, so only for boxes of this process: a box
// of another process holds icon handles of its own.
BoxIcon IconOf(HWND box) {
    IconSearch search;
    EnumChildWindows(box, FindIconChild, reinterpret_cast<LPARAM>(&search));
    if (search.icon == nullptr)
        return BoxIcon::None;
    if (search.icon == LoadIcon(nullptr, IDI_HAND))
        return BoxIcon::Error;
    if (search.icon == LoadIcon(nullptr, IDI_ASTERISK))
        return BoxIcon::Information;
    if (search.icon == LoadIcon(nullptr, IDI_EXCLAMATION))
        return BoxIcon::Warning;
    if (search.icon == LoadIcon(nullptr, IDI_QUESTION))
        return BoxIcon::Question;
    return BoxIcon::None;
}

std::string WindowText(HWND window) {
    char text[4096] = "";
    if (window != nullptr)
        GetWindowTextA(window, text, sizeof text);
    return text;
}

// The button that Enter would press: the focused push button of the box,
// else the dialog's default button.
int DefaultButtonOf(HWND box) {
    SendMessageA(box, WM_NULL, 0, 0); // the box has finished setting itself up
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &thread) &&
        thread.hwndFocus != nullptr && GetParent(thread.hwndFocus) == box) {
        char className[16] = "";
        GetClassNameA(thread.hwndFocus, className, sizeof className);
        if (lstrcmpiA(className, "Button") == 0)
            return GetDlgCtrlID(thread.hwndFocus);
    }
    LRESULT defaultId = SendMessageA(box, DM_GETDEFID, 0, 0);
    return HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
}

} // namespace

BoxRobot::BoxRobot() : watcher_([this] { Watch(); }) {}

BoxRobot::~BoxRobot() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    watcher_.join();
}

void BoxRobot::SetAnswer(Answer answer) {
    std::lock_guard<std::mutex> guard(lock_);
    answer_ = std::move(answer);
}

void BoxRobot::AlsoWatch(DWORD processId) {
    std::lock_guard<std::mutex> guard(lock_);
    processes_.push_back(processId);
}

std::vector<SeenBox> BoxRobot::Seen() {
    std::lock_guard<std::mutex> guard(lock_);
    return seen_;
}

void BoxRobot::Forget() {
    std::lock_guard<std::mutex> guard(lock_);
    seen_.clear();
}

void BoxRobot::Watch() {
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (stopping_)
                return;
        }
        {
            std::lock_guard<std::mutex> guard(lock_);
            std::vector<HWND> open;
            for (HWND done : handled_)
                if (IsWindow(done))
                    open.push_back(done);
            handled_.swap(open);
        }
        BoxSearch search;
        {
            std::lock_guard<std::mutex> guard(lock_);
            search.processes = processes_;
        }
        search.processes.push_back(GetCurrentProcessId());
        EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.boxes)
            Handle(box);
        Sleep(20);
    }
}

void BoxRobot::Handle(HWND box) {
    SeenBox seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, MessageTextId));
    seen.icon = IconOf(box);
    seen.owner = GetWindow(box, GW_OWNER);
    Answer answer;
    {
        std::lock_guard<std::mutex> guard(lock_);
        for (HWND done : handled_)
            if (done == box)
                return;
        handled_.push_back(box);
        answer = answer_;
    }
    int button = answer ? answer(seen) : 0;
    if (button == 0)
        button = DefaultButtonOf(box);
    seen.pressed = button;
    {
        std::lock_guard<std::mutex> guard(lock_);
        seen_.push_back(seen);
    }
    HWND key = GetDlgItem(box, button);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(key));
}
