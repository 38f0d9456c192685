// A top-level window owned by the application window. One C++ object owns
// one HWND; the window class is registered under the form's class name so
// that other programs can find the window by it.
#pragma once

#include <windows.h>

#include <string>

namespace pendo {

struct FormPlacement {
  int left = 0, top = 0, clientWidth = 0, clientHeight = 0;
};

class tform {
 public:
  // className: the window class ("Tmainform"); name: the component name ("mainform").
  tform(const std::string& className, const std::string& name, const FormPlacement& design, DWORD style,
        DWORD exStyle);
  virtual ~tform();
  tform(const tform&) = delete;
  tform& operator=(const tform&) = delete;

  HWND Handle() const { return handle_; }
  const std::string& Name() const { return name_; }
  const std::string& ClassName() const { return className_; }

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  int ClientWidth() const;
  int ClientHeight() const;
  void SetLeft(int left);
  void SetTop(int top);
  void SetBounds(int left, int top, int width, int height);
  void SetClientWidth(int width);
  void SetClientHeight(int height);

  bool Visible() const { return IsWindowVisible(handle_) != FALSE; }
  virtual void Show();
  virtual void Hide();
  // Asks the form to close, as the user would.
  void Close();

 protected:
  // Runs once after the design-time placement is applied.
  virtual void Loaded() {}
  // The form's own message handling; the default passes to DefWindowProc.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp);

 private:
  friend class tapplication;
  // The loading step, run by the creator once the object is complete.
  void RunLoaded();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void RegisterWindowClass();
  SIZE FrameExtra() const;

  std::string className_;
  std::string name_;
  HWND handle_ = nullptr;
  bool loaded_ = false;
};

}  // namespace pendo
