// A colour swatch: a small focusable control that shows one colour in a
// sunken frame and asks for a new one on a double click or the space bar.
#pragma once

#include <string>

#include "framework/wincontrol.h"

namespace pendo {

class tcolorpalettebutton : public twincontrol {
 public:
  explicit tcolorpalettebutton(tcomponent* owner);

  tnotifyevent OnEnter, OnExit;

  // OnClick, then the focus comes here.
  void Click() override;
  // OnKeyDown, then the space bar counts as a double click.
  void KeyDown(WORD& key, tshiftstate shift) override;
  // Paints the swatch now when it is on screen.
  void Repaint();

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // "赤 200、緑 20、青 30": a colour as a screen reader says it.
  static std::string ColorText(COLORREF color);

 protected:
  void CreateParams(tcreateparams& p) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool EraseBackground(HDC dc) override { return true; }
  void PaintWindow(HDC dc) override;
  void ColorChanged() override {
    Repaint();
    TellAccessible();
  }
  void EnabledChanged() override;

 private:
  std::string accessibleName_;
};

}  // namespace pendo
