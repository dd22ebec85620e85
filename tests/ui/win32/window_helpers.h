#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace tessaly::test {

// Runs the window's messages for a while, as the program's loop would.
inline void PumpMessages(HWND window, std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT && !::IsDialogMessageA(window, &message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageA(&message);
            }
        }
        ::Sleep(10);
    }
}

// From another thread, waits for a visible dialog with `caption`, lets `answer` look at
// it and close it, as a user would, while the modal call under test runs on this one.
class DialogAnswerer {
  public:
    DialogAnswerer(std::string caption, std::function<void(HWND)> answer)
        : thread_([this, caption = std::move(caption), answer = std::move(answer)] {
              for (int tries = 0; tries < 500 && !answered_; ++tries) {
                  const HWND dialog = ::FindWindowA("#32770", caption.c_str());
                  if (dialog != nullptr && ::IsWindowVisible(dialog)) {
                      ::Sleep(100);  // let it finish its start-up
                      answer(dialog);
                      answered_ = true;
                  }
                  ::Sleep(20);
              }
          }) {}
    ~DialogAnswerer() { Answered(); }

    bool Answered() {
        if (thread_.joinable()) {
            thread_.join();
        }
        return answered_;
    }

  private:
    std::atomic<bool> answered_{false};
    std::thread thread_;
};

inline void PressButton(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

inline std::string TextOf(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace tessaly::test
