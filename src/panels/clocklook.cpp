#include "panels/clocklook.h"

#include <tuple>

#include "settings/profiler.h"

namespace pendo {

namespace {

auto Tie(const tclocklook& l) {
  return std::tie(l.interlace, l.transparentBackgroundHalftone, l.transparentBackground, l.gradatingBlightness,
                  l.gradating, l.titleVisible, l.visible, l.titleColor, l.titleFont, l.valueColor, l.valueFont,
                  l.horizontalNoise, l.transparentForeground, l.gaugeColor, l.beveling, l.centerColor, l.centerFont,
                  l.centerVisible, l.valueVisible, l.gaugeVisible);
}

// A face name is held in a LOGFONT of 32 characters; longer text is no name.
constexpr std::string::size_type kFaceBytes = 255;

void ReadFont(const tprofiler& p, const char* prefix, tfontlook& font) {
  const std::string key(prefix);
  font.name = p.ReadString(key + "fontname", font.name).substr(0, kFaceBytes);
  font.size = p.ReadInteger(key + "fontsize", font.size);
  font.style = StyleFromCode(p.ReadInteger(key + "fontstyle", StyleToCode(font.style)));
  // The profile knows the size alone: the height follows it, the character
  // set is the default one.
  font.height = 0;
  font.charset = 1;
}

void WriteFont(tprofiler& p, const char* prefix, const tfontlook& font) {
  const std::string key(prefix);
  p.WriteString(key + "fontname", font.name);
  p.WriteInteger(key + "fontsize", font.size);
  p.WriteInteger(key + "fontstyle", StyleToCode(font.style));
}

}  // namespace

bool tclocklook::operator==(const tclocklook& o) const { return Tie(*this) == Tie(o); }

int StyleToCode(unsigned style) {
  return ((style & lsBold) ? 1 : 0) + ((style & lsItalic) ? 16 : 0) + ((style & lsUnderline) ? 256 : 0) +
         ((style & lsStrikeOut) ? 4096 : 0);
}

unsigned StyleFromCode(int code) {
  unsigned style = 0;
  if (code & 1) style |= lsBold;
  if (code & 16) style |= lsItalic;
  if (code & 256) style |= lsUnderline;
  if (code & 4096) style |= lsStrikeOut;
  return style;
}

void ReadClockLook(const tprofiler& p, tclocklook& l, tlookkeys keys) {
  l.interlace = p.ReadBool("interlace", false);
  l.transparentBackgroundHalftone = p.ReadBool("transparentbackgroundhalftone", l.transparentBackgroundHalftone);
  l.transparentBackground = p.ReadBool("transparentbackground", l.transparentBackground);
  l.gradating = p.ReadBool("gradating", true);
  l.gradatingBlightness = p.ReadInteger("gradatingblightness", l.gradatingBlightness);
  l.titleVisible = p.ReadBool("titlevisible", l.titleVisible);
  l.visible = p.ReadBool("visible", l.visible);
  l.titleColor = p.ReadInteger("titlecolor", l.titleColor);
  ReadFont(p, "title", l.titleFont);
  l.valueColor = p.ReadInteger("valuecolor", l.valueColor);
  ReadFont(p, "value", l.valueFont);
  if (keys == tlookkeys::Panel) return;
  l.horizontalNoise = p.ReadBool("horizontalnoise", true);
  l.gaugeColor = p.ReadInteger("gaugecolor", l.gaugeColor);
  l.transparentForeground = p.ReadBool("transparentforeground", l.transparentForeground);
}

void WriteClockLook(tprofiler& p, const tclocklook& l, tlookkeys keys) {
  // Newest first: the bar's keys go before the panel's in writing, and so
  // after them in the file.
  if (keys == tlookkeys::PanelAndBar) {
    p.WriteBool("horizontalnoise", l.horizontalNoise);
    p.WriteBool("transparentforeground", l.transparentForeground);
    p.WriteInteger("gaugecolor", l.gaugeColor);
  }
  p.WriteBool("interlace", l.interlace);
  p.WriteBool("transparentbackgroundhalftone", l.transparentBackgroundHalftone);
  p.WriteBool("transparentbackground", l.transparentBackground);
  p.WriteInteger("gradatingblightness", l.gradatingBlightness);
  p.WriteBool("gradating", l.gradating);
  p.WriteBool("titlevisible", l.titleVisible);
  p.WriteBool("visible", l.visible);
  p.WriteInteger("titlecolor", l.titleColor);
  WriteFont(p, "title", l.titleFont);
  p.WriteInteger("valuecolor", l.valueColor);
  WriteFont(p, "value", l.valueFont);
}

}  // namespace pendo
