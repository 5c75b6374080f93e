#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own, or a system's.

The layers, lowest first: platform, presentation, subtitles, settings and about (side by
side), app. Inside platform/ the folders are layers too (PLATFORM_LAYERS): a folder may
include its own headers and those of the rows below it, never a row above or a folder
beside it in its own row. The build runs this over each layer's sources before compiling
them.

The operating system is met only in platform/, in the per-system siblings of a seam
(NAME_posix.cpp, NAME_win.cpp); everywhere else an include in angle brackets must be
the C++ library's, Qt's (but for its session bus), or (in platform/) OpenAL's, which are
the same on every system.
usage: check-layers.py LAYER ALLOWED_FOLDER... -- FILE...
"""
import os
import re
import sys

LAYERS = {"platform", "presentation", "subtitles", "settings", "about", "app"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/')
PLATFORM_INCLUDE = re.compile(r'^\s*#\s*include\s*"platform/([^"/]+)/')
ANGLE_INCLUDE = re.compile(r'^\s*#\s*include\s*<([^>]+)>')

# The C++ library's headers, C's among them in their <cname> form. Not <csignal>:
# signals are the system's, behind platform/core/interrupt_flag.h.
STANDARD_HEADERS = set("""
    algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat
    charconv chrono cinttypes climits clocale cmath codecvt compare complex concepts
    condition_variable coroutine cstdarg cstddef cstdint cstdio cstdlib cstring ctime
    cuchar cwchar cwctype deque exception execution filesystem format forward_list
    fstream functional future initializer_list iomanip ios iosfwd iostream istream
    iterator latch limits list locale map memory memory_resource mutex new numbers
    numeric optional ostream queue random ranges ratio regex scoped_allocator semaphore
    set shared_mutex source_location span sstream stack stdexcept stop_token streambuf
    string string_view syncstream system_error thread tuple type_traits typeindex
    typeinfo unordered_map unordered_set utility valarray variant vector version
""".split())
SYSTEM_SIBLING = re.compile(r'_(posix|win)\.cpp$')

# platform/'s folders, lowest first; the folders of one row stand side by side.
PLATFORM_LAYERS = [
    ["core"],
    ["text"],
    ["ui", "sound", "display"],
    ["timer", "media", "desktop"],
    ["services"],
]
PLATFORM_ROW = {folder: row for row, folders in enumerate(PLATFORM_LAYERS) for folder in folders}
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def platform_folder(path):
    """The folder of platform/ that holds path, or None outside platform/."""
    parts = os.path.relpath(os.path.abspath(path), ROOT).split(os.sep)
    return parts[1] if len(parts) > 2 and parts[0] == "platform" else None


def below(folder):
    return sorted(f for f, row in PLATFORM_ROW.items() if row < PLATFORM_ROW[folder])


def platform_faults(path, number, line, folder):
    m = PLATFORM_INCLUDE.match(line)
    if not m or m.group(1) == folder:
        return []
    target = m.group(1)
    if target in PLATFORM_ROW and PLATFORM_ROW[target] < PLATFORM_ROW[folder]:
        return []
    allowed = ", ".join(f"platform/{f}/" for f in [folder] + below(folder))
    return [f"{path}:{number}: error: platform/{folder}/ may not include platform/{target}/ "
            f"(it may include {allowed})"]


def portable(header, folder):
    # Qt's session bus is not built for every system: it is the system's, like X11's.
    if re.match(r"Q(t)?DBus", header):
        return False
    return (header in STANDARD_HEADERS or re.match(r"Q[A-Za-z]", header) is not None
            or (folder is not None and header.startswith("AL/")))


def system_faults(path, number, line, folder):
    m = ANGLE_INCLUDE.match(line)
    if not m or portable(m.group(1), folder):
        return []
    if folder is not None and SYSTEM_SIBLING.search(path):
        return []
    where = ("a seam's per-system sibling (NAME_posix.cpp, NAME_win.cpp)" if folder is not None
             else "platform/ (behind a seam)")
    return [f"{path}:{number}: error: <{m.group(1)}> is the operating system's; "
            f"only {where} may include it"]


def main(argv):
    split = argv.index("--")
    layer, allowed, files = argv[0], set(argv[1:split]), argv[split + 1:]
    faults = []
    for path in files:
        if not path.endswith((".h", ".cpp")):
            continue
        folder = platform_folder(path)
        if folder is not None and folder not in PLATFORM_ROW:
            faults.append(f"{path}:1: error: platform/{folder}/ is in no row of "
                          f"PLATFORM_LAYERS (tools/check-layers.py)")
            continue
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if m and m.group(1) in LAYERS and m.group(1) not in allowed:
                    faults.append(f"{path}:{number}: error: {layer} may not include "
                                  f"{m.group(1)}/ (it may include {', '.join(sorted(allowed))})")
                if folder is not None:
                    faults += platform_faults(path, number, line, folder)
                faults += system_faults(path, number, line, folder)
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
