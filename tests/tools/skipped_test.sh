#!/usr/bin/env bash
# tools/skipped on a ctest log: the skipped tests are counted and their reasons given, however
# GoogleTest wrote them (with a trace after the reason, or none); passed tests and GoogleTest's own
# summary lines are not counted.
set -uo pipefail
skipped=$(realpath "$(dirname "$0")/../../tools/skipped")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/LastTest.log" <<'LOG'
1/4 Test: Disk.Fills
Output:
----------------------------------------------------------
[ RUN      ] Disk.Fills
/src/tests/engine/disk_test.cpp:92: Skipped
cannot mount a tmpfs (Operation not permitted); needs root
Google Test trace:
/src/tests/engine/disk_test.cpp:90: 1
[  SKIPPED ] Disk.Fills (37 ms)
[  SKIPPED ] 1 test, listed below:
[  SKIPPED ] Disk.Fills
<end of output>
2/4 Test: Disk.Releases
[ RUN      ] Disk.Releases
/src/tests/engine/disk_test.cpp:130: Skipped
cannot mount a tmpfs (Operation not permitted); needs root
[  SKIPPED ] Disk.Releases (21 ms)
3/4 Test: Folder.Immutable
[ RUN      ] Folder.Immutable
/src/tests/ui/folder_test.cpp:12: Skipped
no immutable files on this file system
[  SKIPPED ] Folder.Immutable (2 ms)
4/4 Test: Folder.Walks
[ RUN      ] Folder.Walks
[       OK ] Folder.Walks (5 ms)
[  PASSED  ] 1 test.
LOG
expected='Skipped: 3 tests, which neither passed nor failed:
     2  cannot mount a tmpfs (Operation not permitted); needs root
     1  no immutable files on this file system
Run ./tools/test as root to run every test.'
output=$("$skipped" "$work/LastTest.log")
[ "$output" = "$expected" ] || { printf 'got:\n%s\nexpected:\n%s\n' "$output" "$expected" >&2; exit 1; }
printf '[ RUN      ] Folder.Walks\n[       OK ] Folder.Walks (5 ms)\n' >"$work/LastTest.log"
[ "$("$skipped" "$work/LastTest.log")" = "Skipped: no test." ] || { echo "a run without skips" >&2; exit 1; }
