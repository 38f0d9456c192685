// What a see-through form keeps: the backdrop image (the
// window's picture with only the desktop background in it), the pending first
// capture, and the erase that lets the desktop paint the window's background.
#pragma once

#include <windows.h>

#include "framework/bitmap.h"

namespace pendo {

class tform;

class tbackdrop {
 public:
  explicit tbackdrop(tform& form) : form_(form) {}

  tbitmap* Image() { return &image_; }
  bool CapturePending() const { return capturePending_; }

  // WM_ERASEBKGND: the desktop's background instead of the form's colour.
  LRESULT Erase(HDC dc);
  // Hides the form's controls, lets the erase paint, copies the picture,
  // then gives the controls their visibility back.
  void Capture();
  // Invalidates the whole window with erasing, then captures.
  void Recapture();
  // The paint step's first capture: the erase has just been painted, so the
  // controls stay; the backdrop clients rebuild from it.
  void FirstPaint();

 private:
  // Copies the desktop background under the window into the image.
  void Take();
  tform& form_;
  tbitmap image_;
  bool capturePending_ = true;
};

}  // namespace pendo
