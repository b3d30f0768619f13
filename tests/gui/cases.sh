# The GUI test cases, sourced by tests/gui/run (which defines the helpers).
# Each case prints what went wrong and returns non-zero on failure.
# shellcheck shell=bash

GUI_TESTS="login_shows_main_window second_instance_is_refused wrong_password_and_validation \
saved_credentials closing_asks_first resizing_stops_at_the_minimum \
splitters_clamp_and_move_the_notice_page refused_relogin_keeps_the_main_window \
declining_to_reconnect_ends_with_code_1"

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
