#include "bitmap/bitmapex.h"

#include <cstring>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/pixelmemory.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/handles.h"

namespace pendo {

namespace {

// Header and colour table as GDI takes them. A run-length image needs its
// data size in the header, which a loaded file may have left at 0.
struct tdrawinfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

void FillDrawInfo(const tdibinfo& info, tdrawinfo& out) {
  static_assert(sizeof(BITMAPINFOHEADER) == sizeof(tdibinfoheader));
  static_assert(sizeof(RGBQUAD) == sizeof(tdibrgbquad));
  std::memcpy(&out.header, &info.Header, sizeof out.header);
  std::memcpy(out.colors, info.Colors, sizeof out.colors);
  if (out.header.biCompression != BI_RGB) out.header.biSizeImage = info.BitsSize;
}

// Selects a palette as a background palette and realizes it; puts the
// previous one back on scope exit.
class tpaletteselection {
 public:
  tpaletteselection(HDC dc, HPALETTE palette) : dc_(dc) {
    if (palette == nullptr) return;
    old_ = SelectPalette(dc, palette, TRUE);
    RealizePalette(dc);
  }
  ~tpaletteselection() {
    if (old_ != nullptr) SelectPalette(dc_, old_, TRUE);
  }
  tpaletteselection(const tpaletteselection&) = delete;
  tpaletteselection& operator=(const tpaletteselection&) = delete;

 private:
  HDC dc_;
  HPALETTE old_ = nullptr;
};

struct tprogresstext {
  int from, to;
  const char* message;
  int total;
};

const tprogresstext kProgressTexts[] = {
    {pf8Bit, pf4Bit, "PixelFormat 8Bit -> 4Bit", 16},
    {pf8Bit, pf4BitRLE, "PixelFormat 8Bit -> 4BitRLE", 16},
    {pf8BitRLE, pf4Bit, "PixelFormat 8BitRLE -> 4Bit", 16},
    {pf8BitRLE, pf4BitRLE, "PixelFormat 8BitRLE -> 4BitRLE", 16},
    {pf24Bit, pf4Bit, "PixelFormat 24Bit -> 4Bit", 16},
    {pf24Bit, pf4BitRLE, "PixelFormat 24Bit -> 4BitRLE", 16},
    {pf24Bit, pf8Bit, "PixelFormat 24Bit -> 8Bit", 256},
    {pf24Bit, pf8BitRLE, "PixelFormat 24Bit -> 8BitRLE", 256},
};

}  // namespace

tbitmapex::tbitmapex() : dib_(std::make_shared<tinternaldib>()) { UpdatePaletteModified(); }

tbitmapex::tbitmapex(const tbitmapex& other)
    : tgraphicex(), ReductionMode(other.ReductionMode), MaskColor(other.MaskColor), dib_(other.dib_) {}

tbitmapex& tbitmapex::operator=(const tbitmapex& other) {
  Assign(&other);
  return *this;
}

tbitmapex::~tbitmapex() = default;

void tbitmapex::UpdatePaletteModified() {
  if (dib_->PaletteChanged) dib_->PaletteChanged = false;
}

void tbitmapex::UniqueDIB() {
  if (dib_.use_count() == 1) return;
  Take(dib_->Duplicate());
}

void tbitmapex::ReplaceBySize(int width, int height) {
  const tdibinfoheader& h = dib_->Info.Header;
  std::unique_ptr<tinternaldib> fresh(new tinternaldib);
  fresh->SetFormat(width, height, h.biBitCount, static_cast<int>(h.biClrUsed <= 256 ? h.biClrUsed : 256));
  Take(std::move(fresh));
  UpdatePaletteModified();
  Changed();
}

void tbitmapex::SetWidth(int width) {
  if (width <= 0) throw EtbitmapexInvalidDIBPara();
  if (width == Width()) return;
  ReplaceBySize(width, Height());
}

void tbitmapex::SetHeight(int height) {
  if (height == 0) throw EtbitmapexInvalidDIBPara();
  if (height == Height()) return;
  ReplaceBySize(Width(), height);
}

void tbitmapex::Assign(const tbitmapex* source) {
  if (source == this) return;
  if (source == nullptr) {
    std::unique_ptr<tinternaldib> fresh(new tinternaldib);
    Take(std::move(fresh));
    UpdatePaletteModified();
  } else {
    Take(source->dib_);
    ReductionMode = source->ReductionMode;
    MaskColor = source->MaskColor;
  }
  Changed();
}

void tbitmapex::Assign(HBITMAP source, HPALETTE palette) {
  BITMAP bm{};
  if (source == nullptr || GetObjectW(source, sizeof bm, &bm) == 0) throw EtbitmapexInvalidDIBPara();
  int bits = bm.bmPlanes * bm.bmBitsPixel;
  if (bits == 16 || bits == 32) bits = 24;
  std::unique_ptr<tinternaldib> fresh(new tinternaldib);
  fresh->SetFormat(bm.bmWidth, bm.bmHeight, bits, 0);
  int lines;
  {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) throw EOutOfResources();
    {
      tpaletteselection selection(screen, palette);
      lines = GetDIBits(screen, source, 0, static_cast<UINT>(fresh->Height), fresh->Info.Bits,
                        reinterpret_cast<BITMAPINFO*>(&fresh->Info.Header), DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, screen);
  }
  if (lines != fresh->Height) throw EOutOfResources();
  tdibinfoheader& h = fresh->Info.Header;
  if (h.biClrUsed == 0) h.biClrUsed = static_cast<uint32_t>(tinternaldib::PaletteSize(bits));
  fresh->UpdatePalette();
  Take(std::move(fresh));
  UpdatePaletteModified();
  Changed();
}

void tbitmapex::Assign(const tbitmap& source) {
  // The bitmap stays selected into its canvas's memory DC; GDI reads it there
  // once pending drawing is flushed, and the canvas keeps its pen, brush and font.
  GdiFlush();
  Assign(source.Handle());
}

void tbitmapex::AssignTo(tbitmap& target) const {
  target.SetSize(0, 0);
  target.SetSize(Width(), Height());
  const RECT all{0, 0, Width(), Height()};
  if (!DrawDIB(target.Canvas().Handle(), all, SRCCOPY)) throw EOutOfResources();
}

void tbitmapex::AssignTo(HBITMAP target) const {
  BITMAP bm{};
  if (target == nullptr || GetObjectW(target, sizeof bm, &bm) == 0) throw EtbitmapexInvalidDIBPara();
  if (bm.bmWidth != Width() || (bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight) != Height())
    throw EtbitmapexInvalidDIBPara();
  tmemorydc dc(CreateCompatibleDC(nullptr));
  if (!dc) throw EOutOfResources();
  bool drawn = false;
  {
    tselection selection(dc.get(), target);
    const RECT all{0, 0, Width(), Height()};
    drawn = GetCurrentObject(dc.get(), OBJ_BITMAP) == target && DrawDIB(dc.get(), all, SRCCOPY);
  }
  if (!drawn) throw EOutOfResources();
}

void tbitmapex::Draw(tcanvas& canvas, const RECT& rect) const { DrawDIB(canvas.Handle(), rect, SRCCOPY); }

void tbitmapex::Draw(HDC dc, const RECT& rect, DWORD rop) const { DrawDIB(dc, rect, rop); }

bool tbitmapex::DrawDIB(HDC dc, const RECT& rect, DWORD rop) const {
  tdrawinfo info;
  FillDrawInfo(dib_->Info, info);
  tpaletteselection selection(dc, GetPalette());
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  const int lines = StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0,
                                  Width(), Height(), dib_->Info.Bits, reinterpret_cast<const BITMAPINFO*>(&info),
                                  DIB_RGB_COLORS, rop);
  if (oldMode != 0) SetStretchBltMode(dc, oldMode);
  return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}

void tbitmapex::LoadFromStream(tbytesource& in) {
  // Read into a new DIB first, so that a damaged stream keeps the picture.
  std::unique_ptr<tinternaldib> fresh(new tinternaldib);
  fresh->LoadFromStream(in);
  Take(std::move(fresh));
  UpdatePaletteModified();
  Changed();
}

void tbitmapex::SaveToStream(tbytesink& out) const { dib_->SaveToStream(out); }

void tbitmapex::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE /*palette*/) {
  if (format != CF_DIB || data == nullptr) throw EInvalidGraphic();
  std::unique_ptr<tinternaldib> fresh(new tinternaldib);
  fresh->LoadFromHandle(data);
  Take(std::move(fresh));
  UpdatePaletteModified();
  Changed();
}

HANDLE tbitmapex::SaveToClipboardFormat(UINT& format) const {
  format = CF_DIB;
  return dib_->SaveToHandle();
}

HPALETTE tbitmapex::GetPalette() const {
  if (dib_->Palette == nullptr && dib_->Info.Header.biClrUsed != 0) dib_->Palette = dib_->CreatePaletteHandle();
  return static_cast<HPALETTE>(dib_->Palette);
}

void tbitmapex::SetPalette(HPALETTE palette) {
  UniqueDIB();
  if (palette != nullptr) {
    PALETTEENTRY entries[256];
    const UINT count = GetPaletteEntries(palette, 0, 256, entries);
    if (count == 0) throw EtbitmapexInvalidPalette();
    tdibrgbquad colors[256];
    for (UINT i = 0; i < count; ++i) {
      colors[i] = tdibrgbquad{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    }
    // The DIB deletes its palette handle, so it keeps a copy of the caller's.
    void* copy = CreatePaletteFromTable(colors, count);
    dib_->UpdatePalette();
    std::memcpy(dib_->Info.Colors, colors, count * sizeof colors[0]);
    dib_->Info.Header.biClrUsed = count;
    dib_->Palette = copy;
  } else {
    dib_->UpdatePalette();
    dib_->Info.Header.biClrUsed = 0;
  }
  Changed();
}

uint8_t* tbitmapex::PixelAddress(int x, int y) const {
  const tdibinfo& info = dib_->Info;
  const tdibinfoheader& h = info.Header;
  if (h.biCompression != BI_RGB) throw EtbitmapexBadDIBType();
  if (x < 0 || x >= h.biWidth || y < 0 || static_cast<uint32_t>(y) >= info.Rows()) throw EtbitmapexPixelPositionRange();
  const unsigned bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) throw EtbitmapexInvalidDIB();
  const uint64_t rowSize = DibRowSize(static_cast<uint32_t>(h.biWidth), bits);
  const uint64_t row = h.biHeight < 0 ? static_cast<uint64_t>(y) : info.Rows() - 1 - static_cast<uint64_t>(y);
  const uint64_t offset = row * rowSize + static_cast<uint64_t>(x) * bits / 8;
  if (offset + (bits == 24 ? 3 : 1) > info.BitsSize) throw EtbitmapexInvalidDIB();
  return info.Bits + offset;
}

uint32_t tbitmapex::GetPixel(int x, int y) const {
  const uint8_t* p = PixelAddress(x, y);
  switch (dib_->Info.Header.biBitCount) {
    case 1: return (*p & (0x80u >> (x % 8))) != 0 ? 1 : 0;
    case 4: return x % 2 == 0 ? *p >> 4 : *p & 0x0F;
    case 8: return *p;
    default: return p[2] | uint32_t{p[1]} << 8 | uint32_t{p[0]} << 16;
  }
}

void tbitmapex::SetPixel(int x, int y, uint32_t value) {
  PixelAddress(x, y);  // position errors before any copy is made
  UniqueDIB();
  uint8_t* p = PixelAddress(x, y);
  switch (dib_->Info.Header.biBitCount) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80u >> (x % 8));
      *p = value != 0 ? static_cast<uint8_t>(*p | bit) : static_cast<uint8_t>(*p & ~bit);
      break;
    }
    case 4:
      *p = x % 2 == 0 ? static_cast<uint8_t>((*p & 0x0F) | (value & 0x0F) << 4)
                      : static_cast<uint8_t>((*p & 0xF0) | (value & 0x0F));
      break;
    case 8: *p = static_cast<uint8_t>(value); break;
    default:
      p[0] = static_cast<uint8_t>(value >> 16);
      p[1] = static_cast<uint8_t>(value >> 8);
      p[2] = static_cast<uint8_t>(value);
  }
}

void tbitmapex::tprogressstep() {
  ++progressCount_;
  if (progressTotal_ == 0 || progressCount_ == progressTotal_) return;
  const RECT all{0, 0, Width(), Height()};
  Progress(tprogressstage::psRunning, progressCount_ * 100 / progressTotal_, false, all, progressMessage_);
}

void tbitmapex::SetPixelFormat(int format) {
  const int current = GetPixelFormat();
  if (format == current || format < pf1Bit || format > pf24Bit) return;
  UniqueDIB();
  const tprogresstext* text = nullptr;
  for (const tprogresstext& t : kProgressTexts) {
    if (t.from == current && t.to == format) text = &t;
  }
  const RECT all{0, 0, Width(), Height()};
  progressCount_ = 0;
  progressTotal_ = 0;
  if (text != nullptr) {
    progressMessage_ = text->message;
    progressTotal_ = text->total;
    Progress(tprogressstage::psStarting, 0, false, all, progressMessage_);
  }
  try {
    dib_->SetPixelsFormat(format, ReductionMode, [this] { tprogressstep(); }, ColorToRGB(MaskColor));
  } catch (...) {
    if (text != nullptr) Progress(tprogressstage::psEnding, 100, true, all, progressMessage_);
    throw;
  }
  if (text != nullptr) Progress(tprogressstage::psEnding, 100, true, all, progressMessage_);
  UpdatePaletteModified();
  Changed();
}

}  // namespace pendo
