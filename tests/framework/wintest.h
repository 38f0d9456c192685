// Helpers for the GUI tests: one application object for the whole program,
// message pumping, key states, handle counts, and a watcher that answers the
// message box a handler opens.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <commdlg.h>
#include <dlgs.h>
#include <string>
#include <thread>

#include "framework/application.h"
#include "guicount.h"

namespace pendo::test {

class tapplicationenvironment : public ::testing::Environment {
 public:
  void SetUp() override { app_ = new tapplication(GetModuleHandleA(nullptr)); }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  tapplication* app_ = nullptr;
};

inline void Pump(DWORD ms = 50) {
  const DWORD end = GetTickCount() + ms;
  do {
    Application->ProcessMessages();
    Sleep(5);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// Sets the shift keys the next key messages see.
inline void HoldKeys(bool ctrl, bool alt, bool shift) {
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  state[VK_MENU] = alt ? 0x80 : 0;
  state[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(state);
}


// Waits on its own thread for a window with the caption, records its static
// text and closes it.
class tdialogwatcher {
 public:
  explicit tdialogwatcher(std::string caption) : caption_(std::move(caption)) {
    thread_ = std::thread([this] {
      for (int i = 0; i < 400 && !stop_; ++i) {
        HWND box = FindWindowA("#32770", caption_.c_str());
        // Found while it is still being made, it has no text yet.
        if (box && IsWindowVisible(box) && GetDlgItem(box, 0xFFFF)) {
          char text[512] = {0};
          // The message text of a message box is its static control 0xFFFF.
          GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
          text_ = text;
          found_ = true;
          PostMessageA(box, WM_COMMAND, IDOK, 0);
          return;
        }
        Sleep(25);
      }
    });
  }
  ~tdialogwatcher() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  bool Found() {
    if (thread_.joinable()) thread_.join();
    return found_;
  }
  const std::string& Text() const { return text_; }

 private:
  std::string caption_;
  std::string text_;
  std::atomic<bool> found_{false}, stop_{false};
  std::thread thread_;
};

// Waits on its own thread for the file dialog with the title (empty: any),
// reads its first filter entry, types a name into it and confirms, or cancels
// when the name is empty.
class tfiledialogdriver {
 public:
  // whileOpen runs on the driver's thread once the dialog is there.
  tfiledialogdriver(const std::string& title, const std::string& typed, std::function<void()> whileOpen = nullptr) {
    thread_ = std::thread([=] {
      for (int i = 0; i < 400; ++i) {
        HWND box = FindWindowA("#32770", title.empty() ? nullptr : title.c_str());
        if (box) {
          Sleep(200);
          char text[256] = {0};
          SendDlgItemMessageA(box, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
          filter_ = text;
          if (whileOpen) whileOpen();
          if (typed.empty()) {
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
          } else {
            SetDlgItemTextA(box, edt1, typed.c_str());
            SetDlgItemTextA(box, cmb13, typed.c_str());
            PostMessageA(box, WM_COMMAND, IDOK, 0);
          }
          return;
        }
        Sleep(25);
      }
    });
  }
  ~tfiledialogdriver() {
    if (thread_.joinable()) thread_.join();
  }
  std::string Filter() {
    if (thread_.joinable()) thread_.join();
    return filter_;
  }

 private:
  std::thread thread_;
  std::string filter_;
};

// Removes a profile file of the program's profile folder.
void DeleteProfile(const std::string& name);
// A main window's profile past the first start, so no wizard waits for a user.
void WritePastFirstBoot();

// Runs one disabled test of this program in a child process and returns its
// exit code (-1 when it did not end within a minute). For behaviour that ends
// the process.
long RunChildTest(const std::string& test);

}  // namespace pendo::test
