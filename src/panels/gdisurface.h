// A panel surface on the system's off-screen bitmaps, and the fonts of a
// look as the framework's fonts.
#pragma once

#include <map>
#include <memory>
#include <tuple>

#include "framework/bitmap.h"
#include "framework/font.h"
#include "panels/panelsurface.h"

namespace pendo {

tfont FontOf(const tfontlook& look);
tfontlook FontLookOf(const tfont& font);

class tgdisurface : public tpanelsurface {
 public:
  // A bitmap of its own, of that size.
  tgdisurface(int width, int height);
  // Someone else's bitmap, drawn on and read in place (a window's backdrop).
  explicit tgdisurface(tbitmap& bitmap) : bitmap_(&bitmap) {}

  tbitmap& Bitmap() { return *bitmap_; }
  const tbitmap& Bitmap() const { return *bitmap_; }
  void SetSize(int width, int height) { bitmap_->SetSize(width, height); }

  int Width() const override { return bitmap_->Width(); }
  int Height() const override { return bitmap_->Height(); }
  std::unique_ptr<tpanelsurface> NewSurface(int width, int height) const override;
  void Fill(int left, int top, int right, int bottom, tlookcolor color) override;
  void Line(int x0, int y0, int x1, int y1, tlookcolor color) override;
  void Polygon(const std::vector<tpanelpoint>& points, tlookcolor color) override;
  void CopyFrom(const tpanelsurface& source, int x, int y) override;
  void MixHalf(const tpanelsurface& other) override;
  void AndWith(const tpanelsurface& other) override;
  void OrWith(const tpanelsurface& other) override;
  void ShiftRowRight(int y) override;
  tpanelsize MeasureText(const tfontlook& font, const std::string& text) override;
  void Text(const tfontlook& font, tlookcolor color, int x, int y, const std::string& text) override;

 private:
  HDC DC() { return bitmap_->Canvas().Handle(); }
  static HDC SourceDC(const tpanelsurface& s);
  void Raster(const tpanelsurface& other, DWORD rop);
  const tfont& Font(const tfontlook& look);

  std::unique_ptr<tbitmap> own_;
  tbitmap* bitmap_;
  std::map<std::tuple<std::string, int, unsigned, int, unsigned, int>, tfont> fonts_;
};

}  // namespace pendo
