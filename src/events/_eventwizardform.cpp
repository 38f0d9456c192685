#include "events/_eventwizardform.h"

#include "controls/wizardimages.h"
#include "events/eventitem.h"
#include "forms/primaryform.h"
#include "settings/actions.h"

namespace pendo {

namespace {
const char kSoundGroup[] = "サウンド";

// clang-format off
const tformdesc kEventwizardform{"eventwizardform",
  {{"Caption", "イベントウィザード - Event Wizard"}, {"BorderStyle", "bsDialog"}, {"BorderIcons", ""},
   {"Position", "poScreenCenter"}, {"ClientWidth", 561}, {"ClientHeight", 379},
   {"Font.Name", "ＭＳ Ｐゴシック"}, {"Font.Height", -12},
   {"OnCreate", &Teventwizardform::FormCreate}, {"OnClose", &Teventwizardform::FormClose},
   {"OnDestroy", &Teventwizardform::FormDestroy}},
  {
    {"tcombobox", "PropertyListCBox", "", {{"Left", 8}, {"Top", 9}, {"Width", 545}, {"DropDownCount", 16}}},
    {"tbevel", "Bevel1", "", {{"Left", 7}, {"Top", 39}, {"Width", 547}, {"Height", 287}}},
    {"tnotebook", "PropertyNote", "", {{"Left", 8}, {"Top", 40}, {"Width", 545}, {"Height", 285}}},
    {"tpage", "eventpage", "PropertyNote", {{"Caption", "イベントコントロール"}}},
    {"tlabel", "Label1", "eventpage", {{"Left", 8}, {"Top", 8}, {"Caption", "いくつかのイベントを設定することができます。"}}},
    {"tlabel", "Label2", "eventpage",
     {{"Left", 8}, {"Top", 28}, {"Caption", "変更したいイベント項目を選択し、「実行要素」に対象ファイル名を入力して下さい。"}}},
    {"tlabel", "Label3", "eventpage",
     {{"Left", 8}, {"Top", 48},
      {"Caption", "対象ファイルがWaveファイルである場合、「beep」という文字列を設定することでbeep音を鳴らすこともで"}}},
    {"tlabel", "Label4", "eventpage", {{"Left", 8}, {"Top", 64}, {"Caption", "きます。"}}},
    {"tlabel", "executeelementtitlelabel", "eventpage",
     {{"Left", 8}, {"Top", 92}, {"Caption", "実行要素(&E)"}, {"Enabled", "False"},
      {"FocusControl", "executeelementedit"}}},
    {"tedit", "executeelementedit", "eventpage",
     {{"Left", 80}, {"Top", 88}, {"Width", 289}, {"Enabled", "False"}, {"ExactText", "True"},
      {"OnChange", &Teventwizardform::executeelementeditChange}}},
    {"tbutton", "executeelementbrowsebutton", "eventpage",
     {{"Left", 376}, {"Top", 86}, {"Width", 75}, {"Caption", "参照(&B)"}, {"Enabled", "False"},
      {"OnClick", &Teventwizardform::executeelementbrowsebuttonClick}}},
    {"tbutton", "executeelementtestbutton", "eventpage",
     {{"Left", 456}, {"Top", 86}, {"Width", 75}, {"Caption", "テスト(&T)"}, {"Enabled", "False"},
      {"OnClick", &Teventwizardform::executeelementtestbuttonClick}}},
    {"tsimpletreeview", "eventlist", "eventpage",
     {{"Left", 8}, {"Top", 120}, {"Width", 529}, {"Height", 157}, {"Images", "imagelist"},
      {"HideSelection", "False"}, {"Items", EventTreeItems()},
      {"OnChange", &Teventwizardform::eventlistChange}, {"OnDblClick", &Teventwizardform::eventlistDblClick}}},
    {"tlabel", "PageLabel", "", {{"Left", 8}, {"Top", 334}, {"Caption", "Event: 0/0"}}},
    {"tbutton", "PrevButton", "", {{"Left", 296}, {"Top", 332}, {"Width", 81}, {"Caption", "<< 戻る(&P)"},
                                   {"Font.Style", "fsUnderline"}}},
    {"tbutton", "NextButton", "", {{"Left", 376}, {"Top", 332}, {"Width", 81}, {"Caption", "次へ(&N)"},
                                   {"Font.Style", "fsUnderline"}}},
    {"tbutton", "okbutton", "", {{"Left", 472}, {"Top", 332}, {"Width", 81}, {"Caption", "閉じる(&C)"},
                                 {"Default", "True"}, {"Cancel", "True"}, {"ModalResult", "mrOk"},
                                 {"Font.Style", "fsUnderline"}}},
    {"tstatusbar", "StatusBar1", "", {{"Panels", "50"}, {"SizeGrip", "False"}}},
    {"topendialog", "opendialog", "", {}},
    {"timagelist", "imagelist", "", {}},
  }};
// clang-format on
}  // namespace

Teventwizardform::Teventwizardform(tcomponent* owner, teventsoundsettings& settings, tprimaryform* mainwindow)
    : twizardform(owner, kEventwizardform, twizardframe{}), settings_(settings), mainwindow_(mainwindow) {}

void Teventwizardform::DeclarePublished(tresourcecontext& c) {
  twizardform::DeclarePublished(c);
  c.Field("StatusBar1", StatusBar1);
  c.Field("executeelementtitlelabel", executeelementtitlelabel);
  c.Field("executeelementedit", executeelementedit);
  c.Field("executeelementbrowsebutton", executeelementbrowsebutton);
  c.Field("executeelementtestbutton", executeelementtestbutton);
  c.Field("eventlist", eventlist);
  c.Field("okbutton", okbutton);
  c.Field("opendialog", opendialog);
  c.Field("imagelist", imagelist);
}

void Teventwizardform::FormCreate(tobject*) {
  FillWizardImages(*imagelist);
  OpenFrame();
  eventlist->FullExpand();
  RestoreLastPage(1, false);
}

void Teventwizardform::FormClose(tobject*, tcloseaction& action) { action = tcloseaction::caFree; }

void Teventwizardform::FormDestroy(tobject*) { CloseFrame(); }

ttreenode* Teventwizardform::SelectedEventItem() const {
  ttreenode* node = eventlist->Selected();
  if (!node || !node->Parent() || node->Parent() == eventlist->RootNode()) return nullptr;
  return node;
}

std::string* Teventwizardform::SelectedSetting() const {
  ttreenode* node = SelectedEventItem();
  if (!node || node->Parent()->Text() != kSoundGroup) return nullptr;
  return EventItemSetting(settings_, node->Text());
}

void Teventwizardform::eventlistChange(tobject*) {
  const bool item = SelectedEventItem() != nullptr;
  executeelementtitlelabel->SetEnabled(item);
  executeelementedit->SetEnabled(item);
  executeelementbrowsebutton->SetEnabled(item);
  executeelementtestbutton->SetEnabled(item);
  if (std::string* setting = SelectedSetting()) executeelementedit->SetText(*setting);
}

void Teventwizardform::executeelementeditChange(tobject*) {
  if (std::string* setting = SelectedSetting()) *setting = executeelementedit->Text();
}

void Teventwizardform::executeelementbrowsebuttonClick(tobject*) {
  if (!SelectedEventItem()) return;
  if (ChooseFile(*opendialog, "WavePCM波形ファイル(*.wav)|*.wav", mainwindow_))
    executeelementedit->SetText(opendialog->FileName());
}

void Teventwizardform::eventlistDblClick(tobject* sender) { executeelementbrowsebuttonClick(sender); }

void Teventwizardform::executeelementtestbuttonClick(tobject*) { PlaySoundList(executeelementedit->Text()); }

}  // namespace pendo
