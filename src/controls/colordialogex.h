// The system's colour dialog whose sixteen custom colours live in
// profile\customcolors_<component name>, so colours mixed once are offered
// again in later runs.
#pragma once

#include <string>

#include "controls/customcolorlist.h"
#include "framework/component.h"

namespace pendo {

class tcolordialogex : public tcomponent {
 public:
  explicit tcolordialogex(tcomponent* owner);
  // Writes the custom colours, also when nothing changed; a failure is
  // dropped, since the dialog must go all the same.
  ~tcolordialogex() override;

  tcolor Color() const { return color_; }
  void SetColor(tcolor color) { color_ = color; }
  // Dialogs are drawn in 3-D by every system this runs on; kept for the
  // form description.
  bool Ctl3D() const { return ctl3D_; }

  // Reads the custom colour file, if there is one.
  void Loaded() override;
  // Shows the dialog on Color; true when the user confirms, and then Color
  // and the custom colours are the dialog's.
  bool Execute();

  const tcustomcolorlist& CustomColors() const { return list_; }
  std::string FilePath() const;

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  tcolor color_ = 0;
  bool ctl3D_ = true;
  tcustomcolorlist list_;
};

}  // namespace pendo
