# Sourced by the end-to-end tests: a fresh program folder holding a copy of the program, a private
# runtime folder, and cleanup of both (and of a started program) however the test ends.
# Expects $1 = the built program, $2 = x11_window_tool.
set -u
program=$1
window_tool=$2
top=$(mktemp -d)
folder=$top
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
# The program may write a launcher below the home folder: the test gets a home of its own.
export HOME=$runtime
# The desktop's defaults are the test's own, whatever this machine has installed: no program is
# registered for any kind of file, and the opener finds none (an image viewer of the developer's
# would otherwise open the window picture, and the message the test waits for would never come).
mkdir -p "$runtime/data" "$runtime/config" "$runtime/share" "$runtime/etc" "$runtime/bin"
export XDG_DATA_HOME=$runtime/data XDG_CONFIG_HOME=$runtime/config XDG_DATA_DIRS=$runtime/share \
    XDG_CONFIG_DIRS=$runtime/etc
printf '#!/bin/sh\n# No program opens anything here, as xdg-open says when it finds none.\nexit 3\n' >"$runtime/bin/xdg-open"
chmod +x "$runtime/bin/xdg-open"
export PATH=$runtime/bin:$PATH
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$top" "$runtime"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
cp "$program" "$folder/quillet"

# Waits up to ten seconds for the started program to end and checks that it ended with code 0.
expect_clean_exit() {
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "$1"
    wait "$pid"
    local code=$?
    pid=
    [ "$code" -eq 0 ] || fail "the program ended with code $code"
}
