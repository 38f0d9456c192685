#!/usr/bin/env python3
"""Pendo's Japanese read back through the system's UTF-16 functions, under
the locale the harness runs (PENDO_WINE_LANG; CTest runs this under the
Japanese one and under en_US.UTF-8, whose code page is 1252).

usage: text_test.py BUILD_DIR PENDO_EXE WININSPECT_EXE
Screenshots of the open menu and the notice wizard go to BUILD_DIR/shots/.
"""
import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "driver"))
from userdriver import Desktop  # noqa: E402

BUILD, PENDO, INSPECTOR = sys.argv[1:4]
LANG = os.environ.get("PENDO_WINE_LANG", "ja_JP.UTF-8")
CODE_PAGE = 932 if LANG.startswith("ja_JP") else 1252
CLOSE_MESSAGE = 1692
WM_CLOSE = 0x0010

MENU = ["プロパティ(&R)...\tCtrl+R", "通知イベント編集(&P)\tCtrl+P", "一般イベント(&E)\tCtrl+E",
        "デフォルトカラーに戻す(&Z)", "", "隠す／最小化(&I)", "常に手前に表示(&T)", "ウインドウ移動をロック(&L)",
        "位置合わせ(&D)", "バックパネル透過(&A)", "フォアグラウンド透過(&O)", "ハーフトーン(&N)", "",
        "ヘルプ(&H)...", "バージョン情報(&V)...", "終了(&Q)"]
BUTTONS = ["<< 戻る(&P)", "次へ(&N)", "閉じる(&C)"]

# What opens the window (keys on the clock, "menu" its right-click menu; or a
# function of the test that starts another program and returns its pid), its
# class, and texts it must show among its own and its controls'.
WINDOWS = [
    ("about box", ["menu", "v"], "Tversionform", ["バージョン情報 - About", "Code Name - Velmora."]),
    ("property wizard", ["ctrl+r"], "Tpropertywizardform",
     ["プロパティウィザード - Property Wizard", "導入", "ダウンロードいただき誠にありがとうございます。"] + BUTTONS),
    ("event wizard", ["ctrl+e"], "Teventwizardform",
     ["イベントウィザード - Event Wizard", "イベントコントロール", "実行要素(&E)", "参照(&B)", "テスト(&T)"] + BUTTONS),
    ("notice wizard", ["ctrl+p"], "Tnoticewizardform",
     ["ノーティスウィザード - Notice Wizard", "通知項目コントロール", "メッセージ(&M)", "１．Enterを押す。"] + BUTTONS),
    ("Mondax's first page", lambda t: t.d.start(os.path.join(BUILD, "dist", "mondax.exe")).pid, "Tinstallationform",
     ["セットアップウィザード - Setup Wizard", "導入", "Setup: 0/6", "セットアップを行います。",
      "「次へ」を押して下さい。", "<< 戻る(&P)", "次へ(&N)", "中止(&C)"]),
    # A notice draws its message; the notice tests read its pixels under both
    # locales.
]


class JapaneseTexts(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.d = Desktop(BUILD, INSPECTOR)
        cls.folder = os.path.join(BUILD, "tests", "app", "text-" + LANG)
        shutil.rmtree(cls.folder, ignore_errors=True)
        os.makedirs(os.path.join(cls.folder, "profile"))
        shutil.copy(PENDO, os.path.join(cls.folder, "Pendo.exe"))
        with open(os.path.join(cls.folder, "profile", "profile_mainform"), "wb") as f:
            f.write(b"firstboot,0\r\n")
        cls.shots = os.path.join(BUILD, "shots")
        os.makedirs(cls.shots, exist_ok=True)
        cls.app = cls.d.start(os.path.join(cls.folder, "Pendo.exe"))
        cls.clock = cls.d.wait_window(cls="Tmainform", pid=cls.app.pid)
        time.sleep(0.5)

    @classmethod
    def tearDownClass(cls):
        cls.app.stop(message=CLOSE_MESSAGE)

    def open_menu(self):
        self.d.right_click(self.clock, 10, 10)
        return self.d.wait_window(cls="#32768")

    def test_menu_items_in_the_programs_code_page(self):
        self.open_menu()
        self.d.screenshot(os.path.join(self.shots, "text-%s-menu.png" % LANG))
        code_page, items = self.d.menu_items()
        self.d.key("Escape")
        self.assertEqual(CODE_PAGE, code_page)
        self.assertEqual(MENU, items)

    def test_windows(self):
        for what, keys, cls, expected in WINDOWS:
            with self.subTest(what):
                pid = self.app.pid
                if callable(keys):
                    pid = keys(self)
                else:
                    for key in keys:
                        if key == "menu":
                            self.open_menu()
                        else:
                            if len(keys) == 1:
                                self.d.focus(self.clock, 5, 5)
                            self.d.key(key)
                w = self.d.wait_window(cls=cls, pid=pid)
                time.sleep(0.5)
                if cls == "Tnoticewizardform":
                    self.d.screenshot(os.path.join(self.shots, "text-%s-noticewizard.png" % LANG))
                texts = self.d.wide_texts(w)
                self.d.post(w, WM_CLOSE)
                self.assertTrue(self.d.wait_gone(w))
                for text in expected:
                    self.assertIn(text, texts)

    def test_a_folder_name_outside_the_code_page_is_refused_at_start(self):
        folder = os.path.join(BUILD, "tests", "app", "text-caf\u00e9-" + LANG)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copy(PENDO, os.path.join(folder, "Pendo.exe"))
        app = self.d.start(os.path.join(folder, "Pendo.exe"))
        box = self.d.wait_window(cls="#32770", pid=app.pid)
        self.assertIn("Pendo を置いたフォルダーの名前に、Pendo が扱えない文字が含まれています。 "
                      "そのような文字のないフォルダーに移してから起動してください。", self.d.wide_texts(box))
        self.d.post(box, WM_CLOSE)
        self.assertEqual(1, app.wait())
        self.assertFalse(os.path.exists(os.path.join(folder, "profile")))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
