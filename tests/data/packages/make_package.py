#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Orvanta developers
# SPDX-License-Identifier: MIT

"""Packs a folder with Python's zipfile, for the package tests.

    make_package.py OUTPUT FOLDER

FOLDER is stored under its own name ("Wood/", "Wood/wood.ini", ...). OUTPUT "-"
writes to standard output; when that is a pipe, zipfile cannot seek back, so
it puts sizes and CRCs in data descriptors as streaming writers do.
"""

import os
import sys
import zipfile


def main():
    output, folder = sys.argv[1:3]
    target = sys.stdout.buffer if output == "-" else open(output, "wb")
    base = os.path.dirname(os.path.abspath(folder))
    with zipfile.ZipFile(target, "w", compression=zipfile.ZIP_DEFLATED) as archive:
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            archive.writestr(os.path.relpath(root, base) + "/", b"")
            for name in sorted(files):
                path = os.path.join(root, name)
                with open(path, "rb") as source:
                    archive.writestr(os.path.relpath(path, base), source.read())
    target.flush()


if __name__ == "__main__":
    main()
