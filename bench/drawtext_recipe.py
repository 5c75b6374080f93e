#!/usr/bin/env python3
"""The card made by hand with the ffmpeg program alone, for comparison with the export:
a black picture, each character drawn alone by a drawtext filter from its moment to the
next, the finished card in two lines, the typing sound and the closing sound mixed in at
their moments, encoded as the export encodes an MP4.

usage: drawtext_recipe.py MOMENTS SOUNDS OUT.mp4
MOMENTS: first line "WIDTH HEIGHT FPS LENGTH_MS", then one line per cue "MS NAME TEXT"
(TEXT: the character it types, or the two lines of the card after its closing cue).
SOUNDS: the folder of the program's sounds (NAME.wav).
"""
import os
import subprocess
import sys

FONT = "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"


def escaped(text):
    return text.replace("\\", "\\\\").replace("'", "\\'").replace(":", "\\:").replace("%", "\\%")


def main():
    moments, sounds, out = sys.argv[1:4]
    with open(moments, encoding="utf-8") as f:
        w, h, fps, length_ms = (int(v) for v in f.readline().split())
        cues = [line.rstrip("\n").split(" ", 2) for line in f if line.strip()]
    length = length_ms / 1000.0
    draws = []
    typed = [c for c in cues if c[0] and len(c) > 2 and c[1] == "Type"]
    for i, (ms, _, ch) in enumerate(typed):
        start = int(ms) / 1000.0
        end = int(typed[i + 1][0]) / 1000.0 if i + 1 < len(typed) else None
        card = [c for c in cues if c[1] != "Type"]
        if end is None:
            end = int(card[0][0]) / 1000.0 if card else length
        draws.append("drawtext=fontfile=%s:text='%s':fontcolor=white:fontsize=%d:"
                     "x=(w-tw)/2:y=(h-th)/2:enable='between(t,%.3f,%.3f)'"
                     % (FONT, escaped(ch), h * 70 // 100, start, end - 0.001))
    closing = [c for c in cues if c[1] != "Type"]
    if closing:
        start = int(closing[0][0]) / 1000.0
        line1, _, line2 = (closing[0][2] if len(closing[0]) > 2 else "").partition("/")
        size = min(h // 3, w // (max(len(line1), len(line2)) + 3))
        q = (h - 2 * size) // 7
        draws.append("drawtext=fontfile=%s:text='%s':fontcolor=white:fontsize=%d:x=%d:y=%d:"
                     "enable='gte(t,%.3f)'" % (FONT, escaped(line1), size, size // 2, 3 * q, start))
        draws.append("drawtext=fontfile=%s:text='%s':fontcolor=white:fontsize=%d:"
                     "x=w-tw-%d:y=%d:enable='gte(t,%.3f)'"
                     % (FONT, escaped(line2), size, size // 2, 4 * q + size, start))

    args = ["ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-y",
            "-f", "lavfi", "-i", "color=black:s=%dx%d:r=%d:d=%.3f" % (w, h, fps, length)]
    names = [c[1] for c in cues]
    for name in names:
        args += ["-i", os.path.join(sounds, name + ".wav")]
    graph = ["[0:v]" + ",".join(draws or ["null"]) + "[v]"]
    mixed = ""
    for i, (ms, _name, *_rest) in enumerate(cues):
        graph.append("[%d:a]aformat=sample_rates=48000:channel_layouts=stereo,adelay=%s:all=1[a%d]"
                     % (i + 1, ms, i))
        mixed += "[a%d]" % i
    graph.append("%samix=inputs=%d:normalize=0:duration=longest,apad,atrim=0:%.3f[a]"
                 % (mixed, len(cues), length))
    args += ["-filter_complex", ";".join(graph), "-map", "[v]", "-map", "[a]",
             "-pix_fmt", "yuv420p", "-c:v", "libx264", "-preset", "ultrafast", "-crf", "18",
             "-c:a", "aac", "-b:a", "192k", "-movflags", "+faststart", out]
    return subprocess.call(args)


if __name__ == "__main__":
    sys.exit(main())
