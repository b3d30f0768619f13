# GUI cases of the local file browser: the tree (4000) and the list (4001)
# over the shell namespace, renaming, deleting, uploads from the list and
# downloads dropped on it. Sourced by tests/gui/run after cases.sh.
# shellcheck shell=bash

GUI_TESTS="$GUI_TESTS local_browser_browses_renames_and_deletes \
local_rows_dragged_onto_the_web_list_upload web_rows_dragged_onto_the_local_list_download"

LOCAL_TREE=4000
LOCAL_LIST=4001

# local_rows: "index<TAB>flags<TAB>name<TAB>size<TAB>type<TAB>date" per row.
local_rows() { probe rows "$TITLE" $LOCAL_LIST; }
local_row_of() { local_rows | awk -F'\t' -v n="$1" '$3 == n { print $1; exit }'; }
local_has_row() { [ -n "$(local_row_of "$1")" ]; }
local_lacks_row() { [ -z "$(local_row_of "$1")" ]; }
local_nodes() { probe tree "$TITLE" $LOCAL_TREE; }
local_has_node() { local_nodes | cut -f3 | grep -qxF -- "$1"; }
local_selected_is() { [ "$(local_rows | awk -F'\t' '$2 == "selected" { print $3 }')" = "$1" ]; }
# local_row_middle NAME: the middle of a row's name, in the client area.
local_row_middle() {
  local row x y w h
  row="$(local_row_of "$1")"
  [ -n "$row" ] || return 1
  read -r x y w h <<<"$(probe row-rect "$TITLE" $LOCAL_LIST "$row")"
  [ -n "$h" ] && echo "$((x + w / 2)) $((y + h / 2))"
}
local_click_row() {
  local ax ay
  read -r ax ay <<<"$(local_row_middle "$1")"
  [ -n "$ay" ] || return 1
  xdotool mousemove --window "$XID" $((CX + ax)) $((CY + ay)) click "${2:-1}"
}
# control_middle ID: the middle of a control of the main window on the screen.
control_middle() {
  local x y w h wx wy
  IFS=, read -r x y w h <<<"$(probe controls "$TITLE" | awk -F'\t' -v id="$1" '$1 == id { print $5; exit }')"
  read -r wx wy _ _ < <(probe rect "$TITLE")
  [ -n "$h" ] && [ -n "$wy" ] && echo "$((wx + CX + x + w / 2)) $((wy + CY + y + h / 2))"
}
# local_workdir: a download folder (DOWN) with a few files and a sub-folder.
local_workdir() {
  local dir
  dir="$(down_workdir)"
  mkdir -p "$dir/down/안쪽"
  head -c 1500 /dev/urandom >"$dir/down/small.txt"
  head -c 3000000 /dev/urandom >"$dir/down/big.bin"
  head -c 10 /dev/urandom >"$dir/down/안쪽/inner.txt"
  echo "$dir"
}

# After the login the tree points at the download folder and the list shows
# it: folders first, 1,500 bytes as 1KB. A double click on a folder row opens
# it (the tree selects it); F2 renames a file on disk; Delete removes one.
test_local_browser_browses_renames_and_deletes() {
  local dir
  dir="$(local_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 local_has_row small.txt || { echo "the download folder is not listed: $(local_rows)"; return 1; }
  local_rows | head -n1 | cut -f3 | grep -qx 안쪽 || { echo "the folder is not first: $(local_rows)"; return 1; }
  local_rows | awk -F'\t' '$3 == "small.txt" { print $4 }' | grep -qx 1KB ||
    { echo "1,500 bytes do not show 1KB: $(local_rows)"; return 1; }
  local_has_node down || { echo "the tree does not show the download folder: $(local_nodes | tail -n5)"; return 1; }
  until_true 25 has_node 한페이지 || { echo "the own folders never appeared"; return 1; }
  # All four panes filled: the own list shows a folder too.
  open_folder 한페이지 쪽02.txt || return 1
  shot main_window
  # Browse into the sub-folder.
  local ax ay
  read -r ax ay <<<"$(local_row_middle 안쪽)"
  xdotool mousemove --window "$XID" $((CX + ax)) $((CY + ay)) click --repeat 2 --delay 80 1
  until_true 25 local_has_row inner.txt || { echo "the sub-folder did not open: $(local_rows)"; return 1; }
  local_has_node 안쪽 || { echo "the tree did not select the sub-folder: $(local_nodes | tail -n3)"; return 1; }
  # F2 on inner.txt renames it on disk.
  local_click_row inner.txt || return 1
  until_true 25 local_selected_is inner.txt || { echo "inner.txt not selected: $(local_rows)"; return 1; }
  xdotool key F2
  until_true 25 label_edit_is inner.txt || { echo "no label edit: $(probe controls "$TITLE" | grep Edit)"; return 1; }
  xdotool key ctrl+a
  xdotool type --delay 20 renamed.txt
  until_true 25 label_edit_is renamed.txt || { echo "typing into the edit failed"; return 1; }
  xdotool key Return
  renamed() { [ -f "$dir/down/안쪽/renamed.txt" ] && [ ! -e "$dir/down/안쪽/inner.txt" ]; }
  until_true 25 renamed || { echo "not renamed on disk: $(ls "$dir/down/안쪽")"; return 1; }
  until_true 25 local_has_row renamed.txt || { echo "the list does not show the new name: $(local_rows)"; return 1; }
  # Delete: the shell asks first; confirmed, the file is gone.
  local_click_row renamed.txt || return 1
  until_true 25 local_selected_is renamed.txt || return 1
  xdotool key Delete
  if until_true 25 sh -c "timeout 10 wine '$PROBE' windows | cut -f2 | grep -qx '#32770'"; then
    sleep 0.5
    shot delete_question screen
    local question
    question="$(probe windows | awk -F'\t' '$2 == "#32770" { print $4; exit }')"
    echo "the shell asks: \"$question\" $(probe controls "$question" | cut -f1,2,4 | tr '\t\n' ' |')"
    xdotool key Return
  fi
  gone() { [ ! -e "$dir/down/안쪽/renamed.txt" ]; }
  until_true 25 gone || { echo "the file was not deleted: $(ls "$dir/down/안쪽")"; return 1; }
  until_true 25 local_lacks_row renamed.txt || { echo "the list still shows it: $(local_rows)"; return 1; }
  local trash
  trash="$(find "$HOME/.local/share/Trash/files" -name 'renamed.txt*' 2>/dev/null | head -n1)"
  echo "deleted to: ${trash:-nowhere (deleted for good)}"
  # Wine's recycle bin is the desktop's trash in the home folder: leave none.
  [ -z "$trash" ] || rm -f "$trash" "$HOME/.local/share/Trash/info/$(basename "$trash").trashinfo"
}

# A file of the local list dragged onto the web file list (내웹폴더 shown)
# is queued in the upload window and reaches the service.
test_local_rows_dragged_onto_the_web_list_upload() {
  local dir sx sy ax ay
  dir="$(local_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 local_has_row big.bin || { echo "the download folder is not listed: $(local_rows)"; return 1; }
  until_true 50 has_node 사진 || { echo "the own folders never appeared"; return 1; }
  local_click_row big.bin || return 1
  until_true 25 local_selected_is big.bin || { echo "big.bin not selected: $(local_rows)"; return 1; }
  sleep 1  # no double click
  read -r ax ay <<<"$(local_row_middle big.bin)"
  # The notice page shares the web list's rectangle (the list is hidden): a
  # drop there uploads nothing.
  read -r sx sy <<<"$(control_middle $WEB_LIST)"
  drag_to_screen "$ax" "$ay" "$sx" "$sy"
  sleep 1
  ! probe windows | cut -f4 | grep -qx "$UP_TITLE" || { echo "a drop on the notice page uploaded"; return 1; }
  # Opened, the own list takes the drop.
  open_folder 사진 여행 || return 1
  drag_to_screen "$ax" "$ay" "$sx" "$sy"
  if until_true 25 notice_page_shown; then probe close-class IEFrame >/dev/null; fi
  find_upload_window || return 1
  until_true 25 up_has_row big.bin || { echo "not queued: $(up_rows)"; return 1; }
  up_click_button 256 || return 1
  until_true 150 up_state_is big.bin 완료 || { echo "big.bin: $(up_rows)"; return 1; }
  uploaded_matches "$dir/down/big.bin" big.bin || { echo "the service's big.bin differs"; return 1; }
  logged_request '"UploadRequest"' '"fileName":"big.bin"' || { echo "no UploadRequest for big.bin logged"; return 1; }
  up_shot local_upload_complete
}

# A web file dragged onto the local list is downloaded into the download
# folder it shows; after F5 the list shows it.
test_web_rows_dragged_onto_the_local_list_download() {
  local dir ax ay sx sy
  dir="$(local_workdir)"
  start_logged_in "$dir" || return 1
  until_true 50 local_has_row big.bin || { echo "the download folder is not listed: $(local_rows)"; return 1; }
  # The local list shows a sub-folder of the download folder: the drop goes there.
  read -r ax ay <<<"$(local_row_middle 안쪽)"
  xdotool mousemove --window "$XID" $((CX + ax)) $((CY + ay)) click --repeat 2 --delay 80 1
  until_true 25 local_has_row inner.txt || { echo "the sub-folder did not open: $(local_rows)"; return 1; }
  until_true 50 has_node 한페이지 || { echo "the own folders never appeared"; return 1; }
  open_folder 한페이지 쪽02.txt || return 1
  click_row 쪽02.txt || return 1
  until_true 25 selected_row_is 쪽02.txt || { echo "쪽02.txt is not selected"; return 1; }
  sleep 1
  read -r ax ay <<<"$(row_middle 쪽02.txt)"
  read -r sx sy <<<"$(control_middle $LOCAL_LIST)"
  drag_to_screen "$ax" "$ay" "$sx" "$sy"
  downloaded() { cmp -s "$dir/down/안쪽/쪽02.txt" "$(service_body 한페이지 쪽02.txt)"; }
  until_true 100 downloaded || { echo "not downloaded into 안쪽: $(ls -R "$dir/down")"; return 1; }
  # The download window opened over the main window: out of the way.
  probe move "$TITLE" 0 0 >/dev/null && probe move "$DOWN_TITLE" 890 120 >/dev/null
  sleep 0.5
  local_click_row inner.txt || return 1
  until_true 25 local_selected_is inner.txt || { echo "inner.txt not selected: $(local_rows)"; return 1; }
  xdotool key F5
  until_true 25 local_has_row 쪽02.txt || { echo "the list does not show it after F5: $(local_rows)"; return 1; }
  shot local_list_after_download
}
