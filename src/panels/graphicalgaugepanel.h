// The gauge panel with a bar: the bar fills the panel from the left in
// proportion to Position out of Max, with a slanted right edge, in a
// gradation of GaugeColor optionally mixed 50:50 with the background; and
// a noise line that shifts one pixel row right and climbs over the panel.
#pragma once

#include <windows.h>

#include <memory>

#include "panels/gaugepanel.h"
#include "panels/noiseline.h"

namespace pendo {

class tgraphicalgaugepanel : public tgaugepanel {
 public:
  explicit tgraphicalgaugepanel(tcomponent* owner);

  bool HorizontalNoise() const { return Look().horizontalNoise; }
  void SetHorizontalNoise(bool value);
  bool TransparentForeground() const { return Look().transparentForeground; }
  void SetTransparentForeground(bool value);
  int Position() const { return bar_.position; }
  void SetPosition(int value);
  int Max() const { return bar_.max; }
  void SetMax(int value);
  tcolor GaugeColor() const { return Look().gaugeColor; }
  void SetGaugeColor(tcolor value);
  bool GaugeVisible() const { return Look().gaugeVisible; }
  void SetGaugeVisible(bool value);
  bool MaxAutoFix() const { return maxAutoFix_; }
  void SetMaxAutoFix(bool value);
  bool MaxAutoAdjust() const { return maxAutoAdjust_; }
  void SetMaxAutoAdjust(bool value);

  tcolor DefaultGaugeColor() const { return DesignLook().gaugeColor; }

  void RestoreDefaultColors() override;
  // One step of the noise line, when its time has come: the rows it leaves
  // and enters are drawn anew. The owner's noise timer calls it.
  void StepNoise();

  void Loaded() override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // The bar's picture, built when it is due.
  const tbitmap& GaugeImage();
  int NoiseRow() const { return noise_.Row(); }

  // The millisecond counter the noise steps by (GetTickCount unless replaced).
  static void SetTickSource(DWORD (*source)());

 protected:
  tlookkeys LookKeys() const override { return tlookkeys::PanelAndBar; }
  void MakeScene(tpanelscene& scene) override;
  void BuildImages(const tpanelsurface* backdrop) override;
  const tpanelsurface* GaugeSurface() const override { return gauge_.get(); }

 private:
  void ChangeBar(int position, int max);

  tbarstate bar_;
  bool maxAutoFix_ = false;
  bool maxAutoAdjust_ = false;
  tnoiseline noise_;
  std::unique_ptr<tgdisurface> gauge_;
};

}  // namespace pendo
