#!/usr/bin/env bash
# The real program under a real window manager (openbox) in a virtual X server: the main window
# and its dialogs are centred frame and all, a dialog cannot be resized or maximized and asks for a
# title bar only, a dialog
# that the window manager minimizes comes straight back, and its close request acts as Escape.
source "$(dirname "$0")/e2e_common.sh"
register=$3

openbox >/dev/null 2>&1 &
window_manager=$!
trap 'kill $window_manager 2>/dev/null; cleanup' EXIT
for _ in $(seq 1 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done

cp "$register" "$folder/Cash.qlt"
printf '[Files]\r\nOpen=%s\r\n' "$folder/Cash.qlt" >"$folder/Quillet.ini"
"$folder/quillet" &
pid=$!
"$window_tool" wait "Quillet - Cash" 20 || fail "no main window"

# X Y WIDTH HEIGHT of the frame, then the screen's WIDTH HEIGHT; off by one pixel at most.
centred_on() {
    local x y w h sw sh
    read -r x y w h sw sh <<<"$("$window_tool" geometry "$1")"
    local left=$(($2 + ($4 - w) / 2)) top=$(($3 + ($5 - h) / 2))
    [ $((x - left)) -le 1 ] && [ $((left - x)) -le 1 ] && [ $((y - top)) -le 1 ] && [ $((top - y)) -le 1 ]
}
sleep 1.5  # the window manager frames the window, the program centres it again
read -r mx my mw mh sw sh <<<"$("$window_tool" geometry "Quillet - Cash")"
[ "$mh" -gt 536 ] || fail "the main window has no frame: is the window manager running?"
centred_on "Quillet - Cash" 0 0 "$sw" "$sh" || fail "the main window is not centred: $mx $my $mw $mh"

"$window_tool" key "Quillet - Cash" Return || fail "no key to the main window"
"$window_tool" wait "Edit transaction" 10 || fail "Enter opened no dialog"
sleep 1.5
centred_on "Edit transaction" "$mx" "$my" "$mw" "$mh" ||
    fail "the dialog is not centred on the main window: $("$window_tool" geometry "Edit transaction")"
actions=$("$window_tool" actions "Edit transaction")
grep -q -E "_NET_WM_ACTION_(RESIZE|MAXIMIZE)" <<<"$actions" && fail "the dialog can be resized or maximized"
# Functions and decorations: a title bar and a border, no buttons (openbox draws its own buttons
# whatever a window asks; other window managers follow the hints).
hints=$(xprop -name "Edit transaction" _MOTIF_WM_HINTS)
grep -q -E "= 0x3, 0x[0-9a-f]+, 0xa," <<<"$hints" || fail "the dialog asks for more than a title bar: $hints"

"$window_tool" iconify "Edit transaction" || fail "could not ask to minimize the dialog"
sleep 1
"$window_tool" viewable "Edit transaction" || fail "the minimized dialog did not come back"

"$window_tool" close "Edit transaction" || fail "could not ask the dialog to close"
"$window_tool" gone "Edit transaction" 5 || fail "the dialog's close request did not act as Escape"
kill -0 "$pid" 2>/dev/null || fail "the program ended with the dialog"

# The window picture has the window manager's frame, taken at once: as large as the frame window.
"$window_tool" key "Quillet - Cash" t ctrl || fail "no Ctrl+T to the main window"
"$window_tool" wait "Save a picture of the window" 10 || fail "Ctrl+T asked for no file name"
sleep 0.5
"$window_tool" key "Save a picture of the window" Return || fail "no Return to the requester"
for _ in $(seq 1 50); do [ -s "$HOME/Cash.png" ] && break; sleep 0.1; done
[ -s "$HOME/Cash.png" ] || fail "no picture was saved in the home folder"
read -r _ _ fw fh _ _ <<<"$("$window_tool" geometry "Quillet - Cash")"
size=$(pngtopnm "$HOME/Cash.png" | head -c 64 | sed -n 2p)
[ "$size" = "$fw $fh" ] || fail "the picture is $size, the framed window $fw $fh"
# Nothing here opens a picture: the program says so, naming the file, and the user says OK.
"$window_tool" wait "Quillet" 10 || fail "no word that the picture could not be opened"
"$window_tool" key "Quillet" Return || fail "no Return to the message"
"$window_tool" gone "Quillet" 5 || fail "the message stayed"

"$window_tool" close "Quillet - Cash" || fail "could not ask the main window to close"
expect_clean_exit "the program did not end after its close request"
echo "1 passed, 0 failed"
