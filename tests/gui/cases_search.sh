# GUI cases of the search: the search bar, the search-result list (189) and
# the folder-content list (192). Sourced by tests/gui/run after cases.sh,
# whose helpers they use.
# shellcheck shell=bash

GUI_TESTS="$GUI_TESTS search_lists_hits_and_a_double_click_downloads_one \
ctrl_f_shows_the_folder_of_a_hit natural_search_posts_the_keyword \
hits_dragged_to_the_local_list_or_the_download_window_download \
the_result_menu_puts_a_hit_into_the_search_bar"

SEARCH_LIST=189
FOLDER_LIST=192
SEARCH_EDIT=3505
NATURAL_RADIO=3506
NORMAL_RADIO=3507

# search_workdir: a working directory whose search servers follow the
# service (when it is not on port 80), whose download folder is DOWN and
# that starts queued downloads at once.
search_workdir() {
  local dir servers=""
  dir="$(mktemp -d "$work/client.XXXXXX")"
  mkdir -p "$dir/down"
  if [ "$WEB_PORT" != 80 ]; then
    servers="UpdateServer=127.0.0.1:$WEB_PORT\r\nWebSite=127.0.0.1:$WEB_PORT\r\n"
    servers+="SearchPrefix=127.0.0.:$WEB_PORT\r\nNaturalSearch=127.0.0.10:$WEB_PORT\r\n"
  fi
  printf "[Servers]\r\n$servers[Config]\r\nBasicFolder=Z:%s\r\nAotoDownLoad=1\r\n" \
    "$(printf '%s' "$dir/down" | tr / '\\')" >"$dir/PomConfig.ini"
  echo "$dir"
}

# hit_rows / folder_rows: "index<TAB>flags<TAB>text per column" per row.
hit_rows() { probe rows "$TITLE" $SEARCH_LIST; }
folder_rows() { probe rows "$TITLE" $FOLDER_LIST; }
has_hit() { hit_rows | cut -f3 | grep -qxF -- "$1"; }
has_folder_row() { folder_rows | cut -f3 | grep -qxF -- "$1"; }
hit_selected() { hit_rows | awk -F'\t' -v n="$1" '$2 == "selected" && $3 == n' | grep -q .; }
menu_open() { probe menus | grep -q '^menu'; }
edit_shows() { [ "$(control_text $SEARCH_EDIT)" = "$1" ]; }
radio_checked() { probe controls "$TITLE" | grep -q "^$1"$'\tButton+checked'; }
# shown ID: control ID of the main window is visible.
shown() { probe controls "$TITLE" | grep -q "^$1"$'\t[^\t]*\tvisible'; }
hidden() { probe controls "$TITLE" | grep -q "^$1"$'\t[^\t]*\thidden'; }
# visible_static TEXT: a shown static control bears exactly TEXT.
visible_static() {
  probe controls "$TITLE" | awk -F'\t' -v t="$1" '$2 == "Static" && $3 == "visible" && $4 == t' |
    grep -q .
}
# list_row_middle LIST NAME: the middle of the row of a list showing NAME,
# "x y" in the client area.
list_row_middle() {
  local row x y w h
  row="$(probe rows "$TITLE" "$1" | awk -F'\t' -v n="$2" '$3 == n { print $1; exit }')"
  [ -n "$row" ] || return 1
  read -r x y w h <<<"$(probe row-rect "$TITLE" "$1" "$row")"
  [ -n "$h" ] && echo "$((x + w / 2)) $((y + h / 2))"
}
# click_hit NAME LIST [CLICK-ARGS...]: clicks the row of a list showing NAME
# (left button once unless told otherwise).
click_hit() {
  local x y
  read -r x y <<<"$(list_row_middle "$2" "$1")"
  [ -n "$y" ] || return 1
  shift 2
  [ $# -gt 0 ] || set -- 1
  xdotool mousemove --window "$XID" $((CX + x)) $((CY + y)) click "$@"
}

# search_for TEXT [button]: types TEXT into the search edit and presses
# Enter, or clicks the search button (bitmap 183 at (811, 63)).
search_for() {
  probe settext "$TITLE" $SEARCH_EDIT "" >/dev/null
  type_into 600 74 $SEARCH_EDIT "$1" ||
    { echo "typing \"$1\" into the search edit failed: \"$(control_text $SEARCH_EDIT)\""; return 1; }
  if [ "${2:-}" = button ]; then click 825 72; else xdotool key Return; fi
}

# downloaded_intact DIR NAME FOLDER: the download window shows NAME complete
# and DIR/down holds the bytes of demo1's FOLDER/NAME.
downloaded_intact() {
  until_true 50 down_state_is "$2" 완료 || { echo "$2: $(down_rows)"; return 1; }
  cmp -s "$1/down/$2" "$(service_body "$3" "$2")" || { echo "$2 differs from the service's"; return 1; }
}
# start_with_jpg_hits DIR: starts the program there logged in and searches
# "jpg" (the normal search), until demo1's two public pictures are listed.
start_with_jpg_hits() {
  start_logged_in "$1" || return 1
  search_for jpg || return 1
  until_true 50 has_hit 가족.jpg || { echo "no hit 가족.jpg: $(hit_rows | tr '\n' '|')"; return 1; }
  has_hit 바다.jpg || { echo "no hit 바다.jpg: $(hit_rows | tr '\n' '|')"; return 1; }
}
# select_hit NAME: clicks the hit and waits until it is the selected row.
select_hit() {
  click_hit "$1" $SEARCH_LIST || { echo "no hit $1"; return 1; }
  until_true 25 hit_selected "$1" || { echo "$1 is not selected: $(hit_rows | tr '\n' '|')"; return 1; }
}

# A normal search for "jpg" (the default kind) lists demo1's two public
# pictures in list 189, which replaces the notice page; a double click on
# one downloads it in the download window.
test_search_lists_hits_and_a_double_click_downloads_one() {
  local dir
  dir="$(search_workdir)"
  start_logged_in "$dir" || return 1
  radio_checked $NORMAL_RADIO && ! radio_checked $NATURAL_RADIO ||
    { echo "\"일반검색\" is not checked at start: $(probe controls "$TITLE" | grep '^350')"; return 1; }
  search_for jpg || return 1
  until_true 50 has_hit 가족.jpg || { echo "no hit 가족.jpg: $(hit_rows | tr '\n' '|')"; return 1; }
  shown $SEARCH_LIST || { echo "list 189 is not shown"; return 1; }
  hidden 113 || { echo "the web file list is still shown"; return 1; }
  until_true 25 visible_static "입력하신 검색어:jpg" || { echo "no caption \"입력하신 검색어:jpg\""; return 1; }
  [ "$(control_text $SEARCH_EDIT)" = jpg ] || { echo "the edit shows \"$(control_text $SEARCH_EDIT)\""; return 1; }
  # The size column of a 3 MiB file, the hidden unique-code column left empty.
  hit_rows | grep -q $'\t가족.jpg\t3MB\t\t' || { echo "row of 가족.jpg: $(hit_rows | grep 가족)"; return 1; }
  shot search_results
  logged_request '"SearchRequest"' '"member":"demo1"' '"kind":"normal"' '"keyword":"jpg"' ||
    { echo "no normal search for jpg logged"; return 1; }
  click_hit 가족.jpg $SEARCH_LIST --repeat 2 --delay 80 1 || { echo "could not double-click 가족.jpg"; return 1; }
  find_download_window || return 1
  downloaded_intact "$dir" 가족.jpg 사진
}

# Ctrl+F on a hit lists the folder that holds it in list 192 under
# "폴더내용:[name]"; list 189 goes out of sight.
test_ctrl_f_shows_the_folder_of_a_hit() {
  local dir
  dir="$(search_workdir)"
  start_with_jpg_hits "$dir" || return 1
  select_hit 가족.jpg || return 1
  xdotool key ctrl+f
  until_true 50 has_folder_row 가족.jpg || { echo "folder rows: $(folder_rows | tr '\n' '|')"; return 1; }
  shown $FOLDER_LIST || { echo "list 192 is not shown"; return 1; }
  hidden $SEARCH_LIST || { echo "list 189 is still shown"; return 1; }
  until_true 25 visible_static "폴더내용:[가족.jpg]" || { echo "no caption \"폴더내용:[가족.jpg]\""; return 1; }
  logged_request '"FolderContentRequest"' || { echo "no folder-content request logged"; return 1; }
  shot folder_contents
}

# Two words: the normal search looks for the whole text "jp pg" and finds
# nothing; with "자연어검색" chosen the search button sends it to the
# natural-language server, which takes every word and finds the two pictures
# (the ".jpg" names bear both), nothing else.
test_natural_search_posts_the_keyword() {
  local dir none="검색한 결과가 존재 하지 않습니다."
  dir="$(search_workdir)"
  start_logged_in "$dir" || return 1
  search_for "jp pg" || return 1
  until_true 50 has_hit "$none" || { echo "normal search: $(hit_rows | tr '\n' '|')"; return 1; }
  click 352 75
  until_true 25 radio_checked $NATURAL_RADIO ||
    { echo "\"자연어검색\" did not get checked: $(probe controls "$TITLE" | grep '^350')"; return 1; }
  radio_checked $NORMAL_RADIO && { echo "both radios are checked"; return 1; }
  search_for "jp pg" button || return 1
  until_true 50 has_hit 가족.jpg || { echo "natural search: $(hit_rows | tr '\n' '|')"; return 1; }
  [ "$(hit_rows | cut -f3 | sort | tr '\n' '|')" = "가족.jpg|바다.jpg|" ] ||
    { echo "natural search: $(hit_rows | tr '\n' '|')"; return 1; }
  logged_request '"SearchRequest"' '"kind":"natural"' '"keyword":"jp pg"' ||
    { echo "no natural search logged"; return 1; }
  until_true 25 visible_static "입력하신 검색어:jp pg" || { echo "no caption for the natural search"; return 1; }
  shot natural_search
}

# client_middle ID: the middle of control ID in the client area, "x y".
client_middle() {
  local x y w h
  IFS=, read -r x y w h <<<"$(probe controls "$TITLE" | awk -F'\t' -v id="$1" '$1 == id { print $5; exit }')"
  [ -n "$h" ] && echo "$((x + w / 2)) $((y + h / 2))"
}

# Hits dragged into the local file list and onto the download window's list
# are downloaded; released over the web tree they are not.
test_hits_dragged_to_the_local_list_or_the_download_window_download() {
  local dir ax ay lx ly sx sy wx wy
  dir="$(search_workdir)"
  start_with_jpg_hits "$dir" || return 1
  read -r lx ly <<<"$(client_middle 4001)"
  [ -n "$ly" ] || { echo "no local file list (4001)"; return 1; }
  read -r ax ay <<<"$(list_row_middle $SEARCH_LIST 바다.jpg)"
  select_hit 바다.jpg || return 1
  sleep 1
  read -r wx wy _ _ < <(probe rect "$TITLE")
  drag_to_screen "$ax" "$ay" $((wx + CX + lx)) $((wy + CY + ly))
  find_download_window || { echo "dragged from $ax,$ay to $lx,$ly: $(probe controls "$TITLE" | grep '^4001')"; return 1; }
  until_true 50 down_state_is 바다.jpg 완료 || { echo "바다.jpg: $(down_rows)"; return 1; }
  # Side by side: the main window at the left edge, the download window right of it.
  probe move "$TITLE" 0 0 >/dev/null && probe move "$DOWN_TITLE" 890 120 >/dev/null ||
    { echo "the windows could not be moved"; return 1; }
  sleep 0.5
  read -r CX CY _ _ < <(probe client "$TITLE")
  read -r sx sy _ _ < <(probe rect "$DOWN_TITLE")
  read -r ax ay <<<"$(list_row_middle $SEARCH_LIST 가족.jpg)"
  select_hit 가족.jpg || return 1
  sleep 1
  # Over the web tree: nothing (the main window is at the screen's corner now).
  drag_to_screen "$ax" "$ay" $((CX + 100)) $((CY + 250))
  sleep 1
  [ "$(down_rows | wc -l)" -eq 1 ] || { echo "a drop on the tree queued: $(down_rows)"; return 1; }
  click "$ax" "$ay"
  sleep 1
  drag_to_screen "$ax" "$ay" $((sx + DCX + 150)) $((sy + DCY + 250))
  downloaded_intact "$dir" 가족.jpg 사진
}

# The right-click menu of the result list: its third entry, "검색창에 넣기",
# puts the hit's name into the search edit.
test_the_result_menu_puts_a_hit_into_the_search_bar() {
  local dir
  dir="$(search_workdir)"
  start_with_jpg_hits "$dir" || return 1
  select_hit 바다.jpg || return 1
  click_hit 바다.jpg $SEARCH_LIST 3 || return 1
  until_true 25 menu_open || { echo "no menu opened"; return 1; }
  shot_menu search_menu
  xdotool key Down Down Down Return
  until_true 25 edit_shows 바다.jpg ||
    { echo "the edit shows \"$(control_text $SEARCH_EDIT)\""; return 1; }
}
