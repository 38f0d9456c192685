// A persistent window that looks painted onto the desktop: the desktop paints
// its own background into it, and the window keeps a copy of that picture,
// the backdrop, for the gauge panels it owns. No region is set; the window
// stays rectangular, with no caption and a sizing border. Written once for
// every base a see-through form has (tform, tadvancedform, tprimaryform).
#pragma once

#include <memory>

#include "forms/advancedform.h"
#include "forms/backdrop.h"
#include "forms/backdropsource.h"

namespace pendo {

template <class Base>
class tseethroughform : public Base, public tbackdropsource {
 public:
  tseethroughform(tcomponent* owner, const tformdesc& description);

  tbitmap* BackdropImage() override { return backdrop_ ? backdrop_->Image() : nullptr; }
  bool CapturePending() const { return backdrop_ && backdrop_->CapturePending(); }
  void CaptureBackdrop();
  void RecaptureBackdrop();
  // The wallpaper may have changed (bases that hear of it call this).
  void SystemSettingsChanged();

 protected:
  void CreateParams(tcreateparams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint() override;
  void BeforeDestruction() override;

 private:
  std::unique_ptr<tbackdrop> backdrop_;
};

// Defined for every base in seethroughform.cpp.
extern template class tseethroughform<tform>;
extern template class tseethroughform<tadvancedform>;

}  // namespace pendo
