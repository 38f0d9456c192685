// A window that keeps a backdrop (its picture with only the desktop
// background in it), which the panels it owns copy their background from.
#pragma once

namespace pendo {

class tbitmap;

class tbackdropsource {
 public:
  virtual ~tbackdropsource() = default;
  // The backdrop, or null when there is none yet.
  virtual tbitmap* BackdropImage() = 0;
};

}  // namespace pendo
