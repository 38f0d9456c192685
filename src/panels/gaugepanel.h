// The drawn panel that gives Pendo its look: a title in the top-left corner,
// a centred text, a value in the bottom-right corner and a sunken bevel over
// a slanted silver gradation or a see-through copy of what lies behind the
// owner window. It has no window: every picture is composed off screen and
// copied to the owner in one block transfer, so it never flickers.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "forms/backdropclient.h"
#include "framework/bitmap.h"
#include "framework/font.h"
#include "framework/graphiccontrol.h"

namespace pendo {

class tprofiler;
class tform;

enum tbevelingtype { blnone, blsingle, bldouble };

class tgaugepanel : public tgraphiccontrol, public tbackdropclient {
 public:
  explicit tgaugepanel(tcomponent* owner);
  ~tgaugepanel() override;

  // Published properties.
  bool BlinkSignal() const { return blinkSignal_; }
  void SetBlinkSignal(bool value);
  tbevelingtype Beveling() const { return beveling_; }
  void SetBeveling(tbevelingtype value);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value);
  tcolor TitleColor() const { return titleColor_; }
  void SetTitleColor(tcolor value);
  bool TitleVisible() const { return titleVisible_; }
  void SetTitleVisible(bool value);
  tfont& TitleFont() { return titleFont_; }
  void SetTitleFont(const tfont& value);
  const std::string& Center() const { return center_; }
  void SetCenter(const std::string& value);
  tcolor CenterColor() const { return centerColor_; }
  void SetCenterColor(tcolor value);
  bool CenterVisible() const { return centerVisible_; }
  void SetCenterVisible(bool value);
  tfont& CenterFont() { return centerFont_; }
  void SetCenterFont(const tfont& value);
  const std::string& Value() const { return value_; }
  void SetValue(const std::string& value);
  tcolor ValueColor() const { return valueColor_; }
  void SetValueColor(tcolor value);
  bool ValueVisible() const { return valueVisible_; }
  void SetValueVisible(bool value);
  tfont& ValueFont() { return valueFont_; }
  void SetValueFont(const tfont& value);
  int GradatingBlightness() const { return gradatingBlightness_; }
  void SetGradatingBlightness(int value);
  bool Gradating() const { return gradating_; }
  void SetGradating(bool value);
  bool Hibernation() const { return hibernation_; }
  void SetHibernation(bool value) { hibernation_ = value; }
  bool TransparentBackground() const { return transparentBackground_; }
  void SetTransparentBackground(bool value);
  bool TransparentBackgroundHalftone() const { return transparentBackgroundHalftone_; }
  void SetTransparentBackgroundHalftone(bool value);
  bool Interlace() const { return interlace_; }
  void SetInterlace(bool value);

  // The colours the last TitleColor / ValueColor assignment asked for, and
  // the owner's colours that RestoreDefaultColors returns to.
  tcolor RequestedTitleColor() const { return requestedTitleColor_; }
  tcolor RequestedValueColor() const { return requestedValueColor_; }
  tcolor DefaultTitleColor() const { return defaultTitleColor_; }
  tcolor DefaultValueColor() const { return defaultValueColor_; }

  // Composes the picture and shows it at once.
  virtual void Paint();
  // The owner's paint message: the same picture, into the paint DC.
  void Paint(tcanvas& canvas) override;

  virtual void BuildBackground();
  // Draws the bar into the work image; nothing at this level.
  virtual void DrawGauge() {}
  // Copies the display image to the panel's place on the owner.
  virtual void ShowImage();
  virtual void RestoreDefaultColors();
  virtual void RebuildImages();
  virtual void UpdatePanel();

  void RefreshBackground() override;
  void BeginUpdate() { updateLock_ = true; }
  void EndUpdate();
  bool Updating() const { return updateLock_; }
  void ReleaseImages();

  void Loaded() override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // Writes the look into the profile store when Hibernation is set, then the
  // store to disk (throws EFileError when it cannot be written). Destruction
  // does the same; this is for an owner that must save before that.
  void SaveProfile();

  // Read-only views for tests and for the property wizard's preview.
  const tbitmap& BackgroundImage() const { return backgroundImage_; }
  const tbitmap& WorkImage() const { return workImage_; }
  const tbitmap& DisplayImage() const { return displayImage_; }
  tprofiler* Profile() const { return profile_.get(); }
  int PaintCount() const { return paintCount_; }
  int RebuildCount() const { return rebuildCount_; }

  // Bits per pixel of a memory DC compatible with the screen, asked anew on
  // every call; 8 or less is palette mode.
  static int ScreenColorDepth();
  static bool TrueColor() { return ScreenColorDepth() > 8; }
  // Makes ScreenColorDepth answer bits instead of asking (0: ask again).
  static void OverrideScreenColorDepth(int bits);

  // Runs before a failed paint ends the program (the main window saves the
  // user's settings in it). Called at most once per process.
  static void SetPaintFailureHook(std::function<void()> hook);

  // Half-mixes target with other at 50 percent, in place.
  static void MixHalf(tbitmap& target, tbitmap& other);
  // The slanted gradation of base over bitmap: darker to the left.
  static void DrawGradation(tbitmap& bitmap, tcolor base);

  // Profile style code: bold 1, italic 16, underline 256, strike-out 4096.
  static int StyleToCode(tfontstyles style);
  static tfontstyles StyleFromCode(int code);

 protected:
  void VisibleChanged() override;
  void BoundsChanged() override;
  void BeforeDestruction() override;
  // Writes the keys of the look into the open store; subclasses write theirs
  // first, then call this.
  virtual void WriteLook();

  // Ends the program after a failure while painting: hook, then exit code 1.
  [[noreturn]] static void PaintFailed();
  // The see-through owner's backdrop, or null.
  tbitmap* OwnerBackdrop();
  // The form that owns the panel; throws when the owner is not a form.
  tform& OwnerForm() const;

  tbitmap& Background() { return backgroundImage_; }
  tbitmap& Work() { return workImage_; }
  tbitmap& Display() { return displayImage_; }
  // Where ShowImage draws during the owner's paint message (origin at the
  // panel), or null outside of it.
  tcanvas* PaintTarget() const { return paintTarget_; }

 private:
  void Changed();           // repaint
  void ChangedRebuild();    // rebuild, then repaint
  SIZE MeasureText(const tfont& font, const std::string& text);
  void DrawText(HDC dc, const tfont& font, tcolor color, int x, int y, const std::string& text);
  void DrawBevel(tcanvas& canvas);
  void ShowBitmap(const tbitmap& image);

  std::unique_ptr<tprofiler> profile_;
  bool updateLock_ = false;
  bool blinkSignal_ = false;
  tbevelingtype beveling_ = bldouble;
  std::string title_;
  tcolor titleColor_ = clBlack;
  bool titleVisible_ = true;
  tfont titleFont_;
  std::string center_;
  tcolor centerColor_ = clBlack;
  bool centerVisible_ = true;
  tfont centerFont_;
  std::string value_;
  tcolor valueColor_ = clBlack;
  bool valueVisible_ = true;
  tfont valueFont_;
  int gradatingBlightness_ = 12;
  bool gradating_ = true;
  bool hibernation_ = false;
  bool transparentBackground_ = true;
  bool transparentBackgroundHalftone_ = true;
  bool interlace_ = false;
  tbitmap backgroundImage_;
  tbitmap displayImage_;
  tbitmap workImage_;
  tcolor requestedTitleColor_ = clBlack, requestedValueColor_ = clBlack;
  tcolor defaultTitleColor_ = clBlack, defaultValueColor_ = clBlack;

  // Fonts with only the face and size of the drawing fonts: texts are
  // placed as if they were regular.
  tfont measureFont_;
  tcanvas* paintTarget_ = nullptr;
  int paintCount_ = 0, rebuildCount_ = 0;

 protected:
  // Only for the derived value text, which bypasses the setter on purpose.
  void StoreValue(const std::string& value) { value_ = value; }
  // Sets or clears the update lock without painting.
  void SetUpdateLock(bool locked) { updateLock_ = locked; }
};

}  // namespace pendo
