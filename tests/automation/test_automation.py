#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""The automation model as other programs see it.

Starts the real program (a copy of the program folder) under Xvfb on a private
session bus and drives it with clients that are not ours: gdbus, busctl and a
python-dbus script. Run with Debian's /usr/bin/python3 (it has python3-dbus);
ORVANTA_BIN_DIR names the built program folder.
"""

import json
import math
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from harness.session import Session, wait_for  # noqa: E402
from harness.xserver import start_xvfb  # noqa: E402

try:
    import dbus
    import dbus.mainloop.glib
    from gi.repository import GLib
except ImportError:  # checked in setUpModule, with the reason
    dbus = None

NAME = "Compass.VelmoraCompass"
MAIN, UNITS, SKINS = "/VelmoraCompass", "/VelmoraCompass/Units", "/VelmoraCompass/Skins"
APP = "Compass.IVelmoraCompass"
UNITS_IF = "Compass.IVelmoraCompassUnits"
SKINS_IF = "Compass.IVelmoraCompassSkins"
EVENTS_IF = "Compass.IVelmoraCompassEvents"
POINT_IF = "Compass.IConnectionPoint"
LAUNCHER, LAUNCHER_IF = "/Orvanta", "Compass.IOrvantaLauncher"
PROPERTIES_IF = "org.freedesktop.DBus.Properties"
FAILED = "Compass.Error.Failed"
SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN_DIR = os.environ.get("ORVANTA_BIN_DIR", os.path.join(SOURCE_DIR, "build", "bin"))
# The options every started compass begins with: no splash to wait for.
OPTIONS = "[Options]\nHideSplash=1\nFirstTime=0\nX=300\nY=250\nMeasurement=100\nAngle=0\n"

env = {}  # the environment of the private desktop, set up once
_session = None  # its folders, Xvfb, the bus and the stand-in tray, stopped at the end
_root = None


def run(*args, timeout=15):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)


def gdbus(path, method, *args, dest=NAME):
    return run("gdbus", "call", "--session", "--dest", dest, "--object-path", path,
               "--method", method, *args)


def gdbus_set(prop, literal, path=MAIN, iface=APP):
    return gdbus(path, "org.freedesktop.DBus.Properties.Set", iface, prop, literal)


def busctl_get(prop, path=MAIN, iface=APP):
    out = run("busctl", "--user", "get-property", NAME, path, iface, prop)
    assert out.returncode == 0, out.stderr
    kind, value = out.stdout.strip().split(" ", 1)
    return {"d": float, "i": int, "b": lambda v: v == "true",
            "s": lambda v: v.strip('"'), "o": lambda v: v.strip('"')}[kind](value)


def sanitized():
    """Whether the program under test is built with AddressSanitizer."""
    with open(os.path.join(BIN_DIR, "orvanta"), "rb") as f:
        return b"__asan_init" in f.read()


def float32(v):
    import struct
    return struct.unpack("f", struct.pack("f", v))[0]


def setUpModule():
    global _root
    missing = [t for t in ("Xvfb", "dbus-daemon", "gdbus", "busctl", "xdotool")
               if shutil.which(t) is None]
    if dbus is None:
        missing.append("python3-dbus and python3-gi (run with /usr/bin/python3)")
    if not os.path.exists(os.path.join(BIN_DIR, "orvanta")):
        missing.append("the built program in " + BIN_DIR)
    if missing:
        raise unittest.SkipTest("needs " + ", ".join(missing))
    global _session
    _root = tempfile.mkdtemp(prefix="orvanta-automation-")
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    _session = Session(_root)
    for d in ("data/dbus-1/services", "fakebin"):
        os.makedirs(os.path.join(_root, d))
    # The browser a web link opens: it writes down what it was given.
    opener = os.path.join(_root, "fakebin", "xdg-open")
    with open(opener, "w") as f:
        f.write('#!/bin/sh\necho "$@" >> "%s"\n' % os.path.join(_root, "opened.txt"))
    os.chmod(opener, 0o755)
    _session.env["PATH"] = os.path.join(_root, "fakebin") + os.pathsep + os.environ["PATH"]
    start_xvfb(1280, 800, _session)
    # The bus hands its environment to the programs it activates: DISPLAY
    # and the folders above are already in it.
    _session.bus()
    env.update(_session.env)
    # A stand-in tray, so that hiding has somewhere to go unless the options
    # switch the icon off.
    tray = os.path.join(BIN_DIR, "orvanta_faketray")
    if os.path.exists(tray):
        proc = _session.spawn("faketray", [tray], stdout=subprocess.PIPE, text=True)
        proc.stdout.readline()  # "ready"


def tearDownModule():
    if _session:
        _session.close()
    if _root:
        shutil.rmtree(_root, ignore_errors=True)


class Compass:
    """One copy of the program folder and the program running from it."""

    count = 0

    def __init__(self, *args, options=OPTIONS, wait=True):
        if wait:
            # A compass of an earlier test (one the bus started, say) may still
            # be on its way out: this one would only queue behind it.
            wait_for(lambda: self.pid_of_owner() is None, timeout=15.0)
        Compass.count += 1
        # A space in the folder name: the activation file must quote it.
        self.folder = os.path.join(_root, "Program Files %d" % Compass.count)
        shutil.copytree(BIN_DIR, self.folder, ignore=shutil.ignore_patterns("orvanta_*"))
        with open(os.path.join(self.folder, "Compass.ini"), "w") as f:
            f.write(options)
        self.binary = os.path.join(self.folder, "orvanta")
        self.log = open(os.path.join(self.folder, "log.txt"), "w")
        self.proc = subprocess.Popen([self.binary, *args], env=env, stdout=self.log,
                                     stderr=subprocess.STDOUT)
        if wait:
            # A loaded machine, or a sanitizer build, can take many seconds to
            # start: the wait ends as soon as the name is taken.
            assert wait_for(self.owns_name, timeout=30.0), "the program did not take " + NAME

    def pid_of_owner(self):
        bus = dbus.bus.BusConnection(env["DBUS_SESSION_BUS_ADDRESS"])
        try:
            owner = bus.get_name_owner(NAME)
            return int(bus.call_blocking("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                         "org.freedesktop.DBus", "GetConnectionUnixProcessID",
                                         "s", [owner]))
        except dbus.DBusException:
            return None
        finally:
            bus.close()

    def owns_name(self):
        return self.pid_of_owner() == self.proc.pid

    def options(self):
        with open(os.path.join(self.folder, "Compass.ini"), encoding="utf-8") as f:
            return f.read()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(10)
        self.log.close()


class Client:
    """A python-dbus client on its own connection, with the events it heard."""

    def __init__(self):
        self.bus = dbus.bus.BusConnection(env["DBUS_SESSION_BUS_ADDRESS"])
        self.heard = []
        self.bus.add_signal_receiver(lambda *a, **k: self.heard.append(k["member"]),
                                     dbus_interface=EVENTS_IF, member_keyword="member")

    def obj(self, path=MAIN):
        return self.bus.get_object(NAME, path)

    def get(self, prop, path=MAIN, iface=APP):
        return self.obj(path).Get(iface, prop, dbus_interface=dbus.PROPERTIES_IFACE)

    def set(self, prop, value, path=MAIN, iface=APP):
        self.obj(path).Set(iface, prop, value, dbus_interface=dbus.PROPERTIES_IFACE)

    def call(self, method, *args, path=MAIN, iface=APP):
        return getattr(self.obj(path), method)(*args, dbus_interface=iface)

    def listen(self, event, timeout=5.0):
        """Runs the main loop until `event` arrives; returns whether it did."""
        loop = GLib.MainLoop()
        end = time.monotonic() + timeout

        def check():
            if event in self.heard or time.monotonic() > end:
                loop.quit()
                return False
            return True

        GLib.timeout_add(20, check)
        loop.run()
        return event in self.heard

    def close(self):
        self.bus.close()


class SharedCompass(unittest.TestCase):
    """Members on one running compass; each test leaves it as it found it."""

    @classmethod
    def setUpClass(cls):
        cls.compass = Compass()
        cls.client = Client()

    @classmethod
    def tearDownClass(cls):
        cls.client.close()
        cls.compass.stop()

    def settle(self, condition):
        self.assertTrue(wait_for(condition), "the compass did not get there")

    def add_unit(self, name, pixels, units, decimals):
        index = self.client.get("UnitsCount", UNITS, UNITS_IF)
        for method, value in (("SetNames", dbus.String(name)),
                              ("SetPixelNums", dbus.Double(pixels)),
                              ("SetUnitNums", dbus.Double(units)),
                              ("SetDecimalNums", dbus.Int32(decimals))):
            self.client.call(method, dbus.Int32(index), value, path=UNITS, iface=UNITS_IF)
        return index

    def test_worked_cases(self):
        # (property, gdbus value, value read back)
        cases = [("Angle", "<-90.0>", 270.0),
                 ("Transparency", "<5.0>", 10.0),
                 ("Transparency", "<150.0>", 100.0),
                 ("Transparency", "<55.5>", 56.0),
                 ("Transparency", "<54.5>", 54.0),
                 ("MeasurementType", "<2>", 2),
                 ("MeasurementType", "<4>", 4),
                 ("MeasurementType", "<5>", 0),
                 ("MeasurementType", "<3>", 3),
                 ("Shape", "<5>", 5),
                 ("Shape", "<40>", 0),
                 ("Angle", "<0.0>", 0.0)]
        for prop, literal, expected in cases:
            with self.subTest(prop=prop, value=literal):
                out = gdbus_set(prop, literal)
                self.assertEqual(out.returncode, 0, out.stderr)
                self.assertEqual(busctl_get(prop), expected)

    def test_display_measurement_is_a_radius_in_units_whatever_is_shown(self):
        unit = self.add_unit("厘", 10.0, 1.0, 2)
        self.client.call("Select", dbus.Int32(unit), path=UNITS, iface=UNITS_IF)
        self.client.set("MeasurementType", dbus.Int32(1))
        self.client.set("DisplayMeasurement", dbus.Double(2.5))
        self.assertEqual(busctl_get("Measurement"), 25.0)
        circumference = round(2 * math.pi * 25 / 10, 2)
        self.settle(lambda: self.client.get("DisplayText") == "%.2f" % circumference)
        self.assertAlmostEqual(self.client.get("DisplayMeasurement"), circumference, places=4)
        self.client.set("MeasurementType", dbus.Int32(0))
        self.client.call("Select", dbus.Int32(0), path=UNITS, iface=UNITS_IF)
        self.client.set("Measurement", dbus.Double(100.0))
        self.client.call("Repaint")

    def test_diameter_angle_and_every_quantity_as_json(self):
        unit = self.add_unit("cm", 10.0, 1.0, 2)
        self.client.call("Select", dbus.Int32(unit), path=UNITS, iface=UNITS_IF)
        self.client.set("Measurement", dbus.Double(100.0))
        self.client.set("Angle", dbus.Double(30.0))
        self.client.set("MeasurementType", dbus.Int32(3))
        self.client.call("Repaint")
        self.settle(lambda: self.client.get("DisplayText") == "20")
        self.client.set("MeasurementType", dbus.Int32(4))
        self.client.call("Repaint")
        self.settle(lambda: self.client.get("DisplayText") == "330.0\u00b0")
        self.assertAlmostEqual(self.client.get("DisplayMeasurement"), 330.0, places=4)
        got = json.loads(self.client.call("Measurement"))
        self.assertEqual(got, {"radius": 10, "diameter": 20, "circumference": 62.83,
                               "area": 314.16, "angle": 330, "unit": "cm", "unitName": "cm",
                               "shape": 0, "inscribed": False})
        self.client.set("MeasurementType", dbus.Int32(0))
        self.client.set("Angle", dbus.Double(0.0))
        self.client.call("Select", dbus.Int32(0), path=UNITS, iface=UNITS_IF)
        self.client.call("Repaint")

    def test_selected_unit_shows_after_repaint(self):
        unit = self.add_unit("半寸", 4.0, 1.0, 0)
        self.client.set("Measurement", dbus.Double(100.0))
        self.settle(lambda: self.client.get("DisplayText") == "100")
        out = run("busctl", "--user", "call", NAME, UNITS, UNITS_IF, "Select", "i", str(unit))
        self.assertEqual(out.returncode, 0, out.stderr)
        self.assertEqual(busctl_get("SelectedUnit", UNITS, UNITS_IF), unit)
        time.sleep(0.5)
        self.assertEqual(self.client.get("DisplayText"), "100")  # no redraw asked for
        self.client.call("Repaint")
        self.settle(lambda: self.client.get("DisplayText") == "25")
        self.client.call("Select", dbus.Int32(0), path=UNITS, iface=UNITS_IF)
        self.client.call("Repaint")

    def test_state_members_read_back_what_was_set(self):
        # Floats travel as doubles but are held in 32 bits.
        self.client.set("ExternalZoom", dbus.Double(0.1))
        self.assertEqual(self.client.get("ExternalZoom"), float32(0.1))
        # The spread becomes whole pixels at the next render.
        self.client.set("Measurement", dbus.Double(123.4))
        self.settle(lambda: self.client.get("Measurement") == 123.0)
        self.client.call("MoveTo", dbus.Int32(333), dbus.Int32(222))
        self.settle(lambda: (busctl_get("X"), busctl_get("Y")) == (333, 222))
        self.client.set("ExternalZoom", dbus.Double(2.0))
        self.settle(lambda: self.client.get("DisplayText") == "246")
        self.client.set("ExternalZoom", dbus.Double(1.0))
        self.client.set("Measurement", dbus.Double(100.0))
        self.assertEqual(self.client.get("Version"), 4.0)
        self.assertEqual(self.client.get("Units"), UNITS)
        self.assertEqual(self.client.get("Skins"), SKINS)

    def test_fit_finds_the_circle_beneath_and_tells_where_it_is(self):
        self.client.set("Measurement", dbus.Double(200.0))
        self.client.call("MoveTo", dbus.Int32(500), dbus.Int32(400))
        self.settle(lambda: (busctl_get("X"), busctl_get("Y")) == (500, 400))
        self.assertFalse(self.client.call("Fit"))  # nothing but the bare root
        # A circle on the root about where the figure is (the pivot lies a
        # skin's few pixels from X, Y); ImageMagick centres pixels on integers.
        picture = os.path.join(_root, "circle.png")
        run("convert", "-size", "1280x800", "xc:#d8dce0", "-fill", "none", "-stroke", "black",
            "-strokewidth", "2", "-draw", "circle 530,430 730,430", picture)
        run("display", "-window", "root", picture)
        try:
            self.assertTrue(self.client.call("Fit"))
            x, y, r = self.client.call("LastFit")
            self.assertAlmostEqual(x, 530.5, delta=0.5)
            self.assertAlmostEqual(y, 430.5, delta=0.5)
            self.assertAlmostEqual(r, 200.0, delta=0.5)
        finally:
            run("xsetroot", "-solid", "black")
            self.client.call("MoveTo", dbus.Int32(333), dbus.Int32(222))
            self.client.set("Measurement", dbus.Double(100.0))

    def test_switches_save_and_keep_one_lock(self):
        # (property, value, expected (StickyAngles, LockAngle, LockMeasurement))
        cases = [("StickyAngles", False, (False, False, False)),
                 ("LockAngle", True, (False, True, False)),
                 ("LockMeasurement", True, (False, False, True)),
                 ("LockMeasurement", False, (False, False, False)),
                 ("StickyAngles", True, (True, False, False))]
        for prop, value, expected in cases:
            with self.subTest(prop=prop, value=value):
                self.client.set(prop, dbus.Boolean(value))
                got = tuple(bool(self.client.get(p))
                            for p in ("StickyAngles", "LockAngle", "LockMeasurement"))
                self.assertEqual(got, expected)
                key = "StickyAngle" if prop == "StickyAngles" else prop
                self.assertIn("%s=%d" % (key, value), self.compass.options())
        for value in (False, True):
            self.client.set("StayOnTop", dbus.Boolean(value))
            self.assertEqual(busctl_get("StayOnTop"), value)
            self.assertIn("StayOnTop=%d" % value, self.compass.options())
        for value in (True, False):
            self.client.set("InscribePolygons", dbus.Boolean(value))
            self.assertEqual(busctl_get("InscribePolygons"), value)
            self.assertIn("Scribe=%d" % value, self.compass.options())

    def test_units_collection(self):
        count = busctl_get("UnitsCount", UNITS, UNITS_IF)
        self.assertGreater(busctl_get("UnitsLockedCount", UNITS, UNITS_IF), 0)
        index = self.add_unit("步", 2.5, 0.5, 3)
        self.assertEqual(busctl_get("UnitsCount", UNITS, UNITS_IF), count + 1)
        read = [self.client.call(m, dbus.Int32(index), path=UNITS, iface=UNITS_IF)
                for m in ("Names", "PixelNums", "UnitNums", "DecimalNums")]
        self.assertEqual(read, ["步", 2.5, 0.5, 3])
        # Beyond the list and below it the gets read empty.
        for i in (count + 5, -1):
            self.assertEqual([self.client.call(m, dbus.Int32(i), path=UNITS, iface=UNITS_IF)
                              for m in ("Names", "PixelNums", "UnitNums", "DecimalNums")],
                             ["", 0.0, 0.0, 0])
        with open(os.path.join(self.compass.folder, "distances.ini"), encoding="utf-8") as f:
            self.assertIn("步", f.read())
        # A set below 0 is ignored.
        self.client.call("SetNames", dbus.Int32(-1), "x", path=UNITS, iface=UNITS_IF)
        self.assertEqual(busctl_get("UnitsCount", UNITS, UNITS_IF), count + 1)

    def test_skins_collection(self):
        count = busctl_get("SkinsCount", SKINS, SKINS_IF)
        self.assertGreaterEqual(count, 2, "the program folder ships at least one skin")
        self.assertEqual(busctl_get("SkinFolder", SKINS, SKINS_IF),
                         os.path.join(self.compass.folder, "skins"))
        path = self.client.call("Paths", dbus.Int32(1), path=SKINS, iface=SKINS_IF)
        self.assertTrue(path.startswith(self.compass.folder + "/skins/"), path)
        self.assertTrue(self.client.call("Names", dbus.Int32(1), path=SKINS, iface=SKINS_IF))
        self.client.call("Select", dbus.Int32(1), path=SKINS, iface=SKINS_IF)
        self.assertEqual(busctl_get("SelectedSkin", SKINS, SKINS_IF), 1)
        self.assertIn("skinPath=" + path, self.compass.options())
        self.client.call("Select", dbus.Int32(0), path=SKINS, iface=SKINS_IF)
        self.assertEqual(busctl_get("SelectedSkin", SKINS, SKINS_IF), 0)

    def test_errors_name_the_fault_and_change_nothing(self):
        count = busctl_get("UnitsCount", UNITS, UNITS_IF)
        angle = busctl_get("Angle")
        # (gdbus arguments, error name, text)
        cases = [
            ([MAIN, "org.freedesktop.DBus.Properties.Set", APP, "Angle", "<nan>"], FAILED,
             "Angle must be a finite number within the range of a 32-bit float, not nan"),
            ([MAIN, "org.freedesktop.DBus.Properties.Set", APP, "Measurement", "<inf>"], FAILED,
             "Measurement must be a finite number within the range of a 32-bit float, not inf"),
            ([MAIN, "org.freedesktop.DBus.Properties.Set", APP, "DisplayMeasurement", "<-inf>"],
             FAILED, "DisplayMeasurement must be a finite number within the range of a 32-bit "
             "float, not -inf"),
            ([MAIN, "org.freedesktop.DBus.Properties.Set", APP, "ExternalZoom", "<1e300>"],
             FAILED, "ExternalZoom must be a finite number within the range of a 32-bit float, "
             "not 1e+300"),
            ([MAIN, "org.freedesktop.DBus.Properties.Set", APP, "Transparency", "<nan>"], FAILED,
             "Transparency must be a number, not nan"),
            ([SKINS, SKINS_IF + ".Names", "5"], FAILED, "List index out of bounds (5)"),
            ([SKINS, SKINS_IF + ".Paths", "--", "-1"], FAILED, "List index out of bounds (-1)"),
            ([SKINS, SKINS_IF + ".Select", "--", "-2"], FAILED, "List index out of bounds (-2)"),
            ([UNITS, UNITS_IF + ".SetNames", "2147483647", "huge"], FAILED,
             "Unit index 2147483647 is too large: the units list holds at most 1000 units"),
            ([UNITS, UNITS_IF + ".SetPixelNums", "1000", "1.0"], FAILED,
             "Unit index 1000 is too large: the units list holds at most 1000 units"),
            ([MAIN, "org.freedesktop.DBus.Properties.Get", APP, "Nope"],
             "org.freedesktop.DBus.Error.UnknownProperty", 'No such property "Nope"'),
            ([MAIN, "org.freedesktop.DBus.Properties.Set", APP, "X", "<5>"],
             "org.freedesktop.DBus.Error.PropertyReadOnly", 'Property "X" is read-only'),
            ([MAIN, "org.freedesktop.DBus.Properties.Set", APP, "Angle", "<'ten'>"],
             "org.freedesktop.DBus.Error.InvalidArgs", 'Property "Angle" is of type d, not s'),
        ]
        for args, name, text in cases:
            with self.subTest(member=args[1:4]):
                out = gdbus(*args)
                self.assertNotEqual(out.returncode, 0)
                self.assertIn("GDBus.Error:%s: %s" % (name, text), out.stderr)
        self.assertEqual(busctl_get("UnitsCount", UNITS, UNITS_IF), count)
        self.assertEqual(busctl_get("Angle"), angle)
        # busctl shows only the text.
        out = run("busctl", "--user", "call", NAME, SKINS, SKINS_IF, "Names", "i", "9")
        self.assertNotEqual(out.returncode, 0)
        self.assertIn("List index out of bounds (9)", out.stderr)

    def test_windows_and_links_open(self):
        # (method, what shows up)
        cases = [("ShowHelp", "^Help"), ("ShowCalibrationScreen", "Configure custom units")]
        for method, title in cases:
            with self.subTest(method=method):
                out = gdbus(MAIN, APP + "." + method)
                self.assertEqual(out.returncode, 0, out.stderr)
                self.settle(lambda: run("xdotool", "search", "--onlyvisible", "--name",
                                        title).stdout.strip() != "")
        opened = os.path.join(_root, "opened.txt")
        self.assertEqual(gdbus(MAIN, APP + ".VisitWebsite").returncode, 0)
        def link():
            if not os.path.exists(opened):
                return ""
            with open(opened) as f:
                return f.read()
        self.settle(lambda: link().endswith("\n"))  # the opener has written it all
        self.assertTrue(link().startswith("http"))


class Events(unittest.TestCase):
    """The connection point takes one sink; events go to it alone."""

    def test_one_sink_gets_the_events_alone(self):
        compass = Compass()
        first, second = Client(), Client()
        try:
            first.call("Advise", iface=POINT_IF)
            first.call("Advise", iface=POINT_IF)  # again: still the sink
            out = gdbus(MAIN, POINT_IF + ".Advise")
            self.assertIn("GDBus.Error:Compass.Error.CannotConnect: CONNECT_E_CANNOTCONNECT "
                          "(0x80040202)", out.stderr)
            with self.assertRaises(dbus.DBusException) as caught:
                second.call("Unadvise", iface=POINT_IF)
            self.assertEqual(caught.exception.get_dbus_name(), "Compass.Error.NoConnection")

            first.call("Repaint")
            self.assertTrue(first.listen("OnUpdate"))
            self.assertFalse(second.listen("OnUpdate", timeout=0.5))  # it listens too

            first.call("Unadvise", iface=POINT_IF)
            second.call("Advise", iface=POINT_IF)
            second.close()  # a sink that leaves the bus frees the place
            third = Client()
            self.assertTrue(wait_for(lambda: self._advises(third)))
            third.call("Repaint")
            self.assertTrue(third.listen("OnUpdate"))
            third.close()
        finally:
            first.close()
            compass.stop()

    @staticmethod
    def _advises(client):
        try:
            client.call("Advise", iface=POINT_IF)
            return True
        except dbus.DBusException:
            return False

    def test_hide_with_the_tray_icon_off_ends_and_fires_onquit(self):
        compass = Compass(options=OPTIONS + "SystemTrayIcon=0\n")
        sink = Client()
        try:
            sink.call("Advise", iface=POINT_IF)
            sink.call("Hide")
            self.assertTrue(sink.listen("OnQuit"))
            self.assertEqual(compass.proc.wait(10), 0)
            self.assertIn("Measurement=", compass.options())  # saved on the way out
        finally:
            sink.close()
            compass.stop()

    @unittest.skipUnless(os.path.exists(os.path.join(BIN_DIR, "orvanta_faketray")),
                         "needs the stand-in tray")
    def test_hide_with_a_tray_hides_and_unhide_shows_again(self):
        compass = Compass()
        sink = Client()
        try:
            sink.call("Advise", iface=POINT_IF)
            sink.call("Hide")
            self.assertFalse(sink.listen("OnQuit", timeout=1.0))
            sink.heard.clear()
            sink.call("Repaint")
            self.assertFalse(sink.listen("OnUpdate", timeout=1.0))  # a hidden compass
            sink.call("UnHide")
            self.assertTrue(sink.listen("OnUpdate"))
            self.assertIsNone(compass.proc.poll())
            sink.call("Quit")
            self.assertTrue(sink.listen("OnQuit"))
            self.assertEqual(compass.proc.wait(10), 0)
        finally:
            sink.close()
            compass.stop()


class Lifetime(unittest.TestCase):
    """Registration, activation, the end after the last client, the queue."""

    def service_file(self):
        return os.path.join(env["XDG_DATA_HOME"], "dbus-1", "services", NAME + ".service")

    def test_a_client_start_ends_after_the_last_client(self):
        # (switch, ends when its one client leaves)
        for switch, ends in (("-Automation", True), ("/EMBEDDING", True), ("/m", False)):
            with self.subTest(switch=switch):
                compass = Compass(switch)
                client = Client()
                try:
                    self.assertEqual(client.get("Version"), 4.0)
                    client.close()
                    if ends:
                        self.assertEqual(compass.proc.wait(10), 0)
                    else:
                        time.sleep(1.0)
                        self.assertIsNone(compass.proc.poll())
                finally:
                    compass.stop()

    def test_regserver_writes_the_activation_file_and_the_bus_starts_us(self):
        compass = Compass("-RegServer", wait=False)
        self.assertEqual(compass.proc.wait(10), 0)
        with open(self.service_file()) as f:
            text = f.read()
        self.assertEqual(text, "[D-BUS Service]\nName=%s\nExec='%s' -Automation\n"
                         % (NAME, compass.binary))
        # No compass runs: asking for the name starts one through the file.
        out = gdbus(MAIN, "org.freedesktop.DBus.Properties.Get", APP, "Version")
        self.assertEqual(out.returncode, 0, out.stderr)
        self.assertEqual(out.stdout.strip(), "(<4.0>,)")
        # gdbus has left: the activated compass, started with -Automation, ends.
        self.assertTrue(wait_for(lambda: compass.pid_of_owner() is None, 10),
                        "the activated compass kept running")

        out = subprocess.run([compass.binary, "/unregserver"], env=env, timeout=10)
        self.assertEqual(out.returncode, 0)
        self.assertFalse(os.path.exists(self.service_file()))
        compass.stop()

    def test_a_second_instance_queues_and_takes_over(self):
        first = Compass()
        second = Compass(wait=False)
        try:
            time.sleep(1.0)
            self.assertTrue(first.owns_name())
            gdbus(MAIN, APP + ".Quit")
            self.assertEqual(first.proc.wait(10), 0)
            self.assertTrue(wait_for(second.owns_name), "the second did not take over")
            self.assertEqual(busctl_get("Version"), 4.0)
        finally:
            first.stop()
            second.stop()



def pixel_windows(pid):
    """The visible X windows of process `pid`."""
    out = run("xdotool", "search", "--onlyvisible", "--pid", str(pid))
    return out.stdout.split()


def make_package(path, entries):
    import zipfile
    with zipfile.ZipFile(path, "w") as z:
        for name, data in entries.items():
            z.writestr(name, data)


class HandOver(unittest.TestCase):
    """Opening a skin package while the compass runs installs it there."""

    def setUp(self):
        self.compass = Compass()

    def tearDown(self):
        self.compass.stop()

    def start_with(self, package):
        """Runs a second start with `package`; returns it and whether it showed a window."""
        second = subprocess.Popen([self.compass.binary, package], env=env, text=True,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        showed = False
        while second.poll() is None:
            showed = showed or bool(pixel_windows(second.pid))
            time.sleep(0.05)
        out, err = second.communicate(timeout=30)
        return second.returncode, out, err, showed

    def test_a_second_start_hands_the_package_over(self):
        package = os.path.join(self.compass.folder, "Walnut.compassskin")
        code, out, err, showed = self.start_with(package)
        self.assertEqual(code, 0, err)
        self.assertFalse(showed, "the second start showed a window")
        self.assertIn("in the running compass", out)
        self.assertIn(os.path.join("skins", "Walnut"), out)
        self.assertTrue(self.compass.owns_name())
        selected = busctl_get("SelectedSkin", SKINS, SKINS_IF)
        self.assertGreater(selected, 0)
        name = gdbus(SKINS, SKINS_IF + ".Paths", str(selected)).stdout
        self.assertIn("Walnut", name)
        self.assertTrue(wait_for(lambda: "skins/Walnut/" in self.compass.options()))

    def test_a_broken_package_fails_the_start_and_the_compass_says_why(self):
        package = os.path.join(_root, "Broken.compassskin")
        make_package(package, {"../escape.ini": "[General]\n"})
        shown_before = set(pixel_windows(self.compass.proc.pid))
        code, out, err, showed = self.start_with(package)
        self.assertNotEqual(code, 0)
        self.assertIn("escape.ini", err)
        self.assertFalse(os.path.exists(os.path.join(self.compass.folder, "skins", "Broken")))
        # The running compass shows the message as the start would have.
        box = lambda: [w for w in pixel_windows(self.compass.proc.pid) if w not in shown_before]
        self.assertTrue(wait_for(box), "no message box")
        # Without a window manager the box takes keys once it has the focus.
        for _ in range(15):
            if not box():
                break
            run("xdotool", "windowfocus", "--sync", box()[0])
            run("xdotool", "key", "Return")
            wait_for(lambda: not box(), 1.0)
        self.assertFalse(box())


class PropertyChanges(unittest.TestCase):
    """PropertiesChanged reaches every listener, once per frame at most."""

    def setUp(self):
        self.compass = Compass()
        self.bus = dbus.bus.BusConnection(env["DBUS_SESSION_BUS_ADDRESS"])
        self.changes = []
        self.bus.add_signal_receiver(
            lambda iface, changed, invalidated, path=None: self.changes.append(
                (str(path), str(iface), {str(k): v for k, v in changed.items()})),
            signal_name="PropertiesChanged", dbus_interface=PROPERTIES_IF, path_keyword="path")

    def tearDown(self):
        self.bus.close()
        self.compass.stop()

    def pump_until(self, condition, timeout=8.0):
        """Runs the main loop until `condition` holds; returns whether it did."""
        loop = GLib.MainLoop()
        end = time.monotonic() + timeout

        def check():
            if condition() or time.monotonic() > end:
                loop.quit()
                return False
            return True

        GLib.timeout_add(50, check)
        loop.run()
        return condition()

    def test_a_drag_announces_the_new_angle_coalesced(self):
        # The slide of the compass OPTIONS places, dragged a quarter turn.
        slide, pivot, moves = (426, 278), (326, 278), 20
        self.assertTrue(wait_for(lambda: pixel_windows(self.compass.proc.pid)))
        run("xdotool", "mousemove", str(slide[0]), str(slide[1]), "mousedown", "1")
        for i in range(1, moves + 1):
            run("xdotool", "mousemove", str(slide[0] - 100 * i // moves), str(slide[1] + 100 * i // moves))
        run("xdotool", "mouseup", "1")
        angles = lambda: [c[2]["Angle"] for c in self.changes if c[1] == APP and "Angle" in c[2]]
        self.pump_until(lambda: angles() and abs(float(angles()[-1]) - 90.0) < 1.0)
        angles = angles()
        self.assertTrue(angles, self.changes)
        self.assertLessEqual(len(self.changes), moves + 2)  # one per frame, not per property
        self.assertAlmostEqual(float(angles[-1]), busctl_get("Angle"), places=3)
        self.assertAlmostEqual(float(angles[-1]), 90.0, delta=1.0)
        # A second listener of its own hears it too: no one-sink rule here.
        self.assertTrue(all(c[0] == MAIN for c in self.changes if c[1] == APP))

    def test_units_and_skins_announce_their_own(self):
        gdbus(UNITS, UNITS_IF + ".SetNames", "7", "'Spans'")
        gdbus(SKINS, SKINS_IF + ".Select", "1")
        self.pump_until(lambda: any(c[1] == SKINS_IF for c in self.changes))
        self.assertIn((UNITS, UNITS_IF, {"UnitsCount": 8}), self.changes)
        self.assertTrue(any(c[1] == SKINS_IF and "SelectedSkin" in c[2] for c in self.changes))


class Load(unittest.TestCase):
    """A client hammering the compass leaves it responsive and the last value kept."""

    def rss_kb(self, pid):
        with open("/proc/%d/status" % pid) as f:
            return int(next(l for l in f if l.startswith("VmRSS")).split()[1])

    def open_menu(self, compass):
        """Right-clicks the compass; returns how long the menu took to show."""
        run("xdotool", "mousemove", "326", "278")
        start = time.monotonic()
        run("xdotool", "click", "3")
        self.assertTrue(wait_for(lambda: len(pixel_windows(compass.proc.pid)) > 1, 2.0))
        took = time.monotonic() - start
        run("xdotool", "key", "Escape")
        self.assertTrue(wait_for(lambda: len(pixel_windows(compass.proc.pid)) == 1, 2.0))
        return took

    def test_ten_thousand_sets_while_another_client_reads(self):
        compass = Compass()
        reader = subprocess.Popen(
            ["sh", "-c", "while :; do busctl --user get-property %s %s %s DisplayText"
             " >/dev/null; done" % (NAME, MAIN, APP)], env=env, start_new_session=True)

        def stop_reader():
            # The whole loop: a busctl left running after the compass quits
            # would have the bus start another one.
            if reader.poll() is None:
                os.killpg(reader.pid, signal.SIGTERM)
                reader.wait(5)
        client = Client()
        try:
            client.call("Advise", iface=POINT_IF)
            gdbus_set("Angle", "<1.0>")
            client.listen("OnUpdate")
            # The menu's first showing costs memory of its own: before the
            # burst, not during it.
            self.open_menu(compass)
            before = self.rss_kb(compass.proc.pid)
            obj = client.obj()
            pending = [0]
            loop = GLib.MainLoop()
            calls = 10000

            def done(*_):
                pending[0] -= 1
                if pending[0] == 0:
                    loop.quit()

            for i in range(calls):
                pending[0] += 1
                obj.Set(APP, "Angle", dbus.Double(i % 270 + 0.5), dbus_interface=dbus.PROPERTIES_IFACE,
                        reply_handler=done, error_handler=done)
            loop.run()
            updates_before_menu = client.heard.count("OnUpdate")
            # Responsive: the context menu opens at once after the burst.
            self.assertLess(self.open_menu(compass), 0.5)
            self.assertLessEqual(updates_before_menu, calls)
            if not sanitized():
                # AddressSanitizer keeps freed memory in quarantine: RSS says
                # nothing about leaks there (LeakSanitizer and memcheck do).
                self.assertLess(self.rss_kb(compass.proc.pid) - before, 5 * 1024)
            last = (calls - 1) % 270 + 0.5
            self.assertAlmostEqual(busctl_get("Angle"), last, places=3)
            stop_reader()
            gdbus(MAIN, APP + ".Quit")
            self.assertEqual(compass.proc.wait(10), 0)
            self.assertIn("Angle=%g" % last, compass.options())
        finally:
            stop_reader()
            client.close()
            compass.stop()

class Introspection(unittest.TestCase):
    """What the program serves is the committed interface files, annotations too."""

    @staticmethod
    def interfaces(xml):
        def annotations(element):
            return tuple((a.get("name"), a.get("value")) for a in element.findall("annotation"))

        found = {}
        for iface in ET.fromstring(xml).iter("interface"):
            found[iface.get("name")] = [annotations(iface)] + [
                (m.tag, m.get("name"), m.get("type"), m.get("access"), annotations(m),
                 tuple((a.get("name"), a.get("type"), a.get("direction")) for a in m.iter("arg")))
                for m in iface if m.tag != "annotation"]
        return found

    def test_served_introspection_is_the_committed_files(self):
        compass = Compass()
        try:
            served = {}
            for path in (MAIN, UNITS, SKINS, LAUNCHER):
                out = run("gdbus", "introspect", "--session", "--dest", NAME,
                          "--object-path", path, "--xml")
                self.assertEqual(out.returncode, 0, out.stderr)
                names = [i.get("name") for i in ET.fromstring(out.stdout).iter("interface")]
                self.assertEqual(len(names), len(set(names)), names)  # each described once
                served.update(self.interfaces(out.stdout))
            folder = os.path.join(SOURCE_DIR, "dbus")
            for name in sorted(os.listdir(folder)):
                with open(os.path.join(folder, name), encoding="utf-8") as f:
                    for iface, members in self.interfaces(f.read()).items():
                        with self.subTest(interface=iface):
                            self.assertEqual(served.get(iface), members)
                            numbered = [m for m in members[1:]
                                        if any(a[0] == "Compass.DispId" for a in m[4])]
                            if iface not in (POINT_IF, LAUNCHER_IF):
                                self.assertEqual(numbered, members[1:])
            self.assertEqual(len(served), 6 + 3)  # and the three standard interfaces
        finally:
            compass.stop()


if __name__ == "__main__":
    unittest.main(verbosity=2)
