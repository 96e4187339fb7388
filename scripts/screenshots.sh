#!/usr/bin/env bash
# Starts the real program under a virtual display and saves a PNG of each screen.
#
#   scripts/screenshots.sh [output-folder]      (default: screenshots/)
#
# The program only opens the Kestavion.mdb beside itself, so it is copied into a
# temporary folder together with a fresh database. To show another screen, add a
# line at the end: `shot_screen <file name> <window title> <menu path>` (see below).
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

cp "$BUILD/bin/kestavion" "$BUILD/bin/kestavion-xlsdump" "$WORK/"
"$BUILD/bin/kestavion-initdb" "$WORK/Kestavion.mdb" --backup-folder "$WORK/backup" >/dev/null
mkdir -p "$OUT"

Xvfb "$DISPLAY_NO" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY="$DISPLAY_NO"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done 2>/dev/null || sleep 1

# Fusion draws the same everywhere; the CJK face covers the Chinese captions.
export QT_QPA_PLATFORM=xcb
start_app() {
  (cd "$WORK" && exec ./kestavion -style Fusion) >>"$WORK/app.log" 2>&1 &
  APP_PID=$!
}
start_app

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

# Keys that walk a menu path: the Alt key of the top-level menu, then the position of
# the entry (0 = first, separators not counted) in each menu down the path; the last
# entry is chosen with Enter, earlier ones open their sub-menu. "s 3 0" is
# [系  统(&S)] → 4-数据维护 → 颜色.
menu_keys() {
  local alt="$1"; shift
  local keys="" i n
  for ((n = 1; n <= $#; n++)); do
    for ((i = 0; i < ${!n}; i++)); do keys+=" Down"; done
    if [ "$n" -lt $# ]; then keys+=" Right"; else keys+=" Return"; fi
  done
  echo "alt+$alt$keys"
}

# Opens the screen at a menu path, waits for its window (title, a regular expression),
# saves it as $OUT/<name>.png and closes it with Escape.
#   shot_screen about "关于" h 2
shot_screen() {
  local name="$1" title="$2"; shift 2
  focus_window "$MAIN_TITLE"
  local keys
  keys="$(menu_keys "$@")"
  local first="${keys%% *}" rest="${keys#* }"
  xdotool key --clearmodifiers "$first"
  sleep 0.2
  # shellcheck disable=SC2086
  xdotool key $rest
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
# Add a line per screen: shot_screen <file name> <window title> <menu path>.
shot_screen change_user "更换用户" s 8
shot_screen about "关于" h 2

# --- selling screens ---------------------------------------------------------
# The fresh database holds no goods: put a few in stock (with their lots) for the till.
sqlcipher "$WORK/Kestavion.mdb" >/dev/null <<'SQL'
PRAGMA key='kuvatesolin582';
BEGIN;
INSERT INTO Store (GUID,ShopNo,TypeNo,Name,Brand,[Size],Colour,Leather,Grade,ProductPlace,Quantity,Price)
  SELECT '{5C0A0000-0000-4000-8000-000000000001}',GUID,'A1008','男皮鞋','步履','40','黑色','牛皮','一等品','温州',3,199 FROM Shop
  UNION ALL SELECT '{5C0A0000-0000-4000-8000-000000000002}',GUID,'A1008','男皮鞋','步履','41','黑色','牛皮','一等品','温州',2,199 FROM Shop
  UNION ALL SELECT '{5C0A0000-0000-4000-8000-000000000003}',GUID,'B2051','运动鞋','轻风','38','白色','网布','合格品','晋江',5,299 FROM Shop
  UNION ALL SELECT '{5C0A0000-0000-4000-8000-000000000004}',GUID,'C3300','女单鞋','花语','36','红色','羊皮','一等品','广州',4,259 FROM Shop;
INSERT INTO BuyPrice (StoreGUID,Price,Quantity,sDate,ShopNo)
  SELECT GUID,round(Price*0.45),Quantity,'2026-01-05',ShopNo FROM Store WHERE GUID LIKE '{5C0A%';
COMMIT;
SQL
shot_screen till "^售货$" o 1
# The till in use: 2 pairs of A1008 at 8.5, one B2051 at a special price, the payment typed.
open_till() {
  focus_window "$MAIN_TITLE"
  local keys
  keys="$(menu_keys o 1)"
  xdotool key --clearmodifiers "${keys%% *}"
  sleep 0.2
  # shellcheck disable=SC2086
  xdotool key ${keys#* }
  wait_window "^售货$" >/dev/null
  sleep 0.3
}
open_till
xdotool type --delay 50 A1008
xdotool key Return Return
xdotool type --delay 50 2
xdotool key Return
xdotool type --delay 50 8.5
xdotool key Return
xdotool type --delay 50 +
xdotool key ctrl+a
xdotool type --delay 50 B2051
xdotool key Return Return
xdotool type --delay 50 1
xdotool key Return Down
xdotool type --delay 50 250
xdotool key Return
xdotool type --delay 50 1000
shot till_sale
# The program dies with the pairs on the list (kill -9). Started again, the same seller
# opening the till is offered the list back; Yes restores it.
kill -9 "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
start_app
focus_window "系统登陆"
xdotool type --delay 50 admin
xdotool key Return
xdotool type --delay 50 admin
xdotool key Return
wait_window "$MAIN_TITLE" >/dev/null
open_till
wait_window "^提示$" >/dev/null
shot till_restore_prompt
xdotool key Return
sleep 0.3
shot till_restored
# Esc with pairs on the list asks first; Yes (the default) leaves.
focus_window "^售货$"
xdotool key Escape
wait_window "提示" >/dev/null
shot till_leave
xdotool key Return

# --- intake and lookup-list screens ------------------------------------------
shot_screen dictionary_colour "数据字典--颜色" s 3 0
shot_screen dictionary_brand "数据字典--品牌" s 3 3
# Opens the screen at a menu path and waits for its window (no picture).
open_screen() {
  local title="$1"; shift
  focus_window "$MAIN_TITLE"
  local keys
  keys="$(menu_keys "$@")"
  xdotool key --clearmodifiers "${keys%% *}"
  sleep 0.2
  # shellcheck disable=SC2086
  xdotool key ${keys#* }
  focus_window "$title"
}
# Restocking, then the screens opened from its buttons.
open_screen "^进货$" o 0
xdotool key --clearmodifiers alt+n
focus_window "^新货$"
xdotool type --delay 30 "X2025"
xdotool key Return Return Down Return Return Return Return
xdotool type --delay 30 "120"
xdotool key Return
xdotool type --delay 30 "6"
xdotool key Return
xdotool type --delay 30 "259"
xdotool key Return Return
xdotool type --delay 30 "A3"
xdotool key Return
xdotool type --delay 30 "2"
shot new_goods
xdotool key Escape
focus_window "^进货$"
xdotool key --clearmodifiers alt+b
focus_window "^批量进货$"
# Article description: Enter runs down the fields to the colour list.
xdotool type --delay 30 "K8801"
xdotool key Return Down Return Return
xdotool type --delay 30 "168"
xdotool key Return
xdotool type --delay 30 "329"
xdotool key Return Return Return Return Return
xdotool type --delay 30 "B2"
xdotool key Return
xdotool type --delay 30 "1"
xdotool key Return Return
# Colours 黑色, 白色; sizes 38, 39, 40 (Space ticks the current entry).
xdotool key space Down space Tab Down Down Down Down space Down space Down space
xdotool key Tab Tab Tab
for q in 2 3 1 "" 1 2; do
  [ -n "$q" ] && xdotool type --delay 30 "$q"
  xdotool key Return
done
shot batch_intake
# Take it in (Yes is the default answer), then back to the restocking list.
xdotool key --clearmodifiers alt+i
sleep 0.3
xdotool key Return
sleep 0.3
shot batch_intake_after
xdotool key Escape
focus_window "^进货$"
shot restock
xdotool key Escape
shot_screen price_change "价格变动" o 7
# The intake history with its correction screen.
open_screen "进货明细查询" q 3
shot intake_history
xdotool key --clearmodifiers alt+e
wait_window "^修改$" >/dev/null
shot intake_correction
xdotool key Escape
focus_window "进货明细查询"
xdotool key Escape

# --- delivery-note import ------------------------------------------------------
# A note made in LibreOffice, taken in as .xlsx and then as .xls; the goods then show in
# the restocking list and the intake history.
cp "$ROOT/tests/intake/data/delivery_note.xlsx" "$ROOT/tests/intake/data/delivery_note.xls" "$WORK/"
import_note() {
  local file="$1" name="$2"
  open_screen "^数据导入$" s 5
  [ -n "$name" ] && shot "$name"
  # The "…" button has the focus: Space opens the file dialog, whose name box takes a path.
  xdotool key space
  focus_window "^打开$"
  xdotool type --delay 20 "$WORK/$file"
  xdotool key Return
  focus_window "^数据导入$"
  xdotool type --delay 50 10
  [ -n "$name" ] && shot "${name}_file"
  # Enter runs through the settings and the date to the import button, which it presses.
  for _ in $(seq 14); do xdotool key Return; done
  xdotool key Return
  sleep 1
  [ -n "$name" ] && shot "${name}_done"
  xdotool key Return
  sleep 0.3
  xdotool key Escape
}
import_note delivery_note.xlsx delivery_import
import_note delivery_note.xls ""
open_screen "^进货$" o 0
shot restock_after_import
xdotool key Escape
open_screen "进货明细查询" q 3
shot intake_history_after_import
xdotool key Escape

# --- after-sales screens -----------------------------------------------------
# Two articles in stock (with their lots), then a real sale of two pairs at the till,
# so the return, exchange and void screens have a sale to find.
sqlcipher "$WORK/Kestavion.mdb" >/dev/null <<'SQL'
PRAGMA key='kuvatesolin582';
BEGIN;
INSERT INTO Store (GUID,ShopNo,TypeNo,Name,Brand,[Size],Colour,Leather,Grade,ProductPlace,Quantity,Price)
  SELECT '{AF7E0000-0000-4000-8000-000000000001}',GUID,'AS7001','女单鞋','花语','37','黑色','牛皮','一等品','温州',4,200 FROM Shop
  UNION ALL SELECT '{AF7E0000-0000-4000-8000-000000000002}',GUID,'AS7002','女单鞋','花语','37','棕色','牛皮','一等品','温州',2,230 FROM Shop;
INSERT INTO BuyPrice (StoreGUID,Price,Quantity,sDate,ShopNo)
  SELECT GUID,round(Price*0.45),Quantity,'2026-01-05',ShopNo FROM Store WHERE GUID LIKE '{AF7E%';
COMMIT;
SQL
AS_SELLNO="$(date +%Y%m%d)0001"
# Opens the screen at a menu path and waits for its window (no picture).
as_open() {
  local title="$1"; shift
  focus_window "$MAIN_TITLE"
  local keys
  keys="$(menu_keys "$@")"
  xdotool key --clearmodifiers "${keys%% *}"
  sleep 0.2
  # shellcheck disable=SC2086
  xdotool key ${keys#* }
  focus_window "$title"
  sleep 0.3
}
# The till: two pairs of AS7001 at full price, paid 400, Yes to the question.
as_open "^售货$" o 1
xdotool type --delay 50 AS7001
xdotool key Return Return
xdotool type --delay 50 2
xdotool key Return Return
xdotool type --delay 50 400
xdotool key Return
wait_window "询问" >/dev/null
xdotool key Return
sleep 0.5
xdotool key Escape

shot_screen sales_rules "^系统设置$" s 2
as_open "^系统设置$" s 2
xdotool key ctrl+Tab ctrl+Tab
shot sales_rules_exchange
xdotool key Escape

# Return, from the keyboard only: today's sales (tick the date), Down to the second
# pair, Enter on to the reason, Alt+O and Yes: that pair goes into problem stock.
as_open "^客户退货$" o 3
xdotool key space
xdotool key --clearmodifiers alt+q
sleep 0.3
xdotool key Down
shot return
xdotool key Return
xdotool key --clearmodifiers alt+o
focus_window "^提示$"
shot return_confirm
xdotool key Return
sleep 0.3
shot return_after
xdotool key Escape

# Exchange: the other pair for the brown AS7002 at full price (the customer pays 30).
as_open "^客户调换$" o 2
xdotool key space
xdotool key --clearmodifiers alt+q
sleep 0.3
xdotool key --clearmodifiers alt+c
focus_window "^调换$"
xdotool type --delay 50 AS7002
shot replacement
xdotool key --clearmodifiers alt+o
focus_window "^提示$"
xdotool key Return
focus_window "^客户调换$"
shot exchange
# Alt+O commits the order; its message, then the emptied screen.
xdotool key --clearmodifiers alt+o
wait_window "^Kestavion鞋店管理系统$" >/dev/null
shot exchange_done
xdotool key Return
focus_window "^客户调换$"
xdotool key Escape

# Void: the sale looked up by its number.
as_open "^销售作废$" o 6
xdotool type --delay 50 "$AS_SELLNO"
xdotool key Return
shot void
# Its "…" button (two Tabs on from the list) edits the reason list.
xdotool key Tab Tab space
focus_window "数据字典--作废原因"
shot void_reasons
xdotool key Escape
focus_window "^销售作废$"
# Alt+O and Yes (the default answer): the pair is voided and leaves the list.
xdotool key --clearmodifiers alt+o
focus_window "^提示$"
shot void_confirm
xdotool key Return
sleep 0.3
shot void_after
xdotool key Escape

# Problem goods: one pending line of AS7002.
as_open "^问题鞋处理$" o 4
xdotool type --delay 50 AS7002
xdotool key Return Return
xdotool type --delay 50 1
xdotool key Return Return space
shot problem_goods
xdotool key Escape

# Factory return: the returned pair in problem stock, all ticked.
as_open "^厂家退货$" o 5
xdotool key --clearmodifiers alt+a
shot factory_return
xdotool key Escape

# --- day's end and money ----------------------------------------------------------
# Two expenses: the rent, then a smaller one of the same item and day.
as_open "^其他支出$" o 8
xdotool key Return
xdotool type --delay 50 "1200.5"
xdotool key Return Return
xdotool type --delay 50 "rent, December"
shot other_expense
xdotool key Return Return
focus_window "^Kestavion鞋店管理系统$"
xdotool key Return
# The next expense: the amount box has the focus again, item and date kept.
focus_window "^其他支出$"
xdotool type --delay 50 "35"
xdotool key Return Return Return Return
focus_window "^Kestavion鞋店管理系统$"
xdotool key Return
focus_window "^其他支出$"
xdotool key Escape
as_open "其他指出查询" q 7
xdotool key --clearmodifiers alt+q
shot other_expense_query
xdotool key Escape

# The seller's day: Enter from the date to the button, Enter settles.
as_open "^日结算$" a 0
xdotool key Return Return
shot day_settlement
xdotool key Escape
as_open "^结算汇总$" a 1
xdotool key --clearmodifiers alt+h
shot settlement_summary
xdotool key Escape
as_open "^利润分析$" a 2
xdotool key --clearmodifiers alt+o
shot profit
xdotool key Escape
as_open "^单品利润分析$" a 3
xdotool type --delay 50 AS7002
xdotool key Return
shot article_profit
xdotool key Escape

# --- administration screens ----------------------------------------------------
# Roles: a new role "店员" with the till and the stock query, from the keyboard.
as_open "^用户管理$" s 0
shot users
# Tab from the list reaches the "…" button (the fields are off while browsing).
xdotool key Tab space
focus_window "^角色$"
xdotool key --clearmodifiers alt+a
sleep 0.2
xdotool type --delay 50 "clerk"
xdotool key Return
# The tree: down to 售货 (the 7th child) and 库存查询 (the 15th), Space ticks each.
xdotool key Down Down Down Down Down Down Down space Down Down Down Down Down Down Down Down space
shot roles_editing
xdotool key --clearmodifiers alt+s
sleep 0.3
shot roles
xdotool key Escape
# Users: a new user 201 in that role.
focus_window "^用户管理$"
xdotool key --clearmodifiers alt+a
sleep 0.2
xdotool type --delay 50 "201"
xdotool key Return
xdotool type --delay 50 "wang"
xdotool key Return
xdotool type --delay 50 "pw201"
xdotool key Return
# The role list drops down with Alt+Down; the new role is the second entry.
xdotool key alt+Down
sleep 0.3
xdotool key Down Return
shot users_new
xdotool key --clearmodifiers alt+s
sleep 0.3
shot users_saved
xdotool key Escape

shot_screen change_password "^修改密码$" s 1
as_open "^店面管理$" s 4
shot shop_list
xdotool key --clearmodifiers alt+i
focus_window "^店面$"
shot shop_rename
xdotool key Escape
focus_window "^店面管理$"
xdotool key Escape
shot_screen backup_settings "^数据备份设置$" s 6

# --- query screens -----------------------------------------------------------
# A fortnight of sales besides the real sale above (rows as the till writes them), so
# the sales query, the ranking and their charts have something to show.
sqlcipher "$WORK/Kestavion.mdb" >/dev/null <<'SQL'
PRAGMA key='kuvatesolin582';
BEGIN;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 90)
INSERT INTO Sell (GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,[Size],Colour,Leather,Grade,ProductPlace,Quantity,Price,
                  Abate,Amount,BuyPrice,Seller,[DateTime],SellNo,BuyPriceId,SellerName,State)
  SELECT printf('{5E110000-0000-4000-8000-%012d}', n.i), s.GUID, s.ShopNo, s.TypeNo, s.Name, s.Brand, s.[Size],
         s.Colour, s.Leather, s.Grade, s.ProductPlace, 1, s.Price, CASE WHEN n.i % 3 = 0 THEN '8.5' ELSE '全' END,
         CASE WHEN n.i % 3 = 0 THEN round(s.Price * 0.85) ELSE s.Price END, round(s.Price * 0.45), 'admin',
         date('now', 'localtime', printf('-%d day', 1 + (n.i * 7) % 13)), printf('%s9%03d',
         strftime('%Y%m%d', 'now', 'localtime', printf('-%d day', 1 + (n.i * 7) % 13)), n.i), '1', '管理员', 0
    FROM n JOIN Store s ON (SELECT count(*) FROM Store t WHERE t.GUID < s.GUID) = (n.i * n.i) % 7;
COMMIT;
SQL
FORTNIGHT="$(date -d '-13 day' +%Y-%m-%d)"
# Stock: the sellable list with its totals and merges, then the problem goods.
as_open "^库存查询$" q 0
shot stock_query
xdotool type --delay 50 A1
shot stock_query_article
xdotool key ctrl+Tab
shot stock_query_problem
xdotool key Escape
# Sales of the fortnight: the begin date typed, Enter down to the button, Enter.
as_open "^售货查询$" q 1
xdotool key ctrl+a
xdotool type --delay 50 "$FORTNIGHT"
xdotool key Return Return Return Return Return
shot sales_query
xdotool key ctrl+Tab
shot sales_query_chart
xdotool key Escape
as_open "^销售排行$" q 2
xdotool key ctrl+a
xdotool type --delay 50 "$FORTNIGHT"
xdotool key Return Return Return
shot sales_ranking
xdotool key ctrl+Tab
shot sales_ranking_chart
xdotool key Escape
# Today's exchange and return (made above), the factory returns and the voids.
as_open "^客户退换查询$" q 4
shot exchange_query
# Back from the first date to the tab bar, then the returns tab.
xdotool key shift+Tab Right
shot return_query
xdotool key Escape
shot_screen factory_return_query "^厂家退货查询$" q 5
shot_screen void_query "^销售作废查询$" q 6
# Size runs: one more article whose 38 and 39 are sold out between 37 and 40 (broken).
sqlcipher "$WORK/Kestavion.mdb" >/dev/null <<'SQL'
PRAGMA key='kuvatesolin582';
INSERT INTO Store (GUID,ShopNo,TypeNo,Name,Brand,[Size],Colour,Leather,Grade,ProductPlace,Quantity,Price)
  SELECT '{5C0A0000-0000-4000-8000-000000000101}',GUID,'D5520','男休闲鞋','步履','37','棕色','牛皮','一等品','温州',2,239 FROM Shop
  UNION ALL SELECT '{5C0A0000-0000-4000-8000-000000000102}',GUID,'D5520','男休闲鞋','步履','38','棕色','牛皮','一等品','温州',0,239 FROM Shop
  UNION ALL SELECT '{5C0A0000-0000-4000-8000-000000000103}',GUID,'D5520','男休闲鞋','步履','39','棕色','牛皮','一等品','温州',0,239 FROM Shop
  UNION ALL SELECT '{5C0A0000-0000-4000-8000-000000000104}',GUID,'D5520','男休闲鞋','步履','40','棕色','牛皮','一等品','温州',1,239 FROM Shop;
SQL
shot_screen size_run "^尺码断码查询$" q 8

# Print screen: the stock query hands its list over (打印(&P)); the preview button
# has the focus and Enter builds the report. Skipped while no query prints.
focus_window "$MAIN_TITLE"
xdotool key --clearmodifiers alt+q
sleep 0.2
xdotool key Return
if wait_window "^库存查询$" >/dev/null 2>&1; then
  xdotool key --clearmodifiers alt+p
  if wait_window "^打印$" >/dev/null 2>&1; then
    shot print_screen
    xdotool key Return
    sleep 1
    shot print_preview
    xdotool key Escape
  fi
  focus_window "^库存查询$"
  xdotool key Escape
else
  echo "screenshots: no stock query, no print preview" >&2
fi

# --- end of screens ------------------------------------------------------------

# The About box's system information (its button's Alt key).
focus_window "$MAIN_TITLE"
xdotool key --clearmodifiers alt+h
sleep 0.2
xdotool key Down Down Return
wait_window "关于" >/dev/null
xdotool key --clearmodifiers alt+s
wait_window "系统信息" >/dev/null
shot system_info
xdotool key Escape Escape
