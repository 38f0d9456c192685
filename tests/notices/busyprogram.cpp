// A program a notice names that never takes input: it leaves "<name>.ran"
// beside itself and waits, without a message loop, until that file is gone
// (at most five minutes).
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t exe[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::wstring ran = std::wstring(exe, n) + L".ran";
  HANDLE f = CreateFileW(ran.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(f);
  for (int i = 0; i < 3000 && GetFileAttributesW(ran.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
  return 0;
}
