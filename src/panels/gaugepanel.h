// The drawn panel that gives Pendo its look: a title in the top-left corner,
// a centred text, a value in the bottom-right corner and a sunken bevel over
// a slanted silver gradation or a see-through copy of what lies behind the
// owner window. It has no window. Its look is a value (tclocklook); setters
// change the state and invalidate the panel's rectangle, and the owner's
// paint message composes the picture off screen (panelcompose.h) and copies
// it in one block transfer, so it never flickers.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "forms/backdropclient.h"
#include "framework/bitmap.h"
#include "framework/font.h"
#include "framework/graphiccontrol.h"
#include "panels/clocklook.h"
#include "panels/gdisurface.h"
#include "panels/panelcompose.h"

namespace pendo {

class tprofiler;

class tgaugepanel : public tgraphiccontrol, public tbackdropclient {
 public:
  explicit tgaugepanel(tcomponent* owner);
  ~tgaugepanel() override;

  // The whole look at once: only what differs is drawn anew.
  const tclocklook& Look() const { return look_; }
  void SetLook(const tclocklook& look);
  // The look the window's description gave, before any profile.
  const tclocklook& DesignLook() const { return design_; }

  // Published properties.
  bool BlinkSignal() const { return texts_.blink; }
  void SetBlinkSignal(bool value);
  tbevelingtype Beveling() const { return look_.beveling; }
  void SetBeveling(tbevelingtype value);
  const std::string& Title() const { return texts_.title; }
  void SetTitle(const std::string& value);
  tcolor TitleColor() const { return look_.titleColor; }
  void SetTitleColor(tcolor value);
  bool TitleVisible() const { return look_.titleVisible; }
  void SetTitleVisible(bool value);
  tfont TitleFont() const { return FontOf(look_.titleFont); }
  void SetTitleFont(const tfont& value);
  const std::string& Center() const { return texts_.center; }
  void SetCenter(const std::string& value);
  tcolor CenterColor() const { return look_.centerColor; }
  void SetCenterColor(tcolor value);
  bool CenterVisible() const { return look_.centerVisible; }
  void SetCenterVisible(bool value);
  tfont CenterFont() const { return FontOf(look_.centerFont); }
  void SetCenterFont(const tfont& value);
  const std::string& Value() const { return texts_.value; }
  void SetValue(const std::string& value);
  tcolor ValueColor() const { return look_.valueColor; }
  void SetValueColor(tcolor value);
  bool ValueVisible() const { return look_.valueVisible; }
  void SetValueVisible(bool value);
  tfont ValueFont() const { return FontOf(look_.valueFont); }
  void SetValueFont(const tfont& value);
  int GradatingBlightness() const { return look_.gradatingBlightness; }
  void SetGradatingBlightness(int value);
  bool Gradating() const { return look_.gradating; }
  void SetGradating(bool value);
  bool Hibernation() const { return hibernation_; }
  void SetHibernation(bool value) { hibernation_ = value; }
  bool TransparentBackground() const { return look_.transparentBackground; }
  void SetTransparentBackground(bool value);
  bool TransparentBackgroundHalftone() const { return look_.transparentBackgroundHalftone; }
  void SetTransparentBackgroundHalftone(bool value);
  bool Interlace() const { return look_.interlace; }
  void SetInterlace(bool value);

  // The colours the description gave, which RestoreDefaultColors returns to.
  tcolor DefaultTitleColor() const { return design_.titleColor; }
  tcolor DefaultValueColor() const { return design_.valueColor; }

  // The owner's paint message: composes the picture and copies it.
  void Paint(tcanvas& canvas) override;

  virtual void RestoreDefaultColors();
  // The picture is drawn anew at the owner's next paint; the backdrop and
  // everything built from it too.
  void RefreshBackground() override;
  void BeginUpdate() { updateLock_ = true; }
  void EndUpdate();
  bool Updating() const { return updateLock_; }

  void Loaded() override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // Writes the look into the profile when Hibernation is set, then the
  // profile to disk (throws EFileError when it cannot be written).
  // Destruction does the same; this is for an owner that must save first.
  void SaveProfile();
  tprofiler* Profile() const { return profile_.get(); }

  // Composes the picture the next paint shows, without showing it.
  const tbitmap& Compose();
  // The background, built when it is due; the last picture composed.
  const tbitmap& BackgroundImage();
  const tbitmap& DisplayImage() const;

  // Bits per pixel of a memory DC compatible with the screen, asked anew on
  // every call; 8 or less is palette mode.
  static int ScreenColorDepth();
  static bool TrueColor() { return ScreenColorDepth() > 8; }
  // Makes ScreenColorDepth answer bits instead of asking (0: ask again).
  static void OverrideScreenColorDepth(int bits);
  // The system's colours, and whether a high-contrast theme asks for them.
  static tsystemcolors SystemColors();
  // Makes SystemColors say high contrast is on (1) or off (0) instead of asking (-1).
  static void OverrideHighContrast(int on);

  // Profile style code: bold 1, italic 16, underline 256, strike-out 4096.
  static int StyleToCode(tfontstyles style) { return pendo::StyleToCode(style); }
  static tfontstyles StyleFromCode(int code) { return pendo::StyleFromCode(code); }

 protected:
  void VisibleChanged() override;
  void BoundsChanged() override;
  void DpiChanged() override;
  void BeforeDestruction() override;
  // Which profile keys the panel keeps.
  virtual tlookkeys LookKeys() const { return tlookkeys::Panel; }
  // What a picture shows besides the look: the texts, and a bar's own.
  virtual void MakeScene(tpanelscene& scene);
  // Builds what depends on the look, the size and the backdrop.
  virtual void BuildImages(const tpanelsurface* backdrop);
  // The bar's picture, or null.
  virtual const tpanelsurface* GaugeSurface() const { return nullptr; }
  // Changing the look: what the background depends on is built again.
  void ChangeLook(const tclocklook& look);
  template <class T>
  void SetLookField(T tclocklook::*field, const T& value) {
    tclocklook look = look_;
    look.*field = value;
    ChangeLook(look);
  }
  // Draws anew at the next paint; the panel's rectangle, without erasing.
  void Invalidate() override;
  void InvalidateRow(int row);
  // The value text without drawing (a derived panel that makes it itself).
  void StoreValue(const std::string& value) { texts_.value = value; }
  const tpanelsurface* Background() const { return background_.get(); }
  // Builds what the look, the size and the backdrop make, when it is due.
  void BuildWhenDue();

 private:
  bool BackgroundDependsOnChange(const tclocklook& before, const tclocklook& after) const;

  std::unique_ptr<tprofiler> profile_;
  bool hibernation_ = false;
  bool updateLock_ = false;
  tclocklook look_;
  tclocklook design_;
  tpaneltexts texts_;
  std::unique_ptr<tgdisurface> background_, picture_;
  bool imagesValid_ = false;
};

}  // namespace pendo
