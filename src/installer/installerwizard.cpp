#include "installer/installerwizard.h"
#include "settings/widetext.h"

#include "framework/application.h"

namespace pendo {

namespace {

twizardframe Frame(const char* counterPrefix) {
  twizardframe f{"pagelistcbox", "note", "PageLabel", "PrevButton", "NextButton", counterPrefix};
  f.keepLastPage = false;
  return f;
}

std::vector<tprop> With(std::vector<tprop> props, const std::vector<tprop>& more) {
  props.insert(props.end(), more.begin(), more.end());
  return props;
}

}  // namespace

tinstallerwizard::tinstallerwizard(tcomponent* owner, const tformdesc& description, const char* counterPrefix)
    : twizardform(owner, description, Frame(counterPrefix)) {}

void tinstallerwizard::Attach(const tsetuplog* log, tsetupexit* exitCode) {
  log_ = log;
  exitCode_ = exitCode;
}

int tinstallerwizard::Message(const std::string& text, const char* caption, UINT buttons) {
  return SetupMessage(Handle(), text, caption, buttons | MB_ICONINFORMATION, log_);
}

void tinstallerwizard::Log(const std::string& line) const {
  if (log_) log_->Line(line);
}

void tinstallerwizard::SetExitCode(tsetupexit code) {
  if (exitCode_) *exitCode_ = code;
}

void tinstallerwizard::DeclarePublished(tresourcecontext& c) {
  twizardform::DeclarePublished(c);
  c.Field("Bevel1", Bevel1);
  c.Field("CloseButton", CloseButton);
  c.Field("StatusBar", StatusBar);
}

void tinstallerwizard::ShowFirstPage() {
  OpenFrame();
  Notebook()->SetPageIndex(0);
}

void tinstallerwizard::UpdatePageControls() {
  twizardform::UpdatePageControls();
  CloseButton->SetEnabled(true);
  if (PageIndex() == PageCount() - 1) {
    PrevButton()->SetEnabled(false);
    CloseButton->SetCaption("終了(&C)");
    // Enter finishes: the focus must not stay with the disabled Next.
    CloseButton->SetFocus();
  }
}

void tinstallerwizard::EnterLastPage() {
  NextButton()->SetDefault(false);
  CloseButton->SetDefault(true);
}

void tinstallerwizard::Hold(tsetupprogress& run, tprogressbar* const (&bars)[3]) {
  running_ = true;
  NextButton()->SetEnabled(false);
  PrevButton()->SetEnabled(false);
  CloseButton->SetEnabled(false);
  Update();
  NextButton()->Update();
  run.OnProgress = [bars](tsetupprogress::tbar bar, int position, int max) {
    tprogressbar* target = bars[static_cast<int>(bar)];
    target->SetRange(0, max);
    target->SetPosition(position);
    target->Update();
  };
  run.OnYield = [] { Application->ProcessMessages(); };
  run.OnLog = [this](const std::string& line) { Log(line); };
  SetExitCode(tsetupexit::Failed);
}

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
