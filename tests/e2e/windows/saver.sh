#!/usr/bin/env bash
# The Windows screen saver under Wine, started as Windows starts one: quillon.scr /s
# shows its card full-screen at once and ends by itself when the card's hold runs out
# without input. Its sound goes through DirectSound (Wine's PulseAudio driver) into a
# null sink, recorded from its monitor: the typing cues and the sting keep the cadence
# the Linux build is heard to keep. The card is 一二三 / 四五, the only subtitle of the
# user's file, at Wait 300.
# Usage: saver.sh [BUILD-FOLDER]
source "$(dirname "$0")/lib.sh"
win_start "${1:-}"
export LANG=ja_JP.UTF-8
mv "$E2E_DIR/quillon.exe" "$E2E_DIR/quillon.scr"
printf '\x88\xea\x93\xf1\x8e\x4f \x8e\x6c\x8c\xdc\r\n' >"$E2E_DIR/mine.qln"
printf '[File]\r\nUserFile=%s\r\n[Option]\r\nDiceMode=2\r\nWait=300\r\nStartWait=500\r\n' \
  "$(win_path "$E2E_DIR/mine.qln")" >"$E2E_DIR/Quillon.ini"
e2e_start_pulse

# The card of two lines: line 1 flush left in the upper half, line 2 flush right below.
is_card() { [ "$(lit "$1" 150x384+0+0)" -gt 50 ] && [ "$(lit "$1" 150x384+874+384)" -gt 50 ]; }

parec -d quillon.monitor --format=s16le --rate=22050 --channels=1 --raw --latency-msec=10 \
  >"$E2E_DIR/heard.raw" 2>/dev/null &
recording=$!
# The recording is under way before the program can make a sound.
sleep 1
(cd "$E2E_DIR" && exec "$WIN_ROOT/tools/windows-wine" ./quillon.scr /s) >"$E2E_DIR/stdout.log" 2>&1 &
E2E_APP_PID=$!
started=$(date +%s)
e2e_wait_window "Quillon for DirectX" 60 >/dev/null || e2e_fail "no window in screen-saver mode"
e2e_wait_active_size 1024 768 10 || e2e_fail "the screen saver's card is not full-screen"
e2e_shoot_until win-saver-card 15 is_card >/dev/null || e2e_fail "no screen-saver card drawn"
# Typed within 4 s, held for 7 s.
e2e_wait_exit 20 || e2e_fail "the screen saver did not end after its card's hold"
wait "$E2E_APP_PID" || e2e_fail "the screen saver ended with status $?"
E2E_APP_PID=
kill "$recording"
# DirectSound plays a sound unpanned at its full level, 3 dB over a side of the Linux
# mix: the typing sound's softer second tap would pass the usual threshold.
e2e_onsets "$E2E_DIR/heard.raw" 22050 6000 >"$E2E_DIR/onsets.txt"
python3 "$(dirname "$0")/../heard_cadence.py" "$E2E_DIR/onsets.txt" ||
  e2e_fail "the typing heard through DirectSound does not keep its cadence"
echo "saver.sh: passed, ended $(($(date +%s) - started)) s after its start"
