#!/usr/bin/env bash
# Two tills of one shop on one PostgreSQL server sell the last pairs of one article at
# the same moment. Starts a throwaway server (scripts/pg-test-server.sh), creates the
# shop on it with kestavion-initdb, gives each till its own settings folder with its
# own Kestavion.ini, starts two copies of the real program under one virtual display,
# logs in on both and drives both tills from the keyboard (xdotool) up to the "确认要结帐吗？"
# question; then answers it on both, one right after the other. Saves screenshots and
# checks the database: one sale is stored, the other till is told no, and the stock
# never goes below zero.
#
#   scripts/two-tills-demo.sh [output-folder]      (default: two-tills-demo/)
#
# Needs the build (make build), the PostgreSQL server package, Xvfb, xdotool and
# ImageMagick's import: sudo apt-get install postgresql xvfb xdotool imagemagick
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="$(realpath -m "${1:-$ROOT/two-tills-demo}")"
BUILD="${BUILD_DIR:-$ROOT/build}"
DISPLAY_NO="${DEMO_DISPLAY:-:98}"

for tool in Xvfb xdotool import psql; do
  if ! command -v "$tool" >/dev/null; then
    echo "two-tills-demo: $tool is missing (sudo apt-get install postgresql xvfb xdotool imagemagick)" >&2
    exit 1
  fi
done
if [ ! -x "$BUILD/bin/kestavion" ] || [ ! -x "$BUILD/bin/kestavion-initdb" ]; then
  echo "two-tills-demo: build the program first (make build)" >&2
  exit 1
fi

WORK="$(mktemp -d /tmp/kestavion-demo.XXXXXX)"
STATE="$WORK/server.state"
XVFB_PID=""
TILL_PIDS=()
cleanup() {
  cp "$WORK"/till*.log "$OUT"/ 2>/dev/null || true
  for pid in "${TILL_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  # The tills go before their display does.
  for pid in "${TILL_PIDS[@]}"; do
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  done
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  "$ROOT/scripts/pg-test-server.sh" stop "$STATE" || true
  rm -rf "$WORK"
}
trap cleanup EXIT
mkdir -p "$OUT"

# --- the server and the shop on it ---------------------------------------------
"$ROOT/scripts/pg-test-server.sh" start "$STATE"
SERVER="$(cat "$STATE")"                      # host=<socket folder> user=kestavion dbname=postgres
SOCKET="$(sed 's/.*host=\([^ ]*\).*/\1/' <<<"$SERVER")"
SHOP_DB="host=$SOCKET user=kestavion dbname=shop"
psql "$SERVER" -qc "CREATE DATABASE shop TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C'"
"$BUILD/bin/kestavion-initdb" --postgres "$SHOP_DB" --shop-name '演示鞋店'
SHOP_KEY="$(psql "$SHOP_DB" -tAc 'SELECT GUID FROM Shop')"

# The article D900 with its last two pairs (one lot of two, taken in a month ago).
psql "$SHOP_DB" -q <<SQL
BEGIN;
INSERT INTO Store (GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,Quantity,Price)
  VALUES ('{D9000000-0000-4000-8000-000000000001}','$SHOP_KEY','D900','男皮鞋','自有品牌','41','棕色','牛皮','一等品','温州',2,199);
INSERT INTO StoreDetail (GUID,ParentGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,Price,Quantity,ProductPlace,Memo,DateTime)
  VALUES ('{D9000000-0000-4000-8000-000000000002}','{D9000000-0000-4000-8000-000000000001}','$SHOP_KEY','D900','男皮鞋',
          '自有品牌','41','棕色','牛皮','一等品',90,2,'温州','',to_char(current_date - 30,'YYYY-MM-DD'));
INSERT INTO BuyPrice (StoreGUID,Price,Quantity,sDate,ShopNo)
  VALUES ('{D9000000-0000-4000-8000-000000000001}',90,2,to_char(current_date - 30,'YYYY-MM-DD'),'$SHOP_KEY');
COMMIT;
SQL

# --- two tills, each with its own settings folder --------------------------------
for till in 1 2; do
  mkdir -p "$WORK/till$till"
  cat >"$WORK/till$till/Kestavion.ini" <<INI
[database]
engine=postgresql
host=$SOCKET
name=shop
user=kestavion
[till]
shop=$SHOP_KEY
till=$till
INI
done

Xvfb "$DISPLAY_NO" -screen 0 2048x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY="$DISPLAY_NO"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done 2>/dev/null || sleep 1
export QT_QPA_PLATFORM=xcb


# The newest visible window of till $1 whose title matches $2.
window_of() {
  local pid="${TILL_PIDS[$(($1 - 1))]}" id=""
  for _ in $(seq 150); do
    id="$(xdotool search --all --onlyvisible --pid "$pid" --name "$2" 2>/dev/null | tail -1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "two-tills-demo: till $1 shows no window titled '$2'" >&2
  cat "$WORK/till$1.log" >&2 || true
  return 1
}
# Gives till $1's window titled $2 the keyboard; till 2 stands in the right half.
focus() {
  local id
  id="$(window_of "$1" "$2")"
  [ "$1" = 2 ] && xdotool windowmove "$id" 1024 0 2>/dev/null || true
  [ "$1" = 1 ] && xdotool windowmove "$id" 0 0 2>/dev/null || true
  xdotool windowfocus --sync "$id"
  sleep 0.2
}
shot() {
  sleep 0.5
  import -window root "$OUT/$1.png"
  echo "saved $OUT/$1.png"
}

# One till after the other, each step waiting for the window it opens (a new window
# takes the keyboard when it appears, so till 2 starts once till 1 waits at its question).
for till in 1 2; do
  KESTAVION_DATA_DIR="$WORK/till$till" "$BUILD/bin/kestavion" -style Fusion >"$WORK/till$till.log" 2>&1 &
  TILL_PIDS+=($!)
  focus "$till" "系统登陆"
  xdotool type --delay 40 admin
  xdotool key Return
  xdotool type --delay 40 admin
  xdotool key Return
  # 功能 → 售货, then two pairs of D900 at full price, paid with 400.
  focus "$till" "管理系统-"
  xdotool key --clearmodifiers alt+o
  sleep 0.2
  xdotool key Down Return
  focus "$till" "^售货$"
  xdotool type --delay 40 D900
  xdotool key Return Return
  xdotool type --delay 40 2
  xdotool key Return Return
  xdotool type --delay 40 400
  shot "till${till}-ready"
  xdotool key Return
  window_of "$till" "询问" >/dev/null
done
shot both-asking

# The moment: both sellers confirm, one right after the other (one xdotool run, a
# few milliseconds apart).
ASK1="$(window_of 1 "询问")"
ASK2="$(window_of 2 "询问")"
xdotool windowfocus "$ASK1" key Return windowfocus "$ASK2" key Return
sleep 2
shot after-both-confirmed

# The About box of till 1 names the engine and the server it works on.
focus 1 "^售货$"
xdotool key Escape
focus 1 "管理系统-"
xdotool key --clearmodifiers alt+h
sleep 0.2
xdotool key Down Down Return
ABOUT="$(window_of 1 "^关于")"
import -window "$ABOUT" "$OUT/till1-about.png"
echo "saved $OUT/till1-about.png"
xdotool windowfocus --sync "$ABOUT" key Escape

# --- what the database says --------------------------------------------------------
read -r STOCK LOT SOLD SALES < <(psql "$SHOP_DB" -tA -F ' ' -c \
  "SELECT (SELECT Quantity FROM Store WHERE TypeNo='D900'),
          (SELECT Quantity FROM BuyPrice WHERE StoreGUID='{D9000000-0000-4000-8000-000000000001}'),
          (SELECT count(*) FROM Sell WHERE TypeNo='D900' AND State=0),
          (SELECT count(DISTINCT SellNo) FROM Sell WHERE TypeNo='D900')")
echo "D900 in stock: $STOCK, in its lot: $LOT; pairs sold: $SOLD in $SALES sale(s)"
psql "$SHOP_DB" -c "SELECT SellNo, TypeNo, Size, Amount, DateTime FROM Sell ORDER BY SellNo"

# The till that was refused shows its message (a box titled 提示) over its till.
REFUSED=""
for till in 1 2; do
  if id="$(xdotool search --all --onlyvisible --pid "${TILL_PIDS[$((till - 1))]}" --name '^提示$' 2>/dev/null)"; then
    REFUSED="$REFUSED $till"
    import -window "$(tail -1 <<<"$id")" "$OUT/till${till}-refused.png"
    # Once the seller has read it, the till shows what is left and the next number.
    xdotool windowfocus --sync "$(tail -1 <<<"$id")" key Return
    shot "till${till}-after-refusal"
  fi
done
echo "tills told no:${REFUSED:- none}"

status=0
[ "$STOCK" = 0 ] && [ "$LOT" = 0 ] || { echo "FAIL: stock $STOCK, lot $LOT (expected 0 and 0)"; status=1; }
[ "$SOLD" = 2 ] && [ "$SALES" = 1 ] || { echo "FAIL: $SOLD pairs in $SALES sales (expected 2 in 1)"; status=1; }
[ "$(wc -w <<<"$REFUSED")" = 1 ] || { echo "FAIL: expected exactly one till to be told no"; status=1; }
[ "$status" = 0 ] && echo "OK: one sale went through, the other till was refused, stock never below zero"
exit "$status"
