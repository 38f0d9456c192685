// The persistent, primary and see-through window classes with real windows,
// real profiles and a real wallpaper.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "forms/advancedform.h"
#include "forms/backdropclient.h"
#include "forms/transparentform.h"
#include "forms/transparentprimaryform.h"
#include "framework/application.h"
#include "framework/desktopbackground.h"
#include "framework/graphiccontrol.h"
#include "framework/stdctrls.h"
#include "framework/timer.h"
#include "settings/profiler.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::HoldKeys;
using test::Pump;

class Tadvtestform : public tadvancedform {
 public:
  explicit Tadvtestform(tcomponent* owner);
  void FormClick(tobject*) { throw std::runtime_error("the click failed"); }
};

// clang-format off
const tformdesc kAdvtest{"advtest",
  {{"Caption", "advtest"}, {"Left", 200}, {"Top", 150}, {"ClientWidth", 100}, {"ClientHeight", 30},
   {"OnClick", &Tadvtestform::FormClick}}, {}};
// clang-format on

Tadvtestform::Tadvtestform(tcomponent* owner) : tadvancedform(owner, kAdvtest) {}

// A windowless panel that counts how often it was told to rebuild from the backdrop.
class tfakepanel : public tgraphiccontrol, public tbackdropclient {
 public:
  using tgraphiccontrol::tgraphiccontrol;
  void RefreshBackground() override { ++refreshes; }
  int refreshes = 0;
};

class tversion : public tversioninfo {
 public:
  std::string ApplicationTitle() const override { return "Sorvek Pendo + Short Message"; }
  std::string VersionValue() const override { return "v2.05k0.95-98"; }
  HICON SmallIconHandle() const override { return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)); }
};
tversion g_version;

// clang-format off
const tformdesc kPrimtest{"primtest",
  {{"Left", 300}, {"Top", 200}, {"ClientWidth", 117}, {"ClientHeight", 32}},
  {
    {"ttimer", "timer1", "", {{"Enabled", "False"}}},
    {"tfakepanel", "panel1", "", {{"Left", 4}, {"Top", 1}, {"Width", 109}, {"Height", 30}}},
    {"ttimer", "timer2", "", {{"Enabled", "False"}}},
    {"tbutton", "hiddenbutton", "", {{"Left", 0}, {"Top", 0}, {"Width", 10}, {"Height", 10}, {"Visible", "False"}}},
    {"tfakepanel", "panel2", "", {{"Left", 60}, {"Top", 1}, {"Width", 20}, {"Height", 20}}},
  }};
// clang-format on

class Tprimtestform : public ttransparentprimaryform {
 public:
  explicit Tprimtestform(tcomponent* owner) : ttransparentprimaryform(owner, kPrimtest) {}
  tfakepanel* panel1 = nullptr;
  tfakepanel* panel2 = nullptr;
  tbutton* hiddenbutton = nullptr;
  int firstboots = 0;
  void FirstBoot() override { ++firstboots; }
  void SetDefaultPlacement() override {
    ttransparentprimaryform::SetDefaultPlacement();
    Setversiondialogalias(&g_version);
  }

 protected:
  void DeclarePublished(tresourcecontext& c) override {
    [[maybe_unused]] static const bool registered = (c.RegisterClass<tfakepanel>("tfakepanel"), true);
    c.Field("panel1", panel1);
    c.Field("panel2", panel2);
    c.Field("hiddenbutton", hiddenbutton);
  }
};

const tformdesc kSeetest{"seetest", {{"Left", 600}, {"Top", 400}, {"ClientWidth", 80}, {"ClientHeight", 40}}, {}};
class Tseetestform : public ttransparentform {
 public:
  explicit Tseetestform(tcomponent* owner) : ttransparentform(owner, kSeetest) {}
};

// Wallpapers with a colour unique to every screen pixel (seed changes them all).
COLORREF WallpaperPixel(int x, int y, int seed) {
  return RGB((x + seed) & 255, (y + seed) & 255, (((x >> 8) << 6) | ((y >> 8) << 4)) ^ seed);
}

std::string TempFile(const char* name) {
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  return std::string(path) + name;
}

void WriteWallpaper(const std::string& path, int seed) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const int stride = (w * 3 + 3) & ~3;
  std::vector<unsigned char> bits(static_cast<size_t>(stride) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = WallpaperPixel(x, y, seed);
      unsigned char* p = &bits[static_cast<size_t>(h - 1 - y) * stride + x * 3];
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
    }
  BITMAPINFOHEADER bih{sizeof bih, w, h, 1, 24, BI_RGB, static_cast<DWORD>(bits.size()), 0, 0, 0, 0};
  BITMAPFILEHEADER bfh{0x4D42, static_cast<DWORD>(sizeof bfh + sizeof bih + bits.size()), 0, 0,
                       sizeof bfh + sizeof bih};
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, f);
  std::fwrite(&bfh, sizeof bfh, 1, f);
  std::fwrite(&bih, sizeof bih, 1, f);
  std::fwrite(bits.data(), bits.size(), 1, f);
  std::fclose(f);
}

void SetWallpaper(const std::string& path) {
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()), SPIF_UPDATEINIFILE));
}

// Every sampled backdrop pixel equals the wallpaper under the client area.
void ExpectBackdropIsWallpaper(tbitmap* backdrop, HWND window, int seed) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  RECT client;
  GetClientRect(window, &client);
  int checked = 0;
  for (int y = 0; y < client.bottom; y += 3)
    for (int x = 0; x < client.right; x += 5) {
      ASSERT_EQ(WallpaperPixel(origin.x + x, origin.y + y, seed), backdrop->Canvas().Pixel(x, y))
          << "at " << x << "," << y << " of a window at " << origin.x << "," << origin.y;
      ++checked;
    }
  EXPECT_GT(checked, 50);
}

class Forms : public ::testing::Test {
 protected:
  void SetUp() override {
    test::DeleteProfile("profile_advtest");
    test::DeleteProfile("profile_primtest");
    test::DeleteProfile("profile_seetest");
    HoldKeys(false, false, false);
  }
  void TearDown() override {
    HoldKeys(false, false, false);
    Pump(10);
  }
};

// The work area's bottom edge moved for the length of a test.
struct tworkarea {
  RECT before{};
  explicit tworkarea(int bottom) {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &before, 0);
    Set({before.left, before.top, before.right, bottom});
  }
  ~tworkarea() { Set(before); }
  static void Set(RECT r) { SystemParametersInfoA(SPI_SETWORKAREA, 0, &r, 0); }
};

RECT WorkArea() {
  RECT r{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

void WriteProfile(const char* name, std::initializer_list<std::pair<const char*, int>> values) {
  tprofiler p(name);
  for (const auto& v : values) p.WriteInteger(v.first, v.second);
  p.Save();
}

std::string Placement(const tform& f) {
  return std::to_string(f.Left()) + "," + std::to_string(f.Top()) + " " + std::to_string(f.ClientWidth()) + "x" +
         std::to_string(f.ClientHeight());
}

std::string StoredPlacement(const char* profile) {
  tprofiler p(profile);
  return p.ReadString("left", "") + "," + p.ReadString("top", "") + " " + p.ReadString("clientwidth", "") + "x" +
         p.ReadString("clientheight", "");
}

TEST_F(Forms, AWindowOffTheScreenComesOntoItButKeepsItsPlaceUntilTheUserMovesIt) {
  auto* f = Application->CreateForm<Tadvtestform>();
  EXPECT_EQ("200,150 100x30", Placement(*f));
  f->SetBounds(-400, 2000, f->Width(), f->Height());
  f->SetClientSize(140, 50);
  f->Setlockmove(true);
  f->Free();
  EXPECT_EQ("-400,2000 140x50", StoredPlacement("profile_advtest"));

  f = Application->CreateForm<Tadvtestform>();
  const RECT work = WorkArea();
  EXPECT_EQ(work.left, f->Left());
  EXPECT_EQ(work.bottom, f->Top() + f->Height()) << "in the work area's bottom left corner";
  EXPECT_EQ(140, f->ClientWidth());
  EXPECT_TRUE(f->lockmove());
  f->Free();
  EXPECT_EQ("-400,2000 140x50", StoredPlacement("profile_advtest")) << "the place comes back with its screen";

  f = Application->CreateForm<Tadvtestform>();
  f->Setlockmove(false);
  HoldKeys(true, false, false);
  SendMessageA(f->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  HoldKeys(false, false, false);
  const std::string moved = Placement(*f);
  f->Free();
  EXPECT_EQ(moved, StoredPlacement("profile_advtest")) << "moved by the user, the new place is kept";

  WriteProfile("profile_advtest", {{"left", -60}, {"clientwidth", 100000}, {"clientheight", 30}});
  f = Application->CreateForm<Tadvtestform>();
  EXPECT_EQ(-60, f->Left()) << "partly off the screen, as the user left it";
  EXPECT_LE(f->Width(), GetSystemMetrics(SM_CXVIRTUALSCREEN)) << "no wider than the desktop";
  f->Free();
  EXPECT_EQ("100000", tprofiler("profile_advtest").ReadString("clientwidth", ""));
}

TEST_F(Forms, AWorkAreaThatShrinksOverTheWindowTakesItAlongAndGivesItBack) {
  WriteProfile("profile_advtest", {{"top", 600}});
  auto* f = Application->CreateForm<Tadvtestform>();
  EXPECT_EQ(600, f->Top());
  {
    tworkarea shrunk(560);
    SendMessageA(f->Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_EQ(560, f->Top() + f->Height()) << "above the new task bar";
  }
  SendMessageA(f->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  EXPECT_EQ(600, f->Top()) << "back where the user put it";
  f->Free();
  EXPECT_EQ("600", tprofiler("profile_advtest").ReadString("top", ""));
}

TEST_F(Forms, AProfileWithOnlyLeftTakesTheRestFromTheDescription) {
  WriteProfile("profile_advtest", {{"left", 77}});
  auto* f = Application->CreateForm<Tadvtestform>();
  EXPECT_EQ(77, f->Left());
  EXPECT_EQ(150, f->Top());
  EXPECT_EQ(100, f->ClientWidth());
  EXPECT_EQ(30, f->ClientHeight());
  EXPECT_FALSE(f->lockmove());
  f->Free();
}

TEST_F(Forms, CtrlArrowsMoveAndAltArrowsSizeByOneOrFourWithShift) {
  auto* f = Application->CreateForm<Tadvtestform>();
  HWND h = f->Handle();
  const int left = f->Left(), top = f->Top(), width = f->Width(), height = f->Height();
  HoldKeys(true, false, false);
  SendMessageA(h, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(left + 1, f->Left());
  HoldKeys(true, false, true);
  SendMessageA(h, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(left + 5, f->Left());
  SendMessageA(h, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(top - 4, f->Top());
  HoldKeys(false, true, false);
  SendMessageA(h, WM_SYSKEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(height + 1, f->Height());
  EXPECT_EQ(top - 4, f->Top());  // the top edge stays
  HoldKeys(true, true, false);
  SendMessageA(h, WM_SYSKEYDOWN, VK_LEFT, 0);  // both: moved and narrowed
  EXPECT_EQ(left + 4, f->Left());
  EXPECT_EQ(width - 1, f->Width());
  HoldKeys(false, false, false);
  SendMessageA(h, WM_KEYDOWN, VK_LEFT, 0);  // a bare arrow does nothing
  EXPECT_EQ(left + 4, f->Left());
  f->Free();
}

TEST_F(Forms, LockmoveRefusesDragsSystemMenuCommandsAndArrowKeys) {
  auto* f = Application->CreateForm<Tadvtestform>();
  f->Show();
  Pump();
  HWND h = f->Handle();
  f->Setlockmove(true);
  RECT before, after;
  GetWindowRect(h, &before);
  // If the drag were not refused, its loop would wait for the mouse: Esc ends it.
  std::thread guard([h] {
    Sleep(1500);
    PostMessageA(h, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  const DWORD start = GetTickCount();
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(before.left + 20, before.top + 5));
  SendMessageA(h, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(before.left + 20, before.top + 5));
  SendMessageA(h, WM_SYSCOMMAND, SC_SIZE | WMSZ_RIGHT, 0);
  SendMessageA(h, WM_SYSCOMMAND, SC_MOVE, 0);
  const DWORD elapsed = GetTickCount() - start;
  guard.join();
  EXPECT_LT(elapsed, 1000u) << "a move or size loop ran";
  HoldKeys(true, true, true);
  SendMessageA(h, WM_SYSKEYDOWN, VK_RIGHT, 0);
  SendMessageA(h, WM_SYSKEYDOWN, VK_DOWN, 0);
  GetWindowRect(h, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  HoldKeys(true, false, false);
  f->Setlockmove(false);
  SendMessageA(h, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(before.left + 1, f->Left());
  f->Free();
}

TEST_F(Forms, WindowCanBeSizedDownTo16By16) {
  auto* f = Application->CreateForm<Tadvtestform>();
  MINMAXINFO info{};
  SendMessageA(f->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(16, info.ptMinTrackSize.x);
  EXPECT_EQ(16, info.ptMinTrackSize.y);
  f->SetBounds(f->Left(), f->Top(), 16, 16);
  EXPECT_EQ(16, f->Width());
  EXPECT_EQ(16, f->Height());
  f->Free();
}

TEST_F(Forms, AnErrorInAHandlerShowsTheFixedBoxAndTheProgramGoesOn) {
  auto* f = Application->CreateForm<Tadvtestform>();
  f->Show();
  Pump();
  // A persistent window that comes and goes later (a notice) leaves the
  // first one's hooks alone.
  Application->CreateForm<Tseetestform>()->Free();
  ASSERT_TRUE(Application->OnActivate);
  test::tdialogwatcher watcher(tadvancedform::kErrorCaption);
  SendMessageA(f->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(f->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(watcher.Found());
  EXPECT_EQ("例外が発生しました。発生地点は不明です。", watcher.Text());
  // Still alive and answering.
  HoldKeys(true, false, false);
  const int left = f->Left();
  SendMessageA(f->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(left + 1, f->Left());
  f->Free();
  // The hooks go with the persistent form.
  EXPECT_FALSE(Application->OnException);
  EXPECT_FALSE(Application->OnActivate);
}

TEST_F(Forms, StayOnTopIsAppliedToTheApplicationWindowAndSaved) {
  auto* f = Application->CreateForm<Tprimtestform>();
  auto topmost = [](HWND h) { return (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  HWND app = Application->Handle();
  EXPECT_FALSE(topmost(app));
  f->Setstayontop(true);
  // Windows marks the application window; Wine marks the windows it owns instead.
  EXPECT_TRUE(topmost(app) || topmost(f->Handle()));
  f->Setstayontop(false);
  EXPECT_FALSE(topmost(app));
  f->Setstayontop(true);
  f->Free();
  f = Application->CreateForm<Tprimtestform>();
  EXPECT_TRUE(f->stayontop());
  EXPECT_TRUE(topmost(app) || topmost(f->Handle()));
  f->Setstayontop(false);
  f->Free();
}

TEST_F(Forms, VisibleZeroStartsHiddenInTheTrayAndTheTrayIconShowsItAgain) {
  {
    tprofiler p("profile_primtest");
    p.WriteBool("visible", false);
    p.Save();
  }
  auto* f = Application->CreateForm<Tprimtestform>();
  EXPECT_EQ("Sorvek Pendo + Short Message", f->Caption());
  f->ShowAtStartup();
  Pump();
  EXPECT_FALSE(IsWindowVisible(f->Handle()));
  EXPECT_TRUE(f->TrayIconShown());
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));  // no taskbar button either
  // The shell knows the icon: modifying it succeeds.
  NOTIFYICONDATAA record = *f->TrayRecord();
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &record));
  EXPECT_STREQ("Sorvek Pendo + Short Message", f->TrayRecord()->szTip);
  SendMessageA(f->TrayWindow(), WM_USER, 0, WM_MOUSEMOVE);
  EXPECT_STREQ("Sorvek Pendo + Short Message v2.05k0.95-98", f->TrayRecord()->szTip);
  SendMessageA(f->TrayWindow(), WM_USER, 0, WM_LBUTTONDOWN);
  Pump();
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  EXPECT_FALSE(f->TrayIconShown());
  f->Free();
  // It was visible at the end, so it starts visible.
  f = Application->CreateForm<Tprimtestform>();
  f->ShowAtStartup();
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  EXPECT_FALSE(f->TrayIconShown());
  f->Free();
}

TEST_F(Forms, FirstBootRunsOnTheFirstStartOnly) {
  auto* f = Application->CreateForm<Tprimtestform>();
  f->ShowAtStartup();
  EXPECT_EQ(1, f->firstboots);
  f->Free();
  f = Application->CreateForm<Tprimtestform>();
  f->ShowAtStartup();
  EXPECT_EQ(0, f->firstboots);
  f->Free();
}

TEST(Tip, IsCutAt63BytesWithoutSplittingADoubleByteCharacter) {
  std::string text(62, 'a');
  text += "時報";
  const std::string tip = tprimaryform::CutTip(text);
  EXPECT_EQ(62u, tip.size());
  EXPECT_EQ(63u, tprimaryform::CutTip(std::string(70, 'b')).size());
}

class Backdrop : public Forms {
 protected:
  void SetUp() override {
    Forms::SetUp();
    wallpaper_ = TempFile("pendo_wallpaper.bmp");
    WriteWallpaper(wallpaper_, 0);
    SetWallpaper(wallpaper_);
    tdesktopbackground::Reload();
  }
  void TearDown() override {
    Forms::TearDown();
    DeleteFileA(wallpaper_.c_str());
    DeleteFileA(TempFile("pendo_wallpaper2.bmp").c_str());
  }
  std::string wallpaper_;
};

TEST_F(Backdrop, FirstPaintCapturesTheWallpaperUnderTheWindowAndRefreshesThePanels) {
  auto* f = Application->CreateForm<Tprimtestform>();
  EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_THICKFRAME),
            GetWindowLongA(f->Handle(), GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  EXPECT_TRUE(GetWindowLongA(f->Handle(), GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY);
  EXPECT_TRUE(f->CapturePending());
  f->ShowAtStartup();
  EXPECT_FALSE(f->CapturePending());
  EXPECT_EQ(1, f->panel1->refreshes);
  EXPECT_EQ(1, f->panel2->refreshes);
  EXPECT_EQ(f->Width(), f->BackdropImage()->Width());
  EXPECT_EQ(f->Height(), f->BackdropImage()->Height());
  ExpectBackdropIsWallpaper(f->BackdropImage(), f->Handle(), 0);
  // What the window shows is the same wallpaper.
  HDC dc = GetDC(f->Handle());
  POINT origin{0, 0};
  ClientToScreen(f->Handle(), &origin);
  EXPECT_EQ(WallpaperPixel(origin.x + 7, origin.y + 3, 0), GetPixel(dc, 7, 3));
  ReleaseDC(f->Handle(), dc);
  f->Free();
}

TEST_F(Backdrop, MovingTakesANewBackdropAndAnotherWindowBehindNeverShowsThrough) {
  auto* f = Application->CreateForm<Tprimtestform>();
  f->ShowAtStartup();
  // A red window of someone else's right under ours.
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
  wc.lpszClassName = "RedWindow";
  RegisterClassA(&wc);
  HWND red = CreateWindowExA(0, "RedWindow", "", WS_POPUP | WS_VISIBLE, 250, 150, 400, 300, nullptr, nullptr,
                             wc.hInstance, nullptr);
  SetWindowPos(red, f->Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Pump();
  const COLORREF before = f->BackdropImage()->Canvas().Pixel(10, 10);
  f->SetLeft(f->Left() + 37);
  ExpectBackdropIsWallpaper(f->BackdropImage(), f->Handle(), 0);
  EXPECT_NE(before, f->BackdropImage()->Canvas().Pixel(10, 10));
  // Controls got their visibility back, the timers in between notwithstanding.
  EXPECT_TRUE(f->panel1->Visible());
  EXPECT_TRUE(f->panel2->Visible());
  EXPECT_FALSE(f->hiddenbutton->Visible());
  f->SetClientWidth(150);
  ExpectBackdropIsWallpaper(f->BackdropImage(), f->Handle(), 0);
  DestroyWindow(red);
  DeleteObject(wc.hbrBackground);
  UnregisterClassA("RedWindow", wc.hInstance);
  f->Free();
}

TEST_F(Backdrop, ANewWallpaperIsTakenOnASettingsChangeButNotWhileHidden) {
  auto* f = Application->CreateForm<Tprimtestform>();
  f->ShowAtStartup();
  auto* see = Application->CreateForm<Tseetestform>();
  see->Show();
  see->Update();
  ExpectBackdropIsWallpaper(see->BackdropImage(), see->Handle(), 0);
  see->Hide();
  const std::string second = TempFile("pendo_wallpaper2.bmp");
  WriteWallpaper(second, 99);
  SetWallpaper(second);
  SendMessageA(f->Handle(), WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
  SendMessageA(see->Handle(), WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
  ExpectBackdropIsWallpaper(f->BackdropImage(), f->Handle(), 99);
  ExpectBackdropIsWallpaper(see->BackdropImage(), see->Handle(), 0);  // the old one, kept
  see->Show();
  see->SetLeft(see->Left() + 1);
  ExpectBackdropIsWallpaper(see->BackdropImage(), see->Handle(), 99);
  see->Free();
  f->Free();
}

TEST_F(Backdrop, AThousandCapturesLeaveNoGdiOrUserObjects) {
  auto* f = Application->CreateForm<Tprimtestform>();
  f->ShowAtStartup();
  f->CaptureBackdrop();
  const DWORD gdi = test::GdiObjects(), user = test::UserObjects();
  for (int i = 0; i < 1000; ++i) f->CaptureBackdrop();
  EXPECT_EQ(gdi, test::GdiObjects());
  EXPECT_EQ(user, test::UserObjects());
  ExpectBackdropIsWallpaper(f->BackdropImage(), f->Handle(), 0);
  f->Free();
}

}  // namespace
}  // namespace pendo
