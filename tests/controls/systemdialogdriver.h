// Drives a system dialog (colour, font) from a second thread, as a user would
// with its own controls, then presses OK or Cancel: reads the colour dialog's
// custom colour boxes back as pixels, mixes a colour in its red, green and
// blue fields and adds it to the custom colours; picks a face and a size in
// the font dialog.
#pragma once

#include <windows.h>
#include <colordlg.h>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace pendo::test {

class tsystemdialogdriver {
 public:
  // Waits for a dialog of this process with the child control, runs act
  // once it is up, then closes it with button (IDOK, IDCANCEL).
  tsystemdialogdriver(int child, std::function<void(HWND dialog)> act, int button);
  ~tsystemdialogdriver();
  static tsystemdialogdriver ColorDialog(std::function<void(HWND)> act, int button);
  // Joins the thread; true when the dialog was found and closed.
  bool Done();

  // The colour shown in custom colour box slot (0..15).
  static COLORREF CustomColor(HWND dialog, int slot);
  // Opens the mixing part, types r, g, b and adds the colour to the custom
  // colours (the dialog fills them from the first box on).
  static void MixAndAdd(HWND dialog, int r, int g, int b);
  // The font dialog's face and size, as if picked from its lists; false when
  // the face or size is not offered.
  static bool ChooseFont(HWND dialog, const std::string& face, int points);

 private:
  std::atomic<bool> found_{false}, stop_{false};
  std::thread thread_;
};

}  // namespace pendo::test
