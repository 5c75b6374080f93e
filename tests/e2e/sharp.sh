#!/usr/bin/env bash
# Pages are drawn at the screen's own resolution: on a 3840 × 2160 and on a 1366 × 768
# screen, a typed character and the finished card have sharp edges (few grey pixels on
# the edges of the glyphs for each white one), and stand where the layout puts them in
# the 640 × 480 mode, the same on both screens.
# Usage: sharp.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"
PROGRAM=$(realpath "$1")

# measure FILE: the lit box in mode coordinates (the page fills the screen's height and is
# centred), and grey edge pixels per white pixel.
measure() {
  convert "$1" -colorspace gray -depth 8 gray:- | python3 -c '
import sys
w, h = int(sys.argv[1]), int(sys.argv[2])
px = sys.stdin.buffer.read()
scale = min(w / 640, h / 480)
x0, y0 = (w - 640 * scale) / 2, (h - 480 * scale) / 2
white = grey = 0
xs, ys = [], []
for y in range(h):
    row = px[y * w:(y + 1) * w]
    for x, v in enumerate(row):
        if v > 225:
            white += 1
            xs.append(x); ys.append(y)
        elif v > 30:
            grey += 1
box = [round((min(xs) - x0) / scale), round((min(ys) - y0) / scale),
       round((max(xs) - x0) / scale), round((max(ys) - y0) / scale)] if xs else None
print(" ".join(map(str, box or [])), "%.3f" % (grey / max(white, 1)))
' "$2" "$3"
}

for size in 3840x2160 1366x768; do
  w=${size%x*}; h=${size#*x}
  e2e_start "$PROGRAM" "$size"
  printf '[Option]\r\nWait=400\r\nStartWait=500\r\nSilent=1\r\n' >"$E2E_DIR/Quillon.ini"
  e2e_run
  e2e_main_window_lines "怪人" "現る" >/dev/null
  xdotool key Return
  # The first character, up for 500 ms (100 + Wait 400); then the card.
  sleep 0.9
  char=$(e2e_shot "sharp-$size-character")
  sleep 3
  card=$(e2e_shot "sharp-$size-card")
  read -r cl ct cr cb csoft < <(measure "$char" "$w" "$h")
  read -r al at ar ab asoft < <(measure "$card" "$w" "$h")
  echo "$size: character box $cl,$ct..$cr,$cb soft $csoft; card box $al,$at..$ar,$ab soft $asoft"
  echo "$size $cl $ct $cr $cb $al $at $ar $ab" >>"$E2E_ARTIFACTS/sharp-boxes.txt.new"
  # Sharp: drawn at the screen's resolution, a glyph has about one grey edge pixel for
  # ten white ones (a 640 × 480 page blown up has nearly one for one).
  python3 -c 'import sys; sys.exit(0 if float(sys.argv[1]) < 0.25 and float(sys.argv[2]) < 0.25 else 1)' \
    "$csoft" "$asoft" || e2e_fail "$size: soft edges ($csoft, $asoft)"
  # Where the layout puts them: the character in the middle of a cell 336 high (70 %);
  # the short card at its cap (160 high), line 1 a space from the left edge and line 2
  # a space from the right one.
  [ -n "$cl" ] && [ "$ct" -ge 72 ] && [ "$cb" -le 408 ] && [ $(( (cl + cr) / 2 )) -ge 300 ] &&
    [ $(( (cl + cr) / 2 )) -le 340 ] || e2e_fail "$size: the character is not centred"
  [ "$al" -ge 60 ] && [ "$al" -lt 100 ] && [ "$ar" -gt 520 ] && [ "$ar" -le 580 ] ||
    e2e_fail "$size: the card's lines are not flush left and right"
  e2e_dismiss_and_quit
  e2e_cleanup
  trap - EXIT
done
mv "$E2E_ARTIFACTS/sharp-boxes.txt.new" "$E2E_ARTIFACTS/sharp-boxes.txt"
# The same places in the mode on both screens, within a pixel or two of the mode.
python3 - "$E2E_ARTIFACTS/sharp-boxes.txt" <<'PY' || e2e_fail "the layout differs between the screens"
import sys
rows = [list(map(int, l.split()[1:])) for l in open(sys.argv[1])]
diff = max(abs(a - b) for a, b in zip(rows[0], rows[1]))
print("largest difference of the boxes, in mode pixels:", diff)
sys.exit(0 if diff <= 3 else 1)
PY
echo "PASS: sharp"
