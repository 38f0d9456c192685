// The wizards' tree view and the page frame they share, on real windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "controls/simpletreeview.h"
#include "controls/wizardform.h"
#include "settings/profiler.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

extern const tformdesc kTestwizardform;


class Ttestwizardform : public twizardform {
 public:
  explicit Ttestwizardform(tcomponent* owner)
      : twizardform(owner, kTestwizardform, {"PropertyListCBox", "propertynote", "PageLabel", "PrevButton",
                                             "NextButton", "Test: "}) {}
  tsimpletreeview* configrationlist = nullptr;
  tsimpletreeview* emptytree = nullptr;
  void PrevButtonClick(tobject*) { PrevPage(); }
  void NextButtonClick(tobject*) { NextPage(); }
  void FormKeyDown(tobject*, WORD& key, tshiftstate shift) { PageKey(key, shift); }

 protected:
  void DeclarePublished(tresourcecontext& c) override {
    twizardform::DeclarePublished(c);
    c.Field("configrationlist", configrationlist);
    c.Field("emptytree", emptytree);
  }
};

// clang-format off
const tformdesc kTestwizardform{"testwizardform",
  {{"Caption", "テストウィザード - Test Wizard"}, {"BorderStyle", "bsDialog"}, {"ClientWidth", 449},
   {"ClientHeight", 319}, {"KeyPreview", "True"}, {"OnKeyDown", &Ttestwizardform::FormKeyDown}},
  {
    {"tcombobox", "PropertyListCBox", "", {{"Left", 8}, {"Top", 9}, {"Width", 433}}},
    {"tnotebook", "propertynote", "", {{"Left", 8}, {"Top", 40}, {"Width", 433}, {"Height", 225}}},
    {"tpage", "page0", "propertynote", {{"Caption", "導入"}}},
    {"tpage", "page1", "propertynote", {{"Caption", "概要"}}},
    {"tpage", "page2", "propertynote", {{"Caption", "表示要素"}}},
    {"tsimpletreeview", "configrationlist", "page2",
     {{"Items", "表示要素\t5\t6"}, {"ParentImageIndex", 2}, {"ParentSelectedIndex", 3}}},
    {"tsimpletreeview", "emptytree", "page2", {{"Top", 100}}},
    {"tlabel", "PageLabel", "", {{"Left", 8}, {"Top", 272}, {"Caption", "Test: 0/0"}}},
    {"tbutton", "PrevButton", "", {{"Left", 192}, {"Top", 272}, {"Caption", "<< 戻る(&P)"},
                                   {"OnClick", &Ttestwizardform::PrevButtonClick}}},
    {"tbutton", "NextButton", "", {{"Left", 272}, {"Top", 272}, {"Caption", "次へ(&N)"},
                                   {"OnClick", &Ttestwizardform::NextButtonClick}}},
  }};
// clang-format on

class Wizard : public ::testing::Test {
 protected:
  void SetUp() override {
    test::DeleteProfile("profile_testwizardform");
    form = Application->CreateForm<Ttestwizardform>();
  }
  void TearDown() override {
    if (form) form->Free();
    Pump(10);
  }
  void Reopen(const std::string* lastpage) {
    form->Free();
    test::DeleteProfile("profile_testwizardform");
    if (lastpage) {
      tprofiler p("profile_testwizardform");
      p.WriteString("lastpage", *lastpage);
    }
    form = Application->CreateForm<Ttestwizardform>();
  }
  Ttestwizardform* form = nullptr;
};

std::pair<int, int> ControlImages(ttreeview* tree, ttreenode* node) {
  TVITEMA tv{};
  tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  tv.hItem = node->ItemId();
  SendMessageA(tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
  return {tv.iImage, tv.iSelectedImage};
}

TEST_F(Wizard, SimpleTreeAddsAndClearsTheRootsChildrenOnly) {
  tsimpletreeview* t = form->configrationlist;
  ASSERT_NE(nullptr, t->RootNode());
  t->ClearRoot();  // no children: the root stays as it is
  EXPECT_EQ("表示要素", t->RootNode()->Text());
  EXPECT_EQ(std::make_pair(5, 6), ControlImages(t, t->RootNode()));
  // -1 takes the parent image indexes, anything else is both images.
  ttreenode* a = t->AddRootChild("時計", -1);
  ttreenode* b = t->AddRootChild("日付", 3);
  EXPECT_EQ(std::make_pair(2, 3), ControlImages(t, a));
  EXPECT_EQ(std::make_pair(3, 3), ControlImages(t, b));
  EXPECT_EQ(1, b->Index());
  EXPECT_EQ(t->RootNode(), b->Parent());
  t->ClearRoot();
  EXPECT_EQ(0, t->RootNode()->Count());
  EXPECT_EQ(1, t->Count());
  // A tree described without nodes has no root and gets none.
  EXPECT_EQ(nullptr, form->emptytree->RootNode());
  EXPECT_EQ(nullptr, form->emptytree->AddRootChild("x", -1));
  EXPECT_EQ(0, form->emptytree->Count());
}

TEST_F(Wizard, SimpleTreeSetRootChildrenKeepsTheNodesOfTextsThatStay) {
  tsimpletreeview* t = form->configrationlist;
  ttreenode* clock = t->AddRootChild("時計", -1);
  ttreenode* date1 = t->AddRootChild("日付", -1);
  ttreenode* date2 = t->AddRootChild("日付", -1);
  t->SetSelected(date1);
  t->SetRootChildren({"日付", "x", "時計", "日付"}, 3);
  ASSERT_EQ(4, t->RootNode()->Count());
  std::vector<ttreenode*> expected{date1, t->RootNode()->Item(1), clock, date2};
  auto next = [t](UINT which, HTREEITEM from) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(t->Handle(), TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(from)));
  };
  HTREEITEM item = next(TVGN_CHILD, t->RootNode()->ItemId());
  for (int i = 0; i < 4; ++i, item = next(TVGN_NEXT, item)) {
    EXPECT_EQ(expected[i], t->RootNode()->Item(i)) << i;
    EXPECT_EQ(expected[i]->ItemId(), item) << i;  // the control shows the same order
  }
  EXPECT_EQ("x", t->RootNode()->Item(1)->Text());
  EXPECT_EQ(std::make_pair(3, 3), ControlImages(t, t->RootNode()->Item(1)));
  EXPECT_EQ(date1, t->Selected());
  t->SetRootChildren({"時計"}, -1);
  EXPECT_EQ(clock, t->RootNode()->Item(0));
  EXPECT_EQ(2, t->Count());
  EXPECT_THROW(t->ReorderChildren(t->RootNode(), {clock, clock}), std::invalid_argument);
}

TEST_F(Wizard, PagesStepWithTheButtonsAndCtrlTabAndTheCounterFollows) {
  form->OpenFrame();
  EXPECT_EQ((std::vector<std::string>{"導入", "概要", "表示要素"}), form->PageList()->Items());
  form->RestoreLastPage(0, false);
  form->UpdatePageControls();
  form->Show();
  Pump();
  struct Step {
    const char* how;
    int page;
    const char* label;
    bool prev, next;
  } steps[] = {
      {"", 0, "Test: 0/2", false, true},     {"next", 1, "Test: 1/2", true, true},
      {"next", 2, "Test: 2/2", true, false}, {"ctrl+tab", 2, "Test: 2/2", true, false},
      {"prev", 1, "Test: 1/2", true, true},  {"ctrl+shift+tab", 0, "Test: 0/2", false, true},
  };
  for (const Step& s : steps) {
    const std::string how = s.how;
    if (how == "next") SendMessageA(form->NextButton()->Handle(), BM_CLICK, 0, 0);
    if (how == "prev") SendMessageA(form->PrevButton()->Handle(), BM_CLICK, 0, 0);
    if (how.rfind("ctrl", 0) == 0) {
      test::HoldKeys(true, false, how == "ctrl+shift+tab");
      PostMessageA(form->PageList()->Handle(), WM_KEYDOWN, VK_TAB, 0);
      Pump();
      test::HoldKeys(false, false, false);
    }
    EXPECT_EQ(s.page, form->PageIndex()) << how;
    EXPECT_EQ(s.page, form->PageList()->ItemIndex()) << how;
    EXPECT_EQ(s.label, form->PageLabel()->Caption()) << how;
    EXPECT_EQ(s.prev, IsWindowEnabled(form->PrevButton()->Handle()) != FALSE) << how;
    EXPECT_EQ(s.next, IsWindowEnabled(form->NextButton()->Handle()) != FALSE) << how;
  }
}

TEST_F(Wizard, LastPageIsStoredOnCloseAndRestoredByTheDialogsRule) {
  form->OpenFrame();
  form->ShowPage(2);
  form->CloseFrame();
  EXPECT_EQ(2, tprofiler("profile_testwizardform").ReadInteger("lastpage", -9));
  struct Case {
    const char* stored;  // null: no key
    int defaultPage;
    bool clamp;
    int shown;
  } cases[] = {
      {nullptr, 1, false, 1}, {"2", 0, false, 2}, {"x", 1, false, 1},
      {"7", 0, false, 0},     {"7", 0, true, 2},  {"-1", 1, true, 0},
  };
  for (const Case& c : cases) {
    const std::string stored = c.stored ? c.stored : "";
    Reopen(c.stored ? &stored : nullptr);
    form->OpenFrame();
    form->RestoreLastPage(c.defaultPage, c.clamp);
    EXPECT_EQ(c.shown, form->PageIndex()) << stored << " " << c.clamp;
    EXPECT_EQ(c.shown, form->PageList()->ItemIndex());
  }
}

}  // namespace
}  // namespace pendo
