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
            def left():
                return {w.hwnd for w in d.windows() if w.pid == app.pid and w.cls == "Tnoticeform" and w.visible}

            def focused():
                w = d.foreground()
                return w.hwnd if w else None

            opened = d.wait_for(lambda: len(left()) == 3 and left(), timeout=80, what="three notices")
            # The last one opened has the focus.
            d.wait_for(lambda: focused() in opened, what="a notice with the focus")
            d.key("Return")
            after_enter = d.wait_for(lambda: len(left()) == 2 and left(), timeout=5, what="Enter closing a notice")
            # The focus went back to the window that had it when the third opened:
            # the second notice.
            d.wait_for(lambda: focused() in after_enter, what="the focus back")
            d.key("Escape")
            after_esc = d.wait_for(lambda: len(left()) == 1 and left(), timeout=5, what="Esc closing a notice")
            self.assertTrue(after_esc < after_enter < opened)
            last = d.refresh(next(w for w in d.windows() if w.hwnd in after_esc))
            d.click(last, last.width // 2, last.height // 2)
            self.assertTrue(d.wait_gone(last, timeout=3), "a click closes the last")
        finally:
            self.assertEqual(app.stop(message=CLOSE_MESSAGE), 0)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
