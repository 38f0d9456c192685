// The application object: the hidden window that stands for the program on
// the taskbar and owns every form, the main form, the message loop and the
// program-wide hooks.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pendo {

class tform;

class tapplication {
 public:
  using Hook = std::function<void()>;
  using ErrorHook = std::function<void(const std::exception* error)>;

  explicit tapplication(HINSTANCE instance);
  ~tapplication();
  tapplication(const tapplication&) = delete;
  tapplication& operator=(const tapplication&) = delete;

  HINSTANCE Instance() const { return instance_; }
  HWND Handle() const { return handle_; }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool show) { showMainForm_ = show; }

  // Takes ownership; the first form created becomes the main form.
  template <class Form, class... Args>
  Form* CreateForm(Args&&... args) {
    auto form = std::make_unique<Form>(std::forward<Args>(args)...);
    Form* raw = form.get();
    Adopt(std::move(form));
    return raw;
  }
  tform* MainForm() const { return mainForm_; }

  // Runs the message loop until Terminate or the main form closes.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles the waiting messages, then returns.
  void ProcessMessages();

  // Frees the forms, newest first (the main form last).
  void DestroyForms();

  // Program-wide hooks; an empty hook means none.
  Hook OnActivate;
  Hook OnDeactivate;
  ErrorHook OnException;

  // Called by every window procedure that caught an exception.
  void HandleException(const std::exception* error);

 private:
  void Adopt(std::unique_ptr<tform> form);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HINSTANCE instance_;
  HWND handle_ = nullptr;
  std::string title_;
  bool showMainForm_ = true;
  bool terminated_ = false;
  tform* mainForm_ = nullptr;
  std::vector<std::unique_ptr<tform>> forms_;
};

// The one application object of the process (set while it exists).
extern tapplication* Application;

}  // namespace pendo
