#!/usr/bin/env bash
# The real program under a virtual X server: a reminder for today added through the reminder
# dialog shows the indicator in the status bar once the dialog is closed.
source "$(dirname "$0")/e2e_common.sh"
register=$3

cp "$register" "$folder/Cash.qlt"
printf '[Files]\r\nOpen=%s\r\n' "$folder/Cash.qlt" >"$folder/Quillet.ini"
"$folder/quillet" &
pid=$!
"$window_tool" wait "Quillet - Cash" 20 || fail "no main window"
sleep 0.5
# Status field 0, where the indicator stands: the bottom left corner of the window.
field() { "$window_tool" colours "Quillet - Cash" 3 -19 18 16; }
before=$(field) || fail "cannot read the window's pixels"

"$window_tool" key "Quillet - Cash" m ctrl || fail "no Ctrl+M"
"$window_tool" wait Reminder 10 || fail "Ctrl+M opened no reminder dialog"
sleep 0.3
for key in p a y space r e n t; do "$window_tool" key Reminder "$key"; done
"$window_tool" key Reminder Return
"$window_tool" wait Quillet 10 || fail "no confirmation after Return in the text field"
"$window_tool" key Quillet Return
sleep 0.3
"$window_tool" key Reminder Escape
"$window_tool" gone Reminder 10 || fail "Escape did not close the reminder dialog"
sleep 0.5
after=$(field)
grep -q "^$(date +%Y/%m/%d) pay rent$" "$folder/Quillet-reminders.txt" ||
    fail "the reminder file holds: $(cat "$folder/Quillet-reminders.txt")"
echo "colours: $before before, $after after" >&2
[ "$after" -gt $((before + 2)) ] || fail "no indicator in the status bar ($before colours before, $after after)"

"$window_tool" close "Quillet - Cash"
expect_clean_exit "the program did not end after its close request"
echo "1 passed, 0 failed"
