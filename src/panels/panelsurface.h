// What composing a panel's picture draws on: an off-screen picture of the
// panel's size and the few operations the picture is made of. The programs
// draw on the system's bitmaps; the tests' golden pictures on plain pixels.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "panels/clocklook.h"

namespace pendo {

struct tpanelpoint {
  int x, y;
};

struct tpanelsize {
  int cx = 0, cy = 0;
};

class tpanelsurface {
 public:
  virtual ~tpanelsurface() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Another picture of the same kind, its pixels not yet drawn.
  virtual std::unique_ptr<tpanelsurface> NewSurface(int width, int height) const = 0;

  // The rectangle [left, right) × [top, bottom) in one colour.
  virtual void Fill(int left, int top, int right, int bottom, tlookcolor color) = 0;
  // A line one pixel wide, its last point not drawn.
  virtual void Line(int x0, int y0, int x1, int y1, tlookcolor color) = 0;
  // A filled polygon with its outline, both in one colour.
  virtual void Polygon(const std::vector<tpanelpoint>& points, tlookcolor color) = 0;
  // Copies source's pixels from (x, y) on over the whole picture.
  virtual void CopyFrom(const tpanelsurface& source, int x, int y) = 0;
  // Each channel the mean of this and other, truncated.
  virtual void MixHalf(const tpanelsurface& other) = 0;
  // Bitwise AND, then OR, of other's pixels into these.
  virtual void AndWith(const tpanelsurface& other) = 0;
  virtual void OrWith(const tpanelsurface& other) = 0;
  // Row y, from its first pixel to its last, moved one pixel to the right;
  // the first pixel stays.
  virtual void ShiftRowRight(int y) = 0;

  // The size of text in font, measured as if regular: texts sit where they
  // would in the regular face, whatever their style.
  virtual tpanelsize MeasureText(const tfontlook& font, const std::string& text) = 0;
  // Text in font with its top left at (x, y), over what is there.
  virtual void Text(const tfontlook& font, tlookcolor color, int x, int y, const std::string& text) = 0;
};

}  // namespace pendo
