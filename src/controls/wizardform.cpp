#include "controls/wizardform.h"

#include "framework/dialogs.h"

#include "controls/simpletreeview.h"

namespace pendo {

twizardform::twizardform(tcomponent* owner, const tformdesc& description, twizardframe frame)
    : tform(owner, description), frame_(std::move(frame)) {}

twizardform::~twizardform() = default;

void twizardform::DeclarePublished(tresourcecontext& c) {
  c.Field(frame_.pageList, pageList_);
  c.Field(frame_.notebook, notebook_);
  c.Field(frame_.pageLabel, pageLabel_);
  c.Field(frame_.prevButton, prevButton_);
  c.Field(frame_.nextButton, nextButton_);
}

void twizardform::OpenFrame() {
  if (frame_.keepLastPage) profile_ = std::make_unique<tprofiler>("profile_" + Name());
  std::vector<std::string> captions;
  for (tpage* page : notebook_->Pages()) captions.push_back(page->Caption());
  pageList_->SetItems(captions);
}

void twizardform::RestoreLastPage(int defaultPage, bool clampAbove) {
  int page = profile_ ? profile_->ReadInteger("lastpage", defaultPage) : defaultPage;
  if (clampAbove && page > PageCount() - 1) page = PageCount() - 1;
  notebook_->SetPageIndex(page);
  pageList_->SetItemIndex(PageIndex());
}

void twizardform::CloseFrame() {
  if (!profile_) return;
  profile_->WriteInteger("lastpage", PageIndex());
  profile_.reset();
}

void twizardform::ShowPage(int index) {
  notebook_->SetPageIndex(index);
  UpdatePageControls();
}

void twizardform::UpdatePageControls() {
  const int index = PageIndex(), last = PageCount() - 1;
  nextButton_->SetEnabled(index < last);
  prevButton_->SetEnabled(index >= 1);
  if (pageList_->ItemIndex() != index) pageList_->SetItemIndex(index);
  if (!frame_.counterPrefix.empty())
    pageLabel_->SetCaption(frame_.counterPrefix + std::to_string(index) + "/" + std::to_string(last));
}

std::string twizardform::PageCaption() const {
  const auto pages = notebook_->Pages();
  const int i = PageIndex();
  return i >= 0 && i < static_cast<int>(pages.size()) ? pages[i]->Caption() : std::string();
}

int twizardform::PageOf(const std::string& caption) const {
  const auto pages = notebook_->Pages();
  for (size_t i = 0; i < pages.size(); ++i)
    if (pages[i]->Caption() == caption) return static_cast<int>(i);
  return -1;
}

bool twizardform::PageKey(WORD& key, tshiftstate shift) {
  if (key != VK_TAB || !(shift & ssCtrl)) return false;
  if (shift & ssShift) prevButton_->Click();
  else nextButton_->Click();
  key = 0;
  return true;
}

bool twizardform::OpenFile(topendialog& dialog, const std::string& filter) {
  dialog.SetFilter(filter);
  return dialog.Execute();
}

}  // namespace pendo
