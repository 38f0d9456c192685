#include "bitmap/graphicex.h"

#include <cstdio>

#include "settings/widetext.h"

namespace pendo {

namespace {

// Holds the clipboard open for the life of the scope.
class tclipboardlock {
 public:
  explicit tclipboardlock(HWND owner) {
    if (!OpenClipboard(owner)) throw EClipboardError();
  }
  ~tclipboardlock() { CloseClipboard(); }
  tclipboardlock(const tclipboardlock&) = delete;
  tclipboardlock& operator=(const tclipboardlock&) = delete;
};

}  // namespace

void tgraphicex::LoadFromFile(const std::string& path) {
  tfilestream in(_wfopen(Wide(path).c_str(), L"rb"));
  if (!in.IsOpen()) throw std::runtime_error("cannot open " + path);
  LoadFromStream(in);
}

void tgraphicex::SaveToFile(const std::string& path) const {
  tfilestream out(_wfopen(Wide(path).c_str(), L"wb"));
  if (!out.IsOpen()) throw std::runtime_error("cannot write " + path);
  SaveToStream(out);
  if (!out.Close()) throw EWriteError();
}

void tgraphicex::AssignFromClipboard(HWND owner) {
  tclipboardlock lock(owner);
  const UINT format = ClipboardFormat();
  HANDLE data = GetClipboardData(format);
  HPALETTE palette = static_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
  LoadFromClipboardFormat(format, data, palette);
}

void tgraphicex::CopyToClipboard(HWND owner) const {
  UINT format = 0;
  HANDLE data = SaveToClipboardFormat(format);
  try {
    tclipboardlock lock(owner);
    if (!EmptyClipboard() || SetClipboardData(format, data) == nullptr) throw EClipboardError();
  } catch (...) {
    // The clipboard did not take the block, so it is still ours.
    GlobalFree(data);
    throw;
  }
}

void tgraphicex::Changed() {
  if (OnChange) OnChange();
}

void tgraphicex::Progress(tprogressstage stage, int percentDone, bool redrawNow, const RECT& rect,
                          const std::string& message) {
  if (OnProgress) OnProgress(*this, stage, percentDone, redrawNow, rect, message);
}

}  // namespace pendo
