// The frame the page-by-page dialogs of both programs share: a drop-down list
// of the page captions over a notebook of pages, a page counter label, back
// and next buttons, and, where the frame keeps it, the page shown last under
// "lastpage" in the dialog's own profile ("profile_" + the form's name). Each
// dialog lists the frame's components in its own description (names and
// places differ) and names them here; its handlers call the steps below.
#pragma once

#include <memory>
#include <string>

#include "framework/extctrls.h"
#include "framework/form.h"
#include "framework/stdctrls.h"
#include "settings/profiler.h"

namespace pendo {

class topendialog;

struct twizardframe {
  std::string pageList = "PropertyListCBox";
  std::string notebook = "PropertyNote";
  std::string pageLabel = "PageLabel";
  std::string prevButton = "PrevButton";
  std::string nextButton = "NextButton";
  // The page counter reads prefix + index + "/" + last index; without a
  // prefix the label keeps its described text.
  std::string counterPrefix;
  // The installer writes no profile.
  bool keepLastPage = true;
};

class twizardform : public tform {
 public:
  twizardform(tcomponent* owner, const tformdesc& description, twizardframe frame);
  ~twizardform() override;

  tcombobox* PageList() const { return pageList_; }
  tnotebook* Notebook() const { return notebook_; }
  tlabel* PageLabel() const { return pageLabel_; }
  tbutton* PrevButton() const { return prevButton_; }
  tbutton* NextButton() const { return nextButton_; }

  int PageIndex() const { return notebook_->PageIndex(); }
  int PageCount() const { return notebook_->PageCount(); }
  // Shows a page and updates the controls; an index without a page is ignored.
  void ShowPage(int index);
  void NextPage() { ShowPage(PageIndex() + 1); }
  void PrevPage() { ShowPage(PageIndex() - 1); }
  // Next and back enabled where they lead to a page, the list on the page
  // shown, the counter label; a dialog adds its own rules.
  virtual void UpdatePageControls();
  // Pages are known by their captions: the one shown (empty when none), and
  // the index of one (-1 when there is none).
  std::string PageCaption() const;
  int PageOf(const std::string& caption) const;

  // Opens the profile when the frame keeps one and fills the page list with
  // the page captions.
  void OpenFrame();
  // Reads "lastpage" (default when missing or not a number); above the last
  // page it becomes the last when clampAbove, else it is ignored like any
  // index without a page. Shows the page in the list.
  void RestoreLastPage(int defaultPage, bool clampAbove);
  // Writes "lastpage" and releases the profile, which stores it.
  void CloseFrame();
  tprofiler* Profile() const { return profile_.get(); }

  // Ctrl+Tab presses next, Ctrl+Shift+Tab back; the key is then used up.
  bool PageKey(WORD& key, tshiftstate shift);

  // The open dialog with the filter; a window kept on top (may be null; any
  // window with stayontop and Setstayontop) stops being so meanwhile, or the
  // dialog would open behind it. True when the user chose a file, whose name
  // the dialog then holds.
  template <class Window>
  static bool ChooseFile(topendialog& dialog, const std::string& filter, Window* ontop) {
    struct trestore {
      Window* window;
      bool stayontop;
      ~trestore() {
        if (stayontop) window->Setstayontop(true);
      }
    } restore{ontop, ontop && ontop->stayontop()};
    if (restore.stayontop) ontop->Setstayontop(false);
    return OpenFile(dialog, filter);
  }

 protected:
  // Binds the frame's components; a dialog's override calls it first.
  void DeclarePublished(tresourcecontext& context) override;

 private:
  static bool OpenFile(topendialog& dialog, const std::string& filter);

  twizardframe frame_;
  tcombobox* pageList_ = nullptr;
  tnotebook* notebook_ = nullptr;
  tlabel* pageLabel_ = nullptr;
  tbutton* prevButton_ = nullptr;
  tbutton* nextButton_ = nullptr;
  std::unique_ptr<tprofiler> profile_;
};

}  // namespace pendo
