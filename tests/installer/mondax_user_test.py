#!/usr/bin/env python3
"""Pendo's distribution installed and removed as a user does it: real clicks
and keys on the test display, then what is left on disk and in the registry.

usage: mondax_user_test.py BUILD_DIR DIST_DIR WININSPECT_EXE RUNUNINSTALL_EXE
Screenshots of every wizard page are left in BUILD_DIR/shots/.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "driver"))
from userdriver import Desktop, Program  # noqa: E402

BUILD, DIST, INSPECTOR, RUNUNINSTALL = sys.argv[1:5]
SHOTS = os.path.join(BUILD, "shots")
FOLDER = "C:\\Pendo Clock"  # a blank in the name
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pendo"
CLOSE_MESSAGE = 1692
FAILURE = "失敗 - Failure"
# Mondax's exit codes (README).
DONE, BAD_COMMAND_LINE, REFUSED, RUNNING, FAILED, CANCELLED = range(6)
LOG = "C:\\mondax-test.log"


class Distribution(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.d = Desktop(BUILD, INSPECTOR)
        cls.work = os.path.join(BUILD, "tests", "installer", "user")
        os.makedirs(SHOTS, exist_ok=True)

    def setUp(self):
        self.apps = []

    def tearDown(self):
        for app in self.apps:
            app.kill()

    def start(self, exe, *args):
        app = self.d.start(exe, *args)
        self.apps.append(app)
        return app

    # Helpers ---------------------------------------------------------------

    def wine(self, *args):
        p = subprocess.run(["wine"] + list(args), env=self.d.env, capture_output=True, timeout=120)
        return p.returncode, p.stdout.decode("cp932", "replace")

    def unix(self, path):
        return self.d.unix(path)

    def reg_value(self, key, name):
        return self.d.reg_value(key, name)

    def shell_folder(self, name, root="HKCU"):
        return self.unix(self.reg_value(
            root + "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name))

    def start_menu(self):
        """Where the Start-menu shortcuts go: the menu of all users."""
        return os.path.join(self.shell_folder("Common Programs", "HKLM"), "Quorvane")

    def copy_dist(self, name, files=("mondax.exe", "mondax.inx", "pendo.bdx")):
        folder = os.path.join(self.work, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for f in files:
            shutil.copy(os.path.join(DIST, f), folder)
        return os.path.join(folder, "mondax.exe")

    def click_client(self, w, x, y):
        """A click at (x, y) of w's client area."""
        self.d.click(w, w.client[0] - w.rect[0] + x, w.client[1] - w.rect[1] + y)

    def next(self, w):
        self.click_client(w, 304, 244)
        time.sleep(0.4)

    def child(self, w, text):
        for c in self.d.children(w):
            if c.text == text:
                return c
        return None

    def wait_end_label(self, w, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            label = self.child(w, "終了しました。")
            if label and label.visible:
                return True
            time.sleep(0.3)
        return False

    def message(self, pid, title):
        """Waits for a message box of the process, returns its text and presses Enter."""
        box = self.d.wait_window(cls="#32770", title=title, pid=pid, timeout=20)
        text = [c.text for c in self.d.children(box) if c.id == 0xFFFF]
        self.d.focus(box, box.width // 2, 12)
        self.d.key("Return")
        self.d.wait_gone(box)
        return text[0] if text else ""

    def shot(self, name, w):
        time.sleep(0.3)
        self.d.screenshot(os.path.join(SHOTS, "mondax_%s.png" % name), w)

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def silent(self, exe, *args):
        """Runs Mondax with a log; returns its exit code and the log's text."""
        log = self.unix(LOG)
        if os.path.exists(log):
            os.remove(log)
        app = self.start(exe, *(args + ("/log=" + LOG,)))
        code = app.wait(60)
        return code, self.read(log).decode("cp932") if os.path.exists(log) else ""

    def tree(self, folder):
        """Every file below folder with its bytes."""
        return {os.path.relpath(os.path.join(r, f), folder): self.read(os.path.join(r, f))
                for r, _, fs in os.walk(folder) for f in fs}

    def forget_pendo(self, target):
        shutil.rmtree(target, ignore_errors=True)
        self.wine("reg", "delete", UNINSTALL_KEY, "/f")
        programs = self.start_menu()
        sendto = self.shell_folder("SendTo")
        for lnk in (os.path.join(programs, "Pendo.lnk"), os.path.join(programs, "Pendo readme.lnk"),
                    os.path.join(sendto, "Pendo Clock.lnk")):
            if os.path.exists(lnk):
                os.remove(lnk)
        return programs, sendto

    # Tests -------------------------------------------------------------------

    def test_1_refusals_at_start(self):
        app = self.start(self.copy_dist("alone", ("mondax.exe",)))
        self.assertEqual(self.message(app.pid, FAILURE), "このプログラムは単独起動できません。")
        self.assertEqual(app.wait(10), REFUSED)
        app = self.start(os.path.join(DIST, "mondax.exe"), "C:\\nowhere at all\\mondax.UIX")
        self.assertEqual(self.message(app.pid, FAILURE),
                         "セットアップ情報が見つかりません。手動で削除もしくは移動された可能性があります。")
        self.assertEqual(app.wait(10), REFUSED)

    def test_2_missing_archive_writes_nothing(self):
        self.wine("reg", "delete", UNINSTALL_KEY, "/f")
        app = self.start(self.copy_dist("noarchive", ("mondax.exe", "mondax.inx")))
        w = self.d.wait_window(cls="Tinstallationform", pid=app.pid)
        for _ in range(5):
            self.next(w)
        self.assertEqual(self.message(app.pid, "失敗"), "書庫ファイルが見つかりません。")
        self.assertEqual(app.wait(10), REFUSED)
        self.assertIsNone(self.reg_value(UNINSTALL_KEY, "DisplayName"))

    def test_3_install_use_reinstall_and_remove(self):
        target = self.unix(FOLDER)
        shutil.rmtree(target, ignore_errors=True)
        self.wine("reg", "delete", UNINSTALL_KEY, "/f")
        windows = self.unix("C:\\windows")
        programs = self.start_menu()
        sendto = self.shell_folder("SendTo")
        for lnk in (os.path.join(programs, "Pendo.lnk"), os.path.join(sendto, "Pendo Clock.lnk")):
            if os.path.exists(lnk):
                os.remove(lnk)

        # A SendTo shortcut of the same title that leads elsewhere: left by an
        # installation into another folder, which the removal keeps.
        other = "C:\\Other Place"
        exe = self.copy_dist("other")
        self.assertEqual(self.silent(exe, "/silent", "/dir=" + other, "/sendto=Pendo Clock")[0], DONE)
        self.assertEqual(self.silent(os.path.join(windows, "mondax.exe"), other + "\\mondax.uix", "/silent")[0], DONE)
        users = self.read(os.path.join(sendto, "Pendo Clock.lnk"))
        self.assertIn(b"Other Place", users)

        # Install: through every page, typing the folder and the SendTo title.
        app = self.start(self.copy_dist("first"))
        w = self.d.wait_window(cls="Tinstallationform", pid=app.pid)
        self.shot("setup0", w)
        for page in (1, 2, 3):
            self.next(w)
            self.shot("setup%d" % page, w)
        self.click_client(w, 252, 114)  # the folder edit
        self.d.key("End")
        self.d.key("shift+Home")
        self.d.type(FOLDER)
        self.shot("setup3_typed", w)
        self.next(w)
        self.d.type("Pendo Clock")  # the SendTo edit has the focus
        self.shot("setup4", w)
        self.next(w)
        box = self.d.wait_window(cls="#32770", title="確認", pid=app.pid, timeout=60)
        self.shot("sendto_left_alone", box)
        self.assertIn("作成しませんでした。", self.message(app.pid, "確認"))
        self.assertTrue(self.wait_end_label(w), "the run ends with its end label")
        self.shot("setup5", w)
        self.next(w)
        self.shot("setup6", w)
        self.click_client(w, 392, 244)  # 終了(&C)
        self.assertEqual(app.wait(10), 0)

        stage = os.path.join(BUILD, "dist-stage")
        for f in ("Pendo.exe", "readme.txt"):
            self.assertEqual(self.read(os.path.join(target, f)), self.read(os.path.join(stage, f)), f)
        self.assertEqual(self.read(os.path.join(target, "mondax.uix")), self.read(os.path.join(DIST, "mondax.inx")))
        self.assertEqual(self.reg_value(UNINSTALL_KEY, "DisplayName"), "Sorvek Pendo + Short Message")
        uninstall = self.reg_value(UNINSTALL_KEY, "UninstallString")
        self.assertEqual(uninstall, '"C:\\windows\\mondax.exe" "C:\\Pendo Clock\\mondax.uix"')
        self.assertEqual(self.read(os.path.join(windows, "mondax.exe")), self.read(os.path.join(DIST, "mondax.exe")))
        register = self.read(os.path.join(windows, "mondax.ini")).decode("cp932")
        self.assertIn("[Pendo]\r\nInstallationDirectory=C:\\Pendo Clock\r\n", register)
        self.assertTrue(os.path.exists(os.path.join(programs, "Pendo.lnk")))
        self.assertTrue(os.path.exists(os.path.join(programs, "Pendo readme.lnk")))
        self.assertEqual(self.read(os.path.join(sendto, "Pendo Clock.lnk")), users, "the user's shortcut is untouched")

        # The installed clock starts and ends.
        os.makedirs(os.path.join(target, "profile"), exist_ok=True)
        with open(os.path.join(target, "profile", "profile_mainform"), "wb") as f:
            f.write(b"firstboot,0\r\n")
        pendo = self.start(os.path.join(target, "Pendo.exe"))
        self.d.wait_window(cls="Tmainform", pid=pendo.pid)
        self.assertEqual(pendo.stop(message=CLOSE_MESSAGE), 0)

        # Again: the folder is proposed and locked, the files are written anew.
        with open(os.path.join(target, "readme.txt"), "wb") as f:
            f.write(b"changed by the user")
        app = self.start(self.copy_dist("second"))
        w = self.d.wait_window(cls="Tinstallationform", pid=app.pid)
        for _ in range(3):
            self.next(w)
        edit = next(c for c in self.d.children(w) if c.cls.upper() == "EDIT" and c.visible)
        self.assertEqual(edit.text, FOLDER)
        self.click_client(w, 252, 114)
        self.d.type("x")
        edit = next(c for c in self.d.children(w) if c.hwnd == edit.hwnd)
        self.assertEqual(edit.text, FOLDER, "the edit takes no typing")
        self.shot("setup3_locked", w)
        self.next(w)
        self.next(w)
        self.assertTrue(self.wait_end_label(w))
        self.next(w)
        self.d.key("Return")  # on the last page Enter finishes
        self.assertEqual(app.wait(10), 0)
        self.assertEqual(self.read(os.path.join(target, "readme.txt")), self.read(os.path.join(stage, "readme.txt")))

        # An entry written unquoted by an earlier installation: the path
        # arrives split at its blank and is joined back. Cancel asks first.
        app = self.start(os.path.join(windows, "mondax.exe"), "C:\\Pendo", "Clock\\mondax.uix")
        w = self.d.wait_window(cls="Tuninstallationform", pid=app.pid)
        self.click_client(w, 392, 244)
        self.assertEqual(self.message(app.pid, "確認"), "アンインストールを中止します。")
        self.assertEqual(app.wait(10), CANCELLED)
        self.assertTrue(os.path.exists(os.path.join(target, "Pendo.exe")), "cancelled before anything went")

        # What the user made: a read-only file in a folder of its own.
        os.makedirs(os.path.join(target, "mine"))
        with open(os.path.join(target, "mine", "keep.txt"), "wb") as f:
            f.write(b"mine")
        self.wine("cmd", "/c", "attrib", "+r", FOLDER + "\\mine\\keep.txt")

        # Remove it as the shell does, from the uninstall entry's command line.
        popen = subprocess.Popen(["wine", RUNUNINSTALL, "Pendo"], env=self.d.env, stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL)
        line = popen.stdout.readline().decode()
        self.assertTrue(line.startswith("pid "), line)
        app = Program(self.d, popen, int(line.split()[1]))
        self.apps.append(app)
        w = self.d.wait_window(cls="Tuninstallationform", pid=app.pid)
        self.shot("uninstall0", w)
        self.next(w)
        self.assertTrue(self.wait_end_label(w))
        self.shot("uninstall1", w)
        self.next(w)
        self.shot("uninstall2", w)
        self.click_client(w, 392, 244)
        self.assertEqual(app.wait(10), 0)

        left = sorted(os.path.relpath(os.path.join(r, f), target) for r, _, fs in os.walk(target) for f in fs)
        self.assertEqual(left, ["mine/keep.txt", "profile/element_noticelist", "profile/profile_datepanel",
                                "profile/profile_mainform"], "the user's file and the clock's settings stay")
        self.assertIsNone(self.reg_value(UNINSTALL_KEY, "DisplayName"))
        self.assertFalse(os.path.exists(os.path.join(programs, "Pendo.lnk")))
        self.assertTrue(os.path.isdir(programs), "the Quorvane folder stays")
        self.assertEqual(self.read(os.path.join(sendto, "Pendo Clock.lnk")), users, "the user's shortcut stays")
        self.assertIn("InstallationDirectory=C:\\Pendo Clock", self.read(os.path.join(windows, "mondax.ini")).decode("cp932"))
        self.assertTrue(os.path.exists(os.path.join(windows, "mondax.exe")))
        self.wine("cmd", "/c", "attrib", "-r", FOLDER + "\\mine\\keep.txt")
        shutil.rmtree(target, ignore_errors=True)
        os.remove(os.path.join(sendto, "Pendo Clock.lnk"))

    def test_4_silent_install_running_product_and_silent_removal(self):
        target = self.unix(FOLDER)
        programs, sendto = self.forget_pendo(target)
        windows = self.unix("C:\\windows")
        stage = os.path.join(BUILD, "dist-stage")
        exe = self.copy_dist("silent")

        code, log = self.silent(exe, "/SILENT", "/dir=" + FOLDER, "-sendto=Pendo Clock")
        self.assertEqual(code, DONE, log)
        for f in ("Pendo.exe", "readme.txt"):
            self.assertEqual(self.read(os.path.join(target, f)), self.read(os.path.join(stage, f)), f)
            self.assertIn("ファイル書き込み: %s\\%s (%d バイト)\r\n" % (FOLDER, f, os.path.getsize(os.path.join(stage, f))),
                          log)
        self.assertEqual(self.read(os.path.join(target, "mondax.uix")), self.read(os.path.join(DIST, "mondax.inx")))
        uninstall = '"C:\\windows\\mondax.exe" "C:\\Pendo Clock\\mondax.uix"'
        self.assertEqual(self.reg_value(UNINSTALL_KEY, "UninstallString"), uninstall)
        self.assertEqual(self.reg_value(UNINSTALL_KEY, "DisplayName"), "Sorvek Pendo + Short Message")
        for lnk in (os.path.join(programs, "Pendo.lnk"), os.path.join(programs, "Pendo readme.lnk"),
                    os.path.join(sendto, "Pendo Clock.lnk")):
            self.assertTrue(os.path.exists(lnk), lnk)
        for line in ("アンインストール情報: C:\\Pendo Clock\\mondax.uix", "\\Quorvane\\Pendo.lnk -> C:\\Pendo Clock\\Pendo.exe",
                     "\\Quorvane\\Pendo readme.lnk -> C:\\Pendo Clock\\readme.txt",
                     "\\SendTo\\Pendo Clock.lnk -> C:\\Pendo Clock\\Pendo.exe",
                     "[Pendo] InstallationDirectory=C:\\Pendo Clock", "UninstallString=" + uninstall,
                     "DisplayName=Sorvek Pendo + Short Message", "インストーラ複写: C:\\windows\\mondax.exe", "終了コード 0"):
            self.assertIn(line, log)

        # The installed clock runs: a silent run changes nothing and says so.
        os.makedirs(os.path.join(target, "profile"), exist_ok=True)
        with open(os.path.join(target, "profile", "profile_mainform"), "wb") as f:
            f.write(b"firstboot,0\r\n")
        pendo = self.start(os.path.join(target, "Pendo.exe"))
        self.d.wait_window(cls="Tmainform", pid=pendo.pid)
        before = self.tree(target)
        code, log = self.silent(exe, "/silent")
        self.assertEqual(code, RUNNING, log)
        self.assertIn("インストールするプログラムが起動しています。", log)
        self.assertEqual(self.tree(target), before, "every file as it was")
        code, log = self.silent(os.path.join(windows, "mondax.exe"), FOLDER + "\\mondax.uix", "/silent")
        self.assertEqual(code, RUNNING, log)
        self.assertEqual(self.tree(target), before, "nothing removed")

        # The wizard asks; once the user has ended the clock, Retry goes on.
        app = self.start(exe)
        w = self.d.wait_window(cls="Tinstallationform", pid=app.pid)
        for _ in range(5):
            self.next(w)
        box = self.d.wait_window(cls="#32770", title="確認", pid=app.pid)
        self.assertIn("インストールするプログラムが起動しています。", [c.text for c in self.d.children(box)][-1])
        self.d.screenshot(os.path.join(SHOTS, "mondax_running.png"))
        self.assertEqual(pendo.stop(message=CLOSE_MESSAGE), 0)
        self.d.focus(box, box.width // 2, 12)
        self.d.key("Return")  # 再試行, the default button
        self.assertTrue(self.wait_end_label(w))
        self.next(w)
        self.click_client(w, 392, 244)
        self.assertEqual(app.wait(10), DONE)

        # Removed without a window, the settings too: only what is never removed stays.
        code, log = self.silent(os.path.join(windows, "mondax.exe"), FOLDER + "\\mondax.uix", "/silent",
                                "/removesettings")
        self.assertEqual(code, DONE, log)
        self.assertFalse(os.path.exists(target))
        self.assertIsNone(self.reg_value(UNINSTALL_KEY, "DisplayName"))
        self.assertFalse(os.path.exists(os.path.join(programs, "Pendo.lnk")))
        self.assertTrue(os.path.exists(os.path.join(sendto, "Pendo Clock.lnk")), "the SendTo entry stays")
        self.assertIn("InstallationDirectory=C:\\Pendo Clock", self.read(os.path.join(windows, "mondax.ini")).decode("cp932"))
        for line in ("ファイル削除: C:\\Pendo Clock\\Pendo.exe", "ファイル削除 (設定): C:\\Pendo Clock\\profile\\profile_mainform",
                     "フォルダ削除: C:\\Pendo Clock\r\n", "\\Quorvane\\Pendo.lnk", "レジストリ削除: HKEY_LOCAL_MACHINE", "終了コード 0"):
            self.assertIn(line, log)
        os.remove(os.path.join(sendto, "Pendo Clock.lnk"))

    def test_5_silent_refusals_write_nothing(self):
        target = self.unix(FOLDER)
        self.forget_pendo(target)
        windows = self.unix("C:\\windows")
        # Hostile folders: a user's folder, another product's, a folder that
        # is a link, and system folders named in other ways than their own.
        user_dir, link_target = self.unix("C:\\Users Data"), self.unix("C:\\Link Target")
        other, own = self.unix("C:\\Other Product"), self.unix("C:\\Pendo Own")
        links = (self.unix("C:\\Pendo Link"), os.path.join(own, "readme.txt"),
                 os.path.join(self.d.env["WINEPREFIX"], "dosdevices", "s:"))
        for folder in (user_dir, link_target, other, own):
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
        for path, text in ((os.path.join(user_dir, "notes.txt"), b"mine"),
                           (os.path.join(other, "mondax.uix"), b"[profile]\r\napplicationname=Other\r\n"),
                           (os.path.join(own, "mondax.uix"), b"[profile]\r\napplicationname=Pendo\r\n"),
                           (os.path.join(link_target, "mondax.uix"), b"[profile]\r\napplicationname=Pendo\r\n")):
            with open(path, "wb") as f:
                f.write(text)
        # Wine makes no junction and keeps no subst drive: a symbolic link of
        # the prefix is reported as a reparse point, a drive letter linked to
        # drive_c/windows stands in for "subst S: C:\windows".
        os.symlink(link_target, links[0])
        os.symlink(os.path.join(user_dir, "notes.txt"), links[1])
        os.symlink("../drive_c/windows", links[2])
        short = next(l.split()[-2] for l in self.wine("cmd", "/c", "dir", "/x", "C:\\")[1].splitlines()
                     if l.endswith(" ProgramData"))
        special = "システムやユーザーの特別なフォルダ、またはそれを含むフォルダです。"
        link = "ジャンクションまたはシンボリックリンクを経由するフォルダです。"
        exe = self.copy_dist("silent")
        cases = (
            ("folder", exe, ("/silent", "/dir=C:\\windows"), REFUSED, "指定されたフォルダにはインストールできません。"),
            ("archive", self.copy_dist("silent-noarchive", ("mondax.exe", "mondax.inx")), ("/silent", "/dir=" + FOLDER),
             REFUSED, "書庫ファイルが見つかりません。"),
            ("option", exe, ("/silent", "/quiet"), BAD_COMMAND_LINE, "不明なオプションです: /quiet"),
            ("unquoted", exe, ("/silent", "/dir=C:\\Pendo", "Clock"), BAD_COMMAND_LINE,
             "オプションでもアンインストール情報でもありません: Clock"),
            ("user's file", exe, ("/silent", "/dir=C:\\Users Data"), REFUSED, "既にファイルのあるフォルダです。(C:\\Users Data)"),
            ("other product", exe, ("/silent", "/dir=C:\\Other Product\\"), REFUSED,
             "別のプログラム「Other」がインストールされているフォルダです。"),
            ("trailing dot", exe, ("/silent", "/dir=C:\\windows."), REFUSED,
             "名前の末尾がピリオドまたは空白のフォルダは使用できません。"),
            ("short name", exe, ("/silent", "/dir=C:\\" + short), REFUSED, special + "(C:\\ProgramData)"),
            ("subst drive", exe, ("/silent", "/dir=S:\\Pendo"), REFUSED, special),
            ("share", exe, ("/silent", "/dir=\\\\localhost\\C$\\Pendo"), REFUSED, "ネットワーク上のフォルダは使用できません。"),
            ("junction", exe, ("/silent", "/dir=C:\\Pendo Link"), REFUSED, link + "(C:\\Pendo Link)"),
            ("file link", exe, ("/silent", "/dir=C:\\Pendo Own"), REFUSED, link + "(C:\\Pendo Own\\readme.txt)"),
            ("removal by a link", exe, ("C:\\Pendo Link\\mondax.uix", "/silent"), REFUSED, link),
        )
        watched = {f: self.tree(f) for f in (user_dir, link_target, other, own)}
        try:
            for what, exe, args, expected, why in cases:
                code, log = self.silent(exe, *args)
                self.assertEqual(code, expected, what + ": " + log)
                self.assertIn(why, log, what)
                self.assertFalse(os.path.exists(target), what)
                for left in ("Pendo.exe", "Pendo"):
                    self.assertFalse(os.path.exists(os.path.join(windows, left)), what)
                self.assertFalse(os.path.exists(os.path.join(self.unix("C:\\ProgramData"), "Pendo.exe")), what)
                self.assertEqual({f: self.tree(f) for f in watched}, watched, what + ": nothing written or deleted")
                self.assertIsNone(self.reg_value(UNINSTALL_KEY, "DisplayName"), what)
        finally:
            for path in links:
                os.remove(path)
            for folder in watched:
                shutil.rmtree(folder, ignore_errors=True)

    def test_6_killed_installations_can_be_removed_from_their_entry(self):
        target = self.unix(FOLDER)
        programs, _ = self.forget_pendo(target)
        windows = self.unix("C:\\windows")
        # Pendo and twenty files of 4 MiB: a copy long enough to stop anywhere.
        folder = os.path.join(self.work, "large")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copy(os.path.join(DIST, "mondax.exe"), folder)
        files = [("Pendo.exe", self.read(os.path.join(BUILD, "dist-stage", "Pendo.exe")))]
        files += [("data%02d.bin" % i, os.urandom(4 << 20)) for i in range(20)]
        with open(os.path.join(folder, "mondax.inx"), "wb") as f:
            f.write(("[profile]\r\napplicationname=Pendo\r\nbindedfilename=pendo\r\nuninstallationtitle=Large Pendo\r\n"
                     "[Bind]\r\n%s[ShortCut]\r\nPendo.exe=Pendo\r\n" % "".join(
                         "%s=%d\r\n" % (n, len(b)) for n, b in files)).encode())
        with open(os.path.join(folder, "pendo.bdx"), "wb") as f:
            for _, b in files:
                f.write(b)
        log = self.unix(LOG)
        reached = []
        for point in range(10):
            if os.path.exists(log):
                os.remove(log)
            # kill -9 of the Windows process itself, not a parent of it.
            p = subprocess.Popen(["wine", os.path.join(folder, "mondax.exe"), "/silent", "/dir=" + FOLDER, "/log=" + LOG],
                                 env=self.d.env, cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            text = lambda: self.read(log).decode("cp932", "replace") if os.path.exists(log) else ""
            # 0: the entry is written and no file yet; then after every second file.
            self.d.wait_for(lambda: "インストーラ複写" in text() and text().count("ファイル書き込み") >= 2 * point,
                            timeout=60, every=0.002, what="point %d of the copy" % point)
            os.kill(p.pid, signal.SIGKILL)
            p.wait(20)
            reached.append(text().count("ファイル書き込み"))
            self.assertNotIn("終了コード", text(), "killed before the end")
            self.assertEqual(self.reg_value(UNINSTALL_KEY, "DisplayName"), "Large Pendo", reached)
            uninstall = self.reg_value(UNINSTALL_KEY, "UninstallString")
            self.assertEqual(uninstall, '"C:\\windows\\mondax.exe" "C:\\Pendo Clock\\mondax.uix"')
            code, removal = self.silent(os.path.join(windows, "mondax.exe"), FOLDER + "\\mondax.uix", "/silent")
            self.assertEqual(code, DONE, removal)
            self.assertFalse(os.path.exists(target), "nothing left after %d files" % reached[-1])
            self.assertIsNone(self.reg_value(UNINSTALL_KEY, "DisplayName"))
            self.assertFalse(os.path.exists(os.path.join(programs, "Pendo.lnk")))
        print("killed after these numbers of files:", reached, file=sys.stderr)
        self.assertGreaterEqual(len(set(reached)), 5, reached)

        # A removal killed on its way through twelve hundred files of the
        # product: the script, record and entry are still there, and it is
        # finished later.
        many = os.path.join(self.work, "many")
        shutil.rmtree(many, ignore_errors=True)
        os.makedirs(many)
        shutil.copy(os.path.join(DIST, "mondax.exe"), many)
        with open(os.path.join(many, "mondax.inx"), "wb") as f:
            f.write(("[profile]\r\napplicationname=Pendo\r\nbindedfilename=pendo\r\nuninstallationtitle=Large Pendo\r\n"
                     "[Bind]\r\n%s" % "".join("f%04d=1\r\n" % i for i in range(1200))).encode())
        with open(os.path.join(many, "pendo.bdx"), "wb") as f:
            f.write(b"x" * 1200)
        self.assertEqual(self.silent(os.path.join(many, "mondax.exe"), "/silent", "/dir=" + FOLDER)[0], DONE)
        os.remove(log)
        p = subprocess.Popen(["wine", os.path.join(windows, "mondax.exe"), FOLDER + "\\mondax.uix", "/silent", "/log=" + LOG],
                             env=self.d.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.d.wait_for(lambda: text().count("ファイル削除") >= 100, timeout=60, every=0.002, what="the removal on its way")
        os.kill(p.pid, signal.SIGKILL)
        p.wait(20)
        print("removal killed after %d files" % text().count("ファイル削除"), file=sys.stderr)
        self.assertNotIn("HKEY_LOCAL_MACHINE", text())
        self.assertTrue(os.path.exists(os.path.join(target, "mondax.uix")))
        self.assertEqual(self.reg_value(UNINSTALL_KEY, "DisplayName"), "Large Pendo")
        code, removal = self.silent(os.path.join(windows, "mondax.exe"), FOLDER + "\\mondax.uix", "/silent")
        self.assertEqual(code, DONE, removal)
        self.assertFalse(os.path.exists(target))
        self.assertIsNone(self.reg_value(UNINSTALL_KEY, "DisplayName"))

        # The user deleted the folder: the wizard offers to take the entry
        # off the list, the silent removal takes it off and says so.
        for silent in (False, True):
            self.silent(os.path.join(folder, "mondax.exe"), "/silent", "/dir=" + FOLDER)
            shutil.rmtree(target)
            if silent:
                code, removal = self.silent(os.path.join(windows, "mondax.exe"), FOLDER + "\\mondax.uix", "/silent")
                self.assertIn("レジストリ削除: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                              "Uninstall\\Pendo", removal)
            else:
                app = self.start(os.path.join(windows, "mondax.exe"), FOLDER + "\\mondax.uix")
                box = self.d.wait_window(cls="#32770", title=FAILURE, pid=app.pid)
                self.shot("entry_without_folder", box)
                self.assertIn("登録を削除しますか", " ".join(c.text for c in self.d.children(box)))
                self.d.focus(box, box.width // 2, 12)
                self.d.key("Return")  # はい, the default button
                code = app.wait(10)
            self.assertEqual(code, DONE)
            self.assertIsNone(self.reg_value(UNINSTALL_KEY, "DisplayName"))
        self.forget_pendo(target)

    def test_7_too_little_room_is_refused_before_writing(self):
        self.forget_pendo(self.unix(FOLDER))
        small = os.path.join(self.work, "small-drive")
        os.makedirs(small, exist_ok=True)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", small]).returncode != 0:
            self.skipTest("no tmpfs can be mounted here")
        drive = os.path.join(self.d.env["WINEPREFIX"], "dosdevices", "r:")
        try:
            os.symlink(small, drive)
            code, log = self.silent(self.copy_dist("room"), "/silent", "/dir=R:\\Pendo")
            self.assertEqual(code, REFUSED, log)
            self.assertIn("インストール先のドライブに空き領域が足りません。", log)
            self.assertEqual(os.listdir(small), [], "nothing written")
            self.assertIsNone(self.reg_value(UNINSTALL_KEY, "DisplayName"))
        finally:
            if os.path.islink(drive):
                os.remove(drive)
            subprocess.run(["umount", small])

    def test_8_upgrade_from_an_unfit_folder_chooses_another(self):
        target = self.unix(FOLDER)
        self.forget_pendo(target)
        windows = self.unix("C:\\windows")
        # An earlier installation whose folder is now a link; a user's folder.
        link, link_target, user_dir = self.unix("C:\\Pendo Link"), self.unix("C:\\Link Target"), self.unix("C:\\Users Data")
        for folder in (link_target, user_dir):
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
        with open(os.path.join(link_target, "mondax.uix"), "wb") as f:
            f.write(b"[profile]\r\napplicationname=Pendo\r\n")
        with open(os.path.join(user_dir, "notes.txt"), "wb") as f:
            f.write(b"mine")
        os.symlink(link_target, link)
        register = os.path.join(windows, "mondax.ini")
        self.wine("reg", "delete", UNINSTALL_KEY, "/f")
        text = re.sub(rb"\[Pendo\]\r\nInstallationDirectory=[^\r\n]*\r\n", b"", self.read(register))
        with open(register, "wb") as f:
            f.write(text + b"[Pendo]\r\nInstallationDirectory=C:\\Pendo Link\r\n")
        watched = {f: self.tree(f) for f in (link_target, user_dir)}
        try:
            # Without a window the registered folder is refused, and the reason logged.
            exe = self.copy_dist("upgrade")
            code, log = self.silent(exe, "/silent")
            self.assertEqual(code, REFUSED, log)
            self.assertIn("(C:\\Pendo Link)", log)
            app = self.start(exe)
            w = self.d.wait_window(cls="Tinstallationform", pid=app.pid)
            for _ in range(3):
                self.next(w)
            self.d.wait_window(cls="#32770", title="確認", pid=app.pid)
            self.d.screenshot(os.path.join(SHOTS, "mondax_upgrade_unfit.png"))
            told = self.message(app.pid, "確認")
            self.assertIn("既にインストールされたプログラムのフォルダですが、このフォルダにはインストールできません。", told)
            self.assertIn("ジャンクションまたはシンボリックリンクを経由するフォルダです。(C:\\Pendo Link)", told)

            # The edit takes typing; a folder holding a user's file is refused on leaving the page.
            self.click_client(w, 252, 114)
            self.d.key("End")
            self.d.key("shift+Home")
            self.d.type("C:\\Users Data")
            edit = next(c for c in self.d.children(w) if c.cls.upper() == "EDIT" and c.visible)
            self.assertEqual(edit.text, "C:\\Users Data", "the edit is not locked")
            self.click_client(w, 304, 244)
            self.d.wait_window(cls="#32770", title="失敗", pid=app.pid)
            self.d.screenshot(os.path.join(SHOTS, "mondax_folder_refused.png"))
            self.assertIn("既にファイルのあるフォルダです。(C:\\Users Data)", self.message(app.pid, "失敗"))
            self.assertIsNotNone(self.child(w, "Setup: 3/6"), "the folder page stays")

            self.click_client(w, 252, 114)
            self.d.key("End")
            self.d.key("shift+Home")
            self.d.type(FOLDER)
            self.next(w)
            self.next(w)  # no SendTo title
            self.assertTrue(self.wait_end_label(w))
            self.next(w)
            self.click_client(w, 392, 244)
            self.assertEqual(app.wait(10), DONE)
            self.assertTrue(os.path.exists(os.path.join(target, "Pendo.exe")))
            self.assertIn("InstallationDirectory=C:\\Pendo Clock", self.read(register).decode("cp932"))
            self.assertEqual({f: self.tree(f) for f in watched}, watched, "the old folder and the user's are untouched")
            code, log = self.silent(os.path.join(windows, "mondax.exe"), FOLDER + "\\mondax.uix", "/silent")
            self.assertEqual(code, DONE, log)
        finally:
            os.remove(link)
            for folder in watched:
                shutil.rmtree(folder, ignore_errors=True)

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
