# Sourced by scripts that start the real game on the current X display and
# drive it with real key events (xdotool) and its window's pixels (ImageMagick).
# They run under scripts/in-xvfb, which gives the game SDL's dummy audio driver.

# The title menu: the red and the green bar under the game's name. The test
# support reads it from here too.
# shellcheck disable=SC2034  # read by the scripts that source this file
title_menu_shows='p{229,144}.r>0.8&&p{229,144}.g<0.25&&p{289,144}.g>0.8&&p{289,144}.r<0.25'

# game_window_of PID: the game's visible window, once the process PID has one.
# The test support and the soak find it this way too. The X server is asked
# whose window it is (its X-Resource extension knows each client's process),
# not the window's _NET_WM_PID: classic SDL 1.2 writes a wrong one on a 64-bit
# big-endian machine. An X server run by qemu-user cannot tell its clients'
# processes; there the one such window of this private server is the game's.
game_window_of() {
  /usr/bin/python3 - "$1" <<'EOF' 2>/dev/null
import sys
from Xlib import X, display, error
from Xlib.ext import res

pid = int(sys.argv[1])
x = display.Display()


def windows(parent):
    for child in parent.query_tree().children:
        yield child
        yield from windows(child)


untold = []
for window in windows(x.screen().root):
    try:
        if window.get_wm_name() != "Quorvane":
            continue
        if window.get_attributes().map_state != X.IsViewable:
            continue
        asked = {"client": window.id, "mask": res.LocalClientPIDMask}
        pids = [list(i.value) for i in x.res_query_client_ids([asked]).ids]
    except error.XError:  # gone while we looked
        continue
    if [pid] in pids:
        print(window.id)
        break
    if not pids:
        untold.append(window.id)
else:
    if len(untold) == 1:
        print(untold[0])
EOF
}

# start_game PROGRAM DIR: starts PROGRAM in DIR, and sets game_pid and
# game_window (focused: there is no window manager).
start_game() {
  (cd "$2" && exec "$1") &
  game_pid=$!
  game_window=
  for _ in $(seq 100); do
    game_window=$(game_window_of "$game_pid")
    [ -n "$game_window" ] && break
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.2
  done
  [ -n "$game_window" ] || { echo "the game showed no window" >&2; return 1; }
  xdotool windowfocus --sync "$game_window"
}

# looks FX: true when the ImageMagick fx expression holds over the window.
looks() {
  [ "$(timeout 5 import -window "$game_window" -format "%[fx:$1]" info: 2>/dev/null)" = 1 ]
}

# wait_until FX: polls looks FX for up to 20 seconds.
wait_until() {
  for _ in $(seq 100); do
    looks "$1" && return 0
    sleep 0.2
  done
  echo "the window never showed: $1" >&2
  return 1
}

# press KEY [SECONDS]: holds an X key long enough for several frames to see it,
# and short of the X server's repeat; a tap shorter than a frame can fall
# between two. The test support presses keys this way too.
press() {
  xdotool keydown "$1" sleep "${2:-0.2}" keyup "$1"
}

# press_until_exit KEY: presses KEY until the game has ended, looking for four
# seconds after each press, so that a press is repeated only once it was lost;
# fails after five. The window is focused anew: another may have taken it.
press_until_exit() {
  for _ in 1 2 3 4 5; do
    game_running || return 0
    xdotool windowfocus --sync "$game_window" 2>/dev/null || true
    press "$1"
    for _ in $(seq 20); do
      game_running || return 0
      sleep 0.2
    done
  done
  echo "$1, pressed five times, never ended the game" >&2
  return 1
}

# game_running: true until the game has ended; a game not yet waited for is a
# zombie, which kill -0 would still find.
game_running() {
  ps -o stat= -p "$game_pid" | grep -qv Z
}

# wait_exit: waits for the game and fails unless it ended with status 0.
wait_exit() {
  status=0
  wait "$game_pid" || status=$?
  [ "$status" -eq 0 ] || { echo "the game ended with status $status" >&2; return 1; }
}
