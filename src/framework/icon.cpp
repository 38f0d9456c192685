#include "framework/icon.h"

#include <stdexcept>

#include "framework/canvas.h"
#include "settings/widetext.h"

namespace pendo {

void ticon::SetHandle(HICON icon) {
  handle_.reset(icon);
  width_ = height_ = 0;
  ICONINFO info{};
  if (icon && GetIconInfo(icon, &info)) {
    BITMAP bm{};
    HBITMAP shape = info.hbmColor ? info.hbmColor : info.hbmMask;
    if (GetObjectW(shape, sizeof bm, &bm)) {
      width_ = bm.bmWidth;
      height_ = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
}

void ticon::AssignHandle(HICON icon) {
  if (!icon) {
    SetHandle(nullptr);
    return;
  }
  HICON copy = CopyIcon(icon);
  if (!copy) throw std::runtime_error("cannot copy an icon");
  SetHandle(copy);
}

void ticon::LoadFromResource(HINSTANCE instance, const std::string& name, int size) {
  HANDLE h = LoadImageW(instance, Wide(name).c_str(), IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE);
  if (!h) throw std::runtime_error("no icon resource " + name);
  SetHandle(static_cast<HICON>(h));
}

void ticon::Draw(tcanvas& canvas, const RECT& r) const {
  if (handle_) DrawIconEx(canvas.Handle(), r.left, r.top, handle_.get(), r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
}

void ticon::LoadFromFile(const std::string& path) {
  HANDLE h = LoadImageW(nullptr, Wide(path).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
  if (!h) throw std::runtime_error("cannot read icon " + path);
  SetHandle(static_cast<HICON>(h));
}

void ticon::SaveToFile(const std::string&) const { throw std::logic_error("icons are not written"); }

void ticon::LoadFromClipboardFormat(UINT, HANDLE) { throw std::logic_error("icons are not on the clipboard"); }

HANDLE ticon::SaveToClipboardFormat(UINT& format) const {
  format = 0;
  throw std::logic_error("icons are not on the clipboard");
}

}  // namespace pendo
