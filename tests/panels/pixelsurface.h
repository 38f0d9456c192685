// A panel surface of plain pixels for the host: the pictures the compose
// functions make, checked against golden files without any window system.
// Lines, polygons and the text stand-in are drawn simply, the same on every
// machine; the system's own drawing is checked under Wine.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "panels/panelsurface.h"
#include "settings/dpiscale.h"

namespace pendo::test {

class tpixelsurface : public tpanelsurface {
 public:
  tpixelsurface(int width, int height) : w_(width), h_(height), px_(static_cast<size_t>(width) * height, 0) {}

  int Width() const override { return w_; }
  int Height() const override { return h_; }
  std::unique_ptr<tpanelsurface> NewSurface(int width, int height) const override {
    return std::make_unique<tpixelsurface>(width, height);
  }
  tlookcolor At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
  void Set(int x, int y, tlookcolor c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<size_t>(y) * w_ + x] = c & 0xFFFFFF;
  }

  void Fill(int left, int top, int right, int bottom, tlookcolor c) override {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) Set(x, y, c);
  }
  void Line(int x0, int y0, int x1, int y1, tlookcolor c) override {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
      Set(x0, y0, c);
      const int e2 = 2 * err;
      if (e2 >= dy) err += dy, x0 += sx;
      if (e2 <= dx) err += dx, y0 += sy;
    }
  }
  void Polygon(const std::vector<tpanelpoint>& p, tlookcolor c) override {
    // Pixel centres inside by the even-odd rule, then the outline.
    for (int y = 0; y < h_; ++y) {
      std::vector<double> xs;
      const double yc = y + 0.5;
      for (size_t i = 0; i < p.size(); ++i) {
        const tpanelpoint a = p[i], b = p[(i + 1) % p.size()];
        if ((a.y <= yc) != (b.y <= yc)) xs.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t i = 0; i + 1 < xs.size(); i += 2)
        for (int x = 0; x < w_; ++x)
          if (x + 0.5 >= xs[i] && x + 0.5 < xs[i + 1]) Set(x, y, c);
    }
    for (size_t i = 0; i < p.size(); ++i) Line(p[i].x, p[i].y, p[(i + 1) % p.size()].x, p[(i + 1) % p.size()].y, c);
  }
  void CopyFrom(const tpanelsurface& source, int x, int y) override {
    const auto& s = dynamic_cast<const tpixelsurface&>(source);
    for (int j = 0; j < h_; ++j)
      for (int i = 0; i < w_; ++i) {
        const int sx = x + i, sy = y + j;
        Set(i, j, sx >= 0 && sy >= 0 && sx < s.w_ && sy < s.h_ ? s.At(sx, sy) : 0);
      }
  }
  void MixHalf(const tpanelsurface& other) override {
    Each(other, [](tlookcolor a, tlookcolor b) {
      tlookcolor m = 0;
      for (int shift = 0; shift < 24; shift += 8) m |= (((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2 << shift;
      return m;
    });
  }
  void AndWith(const tpanelsurface& other) override {
    Each(other, [](tlookcolor a, tlookcolor b) { return a & b; });
  }
  void OrWith(const tpanelsurface& other) override {
    Each(other, [](tlookcolor a, tlookcolor b) { return a | b; });
  }
  void ShiftRowRight(int y) override {
    for (int x = w_ - 1; x > 0; --x) Set(x, y, At(x - 1, y));
  }
  // A stand-in for text: five pixels wide and seven high a character, in
  // the regular size of the face's points at 96 DPI, scaled at others.
  tpanelsize MeasureText(const tfontlook& font, const std::string& text) override {
    return tpanelsize{static_cast<int>(text.size()) * At96(5, font), At96(font.size - 1, font)};
  }
  // Each character a filled cell with a gap, bold ones a pixel wider.
  void Text(const tfontlook& font, tlookcolor color, int x, int y, const std::string& text) override {
    const int step = At96(5, font), wide = At96((font.style & lsBold) ? 5 : 4, font);
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] != ' ')
        Fill(x + static_cast<int>(i) * step, y + At96(1, font), x + static_cast<int>(i) * step + wide,
             y + At96(font.size - 2, font), color);
  }

  // The picture as binary PPM, red first.
  std::string Ppm() const {
    std::string out = "P6\n" + std::to_string(w_) + " " + std::to_string(h_) + "\n255\n";
    for (tlookcolor c : px_) {
      out += static_cast<char>(c & 0xFF);
      out += static_cast<char>((c >> 8) & 0xFF);
      out += static_cast<char>((c >> 16) & 0xFF);
    }
    return out;
  }

 private:
  static int At96(int value, const tfontlook& font) { return ScaleToDpi(value, font.dpi); }
  template <class F>
  void Each(const tpanelsurface& other, F f) {
    const auto& o = dynamic_cast<const tpixelsurface&>(other);
    for (int y = 0; y < h_ && y < o.h_; ++y)
      for (int x = 0; x < w_ && x < o.w_; ++x) Set(x, y, f(At(x, y), o.At(x, y)));
  }
  int w_, h_;
  std::vector<tlookcolor> px_;
};

}  // namespace pendo::test
