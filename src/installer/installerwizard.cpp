#include "installer/installerwizard.h"
#include "settings/widetext.h"

namespace pendo {

tinstallerwizard::tinstallerwizard(tcomponent* owner, const tformdesc& description, const char* labelPrefix,
                                   int lastPage)
    : tform(owner, description), labelPrefix_(labelPrefix), lastPage_(lastPage) {}

void tinstallerwizard::Attach(const tsetuplog* log, tsetupexit* exitCode) {
  log_ = log;
  exitCode_ = exitCode;
}

int tinstallerwizard::Message(const std::string& text, const char* caption, UINT buttons) {
  Log(std::string(caption) + ": " + text);
  const int answer = MessageBoxW(Handle(), Wide(text).c_str(), Wide(caption).c_str(), buttons | MB_ICONINFORMATION);
  if (buttons != MB_OK) Log(std::string("→ ") + (answer == IDOK ? "OK" : answer == IDRETRY ? "再試行" : "キャンセル"));
  return answer;
}

void tinstallerwizard::Log(const std::string& line) const {
  if (log_) log_->Line(line);
}

void tinstallerwizard::SetExitCode(tsetupexit code) {
  if (exitCode_) *exitCode_ = code;
}

void tinstallerwizard::DeclarePublished(tresourcecontext& c) {
  c.Field("pagelistcbox", pagelistcbox);
  c.Field("Bevel1", Bevel1);
  c.Field("note", note);
  c.Field("PageLabel", PageLabel);
  c.Field("PrevButton", PrevButton);
  c.Field("NextButton", NextButton);
  c.Field("CloseButton", CloseButton);
  c.Field("StatusBar", StatusBar);
}

void tinstallerwizard::ShowFirstPage() {
  std::vector<std::string> captions;
  for (tpage* p : note->Pages()) captions.push_back(p->Caption());
  pagelistcbox->SetItems(captions);
  note->SetPageIndex(0);
}

std::string tinstallerwizard::PageCaption() const {
  const auto pages = note->Pages();
  const int i = note->PageIndex();
  return i >= 0 && i < static_cast<int>(pages.size()) ? pages[i]->Caption() : std::string();
}

void tinstallerwizard::ApplyFrameState() {
  const int index = note->PageIndex();
  NextButton->SetEnabled(index < lastPage_);
  PrevButton->SetEnabled(index >= 1);
  CloseButton->SetEnabled(true);
  pagelistcbox->SetItemIndex(index);
  PageLabel->SetCaption(labelPrefix_ + std::to_string(index) + "/" + std::to_string(lastPage_));
  if (OnLastPage()) {
    PrevButton->SetEnabled(false);
    CloseButton->SetCaption("終了(&C)");
    // Enter finishes: the focus must not stay with the disabled Next.
    CloseButton->SetFocus();
  }
}

void tinstallerwizard::EnterLastPage() {
  NextButton->SetDefault(false);
  CloseButton->SetDefault(true);
}

namespace {

std::vector<tprop> With(std::vector<tprop> props, const std::vector<tprop>& more) {
  props.insert(props.end(), more.begin(), more.end());
  return props;
}

}  // namespace

tformdesc WizardDescription(const char* name, const char* caption, const char* pageLabel,
                            const twizardhandlers& h) {
  // The buttons' own font: black and underlined.
  const std::vector<tprop> buttonFont{{"Font.Color", "clBlack"}, {"Font.Style", "fsUnderline"}};
  // clang-format off
  return tformdesc{name,
    With({{"Caption", caption}, {"BorderStyle", "bsDialog"}, {"BorderIcons", ""},
          {"ClientWidth", 441}, {"ClientHeight", 279}, {"Position", "poScreenCenter"}, {"Scaled", "False"},
          {"Font.Name", "ＭＳ Ｐゴシック"}, {"Font.Height", -12}}, h.form),
    {
      {"tcombobox", "pagelistcbox", "", {{"Left", 8}, {"Top", 9}, {"Width", 425}, {"Height", 20}, {"Enabled", "False"},
                                          {"DropDownCount", 16}}},
      {"tbevel", "Bevel1", "", {{"Left", 7}, {"Top", 39}, {"Width", 427}, {"Height", 187}, {"Shape", "bsFrame"}}},
      {"tnotebook", "note", "", With({{"Left", 8}, {"Top", 40}, {"Width", 425}, {"Height", 185}}, h.note)},
      {"tlabel", "PageLabel", "", {{"Left", 8}, {"Top", 232}, {"Caption", pageLabel}}},
      {"tbutton", "PrevButton", "",
       With(With({{"Left", 184}, {"Top", 232}, {"Width", 81}, {"Height", 25}, {"Caption", "<< 戻る(&P)"}}, buttonFont),
            h.prevButton)},
      {"tbutton", "NextButton", "",
       With(With({{"Left", 264}, {"Top", 232}, {"Width", 81}, {"Height", 25}, {"Caption", "次へ(&N)"},
                  {"Default", "True"}}, buttonFont), h.nextButton)},
      {"tbutton", "CloseButton", "",
       With(With({{"Left", 352}, {"Top", 232}, {"Width", 81}, {"Height", 25}, {"Caption", "中止(&C)"},
                  {"Cancel", "True"}}, buttonFont), h.closeButton)},
      {"tstatusbar", "StatusBar", "", {{"Height", 19}, {"Panels", "50"}, {"PanelBevel", "pbNone"},
                                       {"SizeGrip", "False"}}},
    }};
  // clang-format on
}

void AddPageLines(tformdesc& form, const std::string& page, int top, const std::vector<const char*>& lines, bool blue,
                  int left) {
  int n = 0;
  for (const auto& c : form.components) n += c.parent == page ? 1 : 0;
  for (const char* line : lines) {
    std::vector<tprop> props{{"Left", left}, {"Top", top}, {"Caption", line}, {"ShowAccelChar", "True"}};
    if (blue) props.emplace_back("Font.Color", "clBlue");
    form.components.push_back({"tlabel", page + "line" + std::to_string(++n), page, props});
    top += 16;
  }
}

}  // namespace pendo
