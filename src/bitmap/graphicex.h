// tgraphicex: a picture kind that keeps its own palette and clipboard format,
// reads and writes itself from byte sources and sinks, and tells its owner when it changed
// and how far a long conversion has got.
#pragma once

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/bytestream.h"
#include "framework/graphic.h"

namespace pendo {

// Clipboard data of a format the picture kind does not read, or no data.
class EInvalidGraphic : public std::runtime_error {
 public:
  EInvalidGraphic() : std::runtime_error(kBitmapErrorText) {}
};

// The clipboard could not be opened or would not take the data.
class EClipboardError : public std::runtime_error {
 public:
  EClipboardError() : std::runtime_error(kBitmapErrorText) {}
};

enum class tprogressstage { psStarting, psRunning, psEnding };

class tgraphicex;

// Stage, percent done, whether the owner should redraw at once, the part of
// the picture concerned, and what is running.
using tprogressevent = std::function<void(tgraphicex& sender, tprogressstage stage, int percentDone,
                                          bool redrawNow, const RECT& rect, const std::string& message)>;

class tgraphicex : public tgraphic {
 public:
  // The palette the picture draws with (owned by the picture), or none.
  virtual HPALETTE GetPalette() const = 0;
  // Takes the colours of palette; the caller keeps its handle.
  virtual void SetPalette(HPALETTE palette) = 0;
  virtual UINT ClipboardFormat() const = 0;

  virtual void LoadFromStream(tbytesource& in) = 0;
  virtual void SaveToStream(tbytesink& out) const = 0;
  void LoadFromFile(const std::string& path) override;
  void SaveToFile(const std::string& path) const override;

  // Clipboard data of format with the clipboard's palette (may be none).
  virtual void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) = 0;
  void LoadFromClipboardFormat(UINT format, HANDLE data) override { LoadFromClipboardFormat(format, data, nullptr); }

  // Loads the clipboard's data of this kind's format; the clipboard is
  // closed again whether or not loading succeeds.
  void AssignFromClipboard(HWND owner);
  // Puts the picture on the clipboard in this kind's format, replacing what
  // was there.
  void CopyToClipboard(HWND owner) const;

  std::function<void()> OnChange;
  tprogressevent OnProgress;

 protected:
  void Changed();
  void Progress(tprogressstage stage, int percentDone, bool redrawNow, const RECT& rect,
                const std::string& message);
};

}  // namespace pendo
