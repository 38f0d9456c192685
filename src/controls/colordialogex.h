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
  // Writes the custom colours, also when nothing changed, unless their file
  // existed but could not be read; a failure is dropped, since the dialog
  // must go all the same.
  ~tcolordialogex() override;

  tcolor Color() const { return color_; }
  void SetColor(tcolor color) { color_ = color; }
  // Dialogs are drawn in 3-D by every system this runs on; kept for the
  // form description.
  bool Ctl3D() const { return ctl3D_; }

  // Reads the custom colour file, if there is one. One that another program
  // holds is waited for a moment; if it stays unreadable the slots are empty
  // and the file is left as it is.
  void Loaded() override;
  bool Unreadable() const { return unreadable_; }
  // Shows the dialog on Color; true when the user confirms, and then Color
  // and the custom colours are the dialog's. Cancelled, nothing changes.
  bool Execute();

  const tcustomcolorlist& CustomColors() const { return list_; }
  std::string FilePath() const;

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  tcolor color_ = 0;
  bool ctl3D_ = true;
  bool unreadable_ = false;
  bool brokenReported_ = false;
  tcustomcolorlist list_;
};

}  // namespace pendo
