#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own.

The layers, lowest first: platform, presentation, subtitles, settings and about (side by
side), app. The build runs this over each layer's sources before compiling them.
usage: check-layers.py LAYER ALLOWED_FOLDER... -- FILE...
"""
import re
import sys

LAYERS = {"platform", "presentation", "subtitles", "settings", "about", "app"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/')


def main(argv):
    split = argv.index("--")
    layer, allowed, files = argv[0], set(argv[1:split]), argv[split + 1:]
    faults = []
    for path in files:
        if not path.endswith((".h", ".cpp")):
            continue
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if m and m.group(1) in LAYERS and m.group(1) not in allowed:
                    faults.append(f"{path}:{number}: error: {layer} may not include "
                                  f"{m.group(1)}/ (it may include {', '.join(sorted(allowed))})")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
