// The base of every picture kind (bitmap, icon, and the bitmap engine's own
// class), and the picture that holds one of them. Picture kinds register the
// file extensions and clipboard formats they read, so that a picture can load
// a file or clipboard data without knowing the kinds in advance.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pendo {

class tcanvas;

class tgraphic {
 public:
  virtual ~tgraphic() = default;
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void Draw(tcanvas& canvas, const RECT& rect) const = 0;
  virtual void LoadFromFile(const std::string& path) = 0;
  virtual void SaveToFile(const std::string& path) const = 0;
  // Clipboard data of a registered format; the handle stays the caller's.
  virtual void LoadFromClipboardFormat(UINT format, HANDLE data) = 0;
  // Returns global memory the caller hands to the clipboard.
  virtual HANDLE SaveToClipboardFormat(UINT& format) const = 0;
  virtual std::unique_ptr<tgraphic> Clone() const = 0;
};

using tgraphicfactory = std::function<std::unique_ptr<tgraphic>()>;

class tpicture {
 public:
  tpicture() = default;
  tpicture(const tpicture& o) { Assign(o); }
  tpicture& operator=(const tpicture& o) {
    if (this != &o) Assign(o);
    return *this;
  }

  tgraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::unique_ptr<tgraphic> graphic);
  void Assign(const tpicture& other);
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // Picks the picture kind by the file's extension (case does not matter).
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;
  void LoadFromClipboardFormat(UINT format, HANDLE data);

  std::function<void()> OnChange;

  static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                 tgraphicfactory factory);
  static void UnregisterFileFormat(const std::string& extension);
  static void RegisterClipboardFormat(UINT format, tgraphicfactory factory);
  static bool SupportsClipboardFormat(UINT format);
  // "Device Independent Bitmap (*.dib)|*.dib|...", for open and save dialogs.
  static std::string FileFilter();

 private:
  std::unique_ptr<tgraphic> graphic_;
};

}  // namespace pendo
