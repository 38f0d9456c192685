#include "framework/graphic.h"

#include <algorithm>
#include <stdexcept>

#include "framework/bitmap.h"
#include "framework/icon.h"

namespace pendo {

namespace {
struct tfileformat {
  std::string extension, description;
  tgraphicfactory factory;
};
struct tclipformat {
  UINT format;
  tgraphicfactory factory;
};

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The framework's own kinds are always there; others add theirs at start-up.
std::vector<tfileformat>& FileFormats() {
  static std::vector<tfileformat> formats{
      {"bmp", "Bitmaps", [] { return std::unique_ptr<tgraphic>(new tbitmap); }},
      {"ico", "Icons", [] { return std::unique_ptr<tgraphic>(new ticon); }},
  };
  return formats;
}
std::vector<tclipformat>& ClipFormats() {
  static std::vector<tclipformat> formats{{CF_BITMAP, [] { return std::unique_ptr<tgraphic>(new tbitmap); }}};
  return formats;
}

std::string ExtensionOf(const std::string& path) {
  const auto dot = path.find_last_of('.');
  const auto sep = path.find_last_of("\\/:");
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return {};
  return Lower(path.substr(dot + 1));
}
}  // namespace

void tpicture::SetGraphic(std::unique_ptr<tgraphic> graphic) {
  graphic_ = std::move(graphic);
  if (OnChange) OnChange();
}

void tpicture::Assign(const tpicture& other) {
  SetGraphic(other.graphic_ ? other.graphic_->Clone() : nullptr);
}

void tpicture::LoadFromFile(const std::string& path) {
  const std::string ext = ExtensionOf(path);
  for (const auto& f : FileFormats()) {
    if (f.extension == ext) {
      auto g = f.factory();
      g->LoadFromFile(path);
      SetGraphic(std::move(g));
      return;
    }
  }
  throw std::invalid_argument("unknown picture file extension: " + path);
}

void tpicture::SaveToFile(const std::string& path) const {
  if (!graphic_) throw std::logic_error("empty picture");
  graphic_->SaveToFile(path);
}

void tpicture::LoadFromClipboardFormat(UINT format, HANDLE data) {
  for (const auto& f : ClipFormats()) {
    if (f.format == format) {
      auto g = f.factory();
      g->LoadFromClipboardFormat(format, data);
      SetGraphic(std::move(g));
      return;
    }
  }
  throw std::invalid_argument("unsupported clipboard format");
}

void tpicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  tgraphicfactory factory) {
  const std::string ext = Lower(extension);
  UnregisterFileFormat(ext);
  FileFormats().push_back({ext, description, std::move(factory)});
}

void tpicture::UnregisterFileFormat(const std::string& extension) {
  auto& v = FileFormats();
  const std::string ext = Lower(extension);
  v.erase(std::remove_if(v.begin(), v.end(), [&](const tfileformat& f) { return f.extension == ext; }), v.end());
}

void tpicture::RegisterClipboardFormat(UINT format, tgraphicfactory factory) {
  auto& v = ClipFormats();
  v.erase(std::remove_if(v.begin(), v.end(), [&](const tclipformat& f) { return f.format == format; }), v.end());
  v.push_back({format, std::move(factory)});
}

bool tpicture::SupportsClipboardFormat(UINT format) {
  for (const auto& f : ClipFormats())
    if (f.format == format) return true;
  return false;
}

std::string tpicture::FileFilter() {
  std::string filter;
  for (const auto& f : FileFormats()) {
    if (!filter.empty()) filter += '|';
    filter += f.description + " (*." + f.extension + ")|*." + f.extension;
  }
  return filter;
}

}  // namespace pendo
