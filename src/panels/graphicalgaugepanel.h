// The gauge panel with a bar: the bar fills the panel from the left in
// proportion to Position out of Max, with a slanted right edge, in a
// gradation of GaugeColor optionally mixed 50:50 with the background; and
// a noise line that shifts one pixel row right and climbs over the panel.
#pragma once

#include <windows.h>

#include <random>

#include "panels/gaugepanel.h"

namespace pendo {

class tgraphicalgaugepanel : public tgaugepanel {
 public:
  explicit tgraphicalgaugepanel(tcomponent* owner);

  bool HorizontalNoise() const { return horizontalNoise_; }
  void SetHorizontalNoise(bool value);
  bool TransparentForeground() const { return transparentForeground_; }
  void SetTransparentForeground(bool value);
  int Position() const { return position_; }
  void SetPosition(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  tcolor GaugeColor() const { return gaugeColor_; }
  void SetGaugeColor(tcolor value);
  bool GaugeVisible() const { return gaugeVisible_; }
  void SetGaugeVisible(bool value);
  bool MaxAutoFix() const { return maxAutoFix_; }
  void SetMaxAutoFix(bool value) { maxAutoFix_ = value; }
  bool MaxAutoAdjust() const { return maxAutoAdjust_; }
  void SetMaxAutoAdjust(bool value) { maxAutoAdjust_ = value; }

  tcolor RequestedGaugeColor() const { return requestedGaugeColor_; }
  tcolor DefaultGaugeColor() const { return defaultGaugeColor_; }

  void DrawGauge() override;
  void ShowImage() override;
  void RestoreDefaultColors() override;
  void RebuildImages() override;
  void BuildGaugeImages();
  void ReleaseGaugeImages();

  void Loaded() override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  const tbitmap& GaugeImage() const { return gaugeImage_; }
  const tbitmap& BarImage() const { return barImage_; }
  const tbitmap& BarMask() const { return barMask_; }
  int NoiseRow() const { return noiseRow_; }

  // The millisecond counter the noise steps by (GetTickCount unless replaced).
  static void SetTickSource(DWORD (*source)());

 protected:
  void WriteLook() override;

 private:
  void WriteGaugeLook();

  bool horizontalNoise_ = false;
  bool transparentForeground_ = true;
  int position_ = 0;
  int max_ = 0;
  tcolor gaugeColor_ = 0xFFCCAA;
  bool gaugeVisible_ = true;
  bool maxAutoFix_ = false;
  bool maxAutoAdjust_ = false;

  int noiseRow_ = -1;
  DWORD lastNoiseStep_ = 0;
  tbitmap barImage_;
  tbitmap barMask_;
  tbitmap gaugeImage_;
  tcolor requestedGaugeColor_;
  tcolor defaultGaugeColor_;
  std::mt19937 random_;
};

}  // namespace pendo
