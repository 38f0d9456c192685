// The clock's look as a value: colours, fonts, effects and what is shown.
// The main window owns it; the panel, the menu's check marks and the noise
// timer follow it, and the property wizard edits it. The keys it keeps in the
// panel's profile are read and written here and nowhere else.
#pragma once

#include <cstdint>
#include <string>

namespace pendo {

class tprofiler;

// A colour as 0x00BBGGRR; 0x80 in the high byte stands for a system colour.
using tlookcolor = std::int32_t;

// The style set of a font as the framework's bits: bold 1, italic 2,
// underline 4, strike-out 8.
enum tlookstyle : unsigned { lsBold = 1, lsItalic = 2, lsUnderline = 4, lsStrikeOut = 8 };

struct tfontlook {
  std::string name;
  int size = 8;  // points
  unsigned style = 0;
  // The cell height in pixels as a font dialog or a window's description
  // gives it (negative, as in a LOGFONT); 0: the height of size.
  int height = 0;
  unsigned charset = 1;  // the system's default character set
  // The resolution it is drawn at (FontAtDpi): not the look's, never kept.
  int dpi = 96;
  bool operator==(const tfontlook& o) const {
    return name == o.name && size == o.size && style == o.style && height == o.height && charset == o.charset;
  }
  bool operator!=(const tfontlook& o) const { return !(*this == o); }
};

enum tbevelingtype { blnone, blsingle, bldouble };

struct tclocklook {
  // Kept in the profile.
  bool interlace = false;
  bool transparentBackgroundHalftone = true;
  bool transparentBackground = true;
  int gradatingBlightness = 12;
  bool gradating = true;
  bool titleVisible = true;
  bool visible = true;
  tlookcolor titleColor = 0;
  tfontlook titleFont{"Arial", 8, 0};
  tlookcolor valueColor = 0;
  tfontlook valueFont{"Arial", 8, 0};
  bool horizontalNoise = false;
  bool transparentForeground = true;
  tlookcolor gaugeColor = 0xFFCCAA;
  // Set by the window's description only.
  tbevelingtype beveling = bldouble;
  tlookcolor centerColor = 0;
  tfontlook centerFont{"ＭＳ Ｐゴシック", 9, 0};
  bool centerVisible = true;
  bool valueVisible = true;
  bool gaugeVisible = true;

  bool operator==(const tclocklook& o) const;
  bool operator!=(const tclocklook& o) const { return !(*this == o); }
};

// Which keys a panel keeps: a panel without a bar has no bar keys.
enum class tlookkeys { Panel, PanelAndBar };

// The look in profile, each key missing or unreadable keeping what look
// holds (the window's description), but the interlace, the gradation and
// the noise, which start off, on and on.
void ReadClockLook(const tprofiler& profile, tclocklook& look, tlookkeys keys = tlookkeys::PanelAndBar);
// Writes every key of the look, so that the profile reads newest first in
// the order ReadClockLook asks for them.
void WriteClockLook(tprofiler& profile, const tclocklook& look, tlookkeys keys = tlookkeys::PanelAndBar);

// The profile's code of a style set: bold 1, italic 16, underline 256,
// strike-out 4096, added together.
int StyleToCode(unsigned style);
unsigned StyleFromCode(int code);

}  // namespace pendo
