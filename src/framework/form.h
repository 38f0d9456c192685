// A top-level window built from its form description: its own properties,
// its components, its handlers bound by name. The application window owns it;
// the window class is "T" + the form's component name, so other programs can
// find the window by it.
#pragma once

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "framework/canvas.h"
#include "framework/resource.h"
#include "framework/wincontrol.h"

namespace pendo {

class tbutton;

enum class tborderstyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum tbordericon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using tbordericons = unsigned;
enum class tposition { poDesigned, poScreenCenter };

class tform : public twincontrol {
 public:
  tform(tcomponent* owner, const tformdesc& description);
  ~tform() override;

  // Builds the form: its window from the description's properties, its
  // components, the loading steps, then the create event. Run once, by whoever
  // created the object (the object must be complete for the virtual steps).
  void Initialize();

  int ClientWidth() const;
  int ClientHeight() const;
  void SetClientWidth(int width);
  void SetClientHeight(int height);
  void SetClientSize(int width, int height);

  tborderstyle BorderStyle() const { return borderStyle_; }
  tbordericons BorderIcons() const { return borderIcons_; }
  tposition Position() const { return position_; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }

  // The paint DC's canvas, while the form paints (its paint event); asked
  // at any other time it throws.
  tcanvas& Canvas();

  // Saves what the form keeps, when the program is about to end at once (a
  // control that cannot paint); nothing by default.
  virtual void SaveBeforeExit() {}

  bool Showing() const override;
  void Show();
  void Hide();
  void BringToFront();
  // Shows the form and runs a message loop, with the other windows of the
  // program disabled, until ModalResult is set or the form is closed.
  tmodalresult ShowModal();
  bool Modal() const { return modal_; }
  tmodalresult ModalResult() const { return modalResult_; }
  void SetModalResult(tmodalresult r) { modalResult_ = r; }
  // Closes as the user would: close query, close event, then the action.
  void Close();
  bool CloseQuery();
  // Frees the form once the messages now waiting have been handled.
  void Release();

  // Keys of this form's windows, seen before they are delivered: menu
  // shortcuts, key preview, default and cancel buttons, Tab. True when used up.
  bool PreviewKey(MSG& msg);

  tnotifyevent OnCreate, OnDestroy, OnShow, OnHide, OnPaint, OnResize;
  tcloseevent OnClose;
  tclosequeryevent OnCloseQuery;

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // The form a control sits on, or null.
  static tform* ParentForm(tcontrol* control);

  // Lays the form out for dpi (clamped) and gives its window the suggested
  // rectangle, or, without a usable one, the frame around its client area
  // scaled where it stands. What WM_DPICHANGED does.
  void ApplyDpi(int dpi, const RECT* suggested);

 protected:
  // Declares the published fields, handlers and component classes.
  virtual void DeclarePublished(tresourcecontext& context) {}
  void CreateParams(tcreateparams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeDestruction() override;
  void PaintWindow(HDC dc) override;
  void BoundsChanged() override;
  void VisibleChanged() override;
  // The window's rectangle comes from the system, not from scaling.
  void ScaleBounds() override {}

  // The steps the framework runs; each fires its event.
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(tcloseaction& action);
  // Paint step, with Canvas on the paint DC.
  virtual void Paint();
  virtual void Resize();
  // The window's size less its client area's.
  SIZE FrameExtra() const;

 private:
  void CloseModal();
  void FocusFirstControl();
  tbutton* FindButton(bool defaultButton) const;

  const tformdesc description_;  // a copy: a form may outlive a temporary description
  tborderstyle borderStyle_ = tborderstyle::bsSizeable;
  tbordericons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  tposition position_ = tposition::poDesigned;
  bool keyPreview_ = false;
  int designClientWidth_ = -1, designClientHeight_ = -1;
  bool initialized_ = false;
  bool shownOnce_ = false;
  bool modal_ = false;
  tmodalresult modalResult_ = mrNone;
  tcanvas canvas_;
  HWND lastFocus_ = nullptr;  // the focused control when the form was last deactivated
  bool painting_ = false;
};

}  // namespace pendo
