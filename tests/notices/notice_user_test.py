#!/usr/bin/env python3
"""Notice windows closed by hand: real Enter, Esc and a mouse click.

usage: notice_user_test.py BUILD_DIR PENDO_EXE WININSPECT_EXE
"""
import datetime
import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "driver"))
from userdriver import Desktop  # noqa: E402

BUILD, PENDO, INSPECTOR = sys.argv[1:4]
CLOSE_MESSAGE = 1692


class NoticesByHand(unittest.TestCase):
    def test_enter_esc_and_a_click_each_close_a_notice(self):
        d = Desktop(BUILD, INSPECTOR)
        folder = os.path.join(BUILD, "tests", "notices", "user")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(os.path.join(folder, "profile"))
        shutil.copy(PENDO, os.path.join(folder, "Pendo.exe"))
        if datetime.datetime.now().second > 45:
            time.sleep(61 - datetime.datetime.now().second)
        due = datetime.datetime.now() + datetime.timedelta(minutes=1)
        with open(os.path.join(folder, "profile", "element_noticelist"), "wb") as f:
            for message in ("one", "two", "three"):
                f.write(b"2,0,0,0,%d,%d,%s\r\n" % (due.hour, due.minute, message.encode()))
        with open(os.path.join(folder, "profile", "profile_mainform"), "wb") as f:
            f.write(b"firstboot,0\r\n")
        app = d.start(os.path.join(folder, "Pendo.exe"))
        try:
            d.wait_window(cls="Tmainform", pid=app.pid)
            # Three notices due in one minute open three windows, the last on top
            # and with the focus.
            deadline = time.time() + 80
            notices = []
            while len(notices) < 3 and time.time() < deadline:
                time.sleep(0.2)
                notices = [w for w in d.windows() if w.pid == app.pid and w.cls == "Tnoticeform" and w.visible]
            self.assertEqual(len(notices), 3)
            time.sleep(0.5)

            def left():
                return {w.hwnd for w in d.windows() if w.pid == app.pid and w.cls == "Tnoticeform" and w.visible}

            opened = left()
            d.key("Return")
            time.sleep(0.7)
            after_enter = left()
            self.assertEqual(len(after_enter), 2, "Enter closes the notice that has the focus")
            # The focus went back to the window that had it when the third opened:
            # the second notice.
            d.key("Escape")
            time.sleep(0.7)
            after_esc = left()
            self.assertEqual(len(after_esc), 1, "Esc closes the next")
            self.assertTrue(after_esc < after_enter < opened)
            last = d.refresh(next(w for w in d.windows() if w.hwnd in after_esc))
            d.click(last, last.width // 2, last.height // 2)
            self.assertTrue(d.wait_gone(last, timeout=3), "a click closes the last")
        finally:
            self.assertEqual(app.stop(message=CLOSE_MESSAGE), 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
