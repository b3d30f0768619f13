# The product's smoke test: one member's session from the login to the end,
# through every subsystem, as a person would do it. Sourced by tests/gui/run
# after the other case files, whose helpers it uses. Its screenshots are the
# README's (docs/screenshots/: main.png, search.png, settings.png).
# shellcheck shell=bash

GUI_TESTS="$GUI_TESTS walk_through_a_whole_session"

# Log in; browse the web folders with the own disk below; search and
# download a hit; upload a local file by dragging it onto the web folder
# shown; switch the automatic download off in the settings; close.
test_walk_through_a_whole_session() {
  local dir ax ay sx sy
  dir="$(search_workdir)"
  head -c 200000 /dev/urandom >"$dir/down/올림.bin"
  start_logged_in "$dir" || return 1
  # Browse: a web folder above, the download folder on the own disk below.
  until_true 50 local_has_row 올림.bin || { echo "the local list lacks 올림.bin: $(local_rows)"; return 1; }
  until_true 50 has_node 사진 || { echo "the own folders never appeared"; return 1; }
  open_folder 사진 가족.jpg || return 1
  shot walk_main_window

  # Search "jpg" and download a hit with a double click.
  search_for jpg || return 1
  until_true 50 has_hit 가족.jpg || { echo "no hit 가족.jpg: $(hit_rows | tr '\n' '|')"; return 1; }
  shot walk_search_results
  click_hit 가족.jpg $SEARCH_LIST --repeat 2 --delay 80 1 || { echo "could not double-click 가족.jpg"; return 1; }
  find_download_window || return 1
  downloaded_intact "$dir" 가족.jpg 사진 || return 1
  probe move "$TITLE" 0 0 >/dev/null && probe move "$DOWN_TITLE" 890 120 >/dev/null
  sleep 0.5

  # Upload: the own list shows 문서; a local file dragged onto it.
  open_folder 문서 안녕.txt || return 1
  local_click_row 올림.bin || return 1
  until_true 25 local_selected_is 올림.bin || { echo "올림.bin not selected: $(local_rows)"; return 1; }
  sleep 1  # no double click
  read -r ax ay <<<"$(local_row_middle 올림.bin)"
  read -r sx sy <<<"$(control_middle $WEB_LIST)"
  drag_to_screen "$ax" "$ay" "$sx" "$sy"
  if until_true 25 notice_page_shown; then probe close-class IEFrame >/dev/null; fi
  find_upload_window || return 1
  until_true 25 up_has_row 올림.bin || { echo "not queued: $(up_rows)"; return 1; }
  up_click_button 256 || return 1
  until_true 150 up_state_is 올림.bin 완료 || { echo "올림.bin: $(up_rows)"; return 1; }
  uploaded_matches "$dir/down/올림.bin" 올림.bin || { echo "the service's 올림.bin differs"; return 1; }
  probe move "$UP_TITLE" 890 520 >/dev/null

  # A setting: the automatic download start off, kept in PomConfig.ini.
  open_settings || return 1
  xdotool mousemove --window "$SETTINGS_XID" 100 $((SCY / 2)) click 1  # raised over the main window
  sleep 0.5
  local main_xid="$XID"
  XID="$SETTINGS_XID"
  shot walk_settings
  XID="$main_xid"
  settings_press 3504 "다운로드창이 실행시 자동으로 전송시작"
  until_true 30 eval '! settings_checked | grep -qx "다운로드창이 실행시 자동으로 전송시작"' ||
    { echo "the box stayed checked: $(settings_checked | tr '\n' ',')"; return 1; }
  settings_press 1019 확인
  until_true 30 settings_closed || { echo "OK did not close the dialog"; return 1; }
  config_text "$dir" | grep -qx AotoDownLoad=0 || { echo "AotoDownLoad not saved: $(config_text "$dir")"; return 1; }

  # Close: the end button asks, Yes ends the program with code 1.
  click $((880 - 87 + 20)) $((706 - 30 + 10))
  expect_box "종료" "프로그램을 종료하시겠습니까?     " || return 1
  probe answer 6 >/dev/null
  local code=0
  wait_program 10 || code=$?
  [ "$code" -eq 1 ] || { echo "exit code $code after Yes, wanted 1"; return 1; }
}
