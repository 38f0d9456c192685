#include "panels/graphicalgaugepanel.h"

#include <chrono>

#include "framework/resource.h"

namespace pendo {

namespace {

DWORD (*g_tickSource)() = [] { return GetTickCount(); };

std::uint32_t Seed() {
  return static_cast<std::uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

}  // namespace

void tgraphicalgaugepanel::SetTickSource(DWORD (*source)()) {
  g_tickSource = source ? source : [] { return GetTickCount(); };
}

tgraphicalgaugepanel::tgraphicalgaugepanel(tcomponent* owner)
    : tgaugepanel(owner), noise_(Height(), g_tickSource(), Seed()) {}

void tgraphicalgaugepanel::Loaded() {
  tgaugepanel::Loaded();
  if (maxAutoAdjust_) ChangeBar(bar_.position, 1);
}

void tgraphicalgaugepanel::ChangeBar(int position, int max) {
  max = AdjustedMax(position, max, maxAutoAdjust_, maxAutoFix_);
  if (position == bar_.position && max == bar_.max) return;
  bar_ = tbarstate{position, max};
  Invalidate();
}

void tgraphicalgaugepanel::SetHorizontalNoise(bool v) { SetLookField(&tclocklook::horizontalNoise, v); }
void tgraphicalgaugepanel::SetTransparentForeground(bool v) {
  SetLookField(&tclocklook::transparentForeground, v);
}
void tgraphicalgaugepanel::SetGaugeColor(tcolor v) { SetLookField(&tclocklook::gaugeColor, v); }
void tgraphicalgaugepanel::SetGaugeVisible(bool v) { SetLookField(&tclocklook::gaugeVisible, v); }
void tgraphicalgaugepanel::SetPosition(int v) { ChangeBar(v, bar_.max); }
void tgraphicalgaugepanel::SetMax(int v) { ChangeBar(bar_.position, v); }
void tgraphicalgaugepanel::SetMaxAutoFix(bool v) {
  maxAutoFix_ = v;
  ChangeBar(bar_.position, bar_.max);
}
void tgraphicalgaugepanel::SetMaxAutoAdjust(bool v) {
  maxAutoAdjust_ = v;
  ChangeBar(bar_.position, bar_.max);
}

bool tgraphicalgaugepanel::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "HorizontalNoise") SetHorizontalNoise(ParseBool(v));
  else if (n == "TransparentForeground") SetTransparentForeground(ParseBool(v));
  else if (n == "Position") SetPosition(ParseInt(v));
  else if (n == "Max") SetMax(ParseInt(v));
  else if (n == "GaugeColor") SetGaugeColor(ParseColor(v));
  else if (n == "GaugeVisible") SetGaugeVisible(ParseBool(v));
  else if (n == "MaxAutoFix") SetMaxAutoFix(ParseBool(v));
  else if (n == "MaxAutoAdjust") SetMaxAutoAdjust(ParseBool(v));
  else return tgaugepanel::SetProperty(n, v, ctx);
  return true;
}

void tgraphicalgaugepanel::RestoreDefaultColors() {
  tclocklook l = Look();
  l.titleColor = DesignLook().titleColor;
  l.valueColor = DesignLook().valueColor;
  l.gaugeColor = DesignLook().gaugeColor;
  ChangeLook(l);
}

const tbitmap& tgraphicalgaugepanel::GaugeImage() {
  static const tbitmap none;
  BuildWhenDue();
  return gauge_ ? gauge_->Bitmap() : none;
}

void tgraphicalgaugepanel::BuildImages(const tpanelsurface* backdrop) {
  tgaugepanel::BuildImages(backdrop);
  if (!gauge_) gauge_ = std::make_unique<tgdisurface>(Width(), Height());
  gauge_->SetSize(Width(), Height());
  ComposeGaugeImage(*gauge_, Look(), TrueColor(), *Background(), SystemColors(), Dpi());
}

void tgraphicalgaugepanel::MakeScene(tpanelscene& scene) {
  tgaugepanel::MakeScene(scene);
  scene.hasBar = true;
  scene.bar = bar_;
  scene.noiseRow = noise_.Row();
}

void tgraphicalgaugepanel::StepNoise() {
  const int before = noise_.Row();
  if (!noise_.Step(g_tickSource(), Height())) return;
  if (!HorizontalNoise() || !Visible()) return;
  InvalidateRow(before);
  InvalidateRow(noise_.Row());
}

}  // namespace pendo
