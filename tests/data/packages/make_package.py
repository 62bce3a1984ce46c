#!/usr/bin/env python3
"""Packs a folder the way other programs write ZIP archives, for the package tests.

    make_package.py MODE OUTPUT FOLDER

FOLDER is stored under its own name ("Wood/", "Wood/wood.ini", ...), folders
first. OUTPUT "-" writes to standard output, which for the caller is a pipe.

MODE:
  seekable  deflated entries written to a file, sizes in the local headers
  stream    the same, but the output cannot seek: sizes go to data descriptors
  zip64     deflated entries with ZIP64 size fields
  bzip2     bzip2-compressed entries (method 12)
"""

import os
import sys
import zipfile


def members(folder):
    base = os.path.dirname(os.path.abspath(folder))
    for root, dirs, files in os.walk(folder):
        dirs.sort()
        yield os.path.relpath(root, base) + "/", None
        for name in sorted(files):
            path = os.path.join(root, name)
            yield os.path.relpath(path, base), path


def main():
    mode, output, folder = sys.argv[1:4]
    method = zipfile.ZIP_BZIP2 if mode == "bzip2" else zipfile.ZIP_DEFLATED
    target = sys.stdout.buffer if output == "-" else open(output, "wb")
    with zipfile.ZipFile(target, "w", compression=method) as archive:
        for arcname, path in members(folder):
            if path is None:
                archive.writestr(arcname, b"")
                continue
            with open(path, "rb") as source:
                data = source.read()
            if mode == "zip64":
                with archive.open(arcname, "w", force_zip64=True) as entry:
                    entry.write(data)
            else:
                archive.writestr(arcname, data)
    target.flush()


if __name__ == "__main__":
    main()
