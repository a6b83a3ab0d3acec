#!/usr/bin/env bash
# The real program under a virtual X server: registers dragged from a file manager onto the list
# open the first of them, and the title bar names it.
source "$(dirname "$0")/e2e_common.sh"
register=$3

cp "$register" "$folder/Household cash.qlt"
cp "$register" "$folder/Second.qlt"
"$folder/quillet" &
pid=$!
"$window_tool" wait Quillet 20 || fail "no main window"
"$window_tool" drop Quillet 300 250 "$folder/Household cash.qlt" "$folder/Second.qlt" || fail "the drop was refused"
"$window_tool" wait "Quillet - Household cash" 10 || fail "the title does not name the dropped register"
"$window_tool" close "Quillet - Household cash" || fail "could not ask the window to close"
expect_clean_exit "the program did not end after its close request"
echo "1 passed, 0 failed"
