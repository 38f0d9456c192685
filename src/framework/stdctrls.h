// The standard windowed controls: label, push button, edit, drop-down list
// and check box, each a thin object over its Win32 control.
#pragma once

#include <string>
#include <vector>

#include "framework/wincontrol.h"

namespace pendo {

class tlabel : public twincontrol {
 public:
  explicit tlabel(tcomponent* owner);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  // "&" underlines the next character instead of showing itself.
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void CaptionChanged() override;
  void FontChanged() override;
  void HandleCreated() override { Fit(); }

 private:
  // Sizes the label to its text.
  void Fit();
  bool autoSize_ = true;
  bool showAccelChar_ = false;
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
  explicit tedit(tcomponent* owner);
  // The text as the control holds it now.
  std::string Text() const;
  void SetText(const std::string& text) { SetCaption(text); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  tnotifyevent OnChange;
  bool Command(WORD code) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;

 private:
  bool readOnly_ = false;
};

class tcombobox : public twincontrol {
 public:
  explicit tcombobox(tcomponent* owner);
  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(const std::vector<std::string>& items);
  void AddItem(const std::string& item);
  int ItemIndex() const;
  void SetItemIndex(int index);
  tnotifyevent OnChange;
  bool Command(WORD code) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void HandleCreated() override;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
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
