// The standard windowed controls: label, push button, edit, drop-down list
// and check box, each a thin object over its Win32 control.
#pragma once

#include <string>
#include <vector>

#include "framework/wincontrol.h"

namespace pendo {

// Items of a description list separated by "|" (a byte that can be the second
// half of a double-byte character, which does not separate).
std::vector<std::string> SplitBarList(const std::string& text);
// The accelerator letter of a caption ("&M" gives 'M'; "&&" is a plain "&"),
// upper case, or 0.
char AcceleratorOf(const std::string& caption);
// Alt+letter on a form: the label with that accelerator focuses its
// FocusControl when that one is showing and enabled (the label itself may be
// hidden), a button with it is clicked. True when one took the key.
bool DialogChar(tcomponent* form, char key);

class tlabel : public twincontrol {
 public:
  explicit tlabel(tcomponent* owner);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  // Where the label's accelerator sends the focus.
  twincontrol* FocusControl() const { return focusControl_; }
  void SetFocusControl(twincontrol* c) { focusControl_ = c; }
  // "&" marks the accelerator; off, it is shown as it stands.
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;
  void Notification(tcomponent* component) override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void CaptionChanged() override;
  void FontChanged() override;
  void HandleCreated() override { Fit(); }

 private:
  // Sizes the label to its text.
  void Fit();
  bool autoSize_ = true;
  bool showAccelChar_ = true;
  twincontrol* focusControl_ = nullptr;
};

class tbutton : public twincontrol {
 public:
  explicit tbutton(tcomponent* owner);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  tmodalresult ModalResult() const { return modalResult_; }
  void SetModalResult(tmodalresult r) { modalResult_ = r; }
  // Fires OnClick, then hands the modal result to the form.
  void Click() override;
  bool Command(WORD code) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;

 private:
  bool default_ = false, cancel_ = false;
  tmodalresult modalResult_ = mrNone;
};

class tedit : public twincontrol {
 public:
  // Said when a typed or pasted text is refused (ExactText).
  static const char kTextNotHeldText[];

  explicit tedit(tcomponent* owner);
  // The text as the control holds it now.
  std::string Text() const;
  void SetText(const std::string& text) { SetCaption(text); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  // When set, a change that puts a character code page 932 cannot hold into
  // the text is refused as it is made: the text before it comes back, the
  // user is told, and OnChange does not fire. For texts that are stored.
  bool ExactText() const { return exactText_; }
  void SetExactText(bool v) { exactText_ = v; }
  tnotifyevent OnChange;
  bool Command(WORD code) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;

 private:
  void RefuseChange();

  bool readOnly_ = false;
  bool exactText_ = false;
  bool refusing_ = false;
};

class tcombobox : public twincontrol {
 public:
  explicit tcombobox(tcomponent* owner);
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(const std::vector<std::string>& items);
  void AddItem(const std::string& item);
  int ItemIndex() const;
  void SetItemIndex(int index);
  // Lines shown when the list is dropped (fewer when it has fewer items).
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int count) { dropDownCount_ = count < 1 ? 1 : count; }
  tnotifyevent OnChange;
  bool Command(WORD code) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void HandleCreated() override;

 private:
  void AdjustDropDown();
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
};

class tcheckbox : public twincontrol {
 public:
  explicit tcheckbox(tcomponent* owner);
  bool Checked() const;
  void SetChecked(bool v);
  bool Command(WORD code) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void HandleCreated() override { SetChecked(checked_); }

 private:
  bool checked_ = false;
};

}  // namespace pendo
