#!/usr/bin/env python3
"""Checks the catalogue texts in resources/catalogue against the title rules.

Run by hand after editing a list; prints every fault and the counts, exits 1 on a fault.
"""
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent / "resources" / "catalogue"
# (file, titles, two-line titles)
LISTS = [("part1.txt", 23, 15), ("part2.txt", 155, 129), ("part3.txt", 50, 27)]
KEYWORD = "獣王".encode("cp932")


def check_title(where, text):
    faults = []
    try:
        b = text.encode("cp932")
    except UnicodeEncodeError as e:
        return [f"{where}: not Shift-JIS: {e}"]
    # Half-width katakana would be 1 byte each; keep to full-width text.
    if any(0xFF61 <= ord(c) <= 0xFF9F for c in text):
        faults.append(f"{where}: half-width katakana")
    if "\u3000" in text:
        faults.append(f"{where}: ideographic space")
    if "\t" in text or "\r" in text:
        faults.append(f"{where}: control character")
    if not 10 <= len(b) <= 35:
        faults.append(f"{where}: {len(b)} bytes")
    if text != text.strip(" "):
        faults.append(f"{where}: begins or ends with a space")
    spaces = text.count(" ")
    if spaces > 1:
        faults.append(f"{where}: {spaces} spaces")
    for line in text.split(" "):
        n = len(line.encode("cp932"))
        if n > 22:
            faults.append(f"{where}: line of {n} bytes: {line}")
    return faults


def main():
    faults = []
    seen = {}
    keyword_titles = []
    digits_or_parens = 0
    total = two_total = 0
    for name, want, want_two in LISTS:
        lines = (ROOT / name).read_bytes().decode("utf-8").split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        two = 0
        for i, t in enumerate(lines, 1):
            where = f"{name}:{i} {t}"
            faults += check_title(where, t)
            if t in seen:
                faults.append(f"{where}: duplicate of {seen[t]}")
            seen[t] = where
            if " " in t:
                two += 1
            if KEYWORD in t.encode("cp932", "replace"):
                keyword_titles.append(t)
            if any(c in "0123456789()" for c in t):
                digits_or_parens += 1
        total += len(lines)
        two_total += two
        print(f"{name}: {len(lines)} titles ({want}), {two} two-line ({want_two})")
        if len(lines) != want or two != want_two:
            faults.append(f"{name}: counts off")
    print(f"all: {total} titles, {two_total} two-line; keyword in {len(keyword_titles)}; "
          f"digits/parentheses in {digits_or_parens}")
    if not 2 <= len(keyword_titles) <= 3:
        faults.append(f"keyword in {len(keyword_titles)} titles")
    if digits_or_parens == 0:
        faults.append("no title with digits or parentheses")
    for f in faults:
        print(f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
