# GUI cases of the version check and the updater (sourced by tests/gui/run).
# shellcheck shell=bash

GUI_TESTS="$GUI_TESTS a_new_client_version_is_installed_by_the_updater \
a_failed_update_starts_the_old_client_once"

UPDATER="$build/src/updater/PomUpdater.exe"

# program_folder: a temporary program folder holding copies of the program
# and the updater (never the build output), which is also the working folder.
program_folder() {
  local dir
  dir="$(new_workdir)"
  cp "$PROGRAM" "$dir/Pomvale.exe" && cp "$UPDATER" "$dir/PomUpdater.exe" || return 1
  echo "$dir"
}

# start_copy DIR: runs DIR/Pomvale.exe from DIR; PROGRAM_PID.
start_copy() {
  (cd "$1" && exec wine "$1/Pomvale.exe") &
  PROGRAM_PID=$!
  WINE_ENV_SPAWNED+=("$PROGRAM_PID")
}

# The title of the program's window once it shows (the login window carries
# the client version), within $1 seconds; sets XID, CX and CY as
# start_program does. Call it without a subshell.
window_title() {
  local i title
  for ((i = 0; i < $1 * 2; i++)); do
    title="$(probe windows 2>/dev/null | awk -F'\t' -v t="$TITLE" 'index($4, t) == 1 { print $4; exit }')"
    if [ -n "$title" ]; then
      # For the screenshots: the window and its client origin.
      XID="$(timeout 10 xdotool search --sync --limit 1 --name "^$TITLE")" || return 1
      read -r CX CY _ _ < <(probe client "$TITLE") || return 1
      echo "$title"
      return 0
    fi
    sleep 0.5
  done
  return 1
}

# Leaves the service's update switches off for the cases that follow.
reset_update_switches() {
  service_control "clear all" >/dev/null
}

test_a_new_client_version_is_installed_by_the_updater() {
  [ -f "$UPDATER" ] || { echo "no updater at $UPDATER"; return 1; }
  local dir served code=0 title
  dir="$(program_folder)" || { echo "no program folder"; return 1; }
  # The "new" client: the same program with bytes after its image, so the
  # replacement can be told from the old file.
  served="$work/served-client.exe"
  cp "$PROGRAM" "$served" && printf 'NEW CLIENT BUILD\r\n' >>"$served"
  service_control "set update_client_path $served" || return 1
  service_control "set update_cver 13" || { reset_update_switches; return 1; }
  start_copy "$dir"
  wait_program 30 || code=$?
  [ "$code" -eq 0 ] || { echo "the out-of-date client ended with $code, wanted 0"; reset_update_switches; return 1; }
  # The updater replaces the program and starts it; it finds itself current.
  window_title 40 >"$work/title" || { echo "the client did not come back"; reset_update_switches; return 1; }
  title="$(cat "$work/title")"
  shot updated_client
  reset_update_switches
  [ "$title" = "$TITLE - 0.13" ] || { echo "the client came back as \"$title\", wanted \"$TITLE - 0.13\""; return 1; }
  cmp -s "$served" "$dir/Pomvale.exe" || { echo "Pomvale.exe was not replaced by the served client"; return 1; }
  [ ! -e "$dir/Pomvale.exe.new" ] || { echo "the temporary file was left behind"; return 1; }
  grep -q "updated Pomvale.exe to 13 .*; started the new client" "$dir/PomUpdater.log" ||
    { echo "no log line of the update:"; cat "$dir/PomUpdater.log" 2>/dev/null; return 1; }
}

test_a_failed_update_starts_the_old_client_once() {
  [ -f "$UPDATER" ] || { echo "no updater at $UPDATER"; return 1; }
  local dir code=0
  dir="$(program_folder)" || { echo "no program folder"; return 1; }
  # The server offers a newer client but cannot deliver it.
  service_control "set update_cver 14" || return 1
  service_control "set http_fault 404@/UpdateFiles/Pomvale.exe" || { reset_update_switches; return 1; }
  start_copy "$dir"
  wait_program 30 || code=$?
  [ "$code" -eq 0 ] || { echo "the out-of-date client ended with $code, wanted 0"; reset_update_switches; return 1; }
  # The old client comes back and stays (no second hand-over).
  window_title 40 >/dev/null || { echo "the old client did not come back"; reset_update_switches; return 1; }
  sleep 3
  window_title 5 >/dev/null || { echo "the old client did not stay"; reset_update_switches; return 1; }
  shot old_client_back
  reset_update_switches
  cmp -s "$PROGRAM" "$dir/Pomvale.exe" || { echo "the old client was changed"; return 1; }
  grep -q "failed: Pomvale.exe: .*; started the old client" "$dir/PomUpdater.log" ||
    { echo "no log line of the failure:"; cat "$dir/PomUpdater.log" 2>/dev/null; return 1; }
  [ "$(grep -c . "$dir/PomUpdater.log")" -eq 1 ] || { echo "the updater ran more than once"; return 1; }
}
