#include "framework/bitmap.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "settings/widetext.h"

namespace pendo {

tbitmap::~tbitmap() { DropCanvas(); }

void tbitmap::DropCanvas() {
  if (canvas_) canvas_->SetHandle(nullptr);
  canvas_.reset();
  if (dc_ && oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
  oldBitmap_ = nullptr;
  dc_.reset();
}

tcanvas& tbitmap::Canvas() {
  if (!canvas_) {
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_) throw std::runtime_error("cannot create a memory device context");
    if (handle_) oldBitmap_ = SelectObject(dc_.get(), handle_.get());
    canvas_ = std::make_unique<tcanvas>(dc_.get());
  }
  return *canvas_;
}

void tbitmap::Adopt(HBITMAP bitmap) {
  DropCanvas();
  handle_.reset(bitmap);
  BITMAP info{};
  if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
    width_ = info.bmWidth;
    height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  } else {
    width_ = height_ = 0;
  }
}

void tbitmap::SetSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == width_ && height == height_ && (handle_ || width == 0 || height == 0)) return;
  if (width == 0 || height == 0) {
    DropCanvas();
    handle_.reset();
    width_ = width;
    height_ = height;
    return;
  }
  twindowdc screen(nullptr);
  HBITMAP fresh = CreateCompatibleBitmap(screen.get(), width, height);
  if (!fresh) throw std::runtime_error("cannot create a bitmap");
  tmemorydc dc(CreateCompatibleDC(nullptr));
  {
    tselection sel(dc.get(), fresh);
    RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (handle_) ::BitBlt(dc.get(), 0, 0, width_, height_, SourceDC(), 0, 0, SRCCOPY);
  }
  Adopt(fresh);
}

HDC tbitmap::SourceDC() const { return const_cast<tbitmap*>(this)->Canvas().Handle(); }

void tbitmap::SetHandle(HBITMAP bitmap) { Adopt(bitmap); }

HBITMAP tbitmap::ReleaseHandle() {
  DropCanvas();
  width_ = height_ = 0;
  return handle_.release();
}

void tbitmap::Assign(const tbitmap& other) {
  if (other.Empty()) {
    Clear();
    return;
  }
  twindowdc screen(nullptr);
  HBITMAP copy = CreateCompatibleBitmap(screen.get(), other.width_, other.height_);
  if (!copy) throw std::runtime_error("cannot create a bitmap");
  {
    tmemorydc dc(CreateCompatibleDC(nullptr));
    tselection sel(dc.get(), copy);
    ::BitBlt(dc.get(), 0, 0, other.width_, other.height_, other.SourceDC(), 0, 0, SRCCOPY);
  }
  Adopt(copy);
}

void tbitmap::Draw(tcanvas& canvas, const RECT& r) const {
  if (Empty()) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w == width_ && h == height_) {
    ::BitBlt(canvas.Handle(), r.left, r.top, w, h, SourceDC(), 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(canvas.Handle(), COLORONCOLOR);
    ::StretchBlt(canvas.Handle(), r.left, r.top, w, h, SourceDC(), 0, 0, width_, height_, SRCCOPY);
  }
}

void tbitmap::LoadFromFile(const std::string& path) {
  HANDLE h = LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (!h) throw std::runtime_error("cannot read bitmap " + path);
  Adopt(static_cast<HBITMAP>(h));
}

void tbitmap::LoadFromResource(HINSTANCE instance, const std::string& name) {
  HANDLE h = LoadImageW(instance, Wide(name).c_str(), IMAGE_BITMAP, 0, 0, 0);
  if (!h) throw std::runtime_error("no bitmap resource " + name);
  Adopt(static_cast<HBITMAP>(h));
}

void tbitmap::SaveToFile(const std::string& path) const {
  if (Empty()) throw std::logic_error("empty bitmap");
  BITMAPINFOHEADER bih{};
  bih.biSize = sizeof bih;
  bih.biWidth = width_;
  bih.biHeight = height_;
  bih.biPlanes = 1;
  bih.biBitCount = 24;
  const DWORD stride = (static_cast<DWORD>(width_) * 3 + 3) & ~3u;
  bih.biSizeImage = stride * height_;
  std::vector<unsigned char> bits(bih.biSizeImage);
  // GetDIBits needs the bitmap out of every DC.
  const_cast<tbitmap*>(this)->DropCanvas();
  twindowdc screen(nullptr);
  if (!GetDIBits(screen.get(), handle_.get(), 0, height_, bits.data(), reinterpret_cast<BITMAPINFO*>(&bih),
                 DIB_RGB_COLORS))
    throw std::runtime_error("cannot read bitmap bits");
  BITMAPFILEHEADER bfh{};
  bfh.bfType = 0x4D42;
  bfh.bfOffBits = sizeof bfh + sizeof bih;
  bfh.bfSize = bfh.bfOffBits + bih.biSizeImage;
  FILE* f = _wfopen(Wide(path).c_str(), L"wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  bool ok = std::fwrite(&bfh, sizeof bfh, 1, f) == 1 && std::fwrite(&bih, sizeof bih, 1, f) == 1 &&
            std::fwrite(bits.data(), bits.size(), 1, f) == 1;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) throw std::runtime_error("cannot write " + path);
}

void tbitmap::LoadFromClipboardFormat(UINT format, HANDLE data) {
  if (format != CF_BITMAP || !data) throw std::invalid_argument("not a bitmap on the clipboard");
  HANDLE copy = CopyImage(data, IMAGE_BITMAP, 0, 0, 0);
  if (!copy) throw std::runtime_error("cannot copy the clipboard bitmap");
  Adopt(static_cast<HBITMAP>(copy));
}

HANDLE tbitmap::SaveToClipboardFormat(UINT& format) const {
  format = CF_BITMAP;
  if (Empty()) return nullptr;
  const_cast<tbitmap*>(this)->DropCanvas();
  return CopyImage(handle_.get(), IMAGE_BITMAP, 0, 0, 0);
}

}  // namespace pendo
