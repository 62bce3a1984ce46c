#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""The include check of cmake/Layers.cmake, run over scratch source trees: an
include against the layers' graph fails the check with a message naming the
file, the header and both layers; whatever the graph allows passes."""

import os
import subprocess
import tempfile
import unittest
from pathlib import Path

CMAKE = os.environ.get("CMAKE_COMMAND", "cmake")
SCRIPT = os.environ.get(
    "ORVANTA_LAYERS_SCRIPT", str(Path(__file__).resolve().parents[2] / "cmake" / "Layers.cmake"))


def run_check(files, allowlist=()):
    """Writes `files` ({path: text}) under a scratch root and runs the check on it.
    Returns the exit code, the lines the check printed before failing, and the
    summary of a failure ("" when it passed)."""
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            target = Path(root, path)
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_text(text)
        result = subprocess.run(
            [CMAKE, f"-DORVANTA_SOURCE_ROOT={root}",
             "-DORVANTA_LAYER_ALLOWLIST=" + ";".join(allowlist), "-P", SCRIPT],
            capture_output=True, text=True, check=False)
    lines = result.stderr.splitlines()
    end = next((i for i, line in enumerate(lines) if line.startswith("CMake Error")), len(lines))
    summary = lines[end + 1].strip() if end + 1 < len(lines) else ""
    return result.returncode, lines[:end], summary


class LayerCheck(unittest.TestCase):
    def test_includes_the_graph_allows_pass(self):
        cases = {
            "own layer": {"src/model/a.cpp": '#include "model/numbers.h"\n'},
            "every layer interaction may use": {
                "src/interaction/a.cpp": "".join(
                    f'#include "{layer}/x.h"\n'
                    for layer in ("interaction", "render", "package", "platform", "skins", "model"))},
            "dialogs and automation use the controller": {
                "src/dialogs/a.cpp": '#include "control/compasscontroller.h"\n',
                "src/automation/a.cpp": '#include "control/compassview.h"\n'},
            "app uses the top layers": {
                "src/app/a.cpp": '#include "automation/x.h"\n#include "dialogs/y.h"\n'},
            "same folder and generated headers": {
                "src/automation/a.cpp": '#include "compassadaptor.h"\n#include "a.moc"\n'},
            "system and Qt headers with a folder": {
                "src/platform/a.cpp": "#include <xcb/shape.h>\n#include <QtWidgets/QWidget>\n"},
            "a folder whose name starts like a layer": {
                "src/model/a.h": '#include "application/x.h"\n#include <models/y.h>\n'},
            "a commented-out include": {"src/model/a.cpp": '// #include "app/compasswindow.h"\n'},
            "a relative include into an allowed layer": {
                "src/render/sub/a.cpp": '#include "../../skins/skin.h"\n'},
        }
        for name, files in cases.items():
            with self.subTest(name):
                self.assertEqual(run_check(files), (0, [], ""))

    def test_includes_against_the_graph_fail_naming_file_header_and_layers(self):
        cases = {
            "downward layer reaching the top": (
                {"src/model/foo.cpp": '#include "app/compasswindow.h"\n'},
                "src/model/foo.cpp includes app/compasswindow.h: model may not use app"),
            "a layer the used layer uses is not given": (
                {"src/dialogs/a.cpp": '#include "render/compose.h"\n'},
                "src/dialogs/a.cpp includes render/compose.h: dialogs may not use render"),
            "the interaction reaching up to the controller": (
                {"src/interaction/a.cpp": '#include "control/compassview.h"\n'},
                "src/interaction/a.cpp includes control/compassview.h: "
                "interaction may not use control"),
            "siblings": (
                {"src/render/a.h": '#include "package/zipfile.h"\n'},
                "src/render/a.h includes package/zipfile.h: render may not use package"),
            "one step up": (
                {"src/skins/a.cpp": '#include "render/layer.h"\n'},
                "src/skins/a.cpp includes render/layer.h: skins may not use render"),
            "angle brackets": (
                {"src/platform/a.cpp": "#include <interaction/ports.h>\n"},
                "src/platform/a.cpp includes interaction/ports.h: platform may not use interaction"),
            "spaces around the hash": (
                {"src/automation/a.cpp": '  #  include  "dialogs/dialogkit.h"\n'},
                "src/automation/a.cpp includes dialogs/dialogkit.h: automation may not use dialogs"),
            "relative from a subfolder": (
                {"src/render/sub/a.cpp": '#include "../../app/startup.h"\n'},
                "src/render/sub/a.cpp includes ../../app/startup.h: render may not use app"),
            "through a layer's folder and back out": (
                {"src/package/a.cpp": '#include "model/../platform/shell.h"\n'},
                "src/package/a.cpp includes model/../platform/shell.h: package may not use platform"),
        }
        for name, (files, message) in cases.items():
            with self.subTest(name):
                self.assertEqual(run_check(files),
                                 (1, [message], "src/ breaks the layers' graph in 1 place(s)"))

    def test_every_wrong_include_is_reported_in_file_order(self):
        code, printed, summary = run_check({
            "src/skins/b.cpp": '#include "app/x.h"\n#include "model/ok.h"\n#include "dialogs/y.h"\n',
            "src/model/a.cpp": '#include "skins/skin.h"\n',
        })
        self.assertEqual((code, summary), (1, "src/ breaks the layers' graph in 3 place(s)"))
        self.assertEqual(printed, [
            "src/model/a.cpp includes skins/skin.h: model may not use skins",
            "src/skins/b.cpp includes app/x.h: skins may not use app",
            "src/skins/b.cpp includes dialogs/y.h: skins may not use dialogs",
        ])

    def test_a_folder_outside_the_graph_fails_once(self):
        code, printed, _ = run_check({
            "src/extras/a.cpp": '#include "app/x.h"\n',
            "src/model/a.cpp": '#include "extras/a.h"\n',
        })
        self.assertEqual((code, printed), (
            1, ["src/extras is no layer: add it to the graph in cmake/Layers.cmake"]))

    def test_the_allowlist_admits_exactly_its_file_and_header(self):
        allowed = "src/automation/compassobject.cpp|app/compasswindow.h"
        wrong = '#include "app/compasswindow.h"\n'
        self.assertEqual(run_check({"src/automation/compassobject.cpp": wrong}, [allowed]),
                         (0, [], ""))
        self.assertEqual(
            run_check({"src/automation/compassobject.cpp": wrong,
                       "src/automation/unitsobject.cpp": wrong}, [allowed])[:2],
            (1, ["src/automation/unitsobject.cpp includes app/compasswindow.h: "
                 "automation may not use app"]))
        self.assertEqual(
            run_check({"src/automation/compassobject.cpp": '#include "app/startup.h"\n'},
                      [allowed])[1],
            [f"allowed include {allowed} no longer happens: remove it from "
             "ORVANTA_LAYER_ALLOWLIST in cmake/Layers.cmake",
             "src/automation/compassobject.cpp includes app/startup.h: automation may not use app"])

    def test_an_allowlist_entry_that_no_longer_happens_is_named_but_passes(self):
        stale = "src/automation/skinsobject.cpp|app/compasswindow.h"
        self.assertEqual(
            run_check({"src/automation/skinsobject.cpp": '#include "control/compassview.h"\n'},
                      [stale]),
            (0, [f"allowed include {stale} no longer happens: remove it from "
                 "ORVANTA_LAYER_ALLOWLIST in cmake/Layers.cmake"], ""))


if __name__ == "__main__":
    unittest.main()
