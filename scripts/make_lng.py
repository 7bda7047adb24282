#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the shipped language files data/*.lng from their UTF-8 sources in scripts/lng/.

A source line is an index, one blank and the text; blank lines and lines starting with '#' are skipped. Each
.lng file gets 1001 lines, line k holding text k in double quotes, encoded in the code page its
text 1 names, with CR LF line ends and a remark for the translator after the closing quote.
std.lng is the English file under the standard file's name.
"""

import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
SOURCES = HERE / "lng"
DATA = HERE.parent / "data"

LINES = 1001
CODE_PAGES = {"162": "cp1254", "161": "cp1253", "178": "cp1256", "204": "cp1251"}
FILES = {"en": ["en.lng", "std.lng"], "tr": ["tr.lng"], "ru": ["ru.lng"], "bg": ["bg.lng"],
         "fr": ["fr.lng"], "gr": ["gr.lng"], "sp": ["sp.lng"]}

REMARKS = {
    0: "Tarnwell language file: line k is text k; keep every line in its place",
    1: "character set: 162 Turkish, 161 Greek, 178 Arabic, 204 Cyrillic, 0 Western",
    4: "message: port number outside 0 to 99",
    5: "message: serial port failure (error number and description follow)",
    6: "message: minimum not a number",
    7: "message: maximum not a number",
    14: "message: sample count not a number above 0 and below 10000",
    15: "message: minimum not below maximum",
    19: "message: change to report not a number",
    20: "port line when no port is set",
    23: "message: language takes effect at the next start",
    24: "message: threshold not a number",
    25: "message: stability time not a number",
    90: "message: record file write failed (file name follows)",
    91: "message: record lines lost (count follows)",
    92: "message: record folder not created (folder may follow)",
    93: "message: record file not opened (file name follows)",
    94: "message: file browser not started",
    95: "message: record file writable again (file name follows)",
    96: "message: frames left out where characters may have been lost (count follows)",
}
# Tool tips (100 + t) and captions (200 + t) by the controls' text index t.
CONTROLS = {
    4: "settings: port frame", 5: "settings: port label", 6: "settings: speed label",
    7: "settings: window title", 8: "settings: view frame", 9: "settings: sample count label",
    10: "settings: minimum label", 11: "settings: maximum label",
    12: "settings: automatic range check box", 13: "settings: defaults button",
    14: "settings: Apply button", 16: "settings: Exit button", 17: "settings: record frame",
    18: "settings: continuous recording option", 19: "settings: seconds option",
    20: "settings: minutes option", 21: "settings: text file option",
    22: "settings: Excel file option", 23: "settings: file type frame",
    28: "settings: recording enabled check box", 29: "settings: new file per start check box",
    30: "settings: port line and continuous-send hint", 31: "settings: performance frame",
    32: "settings: low refresh option", 33: "settings: medium refresh option",
    34: "settings: high refresh option", 37: "settings: scrolling graph check box",
    38: "main window: suspend check box", 40: "settings: display range frame",
    41: "settings: change to report label and box", 42: "settings: mouse pointer check box",
    52: "main window: current value", 54: "settings: record at start check box",
    55: "main window: sample axis (no caption)", 56: "settings: language list",
    67: "settings: stability time option", 68: "settings: stability time unit",
    71: "settings: threshold label and box", 73: "settings: reporting criteria frame",
    74: "settings: language frame", 76: "main window: zoom button (picture, no caption)",
    81: "main window: settings button (picture, no caption)",
}
for t, what in CONTROLS.items():
    REMARKS.setdefault(100 + t, what + ", tool tip")
    REMARKS.setdefault(200 + t, what + (", title" if t == 7 else ", caption"))
REMARKS[256] = "settings: language list, entry 0 (English)"
REMARKS[257] = "settings: language list, entry 1 (Turkish)"
REMARKS[258] = "settings: language list, entry 2 (reserved)"


def read_source(path):
    texts = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        index, sep, text = line.partition(" ")
        if not sep or not index.isdigit() or not 0 <= int(index) < LINES:
            sys.exit(f"{path}:{number}: expected an index, a blank and the text")
        if '"' in text:
            sys.exit(f"{path}:{number}: a text cannot hold a double quote")
        if int(index) in texts:
            sys.exit(f"{path}:{number}: index {index} given twice")
        texts[int(index)] = text
    return texts


def encode(texts, source):
    code_page = CODE_PAGES.get(texts.get(1, ""), "cp1252")
    out = bytearray()
    for k in range(LINES):
        line = '"' + texts.get(k, "") + '"'
        if k in REMARKS:
            line += "  " + REMARKS[k]
        try:
            out += line.encode(code_page) + b"\r\n"
        except UnicodeEncodeError as e:
            sys.exit(f"{source}: text {k} does not fit {code_page}: {e}")
    return bytes(out)


def main():
    for name, targets in FILES.items():
        source = SOURCES / f"{name}.txt"
        data = encode(read_source(source), source)
        for target in targets:
            (DATA / target).write_bytes(data)


if __name__ == "__main__":
    main()
