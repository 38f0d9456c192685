#include "installer/_uninstallationform.h"

#include "installer/commandline.h"
#include "installer/installerwizard.h"
#include "installer/removalrun.h"

namespace pendo {

namespace {

const char kRemovalPage[] = "アンインストレーション";
const char kEndPage[] = "終了";

tformdesc MakeUninstallationform() {
  tformdesc d = WizardDescription(
      "uninstallationform", "アンインストールウィザード - Uninstall Wizard", "Uninstall: 0/0",
      {{{"OnCreate", &Tuninstallationform::FormCreate}, {"OnShow", &Tuninstallationform::FormShow}, {"OnCloseQuery", &Tuninstallationform::FormCloseQuery},
        {"OnClose", &Tuninstallationform::FormClose}, {"OnDestroy", &Tuninstallationform::FormDestroy}},
       {},
       {{"OnClick", &Tuninstallationform::NextButtonClick}},
       {{"OnClick", &Tuninstallationform::CloseButtonClick}},
       {{"OnPageChanged", &Tuninstallationform::notePageChanged}}});
  auto& c = d.components;
  // clang-format off
  const char* const pages[][2] = {{"confirmationpage", "確認"}, {"removalpage", kRemovalPage}, {"endpage", kEndPage}};
  for (const auto& p : pages) c.push_back({"tpage", p[0], "note", {{"Caption", p[1]}}});

  AddPageLines(d, "confirmationpage", 16, {"プログラムをアンインストールします。", "全ての起動情報、および登録情報は失われます。"});
  AddPageLines(d, "confirmationpage", 56, {
    "これからアンインストールするプログラムは、予め終了させておいて下さい。",
    "プログラムによってはページをめくった瞬間にアンインストールが終了する場合", "がありますが、これは異常ではありません。"},
    true);
  AddPageLines(d, "confirmationpage", 120, {"「次へ」を押して下さい。"});
  // Shown when the product names files it writes at run time.
  c.push_back({"tcheckbox", "settingscheckbox", "confirmationpage",
               {{"Left", 16}, {"Top", 148}, {"Width", 393}, {"Height", 17}, {"Visible", "False"},
                {"Caption", "プログラムの設定ファイルも削除する(&S)"}}});

  AddPageLines(d, "removalpage", 16, {"アンインストールしています・・・・"});
  const char* const rows[][2] = {{"ファイルの削除", "filedeleteprogressbar"}, {"環境の設定", "shortcutprogressbar"},
                                 {"インストール情報の削除", "installinfomationdeleteprogressbar"}};
  int top = 48;
  for (const auto& r : rows) {
    AddPageLines(d, "removalpage", top + 1, {r[0]});
    c.push_back({"tprogressbar", r[1], "removalpage", {{"Left", 152}, {"Top", top}, {"Width", 257}, {"Height", 16}}});
    top += 32;
  }
  c.push_back({"tlabel", "endlabel", "removalpage",
               {{"Left", 16}, {"Top", 150}, {"Caption", "終了しました。"}, {"Font.Color", "clBlue"}, {"Visible", "False"}}});

  AddPageLines(d, "endpage", 16, {"アンインストールが終了しました。"});
  AddPageLines(d, "endpage", 40, {
    "ユーザが独自に作成したショートカット、および「送る」コンテキストメニュー内の", "ショートカットは削除されません。",
    "アンインストールに完全を期す場合は、これらのファイルを手動で削除して下さ", "い。"}, true);
  // The folders that stay, one line each, shown when there are any.
  AddPageLines(d, "endpage", 112, {"", "", "", ""});
  for (auto it = c.end() - 4; it != c.end(); ++it) it->props.emplace_back("Visible", "False");
  // clang-format on
  return d;
}

const tformdesc kUninstallationform = MakeUninstallationform();

}  // namespace

Tuninstallationform::Tuninstallationform(tcomponent* owner)
    : tinstallerwizard(owner, kUninstallationform, "Uninstall: ") {}

void Tuninstallationform::DeclarePublished(tresourcecontext& c) {
  tinstallerwizard::DeclarePublished(c);
  c.Field("filedeleteprogressbar", filedeleteprogressbar);
  c.Field("shortcutprogressbar", shortcutprogressbar);
  c.Field("installinfomationdeleteprogressbar", installinfomationdeleteprogressbar);
  c.Field("endlabel", endlabel);
  c.Field("settingscheckbox", settingscheckbox);
  c.Field("endpageline1", endpageline1);
  for (int i = 0; i < 4; ++i) c.Field("endpageline" + std::to_string(6 + i), leftlines[i]);
}

void Tuninstallationform::FormCreate(tobject*) {
  script_ = std::make_unique<ScriptFile>(FolderPartOf(GetCommandLineText()) + script::kUninstallScript);
  ShowFirstPage();
  settingscheckbox->SetVisible(NamesSettings(FolderPartOf(script_->Path())));
}

void Tuninstallationform::FormShow(tobject*) { ApplyPageState(); }

void Tuninstallationform::ApplyPageState() {
  UpdatePageControls();
  if (PageCaption() == kRemovalPage) {
    PrevButton()->SetEnabled(false);
    CloseButton->SetEnabled(false);
  }
}

void Tuninstallationform::NextButtonClick(tobject*) {
  if (Running() || PageIndex() >= PageCount() - 1) return;
  Notebook()->SetPageIndex(PageIndex() + 1);
  ApplyPageState();
  if (PageCaption() != kRemovalPage) return;
  RemovalRun();
  ApplyPageState();
}

void Tuninstallationform::CloseButtonClick(tobject*) {
  if (Running()) return;
  if (PageCaption() == kEndPage || Message("アンインストールを中止します。", "確認", MB_OKCANCEL) == IDOK) Close();
}

void Tuninstallationform::notePageChanged(tobject*) {
  if (PageCaption() == kEndPage) EnterLastPage();
}

void Tuninstallationform::RemovalRun() {
  tremovalrun run(FolderPartOf(script_->Path()), settingscheckbox->Checked());
  Log("アンインストール: " + script_->Path() + (settingscheckbox->Checked() ? " (設定も削除)" : ""));
  using r = tremovalrun::tresult;
  r result = r::Done;
  {
    // Whatever happens, the run ends with its end label and Next.
    struct tfinish {
      Tuninstallationform& f;
      ~tfinish() {
        f.endlabel->Show();
        f.NextButton()->SetEnabled(true);
        f.NextButton()->SetFocus();
      }
    } finish{*this};
    result = RunPage(run, {filedeleteprogressbar, shortcutprogressbar, installinfomationdeleteprogressbar});
    SetExitCode(tremovalrun::ExitCodeOf(result));
    if (result == r::FolderUnfit) Message(run.Message(result), "失敗", MB_OK);
    // The last page says what became of the product, and where what stays is.
    if (result == r::FolderUnfit) {
      endlabel->SetCaption("中止しました。");
      endpageline1->SetCaption("アンインストールは行われませんでした。");
    } else if (result == r::Incomplete) {
      endpageline1->SetCaption("アンインストールは完了しませんでした。削除できなかったファイルがあります。");
    }
    const auto& left = run.FoldersLeft();
    for (std::size_t i = 0; i < left.size() && i < 4; ++i) {
      const bool more = i == 3 && left.size() > 4;
      const std::string text = more ? "ほか " + std::to_string(left.size() - 3) + " フォルダ" : "残したフォルダ " + left[i];
      leftlines[i]->SetCaption(text);
      leftlines[i]->Show();
    }
  }
  if (result == r::ProductRunning || result == r::Busy) {
    SetExitCode(tsetupexit::Cancelled);
    Close();
  } else if (result != r::FolderUnfit) {
    Log(result == r::Done ? "アンインストール終了" : "アンインストールは完了しませんでした");
  }
}

void Tuninstallationform::FormCloseQuery(tobject*, bool& canClose) { canClose = !Running(); }

void Tuninstallationform::FormClose(tobject*, tcloseaction& action) { action = tcloseaction::caFree; }

void Tuninstallationform::FormDestroy(tobject*) { script_.reset(); }

}  // namespace pendo
