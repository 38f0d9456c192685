// Further controls: a notebook of pages (one page shown at a time, each with
// its caption), and the windowless bevel and image.
#pragma once

#include <string>
#include <vector>

#include "framework/graphic.h"
#include "framework/graphiccontrol.h"
#include "framework/wincontrol.h"

namespace pendo {

class tpage : public twincontrol {
 public:
  explicit tpage(tcomponent* owner);
  void SetParent(twincontrol* parent) override;

 protected:
  void CreateParams(tcreateparams& p) override;
};

class tnotebook : public twincontrol {
 public:
  explicit tnotebook(tcomponent* owner);
  std::vector<tpage*> Pages() const;
  int PageCount() const { return static_cast<int>(Pages().size()); }
  int PageIndex() const { return pageIndex_; }
  // Shows that page and hides the others; an index without a page is ignored.
  void SetPageIndex(int index);
  tnotifyevent OnPageChanged;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;
  void Loaded() override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void BoundsChanged() override;

 private:
  int pageIndex_ = 0;
};

enum class tbevelshape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
enum class tbevelstyle { bsLowered, bsRaised };

class tbevel : public tgraphiccontrol {
 public:
  explicit tbevel(tcomponent* owner);
  tbevelshape Shape() const { return shape_; }
  void SetShape(tbevelshape s);
  tbevelstyle Style() const { return style_; }
  void SetStyle(tbevelstyle s);
  void Paint(tcanvas& canvas) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  tbevelshape shape_ = tbevelshape::bsBox;
  tbevelstyle style_ = tbevelstyle::bsLowered;
};

class timage : public tgraphiccontrol {
 public:
  explicit timage(tcomponent* owner);
  tpicture& Picture() { return picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  void Paint(tcanvas& canvas) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  tpicture picture_;
  bool stretch_ = false, center_ = false;
};

}  // namespace pendo
