// The form framework with real windows: descriptions, ownership, events,
// graphic controls, menus, timers in modal loops, drawing and handles.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/form.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "framework/timer.h"
#include "framework/windowtext.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

std::vector<std::string> g_events;

// A windowless control that records its paints and paints itself red.
class tredbox : public tgraphiccontrol {
 public:
  using tgraphiccontrol::tgraphiccontrol;
  void Paint(tcanvas& c) override {
    ++paints;
    c.Brush.SetColor(clRed);
    c.Pen.SetColor(clRed);
    c.Rectangle(0, 0, Width(), Height());
  }
  int paints = 0;
};

class tnoisy : public tcomponent {
 public:
  using tcomponent::tcomponent;
  ~tnoisy() override { g_events.push_back("free " + Name()); }
};


class Ttestform : public tform {
 public:
  explicit Ttestform(tcomponent* owner);
  tbutton* okbutton = nullptr;
  tredbox* box = nullptr;
  tnotebook* book = nullptr;
  tedit* nameedit = nullptr;
  tcombobox* kindcbox = nullptr;
  tcheckbox* checkbox = nullptr;
  tlabel* label = nullptr;
  tpopupmenu* formmenu = nullptr;
  tmenuitem* lockitem = nullptr;
  ttimer* ticker = nullptr;
  int ticks = 0, okClicks = 0, boxClicks = 0, propertyClicks = 0;
  bool allowClose = true;
  tcloseaction closeAction = tcloseaction::caHide;
  bool throwOnOk = false;

  void FormCreate(tobject*) { g_events.push_back("create"); }
  void FormDestroy(tobject*) { g_events.push_back("destroy"); }
  void FormShow(tobject*) { g_events.push_back("show"); }
  void FormHide(tobject*) { g_events.push_back("hide"); }
  void FormClose(tobject*, tcloseaction& a) { a = closeAction; }
  void FormCloseQuery(tobject*, bool& can) { can = allowClose; }
  void okbuttonClick(tobject*) {
    ++okClicks;
    if (throwOnOk) throw std::runtime_error("handler failed");
  }
  void boxClick(tobject*) { ++boxClicks; }
  void propertyitemClick(tobject*) { ++propertyClicks; }
  void tickerTimer(tobject*) {
    if (++ticks == 3) SetModalResult(mrOk);
  }

 protected:
  void DeclarePublished(tresourcecontext& c) override {
    // Registered once, as a program registers its classes at start-up.
    [[maybe_unused]] static const bool registered =
        (c.RegisterClass<tredbox>("tredbox"), c.RegisterClass<tnoisy>("tnoisy"), true);
    c.Field("okbutton", okbutton);
    c.Field("box", box);
    c.Field("book", book);
    c.Field("nameedit", nameedit);
    c.Field("kindcbox", kindcbox);
    c.Field("checkbox", checkbox);
    c.Field("label", label);
    c.Field("formmenu", formmenu);
    c.Field("lockitem", lockitem);
    c.Field("ticker", ticker);
  }
};

// clang-format off
const tformdesc kTestform{"testform",
  {{"Caption", "Test"}, {"BorderStyle", "bsSingle"}, {"Left", 100}, {"Top", 80}, {"ClientWidth", 300},
   {"ClientHeight", 200}, {"Color", "clWhite"}, {"PopupMenu", "formmenu"},
   {"OnCreate", &Ttestform::FormCreate}, {"OnDestroy", &Ttestform::FormDestroy}, {"OnShow", &Ttestform::FormShow},
   {"OnHide", &Ttestform::FormHide},
   {"OnClose", &Ttestform::FormClose}, {"OnCloseQuery", &Ttestform::FormCloseQuery}},
  {
    {"tnoisy", "first", "", {}},
    {"tbutton", "okbutton", "", {{"Left", 10}, {"Top", 150}, {"Caption", "OK"}, {"Default", "True"},
                                  {"OnClick", &Ttestform::okbuttonClick}}},
    {"tbutton", "cancelbutton", "", {{"Left", 100}, {"Top", 150}, {"Caption", "Cancel"}, {"Cancel", "True"},
                                      {"ModalResult", "mrCancel"}}},
    {"tredbox", "box", "", {{"Left", 20}, {"Top", 20}, {"Width", 40}, {"Height", 30},
                            {"OnClick", &Ttestform::boxClick}}},
    {"tnotebook", "book", "", {{"Left", 150}, {"Top", 10}, {"Width", 140}, {"Height", 100}}},
    {"tpage", "page1", "book", {}},
    {"tpage", "page2", "book", {}},
    {"tedit", "nameedit", "page2", {{"Left", 5}, {"Top", 5}, {"Text", "abc"}}},
    {"tcombobox", "kindcbox", "page1", {{"Left", 5}, {"Top", 5}, {"Items", "one|two|three"}, {"ItemIndex", 1}}},
    {"tcheckbox", "checkbox", "", {{"Left", 10}, {"Top", 100}, {"Caption", "check"}, {"Checked", "True"},
                                    {"TabStop", "False"}}},
    {"tlabel", "label", "", {{"Left", 10}, {"Top", 70}, {"Caption", "時報の設定"}}},
    {"tpopupmenu", "formmenu", "", {}},
    {"tmenuitem", "propertyitem", "formmenu", {{"Caption", "プロパティ(&R)..."}, {"ShortCut", "Ctrl+R"},
                                                {"OnClick", &Ttestform::propertyitemClick}}},
    {"tmenuitem", "N1", "formmenu", {{"Caption", "-"}}},
    {"tmenuitem", "lockitem", "formmenu", {{"Caption", "ロック(&L)"}, {"Checked", "True"}}},
    {"tmenuitem", "subitem", "formmenu", {{"Caption", "位置合わせ(&D)"}}},
    {"tmenuitem", "topitem", "subitem", {{"Caption", "画面上端(&T)"}}},
    {"ttimer", "ticker", "", {{"Interval", 20}, {"Enabled", "False"}, {"OnTimer", &Ttestform::tickerTimer}}},
    {"tnoisy", "last", "", {}},
  }};
// clang-format on

Ttestform::Ttestform(tcomponent* owner) : tform(owner, kTestform) {}

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

void CALLBACK PressEnterThenEsc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND target = GetFocus() ? GetFocus() : FindWindowA("Ttestform", "Test");
  PostMessageA(target, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0);
}

class Framework : public ::testing::Test {
 protected:
  void SetUp() override {
    g_events.clear();
    form = Application->CreateForm<Ttestform>();
  }
  void TearDown() override {
    if (form) form->Free();
    Application->OnException = nullptr;
    Pump(10);
  }
  Ttestform* form = nullptr;
};

TEST_F(Framework, DescriptionBuildsTheFormItsComponentsAndBindsFieldsAndHandlers) {
  HWND h = FindWindowA("Ttestform", "Test");
  ASSERT_EQ(h, form->Handle());
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(300, client.right);
  EXPECT_EQ(200, client.bottom);
  EXPECT_EQ(100, form->Left());
  EXPECT_EQ(Application->Handle(), GetWindow(h, GW_OWNER));
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_EQ(std::vector<std::string>{"create"}, g_events);
  EXPECT_EQ(form->formmenu, form->PopupMenu());
  // Controls placed on their named parents, with their described state.
  EXPECT_EQ(GetParent(form->nameedit->Handle()), form->book->Pages()[1]->Handle());
  EXPECT_EQ("abc", form->nameedit->Text());
  EXPECT_EQ(1, form->kindcbox->ItemIndex());
  EXPECT_TRUE(form->checkbox->Checked());
  char text[64] = {0};
  GetWindowTextA(form->label->Handle(), text, sizeof text);
  EXPECT_STREQ("時報の設定", text);
  EXPECT_GT(form->label->Width(), 0);  // sized to its text
  EXPECT_TRUE(form->book->Pages()[0]->Visible());
  EXPECT_FALSE(form->book->Pages()[1]->Visible());
  form->book->SetPageIndex(1);
  EXPECT_FALSE(IsWindowVisible(form->book->Pages()[0]->Handle()) && form->book->Pages()[0]->Visible());
  EXPECT_TRUE(form->book->Pages()[1]->Visible());
}

const tformdesc kBadProperty{"badform", {{"Colour", "clRed"}}, {}};
const tformdesc kBadHandler{"badform", {}, {{"tbutton", "b", "", {{"OnClick", &Ttestform::okbuttonClick}}}}};
const tformdesc kBadClass{"badform", {}, {{"tfrobnicator", "f", "", {}}}};
class Tbadform : public tform {
 public:
  Tbadform(tcomponent* owner, const tformdesc& d) : tform(owner, d) {}
};

TEST_F(Framework, DescriptionMistakesAreRefusedWithoutLeavingWindowsBehind) {
  const DWORD user = test::UserObjects();
  EXPECT_THROW(Application->CreateForm<Tbadform>(kBadProperty), std::logic_error);
  EXPECT_THROW(Application->CreateForm<Tbadform>(kBadHandler), std::logic_error);
  EXPECT_THROW(Application->CreateForm<Tbadform>(kBadClass), std::logic_error);
  EXPECT_EQ(nullptr, FindWindowA("Tbadform", nullptr));
  EXPECT_EQ(user, test::UserObjects());
  // Classes are registered once, at start-up; a second registration is a mistake.
  EXPECT_THROW(tresourcecontext::RegisterClass<tlabel>("tlabel"), std::logic_error);
}

const tformdesc kTabform{"tabform", {{"Caption", "Tabs"}, {"ClientWidth", 200}, {"ClientHeight", 60}},
                         {{"tbutton", "b1", "", {{"Left", 10}, {"TabOrder", 2}}},
                          {"tbutton", "b2", "", {{"Left", 70}, {"TabOrder", 0}}},
                          {"tbutton", "b3", "", {{"Left", 130}, {"TabOrder", 1}}}}};

TEST_F(Framework, TabOrderFromTheDescriptionIsWhereFocusStartsAndTheOrderTabFollows) {
  auto* f = Application->CreateForm<Tbadform>(kTabform);
  auto button = [f](const char* name) { return dynamic_cast<twincontrol*>(f->FindComponent(name)); };
  EXPECT_EQ(2, button("b1")->TabOrder());
  EXPECT_EQ(0, button("b2")->TabOrder());
  EXPECT_EQ(1, button("b3")->TabOrder());
  f->Show();
  Pump();
  for (const char* expected : {"b2", "b3", "b1", "b2"}) {
    EXPECT_EQ(button(expected)->Handle(), GetFocus()) << expected;
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
  }
  button("b1")->SetTabOrder(0);
  EXPECT_EQ(1, button("b2")->TabOrder());
  f->Free();
}

TEST_F(Framework, TheApplicationOwnsEveryFormFromItsMakingAndOnlyTheMainFormEndsTheProgram) {
  auto kept = [](tform* f) {
    const auto& forms = Application->Forms();
    return std::find(forms.begin(), forms.end(), f) != forms.end();
  };
  EXPECT_TRUE(kept(form));
  EXPECT_EQ(Application->MainForm(), nullptr) << "a form is no main form unless made as one";
  auto* main = Application->CreateMainForm<Ttestform>();
  EXPECT_EQ(Application->MainForm(), main);
  main->Free();
  EXPECT_EQ(Application->MainForm(), nullptr);
  EXPECT_FALSE(kept(main));
  const size_t before = Application->Forms().size();
  EXPECT_THROW(Application->CreateMainForm<Tbadform>(kBadClass), std::logic_error);
  EXPECT_EQ(Application->Forms().size(), before) << "a form whose making failed is freed";
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(Framework, HandleMakesTheWindowOnDemandWhileExistingHandleOnlyLooks) {
  auto* f = new Tbadform(nullptr, kTabform);
  EXPECT_EQ(nullptr, f->ExistingHandle());
  const HWND made = f->Handle();
  EXPECT_TRUE(IsWindow(made));
  EXPECT_EQ(made, f->ExistingHandle());
  f->Free();
  EXPECT_FALSE(IsWindow(made));
}

TEST_F(Framework, FreeingRunsTheDestroyEventThenFreesComponentsNewestFirst) {
  form->Free();
  form = nullptr;
  ASSERT_GE(g_events.size(), 4u);
  EXPECT_EQ("destroy", g_events[1]);
  EXPECT_EQ("free last", g_events[2]);
  EXPECT_EQ("free first", g_events[3]);
  EXPECT_EQ(nullptr, FindWindowA("Ttestform", nullptr));
}

TEST_F(Framework, ShowAndHideFireTheirEventsOnce) {
  form->Show();
  Pump();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  form->Hide();
  form->Hide();
  EXPECT_EQ((std::vector<std::string>{"create", "show", "hide"}), g_events);
}

TEST_F(Framework, GraphicControlPaintsOnItsParentAndTakesItsMouseClicks) {
  form->Show();
  UpdateWindow(form->Handle());
  EXPECT_GE(form->box->paints, 1);
  HDC dc = GetDC(form->Handle());
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 25, 25));   // inside the box
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 5, 5));  // the form's own colour
  ReleaseDC(form->Handle(), dc);
  SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
  SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
  EXPECT_EQ(1, form->boxClicks);
  // Pressed on the box, released outside it: no click.
  SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
  SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(250, 180));
  EXPECT_EQ(1, form->boxClicks);
}

TEST_F(Framework, ExceptionInAHandlerGoesToTheErrorHookAndTheProgramGoesOn) {
  std::string reported;
  Application->OnException = [&](const std::exception* e) { reported = e ? e->what() : "?"; };
  form->throwOnOk = true;
  form->Show();
  SendMessageA(form->okbutton->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ("handler failed", reported);
  form->throwOnOk = false;
  SendMessageA(form->okbutton->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(2, form->okClicks);
}

TEST_F(Framework, MenuShowsCaptionsShortcutsChecksSeparatorsAndSubmenus) {
  tmenuhandle menu = form->formmenu->Items().BuildMenu();
  ASSERT_EQ(4, GetMenuItemCount(menu.get()));
  char text[128];
  GetMenuStringA(menu.get(), 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("プロパティ(&R)...\tCtrl+R", text);
  EXPECT_TRUE(GetMenuState(menu.get(), 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(menu.get(), 2, MF_BYPOSITION) & MF_CHECKED);
  form->lockitem->SetChecked(false);
  menu = form->formmenu->Items().BuildMenu();
  EXPECT_FALSE(GetMenuState(menu.get(), 2, MF_BYPOSITION) & MF_CHECKED);
  HMENU sub = GetSubMenu(menu.get(), 3);
  ASSERT_NE(nullptr, sub);
  GetMenuStringA(sub, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ("画面上端(&T)", text);
}

TEST_F(Framework, ShortcutOfTheFormsMenuRunsItsItem) {
  form->Show();
  Pump();
  test::HoldKeys(true, false, false);
  PostMessageA(form->okbutton->Handle(), WM_KEYDOWN, 'R', 0);
  Pump();
  test::HoldKeys(false, false, false);
  EXPECT_EQ(1, form->propertyClicks);
  PostMessageA(form->okbutton->Handle(), WM_KEYDOWN, 'R', 0);
  Pump();
  EXPECT_EQ(1, form->propertyClicks);  // R without Ctrl is no shortcut
}

TEST_F(Framework, RightClickOpensTheMenuFoundFromTheClickedControlUpThroughItsParents) {
  int popups = 0;
  form->formmenu->OnPopup = [&](tobject*) {
    ++popups;
    // Close the menu from inside its own loop.
    SetTimer(nullptr, 0, 50, &EndMenuSoon);
  };
  form->Show();
  Pump();
  POINT p{30, 30};  // over the windowless box, which has no menu of its own
  ClientToScreen(form->Handle(), &p);
  SendMessageA(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), MAKELPARAM(p.x, p.y));
  EXPECT_EQ(1, popups);
  EXPECT_EQ(static_cast<tcontrol*>(form->box), form->formmenu->PopupComponent());
}

TEST_F(Framework, FreeingAComponentClearsWhatItsOwnerAndSiblingsHeldOfIt) {
  form->box->SetPopupMenu(form->formmenu);
  form->formmenu->SetPopupComponent(form->okbutton);
  form->okbutton->Free();
  form->okbutton = nullptr;
  EXPECT_EQ(nullptr, form->formmenu->PopupComponent());
  // The menu goes before the controls and the form that open it.
  form->formmenu->Free();
  form->formmenu = nullptr;
  form->lockitem = nullptr;
  EXPECT_EQ(nullptr, form->PopupMenu());
  EXPECT_EQ(nullptr, form->box->PopupMenu());
  form->Show();
  Pump();
  POINT p{30, 30};
  ClientToScreen(form->Handle(), &p);
  SendMessageA(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), MAKELPARAM(p.x, p.y));
  test::HoldKeys(true, false, false);
  PostMessageA(form->Handle(), WM_KEYDOWN, 'R', 0);
  Pump();
  test::HoldKeys(false, false, false);
  EXPECT_EQ(0, form->propertyClicks);
}

TEST_F(Framework, EnterClicksTheDefaultButtonAndEscTheCancelButtonOfAModalForm) {
  form->Show();
  form->Hide();
  PostMessageA(form->Handle(), WM_NULL, 0, 0);
  SetTimer(nullptr, 0, 100, &PressEnterThenEsc);
  EXPECT_EQ(mrCancel, form->ShowModal());
  EXPECT_EQ(1, form->okClicks);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

// Steps of a user on the drop-down list of a modal form, one per tick: Esc
// and Enter on the open list, then Esc once it is closed.
std::vector<std::string> g_droppedSteps;
void CALLBACK KeysOnADroppedList(HWND, UINT, UINT_PTR id, DWORD) {
  auto* f = dynamic_cast<Ttestform*>(twincontrol::FromHandle(FindWindowA("Ttestform", "Test")));
  HWND list = f->kindcbox->Handle();
  const size_t step = g_droppedSteps.size();
  if (step > 0) {
    g_droppedSteps.push_back(std::string(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) ? "open" : "closed") +
                             (f->Modal() && IsWindowVisible(f->Handle()) ? ", form open" : ", form closed"));
  } else {
    g_droppedSteps.push_back("start");
  }
  if (step < 2) {
    f->kindcbox->SetFocus();
    SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
    PostMessageA(list, WM_KEYDOWN, step == 0 ? VK_ESCAPE : VK_RETURN, 0);
  } else {
    KillTimer(nullptr, id);
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
  }
}

TEST_F(Framework, EscAndEnterCloseADroppedListBeforeTheFormSeesThem) {
  form->Show();
  form->Hide();
  g_droppedSteps.clear();
  SetTimer(nullptr, 0, 150, &KeysOnADroppedList);
  EXPECT_EQ(mrCancel, form->ShowModal());
  EXPECT_EQ((std::vector<std::string>{"start", "closed, form open", "closed, form open"}), g_droppedSteps);
  EXPECT_EQ(0, form->okClicks);
}

TEST_F(Framework, TabWalksIntoTheShownPageAndOutAgainPassingControlsWithoutATabStop) {
  form->Show();
  Pump();
  EXPECT_FALSE(GetWindowLongPtrA(form->checkbox->Handle(), GWL_STYLE) & WS_TABSTOP)
      << "a tab stop the description takes away after the window exists";
  twincontrol* const cancel = dynamic_cast<twincontrol*>(form->FindComponent("cancelbutton"));
  form->okbutton->SetFocus();
  struct Step {
    bool shift;
    twincontrol* to;
  } steps[] = {{false, cancel}, {false, form->kindcbox}, {false, form->okbutton},
               {true, form->kindcbox}, {true, cancel}, {true, form->okbutton}};
  for (const Step& s : steps) {
    test::HoldKeys(false, false, s.shift);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    test::HoldKeys(false, false, false);
    EXPECT_EQ(s.to->Handle(), GetFocus()) << (s.shift ? "Shift+Tab to " : "Tab to ") << s.to->Name();
  }
}

HWND g_hiddenForm = nullptr;
int g_hiddenEnabledWhileModal = -1;
void CALLBACK LookAtTheHiddenForm(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_hiddenEnabledWhileModal = IsWindowEnabled(g_hiddenForm) ? 1 : 0;
}

TEST_F(Framework, TimersKeepFiringInsideAModalLoopWhileEvenHiddenFormsTakeNoInput) {
  // A hidden form could be shown meanwhile (from the tray) and open a second dialog.
  auto* hidden = Application->CreateForm<Tbadform>(kTabform);
  g_hiddenForm = hidden->Handle();
  g_hiddenEnabledWhileModal = -1;
  SetTimer(nullptr, 0, 10, &LookAtTheHiddenForm);
  form->ticker->SetEnabled(true);
  EXPECT_EQ(mrOk, form->ShowModal());
  EXPECT_EQ(3, form->ticks);
  EXPECT_TRUE(IsWindowEnabled(Application->Handle()));
  EXPECT_EQ(0, g_hiddenEnabledWhileModal);
  EXPECT_TRUE(IsWindowEnabled(hidden->Handle()));
  hidden->Free();
}

TEST_F(Framework, CloseQueryCanRefuseAndCloseActionFreeReleasesTheForm) {
  form->Show();
  form->allowClose = false;
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  form->allowClose = true;
  form->closeAction = tcloseaction::caFree;
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  form = nullptr;  // freed once the waiting messages are handled
  Pump();
  EXPECT_EQ(nullptr, FindWindowA("Ttestform", nullptr));
  EXPECT_EQ("destroy", g_events.back() == "free first" ? g_events[g_events.size() - 3] : g_events.back());
}

TEST(Canvas, DrawsLinesUpToTheirEndRectanglesAndMeasuresText) {
  tbitmap b(20, 10);
  tcanvas& c = b.Canvas();
  c.Brush.SetColor(clWhite);
  c.Pen.SetColor(clWhite);
  c.Rectangle(0, 0, 20, 10);
  c.Pen.SetColor(clGray);
  c.MoveTo(0, 0);
  c.LineTo(5, 0);
  EXPECT_EQ(RGB(128, 128, 128), c.Pixel(4, 0));
  EXPECT_EQ(RGB(255, 255, 255), c.Pixel(5, 0));
  c.Polygon({{10, 2}, {18, 2}, {18, 8}});
  EXPECT_EQ(RGB(128, 128, 128), c.Pixel(18, 5));
  c.Font.SetName("Arial");
  c.Font.SetHeight(-11);
  EXPECT_GT(c.TextWidth("Velmora"), c.TextWidth("V"));
  EXPECT_GT(c.TextHeight("V"), 5);
  EXPECT_EQ(0, c.TextWidth(""));
}

TEST(Bitmap, ResizingKeepsThePictureAndCopiesAreIndependent) {
  tbitmap a(4, 4);
  a.Canvas().SetPixel(1, 1, clBlue);
  a.SetSize(8, 6);
  EXPECT_EQ(RGB(0, 0, 255), a.Canvas().Pixel(1, 1));
  tbitmap b(a);
  b.Canvas().SetPixel(1, 1, clRed);
  EXPECT_EQ(RGB(0, 0, 255), a.Canvas().Pixel(1, 1));
  EXPECT_EQ(8, b.Width());
  a.Clear();
  EXPECT_TRUE(a.Empty());
}

TEST(Picture, RegisteredKindsLoadByExtension) {
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  const std::string file = std::string(path) + "pendo_picture.bmp";
  tbitmap b(3, 2);
  b.Canvas().SetPixel(2, 1, clLime);
  b.SaveToFile(file);
  tpicture picture;
  picture.LoadFromFile(file);
  ASSERT_NE(nullptr, dynamic_cast<tbitmap*>(picture.Graphic()));
  EXPECT_EQ(3, picture.Width());
  EXPECT_EQ(RGB(0, 255, 0), static_cast<tbitmap*>(picture.Graphic())->Canvas().Pixel(2, 1));
  // A kind registered later takes its extension over.
  int made = 0;
  tpicture::RegisterFileFormat("DIB", "Device Independent Bitmap", [&] {
    ++made;
    return std::unique_ptr<tgraphic>(new tbitmap);
  });
  const std::string dib = std::string(path) + "pendo_picture.dib";
  CopyFileA(file.c_str(), dib.c_str(), FALSE);
  picture.LoadFromFile(dib);
  EXPECT_EQ(1, made);
  EXPECT_NE(std::string::npos, tpicture::FileFilter().find("Device Independent Bitmap (*.dib)|*.dib"));
  tpicture::UnregisterFileFormat("dib");
  EXPECT_THROW(picture.LoadFromFile(dib), std::invalid_argument);
  DeleteFileA(file.c_str());
  DeleteFileA(dib.c_str());
}

TEST(WindowText, ComesBackWholeAndByteForByteAndEmptyWithoutAWindow) {
  HWND w =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(w, nullptr);
  for (const std::string& text : {std::string(300, 'k'), std::string("\x8e\x9e\x95\xf1 42")}) {
    ASSERT_TRUE(SetText(w, text));
    EXPECT_EQ(GetText(w), text);
  }
  DestroyWindow(w);
  EXPECT_EQ(GetText(w), "");
  EXPECT_EQ(GetText(nullptr), "");
}

TEST(Font, StyleSizeAndDescriptionValues) {
  tfont f;
  EXPECT_TRUE(f.SetProperty("Font.Style", "fsBold,fsUnderline"));
  EXPECT_EQ(fsBold | fsUnderline, f.Style());
  f.SetSize(9);
  EXPECT_EQ(9, f.Size());
  EXPECT_THROW(f.SetProperty("Font.Style", "fsHeavy"), std::invalid_argument);
  EXPECT_EQ(clBlue, ParseColor("clBlue"));
  EXPECT_EQ(0x800000, ParseColor("8388608"));
  EXPECT_EQ(scCtrl | 'R', ParseShortCut("Ctrl+R"));
  EXPECT_EQ("Shift+F10", ShortCutToText(ParseShortCut("Shift+F10")));
}

TEST(Handles, BuildingAndFreeingFormsLeavesNoGdiOrUserObjects) {
  for (int i = 0; i < 3; ++i) Application->CreateForm<Ttestform>()->Free();  // warm caches
  Pump(20);
  const DWORD gdi = test::GdiObjects(), user = test::UserObjects();
  for (int i = 0; i < 50; ++i) {
    Ttestform* f = Application->CreateForm<Ttestform>();
    f->Show();
    UpdateWindow(f->Handle());
    f->Free();
  }
  Pump(20);
  EXPECT_EQ(gdi, test::GdiObjects());
  EXPECT_EQ(user, test::UserObjects());
}

TEST(Handles, AThousandOpeningsOfAFormAndItsPopupMenuLeaveTheCountsFlat) {
  auto cycle = [](int i) {
    Ttestform* f = Application->CreateForm<Ttestform>();
    f->Show();
    if (i % 10 == 0) {
      f->formmenu->OnPopup = [](tobject*) { SetTimer(nullptr, 0, 1, &EndMenuSoon); };
      SendMessageA(f->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f->Handle()), -1);
    }
    f->Free();
  };
  for (int i = 0; i < 3; ++i) cycle(0);  // warm caches
  Pump(20);
  const DWORD gdi = test::GdiObjects(), user = test::UserObjects();
  for (int i = 0; i < 1000; ++i) cycle(i);
  Pump(20);
  EXPECT_EQ(gdi, test::GdiObjects());
  EXPECT_EQ(user, test::UserObjects());
}

}  // namespace
}  // namespace pendo
