#!/usr/bin/env bash
# The pomcli program itself against a local service: the id and password
# from the environment, UTF-8 in and out, and the exit codes (0 done,
# 1 refused, 2 bad usage). The commands' behaviour is covered in-process by
# the integration tests; this checks the program's edge.
#
#   pomcli_test.sh POMCLI POMSERVICE
set -uo pipefail
pomcli="$1"
pomservice="$2"
work="$(mktemp -d "${TMPDIR:-/tmp}/pomcli-test.XXXXXX")"
base=$((20000 + ($$ % 1500) * 10))
"$pomservice" --data "$work/data" --port-base "$base" --no-web >"$work/service.log" 2>&1 &
service=$!
trap 'kill "$service" 2>/dev/null; wait "$service" 2>/dev/null; rm -rf "$work"' EXIT
for ((i = 0; i < 300; i++)); do
  grep -q ready "$work/service.log" && break
  kill -0 "$service" 2>/dev/null || { cat "$work/service.log"; exit 1; }
  sleep 0.1
done
grep -q ready "$work/service.log" || { echo "the service did not start"; exit 1; }
mkdir -p "$work/client"

failures=0
expect() {  # expect CODE DESCRIPTION COMMAND...
  local code="$1" what="$2"
  shift 2
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [ "$got" -ne "$code" ]; then
    echo "FAIL: $what: exit $got, expected $code"
    sed 's/^/  stderr: /' "$work/err"
    failures=$((failures + 1))
  fi
}
run() { "$pomcli" "$@" --port-base "$base" --workdir "$work/client" --timeout 5000; }

export POM_ID=demo1 POM_PASSWORD=demo1234
expect 0 "ls with the id from the environment" run ls 사진
grep -q "^여행	" "$work/out" || { echo "FAIL: ls 사진 does not show 여행"; failures=$((failures + 1)); }
expect 0 "mkdir then ls" run mkdir "문서/새 폴더 하나"
expect 0 "ls 문서" run ls 문서
grep -q "^새 폴더 하나	" "$work/out" || { echo "FAIL: the new folder is not listed"; failures=$((failures + 1)); }
expect 1 "the protected file refused" run share public 동영상/보호영상.avi
grep -q "저작권또는" "$work/err" || { echo "FAIL: the refusal text is not on stderr"; failures=$((failures + 1)); }
expect 1 "a missing folder" run ls 없는폴더
expect 2 "a wrong sharing state" run share open 문서/안녕.txt
expect 2 "an unknown command" run frobnicate
expect 2 "an option of another command" run ls --title x
POM_PASSWORD=wrong expect 1 "a wrong password" run ls
POM_ID= POM_PASSWORD= expect 2 "no id" "$pomcli" ls --port-base "$base"

[ "$failures" -eq 0 ] && echo "pomcli: all cases passed"
exit "$failures"
