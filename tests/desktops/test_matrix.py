#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""The desktop matrix: where the program's window must be, how results and
the limits of a release become the table and the exit status (Placement,
Table), and the openbox row on the built program (Openbox, run where openbox
is installed). ORVANTA_BIN_DIR names the built program folder."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(SOURCE_DIR, "tools", "desktops"))
from desktop import CHECKS, expected_window  # noqa: E402
from matrix import read_limits, short_figure, summarise  # noqa: E402

BIN_DIR = os.environ.get("ORVANTA_BIN_DIR", os.path.join(SOURCE_DIR, "build", "bin"))


class Placement(unittest.TestCase):
    def test_a_first_window_fits_the_compass_within_the_desktop(self):
        # bounds and desktop -> window, as the program places a window that
        # does not exist yet
        cases = [((609, 349, 442, 304, 1920, 1080), (607, 347, 446, 308)),
                 ((0, 0, 100, 80, 1920, 1080), (0, 0, 102, 82)),
                 ((-30, -20, 300, 200, 1920, 1080), (0, 0, 272, 182)),
                 ((1800, 1000, 200, 150, 1920, 1080), (1798, 998, 122, 82)),
                 ((10, 10, 2000, 300, 1920, 1080), (8, 8, 1912, 304))]
        for given, want in cases:
            with self.subTest(given=given):
                self.assertEqual(expected_window(*given), want)


class Table(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.limits = os.path.join(self.dir, "limits.tsv")
        with open(self.limits, "w") as f:
            f.write("# 12\tweston\tabove\tnot a limit: a comment\n"
                    "12\tsway\tabove\tsway raises the focused floating window\n"
                    "13\tsway\tplaced\tsway 1.10 centres it\n"
                    "12\tweston\tplaced\tweston places X windows itself\n")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def test_limits_belong_to_their_release(self):
        self.assertEqual(read_limits(self.limits, "12"),
                         {("sway", "above"): "sway raises the focused floating window",
                          ("weston", "placed"): "weston places X windows itself"})
        self.assertEqual(list(read_limits(self.limits, "13")), [("sway", "placed")])
        self.assertEqual(read_limits(os.path.join(self.dir, "none.tsv"), "12"), {})

    def test_figures_in_cells(self):
        for given, want in (("+130,+39; window +130,+39", "+130,+39"),
                            ("a" * 50 + "; x", "a" * 39 + "…"), ("a|b", "a\\|b")):
            self.assertEqual(short_figure(given), want)

    def test_each_kind_of_cell(self):
        results = {("ok", c): ("pass", "fine") for c in CHECKS}
        results.update({("sway", "placed"): ("pass", "+0,+0; window +0,+0"),
                        ("sway", "above"): ("fail", "xterm on top; pixel #FF00FF"),
                        ("sway", "not-a-task"): ("fail", "no skip flags; type UTILITY"),
                        ("sway", "click-through-x"): ("n/a", "no input injection")})
        table, failed = summarise(results, read_limits(self.limits, "12"), ["ok", "sway"])
        self.assertTrue(failed, "an unlisted failure fails the run")
        rows = {l.split(" |")[0][2:]: l for l in table.splitlines() if l.startswith("| ")}
        self.assertEqual(rows["environment"], "| environment | " + " | ".join(CHECKS) + " |")
        self.assertEqual(rows["ok"], "| ok |" + " pass fine |" * len(CHECKS))
        self.assertEqual(rows["sway"], "| sway | pass +0,+0 | FAIL no result | FAIL no result | "
                         "FAIL no skip flags | limit xterm on top | n/a no input injection |"
                         + " FAIL no result |" * 5)
        for line in ("- sway / not-a-task: FAIL: no skip flags; type UTILITY",
                     "- sway / above: limit (sway raises the focused floating window): "
                     "xterm on top; pixel #FF00FF",
                     "- sway / keys-on-click: FAIL: no result"):
            self.assertIn(line, table)

    def test_only_limits_pass_and_a_limit_gone_is_named(self):
        results = {("sway", c): ("pass", "fine") for c in CHECKS}
        results[("sway", "above")] = ("fail", "xterm on top")
        results.update({("weston", c): ("n/a", "no input injection") for c in CHECKS})
        results[("weston", "placed")] = ("pass", "+0,+0")
        limits = read_limits(self.limits, "12")
        table, failed = summarise(results, limits, ["sway", "weston"], "limits.tsv")
        self.assertFalse(failed)
        self.assertIn("- weston / placed is listed in limits.tsv but gave pass", table)
        # On 13 the same failure is no limit.
        self.assertTrue(summarise(results, read_limits(self.limits, "13"), ["sway"])[1])


class Openbox(unittest.TestCase):
    """The openbox row of the matrix on the built program: every check passes."""

    def test_every_check_passes(self):
        missing = [t for t in ("Xvfb", "openbox", "xcompmgr", "xdotool", "xterm", "xev", "wmctrl",
                               "convert", "dbus-daemon", "busctl", "xwininfo", "xprop")
                   if shutil.which(t) is None]
        if not os.access(os.path.join(BIN_DIR, "orvanta"), os.X_OK):
            missing.append("the built program in " + BIN_DIR)
        if missing:
            self.skipTest("needs " + ", ".join(missing))
        out = subprocess.run([sys.executable, os.path.join(SOURCE_DIR, "tools", "desktops",
                                                           "matrix.py"),
                              "--program-dir", BIN_DIR, "openbox"],
                             capture_output=True, text=True, timeout=400)
        self.assertEqual(out.returncode, 0, out.stdout + out.stderr[-4000:])
        row = [l for l in out.stdout.splitlines() if l.startswith("| openbox |")]
        self.assertEqual(len(row), 1, out.stdout)
        cells = [c.strip().split(" ")[0] for c in row[0].split("|")[2:-1]]
        self.assertEqual(len(cells), len(CHECKS))
        self.assertEqual(set(cells) - {"pass", "n/a"}, set(), out.stdout)


if __name__ == "__main__":
    unittest.main(verbosity=2)
