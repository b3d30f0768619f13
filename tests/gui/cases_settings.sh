# GUI cases of the settings dialog, sourced by tests/gui/run after cases.sh.
# shellcheck shell=bash

GUI_TESTS="$GUI_TESTS settings_dialog_saves_what_was_clicked"

SETTINGS_TITLE="환경설정"

# settings_controls: the dialog's controls as the probe lists them.
settings_controls() { probe controls "$SETTINGS_TITLE"; }

# settings_checked: the texts of the checked boxes and radios, one a line.
settings_checked() { settings_controls | awk -F'\t' '$2 == "Button+checked" { print $4 }'; }

# settings_click X Y: a click at client pixels of the dialog.
settings_click() { xdotool mousemove --window "$SETTINGS_XID" $((SCX + $1)) $((SCY + $2)) click 1; }

# settings_place ID TEXT: "x,y,w,h" of the control with this id and text.
settings_place() { settings_controls | awk -F'\t' -v id="$1" -v t="$2" '$1 == id && $4 == t { print $5 }'; }

# open_settings: presses the main window's settings button (client (242, 0))
# and waits for the dialog; SETTINGS_XID and SCX/SCY (its client origin).
open_settings() {
  click 262 15
  probe wait-window "$SETTINGS_TITLE" 5000 >/dev/null || { echo "the settings dialog did not open"; return 1; }
  SETTINGS_XID="$(timeout 10 xdotool search --sync --limit 1 --name "^$SETTINGS_TITLE\$")" ||
    { echo "no X window for the settings dialog"; return 1; }
  read -r SCX SCY _ _ < <(probe client "$SETTINGS_TITLE") || return 1
}

# settings_folder: the text of the download-folder edit.
settings_folder() { settings_controls | awk -F'\t' '$2 == "Edit" && $5 ~ /^20,[0-9]+,230,/ { print $4 }'; }
folder_is() { [ "$(settings_folder)" = "$1" ]; }

# browse_for PATH: presses the folder button; in the shell's folder browser
# selects PATH and clicks OK, or with an empty PATH clicks 취소.
browse_for() {
  settings_press 3507 ""
  local out title xid cx cy place bx by
  out="$(probe browse-folder "$1" 8000)" || { echo "the folder browser did not open"; return 1; }
  title="$(printf '%s\n' "$out" | cut -f2)"
  xid="$(timeout 10 xdotool search --sync --limit 1 --name "^$title\$")" || return 1
  read -r cx cy _ _ < <(probe client "$title") || return 1
  place="$(probe controls "$title" | awk -F'\t' -v id="$([ -n "$1" ] && echo 1 || echo 2)" '$1 == id { print $5 }')"
  IFS=, read -r bx by _ _ <<<"$place"
  xdotool mousemove --window "$xid" $((cx + bx + 5)) $((cy + by + 5)) click 1
}

# control_in_frame ID TEXT "X,W" FRAME: the control starts at X, is W wide
# and lies inside the group frame titled FRAME.
control_in_frame() {
  local x y w h fx fy fw fh
  IFS=, read -r x y w h <<<"$(settings_place "$1" "$2")"
  IFS=, read -r fx fy fw fh <<<"$(settings_controls | awk -F'\t' -v t="$4" '$4 == t { print $5 }')"
  [ "$x,$w" = "$3" ] || { echo "control $1 \"$2\" at x,w $x,$w, wanted $3"; return 1; }
  [ -n "$fy" ] && [ "$y" -gt "$fy" ] && [ $((y + h)) -le $((fy + fh)) ] && [ $((x + w)) -le $((fx + fw)) ] ||
    { echo "control $1 \"$2\" ($x,$y,$w,$h) outside \"$4\" ($fx,$fy,$fw,$fh)"; return 1; }
}

settings_closed() { ! probe wait-window "$SETTINGS_TITLE" 1 >/dev/null; }
checked_are() { [ "$(settings_checked | tr '\n' ',')" = "$1" ]; }

# settings_press ID TEXT: clicks the control with this id and text, 6 pixels
# in from its left edge, half-way down (a box's or radio's square).
settings_press() {
  local ox oy oh
  IFS=, read -r ox oy _ oh <<<"$(settings_place "$1" "$2")"
  settings_click $((ox + 6)) $((oy + oh / 2))
}

# With no sharing keys only "비공개" is checked; the member clicks every box
# and "클럽만공개", OK writes exactly that; "기본값", a cancelled folder browser
# and "취소" write nothing; a folder chosen with the button stays through
# "취소" and becomes the main window's; Escape closes without saving.
test_settings_dialog_saves_what_was_clicked() {
  local dir
  dir="$(new_workdir)"
  # A saved id and password (demo1234), shown read-only; the file in UTF-16,
  # as the program makes it, so that it keeps Hangul.
  { cat "$dir/PomConfig.ini" 2>/dev/null
    printf '[Config]\r\nUserId=%s\r\nUserPw=64656D6F313233340000000000000000\r\n' "$MEMBER"
  } | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$dir/ini.tmp" && mv "$dir/ini.tmp" "$dir/PomConfig.ini"
  start_logged_in "$dir" || return 1
  open_settings || return 1
  [ "$(settings_controls | awk -F'\t' '$2 == "Edit" && $4 == "'"$MEMBER"'"' | wc -l)" = 1 ] ||
    { echo "the saved id is not shown"; settings_controls; return 1; }
  checked_are "비공개," || { echo "checked at opening: $(settings_checked | tr '\n' ',')"; return 1; }
  # The created controls at their intended columns and widths, each inside
  # its frame (rows follow the template's font, which Wine substitutes).
  local want
  for want in "3502|프로그램 실행시 자동으로 로그인|20,220|로그인설정" \
    "3503|업로드창이 실행시 자동으로 전송시작|20,230|파일전송설정" \
    "3504|다운로드창이 실행시 자동으로 전송시작|20,240|파일전송설정" \
    "3506|전체공개|35,80|업로드 완료시 공개설정" "3506|클럽만공개|185,90|업로드 완료시 공개설정" \
    "3507||255,38|저장폴더설정"; do
    IFS='|' read -r id text columns frame <<<"$want"
    control_in_frame "$id" "$text" "$columns" "$frame" || return 1
  done
  click 262 15  # a second press opens no second dialog
  sleep 0.5
  [ "$(probe windows | awk -F'\t' -v t="$SETTINGS_TITLE" '$4 == t' | wc -l)" = 1 ] ||
    { echo "a second settings dialog opened"; return 1; }
  # The main window came to the front: a click on the caption raises the dialog.
  xdotool mousemove --window "$SETTINGS_XID" 100 $((SCY / 2)) click 1
  sleep 0.5
  local old_xid="$XID"
  XID="$SETTINGS_XID"
  shot settings
  XID="$old_xid"

  settings_press 3502 "프로그램 실행시 자동으로 로그인"
  settings_press 3503 "업로드창이 실행시 자동으로 전송시작"
  settings_press 3504 "다운로드창이 실행시 자동으로 전송시작"
  settings_press 3506 "클럽만공개"
  local all="프로그램 실행시 자동으로 로그인,업로드창이 실행시 자동으로 전송시작,다운로드창이 실행시 자동으로 전송시작,클럽만공개,"
  until_true 30 checked_are "$all" || { echo "after the clicks: $(settings_checked | tr '\n' ',')"; return 1; }
  settings_press 1019 확인
  until_true 30 settings_closed || { echo "OK did not close the dialog"; return 1; }
  local config
  config="$(config_text "$dir")"
  for want in AotuLogin=1 AotoUpLoad=1 AotoDownLoad=1 UpLoadPublic1=0 UpLoadPublic2=0 UpLoadPublic3=1; do
    grep -qx "$want" <<<"$config" || { echo "$want missing: $config"; return 1; }
  done

  # "기본값" then "취소": the file stays byte for byte.
  cp "$dir/PomConfig.ini" "$dir/before.ini"
  open_settings || return 1
  checked_are "$all" || { echo "reopened with: $(settings_checked | tr '\n' ',')"; return 1; }
  local shown
  shown="$(settings_folder)"
  [ -n "$shown" ] || { echo "no download folder shown"; return 1; }
  settings_press 1020 기본값
  until_true 30 checked_are "비공개," || { echo "기본값 left: $(settings_checked | tr '\n' ',')"; return 1; }
  browse_for "" || return 1  # the folder browser cancelled: the folder stays
  sleep 0.5
  folder_is "$shown" || { echo "folder $(settings_folder) after a cancelled browser, wanted $shown"; return 1; }
  settings_press 1021 취소
  until_true 30 settings_closed || { echo "취소 did not close the dialog"; return 1; }
  cmp -s "$dir/before.ini" "$dir/PomConfig.ini" || { echo "기본값 then 취소 changed the file"; return 1; }

  # A folder chosen with the button is kept even when the dialog is cancelled.
  mkdir -p "$WINEPREFIX/drive_c/받을 곳"
  local chosen='C:\받을 곳'
  open_settings || return 1
  browse_for "$chosen" || return 1
  until_true 30 folder_is "$chosen" || { echo "folder $(settings_folder), wanted $chosen"; return 1; }
  settings_press 1021 취소
  until_true 30 settings_closed || { echo "취소 did not close the dialog"; return 1; }
  config="$(config_text "$dir")"
  grep -qxF "BasicFolder=$chosen" <<<"$config" || { echo "BasicFolder not $chosen: $config"; return 1; }
  grep -qx "UpLoadPublic3=1" <<<"$config" || { echo "the choice changed on 취소: $config"; return 1; }
  # The main window took it as its download folder: the dialog shows it next time.
  open_settings || return 1
  folder_is "$chosen" || { echo "reopened with folder $(settings_folder), wanted $chosen"; return 1; }
  # Escape closes it without saving.
  settings_press 3503 "업로드창이 실행시 자동으로 전송시작"
  until_true 20 checked_are "프로그램 실행시 자동으로 로그인,다운로드창이 실행시 자동으로 전송시작,클럽만공개," || return 1
  xdotool key Escape
  until_true 30 settings_closed || { echo "Escape did not close the dialog"; return 1; }
  config_text "$dir" | grep -qx "AotoUpLoad=1" || { echo "Escape saved the change"; return 1; }
}
