#!/usr/bin/env python3
"""The notice and event wizards driven by hand: real mouse and keys (xdotool).

A notice added in the notice wizard, due in the next minute, fires while the
wizard is still open and is on disk once the wizard closes; every page of both
wizards is photographed into SHOTS.

usage: noticewizard_user_test.py BUILD_DIR PENDO_EXE WININSPECT_EXE SHOTS
"""
import datetime
import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "driver"))
from userdriver import Desktop  # noqa: E402

BUILD, PENDO, INSPECTOR, SHOTS = sys.argv[1:5]


class WizardsByHand(unittest.TestCase):
    def setUp(self):
        self.d = Desktop(BUILD, INSPECTOR)
        self.folder = os.path.join(BUILD, "tests", "notices", "wizard-user")
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(os.path.join(self.folder, "profile"))
        os.makedirs(SHOTS, exist_ok=True)
        shutil.copy(PENDO, os.path.join(self.folder, "Pendo.exe"))
        with open(os.path.join(self.folder, "profile", "profile_mainform"), "wb") as f:
            f.write(b"firstboot,0\r\n")

    @staticmethod
    def read(path):
        try:
            with open(path, "rb") as f:
                return f.read()
        except OSError:
            return b""

    def test_a_notice_added_by_hand_fires_while_the_wizard_is_open_and_is_saved_on_close(self):
        d = self.d
        if datetime.datetime.now().second > 40:
            time.sleep(61 - datetime.datetime.now().second)
        due = datetime.datetime.now() + datetime.timedelta(minutes=1)
        app = d.start(os.path.join(self.folder, "Pendo.exe"))
        try:
            clock = d.wait_window(cls="Tmainform", pid=app.pid)
            d.focus(clock)
            d.key("ctrl+p")
            wizard = d.wait_window(cls="Tnoticewizardform", pid=app.pid)
            tree = d.wait_for(lambda: d.find_child(wizard, "SysTreeView32"), what="the notice tree")
            d.click_child(wizard, tree, button=3)
            menu = d.wait_window(cls="#32768")
            d.key("a")  # 追加(&A): the new notice, the focus in its message
            d.wait_gone(menu)
            d.key("End", "shift+Home")
            d.type("hello")
            d.key("alt+i")  # 時間(&I) focuses the type list
            d.key("Down", "Down")  # 毎日
            d.key("Tab")  # the weekday, month and day lists are hidden: the hour
            d.key(*(["Down"] * due.hour))
            d.key("Tab")
            d.key(*(["Down"] * due.minute))
            time.sleep(0.5)
            d.screenshot(os.path.join(SHOTS, "noticewizard-page0.png"), d.refresh(wizard))
            next_button = d.child(wizard, "Button", "次へ(&N)")
            d.click_child(wizard, next_button)
            time.sleep(0.5)
            d.screenshot(os.path.join(SHOTS, "noticewizard-page1.png"), d.refresh(wizard))
            d.click_child(wizard, d.child(wizard, "Button", "<< 戻る(&P)"))

            notice = d.wait_window(cls="Tnoticeform", pid=app.pid, timeout=100)
            self.assertIsNotNone(d.refresh(wizard), "the notice fires while the wizard is open")
            time.sleep(0.5)
            d.screenshot(os.path.join(SHOTS, "noticewizard-notice.png"))
            d.key("Return")
            d.wait_gone(notice)

            notices = os.path.join(self.folder, "profile", "element_noticelist")
            self.assertFalse(os.path.exists(notices), "nothing is written while the wizard is open")
            d.focus(wizard, 10, 10)
            d.click_child(wizard, d.child(wizard, "Button", "閉じる(&C)"))
            d.wait_gone(wizard)
            expected = b"2,0,0,0,%d,%d,hello\r\n" % (due.hour, due.minute)
            d.wait_for(lambda: self.read(notices) == expected, timeout=5, what="the notice list written")

            # The event wizard's one page.
            d.focus(clock)
            d.key("ctrl+e")
            events = d.wait_window(cls="Teventwizardform", pid=app.pid)
            tree = d.wait_for(lambda: d.find_child(events, "SysTreeView32"), what="the event tree")
            d.click_child(events, tree)
            d.key("End")  # the last item, 時報 23時30分
            time.sleep(0.3)
            d.key("alt+e")  # 実行要素(&E) focuses the sound text
            d.key("End", "shift+Home")
            d.type("beep")
            time.sleep(0.3)
            d.screenshot(os.path.join(SHOTS, "eventwizard.png"), d.refresh(events))
            d.key("Escape")
            d.wait_gone(events)
            profile = os.path.join(self.folder, "profile", "profile_mainform")
            d.wait_for(lambda: b"wavefileatclockedhalf23,beep\r\n" in self.read(profile), timeout=5,
                       what="the sounds written")
        finally:
            app.stop(message=1692)


    def message_box(self, app, words):
        """The program's next message box: its text must hold words; Enter closes it."""
        box = self.d.wait_window(cls="#32770", pid=app.pid, timeout=30)
        time.sleep(0.5)
        text = " ".join(c.text for c in self.d.children(box) if c.cls == "Static")
        self.assertIn(words, text)
        self.assertIn("element_noticelist", text)
        return box

    def close_box(self, box):
        self.d.focus(box, box.width // 2, 10)
        self.d.key("Return")
        self.assertTrue(self.d.wait_gone(box))

    def test_notices_added_to_a_list_that_could_not_be_read_are_announced_as_lost(self):
        d = self.d
        notices = os.path.join(self.folder, "profile", "element_noticelist")
        before = b"2,0,0,0,7,30,keep\r\n"
        with open(notices, "wb") as f:
            f.write(before)
        # Another program holds the file without sharing while Pendo runs.
        holder = d.hold(notices)
        app = d.start(os.path.join(self.folder, "Pendo.exe"))
        try:
            self.close_box(self.message_box(app, "読み込めません"))
            clock = d.wait_window(cls="Tmainform", pid=app.pid)
            d.focus(clock)
            d.key("ctrl+p")
            wizard = d.wait_window(cls="Tnoticewizardform", pid=app.pid)
            time.sleep(0.5)
            d.click_child(wizard, d.child(wizard, "SysTreeView32"), button=3)
            d.wait_window(cls="#32768")
            d.key("a")
            time.sleep(0.3)
            d.click_child(wizard, d.child(wizard, "Button", "閉じる(&C)"))
            box = self.message_box(app, "保存できません")
            d.screenshot(os.path.join(SHOTS, "noticelist-unsaved.png"), box)
            self.close_box(box)
            d.post(clock, 1692)
            lost = self.message_box(app, "失われます")
            # Still ending, it holds its lock: a second start ends at once.
            second = d.start(os.path.join(self.folder, "Pendo.exe"))
            self.assertEqual(second.wait(20), 0)
            self.close_box(lost)
            self.assertEqual(app.wait(20), 0)
        finally:
            app.kill()
            holder.release()
        with open(notices, "rb") as f:
            self.assertEqual(f.read(), before)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
