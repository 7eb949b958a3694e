#!/usr/bin/env python3
"""Checks a release zip's contents, its users' readme and its checksum file.
  check-release.py ZIP VERSION

The zip holds velmora.exe, readme.txt and LICENSE.txt, and no README.md.
readme.txt is UTF-8 with a byte-order mark and CR LF line ends, in lines
that fit a Notepad window (a full-width character takes two columns), and
names the version, every switch, both runtime errors, the editor's menu and
the refusal exactly as the tool shows it. LICENSE.txt has CR LF line ends.
Beside the zip, velmora-VERSION.sha256 holds one line, the SHA-256 of the
zip's velmora.exe and its name, as sha256sum writes it.
"""
import hashlib
import os
import sys
import unicodedata
import zipfile

MAX_COLUMNS = 72
REFUSAL = "Inkslabの[ツール]から実行して下さい。"


def columns(line):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in line)


def checksum_problems(path, version, exe):
    checksum = os.path.join(os.path.dirname(path), f"velmora-{version}.sha256")
    try:
        with open(checksum, "rb") as file:
            content = file.read()
    except OSError as error:
        return [f"no checksum file: {error}"]
    expected = f"{hashlib.sha256(exe).hexdigest()}  velmora.exe\n".encode()
    if content != expected:
        return [f"{checksum} holds {content!r}, not the one line {expected!r}"]
    return []


def main(path, version):
    problems = []
    with zipfile.ZipFile(path) as release:
        entries = {info.filename.split("/", 1)[-1]: info for info in release.infolist()}
        for name, info in sorted(entries.items()):
            print(f"  {name:<12} {info.file_size:>8} bytes")
        if set(entries) != {"velmora.exe", "readme.txt", "LICENSE.txt"}:
            problems.append(f"unexpected contents: {sorted(entries)}")
        raw = release.read(entries["readme.txt"]) if "readme.txt" in entries else b""
        licence = release.read(entries["LICENSE.txt"]) if "LICENSE.txt" in entries else b""
        exe = release.read(entries["velmora.exe"]) if "velmora.exe" in entries else b""
    if not raw.startswith(b"\xef\xbb\xbf"):
        problems.append("readme.txt does not start with the UTF-8 byte-order mark")
    for name, data in [("readme.txt", raw), ("LICENSE.txt", licence)]:
        if not data.endswith(b"\r\n") or b"\n" in data.replace(b"\r\n", b"") or \
                b"\r" in data.replace(b"\r\n", b""):
            problems.append(f"{name} has a line end that is not CR LF")
    problems += checksum_problems(path, version, exe)
    try:
        text = raw[3:].decode("utf-8", errors="strict")
    except UnicodeDecodeError as error:
        problems.append(f"readme.txt is not valid UTF-8: {error}")
        text = ""
    for number, line in enumerate(text.split("\r\n"), 1):
        if columns(line) > MAX_COLUMNS:
            problems.append(f"readme.txt line {number} is {columns(line)} columns wide")
    for needed in [version, "/c", "/x", "/r", "216", "203", "[ツール]", REFUSAL]:
        if needed not in text:
            problems.append(f"readme.txt lacks {needed!r}")
    for problem in problems:
        print(f"{path}: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
