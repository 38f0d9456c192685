// tbitmapex: a picture whose pixels live in a device-independent bitmap
// (tinternaldib) instead of a device-dependent one, so that single pixels can
// be read and written in 1, 4, 8 and 24 bits and the pixel format can be
// changed. Copies share the DIB; the first write makes a private copy.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "bitmap/graphicex.h"
#include "bitmap/internaldib.h"
#include "framework/types.h"

namespace pendo {

class tbitmap;
class tcanvas;

class tbitmapex : public tgraphicex {
 public:
  tbitmapex();
  // Shares other's DIB.
  tbitmapex(const tbitmapex& other);
  tbitmapex& operator=(const tbitmapex& other);
  ~tbitmapex() override;

  bool Empty() const override { return false; }
  int Width() const override { return dib_->Width; }
  int Height() const override { return dib_->Height; }
  // A new zeroed picture of the current format; a negative height is top-down.
  void SetWidth(int width);
  void SetHeight(int height);

  // Shares source's DIB (none: back to the 1 x 1 placeholder).
  void Assign(const tbitmapex* source);
  void Assign(std::nullptr_t) { Assign(static_cast<const tbitmapex*>(nullptr)); }
  // Reads a device-dependent bitmap (not selected into any DC) through its
  // palette, if given. On failure the previous picture stays.
  void Assign(HBITMAP source, HPALETTE palette = nullptr);
  void Assign(const tbitmap& source);
  void AssignTo(tbitmapex& target) const { target.Assign(this); }
  // Resizes target to this picture and copies every pixel onto it.
  void AssignTo(tbitmap& target) const;
  // Copies every pixel onto a bitmap of the same size (not selected into any
  // DC); another size raises EtbitmapexInvalidDIBPara.
  void AssignTo(HBITMAP target) const;

  void Draw(tcanvas& canvas, const RECT& rect) const override;
  // Stretches the whole picture onto rect of dc with the raster operation rop.
  void Draw(HDC dc, const RECT& rect, DWORD rop = SRCCOPY) const;

  using tgraphicex::LoadFromClipboardFormat;
  void LoadFromStream(tbytesource& in) override;
  void SaveToStream(tbytesink& out) const override;
  void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
  HANDLE SaveToClipboardFormat(UINT& format) const override;
  std::unique_ptr<tgraphic> Clone() const override { return std::make_unique<tbitmapex>(*this); }

  HPALETTE GetPalette() const override;
  void SetPalette(HPALETTE palette) override;
  UINT ClipboardFormat() const override { return CF_DIB; }

  // Colour (0x00BBGGRR) at 24 bits, colour-table index at 1, 4 and 8 bits;
  // y counts from the top row.
  uint32_t GetPixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t value);
  int GetPixelFormat() const { return dib_->GetPixelsFormat(); }
  void SetPixelFormat(int format);

  // Makes the DIB this wrapper's own before a change.
  void UniqueDIB();

  // 0: the fast colour reduction, 1: the fine one.
  uint8_t ReductionMode = 0;
  // The colour that conversions to 1 bit mark.
  tcolor MaskColor = clWhite;

  // The shared storage, for readers that walk the pixels themselves.
  const tinternaldib& InternalDIB() const { return *dib_; }
  // How many pictures share the storage (1: this one alone).
  long DIBShareCount() const { return dib_.use_count(); }

 private:
  void Take(std::shared_ptr<tinternaldib> dib) { dib_ = std::move(dib); }
  void UpdatePaletteModified();
  void ReplaceBySize(int width, int height);
  bool DrawDIB(HDC dc, const RECT& rect, DWORD rop) const;
  uint8_t* PixelAddress(int x, int y) const;
  void tprogressstep();

  std::shared_ptr<tinternaldib> dib_;
  int progressCount_ = 0;
  int progressTotal_ = 0;
  std::string progressMessage_;
};

}  // namespace pendo
