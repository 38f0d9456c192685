#include "installer/_installationform.h"

#include "framework/application.h"
#include "installer/folderfitness.h"
#include "installer/installationrun.h"
#include "installer/installerwizard.h"
#include "installer/shellfolders.h"
#include "settings/platform.h"
#include "settings/programidentity.h"
#include "settings/widetext.h"
#include "settings/windowsfolder.h"

namespace pendo {

namespace {

const char kFolderPage[] = "フォルダの指定";
const char kSendToPage[] = "「送る」への登録";
const char kInstallationPage[] = "インストレーション";
const char kEndPage[] = "終了";

tformdesc MakeInstallationform() {
  tformdesc d = WizardDescription(
      "installationform", "セットアップウィザード - Setup Wizard", "Setup: 0/0",
      {{{"OnCreate", &Tinstallationform::FormCreate}, {"OnShow", &Tinstallationform::FormShow}, {"OnCloseQuery", &Tinstallationform::FormCloseQuery},
        {"OnClose", &Tinstallationform::FormClose}, {"OnDestroy", &Tinstallationform::FormDestroy}},
       {{"OnClick", &Tinstallationform::PrevButtonClick}},
       {{"OnClick", &Tinstallationform::NextButtonClick}},
       {{"OnClick", &Tinstallationform::CloseButtonClick}},
       {{"OnPageChanged", &Tinstallationform::notePageChanged}}});
  auto& c = d.components;
  // clang-format off
  const char* const pages[][2] = {
    {"introductionpage", "導入"}, {"note0page", "補足事項0"}, {"note1page", "補足事項1"}, {"folderpage", kFolderPage},
    {"sendtopage", kSendToPage}, {"installationpage", kInstallationPage}, {"endpage", kEndPage}};
  for (const auto& p : pages) c.push_back({"tpage", p[0], "note", {{"Caption", p[1]}}});

  c.push_back({"tlabel", "programnamelabel", "introductionpage", {{"Left", 16}, {"Top", 16}, {"Font.Color", "clBlue"}}});
  AddPageLines(d, "introductionpage", 48, {
    "本プログラムをダウンロードﾞいただき誠にありがとうございます。", "セットアップを行います。",
    "セットアップウィザードは必要なファイルのコピーと設定を行い、起動に必要な", "全ての要件を満たします。"});
  AddPageLines(d, "introductionpage", 128, {"「次へ」を押して下さい。"});

  AddPageLines(d, "note0page", 16, {"いくつかの補足事項があります。"});
  AddPageLines(d, "note0page", 40, {
    "これからインストールするプログラムの旧版が起動している場合、いったん終了", "させて下さい。",
    "新版導入にあたり旧版をアンインストールする必要はありません。アンインスト",
    "ール情報も含め自動的にアップデートされます。ただし、旧版と新版の完全な",
    "互換性は保証できません。新版において削除された要素などに関しては正しく", "引き継がれないことがあります。"}, true);

  AddPageLines(d, "note1page", 16, {
    "スタートメニューに登録された旧版のショートカットは更新されません。",
    "これからインストールするプログラムがスタートアップに適したものであっても、",
    "スタートアップに自動的に登録されることはありません。"}, true);
  AddPageLines(d, "note1page", 80, {
    "インストール後、本プログラムはいつでも完全にアンインストールできます。",
    "復元困難なオペレーションが行われることはありません。"});

  AddPageLines(d, "folderpage", 16, {
    "インストール先フォルダを指定して下さい。", "フォルダが存在しない場合、ウィザードが新規に作成します。"});
  AddPageLines(d, "folderpage", 67, {"フォルダ(&F)"}, true);
  c.back().props.emplace_back("FocusControl", "installfoldernameedit");
  c.push_back({"tedit", "installfoldernameedit", "folderpage",
               {{"Left", 80}, {"Top", 64}, {"Width", 329}, {"Height", 20}, {"Enabled", "False"},
                {"Color", "clSilver"}, {"OnChange", &Tinstallationform::installfoldernameeditChange}}});
  AddPageLines(d, "folderpage", 100, {
    "既にインストールされたプログラムのフォルダを変更したい場合、いったんアン", "インストールを行って下さい。"});

  AddPageLines(d, "sendtopage", 16, {
    "プログラムを「送る」コンテキストメニューに登録しますか？", "登録する場合、そのタイトルを入力して下さい。",
    "登録しない場合は空白にして下さい。"});
  AddPageLines(d, "sendtopage", 83, {"タイトル(&T)"}, true);
  c.back().props.emplace_back("FocusControl", "sendtonameedit");
  c.push_back({"tedit", "sendtonameedit", "sendtopage",
               {{"Left", 80}, {"Top", 80}, {"Width", 329}, {"Height", 20},
                {"OnChange", &Tinstallationform::installfoldernameeditChange}}});

  AddPageLines(d, "installationpage", 16, {"インストールしています・・・・"});
  const char* const rows[][2] = {{"ファイルのコピー", "filecopyprogressbar"}, {"環境の設定", "shortcutprogressbar"},
                                 {"アンインストール情報の作成", "uninstallinfomationprogressbar"}};
  int top = 48;
  for (const auto& r : rows) {
    AddPageLines(d, "installationpage", top + 1, {r[0]});
    c.push_back({"tprogressbar", r[1], "installationpage", {{"Left", 168}, {"Top", top}, {"Width", 241}, {"Height", 16}}});
    top += 32;
  }
  c.push_back({"tlabel", "endlabel", "installationpage",
               {{"Left", 16}, {"Top", 150}, {"Caption", "終了しました。"}, {"Font.Color", "clBlue"}, {"Visible", "False"}}});

  AddPageLines(d, "endpage", 16, {
    "セットアップが終了しました。", "プログラムはスタートメニューに登録されています。",
    "アンインストールするときは「アプリケーションの追加と削除」を使用して下さい。"});
  // clang-format on
  return d;
}

const tformdesc kInstallationform = MakeInstallationform();

}  // namespace

Tinstallationform::Tinstallationform(tcomponent* owner)
    : tinstallerwizard(owner, kInstallationform, "Setup: ") {}

void Tinstallationform::DeclarePublished(tresourcecontext& c) {
  tinstallerwizard::DeclarePublished(c);
  c.Field("programnamelabel", programnamelabel);
  c.Field("installfoldernameedit", installfoldernameedit);
  c.Field("sendtonameedit", sendtonameedit);
  c.Field("filecopyprogressbar", filecopyprogressbar);
  c.Field("shortcutprogressbar", shortcutprogressbar);
  c.Field("uninstallinfomationprogressbar", uninstallinfomationprogressbar);
  c.Field("endlabel", endlabel);
}

void Tinstallationform::FormCreate(tobject*) {
  script_ = std::make_unique<ScriptFile>(GetProgramFolder() + script::kSetupScript);
  ShowFirstPage();
  productName_ = script_->ReadString(script::kProfile, script::kApplicationName, "");
  archiveStem_ = script_->ReadString(script::kProfile, script::kBindedFileName, "");
  programnamelabel->SetCaption(script_->ReadString(script::kProfile, script::kUninstallationTitle, ""));
  installfoldernameedit->SetText(ProposedInstallationFolder(productName_));
}

void Tinstallationform::FormShow(tobject*) { ApplyPageState(); }

void Tinstallationform::ApplyPageState() {
  UpdatePageControls();
  const std::string page = PageCaption();
  if (page == kFolderPage && installfoldernameedit->Text().empty()) NextButton()->SetEnabled(false);
  if (page == kInstallationPage) {
    PrevButton()->SetEnabled(false);
    CloseButton->SetEnabled(false);
    NextButton()->SetEnabled(!Running() && endlabel->Visible());
  }
}

void Tinstallationform::Step(int direction) {
  // Input that arrives while the run lets the message loop work is ignored.
  if (Running()) return;
  // The folder typed is judged when it is left, before anything is written.
  if (direction > 0 && PageCaption() == kFolderPage) {
    const std::string fault = FolderFault();
    if (!fault.empty()) {
      Message(InstallationFolderMessage(fault), "失敗", MB_OK);
      return;
    }
  }
  int index = PageIndex() + direction;
  if (index < 0 || index >= PageCount()) return;
  Notebook()->SetPageIndex(index);
  if (PageCaption() == kSendToPage && !script_->ReadFlag(script::kEnvironment, script::kSendTo, false))
    Notebook()->SetPageIndex(index + direction);
  ApplyPageState();
  // The run starts once its page is shown; it may lead back to a page.
  if (PageCaption() != kInstallationPage) return;
  InstallationRun();
  ApplyPageState();
}

std::string Tinstallationform::FolderFault() const {
  // Read as the system holds it: a name the code page cannot hold would
  // arrive with '?' in it and be judged for another.
  const HWND edit = installfoldernameedit->Handle();
  std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  wide.resize(static_cast<std::size_t>(GetWindowTextW(edit, &wide[0], static_cast<int>(wide.size()))));
  std::string folder;
  if (!NarrowExact(wide, folder)) {
    tfolderfacts facts;
    facts.typed = Narrow(wide);
    return DescribeFolderVerdict(tfolderverdict::Unrepresentable, facts);
  }
  tscriptcontent content;
  script_->ReadEntries(script::kBind, content.bind);
  script_->ReadEntries(script::kErase, content.erase);
  script_->ReadEntries(script::kRename, content.rename);
  return InstallationFolderFault(installfoldernameedit->Text(), productName_, PathsTouched(content));
}

void Tinstallationform::NextButtonClick(tobject*) { Step(+1); }

void Tinstallationform::PrevButtonClick(tobject*) { Step(-1); }

void Tinstallationform::CloseButtonClick(tobject*) {
  if (Running()) return;
  if (PageCaption() == kEndPage) {
    Close();
    Application->ProcessMessages();
    return;
  }
  if (Message("セットアップを中止します。", "確認", MB_OKCANCEL) == IDOK) Close();
}

void Tinstallationform::notePageChanged(tobject*) {
  const std::string page = PageCaption();
  if (page == kEndPage) {
    EnterLastPage();
  } else if (page == kSendToPage) {
    sendtonameedit->SetFocus();
    SendMessageW(sendtonameedit->Handle(), EM_SETSEL, 0, -1);
  } else if (page == kFolderPage) {
    // An upgrade keeps its folder, unless that folder is now unfit: the user
    // is told and may choose another one.
    const std::string folder = installfoldernameedit->Text();
    const bool installed = IsInstalledIn(folder);
    const std::string fault = installed ? FolderFault() : std::string();
    const bool locked = installed && fault.empty();
    installfoldernameedit->SetEnabled(!locked);
    installfoldernameedit->SetColor(locked ? clSilver : clWindow);
    if (!fault.empty()) {
      ApplyPageState();  // the folder page behind the message
      Message(RegisteredFolderMessage(fault), "確認", MB_OK);
    }
  }
}

void Tinstallationform::installfoldernameeditChange(tobject*) {
  if (!Running()) ApplyPageState();
}

void Tinstallationform::InstallationRun() {
  tinstallationrun run(GetProgramFolder(), platform::ExecutablePath());
  using r = tinstallationrun::tresult;
  r result;
  Log("インストール: " + installfoldernameedit->Text());
  try {
    result = RunPage(run, {filecopyprogressbar, shortcutprogressbar, uninstallinfomationprogressbar},
                     installfoldernameedit->Text(), sendtonameedit->Text());
  } catch (const std::exception& error) {
    // The error box reports it; the wizard stays here and can be cancelled.
    Log(std::string("失敗: ") + error.what());
    CloseButton->SetEnabled(true);
    throw;
  }
  // After a refused folder or title the user may go on; leaving then, or at
  // the running-program message, is a cancel.
  const bool cancelled = result == r::FolderUnfit || result == r::NoRoom || result == r::TitleUnfit ||
                         result == r::ProductRunning || result == r::Busy;
  SetExitCode(cancelled ? tsetupexit::Cancelled : tinstallationrun::ExitCodeOf(result));
  switch (result) {
    case r::Done:
      for (const auto& message : run.Skipped()) Message(message, "確認", MB_OK);
      Log("インストール終了");
      endlabel->Show();
      NextButton()->SetEnabled(true);
      NextButton()->SetFocus();
      break;
    case r::FolderUnfit:
    case r::NoRoom:
      Message(run.Message(result), "失敗", MB_OK);
      Notebook()->SetPageIndex(PageOf(kFolderPage));
      break;
    case r::TitleUnfit:
      Message(run.Message(result), "失敗", MB_OK);
      Notebook()->SetPageIndex(PageOf(kSendToPage));
      break;
    case r::ProductRunning:
    case r::Busy:
      Close();
      break;
    case r::ScriptUnfit:
    case r::ArchiveMissing:
    case r::ArchiveUnfit:
      Message(run.Message(result), "失敗", MB_OK);
      Close();
      break;
    case r::CopyFailed:
      Message(run.Message(result), "失敗", MB_OK);
      Hide();
      Message("インストールは正常終了しませんでした。", "失敗", MB_OK);
      Close();
      break;
  }
}

void Tinstallationform::FormCloseQuery(tobject*, bool& canClose) { canClose = !Running(); }

void Tinstallationform::FormClose(tobject*, tcloseaction& action) { action = tcloseaction::caFree; }

void Tinstallationform::FormDestroy(tobject*) { script_.reset(); }

}  // namespace pendo
