#!/usr/bin/env bash
# Walks the administration through the real program under a virtual display, from
# the keyboard only, and prints what it finds:
#
#   scripts/admin-walkthrough.sh [output-folder]      (default: admin-walkthrough/)
#
# The administrator makes a role "clerk" (till and stock query) and a user 201 in it,
# switches the backup on into a folder of its own and renames the shop (the caption
# is printed); user 201 logs in, sees only his entries (menu pictures), changes his
# password, is refused with the old one and let in with the new one; then the program
# is closed nine more times. The backup folder is listed at the end: the newest copy
# and no more than seven older ones, none readable without the key, all readable and
# sound with it.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${BUILD_DIR:-$ROOT/build}"
OUT="$(realpath -m "${1:-$ROOT/admin-walkthrough}")"
DISPLAY_NO="${SCREENSHOT_DISPLAY:-:98}"
mkdir -p "$OUT"
WORK="$(mktemp -d)"
XVFB_PID=""; APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
cp "$BUILD/bin/kestavion" "$WORK/"
"$BUILD/bin/kestavion-initdb" "$WORK/Kestavion.mdb" --backup-folder "$WORK/backup" >/dev/null
Xvfb "$DISPLAY_NO" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY="$DISPLAY_NO"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export QT_QPA_PLATFORM=xcb

start_app() { (cd "$WORK" && exec ./kestavion -style Fusion) >>"$WORK/app.log" 2>&1 & APP_PID=$!; }
wait_window() {
  local title="$1" id=""
  for _ in $(seq 100); do
    id="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | tail -1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window '$title'" >&2; return 1
}
shot() { sleep 0.4; import -window root "$OUT/$1.png"; echo "saved $1"; }
focus_window() { local id; id="$(wait_window "$1")"; xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"; }
menu() { # alt key then downs then Return
  local alt="$1" n="$2"
  focus_window "$MAIN_TITLE"
  xdotool key --clearmodifiers "alt+$alt"; sleep 0.2
  for ((i = 0; i < n; i++)); do xdotool key Down; done
  xdotool key Return
}
login() {
  focus_window "系统登陆"
  xdotool type --delay 40 "$1"; xdotool key Return
  xdotool type --delay 40 "$2"; xdotool key Return
  wait_window "$MAIN_TITLE" >/dev/null
  sleep 0.3
}
leave() {
  local downs="${1:-9}"
  focus_window "$MAIN_TITLE"
  xdotool key --clearmodifiers alt+s; sleep 0.2
  for ((i = 0; i < downs; i++)); do xdotool key Down; done
  xdotool key Return
  focus_window "^提示$"; xdotool key Return
  wait "$APP_PID" || true
  APP_PID=""
}
MAIN_TITLE="管理系统-"

start_app
login admin admin
# 1. A role "clerk" with 售货 and 库存查询, then user 201 in it.
menu s 0
focus_window "^用户管理$"
xdotool key Tab space
focus_window "^角色$"
xdotool key --clearmodifiers alt+a; sleep 0.2
xdotool type --delay 40 clerk; xdotool key Return
xdotool key Down Down Down Down Down Down Down space Down Down Down Down Down Down Down Down space
xdotool key --clearmodifiers alt+s; sleep 0.3
shot 01_role_saved
xdotool key Escape
focus_window "^用户管理$"
xdotool key --clearmodifiers alt+a; sleep 0.2
xdotool type --delay 40 201; xdotool key Return
xdotool type --delay 40 wang; xdotool key Return
xdotool type --delay 40 pw201; xdotool key Return
xdotool key alt+Down; sleep 0.3; xdotool key Down Return
xdotool key --clearmodifiers alt+s; sleep 0.3
shot 02_user_saved
xdotool key Escape
# 2. Backup settings: folder $WORK/bk, switch on.
menu s 6
focus_window "^数据备份设置$"
xdotool key ctrl+a; xdotool type --delay 20 "$WORK/bk"
xdotool key Return Return Tab space
shot 03_backup_settings
xdotool key --clearmodifiers alt+s
focus_window "^Kestavion鞋店管理系统$"; shot 04_backup_saved; xdotool key Return
# 3. Shop renamed; the caption follows.
menu s 4
focus_window "^店面管理$"
xdotool key --clearmodifiers alt+i
focus_window "^店面$"
xdotool key ctrl+a; xdotool type --delay 40 "Wang Shoes"; xdotool key Return
sleep 0.3; focus_window "^店面管理$"; shot 05_shop_renamed; xdotool key Escape
sleep 0.3
echo "caption: $(xdotool getwindowname "$(wait_window "$MAIN_TITLE")")"
# 4. Change to user 201: only his entries.
menu s 8
focus_window "更换用户"
xdotool type --delay 40 201; xdotool key Return; xdotool type --delay 40 pw201; xdotool key Return
sleep 0.5
for m in s o q a; do focus_window "$MAIN_TITLE"; xdotool key --clearmodifiers "alt+$m"; shot "06_menu_$m"; xdotool key Escape Escape; done
# 5. He changes his password (the first entry he may use).
menu s 0
focus_window "^修改密码$"
xdotool type --delay 40 pw201; xdotool key Return; xdotool type --delay 40 np201; xdotool key Return; xdotool type --delay 40 np201; xdotool key Return
focus_window "^Kestavion鞋店管理系统$"; shot 07_password_changed; xdotool key Return
leave 5
ls -l "$WORK/bk"
# 6. Log in with the old password (refused), then the new one; exit again, nine more times.
start_app
focus_window "系统登陆"
xdotool type --delay 40 201; xdotool key Return; xdotool type --delay 40 pw201; xdotool key Return
focus_window "^提示$"; shot 08_old_password_refused; xdotool key Return
focus_window "系统登陆"
xdotool type --delay 40 np201; xdotool key Return
wait_window "$MAIN_TITLE" >/dev/null; sleep 0.3
shot 09_logged_in_new_password
leave 5
for i in $(seq 9); do start_app; login admin admin; leave; sleep 1; done
ls -l "$WORK/bk"
echo "--- the newest copy without the key:"; sqlcipher "$WORK/bk/数据备份.mdb" "select count(*) from Shop" 2>&1 || true
echo "--- sqlcipher with the key on every copy:"
for f in "$WORK"/bk/*.mdb; do printf '%s: ' "$(basename "$f")"; sqlcipher "$f" "PRAGMA key='kuvatesolin582'; SELECT ShopName FROM Shop; PRAGMA quick_check;" | tr '\n' ' '; echo; done
