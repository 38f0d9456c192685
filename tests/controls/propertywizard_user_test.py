#!/usr/bin/env python3
"""The property wizard as a user drives it: real mouse and keys on the test
display, Pendo.exe started fresh in a folder of its own.

usage: propertywizard_user_test.py BUILD_DIR PENDO_EXE WININSPECT_EXE
Screenshots of every page are left in BUILD_DIR/shots/.
"""
import os
import re
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "driver"))
from userdriver import Desktop, Window  # noqa: E402

BUILD, PENDO, INSPECTOR = sys.argv[1:4]
CLOSE_MESSAGE = 1692
SHOTS = os.path.join(BUILD, "shots")
# Controls of the system colour dialog.
COLOR_RED, COLOR_GREEN, COLOR_BLUE, COLOR_ADD, COLOR_MIX, COLOR_CUSTOM1 = 706, 707, 708, 712, 719, 721
CB_SHOWDROPDOWN, CB_GETDROPPEDSTATE = 0x14F, 0x157
TRAY_MESSAGE, WM_LBUTTONDOWN, WM_RBUTTONDOWN = 0x400, 0x201, 0x204


def pixels(path):
    """{(x, y): (r, g, b)} of a picture, read with ImageMagick."""
    out = subprocess.run(["convert", path, "txt:-"], capture_output=True, check=True).stdout.decode()
    found = {}
    for m in re.finditer(r"^(\d+),(\d+): \((\d+),(\d+),(\d+)", out, re.M):
        found[(int(m[1]), int(m[2]))] = (int(m[3]), int(m[4]), int(m[5]))
    return found


class WizardByHand(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.d = Desktop(BUILD, INSPECTOR)
        cls.folder = os.path.join(BUILD, "tests", "controls", "user")
        os.makedirs(SHOTS, exist_ok=True)

    def start(self):
        self.app = self.d.start(os.path.join(self.folder, "Pendo.exe"))
        self.clock = self.d.wait_window(cls="Tmainform", pid=self.app.pid)

    def stop(self):
        self.assertEqual(self.app.stop(message=CLOSE_MESSAGE), 0)

    def profile(self, name):
        with open(os.path.join(self.folder, "profile", name), "rb") as f:
            return f.read().decode("cp932")

    def wizard(self, timeout=20):
        return self.d.wait_window(cls="Tpropertywizardform", pid=self.app.pid, timeout=timeout)

    def shown(self, w, cls=None, text=None):
        """The visible children of w, of a class or with a text, left to right and top to bottom."""
        kids = [c for c in self.d.children(w) if c.visible and (cls is None or c.cls == cls)
                and (text is None or c.text == text)]
        return sorted(kids, key=lambda c: (c.rect[1], c.rect[0]))

    def click_child(self, parent, child, double=False):
        x = (child.rect[0] + child.rect[2]) // 2 - parent.rect[0]
        y = (child.rect[1] + child.rect[3]) // 2 - parent.rect[1]
        (self.d.double_click if double else self.d.click)(parent, x, y)

    def counter(self, w):
        return [c.text for c in self.shown(w) if c.text.startswith("Property")][0]

    def focused(self):
        lines = [l for l in self.d.inspect("focus").splitlines() if "\t" in l]
        return Window(lines[0]) if lines else None

    def test_the_keyboard_reaches_every_control_and_a_held_colour_file_stays_as_it_was(self):
        d = self.d
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(os.path.join(self.folder, "profile"))
        shutil.copy(PENDO, os.path.join(self.folder, "Pendo.exe"))
        with open(os.path.join(self.folder, "profile", "profile_mainform"), "wb") as f:
            f.write(b"firstboot,0\r\n")
        colours = os.path.join(self.folder, "profile", "customcolors_colordialogex")
        before = b"ColorA=0000ff\r\nColorB=zz\r\n"
        with open(colours, "wb") as f:
            f.write(before)
        held = d.hold(colours)
        try:
            self.start()
            d.focus(self.clock, 8, 8)
            d.key("ctrl+r")
            w = self.wizard(timeout=10)
            time.sleep(0.5)
            d.key("ctrl+Tab", "ctrl+Tab")
            self.assertEqual(self.counter(w), "Property: 3/5")
            pagelist = self.shown(w, cls="ComboBox")[0]
            tree = self.shown(w, cls="SysTreeView32")[0]
            title_font, value_font = self.shown(w, text="変更(&C)")[0], self.shown(w, text="変更(&D)")[0]
            _, title, value = self.shown(w, cls="tcolorpalettebutton")
            prev = self.shown(w, text="<< 戻る(&P)")[0]
            self.assertEqual(self.focused().hwnd, pagelist.hwnd)
            # Tab into the page: the tree, then every enabled control (the
            # clock has no gauge, so its swatch is disabled and passed over).
            for expected in (tree, title_font, title):
                d.key("Tab")
                self.assertEqual(self.focused().hwnd, expected.hwnd, expected)
            # Space on a swatch opens the colour dialog; closed, the focus is back on the swatch.
            d.key("space")
            dlg = d.wait_window(cls="#32770", pid=self.app.pid, timeout=10)
            d.key("Escape")
            self.assertTrue(d.wait_gone(dlg))
            self.assertIsNotNone(d.refresh(w), "Esc in the colour dialog leaves the wizard open")
            self.assertEqual(self.focused().hwnd, title.hwnd)
            for expected in (value_font, value):
                d.key("Tab")
                self.assertEqual(self.focused().hwnd, expected.hwnd, expected)
            d.key("space")
            dlg = d.wait_window(cls="#32770", pid=self.app.pid, timeout=10)
            boxes = [c for c in d.children(dlg) if c.id == COLOR_CUSTOM1][0]
            shot = d.screenshot(os.path.join(SHOTS, "wizard-held-custom-colours.png"), boxes)
            self.assertNotEqual(pixels(shot)[((boxes.width // 8) // 2 - 2, (boxes.height // 2) // 2 - 2)],
                                (255, 0, 0), "a held file is not read")
            d.key("Return")  # confirmed: the dialog's slots are now the list's
            self.assertTrue(d.wait_gone(dlg))
            self.assertEqual(self.focused().hwnd, value.hwnd)
            # Out of the page to the buttons, and back in and out at the top with Shift+Tab.
            d.key("Tab")
            self.assertEqual(self.focused().hwnd, prev.hwnd)
            for expected in (value, value_font, title, title_font, tree, pagelist):
                d.key("shift+Tab")
                self.assertEqual(self.focused().hwnd, expected.hwnd, expected)

            # Esc on an open list closes the list; only the next Esc closes the wizard.
            d.key("ctrl+Tab")
            self.assertEqual(self.counter(w), "Property: 4/5")
            d.key("alt+b")
            listbox = self.focused()
            self.assertEqual(listbox.cls, "ComboBox")
            d.key("alt+Down")
            self.assertEqual(d.send(listbox, CB_GETDROPPEDSTATE), 1)
            d.key("Escape")
            time.sleep(0.3)
            self.assertEqual(d.send(listbox, CB_GETDROPPEDSTATE), 0)
            self.assertTrue(d.refresh(w).visible, "Esc on the open list keeps the wizard")
            d.key("alt+Down")
            d.key("Return")
            time.sleep(0.3)
            self.assertTrue(d.refresh(w).visible, "Enter on the open list keeps the wizard")
            d.key("Escape")
            self.assertTrue(d.wait_gone(w))
            time.sleep(0.5)
        finally:
            held.release()
        with open(colours, "rb") as f:
            self.assertEqual(f.read(), before, "the held file is as it was")

        # While the wizard is open, the clock takes no click and no key: no second wizard.
        d.focus(self.clock, 8, 8)
        d.key("ctrl+r")
        w = self.wizard(timeout=10)
        watch = d.watch("Tpropertywizardform", 4000)
        d.right_click(self.clock, 8, 8)
        d.key("r")
        d.click(self.clock, 8, 8)
        d.key("ctrl+r")
        _, seen = watch.result()
        self.assertEqual({v.hwnd for v in seen}, {w.hwnd}, "no second wizard")
        self.assertIsNone(d.find_window(cls="#32768", pid=self.app.pid), "no menu")
        d.key("Escape")
        self.assertTrue(d.wait_gone(w))
        self.stop()

        # At a first start with the clock hidden in the tray, the tray icon
        # cannot bring the clock back while the wizard is open.
        with open(os.path.join(self.folder, "profile", "profile_mainform"), "wb") as f:
            f.write(b"visible,0\r\n")
        self.app = d.start(os.path.join(self.folder, "Pendo.exe"))
        w = self.wizard()
        watch = d.watch("Tpropertywizardform", 4000)
        trays = [t for t in d.windows() if t.pid == self.app.pid and t.cls == "TPendoUtilityWindow"]
        for t in trays:
            d.post(t, TRAY_MESSAGE, 0, WM_LBUTTONDOWN)
        time.sleep(1)
        clock = d.find_window(cls="Tmainform", pid=self.app.pid)
        if clock:  # shown after all: its menu must not open a second wizard
            d.right_click(clock, 8, 8)
            d.key("r")
        for t in trays:
            d.post(t, TRAY_MESSAGE, 0, WM_RBUTTONDOWN)
        time.sleep(0.5)
        d.key("r")
        _, seen = watch.result()
        self.assertIsNone(clock, "the clock stays hidden while the wizard is open")
        self.assertEqual({v.hwnd for v in seen}, {w.hwnd}, "no second wizard")
        self.assertIsNotNone(d.refresh(w))
        d.focus(w, w.width // 2, 12)
        d.key("Escape")
        self.assertTrue(d.wait_gone(w))
        d.post(d.find_window(cls="Tmainform", pid=self.app.pid, visible=False), CLOSE_MESSAGE)
        self.assertEqual(self.app.wait(20), 0)

    def test_first_start_every_page_a_colour_a_font_the_noise_and_a_second_start(self):
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        shutil.copy(PENDO, os.path.join(self.folder, "Pendo.exe"))
        self.start()
        w = self.wizard()
        self.assertEqual(w.text, "プロパティウィザード - Property Wizard")
        time.sleep(0.5)
        # Every page, by the next button.
        for page in range(6):
            self.assertEqual(self.counter(w), "Property: %d/5" % page)
            self.d.screenshot(os.path.join(SHOTS, "wizard-page%d.png" % page), w)
            if page < 5:
                self.click_child(w, self.shown(w, text="次へ(&N)")[0])
        # The noise: Alt+O focuses its list, Up picks なし.
        self.d.key("alt+o")
        self.d.key("Up")
        time.sleep(0.3)
        # Back to the colour palette.
        self.click_child(w, self.shown(w, text="<< 戻る(&P)")[0])
        self.click_child(w, self.shown(w, text="<< 戻る(&P)")[0])
        self.assertEqual(self.counter(w), "Property: 3/5")
        # The title colour, mixed in the colour dialog.
        title_swatch = self.shown(w, cls="tcolorpalettebutton")[1]
        self.click_child(w, title_swatch, double=True)
        dlg = self.d.wait_window(cls="#32770", pid=self.app.pid, timeout=10)
        byid = {c.id: c for c in self.d.children(dlg)}
        self.click_child(dlg, byid[COLOR_MIX])
        for cid, value in ((COLOR_RED, "200"), (COLOR_GREEN, "20"), (COLOR_BLUE, "30")):
            self.click_child(dlg, byid[cid])
            self.d.key("ctrl+a", "BackSpace")
            self.d.type(value)
        self.click_child(dlg, byid[COLOR_ADD])
        self.d.key("Return")
        self.assertTrue(self.d.wait_gone(dlg))
        time.sleep(1.2)
        shot = self.d.screenshot(os.path.join(SHOTS, "wizard-clock-colour.png"), self.d.refresh(self.clock))
        self.assertIn((200, 20, 30), pixels(shot).values())
        # The value font, two sizes up in the font dialog's size list.
        self.click_child(w, self.shown(w, text="変更(&D)")[0])
        dlg = self.d.wait_window(cls="#32770", pid=self.app.pid, timeout=10)
        size = [c for c in self.d.children(dlg) if c.id == 0x472][0]
        self.click_child(dlg, size)
        self.d.key("Down", "Down", "Down")
        self.d.key("Return")
        self.assertTrue(self.d.wait_gone(dlg))
        # The focus is back on the font button, which Enter would press again; Esc closes.
        self.d.key("Escape")
        self.assertTrue(self.d.wait_gone(w))
        # Ctrl+R reopens it on the page shown last.
        self.d.focus(self.clock, 8, 8)
        self.d.key("ctrl+r")
        w = self.wizard(timeout=10)
        self.assertEqual(self.counter(w), "Property: 3/5")
        self.d.key("Escape")
        self.assertTrue(self.d.wait_gone(w))
        self.stop()
        look = self.profile("profile_datepanel")
        self.assertIn("horizontalnoise,0\r\n", look)
        self.assertIn("titlecolor,%d\r\n" % (200 + 20 * 256 + 30 * 65536), look)
        self.assertGreater(int(re.search(r"valuefontsize,(\d+)", look)[1]), 8)
        self.assertIn("ColorA=1e14c8\r\n", self.profile("customcolors_colordialogex"))
        self.assertIn("lastpage,3\r\n", self.profile("profile_propertywizardform"))

        # The second start opens nothing by itself; the custom colour is offered again.
        self.start()
        watch = self.d.watch("Tpropertywizardform", 3000)
        count, _ = watch.result()
        self.assertEqual(count, 0)
        self.d.focus(self.clock, 8, 8)
        self.d.key("ctrl+r")
        w = self.wizard(timeout=10)
        self.click_child(w, self.shown(w, cls="tcolorpalettebutton")[2], double=True)
        dlg = self.d.wait_window(cls="#32770", pid=self.app.pid, timeout=10)
        boxes = [c for c in self.d.children(dlg) if c.id == COLOR_CUSTOM1][0]
        shot = self.d.screenshot(os.path.join(SHOTS, "wizard-custom-colours.png"), boxes)
        first = pixels(shot)
        self.assertEqual(first[((boxes.width // 8) // 2 - 2, (boxes.height // 2) // 2 - 2)], (200, 20, 30))
        self.d.key("Escape")
        self.assertTrue(self.d.wait_gone(dlg))
        self.d.key("Escape")
        self.assertTrue(self.d.wait_gone(w))
        self.stop()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
