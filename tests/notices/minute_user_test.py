#!/usr/bin/env python3
"""Pendo left to itself across the same half hour, three copies side by side.

A clock zone is chosen that puts the local clock shortly before a half hour:
- "stalled" is stopped (SIGSTOP) before :30 and continued in :31; the notice of
  :30 then opens at once, with only the notice sound, none of the :30 chime;
- "badsound" has a wave file with wrong sizes and one of 1.5 GB as its chime
  and notice sound: it keeps running, each notice opens once, and :31 comes;
- "busy" starts, at :30, two programs that never take input, then has a
  message notice: that one opens within its minute.

usage: minute_user_test.py BUILD_DIR PENDO_EXE WININSPECT_EXE BUSYPROGRAM_EXE SHOTS
"""
import datetime
import os
import shutil
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "driver"))
from userdriver import Desktop  # noqa: E402

BUILD, PENDO, INSPECTOR, BUSY, SHOTS = sys.argv[1:6]
CLOSE_MESSAGE = 1692
CHIME, NOTICED, BAD = 0x30, 0x70, 0x55


def wave(path, level, samples, claims=None, size=None):
    """An 8-bit mono wave whose every sample is level; its data chunk may
    claim another size, and the file may be made larger (sparse)."""
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 36 + samples) + b"WAVEfmt " +
                struct.pack("<IHHIIHH", 16, 1, 1, 22050, 22050, 1, 8) + b"data" +
                struct.pack("<I", samples if claims is None else claims) + bytes([level]) * samples)
        if size:
            f.truncate(size)
    return windows_path(path)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class MinutesLeftAlone(unittest.TestCase):
    def setUp(self):
        self.d = Desktop(BUILD, INSPECTOR)
        self.root = os.path.join(BUILD, "tests", "notices", "minutes")
        shutil.rmtree(self.root, ignore_errors=True)
        os.makedirs(SHOTS, exist_ok=True)
        self.apps = []
        self.busy = self.busy2 = self.huge = None

    def copy(self, name, notices, sounds):
        """Pendo as name.exe in a folder of its own, with its notices and sounds."""
        folder = os.path.join(self.root, name)
        os.makedirs(os.path.join(folder, "profile"))
        shutil.copy(PENDO, os.path.join(folder, name + ".exe"))
        with open(os.path.join(folder, "profile", "element_noticelist"), "wb") as f:
            f.write(b"".join(b"2,0,0,0,%d,%d,%s\r\n" % (h, m, text.encode("cp932")) for h, m, text in notices))
        with open(os.path.join(folder, "profile", "profile_mainform"), "wb") as f:
            f.write(b"firstboot,0\r\n" + b"".join(b"%s,%s\r\n" % (k.encode(), v.encode("cp932"))
                                                  for k, v in sounds.items()))
        return os.path.join(folder, name + ".exe")

    def notices_of(self, app):
        return [w for w in self.d.windows() if w.pid == app.pid and w.cls == "Tnoticeform" and w.visible]

    def tearDown(self):
        # Gone, the files let the busy programs end.
        for path in (self.busy and self.busy + ".ran", self.busy2 and self.busy2 + ".ran", self.huge):
            if path and os.path.exists(path):
                os.remove(path)
        for app in self.apps:
            app.resume()
            self.assertEqual(app.stop(message=CLOSE_MESSAGE), 0)

    def test_a_stall_bad_sounds_and_busy_programs_lose_no_notice(self):
        d = self.d
        # A zone as far ahead of universal time as puts the local clock at
        # :29:25 now: time to start three copies before the half hour.
        now = datetime.datetime.utcnow()
        offset = (29 * 60 + 25 - (now.minute * 60 + now.second)) % 3600
        zone = {"TZ": "PND-0:%02d:%02d" % (offset // 60, offset % 60)}

        def local():
            return datetime.datetime.utcnow() + datetime.timedelta(seconds=offset)

        def until(minute, second):
            """Sleeps until that second of that minute of this local hour."""
            now = local()
            time.sleep(max(0.0, (now.replace(minute=minute, second=second, microsecond=0) - now).total_seconds()))

        self.assertEqual(local().minute, 29, "the zone puts the clock in minute 29")
        hour = local().hour

        sounds = os.path.join(self.root, "sounds")
        os.makedirs(sounds)
        self.huge = os.path.join(sounds, "huge.wav")
        # 844 bytes whose data chunk claims 200 MB, and 1.5 GB (sparse) of a sound.
        bad = (wave(os.path.join(sounds, "bad.wav"), BAD, 800, claims=200000000) + "+" +
               wave(self.huge, BAD, 800, claims=1610612736, size=1610612780))
        half = "wavefileatclockedhalf%d" % hour

        stalled = self.copy("stalled", [(hour, 30, "止まっていた間の通知")],
                            {half: wave(os.path.join(sounds, "chime.wav"), CHIME, 2000),
                             "wavefileatnoticed": wave(os.path.join(sounds, "noticed.wav"), NOTICED, 1000)})
        badsound = self.copy("badsound", [(hour, 30, "bad one"), (hour, 30, "bad two"), (hour, 31, "bad next")],
                             {half: bad, "wavefileatnoticed": bad})
        folder = os.path.join(self.root, "busyprograms")
        os.makedirs(folder)
        self.busy, self.busy2 = os.path.join(folder, "busy.exe"), os.path.join(folder, "busy2.exe")
        shutil.copy(BUSY, self.busy)
        shutil.copy(BUSY, self.busy2)
        busy = self.copy("busy", [(hour, 30, windows_path(self.busy)), (hour, 30, windows_path(self.busy2)),
                                  (hour, 30, "after the programs")], {})
        start = d.sound_mark()
        s, b, p = (d.start(exe, env=zone) for exe in (stalled, badsound, busy))
        self.apps = [s, b, p]
        for app in self.apps:
            d.wait_window(cls="Tmainform", pid=app.pid)
        # Every notice window that appears until the end, counted.
        end = local().replace(second=0, microsecond=0) + datetime.timedelta(minutes=2, seconds=20)
        watch = d.watch("Tnoticeform", int((end - local()).total_seconds() * 1000))

        self.assertLess(local(), local().replace(minute=29, second=50), "started in time")
        until(29, 56)
        s.suspend()
        until(30, 0)
        d.wait_for(lambda: self.notices_of(p), timeout=55, what="the message notice after the programs")
        self.assertEqual(local().minute, 30, "it opens within its minute")
        d.wait_for(lambda: os.path.exists(self.busy + ".ran") and os.path.exists(self.busy2 + ".ran"), timeout=20,
                   what="both programs started (they wait until the end)")
        d.wait_for(lambda: len(self.notices_of(b)) == 2, timeout=20, what="both notices with bad sounds")
        self.assertTrue(b.running())
        d.screenshot(os.path.join(SHOTS, "minute-busy-and-bad.png"))

        until(31, 2)
        mark = d.sound_mark()
        s.resume()
        late = d.wait_for(lambda: self.notices_of(s), timeout=15, what="the notice of the minute slept through")
        d.wait_for(lambda: len(d.sounds_since(mark)) >= 1000, timeout=5, what="the notice sound")
        time.sleep(0.5)
        d.screenshot(os.path.join(SHOTS, "minute-after-the-stall.png"), d.refresh(late[0]))
        heard = set(d.sounds_since(mark))
        self.assertIn(NOTICED, heard)
        self.assertNotIn(CHIME, heard, "no chime of a minute slept through")
        # Those of :30 closed after their 16 seconds.
        d.wait_for(lambda: self.notices_of(b), timeout=20, what="the next minute's notice")
        self.assertTrue(b.running(), "bad sounds do not end the clock")

        self.assertNotIn(BAD, set(d.sounds_since(start)), "the bad sounds played nothing")

        _, seen = watch.result()
        per_program = {app.pid: sum(1 for w in seen if w.pid == app.pid) for app in self.apps}
        self.assertEqual(per_program, {s.pid: 1, b.pid: 3, p.pid: 1}, "each notice opens once")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
