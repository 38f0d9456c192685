#include "notices/_noticewizardform.h"

#include "controls/wizardimages.h"
#include "forms/primaryform.h"
#include "notices/noticerecord.h"
#include "settings/actions.h"
#include "settings/platform.h"
#include "settings/textfields.h"

namespace pendo {

namespace {
// "1月|2月|..." for a drop-down list.
std::string Numbered(int from, int to, const char* unit) {
  std::string items;
  for (int i = from; i <= to; ++i) items += (i > from ? "|" : "") + std::to_string(i) + unit;
  return items;
}

using W = Tnoticewizardform;

// clang-format off
const tformdesc kNoticewizardform{"noticewizardform",
  {{"Caption", "ノーティスウィザード - Notice Wizard"}, {"BorderStyle", "bsDialog"}, {"BorderIcons", ""},
   {"Position", "poScreenCenter"}, {"ClientWidth", 561}, {"ClientHeight", 367}, {"KeyPreview", "True"},
   {"Font.Name", "ＭＳ Ｐゴシック"}, {"Font.Height", -12},
   {"OnCreate", &W::FormCreate}, {"OnPaint", &W::FormPaint}, {"OnClose", &W::FormClose},
   {"OnDestroy", &W::FormDestroy}, {"OnKeyDown", &W::FormKeyDown}},
  {
    {"tcombobox", "PropertyListCBox", "", {{"Left", 8}, {"Top", 9}, {"Width", 545}, {"DropDownCount", 16}}},
    {"tbevel", "Bevel1", "", {{"Left", 7}, {"Top", 39}, {"Width", 547}, {"Height", 275}}},
    {"tnotebook", "PropertyNote", "", {{"Left", 8}, {"Top", 40}, {"Width", 545}, {"Height", 273}}},
    {"tpage", "controlpage", "PropertyNote", {{"Caption", "通知項目コントロール"}}},
    {"tlabel", "Label2", "controlpage",
     {{"Left", 8}, {"Top", 8},
      {"Caption", "通知項目を追加する場合は、ツリービュー上でポップアップし「追加(&A)」を選択して下さい。"}}},
    {"tlabel", "timelabel", "controlpage", {{"Left", 8}, {"Top", 34}, {"Caption", "時間(&I)"}, {"Enabled", "False"},
                                             {"FocusControl", "typecbox"}}},
    {"tcombobox", "typecbox", "controlpage",
     {{"Left", 8}, {"Top", 50}, {"Width", 73}, {"Items", "毎週|日付|毎日"}, {"Enabled", "False"},
      {"OnChange", &W::typecboxChange}, {"OnKeyDown", &W::typecboxKeyDown}}},
    {"tcombobox", "dayofweekcbox", "controlpage",
     {{"Left", 88}, {"Top", 50}, {"Width", 73}, {"Items", "日曜|月曜|火曜|水曜|木曜|金曜|土曜"}, {"DropDownCount", 7},
      {"Enabled", "False"}, {"OnChange", &W::dayofweekcboxChange}, {"OnKeyDown", &W::typecboxKeyDown}}},
    {"tcombobox", "monthcbox", "controlpage",
     {{"Left", 88}, {"Top", 50}, {"Width", 73}, {"Items", Numbered(1, 12, "月")}, {"DropDownCount", 12},
      {"Enabled", "False"}, {"Visible", "False"},
      {"OnChange", &W::dayofweekcboxChange}, {"OnKeyDown", &W::typecboxKeyDown}}},
    {"tcombobox", "daycbox", "controlpage",
     {{"Left", 168}, {"Top", 50}, {"Width", 73}, {"Items", Numbered(1, 31, "日")}, {"DropDownCount", 24},
      {"Enabled", "False"}, {"Visible", "False"},
      {"OnChange", &W::dayofweekcboxChange}, {"OnKeyDown", &W::typecboxKeyDown}}},
    {"tcombobox", "hourcbox", "controlpage",
     {{"Left", 248}, {"Top", 50}, {"Width", 73}, {"Items", Numbered(0, 23, "時")}, {"DropDownCount", 24},
      {"Enabled", "False"}, {"OnChange", &W::dayofweekcboxChange}, {"OnKeyDown", &W::typecboxKeyDown}}},
    {"tcombobox", "minutecbox", "controlpage",
     {{"Left", 328}, {"Top", 50}, {"Width", 73}, {"Items", Numbered(0, 59, "分")}, {"DropDownCount", 24},
      {"Enabled", "False"}, {"OnChange", &W::dayofweekcboxChange}, {"OnKeyDown", &W::typecboxKeyDown}}},
    {"tlabel", "messagelabel", "controlpage",
     {{"Left", 8}, {"Top", 80}, {"Caption", "メッセージ(&M)"}, {"Enabled", "False"},
      {"FocusControl", "messageedit"}}},
    {"tedit", "messageedit", "controlpage",
     {{"Left", 8}, {"Top", 96}, {"Width", 369}, {"Enabled", "False"}, {"ExactText", "True"},
      {"OnChange", &W::dayofweekcboxChange}, {"OnKeyDown", &W::typecboxKeyDown}}},
    {"tbutton", "browsebutton", "controlpage",
     {{"Left", 384}, {"Top", 94}, {"Caption", "参照(&B)"}, {"Enabled", "False"},
      {"OnClick", &W::browsebuttonClick}, {"OnKeyDown", &W::typecboxKeyDown}}},
    {"tbutton", "testbutton", "controlpage",
     {{"Left", 464}, {"Top", 94}, {"Caption", "テスト(&T)"}, {"Enabled", "False"},
      {"OnClick", &W::testbuttonClick}, {"OnKeyDown", &W::typecboxKeyDown}}},
    {"tsimpletreeview", "noticetree", "controlpage",
     {{"Left", 8}, {"Top", 128}, {"Width", 529}, {"Height", 137}, {"Images", "imagelist"}, {"PopupMenu", "pop"},
      {"HideSelection", "False"}, {"Items", "通知項目\t0\t0"}, {"ParentImageIndex", 4}, {"ParentSelectedIndex", 4},
      {"OnChange", &W::noticetreeChange}, {"OnEditing", &W::noticetreeEditing},
      {"OnKeyDown", &W::noticetreeKeyDown}, {"OnDblClick", &W::noticetreeDblClick}}},
    {"tpage", "notepage", "PropertyNote", {{"Caption", "補足"}}},
    {"tlabel", "Label3", "notepage",
     {{"Left", 8}, {"Top", 8}, {"ShowAccelChar", "False"},
      {"Caption", "メッセージ欄にプログラムファイルを指定すると、メッセージ通知の代わりにプログラム起動が行われま"}}},
    {"tlabel", "Label4", "notepage", {{"Left", 8}, {"Top", 24}, {"Caption", "す。"}}},
    {"tbevel", "Bevel2", "notepage", {{"Left", 8}, {"Top", 46}, {"Width", 529}, {"Height", 2}, {"Shape", "bsTopLine"}}},
    {"tlabel", "Label5", "notepage", {{"Left", 8}, {"Top", 58}, {"Caption", "通知が行われると通知ウインドウが開きます。"}}},
    {"tlabel", "Label6", "notepage",
     {{"Left", 8}, {"Top", 78}, {"Caption", "開かれた通知ウインドウは以下のような方法で閉じることができます。"}}},
    {"tlabel", "Label7", "notepage", {{"Left", 24}, {"Top", 98}, {"Caption", "１．Enterを押す。"}, {"Font.Color", "clBlue"}}},
    {"tlabel", "Label8", "notepage", {{"Left", 24}, {"Top", 114}, {"Caption", "２．ESCを押す。"}, {"Font.Color", "clBlue"}}},
    {"tlabel", "Label9", "notepage",
     {{"Left", 24}, {"Top", 130}, {"Caption", "３．ウインドウをクリック。"}, {"Font.Color", "clBlue"}}},
    {"tlabel", "Label10", "notepage",
     {{"Left", 8}, {"Top", 154}, {"Caption", "能動的に閉じる操作が行われない場合、16秒で自動的に閉じられます。"}}},
    {"tlabel", "Label11", "notepage",
     {{"Left", 8}, {"Top", 178},
      {"Caption", "なお、通知ウインドウは表示の際にウインドウフォーカスを奪いますが、ウインドウを閉じ次第元のフォー"}}},
    {"tlabel", "Label12", "notepage", {{"Left", 8}, {"Top", 194}, {"Caption", "カスを復元します。"}}},
    {"tlabel", "PageLabel", "", {{"Left", 8}, {"Top", 322}, {"Caption", "Notice: 0/0"}}},
    {"tbutton", "PrevButton", "", {{"Left", 296}, {"Top", 320}, {"Width", 81}, {"Caption", "<< 戻る(&P)"},
                                   {"Font.Style", "fsUnderline"}, {"OnClick", &W::PrevButtonClick}}},
    {"tbutton", "NextButton", "", {{"Left", 376}, {"Top", 320}, {"Width", 81}, {"Caption", "次へ(&N)"},
                                   {"Font.Style", "fsUnderline"}, {"OnClick", &W::NextButtonClick}}},
    {"tbutton", "closebutton", "", {{"Left", 472}, {"Top", 320}, {"Width", 81}, {"Caption", "閉じる(&C)"},
                                    {"ModalResult", 1}, {"Font.Style", "fsUnderline"}}},
    {"tstatusbar", "StatusBar1", "", {{"Panels", "50"}, {"SizeGrip", "False"}}},
    {"topendialog", "opendialog", "", {}},
    {"timagelist", "imagelist", "", {}},
    {"tpopupmenu", "pop", "", {{"OnPopup", &W::popPopup}}},
    {"tmenuitem", "KA1", "pop", {{"Caption", "追加(&A)"}, {"OnClick", &W::KA1Click}}},
    {"tmenuitem", "deletebutton", "pop", {{"Caption", "削除(&D)"}, {"OnClick", &W::deletebuttonClick}}},
    {"tmenuitem", "N1", "pop", {{"Caption", "-"}}},
    {"tmenuitem", "K1", "pop", {{"Caption", "最新の情報に更新／ソート(&R)"}, {"ShortCut", "F5"},
                                {"OnClick", &W::K1Click}}},
    {"tmenuitem", "N2", "pop", {{"Caption", "-"}}},
    {"tmenuitem", "KR1", "pop", {{"Caption", "プロパティ(&R)"}, {"Enabled", "False"}}},
  }};
// clang-format on
}  // namespace

Tnoticewizardform::Tnoticewizardform(tcomponent* owner, tnoticelist& list, tprimaryform* mainwindow,
                                     tshownotice shownotice)
    : twizardform(owner, kNoticewizardform,
                  twizardframe{"PropertyListCBox", "PropertyNote", "PageLabel", "PrevButton", "NextButton", "Notice: "}),
      list_(list),
      mainwindow_(mainwindow),
      shownotice_(std::move(shownotice)) {}

void Tnoticewizardform::DeclarePublished(tresourcecontext& c) {
  twizardform::DeclarePublished(c);
  c.Field("StatusBar1", StatusBar1);
  c.Field("closebutton", closebutton);
  c.Field("timelabel", timelabel);
  c.Field("typecbox", typecbox);
  c.Field("dayofweekcbox", dayofweekcbox);
  c.Field("monthcbox", monthcbox);
  c.Field("daycbox", daycbox);
  c.Field("hourcbox", hourcbox);
  c.Field("minutecbox", minutecbox);
  c.Field("messagelabel", messagelabel);
  c.Field("messageedit", messageedit);
  c.Field("browsebutton", browsebutton);
  c.Field("testbutton", testbutton);
  c.Field("noticetree", noticetree);
  c.Field("opendialog", opendialog);
  c.Field("imagelist", imagelist);
  c.Field("pop", pop);
  c.Field("KA1", KA1);
  c.Field("deletebutton", deletebutton);
  c.Field("K1", K1);
  c.Field("KR1", KR1);
}

ttreenode* Tnoticewizardform::SelectedNotice() const {
  ttreenode* node = noticetree->Selected();
  return node && node->Parent() ? node : nullptr;
}

void Tnoticewizardform::RebuildNoticeTree() {
  ttreenode* root = noticetree->RootNode();
  if (!root) return;
  noticetree->BeginUpdate();
  struct tend {
    ttreeview* tree;
    ~tend() { tree->EndUpdate(); }
  } end{noticetree};
  // From the root, the tree would otherwise move its selection through every
  // child that goes, loading each one.
  if (SelectedNotice()) noticetree->SetSelected(root);
  std::vector<std::string> texts;
  texts.reserve(static_cast<size_t>(list_.Count()));
  for (const std::string& record : list_.Lines()) texts.push_back(FormatNoticeText(record));
  noticetree->SetRootChildren(texts, -1);
  root->Expand(false);
}

void Tnoticewizardform::RefreshSelectedNotice() {
  if (ttreenode* node = SelectedNotice()) node->SetText(FormatNoticeText(list_[node->Index()]));
}

void Tnoticewizardform::StoreSelectedNotice() {
  ttreenode* node = SelectedNotice();
  if (!node) return;
  list_.Replace(node->Index(),
                FormatNoticeRecord({typecbox->ItemIndex(), dayofweekcbox->ItemIndex(), monthcbox->ItemIndex(),
                                    daycbox->ItemIndex(), hourcbox->ItemIndex(), minutecbox->ItemIndex(),
                                    messageedit->Text()}));
  RefreshSelectedNotice();
}

void Tnoticewizardform::ApplyTypeVisibility(int type) {
  dayofweekcbox->SetVisible(type == 0);
  monthcbox->SetVisible(type == 1);
  daycbox->SetVisible(type == 1);
}

void Tnoticewizardform::EnableEditing(bool enabled) {
  for (tcontrol* c : std::initializer_list<tcontrol*>{timelabel, typecbox, dayofweekcbox, monthcbox, daycbox, hourcbox,
                                                      minutecbox, messagelabel, messageedit, browsebutton, testbutton})
    c->SetEnabled(enabled);
}

void Tnoticewizardform::FormCreate(tobject*) {
  FillWizardImages(*imagelist);
  OpenFrame();
  noticetree->FullExpand();
  RestoreLastPage(0, false);
  RebuildNoticeTree();
}

void Tnoticewizardform::FormPaint(tobject*) { UpdatePageControls(); }

void Tnoticewizardform::FormClose(tobject*, tcloseaction& action) { action = tcloseaction::caFree; }

void Tnoticewizardform::FormDestroy(tobject*) { CloseFrame(); }

void Tnoticewizardform::NextButtonClick(tobject*) { NextPage(); }
void Tnoticewizardform::PrevButtonClick(tobject*) { PrevPage(); }

void Tnoticewizardform::noticetreeChange(tobject*) {
  loading_ = true;
  struct tdone {
    bool& loading;
    ~tdone() { loading = false; }
  } done{loading_};
  ttreenode* node = SelectedNotice();
  EnableEditing(node != nullptr);
  if (!node) {
    messageedit->SetText("");
    for (tcombobox* list : {typecbox, dayofweekcbox, monthcbox, daycbox, hourcbox, minutecbox}) list->SetItemIndex(0);
    ApplyTypeVisibility(0);
    return;
  }
  // A line off the format shows what can be read of it.
  tnoticerecord r;
  ParseNoticeRecord(list_[node->Index()], r);
  typecbox->SetItemIndex(r.type);
  ApplyTypeVisibility(r.type);
  dayofweekcbox->SetItemIndex(r.weekday);
  monthcbox->SetItemIndex(r.month);
  daycbox->SetItemIndex(r.day);
  hourcbox->SetItemIndex(r.hour);
  minutecbox->SetItemIndex(r.minute);
  messageedit->SetText(r.Message());
}

void Tnoticewizardform::typecboxChange(tobject*) {
  ApplyTypeVisibility(typecbox->ItemIndex());
  if (!loading_) StoreSelectedNotice();
}

void Tnoticewizardform::dayofweekcboxChange(tobject*) {
  if (!loading_) StoreSelectedNotice();
}

void Tnoticewizardform::KA1Click(tobject*) {
  list_.Add(kNewNoticeRecord);
  RebuildNoticeTree();
  noticetree->SetSelected(noticetree->RootNode()->GetLastChild());
  messageedit->SetFocus();
}

void Tnoticewizardform::deletebuttonClick(tobject*) {
  ttreenode* node = SelectedNotice();
  if (!node) return;
  list_.Delete(node->Index());
  node->Delete();
}

void Tnoticewizardform::K1Click(tobject*) {
  list_.Sort();
  RebuildNoticeTree();
}

void Tnoticewizardform::popPopup(tobject*) { deletebutton->SetEnabled(SelectedNotice() != nullptr); }

void Tnoticewizardform::noticetreeEditing(tobject*, bool& allowEdit) { allowEdit = false; }

void Tnoticewizardform::noticetreeKeyDown(tobject* sender, WORD& key, tshiftstate) {
  if (key != VK_DELETE) return;
  popPopup(sender);
  if (deletebutton->Enabled()) deletebutton->Click();
}

void Tnoticewizardform::noticetreeDblClick(tobject* sender) { browsebuttonClick(sender); }

bool Tnoticewizardform::EditingControlFocused() const {
  for (twincontrol* c : std::initializer_list<twincontrol*>{typecbox, dayofweekcbox, monthcbox, daycbox, hourcbox,
                                                           minutecbox, messageedit, browsebutton, testbutton}) {
    HWND focus = GetFocus();
    if (c->HandleAllocated() && focus && (focus == c->Handle() || IsChild(c->Handle(), focus))) return true;
  }
  return false;
}

void Tnoticewizardform::FormKeyDown(tobject*, WORD& key, tshiftstate shift) {
  if (PageKey(key, shift)) return;
  const bool shiftF10 = key == VK_F10 && (shift & ssShift);
  // Shift+F10 in an editing control opens the menu at the tree instead.
  if (key == VK_ESCAPE || (shiftF10 && !EditingControlFocused())) {
    key = 0;
    pop->SetPopupComponent(this);
    pop->Popup(Left(), Top());
  }
}

void Tnoticewizardform::typecboxKeyDown(tobject*, WORD& key, tshiftstate shift) {
  if (key != VK_F10 || !(shift & ssShift)) return;
  key = 0;
  pop->SetPopupComponent(noticetree);
  pop->Popup(Notebook()->Left() + Left() + noticetree->Left(), Notebook()->Top() + Top() + noticetree->Top());
}

void Tnoticewizardform::browsebuttonClick(tobject*) {
  if (!SelectedNotice()) return;
  if (ChooseFile(*opendialog, "EXE実行ファイル(*.exe)|*.exe", mainwindow_))
    messageedit->SetText(opendialog->FileName());
}

void Tnoticewizardform::testbuttonClick(tobject*) {
  const std::string message = messageedit->Text();
  if (platform::FileExists(message)) RunProgramFile(message);
  else if (shownotice_) shownotice_(GetField(message, 0));
}

}  // namespace pendo
