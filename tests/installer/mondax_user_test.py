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
                           (os.path.join(link_target, "mondax.uix"), b"[profile]\r\napplicationname=Pendo\r\n")):
            with open(path, "wb") as f:
                f.write(text)
        # Wine makes no junction and keeps no subst drive: a symbolic link of
        # the prefix is reported as a reparse point, a drive letter linked to
        # drive_c/windows stands in for "subst S: C:\windows".
        os.symlink(link_target, links[0])
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
            # An installation of its own whose product file became a link to the user's file.
            self.assertEqual(self.silent(exe, "/silent", "/dir=C:\\Pendo Own")[0], DONE)
            os.remove(links[1])
            os.symlink(os.path.join(user_dir, "notes.txt"), links[1])
            code, log = self.silent(exe, "/silent", "/dir=C:\\Pendo Own")
            self.assertEqual(code, REFUSED, log)
            self.assertIn(link + "(C:\\Pendo Own\\readme.txt)", log)
            self.assertEqual(self.tree(user_dir), watched[user_dir], "the user's file is untouched")
            os.remove(links[1])
            self.assertEqual(self.silent(os.path.join(windows, "mondax.exe"), "C:\\Pendo Own\\mondax.uix", "/silent")[0],
                             DONE)
        finally:
            for path in links:
                if os.path.lexists(path):
                    os.remove(path)
            self.forget_pendo(target)
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
        notes = os.path.join(target, "my-notes.txt")
        with open(notes, "wb") as f:
            f.write("会議のメモ\r\n".encode("cp932"))
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
        self.assertEqual(os.listdir(target), ["my-notes.txt"], "the user's file alone stays")
        self.assertEqual(self.read(notes), "会議のメモ\r\n".encode("cp932"))
        self.assertIsNone(self.reg_value(UNINSTALL_KEY, "DisplayName"))
        shutil.rmtree(target)

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

    def snapshot(self, paths):
        """Each path's files with their bytes and its folders, or None when it is missing."""
        def one(p):
            if os.path.isdir(p):
                return self.tree(p), sorted(os.path.relpath(os.path.join(r, d), p) for r, ds, _ in os.walk(p) for d in ds)
            return self.read(p) if os.path.exists(p) else None
        return {p: one(p) for p in paths}

    def large_setup(self, name, files):
        """A setup folder whose archive holds the given (name, bytes)."""
        folder = os.path.join(self.work, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copy(os.path.join(DIST, "mondax.exe"), folder)
        with open(os.path.join(folder, "mondax.inx"), "wb") as f:
            f.write(("[profile]\r\napplicationname=Pendo\r\nbindedfilename=pendo\r\nuninstallationtitle=Large Pendo\r\n"
                     "[Bind]\r\n%s" % "".join("%s=%d\r\n" % (n, len(b)) for n, b in files)).encode())
        with open(os.path.join(folder, "pendo.bdx"), "wb") as f:
            for _, b in files:
                f.write(b)
        return os.path.join(folder, "mondax.exe")

    def test_9_removal_takes_only_what_it_installed(self):
        target = self.unix(FOLDER)
        windows = self.unix("C:\\windows")
        mondax = os.path.join(windows, "mondax.exe")
        exe = self.copy_dist("rows")
        other = self.copy_dist("other", ("mondax.exe",))
        with open(os.path.join(os.path.dirname(other), "mondax.inx"), "wb") as f:
            f.write(b"[profile]\r\napplicationname=Other\r\nbindedfilename=other\r\nuninstallationtitle=Other\r\n"
                    b"[Bind]\r\nother.exe=2\r\n")
        with open(os.path.join(os.path.dirname(other), "other.bdx"), "wb") as f:
            f.write(b"MZ")
        user_shell = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
        startup = self.reg_value(user_shell + "Shell Folders", "Startup")
        os.makedirs(self.unix(startup), exist_ok=True)
        public = self.unix("C:\\users\\Public\\Documents")
        os.makedirs(public, exist_ok=True)
        thesis, copy, tools, dash = (self.unix(p) for p in ("C:\\Thesis", "C:\\Pendo Copy", "C:\\Tools", "C:\\Pendo - Clock"))
        native = [self.unix(p) for p in ("C:\\Program Files", "C:\\Program Files (x86)")]
        planted = [os.path.join(n, f) for n in native for f in ("mondax.uix", "canary.txt")]
        sendto = self.reg_value(user_shell + "Shell Folders", "SendTo")
        korean = sendto.rsplit("\\", 1)[0] + "\\보내기"
        busy_log = "C:\\mondax-busy.log"
        # Twelve hundred files: an upgrade long enough to start a removal during it.
        large = self.large_setup("busy", [("f%04d" % i, b"x") for i in range(1200)])

        def write(path, data=b"mine"):
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)

        def install(folder=FOLDER, *extra):
            code, log = self.silent(exe, "/silent", "/dir=" + folder, *extra)
            self.assertEqual(code, DONE, log)

        def remove(script=FOLDER + "\\mondax.uix", *extra):
            return self.silent(mondax, script, "/silent", *extra)

        def unquoted():
            install("C:\\Pendo - Clock")
            self.wine("reg", "add", UNINSTALL_KEY, "/v", "UninstallString", "/d",
                      "C:\\windows\\mondax.exe C:\\Pendo - Clock\\mondax.uix", "/f")
            return self.silent(mondax, "C:\\Pendo", "-", "Clock\\mondax.uix", "/silent")

        def log_inside(log):
            app = self.start(mondax, FOLDER + "\\mondax.uix", "/silent", "/log=" + log)
            return app.wait(30), ""

        def two_at_once():
            # An upgrade runs while the user starts the removal.
            unix_log = self.unix(busy_log)
            if os.path.exists(unix_log):
                os.remove(unix_log)
            self.assertEqual(self.silent(large, "/silent", "/dir=" + FOLDER)[0], DONE)
            installing = self.start(large, "/silent", "/dir=" + FOLDER, "/log=" + busy_log)
            # Registered: the run holds the lock and has its files still to copy.
            self.d.wait_for(lambda: os.path.exists(unix_log) and "インストール登録" in self.read(unix_log).decode("cp932"),
                            timeout=60, every=0.01, what="the installation on its way")
            result = remove()
            self.assertEqual(installing.wait(60), DONE, self.read(unix_log).decode("cp932"))
            self.assertEqual(len([f for f in os.listdir(target) if f.startswith("f")]), 1200)
            return result

        def korean_sendto():
            os.makedirs(self.unix(korean), exist_ok=True)
            for key in ("Shell Folders", "User Shell Folders"):
                self.wine("reg", "add", user_shell + key, "/v", "SendTo", "/d", korean, "/f")
            try:
                return self.silent(exe, "/silent", "/dir=" + FOLDER, "/sendto=Pendo Clock")
            finally:
                for key in ("Shell Folders", "User Shell Folders"):
                    self.wine("reg", "add", user_shell + key, "/v", "SendTo", "/d", sendto, "/f")

        def wizard(script, check_settings):
            app = self.start(mondax, script)
            w = self.d.wait_window(cls="Tuninstallationform", pid=app.pid)
            if check_settings:
                self.click_client(w, 40, 196)  # プログラムの設定ファイルも削除する(&S)
                self.shot("uninstall0_settings", w)
            self.next(w)
            refused = not check_settings
            if refused:
                self.assertIn("このフォルダはアンインストールできません。", self.message(app.pid, "失敗"))
            self.d.wait_for(lambda: any(c.visible and c.text in ("終了しました。", "中止しました。")
                                        for c in self.d.children(w)), timeout=60, what="the end label")
            self.assertIsNotNone(self.child(w, "中止しました。" if refused else "終了しました。"))
            self.next(w)
            self.shot("uninstall2_refused" if refused else "uninstall2_settings", w)
            self.assertEqual(self.child(w, "アンインストールは行われませんでした。") is not None, refused)
            self.click_client(w, 392, 244)
            return app.wait(10), ""

        def stale_copy():
            install()
            shutil.copytree(target, copy)
            return [copy]

        rows = (
            # what, prepare (returns what must survive), run, exit code, log line, what must be gone
            ("a user's file and folder", lambda: (install(), write(os.path.join(target, "my-notes.txt")),
                                                  write(os.path.join(target, "mydata", "photo.jpg")))
             and [os.path.join(target, "my-notes.txt"), os.path.join(target, "mydata")],
             remove, DONE, "ファイル残存: C:\\Pendo Clock\\my-notes.txt (インストールしたものではありません)",
             [os.path.join(target, "Pendo.exe")]),
            ("settings kept", lambda: (install(), write(os.path.join(target, "profile", "profile_mainform")))
             and [os.path.join(target, "profile")],
             remove, DONE, "設定を残しました: C:\\Pendo Clock\\profile", [os.path.join(target, "mondax.uix")]),
            ("settings removed on request", lambda: (install(), write(os.path.join(target, "profile", "x"))) and [],
             lambda: remove(FOLDER + "\\mondax.uix", "/removesettings"), DONE,
             "フォルダ削除 (設定): C:\\Pendo Clock\\profile", [target]),
            ("settings removed with the check box", lambda: (install(), write(os.path.join(target, "profile", "x"))) and [],
             lambda: wizard(FOLDER + "\\mondax.uix", True), DONE, "", [target]),
            ("a changed file", lambda: (install(), write(os.path.join(target, "readme.txt"), b"my notes"))
             and [os.path.join(target, "readme.txt")],
             remove, DONE, "ファイル残存: C:\\Pendo Clock\\readme.txt (インストール後に変更されています)",
             [os.path.join(target, "Pendo.exe")]),
            ("an empty StartUp", lambda: [self.unix(startup)], lambda: self.silent(exe, "/silent", "/dir=" + startup),
             REFUSED, "システムやユーザーの特別なフォルダ", []),
            ("an empty Public folder", lambda: [public],
             lambda: self.silent(exe, "/silent", "/dir=C:\\users\\Public\\Documents"),
             REFUSED, "システムやユーザーの特別なフォルダ", []),
            ("the native Program Files", lambda: [write(p, b"[profile]\r\napplicationname=Pendo\r\n") for p in planted]
             and planted, lambda: remove("C:\\Program Files\\mondax.uix"), REFUSED, "特別なフォルダ", []),
            ("the (x86) Program Files", lambda: planted, lambda: remove("C:\\Program Files (x86)\\mondax.uix"),
             REFUSED, "特別なフォルダ", []),
            # A script restored from a backup into a data folder, after Pendo was removed.
            ("installing into a data folder with a copied script",
             lambda: (install(), write(os.path.join(thesis, "thesis.docx")), write(os.path.join(thesis, "ch", "1.docx")),
                      shutil.copy(os.path.join(target, "mondax.uix"), thesis), remove()) and [thesis],
             lambda: self.silent(exe, "/silent", "/dir=C:\\Thesis"), REFUSED,
             "ここにインストールされたプログラムのものではありません。(C:\\Thesis)", []),
            ("removing a data folder with a copied script", lambda: [thesis],
             lambda: remove("C:\\Thesis\\mondax.uix"), REFUSED,
             "ここにインストールされたプログラムのものではありません。(C:\\Thesis)", []),
            ("a product inside another's folder", lambda: install() or [target],
             lambda: self.silent(other, "/silent", "/dir=" + FOLDER + "\\Other"), REFUSED,
             "「Pendo」のインストール先 (C:\\Pendo Clock) を含むか、その中にあるフォルダです。", []),
            ("a product placed inside", lambda: (install(), write(os.path.join(target, "Other", "other.exe")),
                                                 write(os.path.join(target, "Other", "mondax.uix"),
                                                       b"[profile]\r\napplicationname=Other\r\n"))
             and [os.path.join(target, "Other")], remove, DONE, "残したフォルダ: C:\\Pendo Clock: Other", []),
            ("a stale copy of the folder", stale_copy, lambda: remove("C:\\Pendo Copy\\mondax.uix"), REFUSED,
             "ここにインストールされたプログラムのものではありません。(C:\\Pendo Copy)", []),
            ("a stale copy, in the wizard", lambda: stale_copy() + [target],
             lambda: wizard("C:\\Pendo Copy\\mondax.uix", False), REFUSED, "", []),
            ("a mistyped script name", lambda: install() or [target], lambda: remove(FOLDER + "\\uninstall.uix"),
             REFUSED, "セットアップ情報が見つかりません。", []),
            ("parents created and removed", lambda: [],
             lambda: (install("C:\\Tools\\Clocks\\Pendo"), remove("C:\\Tools\\Clocks\\Pendo\\mondax.uix"))[1], DONE,
             "フォルダ削除: C:\\Tools\r\n", [tools]),
            ("a parent that was there", lambda: [write(os.path.join(tools, "keep.txt"))] and [tools + "/keep.txt"],
             lambda: (install("C:\\Tools\\Clocks\\Pendo"), remove("C:\\Tools\\Clocks\\Pendo\\mondax.uix"))[1], DONE,
             "フォルダ削除: C:\\Tools\\Clocks\r\n", [os.path.join(tools, "Clocks")]),
            ("an old unquoted entry with \" - \"", lambda: [], unquoted, DONE, "フォルダ削除: C:\\Pendo - Clock\r\n", [dash]),
            ("a log inside the folder", lambda: install() or [target], lambda: log_inside(FOLDER + "\\removal.log"),
             BAD_COMMAND_LINE, "", []),
            ("a log over the script", lambda: install() or [target], lambda: log_inside(FOLDER + "\\mondax.uix"), BAD_COMMAND_LINE,
             "", []),
            ("two runs at once", lambda: [], two_at_once, REFUSED, "別のインストールまたはアンインストールが実行中です。", []),
            ("a SendTo folder the code page cannot name", lambda: [self.unix("C:\\Pendo Clock.lnk")], korean_sendto, DONE,
             "「送る」フォルダの場所を確かめられないため", []),
        )
        def clean():
            self.forget_pendo(target)
            for folder in (thesis, copy, tools, dash):
                shutil.rmtree(folder, ignore_errors=True)

        clean()
        try:
            for what, prepare, run, expected, line, gone in rows:
                with self.subTest(what):
                    keep = prepare()
                    self.assertIsInstance(keep, list)
                    before = self.snapshot(keep)
                    code, log = run()
                    self.assertEqual(code, expected, log)
                    self.assertIn(line, log)
                    self.assertEqual(self.snapshot(keep), before, "what must survive is as it was")
                    for path in gone:
                        self.assertFalse(os.path.exists(path), path)
                    if expected == REFUSED and "Pendo" in str(keep):
                        self.assertIsNotNone(self.reg_value(UNINSTALL_KEY, "DisplayName"), "the real entry stays")
                # Each row from a machine without Pendo, save what the next row reuses.
                if not what.startswith(("installing into a data", "the native")):
                    clean()
        finally:
            for path in planted:
                if os.path.exists(path):
                    os.remove(path)
            clean()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
