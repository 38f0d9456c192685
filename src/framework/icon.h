// An icon held by handle; copies are real copies, so each owner frees its own.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/graphic.h"
#include "framework/handles.h"

namespace pendo {

class ticon : public tgraphic {
 public:
  ticon() = default;
  ticon(const ticon& other) { Assign(other); }
  ticon& operator=(const ticon& other) {
    if (this != &other) Assign(other);
    return *this;
  }

  bool Empty() const override { return !handle_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  HICON Handle() const { return handle_.get(); }
  // Takes ownership.
  void SetHandle(HICON icon);
  // Copies the icon; the caller keeps its handle.
  void AssignHandle(HICON icon);
  void Assign(const ticon& other) { AssignHandle(other.Handle()); }
  // The image of the given size from an icon resource (0 for the system's default size).
  void LoadFromResource(HINSTANCE instance, const std::string& name, int size = 0);

  void Draw(tcanvas& canvas, const RECT& rect) const override;
  void LoadFromFile(const std::string& path) override;
  void SaveToFile(const std::string& path) const override;
  void LoadFromClipboardFormat(UINT format, HANDLE data) override;
  HANDLE SaveToClipboardFormat(UINT& format) const override;
  std::unique_ptr<tgraphic> Clone() const override { return std::make_unique<ticon>(*this); }

 private:
  ticonhandle handle_;
  int width_ = 0, height_ = 0;
};

}  // namespace pendo
