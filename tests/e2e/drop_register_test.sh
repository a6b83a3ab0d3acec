#!/usr/bin/env bash
# The real program under a virtual X server: registers dragged from a file manager onto the list
# open the first of them, and the title bar names it.
set -u
program=$1
window_tool=$2
register=$3
folder=$(mktemp -d)
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$folder" "$runtime"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

cp "$program" "$folder/quillet"
cp "$register" "$folder/Household cash.qlt"
cp "$register" "$folder/Second.qlt"
"$folder/quillet" &
pid=$!
"$window_tool" wait Quillet 20 || fail "no main window"
"$window_tool" drop Quillet 300 250 "$folder/Household cash.qlt" "$folder/Second.qlt" || fail "the drop was refused"
"$window_tool" wait "Quillet - Household cash" 10 || fail "the title does not name the dropped register"
"$window_tool" close "Quillet - Household cash" || fail "could not ask the window to close"
wait "$pid"
code=$?
pid=
[ "$code" -eq 0 ] || fail "the program ended with code $code"
echo "1 passed, 0 failed"
