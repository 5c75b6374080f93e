#!/usr/bin/env bash
# Soak of the screen saver: runs it with fast settings (each finished card held a second,
# no extra wait between characters, the shortest start wait) in a window of its own under
# a private Xvfb, and samples its resident memory, threads and open files each minute.
# At the end it prints the slope of resident memory after the first ten minutes, by a
# least-squares line through the samples.
#
# usage: bench/soak_saver.sh [PROGRAM]   (default build/quillon)
# SOAK_SECONDS (default 3600) and SOAK_INTERVAL (default 60) change the run's length and
# the time between samples; SOAK_SETTLE (default 600) the time left out of the slope.
set -euo pipefail

program=$(realpath "${1:-build/quillon}")
seconds=${SOAK_SECONDS:-3600}
interval=${SOAK_INTERVAL:-60}
settle=${SOAK_SETTLE:-600}

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

for n in $(seq 150 199); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
export DISPLAY=":$n"
Xvfb "$DISPLAY" -screen 0 1280x720x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config"

printf '[Option]\r\nWait=0\r\nStartWait=500\r\n' >"$work/Quillon.ini"
"$program" --window --linger 1 --config "$work/Quillon.ini" >"$work/saver.log" 2>&1 &
saver=$!
pids+=("$saver")
sleep 2
kill -0 "$saver" 2>/dev/null || { cat "$work/saver.log" >&2; echo "soak: the saver did not start" >&2; exit 1; }

field() { awk -v k="$1:" '$1 == k { print $2 }' "/proc/$saver/status"; }

echo "minute  rss_kb  threads  files"
samples="$work/samples"
: >"$samples"
start=$(date +%s)
while :; do
  now=$(date +%s)
  elapsed=$((now - start))
  kill -0 "$saver" 2>/dev/null || { echo "soak: the saver ended by itself" >&2; exit 1; }
  rss=$(field VmRSS)
  threads=$(field Threads)
  files=$(ls "/proc/$saver/fd" | wc -l)
  printf '%6.1f  %6d  %7d  %5d\n' "$(echo "$elapsed / 60" | bc -l)" "$rss" "$threads" "$files"
  echo "$elapsed $rss $threads $files" >>"$samples"
  [ "$elapsed" -ge "$seconds" ] && break
  sleep $((interval - (($(date +%s) - start) % interval)))
done

kill -TERM "$saver"
wait "$saver" || true

awk -v settle="$settle" '
  { t[NR] = $1; r[NR] = $2; th[NR] = $3; f[NR] = $4 }
  $1 >= settle { n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2 }
  END {
    minth = maxth = th[1]; minf = maxf = f[1]
    for (i = 1; i <= NR; i++) {
      if (th[i] < minth) minth = th[i]; if (th[i] > maxth) maxth = th[i]
      if (f[i] < minf) minf = f[i]; if (f[i] > maxf) maxf = f[i]
    }
    if (n >= 2 && n * sxx != sx * sx) {
      slope = (n * sxy - sx * sy) / (n * sxx - sx * sx) # kB a second
      printf "RSS slope after %d s: %.3f MB/hour (%d samples)\n", settle, slope * 3600 / 1024, n
    } else {
      print "RSS slope: too few samples after the settling time"
    }
    printf "RSS %d kB at the start, %d kB at the end\n", r[1], r[NR]
    printf "threads %d..%d, open files %d..%d\n", minth, maxth, minf, maxf
  }' "$samples"
