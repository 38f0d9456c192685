// The clock's main window: the date panel, the pop-up menu with every
// command, and the three timers. Other programs find it by its class name
// and end Pendo by sending it kCloseMessage.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/versiondialog.h"
#include "controls/_propertywizardform.h"
#include "forms/transparentprimaryform.h"
#include "framework/menus.h"
#include "framework/timer.h"
#include "notices/eventsoundsettings.h"
#include "notices/minutescheduler.h"
#include "notices/noticelist.h"
#include "notices/schedulerclock.h"
#include "panels/clocklook.h"
#include "settings/observable.h"

namespace pendo {

class tdatepanel;
class tgaugepanel;

class Tmainform : public ttransparentprimaryform {
 public:
  static constexpr UINT kCloseMessage = 1692;
  // Posted at creation when the notice file could not be read, so that the
  // user is told once the program runs.
  static constexpr UINT kNoticeListUnreadableMessage = WM_APP + 1;
  static constexpr int kDefaultClientWidth = 117;
  static constexpr int kDefaultClientHeight = 32;

  explicit Tmainform(tcomponent* owner);
  ~Tmainform() override;

  // Components of the form description.
  tdatepanel* datepanel = nullptr;
  tpopupmenu* MainPopupMenu = nullptr;
  tmenuitem* CallPropertyButton = nullptr;
  tmenuitem* KN1 = nullptr;
  tmenuitem* KE1 = nullptr;
  tmenuitem* KZ1 = nullptr;
  tmenuitem* hidebutton = nullptr;
  tmenuitem* stayontopbutton = nullptr;
  tmenuitem* lockmovebutton = nullptr;
  tmenuitem* KD1 = nullptr;
  tmenuitem* KT1 = nullptr;
  tmenuitem* KB1 = nullptr;
  tmenuitem* KL1 = nullptr;
  tmenuitem* KR1 = nullptr;
  tmenuitem* KZ2 = nullptr;
  tmenuitem* transparentbackgroundbutton = nullptr;
  tmenuitem* transparentforegroundbutton = nullptr;
  tmenuitem* transparentbackgroundhalftonebutton = nullptr;
  tmenuitem* HelpButton = nullptr;
  tmenuitem* VersionButton = nullptr;
  tmenuitem* QuitButton = nullptr;
  tversiondialog* versiondialog = nullptr;
  ttimer* slowpanelcontroltimer = nullptr;
  ttimer* getsystemstatetimer = nullptr;
  ttimer* noisetimer = nullptr;

  // Handle of the state monitor's load window (0: none) and its last figure.
  int loadmonitorwindow = 0;
  int loadfigure = 0;

  // The clock's look: the panel, the menu's check marks and the noise timer
  // follow it, the menu and the property wizard change it.
  tobservable<tclocklook> clocklook;
  // The user's notices and the chime and notice sounds; the wizards edit them
  // in place and SaveProfile writes them.
  tnoticelist noticelist;
  teventsoundsettings eventsounds;
  // The window that had the focus when the last notice opened; every notice
  // window gives the focus back to it when it closes.
  HWND SavedForegroundWindow() const { return savedforegroundwindow_; }

  void LoadNoticeList();
  // Leaves a notice file that could not be read as it is.
  void SaveNoticeList();
  void SortNoticeList() { noticelist.Sort(); }
  void SchedulerTick();
  // The system's clock, time zone or power state changed: the minutes due run at once.
  void ClockChanged();
  // A notice of the present time (the notice wizard's test), and one of the
  // time it was due.
  void ShowNotice(const std::string& message);
  void ShowNotice(const std::string& message, int hour, int minute);
  // The last minute the scheduler ran (LocalMinuteNumber); none before the first tick.
  std::optional<long long> LastCompletedMinute() const { return scheduler_->LastCompletedMinute(); }
  // The clock the scheduler compares with (null: the system's).
  void SetSchedulerClock(tschedulerclock* clock);

  void SetDefaultPlacement() override;
  void SystemSettingsChanged() override;
  // Opens the property wizard on its first page.
  void FirstBoot() override;
  // The clock fills the window when it is shown.
  void LayoutPanels();
  void SaveForSessionEnd() override;
  // The inherited settings, then the notice list, then the event sounds; every
  // part is written even when an earlier one fails, and the first failure is
  // raised afterwards.
  void SaveProfile() override;
  // What the end of the program writes of the notices and the sounds, written
  // when a wizard closes so that nothing typed there waits for the end.
  void SaveEditedSettings();

  // Form events.
  void FormCreate(tobject* sender);
  void FormDestroy(tobject* sender);
  void FormShow(tobject* sender);
  void FormHide(tobject* sender);
  void FormResize(tobject* sender);
  void FormPaint(tobject* sender);
  void FormKeyDown(tobject* sender, WORD& key, tshiftstate shift);
  void FormMouseMove(tobject* sender, tshiftstate shift, int x, int y);
  void FormCloseQuery(tobject* sender, bool& canClose);
  void FormClose(tobject* sender, tcloseaction& action);

  // Menu commands.
  void CallPropertyButtonClick(tobject* sender);
  void KZ1Click(tobject* sender);
  void hidebuttonClick(tobject* sender);
  void stayontopbuttonClick(tobject* sender);
  void lockmovebuttonClick(tobject* sender);
  void KT1Click(tobject* sender);
  void KB1Click(tobject* sender);
  void KL1Click(tobject* sender);
  void KR1Click(tobject* sender);
  void KZ2Click(tobject* sender);
  void transparentbackgroundbuttonClick(tobject* sender);
  void transparentforegroundbuttonClick(tobject* sender);
  void transparentbackgroundhalftonebuttonClick(tobject* sender);
  void HelpButtonClick(tobject* sender);
  void KN1Click(tobject* sender);
  void KE1Click(tobject* sender);
  void VersionButtonClick(tobject* sender);
  void QuitButtonClick(tobject* sender);

  // Timers.
  void slowpanelcontroltimerTimer(tobject* sender);
  void getsystemstatetimerTimer(tobject* sender);
  void noisetimerTimer(tobject* sender);

 protected:
  void DeclarePublished(tresourcecontext& context) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Every gauge panel the window owns (the clock, today).
  template <class F>
  void ForEachGaugePanel(F f);
  bool AnyGaugePanelVisible();
  void OpenPopupAtWindowCorner();
  void UpdateCheckMarks();
  // The views of the look follow it from the window's creation on.
  void FollowClockLook();
  // What a screen reader says of the clock: its title, date and time, and
  // the bar's value when it shows one.
  std::string AccessibleClockName() const;
  // Once a second: listeners hear of a new minute, not of the separator.
  void TellNewMinute();
  template <class F>
  void ChangeClockLook(F change) {
    clocklook.Update(change);
  }
  // What an ordinary exit writes, written now and each file on its own: the
  // window's profile and every panel's.
  void SaveEveryProfile();
  void ReportUnreadableNoticeList();
  // Notices added while the file could not be read, which cannot be saved.
  bool NoticeEditsUnsaved() const;
  // Tells the user so, when there are such notices: on closing the notice
  // wizard, and at the end, when they are lost.
  void ReportUnsavedNoticeEdits(bool exiting);

  class tschedulerlink;
  std::vector<tobservable<tclocklook>::tsubscription> lookviews_;
  tsystemclock systemclock_;
  std::unique_ptr<tschedulerlink> schedulerlink_;
  std::unique_ptr<tminutescheduler> scheduler_;
  HWND savedforegroundwindow_ = nullptr;
  std::string spokenclock_;
  // Nothing is written before it was read: a notice file that exists but
  // could not be read is never written over, nor are sounds never loaded.
  bool noticelistwritable_ = false;
  bool eventsoundsloaded_ = false;
  bool sessionnotified_ = false;
};

}  // namespace pendo
