// The application object: the hidden window that stands for the program on
// the taskbar and owns every form, the main form, the message loop with its
// key pre-processing, and the program-wide hooks.
//
// Threading: the framework belongs to one thread, the user-interface thread
// (the first to use it: the one that creates the application object). Every
// component, window, form description, timer and table of the framework is
// made, used and freed there, so none of them is locked. Other threads may
// only post or send messages to its windows, which the system hands to the
// UI thread. Debug builds check this where the shared tables are touched
// (AssertUiThread).
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/icon.h"
#include "framework/utilitywindow.h"

namespace pendo {

class tform;

// A control that cannot paint: the program saves what its forms hold and
// ends with exit code 1, rather than report the same failure at every paint.
class EPaintFailed : public std::runtime_error {
 public:
  explicit EPaintFailed(const std::string& what) : std::runtime_error(what) {}
};

class tapplication {
 public:
  using thook = std::function<void()>;
  using terrorhook = std::function<void(const std::exception* error)>;

  explicit tapplication(HINSTANCE instance);
  ~tapplication();
  tapplication(const tapplication&) = delete;
  tapplication& operator=(const tapplication&) = delete;

  HINSTANCE Instance() const { return instance_; }
  HWND Handle() const { return handle_; }
  // The program's icon ("MAINICON"), or the system's default one.
  HICON Icon() const { return icon_.Handle(); }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool show) { showMainForm_ = show; }

  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(const std::string& file) { helpFile_ = file; }
  // WinHelp on the help file; false when there is none or the viewer fails.
  bool HelpCommand(UINT command, ULONG_PTR data);

  void Minimize();
  void Restore();
  bool Minimized() const { return IsIconic(handle_) != FALSE; }

  // The one way a form is made: built and kept by the application, which
  // owns it from the moment it exists and frees it at the end unless it is
  // freed (or released) before. A form whose building fails is freed and
  // the error passed on.
  template <class Form, class... Args>
  Form* CreateForm(Args&&... args) {
    return static_cast<Form*>(Adopt(new Form(nullptr, std::forward<Args>(args)...), false));
  }
  // The same for the main form, whose closing ends the program.
  template <class Form, class... Args>
  Form* CreateMainForm(Args&&... args) {
    return static_cast<Form*>(Adopt(new Form(nullptr, std::forward<Args>(args)...), true));
  }
  tform* MainForm() const { return mainForm_; }
  const std::vector<tform*>& Forms() const { return forms_; }

  // Runs the message loop until Terminate or the main form closes.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Waits for one message and handles it; false when it was the quit message.
  bool HandleMessage();
  // Handles the waiting messages, then returns.
  void ProcessMessages();

  // Frees the forms the application keeps, newest first (the main form last).
  void DestroyForms();
  // Frees a form once the messages now waiting have been handled.
  void ReleaseForm(tform* form);
  // A form tells the application it is going.
  void FormDestroyed(tform* form);

  // Program-wide hooks; an empty hook means none.
  thook OnActivate;
  thook OnDeactivate;
  terrorhook OnException;

  // The program became active or inactive (reported once per change).
  void Activate(bool active);
  // Called by the guard (windowentry.h) with every exception a handler threw;
  // EPaintFailed ends the program (forms save first, SaveBeforeExit).
  void HandleException(const std::exception* error);

 private:
  tform* Adopt(tform* form, bool main);
  bool Dispatch(MSG& msg);
  LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HINSTANCE instance_;
  std::unique_ptr<tutilitywindow> window_;
  HWND handle_ = nullptr;
  ticon icon_;
  std::string title_;
  std::string helpFile_;
  bool showMainForm_ = true;
  bool terminated_ = false;
  bool active_ = false;
  bool reportingError_ = false;
  tform* mainForm_ = nullptr;
  std::vector<tform*> forms_;
  // Forms waiting to be freed, by a serial number (an address may be reused).
  std::map<UINT, tform*> pendingReleases_;
  UINT releaseSerial_ = 0;
};

// The one application object of the process (set while it exists).
extern tapplication* Application;

// Stops a debug build when the framework is used from a second thread.
#ifdef NDEBUG
inline void AssertUiThread() {}
#else
void AssertUiThread();
#endif

}  // namespace pendo
