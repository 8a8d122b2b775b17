# Sourced by scripts that start the real game on the current X display and
# drive it with real key events (xdotool) and its window's pixels (ImageMagick).
# They run under scripts/in-xvfb, which gives the game SDL's dummy audio driver.

# The title menu: the red and the green bar under the game's name. The test
# support reads it from here too.
# shellcheck disable=SC2034  # read by the scripts that source this file
title_menu_shows='p{229,144}.r>0.8&&p{229,144}.g<0.25&&p{289,144}.g>0.8&&p{289,144}.r<0.25'

# game_window_of PID: the game's visible window, once the process PID has one,
# found as scripts/game_driver.py says. Sourced from the repository's root,
# or from where QUORVANE_SOURCE_DIR names.
game_window_of() {
  /usr/bin/python3 "${QUORVANE_SOURCE_DIR:-.}/scripts/game_driver.py" window "$1" 2>/dev/null
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
