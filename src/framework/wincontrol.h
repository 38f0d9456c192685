// A control with a window of its own. It is either a window of a class the
// framework registers, or a standard control (button, edit...) whose window
// procedure is replaced so that its messages reach this object first. Parents
// hand WM_COMMAND, WM_NOTIFY and colour requests back to the child that raised
// them, so each control handles its own notifications.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/accessible.h"
#include "framework/control.h"
#include "framework/handles.h"

namespace pendo {

struct tcreateparams {
  std::string windowClass;  // a standard class ("BUTTON") or the framework's own
  bool standardClass = false;
  std::string caption;
  DWORD style = 0, exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  // When set, the window's size is the frame around this client size.
  int clientWidth = -1, clientHeight = -1;
  HWND parent = nullptr;
  UINT classStyle = CS_DBLCLKS;
  HICON icon = nullptr;
};

class twincontrol : public tcontrol {
 public:
  explicit twincontrol(tcomponent* owner);
  ~twincontrol() override;

  // The window, made now when there is none yet.
  HWND Handle();
  // The window when there is one, else null; never makes one.
  HWND ExistingHandle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The object behind a window of this framework, or null.
  static twincontrol* FromHandle(HWND window);

  const std::vector<tcontrol*>& Controls() const { return controls_; }
  void InsertControl(tcontrol* control);
  void RemoveControl(tcontrol* control);

  bool Showing() const override;
  POINT ClientToScreen(POINT p) const override;
  void Invalidate() override;
  void Update();
  void SetFocus();
  bool Focused() const;
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  // The place among the parent's windowed controls that Tab walks through
  // (0 first; -1 without a parent). A place past the end means the last.
  int TabOrder() const;
  void SetTabOrder(int order);
  // The windowed controls in tab order.
  const std::vector<twincontrol*>& TabList() const { return tabList_; }

  tkeyevent OnKeyDown, OnKeyUp;
  tkeypressevent OnKeyPress;

  // The key steps; each fires its event. A key set to 0 is consumed.
  virtual void KeyDown(WORD& key, tshiftstate shift);
  virtual void KeyUp(WORD& key, tshiftstate shift);
  virtual void KeyPress(char& key);
  // WM_CHAR's UTF-16 character through KeyPress as its code page 932 byte;
  // false when consumed. A double-byte character passes without the event.
  bool CharMessage(WPARAM& wp);

  // Notifications handed back from the parent; true when handled.
  virtual bool Command(WORD code) { return false; }
  virtual bool Notify(NMHDR* header, LRESULT& result) { return false; }
  // Colours for a static, edit or button child; null for the default.
  virtual HBRUSH CtlColor(HDC dc);

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // Itself, then its children.
  void ChangeDpi(int dpi) override;

  // Creates the window now (normally done when the parent has one).
  void CreateHandle();

  // What assistive technology reads of a control the program draws itself
  // (read anew at every question); the system's account where unset.
  void SetAccessible(taccessibletexts texts) { accessible_ = std::move(texts); }
  // Tells assistive technology that the name or value changed (or the
  // event given).
  void TellAccessible(DWORD event = 0) { TellAccessibleChange(handle_, event); }

 protected:
  virtual void CreateParams(tcreateparams& params);
  virtual void CreateWnd();
  // A property that CreateParams turns into style bits has changed: an
  // existing window takes the bits that now differ from those it was given.
  // Bits the control or the system set by itself stay as they are; shown
  // and enabled have their own steps.
  void StyleChanged();
  void DestroyHandle();
  // Runs once the window exists: children follow.
  virtual void HandleCreated() {}
  // Runs when the outermost message of this window has been handled.
  virtual void MessageDone() {}
  // The control's message handling; falls back to DefaultHandler.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp);
  // Background of the framework's own windows; true when painted.
  virtual bool EraseBackground(HDC dc);
  // The window's own painting, before its graphic controls.
  virtual void PaintWindow(HDC dc) {}
  // Draws the visible graphic controls, in order.
  void PaintControls(HDC dc);
  // The topmost visible graphic control at a client point, or null.
  tcontrol* GraphicControlAt(POINT p) const;
  // The pop-up menu nearest to a control: its own, else its parents'.
  static tpopupmenu* FindPopupMenu(tcontrol* control);

  void BoundsChanged() override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void CaptionChanged() override;
  void ColorChanged() override;
  void FontChanged() override;

  HWND handle_ = nullptr;
  int messageDepth_ = 0;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Attach(HWND hwnd);
  void Detach();
  LRESULT MouseMessage(UINT msg, WPARAM wp, LPARAM lp);
  void ContextMenu(LPARAM lp);

  // Puts the child windows in tab order, which is the order the dialog
  // manager's Tab follows.
  void ApplyTabOrder();

  std::vector<tcontrol*> controls_;
  std::vector<twincontrol*> tabList_;
  taccessibletexts accessible_;
  // The styles the window was last given from CreateParams.
  DWORD style_ = 0, exStyle_ = 0;
  WNDPROC defaultProc_ = nullptr;
  tbrushhandle colorBrush_;
  tcontrol* mouseTarget_ = nullptr;
  bool tabStop_ = false;
};

}  // namespace pendo
