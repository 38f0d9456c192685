#include "framework/extctrls.h"

#include "framework/resource.h"

namespace pendo {

// Pages ---------------------------------------------------------------------

tpage::tpage(tcomponent* owner) : twincontrol(owner) { visible_ = false; }

void tpage::SetParent(twincontrol* parent) {
  twincontrol::SetParent(parent);
  // A page always fills its notebook.
  if (parent) SetBounds(0, 0, parent->Width(), parent->Height());
}

void tpage::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  // Tab and Shift+Tab step into the controls of the page shown and out again.
  p.exStyle |= WS_EX_CONTROLPARENT;
}

tnotebook::tnotebook(tcomponent* owner) : twincontrol(owner) { width_ = 150, height_ = 150; }

void tnotebook::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  p.exStyle |= WS_EX_CONTROLPARENT;
}

std::vector<tpage*> tnotebook::Pages() const {
  std::vector<tpage*> pages;
  for (tcontrol* c : Controls())
    if (auto* p = dynamic_cast<tpage*>(c)) pages.push_back(p);
  return pages;
}

void tnotebook::SetPageIndex(int index) {
  const auto pages = Pages();
  // An index without a page leaves the page shown as it is.
  if (index < 0 || index >= static_cast<int>(pages.size())) return;
  const bool changed = index != pageIndex_;
  pageIndex_ = index;
  // Show the new page before hiding the old one, so nothing flashes through.
  for (int i = 0; i < static_cast<int>(pages.size()); ++i)
    if (i == index) pages[i]->SetVisible(true);
  for (int i = 0; i < static_cast<int>(pages.size()); ++i)
    if (i != index) pages[i]->SetVisible(false);
  if (changed && OnPageChanged) OnPageChanged(this);
}

void tnotebook::Loaded() {
  const int count = PageCount();
  if (count == 0) return;
  const int index = pageIndex_ >= 0 && pageIndex_ < count ? pageIndex_ : 0;
  pageIndex_ = -1;  // shows it, and no page-changed event for the loading
  auto changed = std::move(OnPageChanged);
  SetPageIndex(index);
  OnPageChanged = std::move(changed);
}

void tnotebook::BoundsChanged() {
  twincontrol::BoundsChanged();
  for (tpage* p : Pages()) p->SetBounds(0, 0, width_, height_);
}

bool tnotebook::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "PageIndex") pageIndex_ = ParseInt(v);
  else if (n == "OnPageChanged") OnPageChanged = ctx.Handler<tnotifyevent>();
  else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

// Bevel ---------------------------------------------------------------------

tbevel::tbevel(tcomponent* owner) : tgraphiccontrol(owner) { width_ = 50, height_ = 50; }

void tbevel::SetShape(tbevelshape s) {
  shape_ = s;
  Invalidate();
}
void tbevel::SetStyle(tbevelstyle s) {
  style_ = s;
  Invalidate();
}

void tbevel::Paint(tcanvas& c) {
  const tcolor dark = clGray, light = clWhite;
  const tcolor first = style_ == tbevelstyle::bsLowered ? dark : light;
  const tcolor second = style_ == tbevelstyle::bsLowered ? light : dark;
  const int w = width_, h = height_;
  auto line = [&](tcolor color, int x1, int y1, int x2, int y2) {
    c.Pen.SetColor(color);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
  };
  switch (shape_) {
    case tbevelshape::bsBox:
      line(first, 0, h - 1, 0, 0);
      line(first, 0, 0, w - 1, 0);
      line(second, w - 1, 0, w - 1, h - 1);
      line(second, w - 1, h - 1, -1, h - 1);
      break;
    case tbevelshape::bsFrame:
      line(first, 0, h - 2, 0, 0);
      line(first, 0, 0, w - 1, 0);
      line(first, w - 2, 1, w - 2, h - 2);
      line(first, w - 2, h - 2, 0, h - 2);
      line(second, 1, h - 2, 1, 1);
      line(second, 1, 1, w - 2, 1);
      line(second, w - 1, 0, w - 1, h - 1);
      line(second, w - 1, h - 1, -1, h - 1);
      break;
    case tbevelshape::bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case tbevelshape::bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case tbevelshape::bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case tbevelshape::bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
  }
}

bool tbevel::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Shape") {
    static const char* names[] = {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine"};
    for (int i = 0; i < 6; ++i)
      if (v == names[i]) {
        SetShape(static_cast<tbevelshape>(i));
        return true;
      }
    throw std::invalid_argument("unknown bevel shape " + v);
  }
  if (n == "Style") {
    if (v == "bsLowered") SetStyle(tbevelstyle::bsLowered);
    else if (v == "bsRaised") SetStyle(tbevelstyle::bsRaised);
    else throw std::invalid_argument("unknown bevel style " + v);
    return true;
  }
  return tgraphiccontrol::SetProperty(n, v, ctx);
}

// Image ---------------------------------------------------------------------

timage::timage(tcomponent* owner) : tgraphiccontrol(owner) {
  width_ = 105, height_ = 105;
  picture_.OnChange = [this] { Invalidate(); };
}

void timage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}
void timage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}

void timage::Paint(tcanvas& c) {
  tgraphic* g = picture_.Graphic();
  if (!g || g->Empty()) return;
  if (stretch_) {
    c.StretchDraw(RECT{0, 0, width_, height_}, *g);
  } else if (center_) {
    c.Draw((width_ - g->Width()) / 2, (height_ - g->Height()) / 2, *g);
  } else {
    c.Draw(0, 0, *g);
  }
}

bool timage::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Stretch") SetStretch(ParseBool(v));
  else if (n == "Center") SetCenter(ParseBool(v));
  else if (n == "AutoSize") {
  } else return tgraphiccontrol::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
