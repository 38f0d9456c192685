#include "app/_mainform.h"

#include <oleacc.h>
#include <wtsapi32.h>

#include <exception>

#include "app/buildinfo.h"
#include "framework/application.h"
#include "framework/windowtext.h"
#include "events/_eventwizardform.h"
#include "notices/_noticeform.h"
#include "notices/_noticewizardform.h"
#include "panels/datepanel.h"
#include "settings/actions.h"
#include "settings/clockparts.h"
#include "settings/cpuloadmonitor.h"
#include "settings/desktop.h"
#include "settings/platform.h"
#include "settings/systemlibrary.h"
#include "settings/textfields.h"

namespace pendo {

namespace {
// clang-format off
const tformdesc kMainform{"mainform",
  {{"Left", 40}, {"Top", 114}, {"ClientWidth", Tmainform::kDefaultClientWidth},
   {"ClientHeight", Tmainform::kDefaultClientHeight}, {"Scaled", "False"},
   {"Font.Name", "ＭＳ Ｐゴシック"}, {"Font.Height", -12}, {"PopupMenu", "MainPopupMenu"},
   {"OnCreate", &Tmainform::FormCreate}, {"OnDestroy", &Tmainform::FormDestroy}, {"OnShow", &Tmainform::FormShow},
   {"OnHide", &Tmainform::FormHide},
   {"OnResize", &Tmainform::FormResize}, {"OnPaint", &Tmainform::FormPaint}, {"OnKeyDown", &Tmainform::FormKeyDown},
   {"OnMouseMove", &Tmainform::FormMouseMove}, {"OnCloseQuery", &Tmainform::FormCloseQuery},
   {"OnClose", &Tmainform::FormClose}},
  {
    {"tdatepanel", "datepanel", "",
     {{"Left", 104}, {"Top", 0}, {"Width", 129}, {"Height", 30},
      {"BlinkSignal", "False"}, {"Beveling", "bldouble"}, {"Title", "Date"}, {"TitleColor", "clNavy"},
      {"TitleFont.Name", "Arial"}, {"TitleFont.Height", -11},
      {"CenterColor", "clBlack"}, {"CenterFont.Name", "ＭＳ Ｐゴシック"}, {"CenterFont.Height", -12},
      {"Value", "99/04/16(Fri) 18 17"}, {"ValueColor", "clBlack"},
      {"ValueFont.Name", "Arial"}, {"ValueFont.Height", -11},
      {"Hibernation", "True"}, {"TransparentBackground", "True"}, {"TransparentBackgroundHalftone", "True"},
      {"Interlace", "False"}, {"HorizontalNoise", "False"}, {"TransparentForeground", "True"},
      {"Position", 0}, {"Max", 0}, {"GaugeColor", 16764074}, {"GaugeVisible", "True"},
      {"MaxAutoFix", "False"}, {"MaxAutoAdjust", "False"}, {"Signal", "False"},
      {"OnMouseMove", &Tmainform::FormMouseMove}}},
    {"tpopupmenu", "MainPopupMenu", "", {}},
    {"tmenuitem", "CallPropertyButton", "MainPopupMenu",
     {{"Caption", "プロパティ(&R)..."}, {"ShortCut", "Ctrl+R"}, {"OnClick", &Tmainform::CallPropertyButtonClick}}},
    {"tmenuitem", "KN1", "MainPopupMenu",
     {{"Caption", "通知イベント編集(&P)"}, {"ShortCut", "Ctrl+P"}, {"OnClick", &Tmainform::KN1Click}}},
    {"tmenuitem", "KE1", "MainPopupMenu",
     {{"Caption", "一般イベント(&E)"}, {"ShortCut", "Ctrl+E"}, {"OnClick", &Tmainform::KE1Click}}},
    {"tmenuitem", "KZ1", "MainPopupMenu",
     {{"Caption", "デフォルトカラーに戻す(&Z)"}, {"OnClick", &Tmainform::KZ1Click}}},
    {"tmenuitem", "N1", "MainPopupMenu", {{"Caption", "-"}}},
    {"tmenuitem", "hidebutton", "MainPopupMenu",
     {{"Caption", "隠す／最小化(&I)"}, {"OnClick", &Tmainform::hidebuttonClick}}},
    {"tmenuitem", "stayontopbutton", "MainPopupMenu",
     {{"Caption", "常に手前に表示(&T)"}, {"OnClick", &Tmainform::stayontopbuttonClick}}},
    {"tmenuitem", "lockmovebutton", "MainPopupMenu",
     {{"Caption", "ウインドウ移動をロック(&L)"}, {"OnClick", &Tmainform::lockmovebuttonClick}}},
    {"tmenuitem", "KD1", "MainPopupMenu", {{"Caption", "位置合わせ(&D)"}}},
    {"tmenuitem", "KT1", "KD1", {{"Caption", "画面上端(&T)"}, {"OnClick", &Tmainform::KT1Click}}},
    {"tmenuitem", "KB1", "KD1", {{"Caption", "画面下端(&B)"}, {"OnClick", &Tmainform::KB1Click}}},
    {"tmenuitem", "KL1", "KD1", {{"Caption", "画面左端(&L)"}, {"OnClick", &Tmainform::KL1Click}}},
    {"tmenuitem", "KR1", "KD1", {{"Caption", "画面右端(&R)"}, {"OnClick", &Tmainform::KR1Click}}},
    {"tmenuitem", "N3", "KD1", {{"Caption", "-"}}},
    {"tmenuitem", "KZ2", "KD1",
     {{"Caption", "全ゲージをデフォルトサイズに戻す(&Z)"}, {"OnClick", &Tmainform::KZ2Click}}},
    {"tmenuitem", "transparentbackgroundbutton", "MainPopupMenu",
     {{"Caption", "バックパネル透過(&A)"}, {"OnClick", &Tmainform::transparentbackgroundbuttonClick}}},
    {"tmenuitem", "transparentforegroundbutton", "MainPopupMenu",
     {{"Caption", "フォアグラウンド透過(&O)"}, {"OnClick", &Tmainform::transparentforegroundbuttonClick}}},
    {"tmenuitem", "transparentbackgroundhalftonebutton", "MainPopupMenu",
     {{"Caption", "ハーフトーン(&N)"}, {"OnClick", &Tmainform::transparentbackgroundhalftonebuttonClick}}},
    {"tmenuitem", "N2", "MainPopupMenu", {{"Caption", "-"}}},
    {"tmenuitem", "HelpButton", "MainPopupMenu",
     {{"Caption", "ヘルプ(&H)..."}, {"OnClick", &Tmainform::HelpButtonClick}}},
    {"tmenuitem", "VersionButton", "MainPopupMenu",
     {{"Caption", "バージョン情報(&V)..."}, {"OnClick", &Tmainform::VersionButtonClick}}},
    {"tmenuitem", "QuitButton", "MainPopupMenu", {{"Caption", "終了(&Q)"}, {"OnClick", &Tmainform::QuitButtonClick}}},
    {"tversiondialog", "versiondialog", "",
     {{"ApplicationTitle", "Sorvek Pendo + Short Message"}, {"ProjectTitle", "Velmora"},
      {"VersionValue", "v2.05k0.95-98"}, {"BuildDateValue", kBuildLine}, {"SmallIcon", "SMALLICON"}}},
    {"ttimer", "slowpanelcontroltimer", "", {{"Interval", 1000}, {"Enabled", "True"},
                                              {"OnTimer", &Tmainform::slowpanelcontroltimerTimer}}},
    {"ttimer", "getsystemstatetimer", "", {{"Interval", 1000}, {"Enabled", "True"},
                                            {"OnTimer", &Tmainform::getsystemstatetimerTimer}}},
    {"ttimer", "noisetimer", "", {{"Interval", 100}, {"Enabled", "True"}, {"OnTimer", &Tmainform::noisetimerTimer}}},
  }};
// clang-format on

constexpr WPARAM kDragCommand = 0xF012;  // SC_MOVE plus HTCAPTION
}  // namespace

// What the minute scheduler does through the main window, and the clock it
// reads: the system's, or one a test puts in.
class Tmainform::tschedulerlink : public tschedulereffects, public tschedulerclock {
 public:
  tschedulerlink(Tmainform& form, tschedulerclock& clock) : form_(form), clock_(&clock) {}
  void SetClock(tschedulerclock& clock) { clock_ = &clock; }

  void PlaySound(const std::string& sound) override { PlaySoundList(sound); }
  bool FileExists(const std::string& path) override { return platform::FileExists(path); }
  void RunProgram(const std::string& path) override { RunProgramFile(path); }
  void ShowNotice(const std::string& message, int hour, int minute) override {
    form_.ShowNotice(message, hour, minute);
  }
  void BlinkSeparator() override {
    form_.datepanel->SetSignal(!form_.datepanel->Signal());
    form_.TellNewMinute();
  }
  // As an error of any handler is: the application's report.
  void ReportFailure(std::exception_ptr failure) override {
    try {
      std::rethrow_exception(failure);
    } catch (const std::exception& e) {
      Application->HandleException(&e);
    } catch (...) {
      Application->HandleException(nullptr);
    }
  }

  platform::tlocaltime Now() override { return clock_->Now(); }

 private:
  Tmainform& form_;
  tschedulerclock* clock_;
};

Tmainform::Tmainform(tcomponent* owner)
    : ttransparentprimaryform(owner, kMainform),
      schedulerlink_(std::make_unique<tschedulerlink>(*this, systemclock_)),
      scheduler_(std::make_unique<tminutescheduler>(*schedulerlink_, *schedulerlink_)) {}

Tmainform::~Tmainform() = default;

void Tmainform::SetSchedulerClock(tschedulerclock* clock) { schedulerlink_->SetClock(clock ? *clock : systemclock_); }

void Tmainform::DeclarePublished(tresourcecontext& c) {
  c.Field("datepanel", datepanel);
  c.Field("MainPopupMenu", MainPopupMenu);
  c.Field("CallPropertyButton", CallPropertyButton);
  c.Field("KN1", KN1);
  c.Field("KE1", KE1);
  c.Field("KZ1", KZ1);
  c.Field("hidebutton", hidebutton);
  c.Field("stayontopbutton", stayontopbutton);
  c.Field("lockmovebutton", lockmovebutton);
  c.Field("KD1", KD1);
  c.Field("KT1", KT1);
  c.Field("KB1", KB1);
  c.Field("KL1", KL1);
  c.Field("KR1", KR1);
  c.Field("KZ2", KZ2);
  c.Field("transparentbackgroundbutton", transparentbackgroundbutton);
  c.Field("transparentforegroundbutton", transparentforegroundbutton);
  c.Field("transparentbackgroundhalftonebutton", transparentbackgroundhalftonebutton);
  c.Field("HelpButton", HelpButton);
  c.Field("VersionButton", VersionButton);
  c.Field("QuitButton", QuitButton);
  c.Field("versiondialog", versiondialog);
  c.Field("slowpanelcontroltimer", slowpanelcontroltimer);
  c.Field("getsystemstatetimer", getsystemstatetimer);
  c.Field("noisetimer", noisetimer);

}

void Tmainform::SetDefaultPlacement() {
  defaultleft = 40;
  defaulttop = 114;
  defaultclientwidth = kDefaultClientWidth;
  defaultclientheight = kDefaultClientHeight;
  Setversiondialogalias(versiondialog);
}

template <class F>
void Tmainform::ForEachGaugePanel(F f) {
  for (tcomponent* c : Components()) {
    if (auto* panel = dynamic_cast<tgaugepanel*>(c)) f(panel);
  }
}

bool Tmainform::AnyGaugePanelVisible() {
  bool any = false;
  ForEachGaugePanel([&any](tgaugepanel* p) { any = any || p->Visible(); });
  return any;
}

void Tmainform::FormCreate(tobject*) {
  LayoutPanels();
  // The clock shows the time the scheduler goes by.
  datepanel->SetClock([this] { return schedulerlink_->Now(); });
  FollowClockLook();
  SetAccessible({[this] { return AccessibleClockName(); }, [this] { return datepanel->ClockText(); }, ROLE_SYSTEM_CLOCK});
  spokenclock_ = AccessibleClockName();
  LoadNoticeList();
  loadmonitorwindow = ReadCpuLoadMonitorSetting();
  Application->OnActivate = [this] { ApplyStayOnTop(); };
  Application->OnDeactivate = [this] { ApplyStayOnTop(); };
  // Told of a session unlock, after which the clock may stand elsewhere.
  static const auto notify = SystemFunction<decltype(&WTSRegisterSessionNotification)>(
      L"wtsapi32.dll", "WTSRegisterSessionNotification");
  sessionnotified_ = notify && notify(Handle(), NOTIFY_FOR_THIS_SESSION) != FALSE;
  if (Profile()) {
    eventsounds.Read(*Profile());
    eventsoundsloaded_ = true;
  }
  UpdateCheckMarks();
}

void Tmainform::FollowClockLook() {
  // The panel read its look from its profile when it was loaded.
  clocklook.Set(datepanel->Look());
  noisetimer->SetEnabled(clocklook.Get().horizontalNoise);
  lookviews_.push_back(clocklook.Subscribe([this](const tclocklook& look) {
    const bool shown = datepanel->Visible();
    datepanel->SetLook(look);
    if (shown != look.visible) LayoutPanels();
  }));
  lookviews_.push_back(clocklook.Subscribe([this](const tclocklook&) { UpdateCheckMarks(); }));
  lookviews_.push_back(
      clocklook.Subscribe([this](const tclocklook& look) { noisetimer->SetEnabled(look.horizontalNoise); }));
}

std::string Tmainform::AccessibleClockName() const {
  if (!datepanel->Visible()) return Application->Title();
  std::string name = datepanel->Title().empty() ? datepanel->ClockText() : datepanel->Title() + " " + datepanel->ClockText();
  if (datepanel->GaugeVisible() && datepanel->Max() > 0)
    name += " " + std::to_string(datepanel->Position()) + "/" + std::to_string(datepanel->Max());
  return name;
}

void Tmainform::TellNewMinute() {
  const std::string now = AccessibleClockName();
  if (now == spokenclock_) return;
  spokenclock_ = now;
  TellAccessible();
}

void Tmainform::LoadNoticeList() {
  noticelistwritable_ = noticelist.Load(tnoticelist::FilePath()) != tnoticelist::tloadresult::Unreadable;
  if (!noticelistwritable_) PostMessageW(Handle(), kNoticeListUnreadableMessage, 0, 0);
}

void Tmainform::ReportUnreadableNoticeList() {
  const std::string text = "通知リストのファイルを読み込めません。\r\n" + tnoticelist::FilePath() +
                           "\r\n\r\n通知なしで動作します。このファイルは書き換えません。";
  ShowMessage(Application->Handle(), text, kErrorCaption, MB_OK | MB_ICONINFORMATION);
}

bool Tmainform::NoticeEditsUnsaved() const {
  // The list started empty: whatever it holds now was added in this run.
  return !noticelistwritable_ && noticelist.Count() > 0;
}

void Tmainform::ReportUnsavedNoticeEdits(bool exiting) {
  if (!NoticeEditsUnsaved()) return;
  const std::string text = "通知リストのファイルを読み込めなかったため、変更した通知は保存できません。\r\n" +
                           tnoticelist::FilePath() + "\r\n\r\n" +
                           (exiting ? "変更した通知は失われます。このファイルは書き換えません。"
                                    : "変更は終了するまで有効です。このファイルは書き換えません。");
  // At the end the quit message may wait already; the box would take it
  // and close before the user saw it.
  MSG quit;
  const bool quitting = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  ShowMessage(Application->Handle(), text, kErrorCaption, MB_OK | MB_ICONWARNING);
  if (quitting) PostQuitMessage(static_cast<int>(quit.wParam));
}

void Tmainform::SaveNoticeList() {
  if (noticelistwritable_) noticelist.Save(tnoticelist::FilePath());
}

void Tmainform::SaveProfile() {
  std::exception_ptr failure;
  auto attempt = [&failure](auto step) {
    try {
      step();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  };
  attempt([this] { ttransparentprimaryform::SaveProfile(); });
  attempt([this] { SaveNoticeList(); });
  if (Profile() && eventsoundsloaded_) {
    eventsounds.Write(*Profile());
    // Written now, so that every caller of this step finds them on disk.
    attempt([this] { Profile()->Save(); });
  }
  if (failure) std::rethrow_exception(failure);
}

void Tmainform::SchedulerTick() { scheduler_->Tick(eventsounds, noticelist); }

void Tmainform::ClockChanged() { scheduler_->RunDueMinutes(eventsounds, noticelist); }

void Tmainform::ShowNotice(const std::string& message) {
  const platform::tlocaltime now = schedulerlink_->Now();
  ShowNotice(message, now.hour, now.minute);
}

void Tmainform::ShowNotice(const std::string& message, int hour, int minute) {
  savedforegroundwindow_ = GetForegroundWindow();
  // Every notice gives the focus back to the window saved last; that fails
  // silently when the window is gone.
  auto* notice = Application->CreateForm<Tnoticeform>(message, hour, minute, [this] {
    if (savedforegroundwindow_) SetForegroundWindow(savedforegroundwindow_);
  });
  try {
    PlaySoundList(eventsounds.noticed);
    notice->Show();
  } catch (...) {
    // No window is left behind that nobody sees.
    notice->Free();
    throw;
  }
  SetForegroundWindow(notice->Handle());
}

void Tmainform::FormDestroy(tobject*) {
  if (slowpanelcontroltimer) slowpanelcontroltimer->SetEnabled(false);
  static const auto unnotify = SystemFunction<decltype(&WTSUnRegisterSessionNotification)>(
      L"wtsapi32.dll", "WTSUnRegisterSessionNotification");
  if (sessionnotified_ && unnotify && ExistingHandle()) unnotify(ExistingHandle());
  sessionnotified_ = false;
  lookviews_.clear();
  ReportUnsavedNoticeEdits(true);
}

void Tmainform::UpdateCheckMarks() {
  const tclocklook& look = clocklook.Get();
  transparentbackgroundhalftonebutton->SetChecked(look.transparentBackgroundHalftone);
  transparentforegroundbutton->SetChecked(look.transparentForeground);
  transparentbackgroundbutton->SetChecked(look.transparentBackground);
  lockmovebutton->SetChecked(lockmove());
  stayontopbutton->SetChecked(stayontop());
}

void Tmainform::FormShow(tobject*) {
  if (hidebutton) hidebutton->SetChecked(false);
}

void Tmainform::FormHide(tobject*) {
  if (hidebutton) hidebutton->SetChecked(true);
}

void Tmainform::LayoutPanels() {
  if (datepanel && datepanel->Visible()) datepanel->SetBounds(Scaled(4), Scaled(1), ClientWidth() - Scaled(8), ClientHeight() - Scaled(2));
}

void Tmainform::FormResize(tobject*) { LayoutPanels(); }

void Tmainform::FormPaint(tobject*) { ApplyStayOnTop(); }

void Tmainform::OpenPopupAtWindowCorner() {
  if (MainPopupMenu) MainPopupMenu->Popup(Left(), Top());
}

void Tmainform::FormKeyDown(tobject*, WORD& key, tshiftstate shift) {
  if (key == VK_F1) {
    Application->HelpCommand(HELP_FINDER, 0);
  } else if ((key == VK_F10 && (shift & ssShift)) || key == VK_ESCAPE) {
    OpenPopupAtWindowCorner();
    // Used up: the default procedure would open the menu again for Shift+F10.
    key = 0;
  }
}

void Tmainform::FormMouseMove(tobject*, tshiftstate shift, int, int) {
  if (!(shift & ssLeft) || lockmove()) return;
  ReleaseCapture();
  const LPARAM at = MAKELPARAM(static_cast<WORD>(GetCursorX()), static_cast<WORD>(GetCursorY()));
  SendMessageW(Handle(), WM_SYSCOMMAND, kDragCommand, at);
}

void Tmainform::FormCloseQuery(tobject*, bool& canClose) { canClose = true; }

void Tmainform::FormClose(tobject*, tcloseaction& action) { action = tcloseaction::caFree; }

void Tmainform::SystemSettingsChanged() {
  ttransparentprimaryform::SystemSettingsChanged();
  if (datepanel) datepanel->RefreshBackground();
}

void Tmainform::SaveForSessionEnd() { SaveEveryProfile(); }

void Tmainform::SaveEveryProfile() {
  try {
    ttransparentprimaryform::SaveForSessionEnd();
  } catch (...) {
  }
  ForEachGaugePanel([](tgaugepanel* p) {
    try {
      p->SaveProfile();
    } catch (...) {
    }
  });
}

void Tmainform::CallPropertyButtonClick(tobject*) {
  Application->ProcessMessages();
  // Closing frees the wizard.
  Application->CreateForm<Tpropertywizardform>(clocklook)->ShowModal();
  Application->ProcessMessages();
}

void Tmainform::FirstBoot() {
  auto* wizard = Application->CreateForm<Tpropertywizardform>(clocklook);
  wizard->PageList()->SetItemIndex(0);
  wizard->PropertyListCBoxChange(wizard->PageList());
  wizard->ShowModal();
}

void Tmainform::KZ1Click(tobject*) {
  const tclocklook& design = datepanel->DesignLook();
  ChangeClockLook([&design](tclocklook& look) {
    look.titleColor = design.titleColor;
    look.valueColor = design.valueColor;
    look.gaugeColor = design.gaugeColor;
  });
}

void Tmainform::hidebuttonClick(tobject*) {
  if (Showing()) {
    Hide();
  } else {
    Show();
  }
}

void Tmainform::stayontopbuttonClick(tobject*) {
  Setstayontop(!stayontop());
  stayontopbutton->SetChecked(stayontop());
}

void Tmainform::lockmovebuttonClick(tobject*) {
  Setlockmove(!lockmove());
  lockmovebutton->SetChecked(lockmove());
}

// The top and left edges are the screen's, not the work area's.
void Tmainform::KT1Click(tobject*) { SetTop(0); }
void Tmainform::KB1Click(tobject*) { SetTop(GetWorkAreaBottom() - Height()); }
void Tmainform::KL1Click(tobject*) { SetLeft(0); }
void Tmainform::KR1Click(tobject*) { SetLeft(GetWorkAreaRight() - Width()); }

void Tmainform::KZ2Click(tobject*) {
  if (!AnyGaugePanelVisible()) return;
  SetClientSize(Scaled(kDefaultClientWidth), Scaled(kDefaultClientHeight));
  LayoutPanels();
}

void Tmainform::transparentbackgroundbuttonClick(tobject*) {
  ChangeClockLook([](tclocklook& look) { look.transparentBackground = !look.transparentBackground; });
}

void Tmainform::transparentforegroundbuttonClick(tobject*) {
  ChangeClockLook([](tclocklook& look) { look.transparentForeground = !look.transparentForeground; });
}

void Tmainform::transparentbackgroundhalftonebuttonClick(tobject*) {
  ChangeClockLook(
      [](tclocklook& look) { look.transparentBackgroundHalftone = !look.transparentBackgroundHalftone; });
}

void Tmainform::HelpButtonClick(tobject*) { Application->HelpCommand(HELP_FINDER, 0); }

void Tmainform::KN1Click(tobject*) {
  Application->ProcessMessages();
  Application->CreateForm<Tnoticewizardform>(noticelist, this, [this](const std::string& message) {
    ShowNotice(message);
  })->ShowModal();
  Application->ProcessMessages();
  SortNoticeList();
  ReportUnsavedNoticeEdits(false);
  SaveEditedSettings();
}

void Tmainform::KE1Click(tobject*) {
  Application->ProcessMessages();
  Application->CreateForm<Teventwizardform>(eventsounds, this)->ShowModal();
  Application->ProcessMessages();
  SaveEditedSettings();
}

void Tmainform::SaveEditedSettings() {
  SaveProfile();
  if (Profile()) Profile()->Save();
}

void Tmainform::VersionButtonClick(tobject*) {
  Application->ProcessMessages();
  versiondialog->Execute();
}

void Tmainform::QuitButtonClick(tobject*) { Application->Terminate(); }

void Tmainform::slowpanelcontroltimerTimer(tobject*) { SchedulerTick(); }

void Tmainform::getsystemstatetimerTimer(tobject*) {
  HWND monitor = reinterpret_cast<HWND>(static_cast<INT_PTR>(loadmonitorwindow));
  loadfigure = monitor ? ParseIntegerOr(GetText(monitor), 0) : 0;
}

void Tmainform::noisetimerTimer(tobject*) {
  ForEachGaugePanel([](tgaugepanel* p) {
    if (auto* bar = dynamic_cast<tgraphicalgaugepanel*>(p)) bar->StepNoise();
  });
}

LRESULT Tmainform::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCloseMessage) {
    Close();
    return 0;
  }
  if (msg == kNoticeListUnreadableMessage) {
    ReportUnreadableNoticeList();
    return 0;
  }
  // The clock, its zone or the machine's sleep may have moved the local time:
  // the minutes due run now, not at the next tick.
  switch (msg) {
    case WM_TIMECHANGE:
      ClockChanged();
      return 0;
    case WM_POWERBROADCAST:
      if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) ClockChanged();
      return TRUE;
    case WM_WTSSESSION_CHANGE:
      if (wp == WTS_SESSION_UNLOCK) ClockChanged();
      return 0;
  }
  return ttransparentprimaryform::WndProc(msg, wp, lp);
}

}  // namespace pendo
