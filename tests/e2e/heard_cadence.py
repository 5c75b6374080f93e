#!/usr/bin/env python3
"""The cadence heard in the card 一二三 / 四五 at Wait 300, from the onsets of its sound (ms,
one a line, as onsets.py prints them); the first onset at or after FROM_MS is the first
typing cue. Each pause counts from the moment its character is on the screen, so a gap
between two typing cues is the pause plus the next character's way to the screen: its
two pages, each at a refresh of its own (at 60 Hz, 17 to 33 ms), less or more the sound
device's mixing period at each end. The gap before the card's sting is its pause plus one
page, drawn whole.
usage: heard_cadence.py ONSETS_FILE [FROM_MS]
"""
import sys

onsets = [float(line) for line in open(sys.argv[1]) if line.strip()]
start = float(sys.argv[2]) if len(sys.argv) > 2 else 0.0
cues = [o for o in onsets if o >= start][:6]
print("onsets (ms):", [round(o) for o in onsets[:12]])
if len(cues) < 6:
    sys.exit("%d cues heard, not five characters and the card" % len(cues))

# After 一 (100 + Wait), 二 (100 or 0, drawn), 三 (end of line 1), 四 (after a line end),
# 五 (end of the text, then the card).
pauses = [(400,), (400, 300), (590,), (300,), (590,)]
gaps = [b - a for a, b in zip(cues, cues[1:])]
bad = []
for i, (gap, choices) in enumerate(zip(gaps, pauses)):
    pause = min(choices, key=lambda p: abs(gap - p - 25))
    late = gap - pause
    # Two refreshes at least for a character; the card may come at the next refresh.
    lowest = 8 if i < 4 else -5
    verdict = "ok" if lowest <= late <= 50 else "OUT OF RANGE"
    print("pause %d heard %.1f: late by %.1f ms %s" % (pause, gap, late, verdict))
    if verdict != "ok":
        bad.append(i + 1)
sys.exit("gaps %s out of range" % bad if bad else 0)
