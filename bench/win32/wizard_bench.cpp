// The notice wizard with 10,000 notices, in the real windows under Wine or
// Windows: opening it (built, tree filled, shown and painted), one keystroke in
// the message (record rewritten and its tree node's text), one change of a
// list, the sort (F5) and closing it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/_mainform.h"
#include "framework/application.h"
#include "notices/_noticewizardform.h"

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump(pendo::tapplication& app, int ms) {
  for (int i = 0; i < ms / 10; ++i) {
    app.ProcessMessages();
    Sleep(10);
  }
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int notices = argc > 1 ? std::atoi(argv[1]) : 10000;
  pendo::tapplication app(GetModuleHandleA(nullptr));
  auto* main = pendo::Application->CreateForm<pendo::Tmainform>();
  main->ShowAtStartup();
  Pump(app, 200);
  main->noticelist.Clear();
  for (int i = 0; i < notices; ++i)
    main->noticelist.Add("2,0,0,0," + std::to_string(i % 24) + "," + std::to_string(i % 60) + ",お知らせ " +
                         std::to_string(i));
  std::vector<double> opening, closing, keystroke, listchange, sorting;
  for (int round = 0; round < 5; ++round) {
    double t = Now();
    auto* wizard = pendo::Application->CreateForm<pendo::Tnoticewizardform>(main->noticelist, main,
                                                                     [](const std::string&) {});
    wizard->Show();
    UpdateWindow(wizard->Handle());
    UpdateWindow(wizard->noticetree->Handle());
    opening.push_back(Now() - t);
    Pump(app, 100);
    pendo::ttreenode* root = wizard->noticetree->RootNode();
    wizard->noticetree->SetSelected(root->Item(root->Count() - 1));  // the far end of the list
    HWND edit = wizard->messageedit->Handle();
    SendMessageA(edit, EM_SETSEL, 1000, 1000);
    for (int i = 0; i < 200; ++i) {
      t = Now();
      SendMessageA(edit, WM_CHAR, 'a', 0);
      keystroke.push_back(Now() - t);
    }
    for (int i = 0; i < 20; ++i) {
      t = Now();
      SendMessageA(wizard->minutecbox->Handle(), WM_KEYDOWN, i % 2 ? VK_UP : VK_DOWN, 0);
      listchange.push_back(Now() - t);
    }
    t = Now();
    wizard->K1->Click();
    UpdateWindow(wizard->noticetree->Handle());
    sorting.push_back(Now() - t);
    t = Now();
    wizard->Free();
    closing.push_back(Now() - t);
    Pump(app, 100);
  }
  std::printf("notices: %d\n", main->noticelist.Count());
  std::printf("open (build, fill the tree, show, paint): median %.1f ms (min %.1f)\n", Median(opening) * 1e3,
              *std::min_element(opening.begin(), opening.end()) * 1e3);
  std::printf("one keystroke in the message (record and node text): median %.3f ms (max %.3f)\n",
              Median(keystroke) * 1e3, *std::max_element(keystroke.begin(), keystroke.end()) * 1e3);
  std::printf("one list change (record and node text): median %.3f ms\n", Median(listchange) * 1e3);
  std::printf("sort and rebuild the tree: median %.1f ms\n", Median(sorting) * 1e3);
  std::printf("close (free the wizard and its tree): median %.1f ms\n", Median(closing) * 1e3);
  main->Free();
  return 0;
}
