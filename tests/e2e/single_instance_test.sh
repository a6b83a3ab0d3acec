#!/usr/bin/env bash
# The real program under a virtual X server: one copy runs, a second ends at once with code 0,
# and the first ends with code 0 when its window is asked to close.
source "$(dirname "$0")/e2e_common.sh"

"$folder/quillet" &
pid=$!
"$window_tool" wait Quillet 20 || fail "the first copy showed no window"
# Without a window manager there is no frame: the window itself, menu bar and all, is centred.
read -r x y w h sw sh <<<"$("$window_tool" geometry Quillet)"
[ "$x" -eq $(((sw - w) / 2)) ] && [ "$y" -eq $(((sh - h) / 2)) ] || fail "the window is not centred: $x $y $w $h"

start=$(date +%s%N)
timeout 10 "$folder/quillet"
second_code=$?
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$second_code" -eq 0 ] || fail "the second copy ended with code $second_code"
[ "$elapsed_ms" -lt 2000 ] || fail "the second copy took ${elapsed_ms} ms to end"
kill -0 "$pid" 2>/dev/null || fail "the first copy did not survive the second"

"$window_tool" close Quillet || fail "could not ask the window to close"
expect_clean_exit "the first copy did not end after its close request"
echo "1 passed, 0 failed"
