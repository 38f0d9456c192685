// Drawing on a device context with a pen, a brush and a font. The canvas does
// not own its DC; it selects its own GDI objects while it draws and puts the
// DC's original objects back when it lets the DC go.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/font.h"
#include "framework/handles.h"
#include "framework/types.h"

namespace pendo {

class tgraphic;

enum class tpenstyle { psSolid = PS_SOLID, psDash = PS_DASH, psDot = PS_DOT, psClear = PS_NULL };
enum class tbrushstyle { bsSolid, bsClear };

class tpen {
 public:
  tcolor Color() const { return color_; }
  void SetColor(tcolor c);
  int Width() const { return width_; }
  void SetWidth(int w);
  tpenstyle Style() const { return style_; }
  void SetStyle(tpenstyle s);
  HPEN Handle() const;
  // Deletes the pen a change replaced, once a DC no longer holds it.
  void DropReplaced() { replaced_.reset(); }

 private:
  void Replace();
  tcolor color_ = clBlack;
  int width_ = 1;
  tpenstyle style_ = tpenstyle::psSolid;
  mutable tpenhandle handle_;
  // Replaced while perhaps selected into a DC: kept until the canvas has
  // selected its successor, since a selected object cannot be deleted.
  tpenhandle replaced_;
};

class tbrush {
 public:
  tcolor Color() const { return color_; }
  void SetColor(tcolor c);
  tbrushstyle Style() const { return style_; }
  void SetStyle(tbrushstyle s);
  HBRUSH Handle() const;
  // Deletes the brush a change replaced, once a DC no longer holds it.
  void DropReplaced() { replaced_.reset(); }

 private:
  void Replace();
  tcolor color_ = clWhite;
  tbrushstyle style_ = tbrushstyle::bsSolid;
  mutable tbrushhandle handle_;
  tbrushhandle replaced_;  // as tpen's
};

class tcanvas {
 public:
  tcanvas() = default;
  explicit tcanvas(HDC dc) { SetHandle(dc); }
  ~tcanvas() { SetHandle(nullptr); }
  tcanvas(const tcanvas&) = delete;
  tcanvas& operator=(const tcanvas&) = delete;

  HDC Handle() const { return dc_; }
  // Lets the old DC go (restoring its objects) and takes the new one.
  void SetHandle(HDC dc);

  tpen Pen;
  tbrush Brush;
  tfont Font;

  void MoveTo(int x, int y);
  // Draws from the current position up to, not including, (x, y).
  void LineTo(int x, int y);
  void Rectangle(int left, int top, int right, int bottom);
  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Ellipse(int left, int top, int right, int bottom);
  void Polygon(const std::vector<POINT>& points);
  void Polyline(const std::vector<POINT>& points);
  // Text in the font's colour; over the brush colour unless the brush is clear.
  void TextOut(int x, int y, const std::string& text);
  void TextRect(const RECT& r, int x, int y, const std::string& text);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  COLORREF Pixel(int x, int y) const;
  void SetPixel(int x, int y, tcolor color);
  // Block transfer from another canvas.
  void CopyRect(const RECT& dest, const tcanvas& source, const RECT& src, DWORD rop = SRCCOPY);
  void BitBlt(int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop = SRCCOPY);
  void Draw(int x, int y, const tgraphic& graphic);
  void StretchDraw(const RECT& r, const tgraphic& graphic);

 private:
  void Need();
  void NeedFont();
  HDC Checked() const;

  HDC dc_ = nullptr;
  HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
};

}  // namespace pendo
