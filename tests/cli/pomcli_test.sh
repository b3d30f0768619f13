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
# The first upload session is cut after 1,500,000 bytes (the put cases below).
"$pomservice" --data "$work/data" --port-base "$base" --no-web \
  --fault 'drop_upload_after=1500000*1' >"$work/service.log" 2>&1 &
service=$!
trap 'kill "$service" 2>/dev/null; wait "$service" 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
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
# get: a folder into a sub-folder of its name, byte counts in the summary;
# then a cut-off file (its first bytes kept) resumes to the same bytes.
expect 1 "get a folder (미완성.zip is only partly stored)" run get 문서 --into "$work/down" --parallel 2
[ "$(stat -c %s "$work/down/문서/보고서.doc" 2>/dev/null)" = 5000 ] ||
  { echo "FAIL: 문서/보고서.doc did not arrive whole"; failures=$((failures + 1)); }
grep -q "^보고서.doc	5000	완료$" "$work/out" ||
  { echo "FAIL: the summary lacks 보고서.doc"; sed 's/^/  out: /' "$work/out"; failures=$((failures + 1)); }
expect 0 "get a file" run get 동영상/보호영상.avi --into "$work/whole"
head -c 300000 "$work/whole/보호영상.avi" >"$work/part.avi"
mkdir -p "$work/resume" && mv "$work/part.avi" "$work/resume/보호영상.avi"
expect 0 "resume the file" run get 동영상/보호영상.avi --into "$work/resume"
cmp -s "$work/whole/보호영상.avi" "$work/resume/보호영상.avi" ||
  { echo "FAIL: the resumed file differs"; failures=$((failures + 1)); }
grep -q '"offset":300000' "$work/data/requests.jsonl" ||
  { echo "FAIL: the storage server was not asked from byte 300000"; failures=$((failures + 1)); }
expect 2 "a wrong parallel count" run get 문서 --parallel 4
expect 1 "a missing file" run get 문서/없는파일.txt --into "$work/down"
# put: a cut upload resumes where the service stopped and comes back whole;
# a folder keeps its sub-folder; an empty file is refused.
head -c 3000000 /dev/urandom >"$work/올림.bin"
expect 1 "put, cut by the service" run put "$work/올림.bin" --to 문서
grep -q "	실패	" "$work/out" || { echo "FAIL: the cut upload is not 실패"; failures=$((failures + 1)); }
expect 0 "put resumes" run put "$work/올림.bin" --to 문서
grep -q "올림.bin	3000000	완료$" "$work/out" ||
  { echo "FAIL: the summary lacks 올림.bin"; sed 's/^/  out: /' "$work/out"; failures=$((failures + 1)); }
grep '"UploadRequest"' "$work/data/requests.jsonl" | tail -1 | grep -q '"offset":[1-9]' ||
  { echo "FAIL: the second upload did not resume"; failures=$((failures + 1)); }
expect 0 "get the upload back" run get 문서/올림.bin --into "$work/back"
cmp -s "$work/올림.bin" "$work/back/올림.bin" || { echo "FAIL: the uploaded file differs"; failures=$((failures + 1)); }
mkdir -p "$work/묶음/안쪽" && printf 'one' >"$work/묶음/하나.txt" && head -c 40000 /dev/urandom >"$work/묶음/안쪽/둘.bin"
expect 0 "put a folder" run put "$work/묶음" --to 문서 --parallel 2
expect 0 "ls its sub-folder" run ls 문서/묶음/안쪽
grep -q "^둘.bin	" "$work/out" || { echo "FAIL: 둘.bin is not in 문서/묶음/안쪽"; failures=$((failures + 1)); }
: >"$work/빈.txt"
expect 1 "put an empty file" run put "$work/빈.txt"
expect 2 "put without a path" run put --to 문서
POM_PASSWORD=wrong expect 1 "a wrong password" run ls
POM_ID= POM_PASSWORD= expect 2 "no id" "$pomcli" ls --port-base "$base"

[ "$failures" -eq 0 ] && echo "pomcli: all cases passed"
exit "$failures"
