#!/usr/bin/env python3
"""Onsets of sound in raw 16-bit mono samples: where the level rises past a threshold
after 50 ms of quiet. Prints them in milliseconds, one a line.
usage: onsets.py FILE RATE [THRESHOLD]
"""
import array
import sys

samples = array.array("h", open(sys.argv[1], "rb").read())
rate = int(sys.argv[2])
threshold = int(sys.argv[3]) if len(sys.argv) > 3 else 3000
quiet, calm = rate, rate // 20
for i, v in enumerate(samples):
    loud = abs(v) > threshold
    if loud and quiet >= calm:
        print("%.2f" % (i * 1000.0 / rate))
    quiet = 0 if loud else quiet + 1
