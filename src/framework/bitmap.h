// An off-screen bitmap in the screen's format with its own drawing canvas.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/canvas.h"
#include "framework/graphic.h"
#include "framework/handles.h"

namespace pendo {

class tbitmap : public tgraphic {
 public:
  tbitmap() = default;
  tbitmap(int width, int height) { SetSize(width, height); }
  tbitmap(const tbitmap& other) { Assign(other); }
  tbitmap& operator=(const tbitmap& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  ~tbitmap() override;

  bool Empty() const override { return !handle_ || width_ == 0 || height_ == 0; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // Keeps the part of the old picture that still fits; a size of 0 frees the bitmap.
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }

  // The canvas draws straight into the bitmap.
  tcanvas& Canvas();
  HBITMAP Handle() const { return handle_.get(); }
  // Takes ownership of a bitmap handle.
  void SetHandle(HBITMAP bitmap);
  // Gives the handle away; the bitmap is empty afterwards.
  HBITMAP ReleaseHandle();
  void Assign(const tbitmap& other);
  // Frees the handle and the canvas's DC.
  void Clear() { SetSize(0, 0); }

  void Draw(tcanvas& canvas, const RECT& rect) const override;
  void LoadFromFile(const std::string& path) override;
  void LoadFromResource(HINSTANCE instance, const std::string& name);
  void SaveToFile(const std::string& path) const override;
  void LoadFromClipboardFormat(UINT format, HANDLE data) override;
  HANDLE SaveToClipboardFormat(UINT& format) const override;
  std::unique_ptr<tgraphic> Clone() const override { return std::make_unique<tbitmap>(*this); }

 private:
  void Adopt(HBITMAP bitmap);
  void DropCanvas();
  HDC SourceDC() const;

  tbitmaphandle handle_;
  int width_ = 0, height_ = 0;
  tmemorydc dc_;
  HGDIOBJ oldBitmap_ = nullptr;
  std::unique_ptr<tcanvas> canvas_;
};

}  // namespace pendo
