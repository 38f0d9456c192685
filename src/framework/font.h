// A font description (face, size, style set, colour) that creates its GDI
// font on demand and drops it when any part changes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/handles.h"
#include "framework/types.h"
#include "settings/dpiscale.h"

namespace pendo {

enum tfontstyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using tfontstyles = unsigned;

class tfont {
 public:
  tfont();
  tfont(const tfont& other);
  tfont& operator=(const tfont& other);
  ~tfont() = default;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  // Height in pixels of the character cell when negative, as in a LOGFONT,
  // at the font's resolution.
  int Height() const;
  void SetHeight(int height);
  // Points, at the font's resolution.
  int Size() const;
  void SetSize(int points);
  // The resolution the font is made for (96 until its window says); the
  // height set last keeps its size in points, without drifting over changes.
  int Dpi() const { return dpi_; }
  void SetDpi(int dpi);
  tfontstyles Style() const { return style_; }
  void SetStyle(tfontstyles style);
  tcolor Color() const { return color_; }
  void SetColor(tcolor color);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE charset);

  bool operator==(const tfont& o) const;
  bool operator!=(const tfont& o) const { return !(*this == o); }

  HFONT Handle() const;
  // The GDI description of the font, and the font taken from one (the
  // colour stays, since a LOGFONT has none).
  LOGFONTW LogFont() const;
  void AssignLogFont(const LOGFONTW& lf);
  // Called after every change.
  std::function<void()> OnChange;

  // "fsBold,fsItalic" into a style set; throws on an unknown name.
  static tfontstyles ParseStyle(const std::string& text);
  // "Font.Name", "Font.Height", "Font.Size", "Font.Style", "Font.Color"; false for other keys.
  bool SetProperty(const std::string& key, const std::string& value);

 private:
  void Changed();
  std::string name_;
  int height_;          // as set last, at heightDpi_
  int heightDpi_ = kDesignDpi;
  int dpi_ = kDesignDpi;
  tfontstyles style_ = 0;
  tcolor color_ = clWindowText;
  BYTE charset_ = DEFAULT_CHARSET;
  mutable tfonthandle handle_;
};

int ScreenPixelsPerInch();

}  // namespace pendo
