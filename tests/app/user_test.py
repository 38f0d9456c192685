#!/usr/bin/env python3
"""Pendo as a user drives it: real mouse and keys on the test display.

usage: user_test.py BUILD_DIR PENDO_EXE WININSPECT_EXE
Screenshots of the open menu and the about box are left in BUILD_DIR/shots/.
"""
import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "driver"))
from userdriver import Desktop  # noqa: E402

BUILD, PENDO, INSPECTOR = sys.argv[1:4]
CLOSE_MESSAGE = 1692
SHOTS = os.path.join(BUILD, "shots")


class PendoByHand(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.d = Desktop(BUILD, INSPECTOR)
        cls.folder = os.path.join(BUILD, "tests", "app", "user")
        os.makedirs(SHOTS, exist_ok=True)

    def setUp(self):
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(os.path.join(self.folder, "profile"))
        shutil.copy(PENDO, os.path.join(self.folder, "Pendo.exe"))
        # Not a first run: nothing opens by itself.
        with open(os.path.join(self.folder, "profile", "profile_mainform"), "wb") as f:
            f.write(b"firstboot,0\r\n")
        self.start()

    def start(self):
        self.app = self.d.start(os.path.join(self.folder, "Pendo.exe"))
        try:
            self.clock = self.d.wait_window(cls="Tmainform", pid=self.app.pid)
        except TimeoutError:
            self.app.kill()
            raise
        time.sleep(0.5)

    def tearDown(self):
        for w in self.d.windows():
            if w.pid == self.app.pid and w.visible and w.cls == "#32768":
                self.d.key("Escape")
        self.assertEqual(self.app.stop(message=CLOSE_MESSAGE), 0)

    def profiles(self):
        folder = os.path.join(self.folder, "profile")
        files = {}
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                files[name] = f.read()
        return files

    def menu(self):
        return self.d.wait_window(cls="#32768", pid=self.app.pid, timeout=5)

    def menus_opened_by(self, key, held=None):
        """Presses key on the clock (with held kept down until the menu has
        closed); how many menus opened, and the first."""
        self.d.focus(self.clock, 8, 8)
        watch = self.d.watch("#32768", 5000)
        if held:
            self.d.key_down(held)
        self.d.key(key)
        menu = self.menu()
        self.d.key("Escape")
        self.assertTrue(self.d.wait_gone(menu))
        if held:
            self.d.key_up(held)
        count, _ = watch.result()
        return count, menu

    def open_about_with_keys(self):
        self.d.focus(self.clock, 8, 8)
        self.d.key("Escape")
        self.menu()
        self.d.key("v")
        return self.d.wait_window(cls="Tversionform", pid=self.app.pid, timeout=10)

    def test_right_click_opens_the_menu_at_the_mouse_and_about_box_from_it(self):
        self.d.right_click(self.clock, 30, 14)
        menu = self.menu()
        self.assertEqual(menu.rect[:2], self.d.mouse_position())
        self.d.screenshot(os.path.join(SHOTS, "user-menu.png"))
        # Fourteen items and two separators; バージョン情報 is the second from the bottom.
        item = (menu.height - 6 - 2 * 9) / 14
        self.d.click(menu, menu.width // 2, int(menu.height - 3 - 1.5 * item))
        about = self.d.wait_window(cls="Tversionform", pid=self.app.pid, timeout=10)
        self.assertEqual(about.text, "バージョン情報 - About")
        texts = [c.text for c in self.d.children(about)]
        self.assertIn("Sorvek Pendo + Short Message v2.05k0.95-98.", texts)
        self.assertIn("Code Name - Velmora.", texts)
        self.d.screenshot(os.path.join(SHOTS, "user-about.png"))
        self.d.key("Return")
        self.assertTrue(self.d.wait_gone(about))

    def test_enter_esc_alt_f4_and_the_close_box_each_close_the_about_box(self):
        for way in ("Return", "Escape", "alt+F4", "close box"):
            about = self.open_about_with_keys()
            if way == "close box":
                frame = about.client[0] - about.rect[0]
                caption = about.client[1] - about.rect[1]
                self.d.click(about, about.width - frame - 9, (caption + frame) // 2)
            else:
                self.d.key(way)
            self.assertTrue(self.d.wait_gone(about), way)
            self.assertIsNotNone(self.d.refresh(self.clock), way)

    def test_a_left_drag_moves_the_clock_unless_it_is_locked(self):
        x0, y0 = self.clock.rect[:2]
        self.d.drag(self.clock, (30, 14), (30 + 150, 14 + 100))
        moved = self.d.refresh(self.clock)
        # The system's move starts at the first movement, a pixel after the press.
        self.assertLessEqual(abs(moved.rect[0] - (x0 + 150)), 2, moved)
        self.assertLessEqual(abs(moved.rect[1] - (y0 + 100)), 2, moved)

        self.d.focus(moved, 8, 8)
        self.d.key("Escape")
        menu = self.menu()
        self.d.key("l")  # ウインドウ移動をロック
        self.assertTrue(self.d.wait_gone(menu))
        self.d.drag(moved, (30, 14), (30 - 100, 14 + 80))
        self.assertEqual(self.d.refresh(self.clock).rect, moved.rect)

    def test_the_end_of_the_session_saves_what_an_ordinary_exit_saves(self):
        start = self.profiles()
        written = []
        for end in ("session", "ordinary"):
            self.d.focus(self.clock, 8, 8)
            self.d.key("ctrl+Right", "ctrl+Right", "ctrl+shift+Down")
            self.d.key("Escape")
            menu = self.menu()
            self.d.key("n")  # ハーフトーン
            self.assertTrue(self.d.wait_gone(menu))
            if end == "session":
                subprocess.run(["wineboot", "--end-session"], env=self.d.env, check=True, timeout=60)
                self.app.wait(20)  # the session's end ends it
                # and the desktop: bring it back before Pendo starts again,
                # or the two starting together may wait for each other.
                self.d.windows()
                time.sleep(1)
            else:
                self.assertEqual(self.app.stop(message=CLOSE_MESSAGE), 0)
            written.append(self.profiles())
            for name, data in start.items():
                with open(os.path.join(self.folder, "profile", name), "wb") as f:
                    f.write(data)
            for name in set(written[-1]) - set(start):
                os.remove(os.path.join(self.folder, "profile", name))
            self.start()
        self.assertIn(b"left,42\r\n", written[0]["profile_mainform"])
        self.assertIn(b"transparentbackgroundhalftone,0\r\n", written[0]["profile_datepanel"])
        self.assertEqual(written[0], written[1])

    def test_a_clock_off_the_screen_shows_on_it_and_keeps_its_place_until_the_user_moves_it(self):
        self.assertEqual(self.app.stop(message=CLOSE_MESSAGE), 0)
        # Left there on a monitor that is gone, or a larger resolution.
        with open(os.path.join(self.folder, "profile", "profile_mainform"), "wb") as f:
            f.write(b"firstboot,0\r\nleft,1500\r\ntop,900\r\n")
        for move in (False, True):
            self.start()
            left, top, right, bottom = self.clock.rect
            self.assertTrue(0 <= left and right <= 1024 and 0 <= top and bottom <= 768, self.clock)
            if move:
                self.d.drag(self.clock, (30, 14), (30 - 300, 14 - 200))
                moved = self.d.refresh(self.clock)
            else:
                self.d.screenshot(os.path.join(SHOTS, "user-off-the-screen.png"))
            self.assertEqual(self.app.stop(message=CLOSE_MESSAGE), 0)
            saved = self.profiles()["profile_mainform"]
            left, top = moved.rect[:2] if move else (1500, 900)
            self.assertIn(b"top,%d\r\nleft,%d\r\n" % (top, left), saved)
        self.start()

    def test_after_a_notice_has_closed_an_error_still_shows_the_fixed_message(self):
        d = self.d
        d.focus(self.clock, 8, 8)
        d.key("ctrl+p")
        wizard = d.wait_window(cls="Tnoticewizardform", pid=self.app.pid)
        tree = d.wait_for(lambda: d.find_child(wizard, "SysTreeView32"), what="the notice tree")
        d.click_child(wizard, tree, button=3)
        d.wait_window(cls="#32768")
        d.key("a")  # 追加(&A)
        time.sleep(0.3)
        d.click_child(wizard, d.child(wizard, "Button", "テスト(&T)"))
        notice = d.wait_window(cls="Tnoticeform", pid=self.app.pid)
        d.key("Return")
        self.assertTrue(d.wait_gone(notice))
        # Closing the wizard writes the profile, which another program holds.
        held = d.hold(os.path.join(self.folder, "profile", "profile_mainform"))
        try:
            d.click_child(wizard, d.child(wizard, "Button", "閉じる(&C)"))
            box = d.wait_window(cls="#32770", pid=self.app.pid, timeout=20)
            time.sleep(0.5)
            self.assertEqual(box.text, "例外 - Exception")
            self.assertIn("例外が発生しました。発生地点は不明です。", [c.text for c in d.children(box)])
            d.screenshot(os.path.join(SHOTS, "user-error-after-a-notice.png"), box)
            d.focus(box, box.width // 2, 10)
            d.key("Return")
            self.assertTrue(d.wait_gone(box))
        finally:
            held.release()

    def test_shift_f10_and_esc_open_the_menu_once_at_the_window_corner(self):
        for key, held in (("F10", "shift"), ("Escape", None)):
            count, menu = self.menus_opened_by(key, held)
            self.assertEqual(count, 1, key)
            self.assertEqual(menu.rect[:2], self.clock.rect[:2], key)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
