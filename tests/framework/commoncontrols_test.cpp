// The controls the wizards stand on, with real windows and real messages:
// tree view, notebook pages, status bar panels, the file-open dialog, drop-down
// list heights, edit changes and label accelerators.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/extctrls.h"
#include "framework/form.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "settings/widetext.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

extern const tformdesc kControlsform;


class Tcontrolsform : public tform {
 public:
  explicit Tcontrolsform(tcomponent* owner) : tform(owner, kControlsform) {}
  ttreeview* tree = nullptr;
  tnotebook* book = nullptr;
  tlabel* messagelabel = nullptr;
  tedit* messageedit = nullptr;
  tcombobox* minutecbox = nullptr;
  tcombobox* typecbox = nullptr;
  tstatusbar* status = nullptr;
  topendialog* opendialog = nullptr;
  tpopupmenu* pop = nullptr;
  std::vector<std::string> events;
  bool allowEdit = false;

  void treeChange(tobject*) { events.push_back("change " + (tree->Selected() ? tree->Selected()->Text() : "")); }
  void treeEditing(tobject*, bool& allow) { allow = allowEdit; }
  void treeDblClick(tobject*) { events.push_back("dblclick"); }
  void treeKeyDown(tobject*, WORD& key, tshiftstate) { events.push_back("key " + std::to_string(key)); }
  void bookPageChanged(tobject*) { events.push_back("page " + std::to_string(book->PageIndex())); }
  void messageeditChange(tobject*) { events.push_back("edit " + messageedit->Text()); }
  void popPopup(tobject*) {
    events.push_back("popup");
    SetTimer(nullptr, 0, 50, &EndMenuSoon);
  }

 protected:
  void DeclarePublished(tresourcecontext& c) override {
    c.Field("tree", tree);
    c.Field("book", book);
    c.Field("messagelabel", messagelabel);
    c.Field("messageedit", messageedit);
    c.Field("minutecbox", minutecbox);
    c.Field("typecbox", typecbox);
    c.Field("status", status);
    c.Field("opendialog", opendialog);
    c.Field("pop", pop);
  }
};

// clang-format off
const tformdesc kControlsform{"controlsform",
  {{"Caption", "Controls"}, {"BorderStyle", "bsDialog"}, {"ClientWidth", 400}, {"ClientHeight", 300},
   {"Font.Name", "ＭＳ Ｐゴシック"}, {"Font.Height", -12}},
  {
    {"ttreeview", "tree", "", {{"Left", 8}, {"Top", 8}, {"Width", 180}, {"Height", 150}, {"PopupMenu", "pop"},
                               {"Items", "イベント\t0\t0\n\tサウンド\t1\t2\n\t\t告知時\t4\n\t\t全時報\t4\n\tその他"},
                               {"OnChange", &Tcontrolsform::treeChange}, {"OnEditing", &Tcontrolsform::treeEditing},
                               {"OnDblClick", &Tcontrolsform::treeDblClick}, {"OnKeyDown", &Tcontrolsform::treeKeyDown}}},
    {"tnotebook", "book", "", {{"Left", 200}, {"Top", 8}, {"Width", 190}, {"Height", 150},
                               {"OnPageChanged", &Tcontrolsform::bookPageChanged}}},
    {"tpage", "page1", "book", {{"Caption", "通知項目コントロール"}}},
    {"tpage", "page2", "book", {{"Caption", "補足"}}},
    {"tlabel", "messagelabel", "page1", {{"Left", 4}, {"Top", 4}, {"Caption", "メッセージ(&M)"},
                                         {"FocusControl", "messageedit"}, {"Font.Color", "clBlue"}}},
    {"tedit", "messageedit", "page1", {{"Left", 4}, {"Top", 24}, {"OnChange", &Tcontrolsform::messageeditChange}}},
    {"tcombobox", "minutecbox", "page1", {{"Left", 4}, {"Top", 52}, {"DropDownCount", 24}}},
    {"tcombobox", "typecbox", "page1", {{"Left", 4}, {"Top", 80}, {"Items", "毎週|ポ|日付"}}},
    {"tstatusbar", "status", "", {{"Panels", "50,80"}, {"SizeGrip", "False"}}},
    {"topendialog", "opendialog", "", {{"Title", "Choose a program"}}},
    {"tpopupmenu", "pop", "", {{"OnPopup", &Tcontrolsform::popPopup}}},
    {"tmenuitem", "additem", "pop", {{"Caption", "追加(&A)"}}},
  }};
// clang-format on

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    form = Application->CreateForm<Tcontrolsform>();
    form->Show();
    Pump();
    form->events.clear();  // the tree may select its first node when it takes the focus
  }
  void TearDown() override {
    form->Free();
    Pump(10);
  }
  // The tree follows a press until the release is in its queue.
  void Click(POINT p, UINT down = WM_LBUTTONDOWN) {
    HWND t = form->tree->Handle();
    PostMessageA(t, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(t, down, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    Pump();
  }
  // The centre of a node's label, in the tree's client coordinates.
  POINT NodePoint(ttreenode* node) {
    RECT r{};
    const HTREEITEM item = node->ItemId();
    std::memcpy(&r, &item, sizeof item);
    SendMessageA(form->tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  Tcontrolsform* form = nullptr;
};

TEST_F(Controls, TreeFromTheDescriptionCarriesTextsImagesAndLevels) {
  ttreeview* t = form->tree;
  ASSERT_EQ(1, t->TopCount());
  EXPECT_EQ(5, t->Count());
  ttreenode* sound = t->TopItem(0)->Item(0);
  EXPECT_EQ("サウンド", sound->Text());
  EXPECT_EQ(2, sound->Count());
  EXPECT_EQ(1, sound->Item(1)->Index());
  EXPECT_EQ(t->TopItem(0), sound->Parent());
  // What the control holds, asked through its own messages.
  TVITEMA tv{};
  char text[64] = {0};
  tv.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  tv.hItem = sound->ItemId();
  tv.pszText = text;
  tv.cchTextMax = sizeof text;
  ASSERT_TRUE(SendMessageA(t->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
  EXPECT_STREQ("サウンド", text);
  EXPECT_EQ(1, tv.iImage);
  EXPECT_EQ(2, tv.iSelectedImage);
  EXPECT_EQ(4, sound->Item(0)->SelectedIndex());  // one index is both images
  EXPECT_FALSE(sound->Expanded());
  t->FullExpand();
  EXPECT_TRUE(sound->Expanded());
  EXPECT_TRUE(t->TopItem(0)->Expanded());
}

TEST_F(Controls, TreeSelectionByClickAndMessageFiresChangeAndDeletingKeepsIndexesTrue) {
  ttreeview* t = form->tree;
  t->FullExpand();
  ttreenode* sound = t->TopItem(0)->Item(0);
  const POINT p = NodePoint(sound->Item(1));
  Click(p);
  EXPECT_EQ(sound->Item(1), t->Selected());
  EXPECT_EQ(std::vector<std::string>{"change 全時報"}, form->events);
  EXPECT_EQ(sound->Item(0), t->NodeAt(NodePoint(sound->Item(0)).x, NodePoint(sound->Item(0)).y));
  // Deleting the selected node: whatever the control selects next is a live
  // node whose index is its place among the remaining ones.
  form->events.clear();
  sound->Item(1)->Delete();
  EXPECT_EQ(4, t->Count());
  EXPECT_EQ(1, sound->Count());
  if (ttreenode* s = t->Selected()) {
    EXPECT_GE(s->Index(), 0);
  }
  t->SetSelected(sound->Item(0));
  EXPECT_EQ("change 告知時", form->events.back());
  // A changed text is what the control shows and hands out.
  sound->Item(0)->SetText("時報 09時");
  char text[64] = {0};
  TVITEMA tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = sound->Item(0)->ItemId();
  tv.pszText = text;
  tv.cchTextMax = sizeof text;
  ASSERT_TRUE(SendMessageA(t->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
  EXPECT_STREQ("時報 09時", text);
  t->DeleteChildren(t->TopItem(0));
  EXPECT_EQ(1, t->Count());
  EXPECT_EQ("イベント", t->TopItem(0)->Text());
}

TEST_F(Controls, TreeRefusesLabelEditingWhenItsHandlerSaysSo) {
  ttreeview* t = form->tree;
  t->SetSelected(t->TopItem(0));
  const LPARAM root = reinterpret_cast<LPARAM>(t->TopItem(0)->ItemId());
  EXPECT_EQ(0, SendMessageA(t->Handle(), TVM_EDITLABELA, 0, root));
  form->allowEdit = true;
  HWND edit = reinterpret_cast<HWND>(SendMessageA(t->Handle(), TVM_EDITLABELA, 0, root));
  EXPECT_NE(nullptr, edit);
  SendMessageA(t->Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
  EXPECT_EQ("イベント", t->TopItem(0)->Text());
}

TEST_F(Controls, TreeDoubleClickKeysAndItsPopupMenuReachTheirHandlers) {
  ttreeview* t = form->tree;
  const POINT p = NodePoint(t->TopItem(0));
  Click(p);
  Click(p, WM_LBUTTONDBLCLK);
  EXPECT_NE(form->events.end(), std::find(form->events.begin(), form->events.end(), "dblclick"));
  form->events.clear();
  t->SetFocus();
  PostMessageA(t->Handle(), WM_KEYDOWN, VK_DELETE, 0);
  Pump();
  EXPECT_EQ(std::vector<std::string>{"key 46"}, form->events);
  form->events.clear();
  POINT screen = t->ClientToScreen(p);
  SendMessageA(t->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(t->Handle()), MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(std::vector<std::string>{"popup"}, form->events);
  EXPECT_EQ(static_cast<tcontrol*>(t), form->pop->PopupComponent());
}

TEST_F(Controls, NotebookKeepsItsPageForAnIndexWithoutOneAndReportsChanges) {
  tnotebook* b = form->book;
  ASSERT_EQ(2, b->PageCount());
  EXPECT_EQ("補足", b->Pages()[1]->Caption());
  EXPECT_TRUE(form->events.empty());  // loading shows page 0 without an event
  b->SetPageIndex(1);
  b->SetPageIndex(2);
  b->SetPageIndex(-1);
  b->SetPageIndex(1);
  EXPECT_EQ(1, b->PageIndex());
  EXPECT_TRUE(IsWindowVisible(b->Pages()[1]->Handle()));
  EXPECT_FALSE(IsWindowVisible(b->Pages()[0]->Handle()));
  EXPECT_EQ(std::vector<std::string>{"page 1"}, form->events);
}

TEST_F(Controls, StatusBarHasItsPanelsOfTheirWidths) {
  HWND h = form->status->Handle();
  int edges[4] = {0};
  ASSERT_EQ(2, SendMessageA(h, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)));
  EXPECT_EQ(50, edges[0]);
  EXPECT_EQ(130, edges[1]);
  form->status->SetPanelText(1, "状態");
  EXPECT_EQ("状態", form->status->PanelText(1));
  EXPECT_EQ("", form->status->PanelText(0));
  EXPECT_FALSE(GetWindowLongA(h, GWL_STYLE) & SBARS_SIZEGRIP);
}

TEST_F(Controls, StylePropertiesSetOnAnExistingWindowReachIt) {
  struct Case {
    const char* what;
    std::function<void(bool)> set;
    twincontrol* control;
    LONG_PTR bit;  // present when the property is set true
  } cases[] = {
      {"TabStop", [&](bool v) { form->messageedit->SetTabStop(v); }, form->messageedit, WS_TABSTOP},
      {"ReadOnly", [&](bool v) { form->tree->SetReadOnly(!v); }, form->tree, TVS_EDITLABELS},
      {"HideSelection", [&](bool v) { form->tree->SetHideSelection(!v); }, form->tree, TVS_SHOWSELALWAYS},
      {"SizeGrip", [&](bool v) { form->status->SetSizeGrip(v); }, form->status, SBARS_SIZEGRIP},
      {"ShowAccelChar", [&](bool v) { form->messagelabel->SetShowAccelChar(!v); }, form->messagelabel, SS_NOPREFIX},
  };
  for (const Case& c : cases) {
    HWND h = c.control->Handle();
    const LONG_PTR others = GetWindowLongPtrA(h, GWL_STYLE) & ~c.bit & ~WS_VISIBLE;
    for (bool v : {true, false, true}) {
      c.set(v);
      EXPECT_EQ(v ? c.bit : 0, GetWindowLongPtrA(h, GWL_STYLE) & c.bit) << c.what << " " << v;
    }
    EXPECT_EQ(others, GetWindowLongPtrA(h, GWL_STYLE) & ~c.bit & ~WS_VISIBLE) << c.what << ": other bits stay";
  }
  EXPECT_TRUE(GetWindowLongPtrA(form->book->Handle(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  EXPECT_TRUE(GetWindowLongPtrA(form->book->Pages()[0]->Handle(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
}

TEST_F(Controls, DropDownListShowsItsLineCountAndListItemsSplitOnlyAtRealBars) {
  // "ポ" is 0x83 0x7C: its second byte is a "|" that separates nothing.
  EXPECT_EQ((std::vector<std::string>{"毎週", "ポ", "日付"}), form->typecbox->Items());
  struct Case {
    int items, lines;
  } cases[] = {{60, 24}, {5, 5}};
  for (const Case& c : cases) {
    std::vector<std::string> items;
    for (int i = 0; i < c.items; ++i) items.push_back(std::to_string(i) + "分");
    form->minutecbox->SetItems(items);
    HWND h = form->minutecbox->Handle();
    SendMessageA(h, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(h, &info));
    RECT r;
    GetClientRect(info.hwndList, &r);
    const int item = static_cast<int>(SendMessageA(h, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(c.lines, r.bottom / item) << c.items << " items";
    SendMessageA(h, CB_SHOWDROPDOWN, FALSE, 0);
  }
}

TEST_F(Controls, TypingIntoAnEditFiresItsChangeWithTheNewText) {
  form->messageedit->SetFocus();
  PostMessageA(form->messageedit->Handle(), WM_CHAR, 'a', 0);
  PostMessageA(form->messageedit->Handle(), WM_CHAR, 'b', 0);
  Pump();
  EXPECT_EQ((std::vector<std::string>{"edit a", "edit ab"}), form->events);
}

TEST_F(Controls, LabelAcceleratorFocusesItsControlAndBlueFontDrawsBlue) {
  EXPECT_EQ('M', AcceleratorOf("メッセージ(&M)"));
  EXPECT_EQ(0, AcceleratorOf("A&&B"));
  form->tree->SetFocus();
  PostMessageA(form->tree->Handle(), WM_SYSCHAR, 'm', 1 << 29);
  Pump();
  EXPECT_EQ(form->messageedit->Handle(), GetFocus());
  // The label's text is drawn in its font's colour.
  HWND label = form->messagelabel->Handle();
  UpdateWindow(label);
  HDC dc = GetDC(label);
  int blue = 0;
  for (int y = 0; y < form->messagelabel->Height(); ++y)
    for (int x = 0; x < form->messagelabel->Width(); ++x)
      if (GetPixel(dc, x, y) == RGB(0, 0, 255)) ++blue;
  ReleaseDC(label, dc);
  EXPECT_GT(blue, 10);
  // A hidden label still hands its key on; a hidden control takes none.
  struct Step {
    bool labelVisible, editVisible;
    HWND focus;
  } steps[] = {{false, true, form->messageedit->Handle()}, {true, false, form->tree->Handle()}};
  for (const Step& s : steps) {
    form->messagelabel->SetVisible(s.labelVisible);
    form->messageedit->SetVisible(s.editVisible);
    form->tree->SetFocus();
    PostMessageA(form->tree->Handle(), WM_SYSCHAR, 'm', 1 << 29);
    Pump();
    EXPECT_EQ(s.focus, GetFocus()) << s.labelVisible;
  }
}

TEST_F(Controls, FileOpenDialogShowsTheFilterAndReturnsTheChosenFullName) {
  EXPECT_EQ(std::string("ポ(*.exe)\0*.exe\0\0", 17), topendialog::SystemFilter("ポ(*.exe)|*.exe"));
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string file = std::string(dir) + "pendo_open.exe";
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  form->opendialog->SetFilter("EXE実行ファイル(*.exe)|*.exe");
  form->opendialog->SetInitialDir(dir);
  {
    test::tfiledialogdriver driver("Choose a program", "pendo_open.exe");
    ASSERT_TRUE(form->opendialog->Execute());
    EXPECT_EQ("EXE実行ファイル(*.exe)", driver.Filter());
  }
  EXPECT_EQ(0, lstrcmpiA(file.c_str(), form->opendialog->FileName().c_str())) << form->opendialog->FileName();
  {
    test::tfiledialogdriver driver("Choose a program", "");
    EXPECT_FALSE(form->opendialog->Execute());
  }
  EXPECT_EQ(0, lstrcmpiA(file.c_str(), form->opendialog->FileName().c_str()));
  DeleteFileA(file.c_str());

  // A name code page 932 cannot hold is refused with a message, and not taken.
  wchar_t wideDir[MAX_PATH];
  GetTempPathW(MAX_PATH, wideDir);
  const std::wstring unheld = std::wstring(wideDir) + L"pendo_caf\u00e9.exe";
  CloseHandle(CreateFileW(unheld.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  std::wstring said;
  std::thread user([&] {
    HWND box = nullptr, message = nullptr;
    for (int i = 0; i < 400 && !box; ++i, Sleep(25)) box = FindWindowW(L"#32770", L"Choose a program");
    if (!box) return;
    Sleep(200);
    SetDlgItemTextW(box, edt1, unheld.c_str());
    SetDlgItemTextW(box, cmb13, unheld.c_str());
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 400 && !message; ++i, Sleep(25)) {
      HWND h = FindWindowW(L"#32770", nullptr);
      if (h && h != box && IsWindowVisible(h) && GetDlgItem(h, 0xFFFF)) message = h;
    }
    if (!message) return;
    wchar_t text[512] = L"";
    GetDlgItemTextW(message, 0xFFFF, text, 512);
    said = text;
    PostMessageW(message, WM_COMMAND, IDOK, 0);
  });
  EXPECT_FALSE(form->opendialog->Execute());
  user.join();
  EXPECT_EQ(Wide(topendialog::kNameNotHeldText), said);
  EXPECT_EQ(0, lstrcmpiA(file.c_str(), form->opendialog->FileName().c_str())) << "the name before stays";
  DeleteFileW(unheld.c_str());
}

}  // namespace
}  // namespace pendo
