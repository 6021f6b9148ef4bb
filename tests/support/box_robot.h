// A robot that answers message boxes and modal dialogs the way a person would:
// it finds each box the station shows, reads its caption, text and icon, and
// presses a button. It runs on its own thread so a test never hangs on a box.
#pragma once
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

enum class BoxIcon { None, Error, Information, Warning, Question };

struct SeenBox {
    std::string caption;
    std::string text;
    BoxIcon icon = BoxIcon::None;
    HWND owner = nullptr;
    int pressed = 0; // id of the button the robot pressed
};

class BoxRobot {
  public:
    // Chooses the button to press; answers 0 to press the box's default button.
    using Answer = std::function<int(const SeenBox &)>;

    BoxRobot();
    ~BoxRobot();
    BoxRobot(const BoxRobot &) = delete;
    BoxRobot &operator=(const BoxRobot &) = delete;

    void SetAnswer(Answer answer);
    // Also answers the boxes of another process (a second station, say).
    void AlsoWatch(DWORD processId);
    std::vector<SeenBox> Seen();
    void Forget();

  private:
    void Watch();
    void Handle(HWND box);

    std::mutex lock_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> handled_;
    std::vector<DWORD> processes_;
    Answer answer_;
    bool stopping_ = false;
    std::thread watcher_;
};
