// The clock's main window. Other programs find it by its class name and end
// Pendo by sending it kCloseMessage.
#pragma once

#include <memory>

#include "framework/form.h"
#include "settings/profiler.h"

namespace pendo {

class Tmainform : public tform {
 public:
  static constexpr UINT kCloseMessage = 1692;

  Tmainform();
  ~Tmainform() override;

  // Shows the window once start-up is done.
  void ShowAtStartup();
  // Writes the placement and saves the profile.
  void SaveProfile();

  bool lockmove = false;

 protected:
  void Loaded() override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  std::unique_ptr<tprofiler> profile_;
  FormPlacement defaults_;
};

}  // namespace pendo
