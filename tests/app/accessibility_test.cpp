// What a screen reader reads of the clock, a notice and a colour swatch,
// through the system's accessibility interfaces: names and values in UTF-16,
// the clock's name following the minute, and the events that tell of it.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/_mainform.h"
#include "controls/_propertywizardform.h"
#include "framework/application.h"
#include "notices/_noticeform.h"
#include "notices/schedulerclock.h"
#include "panels/datepanel.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

struct tmanualclock : tschedulerclock {
  int hour = 9, minute = 30;
  platform::tlocaltime Now() override { return {2026, 12, 9, 3, hour, minute, 0}; }
};

// Name and value of a window's client object, as a screen reader asks for them.
struct tread {
  std::wstring name, value;
  long role = 0;
};
tread Read(HWND window) {
  tread r;
  IAccessible* object = nullptr;
  // The interface's number from the header: the x86_64 import library gives
  // IID_IAccessible as a call thunk, whose bytes are no interface number.
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))) ||
      !object)
    return r;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (SUCCEEDED(object->get_accName(self, &text)) && text) r.name = text;
  SysFreeString(text);
  text = nullptr;
  if (SUCCEEDED(object->get_accValue(self, &text)) && text) r.value = text;
  SysFreeString(text);
  VARIANT role;
  VariantInit(&role);
  if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) r.role = role.lVal;
  object->Release();
  return r;
}

std::vector<std::pair<DWORD, HWND>> g_events;
void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (object == OBJID_CLIENT) g_events.emplace_back(event, window);
}
int Count(DWORD event, HWND window) {
  int n = 0;
  for (const auto& e : g_events) n += e.first == event && e.second == window;
  return n;
}

// The short date of 2026-12-09 in the user's locale, and its weekday label.
std::wstring Day() {
  SYSTEMTIME t{};
  t.wYear = 2026, t.wMonth = 12, t.wDay = 9, t.wDayOfWeek = 3;
  wchar_t text[64] = L"";
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, text, 64);
  return std::wstring(text) + L"(Wed)";
}

class Accessibility : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WritePastFirstBoot();
    form = Application->CreateForm<Tmainform>();
    form->SetSchedulerClock(&clock);
    form->ShowAtStartup();
    Pump();
    hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_OBJECT_VALUECHANGE, nullptr, &Heard, GetCurrentProcessId(), 0,
                           WINEVENT_OUTOFCONTEXT);
    g_events.clear();
  }
  void TearDown() override {
    if (hook) UnhookWinEvent(hook);
    form->SetSchedulerClock(nullptr);
    form->Free();
    Pump(10);
  }
  tmanualclock clock;
  Tmainform* form = nullptr;
  HWINEVENTHOOK hook = nullptr;
};

TEST_F(Accessibility, TheClocksNameFollowsTheMinuteAndNotTheSeparator) {
  tread clockRead = Read(form->Handle());
  EXPECT_EQ(clockRead.name, L"Date " + Day() + L" 9:30");
  EXPECT_EQ(clockRead.value, Day() + L" 9:30");
  EXPECT_EQ(clockRead.role, ROLE_SYSTEM_CLOCK);
  // The first tick tells of the test's clock in place of the system's.
  Pump(1100);
  g_events.clear();
  // Three seconds of blinking tell nothing; the next minute is told once.
  Pump(3100);
  EXPECT_EQ(Count(EVENT_OBJECT_NAMECHANGE, form->Handle()), 0);
  clock.minute = 31;
  Pump(1100);
  EXPECT_EQ(Count(EVENT_OBJECT_NAMECHANGE, form->Handle()), 1);
  EXPECT_EQ(Read(form->Handle()).name, L"Date " + Day() + L" 9:31");
  Pump(2100);
  EXPECT_EQ(Count(EVENT_OBJECT_NAMECHANGE, form->Handle()), 1);
  // A bar that shows a value is read with it.
  form->datepanel->SetMax(10);
  form->datepanel->SetPosition(4);
  EXPECT_EQ(Read(form->Handle()).name, L"Date " + Day() + L" 9:31 4/10");
}

TEST_F(Accessibility, ANoticeIsAnnouncedWithItsMessageAndTime) {
  form->ShowNotice("会議の時間です", 9, 5);
  Pump();
  HWND notice = FindWindowA("Tnoticeform", nullptr);
  ASSERT_NE(notice, nullptr);
  const tread r = Read(notice);
  EXPECT_EQ(r.name, L"会議の時間です");
  EXPECT_EQ(r.value, L"at 9:5");
  EXPECT_EQ(r.role, ROLE_SYSTEM_ALERT);
  EXPECT_EQ(Count(EVENT_SYSTEM_ALERT, notice), 1);
  for (auto* f : Application->Forms()) {
    if (auto* n = dynamic_cast<Tnoticeform*>(f)) n->Free();
  }
}

TEST_F(Accessibility, TheWizardsSwatchesSayWhatTheyAreForAndTheirColour) {
  auto* wizard = Application->CreateForm<Tpropertywizardform>(form->clocklook);
  wizard->Show();
  Pump();
  wizard->titlecolorpalettebutton->SetColor(RGB(200, 20, 30));
  const tread r = Read(wizard->titlecolorpalettebutton->Handle());
  EXPECT_EQ(r.name, L"タイトルフォント色");
  EXPECT_EQ(r.value, L"赤 200、緑 20、青 30");
  EXPECT_EQ(r.role, ROLE_SYSTEM_PUSHBUTTON);
  wizard->Free();
}

}  // namespace
}  // namespace pendo
