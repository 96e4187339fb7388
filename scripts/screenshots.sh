#!/usr/bin/env bash
# Starts the real program under a virtual display and saves a PNG of each screen.
#
#   scripts/screenshots.sh [output-folder]      (default: screenshots/)
#
# The program only opens the Kestavion.mdb beside itself, so it is copied into a
# temporary folder together with a fresh database. To show another screen, add a
# line at the end: `shot_menu NAME "Menu caption" "Entry caption"` opens a menu
# entry by mouse-free keys and saves the screen; see the functions below.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="$(realpath -m "${1:-$ROOT/screenshots}")"
BUILD="${BUILD_DIR:-$ROOT/build}"
DISPLAY_NO="${SCREENSHOT_DISPLAY:-:99}"

if [ ! -x "$BUILD/bin/kestavion" ] || [ ! -x "$BUILD/bin/kestavion-initdb" ]; then
  make -C "$ROOT" build
fi

WORK="$(mktemp -d)"
XVFB_PID=""
APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

cp "$BUILD/bin/kestavion" "$WORK/"
"$BUILD/bin/kestavion-initdb" "$WORK/Kestavion.mdb" --backup-folder "$WORK/backup" >/dev/null
mkdir -p "$OUT"

Xvfb "$DISPLAY_NO" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY="$DISPLAY_NO"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done 2>/dev/null || sleep 1

# Fusion draws the same everywhere; the CJK face covers the Chinese captions.
export QT_QPA_PLATFORM=xcb
(cd "$WORK" && exec ./kestavion -style Fusion) >"$WORK/app.log" 2>&1 &
APP_PID=$!

# Waits for a window whose title matches (a regular expression) and prints its id.
wait_window() {
  local title="$1" id=""
  for _ in $(seq 100); do
    id="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | tail -1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "screenshots: no window titled '$title'" >&2
  cat "$WORK/app.log" >&2 || true
  return 1
}

# Saves the whole virtual screen as $OUT/<name>.png.
shot() {
  sleep 0.4
  import -window root "$OUT/$1.png"
  echo "saved $OUT/$1.png"
}

# Activates a window by title and gives it the keyboard.
focus_window() {
  local id
  id="$(wait_window "$1")"
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
}

# Opens a top-level menu with its Alt key (e.g. s for "[系  统(&S)]") and saves it.
shot_menu_open() {
  local name="$1" alt="$2"
  focus_window "$MAIN_TITLE"
  xdotool key --clearmodifiers "alt+$alt"
  shot "$name"
  xdotool key Escape Escape
}

# Opens a screen: a top-level menu by its Alt key, then the entry by the keys given
# (e.g. "Down Down Return"), saves it and closes it with Escape.
shot_menu() {
  local name="$1" alt="$2" keys="$3" title="$4"
  focus_window "$MAIN_TITLE"
  xdotool key --clearmodifiers "alt+$alt"
  sleep 0.2
  # shellcheck disable=SC2086
  xdotool key $keys
  wait_window "$title" >/dev/null
  shot "$name"
  xdotool key Escape
}

# --- log in ------------------------------------------------------------------
focus_window "系统登陆"
shot login
xdotool type --delay 50 admin
xdotool key Return
xdotool type --delay 50 admin
shot login_typed
xdotool key Return

# --- main window and its menus ----------------------------------------------
MAIN_TITLE="管理系统-"
wait_window "$MAIN_TITLE" >/dev/null
shot main
shot_menu_open menu_system s
focus_window "$MAIN_TITLE"
xdotool key --clearmodifiers alt+s
sleep 0.2
xdotool key Down Down Down Right
shot menu_system_data
xdotool key Escape Escape Escape
shot_menu_open menu_operator o
shot_menu_open menu_query q
shot_menu_open menu_amount a
shot_menu_open menu_help h

# --- screens -----------------------------------------------------------------
shot_menu change_user s "Down Down Down Down Down Down Down Down Return" "更换用户"
shot_menu about h "Up Return" "关于"
