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
"$pomservice" --data "$work/data" --port-base "$base" \
  --fault 'drop_upload_after=1500000*1' >"$work/service.log" 2>&1 &
service=$!
trap 'kill "$service" 2>/dev/null; wait "$service" 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
for ((i = 0; i < 300; i++)); do
  grep -qs ready "$work/service.log" && break
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

# search, contents and get --file-id: the search servers on the service's
# web port; the hits' folder key and file id feed the other two.
web_port="$(grep -o 'web 127\.0\.0\.1:[0-9]*' "$work/service.log" | head -n1 | cut -d: -f2)"
mkdir -p "$work/searcher"
printf '[Servers]\r\nSearchPrefix=127.0.0.:%s\r\nNaturalSearch=127.0.0.10:%s\r\n' "$web_port" "$web_port" \
  >"$work/searcher/PomConfig.ini"
find_() { "$pomcli" "$@" --port-base "$base" --workdir "$work/searcher" --timeout 5000; }
expect 0 "search" find_ search jpg
hit="$(grep "^가족.jpg	3MB	" "$work/out")"
[ "$(cut -f4 <<<"$hit")" = demo1 ] || { echo "FAIL: search: no 가족.jpg of demo1"; sed 's/^/  out: /' "$work/out"; failures=$((failures + 1)); }
file_id="$(cut -f5 <<<"$hit")" folder_key="$(cut -f6 <<<"$hit")"
expect 0 "natural search" find_ search --natural jp pg
grep -q "^바다.jpg	" "$work/out" || { echo "FAIL: the natural search misses 바다.jpg"; failures=$((failures + 1)); }
grep '"SearchRequest"' "$work/data/requests.jsonl" | tail -1 | grep -q '"kind":"natural"' ||
  { echo "FAIL: the service did not log a natural search"; failures=$((failures + 1)); }
expect 1 "a keyword of two letters" find_ search ab
grep -q "두글자 이상" "$work/err" || { echo "FAIL: the length message is not on stderr"; failures=$((failures + 1)); }
expect 1 "nothing found" find_ search zzzqqq
expect 0 "contents of the hit's folder" find_ contents demo1 "$folder_key"
grep -q "^가족.jpg	3MB	30일	demo1	$file_id$" "$work/out" ||
  { echo "FAIL: contents lack 가족.jpg"; sed 's/^/  out: /' "$work/out"; failures=$((failures + 1)); }
expect 0 "get a hit by its file id" find_ get --file-id "$file_id" --search jpg --into "$work/hits"
[ "$(stat -c %s "$work/hits/가족.jpg" 2>/dev/null)" = 3145728 ] ||
  { echo "FAIL: 가족.jpg did not arrive whole"; failures=$((failures + 1)); }
expect 1 "get an id no hit has" find_ get --file-id 999999 --search jpg --into "$work/hits"
expect 2 "get --file-id without a search" find_ get --file-id "$file_id"
expect 2 "get a file id that is no number" find_ get --file-id x1 --search jpg

# config: the settings dialog's preferences in the working folder's
# PomConfig.ini, no login; refusals leave the file as it was.
cfg() { "$pomcli" config "$@" --workdir "$work/settings"; }
ini() { tr -d '\r' <"$work/settings/PomConfig.ini"; }
check() { "$@" || { echo "FAIL: config: $*"; sed 's/^/  out: /' "$work/out"; failures=$((failures + 1)); }; }
mkdir -p "$work/settings" "$work/받을 곳"
expect 0 "config get without a file" cfg get UpLoadPublic2
check [ "$(cat "$work/out")" = 1 ]
printf '[Config]\r\nUpLoadPublic1=1\r\nUpLoadPublic3=1\r\nUserId=demo1\r\n' >"$work/settings/PomConfig.ini"
expect 0 "config get every key" cfg get
check grep -qx 'UpLoadPublic1=0' "$work/out"
check grep -qx 'UpLoadPublic3=1' "$work/out"
expect 0 "config set a sharing key" cfg set UpLoadPublic1 1
check [ "$(ini | grep -E '^UpLoadPublic[123]=' | sort | tr '\n' ' ')" = "UpLoadPublic1=1 UpLoadPublic2=0 UpLoadPublic3=0 " ]
expect 0 "config set a box" cfg set AotoDownLoad 1
expect 0 "config get the box" cfg get AotoDownLoad
check [ "$(cat "$work/out")" = 1 ]
expect 0 "config set a folder" cfg set BasicFolder "$work/받을 곳"
expect 0 "config get the folder" cfg get BasicFolder
check [ "$(cat "$work/out")" = "$work/받을 곳" ]
cp "$work/settings/PomConfig.ini" "$work/settings.before"
expect 1 "config clears the sharing choice" cfg set UpLoadPublic1 0
expect 1 "config takes 1 or 0" cfg set AotuLogin yes
expect 1 "config refuses an unknown key" cfg set UserPw 1234
check grep -q "unknown key UserPw" "$work/err"
expect 1 "config refuses a missing folder" cfg set BasicFolder "$work/없는 곳"
check cmp -s "$work/settings.before" "$work/settings/PomConfig.ini"
expect 2 "config without a verb" cfg
expect 2 "config set without a value" cfg set AotuLogin

[ "$failures" -eq 0 ] && echo "pomcli: all cases passed"
exit "$failures"
