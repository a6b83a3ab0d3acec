#!/usr/bin/env bash
# The real program under a virtual X server, started for the first time in an empty folder whose
# name lies outside Windows-1252: it writes its settings and the example register there; Ctrl+X
# ends it and the settings are rewritten with their sections in order.
source "$(dirname "$0")/e2e_common.sh"
mkdir "$folder/Счета 2"
mv "$folder/quillet" "$folder/Счета 2/quillet"
folder="$folder/Счета 2"

"$folder/quillet" &
pid=$!
"$window_tool" wait Quillet 20 || fail "no main window"
# The window shows first; the settings are written while start-up goes on.
for _ in $(seq 1 50); do [ -s "$folder/Example.qlt" ] && break; sleep 0.1; done
[ -s "$folder/Quillet.ini" ] || fail "no settings file after the first start"
[ "$(stat -c %s "$folder/Example.qlt")" -eq 633 ] || fail "the example register does not hold three records"
"$window_tool" key Quillet x ctrl || fail "could not press Ctrl+X"
expect_clean_exit "Ctrl+X did not end the program"
sections=$(grep -a '^\[' "$folder/Quillet.ini" | tr -d '\r' | tr '\n' ' ')
[ "$sections" = "[Files] [Settings] [Type List] [Payee List] [Description List] [Mask List] " ] ||
    fail "the sections stand as: $sections"
grep -aq $'^ToolProgram=.*\r$' "$folder/Quillet.ini" || fail "the options were not written"
[ "$(grep -ac $'\r$' "$folder/Quillet.ini")" -eq "$(wc -l < "$folder/Quillet.ini")" ] || fail "a line does not end in CR LF"
echo "1 passed, 0 failed"
