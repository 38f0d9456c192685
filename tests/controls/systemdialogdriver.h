// Drives the system colour dialog from a second thread, as a user would with
// its own controls: reads the custom colour boxes back as pixels, mixes a
// colour in the red, green and blue fields, adds it to the custom colours and
// presses OK or Cancel.
#pragma once

#include <windows.h>
#include <colordlg.h>

#include <array>
#include <atomic>
#include <functional>
#include <thread>

namespace pendo::test {

class tcolordialogdriver {
 public:
  // act runs once the dialog is up; button (IDOK, IDCANCEL) closes it.
  tcolordialogdriver(std::function<void(HWND dialog)> act, int button);
  ~tcolordialogdriver();
  // Joins the thread; true when the dialog was found and closed.
  bool Done();

  // The colour shown in custom colour box slot (0..15).
  static COLORREF CustomColor(HWND dialog, int slot);
  // Opens the mixing part, types r, g, b and adds the colour to the custom
  // colours (the dialog fills them from the first box on).
  static void MixAndAdd(HWND dialog, int r, int g, int b);

 private:
  std::atomic<bool> found_{false}, stop_{false};
  std::thread thread_;
};

}  // namespace pendo::test
