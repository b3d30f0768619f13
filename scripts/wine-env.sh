# Sourceable helpers that run Windows programs under wine64 on a headless machine.
#
#   . scripts/wine-env.sh
#   wine_env_setup || exit 1          # Xvfb on a free display + a throwaway prefix
#   trap wine_env_teardown EXIT
#   wine_env_spawn prog.exe args...   # in the background; its PID in WINE_ENV_SPAWN_PID
#   wine prog.exe args...             # or in the foreground
#   wine_env_teardown                 # wineserver -k, Xvfb stopped by PID, prefix deleted
#
# The prefix is a copy (cp -a) of a template built once with `wineboot -i` and
# scripts/wine-prefix.reg imported (Korean font replacements, unmanaged X11
# windows) plus the Marlett font linked in. The template lives in
# build/wine-template/<key>, keyed by wine version, locale and .reg content, so a
# change to any of them builds a new one. After setup the environment carries
# WINEPREFIX, DISPLAY, the Korean locale (Wine's ANSI code page becomes 949),
# WINEDLLOVERRIDES that never offer Mono or Gecko, WINEDEBUG=-all (override with
# WINE_ENV_DEBUG) and no proxy variables.
#
# Only processes started here are stopped, by PID; wineserver -k acts on the
# throwaway prefix only.

WINE_ENV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WINE_ENV_LOCALE="ko_KR.UTF-8"
WINE_ENV_TEMPLATE_VERSION=1  # bump when the way the template is built changes

_wine_env_log() { echo "wine-env: $*" >&2; }

_wine_env_common() {
  export LANG="$WINE_ENV_LOCALE" LC_ALL="$WINE_ENV_LOCALE"
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG="${WINE_ENV_DEBUG:--all}"
  unset http_proxy https_proxy ftp_proxy all_proxy no_proxy \
    HTTP_PROXY HTTPS_PROXY FTP_PROXY ALL_PROXY NO_PROXY
}

# Starts Xvfb on a free display; sets WINE_ENV_XVFB_PID and exports DISPLAY.
_wine_env_start_xvfb() {
  local fdfile="$1" i
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  WINE_ENV_XVFB_PID=$!
  for ((i = 0; i < 100; i++)); do
    if [ -s "$fdfile" ]; then
      export DISPLAY=":$(head -n1 "$fdfile" | tr -d '[:space:]')"
      return 0
    fi
    kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  _wine_env_log "Xvfb did not start"
  return 1
}

_wine_env_template_key() {
  local ver
  ver="$(wine --version 2>/dev/null | head -n1)"
  printf '%s|%s|%s|%s' "$ver" "$WINE_ENV_LOCALE" "$WINE_ENV_TEMPLATE_VERSION" \
    "$(sha256sum <"$WINE_ENV_ROOT/scripts/wine-prefix.reg")" | sha256sum | cut -c1-16
}

# Names the first command the environment needs that is missing, with the
# Debian package that brings it; returns non-zero when one is missing.
_wine_env_check_commands() {
  local entry cmd pkg
  for entry in wine:wine wineboot:wine wineserver:wine winepath:wine Xvfb:xvfb \
    iconv:libc-bin flock:util-linux; do
    cmd="${entry%%:*}" pkg="${entry#*:}"
    if ! command -v "$cmd" >/dev/null 2>&1; then
      _wine_env_log "the command '$cmd' is missing (Debian package '$pkg'; scripts/deps installs it)"
      return 1
    fi
  done
}

# Runs one step of the template build: _wine_env_step NAME LOG COMMAND...
# On failure it says which step failed, with its exit code and the last lines
# it printed.
_wine_env_step() {
  local name="$1" log="$2" rc
  shift 2
  "$@" >>"$log" 2>&1
  rc=$?
  [ $rc -eq 0 ] && return 0
  _wine_env_log "building the template prefix failed at step '$name' (exit $rc): $*"
  [ $rc -eq 124 ] && _wine_env_log "  the step timed out"
  tail -n 5 "$log" | sed 's/^/wine-env:   | /' >&2
  return 1
}

_wine_env_reg_utf16() {
  { printf '\xff\xfe' && iconv -f utf-8 -t utf-16le "$WINE_ENV_ROOT/scripts/wine-prefix.reg"; } >"$1"
}

# Builds the template prefix when it is missing (serialised with a lock, so
# several runs at once build it only once). Prints its path.
wine_env_template() {
  local base="$WINE_ENV_ROOT/build/wine-template" key dir tmp reg log
  _wine_env_check_commands || return 1
  key="$(_wine_env_template_key)"
  dir="$base/$key"
  mkdir -p "$base"
  (
    flock -w 300 9 || { _wine_env_log "template lock timed out"; exit 1; }
    [ -f "$dir/.ready" ] && exit 0
    _wine_env_log "building template prefix $key (once)"
    tmp="$(mktemp -d "$base/.build.XXXXXX")"
    reg="$tmp.reg"
    log="$tmp.log"
    if ! (
      export WINEPREFIX="$tmp"
      _wine_env_step "wineboot -i (create the prefix)" "$log" timeout 300 wineboot -i &&
        _wine_env_step "wineserver -w (after wineboot)" "$log" timeout 120 wineserver -w &&
        _wine_env_step "convert wine-prefix.reg to UTF-16" "$log" _wine_env_reg_utf16 "$reg" &&
        _wine_env_step "wine regedit /S (import the registry)" "$log" \
          timeout 120 wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" &&
        _wine_env_step "wineserver -w (after regedit)" "$log" timeout 120 wineserver -w &&
        _wine_env_step "link the Marlett font" "$log" \
          sh -c 'mkdir -p "$1/drive_c/windows/Fonts" && test -f /usr/share/wine/fonts/marlett.ttf &&
                 ln -sf /usr/share/wine/fonts/marlett.ttf "$1/drive_c/windows/Fonts/marlett.ttf"' \
          sh "$tmp"
    ); then
      WINEPREFIX="$tmp" wineserver -k >/dev/null 2>&1
      rm -rf "$tmp" "$reg" "$log"
      exit 1
    fi
    rm -f "$reg" "$log"
    grep -q 'NanumGothic' "$tmp/user.reg" || {
      _wine_env_log "building the template prefix failed: the registry import left no font replacements in user.reg"
      rm -rf "$tmp"
      exit 1
    }
    touch "$tmp/.ready"
    rm -rf "$dir"
    mv "$tmp" "$dir"
  ) 9>"$base/.lock" || return 1
  echo "$dir"
}

# Xvfb + throwaway prefix + environment. Returns non-zero (after cleaning up)
# when something could not be started.
wine_env_setup() {
  local template
  _wine_env_common
  WINE_ENV_WORK="$(mktemp -d "${TMPDIR:-/tmp}/wine-env.XXXXXX")"
  WINE_ENV_SPAWNED=()
  _wine_env_check_commands || { wine_env_teardown; return 1; }
  _wine_env_start_xvfb "$WINE_ENV_WORK/display" || { wine_env_teardown; return 1; }
  template="$(wine_env_template)" || { wine_env_teardown; return 1; }
  mkdir -p "$WINE_ENV_ROOT/build/wine-prefixes"
  WINE_ENV_PREFIX="$(mktemp -d "$WINE_ENV_ROOT/build/wine-prefixes/run.XXXXXX")"
  cp -a "$template/." "$WINE_ENV_PREFIX/" || { wine_env_teardown; return 1; }
  export WINEPREFIX="$WINE_ENV_PREFIX"
  # A persistent server makes each later wine call cheap.
  wineserver -p >/dev/null 2>&1 || true
  return 0
}

# Runs `wine ARGS...` in the background; WINE_ENV_SPAWN_PID holds its PID.
wine_env_spawn() {
  wine "$@" &
  WINE_ENV_SPAWN_PID=$!
  WINE_ENV_SPAWNED+=("$WINE_ENV_SPAWN_PID")
}

# Stops what setup and spawn started and deletes the prefix. Safe to call twice.
wine_env_teardown() {
  local pid
  for pid in "${WINE_ENV_SPAWNED[@]:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  WINE_ENV_SPAWNED=()
  if [ -n "${WINE_ENV_PREFIX:-}" ] && [ -d "$WINE_ENV_PREFIX" ]; then
    WINEPREFIX="$WINE_ENV_PREFIX" timeout 30 wineserver -k >/dev/null 2>&1
    WINEPREFIX="$WINE_ENV_PREFIX" timeout 30 wineserver -w >/dev/null 2>&1
    rm -rf "$WINE_ENV_PREFIX"
  fi
  WINE_ENV_PREFIX=""
  if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null
  fi
  WINE_ENV_XVFB_PID=""
  [ -n "${WINE_ENV_WORK:-}" ] && rm -rf "$WINE_ENV_WORK"
  WINE_ENV_WORK=""
  return 0
}
