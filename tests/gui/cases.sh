# The GUI test cases, sourced by tests/gui/run (which defines the helpers).
# Each case prints what went wrong and returns non-zero on failure.
# shellcheck shell=bash

GUI_TESTS="login_shows_main_window second_instance_is_refused wrong_password_and_validation \
saved_credentials closing_asks_first resizing_stops_at_the_minimum \
splitters_clamp_and_move_the_notice_page refused_relogin_keeps_the_main_window \
declining_to_reconnect_ends_with_code_1 \
web_tree_shows_the_fixed_nodes_and_own_folders opening_folders_lists_them_under_their_path \
a_folder_of_three_pages_lists_every_row_and_sorts new_folder_is_renamed_on_the_service \
delete_with_yes_removes_the_file \
file_context_menu_opens_and_runs_its_command friends_node_lists_demo2_with_the_memo \
ctrl_d_downloads_two_files_to_completion stop_and_restart_resumes_a_download \
lowering_the_limit_stops_the_other_slots closing_the_download_window_asks_first \
web_rows_dragged_onto_the_download_window_are_downloaded \
dropped_and_picked_files_upload_to_completion stop_and_restart_resumes_an_upload \
closing_the_upload_window_asks_first"

# Demo member seeded by the local service.
MEMBER=demo1
PASSWORD=demo1234

# start_logged_in DIR: starts the program there and logs in with the demo
# member by typing; returns once the main window shows (note box declined).
start_logged_in() {
  start_program "$1" || { echo "the login window did not appear"; return 1; }
  login "$MEMBER" "$PASSWORD" || { echo "typing into the login window failed"; return 1; }
  probe wait-control "$TITLE" 3505 20000 || { echo "the main window did not appear"; return 1; }
  dismiss_note_box
}

test_login_shows_main_window() {
  local dir
  dir="$(new_workdir)"
  start_program "$dir" || { echo "the login window did not appear"; return 1; }
  shot login
  login "$MEMBER" "$PASSWORD" || { echo "typing into the login window failed"; return 1; }
  probe wait-control "$TITLE" 3505 20000 || { echo "the main window did not appear"; return 1; }
  dismiss_note_box
  shot main
  # The member line "<id>님" is drawn at (30, 70) of the client area.
  local dark
  dark="$(dark_pixels $((CX + 28)) $((CY + 68)) 80 16 "$artifacts/main.png")"
  [ "${dark:-0}" -gt 20 ] || { echo "no member line drawn at (30, 70) ($dark dark pixels)"; return 1; }
  local size
  size="$(probe windows | awk -F'\t' -v t="$TITLE" 'index($4, t) == 1 { print $3 }' | head -n1)"
  [ "$size" = "888x740" ] || { echo "main window outer size $size, wanted 888x740"; return 1; }
  config_text "$dir" | grep -qx 'UserPwSave=0' || { echo "UserPwSave=0 not written"; return 1; }
}

test_second_instance_is_refused() {
  local dir first second
  dir="$(new_workdir)"
  start_program "$dir" || { echo "the first instance did not start"; return 1; }
  first=$PROGRAM_PID
  (cd "$dir" && exec wine "$PROGRAM") &
  second=$!
  WINE_ENV_SPAWNED+=("$second")
  # No owner and the system's default caption.
  expect_box "*" "폼베일2.0b가 이미 실행중입니다!     " || return 1
  probe answer 1 >/dev/null
  PROGRAM_PID=$second
  local code=0
  wait_program 10 || code=$?
  PROGRAM_PID=$first
  # -1 as an exit status reads 255 on this side.
  [ "$code" -eq 255 ] || { echo "second instance exited with $code, wanted -1 (255)"; return 1; }
  kill -0 "$first" 2>/dev/null || { echo "the first instance ended too"; return 1; }
}

test_wrong_password_and_validation() {
  local dir
  dir="$(new_workdir)"
  start_program "$dir" || { echo "the login window did not appear"; return 1; }
  login abc "$PASSWORD" || return 1
  expect_box "Error" "아이디을 입력하여주세요!     " || return 1
  probe answer 1 >/dev/null
  sleep 0.3
  probe settext "$TITLE" 2005 "" >/dev/null
  probe settext "$TITLE" 2006 "" >/dev/null
  login "$MEMBER" wrongpw || { echo "typing failed"; return 1; }
  expect_box "Error" "아이디 패스워드 오류 또는 네트워크 오류.     " || return 1
  shot wrong_password screen
  probe answer 1 >/dev/null
  sleep 0.3
  # Back to the login controls, ready for another try.
  probe controls "$TITLE" | grep -q $'^2005\tEdit\tvisible' || { echo "id edit not shown again"; return 1; }
  kill -0 "$PROGRAM_PID" 2>/dev/null || { echo "the program ended"; return 1; }
}

test_saved_credentials() {
  local dir
  dir="$(new_workdir)"
  start_program "$dir" || { echo "the login window did not appear"; return 1; }
  click 97 157  # the save box
  sleep 0.2
  probe controls "$TITLE" | grep -q $'^2007\tButton+checked' || { echo "save box not checked"; return 1; }
  login "$MEMBER" "$PASSWORD" || return 1
  probe wait-control "$TITLE" 3505 20000 || { echo "the main window did not appear"; return 1; }
  local config
  config="$(config_text "$dir")"
  printf '%s\n' "$config" | grep -qx 'UserPwSave=1' || { echo "UserPwSave=1 missing: $config"; return 1; }
  printf '%s\n' "$config" | grep -qx "UserId=$MEMBER" || { echo "UserId missing: $config"; return 1; }
  # "demo1234", a zero byte and zero bytes up to 16, two upper-case hex digits each.
  printf '%s\n' "$config" | grep -qx 'UserPw=64656D6F313233340000000000000000' ||
    { echo "UserPw wrong: $config"; return 1; }
  # A second start shows the saved id and password with the box checked.
  dismiss_note_box
  probe close "$TITLE" >/dev/null
  expect_box "종료" "프로그램을 종료하시겠습니까?     " || return 1
  probe answer 6 >/dev/null
  wait_program 10
  start_program "$dir" || { echo "the second start failed"; return 1; }
  [ "$(control_text 2005)" = "$MEMBER" ] || { echo "saved id not shown"; return 1; }
  [ "$(control_text 2006)" = "$PASSWORD" ] || { echo "saved password not restored"; return 1; }
  probe controls "$TITLE" | grep -q $'^2007\tButton+checked' || { echo "save box not checked"; return 1; }
  shot login_saved
}

test_closing_asks_first() {
  local dir
  dir="$(new_workdir)"
  start_logged_in "$dir" || return 1
  # Escape in the window asks; No keeps the program running.
  click 600 300
  xdotool key Escape
  expect_box "종료" "프로그램을 종료하시겠습니까?     " || return 1
  shot close_question screen
  probe answer 7 >/dev/null
  sleep 0.5
  kill -0 "$PROGRAM_PID" 2>/dev/null || { echo "the program ended after No"; return 1; }
  # The end button (bottom right) asks the same; Yes ends with exit code 1.
  click $((880 - 87 + 20)) $((706 - 30 + 10))
  expect_box "종료" "프로그램을 종료하시겠습니까?     " || return 1
  probe answer 6 >/dev/null
  local code=0
  wait_program 10 || code=$?
  [ "$code" -eq 1 ] || { echo "exit code $code after Yes, wanted 1"; return 1; }
}

# window_size: "WxH" of the program's window.
window_size() {
  probe windows | awk -F'\t' -v t="$TITLE" 'index($4, t) == 1 { print $3 }' | head -n1
}

# drag_corner DX DY: drags the bottom-right corner of the window by (DX, DY).
drag_corner() {
  local w h
  IFS=x read -r w h < <(window_size)
  xdotool mousemove --window "$XID" $((w - 2)) $((h - 2)) mousedown 1
  sleep 0.3
  xdotool mousemove_relative --sync -- "$1" "$2"
  sleep 0.3
  xdotool mouseup 1
  sleep 0.5
}

test_resizing_stops_at_the_minimum() {
  local dir size
  dir="$(new_workdir)"
  start_logged_in "$dir" || return 1
  drag_corner 120 60
  size="$(window_size)"
  [ "$size" = "1008x800" ] || { echo "after enlarging: $size, wanted 1008x800"; return 1; }
  shot main_enlarged
  drag_corner -400 -300
  size="$(window_size)"
  [ "$size" = "888x740" ] || { echo "after shrinking: $size, wanted 888x740"; return 1; }
}

# The notice page's "x,y,w,h" (its frame when no browser could be embedded).
notice_page_place() {
  probe controls "$TITLE" | awk -F'\t' '$2 == "PomvaleWebPage" { print $5 }' | head -n1
}

# drag_from X1 Y1 X2 Y2: presses at one client point and releases at another.
drag_from() {
  xdotool mousemove --window "$XID" $((CX + $1)) $((CY + $2)) mousedown 1
  sleep 0.3
  xdotool mousemove --window "$XID" $((CX + ($1 + $3) / 2)) $((CY + ($2 + $4) / 2))
  sleep 0.1
  xdotool mousemove --window "$XID" $((CX + $3)) $((CY + $4))
  sleep 0.3
  xdotool mouseup 1
  sleep 0.5
}

test_splitters_clamp_and_move_the_notice_page() {
  local dir place
  dir="$(new_workdir)"
  start_logged_in "$dir" || return 1
  place="$(notice_page_place)"
  [ -n "$place" ] || { echo "no notice page (browser not embedded)"; return 0; }
  # The vertical bar (x 230..236) dropped at x 50 lands at 120; the page
  # follows: left 120 + 8, at left + 4, its right edge unchanged.
  drag_from 233 300 50 300
  place="$(notice_page_place)"
  IFS=, read -r x y w h <<<"$place"
  [ "$x" -eq 132 ] || { echo "page at x $x after the vertical drop, wanted 132 ($place)"; return 1; }
  # The horizontal bar (y 365..375) dropped at y 150 lands at 250: the page's
  # height becomes 250 - 95 - 2.
  drag_from 500 370 500 150
  place="$(notice_page_place)"
  IFS=, read -r x y w h <<<"$place"
  [ "$h" -eq 153 ] || { echo "page $h high after the horizontal drop, wanted 153 ($place)"; return 1; }
  shot splitters
}

# service_control LINE: one command on the service's control endpoint; true on "ok".
service_control() {
  local reply
  exec 3<>/dev/tcp/127.0.0.1/7999 || return 1
  printf '%s\n' "$1" >&3
  read -r -t 5 reply <&3
  exec 3<&-
  [[ "$reply" == ok* ]] || { echo "control \"$1\" answered \"$reply\""; return 1; }
}

# As the probe prints it (line breaks escaped).
LOST_QUESTION='통신장애로 인하여 접속이 종료 되었습니다. \r\n\r\n 재 접속 하시겠습니까?     '

# The service drops the live connection; the member reconnects, and the
# server refuses that login: only the message shows, the main window stays
# and the login controls stay hidden.
test_refused_relogin_keeps_the_main_window() {
  local dir
  dir="$(new_workdir)"
  service_control "clear all" || return 1
  start_logged_in "$dir" || return 1
  service_control "once login_result 3" || return 1
  service_control "once drop_logins 1" || return 1
  expect_box "Error" "$LOST_QUESTION" || return 1
  probe answer 1 >/dev/null  # OK: reconnect
  expect_box "Error" "정액제 접속을 초과했습니다.     " || return 1
  shot refused_relogin screen
  probe answer 1 >/dev/null
  sleep 0.5
  kill -0 "$PROGRAM_PID" 2>/dev/null || { echo "the program ended"; return 1; }
  local controls
  controls="$(probe controls "$TITLE")"
  printf '%s\n' "$controls" | grep -q $'^2005\tEdit\thidden' ||
    { echo "the login id edit came back: $(printf '%s\n' "$controls" | grep $'^2005')"; return 1; }
  printf '%s\n' "$controls" | grep -q $'^3505\tEdit\tvisible' || { echo "the search edit is gone"; return 1; }
  [ "$(window_size)" = "888x740" ] || { echo "the window is no longer the main window"; return 1; }
  shot refused_relogin_main
}

# Declining the reconnect question ends the program as a member's close does.
test_declining_to_reconnect_ends_with_code_1() {
  local dir code=0
  dir="$(new_workdir)"
  service_control "clear all" || return 1
  start_logged_in "$dir" || return 1
  service_control "once drop_logins 1" || return 1
  expect_box "Error" "$LOST_QUESTION" || return 1
  probe answer 2 >/dev/null  # Cancel
  wait_program 10 || code=$?
  [ "$code" -eq 1 ] || { echo "exit code $code after Cancel, wanted 1"; return 1; }
}

# --- web storage: the folder tree (191) and the file list (113) -------------

WEB_TREE=191
WEB_LIST=113

# tree_items: "depth<TAB>flags<TAB>label" per node, depth first.
tree_items() { probe tree "$TITLE" $WEB_TREE; }
# list_rows: "index<TAB>flags<TAB>name<TAB>size<TAB>state<TAB>date<TAB>downloads" per row.
list_rows() { probe rows "$TITLE" $WEB_LIST; }
# row_of NAME: the index of the row showing NAME.
row_of() { list_rows | awk -F'\t' -v n="$1" '$3 == n { print $1; exit }'; }
# list_caption: the folder path shown above the list.
list_caption() {
  probe controls "$TITLE" | awk -F'\t' '$2 == "Static" && $3 == "visible" && index($4, "폼베일/") == 1 { print $4 }'
}
# label_edit: the text of the list's label edit while one is open.
label_edit() { probe controls "$TITLE" | awk -F'\t' '$1 == 0 && $2 == "Edit" && $3 == "visible" { print $4 }'; }

# until_true TRIES CMD...: runs CMD every 0.2 s until it succeeds, TRIES times at most.
until_true() {
  local tries="$1" i
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}
has_node() { tree_items | cut -f3 | grep -qxF -- "$1"; }
has_row() { [ -n "$(row_of "$1")" ]; }
lacks_row() { [ -z "$(row_of "$1")" ]; }
caption_is() { [ "$(list_caption)" = "$1" ]; }
label_edit_is() { [ "$(label_edit)" = "$1" ]; }
# Waits pass these functions rather than "$(...)", which would be read once.
first_row_is() { [ "$(list_rows | head -n1 | cut -f3)" = "$1" ]; }
selected_row_is() { [ "$(list_rows | awk -F'\t' '$2 == "selected" { print $3 }')" = "$1" ]; }

# click_rect BUTTON "x y w h": clicks the middle of a client rectangle.
click_rect() {
  local x y w h
  read -r x y w h <<<"$2"
  [ -n "$h" ] || return 1
  xdotool mousemove --window "$XID" $((CX + x + w / 2)) $((CY + y + h / 2)) click "$1"
}
# click_node LABEL [BUTTON]: clicks a tree node's label.
click_node() { click_rect "${2:-1}" "$(probe node-rect "$TITLE" $WEB_TREE "$1")"; }
# click_row NAME [BUTTON]: clicks the name of the row showing NAME.
click_row() {
  local row
  row="$(row_of "$1")"
  [ -n "$row" ] || return 1
  click_rect "${2:-1}" "$(probe row-rect "$TITLE" $WEB_LIST "$row")"
}

# open_folder LABEL ROW: clicks a tree node and waits until its listing shows ROW.
open_folder() {
  click_node "$1" || { echo "no tree node \"$1\": $(tree_items | cut -f3 | tr '\n' '|')"; return 1; }
  until_true 50 has_row "$2" || { echo "\"$1\" did not list \"$2\": $(list_rows | cut -f3 | tr '\n' '|')"; return 1; }
}

# The service's own record: how many items of OWNER below PARENT bear NAME
# (names are stored as CP949 bytes).
service_items_named() {
  local hex
  hex="$(printf '%s' "$3" | iconv -f UTF-8 -t CP949 | od -An -tx1 | tr -d ' \n' | tr a-f A-F)"
  sqlite3 "file:$SERVICE_DATA/service.sqlite?mode=ro" \
    "SELECT count(*) FROM items WHERE owner = '$1' AND parent_id = $2 AND hex(name) = '$hex'"
}
# service_folder_id OWNER PARENT NAME: the id of a folder, empty when there is none.
service_folder_id() {
  local hex
  hex="$(printf '%s' "$3" | iconv -f UTF-8 -t CP949 | od -An -tx1 | tr -d ' \n' | tr a-f A-F)"
  sqlite3 "file:$SERVICE_DATA/service.sqlite?mode=ro" \
    "SELECT id FROM items WHERE owner = '$1' AND parent_id = $2 AND kind = 'd' AND hex(name) = '$hex'"
}
# logged_request TEXT...: a line of the service's request log holding every TEXT
# (true when the service keeps no log).
logged_request() {
  local log="$SERVICE_DATA/requests.jsonl" line
  [ -f "$log" ] || return 0
  line="$(grep -F -- "$1" "$log")"
  shift
  for text in "$@"; do line="$(printf '%s\n' "$line" | grep -F -- "$text")"; done
  [ -n "$line" ]
}

# shot_menu NAME: saves the pop-up menu shown (its own X window) as NAME.png.
shot_menu() {
  local geometry x y w h id
  geometry="$(probe menus | awk -F'\t' '$1 == "menu" { print $2; exit }')"
  IFS=, read -r x y w h <<<"$geometry"
  for id in $(xdotool search --onlyvisible --class pomvale 2>/dev/null); do
    if xdotool getwindowgeometry "$id" | grep -q "Position: $x,$y " &&
      xdotool getwindowgeometry "$id" | grep -q "Geometry: ${w}x$h"; then
      xwd -silent -id "$id" -out "$work/menu.xwd" && convert "xwd:$work/menu.xwd" "$artifacts/$1.png"
      return
    fi
  done
}

test_web_tree_shows_the_fixed_nodes_and_own_folders() {
  local dir items
  dir="$(new_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 has_node 사진 || { echo "the own folders never appeared: $(tree_items)"; return 1; }
  items="$(tree_items)"
  shot tree
  # The root, "내웹폴더" below it with the member's top folders, then "내친구".
  printf '%s\n' "$items" | grep -qx $'0\t[a-z,]*\t폼베일' || { echo "no root node: $items"; return 1; }
  [ "$(printf '%s\n' "$items" | awk -F'\t' '$1 == 1 { print $3 }' | tr '\n' '|')" = "내웹폴더|내친구|" ] ||
    { echo "the root's children are not 내웹폴더 then 내친구: $items"; return 1; }
  local folder
  for folder in 사진 문서 동영상 많은항목; do
    # Depth 2 and before "내친구": a child of "내웹폴더".
    printf '%s\n' "$items" | awk -F'\t' '$3 == "내친구" { exit } { print }' | grep -qx $'2\t[a-z,-]*\t'"$folder" ||
      { echo "\"$folder\" is not below 내웹폴더: $items"; return 1; }
  done
  printf '%s\n' "$items" | grep -q $'^1\tselected[a-z,]*\t내웹폴더$' || { echo "내웹폴더 is not selected: $items"; return 1; }
}

test_opening_folders_lists_them_under_their_path() {
  local dir rows
  dir="$(new_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 has_node 사진 || { echo "the own folders never appeared"; return 1; }
  open_folder 사진 여행 || return 1
  until_true 25 caption_is "폼베일/내웹폴더/사진/" || { echo "caption \"$(list_caption)\" after 사진"; return 1; }
  # A folder row and a file row with the five columns' texts.
  rows="$(list_rows)"
  printf '%s\n' "$rows" | grep -qE $'^[0-9]+\t[a-z-]+\t여행\t\t공개\t[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}\t$' ||
    { echo "no folder row 여행: $rows"; return 1; }
  printf '%s\n' "$rows" | grep -qE $'^[0-9]+\t[a-z-]+\t가족\\.jpg\t3MB\\[완료\\]\t공개\t30일\t0$' ||
    { echo "no file row 가족.jpg: $rows"; return 1; }
  [ "$(printf '%s\n' "$rows" | wc -l)" -eq 2 ] || { echo "사진 lists more than its two items: $rows"; return 1; }
  shot list_photos
  # The tree grew 사진's sub-folder; opening it lists 제주도 only.
  until_true 25 has_node 여행 || { echo "여행 did not appear in the tree"; return 1; }
  open_folder 여행 제주도 || return 1
  until_true 25 caption_is "폼베일/내웹폴더/사진/여행/" || { echo "caption \"$(list_caption)\" after 여행"; return 1; }
  rows="$(list_rows)"
  [ "$(printf '%s\n' "$rows" | cut -f3)" = 제주도 ] || { echo "여행 lists: $rows"; return 1; }
  shot list_trip
  # The caption is drawn on the header: dark text pixels at its place.
  local dark
  dark="$(dark_pixels $((CX + 241)) $((CY + 100)) 160 16 "$artifacts/list_trip.png")"
  [ "${dark:-0}" -gt 40 ] || { echo "the caption path is not drawn ($dark dark pixels)"; return 1; }
}

# 많은항목 holds 75 files, listed in three pages: every row arrives, in the
# listing's order, and a click on the size column refills them largest first.
test_a_folder_of_three_pages_lists_every_row_and_sorts() {
  local dir names expected
  dir="$(new_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 has_node 많은항목 || { echo "the own folders never appeared"; return 1; }
  open_folder 많은항목 항목075.txt || return 1
  expected="$(for ((i = 1; i <= 75; i++)); do printf '항목%03d.txt\n' "$i"; done)"
  names="$(list_rows | cut -f3)"
  [ "$names" = "$expected" ] || { echo "rows: $(printf '%s\n' "$names" | tr '\n' '|')"; return 1; }
  # Sizes 101..175 bytes: every row shows 0KB, stored in full, kept 30 days.
  [ "$(list_rows | cut -f4-7 | sort -u)" = $'0KB[완료]\t비공개\t30일\t0' ] ||
    { echo "row texts: $(list_rows | cut -f4-7 | sort -u | tr '\n' '|')"; return 1; }
  shot list_many
  click 600 127  # the header of the size column
  until_true 25 first_row_is 항목075.txt ||
    { echo "after the size click the first row is $(list_rows | head -n1 | cut -f3)"; return 1; }
  names="$(list_rows | cut -f3)"
  [ "$names" = "$(printf '%s\n' "$expected" | tac)" ] ||
    { echo "sorted rows: $(printf '%s\n' "$names" | tr '\n' '|')"; return 1; }
}

test_new_folder_is_renamed_on_the_service() {
  local dir name parent
  dir="$(new_workdir)"
  name="가을여행$RANDOM"
  start_logged_in "$dir" || return 1
  until_true 50 has_node 사진 || { echo "the own folders never appeared"; return 1; }
  open_folder 사진 여행 || return 1
  parent="$(service_folder_id "$MEMBER" 0 사진)"
  # Into the list's empty part, then Ctrl+N: the new row opens for renaming.
  click 500 330
  sleep 0.3
  xdotool key ctrl+n
  until_true 40 label_edit_is 새폴더 || { echo "no label edit with 새폴더 (\"$(label_edit)\"): $(list_rows)"; return 1; }
  [ "$(service_items_named "$MEMBER" "$parent" 새폴더)" -eq 1 ] || { echo "the service holds no 새폴더 in 사진"; return 1; }
  shot new_folder
  xdotool type --delay 30 -- "$name"
  until_true 25 label_edit_is "$name" || { echo "typed \"$(label_edit)\", wanted \"$name\""; return 1; }
  xdotool key Return
  until_true 25 has_row "$name" || { echo "no row $name: $(list_rows)"; return 1; }
  lacks_row 새폴더 || { echo "새폴더 is still listed"; return 1; }
  service_holds_one() { [ "$(service_items_named "$MEMBER" "$parent" "$name")" -eq 1 ]; }
  until_true 25 service_holds_one ||
    { echo "the service does not hold $name in 사진"; return 1; }
  [ "$(service_items_named "$MEMBER" "$parent" 새폴더)" -eq 0 ] || { echo "the service still holds 새폴더"; return 1; }
  logged_request '"RenameFolderRequest"' "\"name\":\"$name\"" || { echo "no RenameFolderRequest for $name logged"; return 1; }
  until_true 25 has_node "$name" || { echo "the tree node was not renamed"; return 1; }
}

test_delete_with_yes_removes_the_file() {
  local dir folder
  dir="$(new_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 has_node 문서 || { echo "the own folders never appeared"; return 1; }
  open_folder 문서 보고서.doc || return 1
  folder="$(service_folder_id "$MEMBER" 0 문서)"
  [ "$(service_items_named "$MEMBER" "$folder" 보고서.doc)" -eq 1 ] || { echo "the service lacks 보고서.doc"; return 1; }
  shot list_documents
  click_row 보고서.doc || return 1
  until_true 25 selected_row_is 보고서.doc ||
    { echo "보고서.doc is not selected: $(list_rows)"; return 1; }
  xdotool key Delete
  expect_box "Pomvale" '폴더/파일을 삭제 하시겠습니까?\r\n\r\n[위험]삭제한 파일은 복구할수 없습니다.     ' || return 1
  probe answer 6 >/dev/null
  until_true 25 lacks_row 보고서.doc || { echo "the row stayed: $(list_rows)"; return 1; }
  # Only that file went.
  has_row 안녕.txt && has_row 미완성.zip || { echo "other rows went too: $(list_rows)"; return 1; }
  [ "$(service_items_named "$MEMBER" "$folder" 보고서.doc)" -eq 0 ] || { echo "the service still holds 보고서.doc"; return 1; }
  [ "$(service_items_named "$MEMBER" "$folder" 안녕.txt)" -eq 1 ] || { echo "the service lost 안녕.txt"; return 1; }
}

# The list's menu over a file: it opens at the cursor and its commands reach
# the list ("이름바꾸기(F2)", the ninth item, opens the file's name for editing).
test_file_context_menu_opens_and_runs_its_command() {
  local dir menu i
  dir="$(new_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 has_node 문서 || { echo "the own folders never appeared"; return 1; }
  open_folder 문서 안녕.txt || return 1
  click_row 안녕.txt 3 || return 1
  until_true 25 probe menus >/dev/null || { echo "no pop-up menu after the right click"; return 1; }
  menu="$(probe menus)"
  [ "$(printf '%s\n' "$menu" | grep -c '^menu')" -eq 1 ] || { echo "menus: $menu"; return 1; }
  shot_menu file_menu
  shot file_menu_window
  # Fourteen items and three separators: far taller than the friend list's three items.
  local h
  h="$(printf '%s\n' "$menu" | awk -F'\t' '{ split($2, r, ","); print r[4]; exit }')"
  [ "${h:-0}" -gt 200 ] || { echo "the menu is $h pixels high: not the file list's menu"; return 1; }
  for ((i = 0; i < 9; i++)); do xdotool key Down; done
  sleep 0.2
  xdotool key Return
  until_true 25 label_edit_is 안녕.txt || { echo "the menu's rename did not open the name (\"$(label_edit)\")"; return 1; }
  probe menus >/dev/null && { echo "the menu stayed open"; return 1; }
  # Escape cancels the edit: nothing is renamed.
  xdotool key Escape
  until_true 25 test -z "$(label_edit)" || { echo "the label edit stayed open"; return 1; }
  has_row 안녕.txt || { echo "the row lost its name: $(list_rows)"; return 1; }
  if [ -f "$SERVICE_DATA/requests.jsonl" ] && grep -qF '"RenameFileRequest"' "$SERVICE_DATA/requests.jsonl"; then
    echo "a cancelled edit sent a rename"
    return 1
  fi
}

test_friends_node_lists_demo2_with_the_memo() {
  local dir items
  dir="$(new_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 has_node 내친구 || { echo "no 내친구 node"; return 1; }
  click_node 내친구 || return 1
  # demo2 (display name 데모이) with the memo the member keeps about them.
  until_true 50 has_node "데모이(대학 동기)" || { echo "no friend node for demo2: $(tree_items)"; return 1; }
  items="$(tree_items)"
  printf '%s\n' "$items" | awk -F'\t' 'f && $1 <= 1 { exit } f { print } $3 == "내친구" { f = 1 }' |
    grep -qx $'2\t[a-z,-]*\t데모이(대학 동기)' || { echo "demo2 is not below 내친구: $items"; return 1; }
  logged_request '"FriendListRequest"' || { echo "no FriendListRequest logged"; return 1; }
  shot friends
  # Opening the friend lists demo2's top folder.
  open_folder "데모이(대학 동기)" 공유자료 || return 1
  until_true 25 caption_is "폼베일/내친구/데모이(대학 동기)/" || { echo "caption \"$(list_caption)\""; return 1; }
  logged_request '"MemberFolderListRequest"' '"friendId":"demo2"' || { echo "no listing of demo2 logged"; return 1; }
  shot friend_folder
}

# --- downloads: the download window ("폼베일 다운로드", list 190) -----------

DOWN_TITLE="폼베일 다운로드"
DOWN_LIST=190

# down_rows: "index<TAB>flags<TAB>name<TAB>size<TAB>progress<TAB>speed<TAB>state" per row.
down_rows() { probe rows "$DOWN_TITLE" $DOWN_LIST; }
# down_state NAME: the state text of the row showing NAME.
down_state() { down_rows | awk -F'\t' -v n="$1" '$3 == n { print $7; exit }'; }
down_state_is() { [ "$(down_state "$1")" = "$2" ]; }
# A state text starting with the given text (the list may hold more).
# down_count_is STATE N: N rows show STATE.
down_count_is() { [ "$(down_rows | awk -F'\t' -v s="$1" '$7 == s' | wc -l)" -eq "$2" ]; }
# selected_count_is N: N rows of the web file list are selected.
selected_count_is() { [ "$(list_rows | awk -F'\t' '$2 == "selected"' | wc -l)" -eq "$1" ]; }
# storage_requests: how many download requests the storage server logged.
storage_requests() { grep -cF '"server":"storage"' "$SERVICE_DATA/requests.jsonl"; }
more_storage_requests_than() { [ "$(storage_requests)" -gt "$1" ]; }

# down_workdir: a working directory whose download folder is DOWN (a folder
# of it, reached through Wine's Z: drive) and that starts queued downloads
# at once ("AotoDownLoad").
down_workdir() {
  local dir
  dir="$(new_workdir)"
  mkdir -p "$dir/down"
  printf '[Config]\r\nBasicFolder=Z:%s\r\nAotoDownLoad=1\r\n' "$(printf '%s' "$dir/down" | tr / '\\')" \
    >>"$dir/PomConfig.ini"
  echo "$dir"
}

# The download window's client origin, for clicks in it: DCX, DCY, DXID.
find_download_window() {
  probe wait-window "$DOWN_TITLE" 8000 >/dev/null || { echo "the download window did not open"; return 1; }
  DXID="$(timeout 10 xdotool search --sync --limit 1 --name "^$DOWN_TITLE")" || return 1
  read -r DCX DCY _ _ < <(probe client "$DOWN_TITLE") || return 1
}
down_click() { xdotool mousemove --window "$DXID" $((DCX + $1)) $((DCY + $2)) click "${3:-1}"; }
# down_click_row NAME [BUTTON]
down_click_row() {
  local row x y w h
  row="$(down_rows | awk -F'\t' -v n="$1" '$3 == n { print $1; exit }')"
  [ -n "$row" ] || return 1
  read -r x y w h <<<"$(probe row-rect "$DOWN_TITLE" $DOWN_LIST "$row")"
  [ -n "$h" ] || return 1
  xdotool mousemove --window "$DXID" $((DCX + x + w / 2)) $((DCY + y + h / 2)) click "${2:-1}"
}
# The service's body file of demo1's NAME below the folder FOLDER.
service_body() {
  local folder id
  folder="$(service_folder_id "$MEMBER" 0 "$1")"
  local hex
  hex="$(printf '%s' "$2" | iconv -f UTF-8 -t CP949 | od -An -tx1 | tr -d ' \n' | tr a-f A-F)"
  id="$(sqlite3 "file:$SERVICE_DATA/service.sqlite?mode=ro" \
    "SELECT id FROM items WHERE owner = '$MEMBER' AND parent_id = $folder AND hex(name) = '$hex'")"
  echo "$SERVICE_DATA/bodies/$id"
}
# slow_storage RATE: downloads come from the storage server (the peer list
# answers 404) at RATE bytes per second; fast_storage undoes it.
slow_storage() {
  service_control "set peer_list 404" && service_control "set download_rate $1"
}
fast_storage() {
  service_control "clear download_rate" && service_control "clear peer_list"
}
# down_shot NAME: the download window as artifacts/gui/NAME.png.
down_shot() {
  local saved="$XID"
  XID="$DXID"
  shot "$1"
  XID="$saved"
}

# Two files chosen in the web file list and Ctrl+D: the download window
# opens, runs both and shows them complete; they are the service's bytes.
test_ctrl_d_downloads_two_files_to_completion() {
  local dir
  dir="$(down_workdir)"
  start_logged_in "$dir" || return 1
  # 동영상: no other case changes its files on the service.
  until_true 50 has_node 동영상 || { echo "the own folders never appeared"; return 1; }
  open_folder 동영상 보호영상.avi || return 1
  click_row 큰파일.avi || return 1
  xdotool keydown ctrl
  click_row 보호영상.avi
  xdotool keyup ctrl
  until_true 25 selected_count_is 2 || { echo "two rows are not selected: $(list_rows)"; return 1; }
  xdotool key ctrl+d
  find_download_window || return 1
  until_true 50 down_state_is 큰파일.avi 완료 || { echo "큰파일.avi: $(down_rows)"; return 1; }
  until_true 25 down_state_is 보호영상.avi 완료 || { echo "보호영상.avi: $(down_rows)"; return 1; }
  down_shot download_complete
  cmp -s "$dir/down/큰파일.avi" "$(service_body 동영상 큰파일.avi)" || { echo "큰파일.avi differs from the service's"; return 1; }
  cmp -s "$dir/down/보호영상.avi" "$(service_body 동영상 보호영상.avi)" || { echo "보호영상.avi differs from the service's"; return 1; }
  logged_request '"TransferEnded"' || { echo "no TransferEnded logged"; return 1; }
}

# A slow transfer: the member's stop (Ctrl+S) ends it, and the queue takes
# it up again from the bytes on disk; the cancel/restart toggle (Ctrl+C)
# holds it until pressed again, when it resumes and completes.
test_stop_and_restart_resumes_a_download() {
  local dir size requests
  dir="$(down_workdir)"
  slow_storage 400000 || return 1
  start_logged_in "$dir" || return 1
  until_true 50 has_node 동영상 || { echo "the own folders never appeared"; return 1; }
  open_folder 동영상 큰파일.avi || return 1
  click_row 큰파일.avi || return 1
  xdotool key ctrl+d
  find_download_window || return 1
  until_true 50 down_state_is 큰파일.avi 전송 || { echo "never transferring: $(down_rows)"; return 1; }
  sleep 2
  down_shot download_mid_transfer
  requests="$(storage_requests)"
  down_click_row 큰파일.avi || { echo "the row could not be clicked: $(down_rows)"; return 1; }
  xdotool key ctrl+s
  # A stopped job is eligible again: it is asked for anew, from where it stood.
  until_true 50 more_storage_requests_than "$requests" ||
    { echo "the stopped job did not resume ($requests requests before): $(down_rows)"; grep -F storage "$SERVICE_DATA/requests.jsonl" | tail -n3; return 1; }
  grep -F '"server":"storage"' "$SERVICE_DATA/requests.jsonl" | tail -n1 | grep -qvE '"offset":0[,}]' ||
    { echo "the resumed request starts at 0"; return 1; }
  until_true 50 down_state_is 큰파일.avi 전송 || { echo "not transferring again: $(down_rows)"; return 1; }
  sleep 1
  xdotool key ctrl+c
  until_true 25 down_state_is 큰파일.avi 취소 || { echo "not cancelled: $(down_rows)"; return 1; }
  size="$(stat -c %s "$dir/down/큰파일.avi")"
  [ "$size" -gt 0 ] && [ "$size" -lt 12582912 ] || { echo "after the cancel the file has $size bytes"; return 1; }
  sleep 1
  [ "$(stat -c %s "$dir/down/큰파일.avi")" = "$size" ] || { echo "a cancelled download kept growing"; return 1; }
  service_control "clear download_rate" || return 1
  xdotool key ctrl+c
  until_true 75 down_state_is 큰파일.avi 완료 || { echo "never complete after the restart: $(down_rows)"; return 1; }
  cmp -s "$dir/down/큰파일.avi" "$(service_body 동영상 큰파일.avi)" || { echo "the resumed file differs"; return 1; }
  grep -F '"server":"storage"' "$SERVICE_DATA/requests.jsonl" | grep -qF "\"offset\":$size" ||
    { echo "no request resumed at $size"; return 1; }
  fast_storage
}

# Three transfers at once, then the limit lowered to 1 in the combo box:
# the jobs on the second and third slot stop, and DownLoadCount is saved.
test_lowering_the_limit_stops_the_other_slots() {
  local dir running
  dir="$(down_workdir)"
  printf 'DownLoadCount=3\r\n' >>"$dir/PomConfig.ini"
  slow_storage 1000 || return 1
  start_logged_in "$dir" || return 1
  until_true 50 has_node 동영상 || { echo "the own folders never appeared"; return 1; }
  open_folder 동영상 큰파일.avi || return 1
  click_row 큰파일.avi || return 1
  xdotool key ctrl+a ctrl+d
  find_download_window || return 1
  open_folder 내웹폴더 갂자료.txt || return 1
  click_row 갂자료.txt || return 1
  xdotool key ctrl+d
  find_download_window || return 1
  until_true 50 down_count_is 전송 3 ||
    { echo "three never ran at once: $(down_rows)"; return 1; }
  # The combo box (3011) at (629, 105): open it, pick "1".
  down_click 645 112 || return 1
  sleep 0.3
  xdotool key Home Return
  until_true 25 down_count_is 전송 1 ||
    { echo "more than one still runs: $(down_rows)"; return 1; }
  running="$(down_rows | awk -F'\t' '$7 == "중지"' | wc -l)"
  [ "$running" -eq 2 ] || { echo "$running rows stopped, wanted 2: $(down_rows)"; return 1; }
  config_text "$dir" | grep -qx 'DownLoadCount=1' || { echo "DownLoadCount not saved: $(config_text "$dir")"; return 1; }
  down_shot download_limit_lowered
  fast_storage
}

# Escape with a job under way asks first; Cancel keeps the window, OK closes it.
test_closing_the_download_window_asks_first() {
  local dir
  dir="$(down_workdir)"
  slow_storage 20000 || return 1
  start_logged_in "$dir" || return 1
  until_true 50 has_node 동영상 || { echo "the own folders never appeared"; return 1; }
  open_folder 동영상 큰파일.avi || return 1
  click_row 큰파일.avi || return 1
  xdotool key ctrl+d
  find_download_window || return 1
  until_true 50 down_state_is 큰파일.avi 전송 || { echo "never transferring: $(down_rows)"; return 1; }
  down_click 300 450 || return 1  # the list's empty part takes the focus
  xdotool key Escape
  expect_box "Pomvale" '다운로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ' || return 1
  probe answer 2 >/dev/null
  sleep 0.5
  probe wait-window "$DOWN_TITLE" 1000 >/dev/null || { echo "Cancel closed the window"; return 1; }
  down_click 300 450 || return 1
  xdotool key Escape
  expect_box "Pomvale" '다운로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ' || return 1
  probe answer 1 >/dev/null
  until_true 25 sh -c "! timeout 10 wine '$PROBE' wait-window '$DOWN_TITLE' 200 >/dev/null 2>&1" ||
    { echo "OK left the window open"; return 1; }
  fast_storage
}

# drag_to_screen X Y SX SY: presses at (X, Y) of the program's client area,
# moves past the drag threshold and on to (SX, SY) on the screen, releases.
drag_to_screen() {
  xdotool mousemove --window "$XID" $((CX + $1)) $((CY + $2)) mousedown 1
  sleep 0.3
  xdotool mousemove --window "$XID" $((CX + $1 + 12)) $((CY + $2 + 4))
  sleep 0.2
  xdotool mousemove $((($3 + CX + $1) / 2)) $((($4 + CY + $2) / 2))
  sleep 0.2
  xdotool mousemove "$3" "$4"
  sleep 0.3
  xdotool mouseup 1
  sleep 0.5
}
# The middle of a list row or a tree node, in the program's client area.
row_middle() {
  local x y w h
  read -r x y w h <<<"$(probe row-rect "$TITLE" $WEB_LIST "$(row_of "$1")")"
  [ -n "$h" ] && echo "$((x + w / 2)) $((y + h / 2))"
}
node_middle() {
  local x y w h
  read -r x y w h <<<"$(probe node-rect "$TITLE" $WEB_TREE "$1")"
  [ -n "$h" ] && echo "$((x + w / 2)) $((y + h / 2))"
}

# A web row dragged from the main window and released over the download
# window's list is downloaded; a tree folder released there, and rows
# released anywhere else, are not.
test_web_rows_dragged_onto_the_download_window_are_downloaded() {
  local dir ax ay sx sy
  dir="$(down_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 has_node 한페이지 || { echo "the own folders never appeared"; return 1; }
  open_folder 한페이지 쪽02.txt || return 1
  click_row 쪽01.txt || return 1
  xdotool key ctrl+d
  find_download_window || return 1
  until_true 50 down_state_is 쪽01.txt 완료 || { echo "쪽01.txt: $(down_rows)"; return 1; }
  # Side by side: the main window at the left edge, the download window's
  # list right of it.
  probe move "$TITLE" 0 0 >/dev/null && probe move "$DOWN_TITLE" 890 120 >/dev/null ||
    { echo "the windows could not be moved"; return 1; }
  sleep 0.5
  read -r sx sy _ _ < <(probe rect "$DOWN_TITLE")
  sx=$((sx + DCX + 150))
  sy=$((sy + DCY + 250))
  read -r ax ay <<<"$(row_middle 쪽02.txt)"
  [ -n "$ay" ] || { echo "no row 쪽02.txt"; return 1; }
  click "$ax" "$ay"
  until_true 25 selected_row_is 쪽02.txt || { echo "쪽02.txt is not selected: $(list_rows)"; return 1; }
  sleep 1
  drag_to_screen "$ax" "$ay" "$sx" "$sy"
  until_true 50 down_state_is 쪽02.txt 완료 || { echo "the dragged row: $(down_rows)"; return 1; }
  cmp -s "$dir/down/쪽02.txt" "$(service_body 한페이지 쪽02.txt)" || { echo "쪽02.txt differs from the service's"; return 1; }
  down_shot download_dragged_row
  # A folder of the tree (제주도, below 사진/여행) goes only to the local file
  # list: released over the download window it queues nothing.
  local rows
  rows="$(down_rows | wc -l)"
  open_folder 사진 여행 || return 1
  until_true 25 has_node 여행 || { echo "여행 did not appear in the tree"; return 1; }
  open_folder 여행 제주도 || return 1
  until_true 25 has_node 제주도 || { echo "제주도 did not appear in the tree"; return 1; }
  read -r ax ay <<<"$(node_middle 제주도)"
  [ -n "$ay" ] || { echo "no node 제주도"; return 1; }
  drag_to_screen "$ax" "$ay" "$sx" "$sy"
  sleep 1
  [ "$(down_rows | wc -l)" -eq "$rows" ] || { echo "the dropped folder queued: $(down_rows)"; return 1; }
  down_shot download_dragged_folder
  # Released anywhere else (the bottom band, beside the close button), a
  # drag of rows downloads nothing.
  until_true 50 has_row 바다.jpg || { echo "제주도 is not listed: $(list_rows)"; return 1; }
  read -r ax ay <<<"$(row_middle 바다.jpg)"
  [ -n "$ay" ] || return 1
  click "$ax" "$ay"
  sleep 1  # the press that starts the drag is no double click
  drag_to_screen "$ax" "$ay" $((CX + 700)) $((CY + 695))
  sleep 1
  [ "$(down_rows | wc -l)" -eq "$rows" ] || { echo "a drop elsewhere queued: $(down_rows)"; return 1; }
}

# --- uploads: the upload window ("폼베일 업로드", list 115) ----------------

UP_TITLE="폼베일 업로드"
UP_LIST=115
UP_STOP_QUESTION='현재 파일이 전송중입니다.\r\n\r\n전송을 중지 하시겠습니까?     '
UP_CLOSE_QUESTION='업로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     '

# up_rows: "index<TAB>flags<TAB>name<TAB>size<TAB>progress<TAB>speed<TAB>state" per row.
up_rows() { probe rows "$UP_TITLE" $UP_LIST; }
up_state_is() { [ "$(up_rows | awk -F'\t' -v n="$1" '$3 == n { print $7; exit }')" = "$2" ]; }
up_has_row() { up_rows | cut -f3 | grep -qxF -- "$1"; }

# The upload window's client origin, for clicks in it: UCX, UCY, UXID.
find_upload_window() {
  probe wait-window "$UP_TITLE" 8000 >/dev/null || { echo "the upload window did not open"; return 1; }
  UXID="$(timeout 10 xdotool search --sync --limit 1 --name "^$UP_TITLE")" || return 1
  read -r UCX UCY _ _ < <(probe client "$UP_TITLE") || return 1
}
up_click() { xdotool mousemove --window "$UXID" $((UCX + $1)) $((UCY + $2)) click "${3:-1}"; }
# up_click_button BITMAP: clicks the shown skinned button drawn with that bitmap
# (272 add files, 256 start, 255 stop).
up_click_button() {
  local place x y w h
  place="$(probe skin-buttons "$UP_TITLE" | awk -F'\t' -v b="$1" '$2 == b && $3 == "shown" { print $4; exit }')"
  IFS=, read -r x y w h <<<"$place"
  [ -n "$h" ] || { echo "no shown button $1: $(probe skin-buttons "$UP_TITLE")"; return 1; }
  up_click $((x + w / 2)) $((y + h / 2))
}
up_button_shown() {
  probe skin-buttons "$UP_TITLE" | awk -F'\t' -v b="$1" '$2 == b && $3 == "shown"' | grep -q .
}
up_shot() {
  local saved="$XID"
  XID="$UXID"
  shot "$1"
  XID="$saved"
}
# The path of a local file as the program sees it (Wine's Z: drive).
wine_path() { printf 'Z:%s' "$1" | tr / '\\'; }
# up_file PATH SIZE: a file of SIZE random bytes.
up_file() { head -c "$2" /dev/urandom >"$1"; }
# The service's body of the newest file of demo1 named NAME, wherever it is.
uploaded_body() {
  local hex id
  hex="$(printf '%s' "$1" | iconv -f UTF-8 -t CP949 | od -An -tx1 | tr -d ' \n' | tr a-f A-F)"
  id="$(sqlite3 "file:$SERVICE_DATA/service.sqlite?mode=ro" \
    "SELECT id FROM items WHERE owner = '$MEMBER' AND kind = 'f' AND hex(name) = '$hex' ORDER BY id DESC LIMIT 1")"
  [ -n "$id" ] && echo "$SERVICE_DATA/bodies/$id"
}
uploaded_matches() { local body; body="$(uploaded_body "$2")" && cmp -s "$1" "$body"; }
# The file picker (a dialog of the common dialog class that is no message box).
file_dialog_title() {
  probe windows | awk -F'\t' '$2 == "#32770" { print $4 }' | while IFS= read -r title; do
    probe controls "$title" | cut -f1 | grep -qx 65535 || { echo "$title"; break; }
  done
}
file_dialog_open() { [ -n "$(file_dialog_title)" ]; }
# The picker's file name edit (1148): its "x,y,w,h" and its text.
picker_edit() { probe controls "$1" | awk -F'\t' -v f="$2" '$1 == 1148 && $2 == "Edit" { print $f; exit }'; }
picker_edit_is() { [ "$(picker_edit "$1" 4)" = "$2" ]; }
# picker_type TITLE TEXT: clicks into the picker's file name, types, waits
# until the edit shows the text.
picker_type() {
  local pxid pcx pcy x y w h
  pxid="$(timeout 10 xdotool search --sync --limit 1 --name "^$1\$")" || return 1
  read -r pcx pcy _ _ < <(probe client "$1") || return 1
  IFS=, read -r x y w h <<<"$(picker_edit "$1" 5)"
  [ -n "$h" ] || return 1
  xdotool mousemove --window "$pxid" $((pcx + x + w / 2)) $((pcy + y + h / 2)) click 1
  sleep 0.3
  xdotool type --delay 20 -- "$2"
  until_true 30 picker_edit_is "$1" "$2"
}

notice_page_shown() { probe windows | cut -f2 | grep -qx IEFrame; }
# drop_on_main PATH: drops a local file on the main window. The first upload
# of a run opens the notice page in a browser window over the others: it is
# closed as a member would.
drop_on_main() {
  probe drop "$TITLE" 500 250 "$(wine_path "$1")" >/dev/null || { echo "the drop failed"; return 1; }
  if until_true 25 notice_page_shown; then
    probe close-class IEFrame >/dev/null
    until_true 25 sh -c "! timeout 10 wine '$PROBE' windows | cut -f2 | grep -qx IEFrame" ||
      { echo "the notice page stayed open"; return 1; }
  fi
}

# A file dropped on the main window opens the upload window with it; a
# second one is picked with the add-files button (its path typed into the
# picker). Started, both complete, reach the service byte for byte and show
# in the web file list (내웹폴더, the folder shown).
test_dropped_and_picked_files_upload_to_completion() {
  local dir first second picker
  dir="$(new_workdir)"
  mkdir -p "$dir/up"
  first="올린파일$RANDOM.bin"
  # Typed into the picker: xdotool loses Hangul now and then (the picker's
  # conversion of Hangul names is tested in tests/win32).
  second="picked$RANDOM.txt"
  up_file "$dir/up/$first" 300000
  up_file "$dir/up/$second" 1500000
  start_logged_in "$dir" || return 1
  until_true 50 has_node 사진 || { echo "the own folders never appeared"; return 1; }
  drop_on_main "$dir/up/$first" || return 1
  find_upload_window || return 1
  until_true 25 up_has_row "$first" || { echo "the dropped file is not queued: $(up_rows)"; return 1; }
  up_state_is "$first" 대기 || { echo "the dropped file: $(up_rows)"; return 1; }
  up_click_button 272 || return 1
  until_true 40 file_dialog_open || { echo "the file picker did not open: $(probe windows)"; return 1; }
  picker="$(file_dialog_title)"
  picker_type "$picker" "$(wine_path "$dir/up/$second")" ||
    { echo "typing into the picker failed: \"$(picker_edit "$picker" 4)\""; return 1; }
  xdotool key Return
  until_true 25 up_has_row "$second" || { echo "the picked file is not queued: $(up_rows) (picker \"$picker\")"; return 1; }
  # The limit chosen in the combo box (3012 at (629, 105), entry "2") is
  # saved in the working directory, which the picker left as it was.
  up_click 645 112 || return 1
  sleep 0.3
  xdotool key Home Down Return
  saved_limit() { config_text "$dir" | grep -qx 'UpLoadCount=2'; }
  until_true 25 saved_limit || { echo "UpLoadCount=2 not saved in the working directory: $(ls "$dir" "$dir/up")"; return 1; }
  up_click_button 256 || return 1
  until_true 100 up_state_is "$first" 완료 || { echo "$first: $(up_rows)"; return 1; }
  until_true 100 up_state_is "$second" 완료 || { echo "$second: $(up_rows)"; return 1; }
  # Nothing left to start: the queue stops and shows its start button again.
  until_true 25 up_button_shown 256 || { echo "still running: $(probe skin-buttons "$UP_TITLE")"; return 1; }
  up_shot upload_complete
  uploaded_matches "$dir/up/$first" "$first" || { echo "the service's $first differs"; return 1; }
  uploaded_matches "$dir/up/$second" "$second" || { echo "the service's $second differs"; return 1; }
  logged_request '"UploadRequest"' "\"fileName\":\"$second\"" || { echo "no UploadRequest for $second logged"; return 1; }
  until_true 50 has_row "$first" || { echo "$first is not in the web list: $(list_rows | cut -f3 | tr '\n' '|')"; return 1; }
  until_true 25 has_row "$second" || { echo "$second is not in the web list"; return 1; }
}

# The storage server keeps the first chunk and never acknowledges it: the
# member stops (Ctrl+S, OK), the job stops, and started again (Ctrl+S) it
# resumes from what the service holds and completes.
test_stop_and_restart_resumes_an_upload() {
  local dir name
  dir="$(new_workdir)"
  mkdir -p "$dir/up"
  name="멈춘파일$RANDOM.bin"
  up_file "$dir/up/$name" 3000000
  printf '[Config]\r\nAotoUpLoad=1\r\n' >>"$dir/PomConfig.ini"
  service_control "clear all" || return 1
  service_control "once upload_no_ack 1" || return 1
  start_logged_in "$dir" || return 1
  until_true 50 has_node 사진 || { echo "the own folders never appeared"; return 1; }
  drop_on_main "$dir/up/$name" || return 1
  find_upload_window || return 1
  until_true 50 up_state_is "$name" 전송 || { echo "never sending: $(up_rows)"; return 1; }
  sleep 1
  up_shot upload_stalled
  up_click 300 450 || return 1  # the list's empty part takes the focus
  xdotool key ctrl+s
  expect_box "Pomvale" "$UP_STOP_QUESTION" || return 1
  probe answer 1 >/dev/null
  until_true 25 up_state_is "$name" 중지 || { echo "not stopped: $(up_rows)"; return 1; }
  logged_request '"UploadCancel"' || { echo "no UploadCancel logged"; return 1; }
  up_click 300 450 || return 1
  xdotool key ctrl+s
  until_true 100 up_state_is "$name" 완료 || { echo "never complete after the restart: $(up_rows)"; return 1; }
  uploaded_matches "$dir/up/$name" "$name" || { echo "the resumed upload differs from the file"; return 1; }
  grep -F '"UploadRequest"' "$SERVICE_DATA/requests.jsonl" | grep -F "\"fileName\":\"$name\"" | tail -n1 |
    grep -qvE '"offset":0[,}]' || { echo "the restart sent the file from 0"; return 1; }
}

# Escape with a job waiting asks first; Cancel keeps the window, OK closes it.
test_closing_the_upload_window_asks_first() {
  local dir name
  dir="$(new_workdir)"
  mkdir -p "$dir/up"
  name="대기파일$RANDOM.bin"
  up_file "$dir/up/$name" 5000
  start_logged_in "$dir" || return 1
  until_true 50 has_node 사진 || { echo "the own folders never appeared"; return 1; }
  drop_on_main "$dir/up/$name" || return 1
  find_upload_window || return 1
  until_true 25 up_state_is "$name" 대기 || { echo "not waiting: $(up_rows)"; return 1; }
  up_click 300 450 || return 1
  xdotool key Escape
  expect_box "Pomvale" "$UP_CLOSE_QUESTION" || return 1
  shot upload_close_question screen
  probe answer 2 >/dev/null
  sleep 0.5
  probe wait-window "$UP_TITLE" 1000 >/dev/null || { echo "Cancel closed the window"; return 1; }
  up_state_is "$name" 대기 || { echo "Cancel changed the job: $(up_rows)"; return 1; }
  up_click 300 450 || return 1
  xdotool key Escape
  expect_box "Pomvale" "$UP_CLOSE_QUESTION" || return 1
  probe answer 1 >/dev/null
  until_true 25 sh -c "! timeout 10 wine '$PROBE' wait-window '$UP_TITLE' 200 >/dev/null 2>&1" ||
    { echo "OK left the window open"; return 1; }
}
