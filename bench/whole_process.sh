#!/usr/bin/env bash
# The program as a user meets it, measured as a whole process under a virtual X server: a register
# of RECORDS transactions (Windows-1252 payees, 5% deleted, 2% void, 10% with a second date) named
# in the settings file, opened from the start until the window is mapped and the process has used
# no CPU for 0.4 s; the same for an empty start; the list's resident memory a row; find over every
# row (Ctrl+K, a text that matches nothing, Return) until quiet; the filter bar (Ctrl+F, a first
# and a second letter, Escape), each key to quiet; and the same register with a
# companion store that links every record, whose links are read once the list is painted: the
# window must show as soon as without the store, and the links cost at most 0.5 s more; and that
# register with 1,000 schedules in its store besides (none due yet), which must open as fast as
# without them (what is due is looked for once the store is read); and the linked register with every
# record categorised, which must show as soon as without categories (they are read with the links,
# after painting). Beside them,
# in the same run
# and on the same register, the floor: a process that reads the file's bytes and decodes every
# record's date and amount once. The first paint (the list's first rows drawn, beyond an empty start's window shown) is
# set against the floor's wall time. Medians of RUNS runs.
#
#   bench/whole_process.sh BUILD_DIR [RECORDS] [RUNS]
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside "$@"
fi
shift
build=$(cd "${1:-build-bench}" && pwd)
records=${2:-1000000}
runs=${3:-3}
ticks=$(getconf CLK_TCK)
work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
cp "$build/bin/quillet" "$work/quillet"
"$build/bench/make_register" "$work/Million.qlt" "$records" 20261208 >/dev/null
"$build/bench/make_register" "$work/Linked.qlt" "$records" 20261208 --linked >/dev/null
"$build/bench/make_register" "$work/Scheduled.qlt" "$records" 20261208 --linked --scheduled >/dev/null
"$build/bench/make_register" "$work/Categorised.qlt" "$records" 20261208 --linked --categorised >/dev/null

# CPU ticks the process has used, its threads' included.
cpu_of() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Waits until the window is shown and the process has used no CPU for 0.4 s; prints the moment
# (ms) the process last used CPU.
wait_quiet() {
    local last last_change now cpu
    last=$(cpu_of "$pid")
    last_change=$(now_ms)
    while true; do
        sleep 0.02
        cpu=$(cpu_of "$pid")
        now=$(now_ms)
        if [ "$cpu" != "$last" ]; then
            last=$cpu
            last_change=$now
        elif [ $((now - last_change)) -ge 400 ] && xdotool search --onlyvisible --name "^Quillet" >/dev/null 2>&1; then
            echo "$last_change"
            return
        fi
    done
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
seconds() { awk -v t="$1" -v hz="$ticks" 'BEGIN { printf "%.2f", t / hz }'; }

# One start of the program with the settings file naming the register (or none); prints the CPU
# ticks to quiet, the resident kB and the ms until its first rows were painted (an empty start's
# window shown). With find, also the find's
# wall ms and CPU ticks.
start_once() {
    local open=$1 find=${2:-}
    # The find's text is the last one searched: the dialog offers it selected, and Return searches.
    printf '[Files]\r\nOpen=%s\r\n[Mask List]\r\n1=no such text anywhere\r\n' "$open" >"$work/Quillet.ini"
    local launched shown tries=0
    # The virtual server now and then refuses a connection while the polls below come and go: a
    # start it refused is made again.
    while :; do
        # The first paint: the list's first rows drawn in the window titled with the register's name.
        local title=Quillet
        [ -n "$open" ] && title="Quillet - $(basename "$open" .qlt)"
        "$build/bench/window_tool" painted "$title" 4 110 90 30 20000 >"$work/painted" &
        local watch=$!
        launched=$(now_ms)
        "$work/quillet" >/dev/null 2>"$work/quillet.err" &
        pid=$!
        until xdotool search --onlyvisible --name "^Quillet" >/dev/null 2>&1 || ! kill -0 "$pid" 2>/dev/null; do
            sleep 0.01
        done
        kill -0 "$pid" 2>/dev/null && break
        wait "$pid" 2>/dev/null || true
        kill "$watch" 2>/dev/null; wait "$watch" 2>/dev/null || true
        tries=$((tries + 1))
        if ! grep -q "could not connect to display" "$work/quillet.err" || [ "$tries" -ge 3 ]; then
            echo "whole_process: the program ended before its window showed ($open):" >&2
            cat "$work/quillet.err" >&2
            exit 1
        fi
        sleep 0.5
    done
    shown=$(($(now_ms) - launched))
    wait_quiet >/dev/null
    local cpu rss painted
    cpu=$(cpu_of "$pid")
    rss=$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status")
    # An empty start paints no rows: its window shown stands for its first paint.
    if [ -n "$open" ]; then
        wait "$watch" || { echo "whole_process: no rows were painted ($open)" >&2; exit 1; }
        painted=$(cat "$work/painted")
    else
        kill "$watch" 2>/dev/null; wait "$watch" 2>/dev/null || true
        painted=$shown
    fi
    local result="$cpu $rss $painted"
    if [ -n "$find" ]; then
        local window
        window=$(xdotool search --onlyvisible --name "^Quillet - " | head -n 1)
        xdotool windowfocus --sync "$window"
        xdotool key ctrl+k
        local find=
        for _ in $(seq 1 100); do
            find=$(xdotool search --onlyvisible --name "^Find$" 2>/dev/null | head -n 1) && [ -n "$find" ] && break
            sleep 0.05
        done
        [ -n "$find" ] || { echo "whole_process: Ctrl+K opened no Find window" >&2; exit 1; }
        xdotool windowfocus --sync "$find" 2>/dev/null || true
        wait_quiet >/dev/null
        local before started ended
        before=$(cpu_of "$pid")
        started=$(now_ms)
        xdotool key Return
        ended=$(wait_quiet)
        # An empty search (the typing lost) closes the window too, but costs no CPU at all.
        if xdotool search --onlyvisible --name "^Find$" >/dev/null 2>&1 || [ "$(cpu_of "$pid")" = "$before" ]; then
            echo "whole_process: the search did not run" >&2
            exit 1
        fi
        result="$result $((ended - started)) $(($(cpu_of "$pid") - before))"
        # The filter bar: Ctrl+F, a first letter (every row looked at), a second (the rows shown),
        # each to quiet; then Escape, which shows every row again.
        xdotool windowfocus --sync "$window"
        xdotool key ctrl+f
        wait_quiet >/dev/null
        local key
        for key in c o Escape; do
            before=$(cpu_of "$pid")
            started=$(now_ms)
            xdotool key "$key"
            ended=$(wait_quiet)
            result="$result $((ended - started))"
        done
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
    echo "$result"
}

floors=() empties=() opens=() empty_rss=() open_rss=() find_ms=() find_cpu=() shown=() linked=() linked_shown=()
scheduled=() scheduled_shown=() categorised=() categorised_shown=()
first_keys=() next_keys=() clears=() empty_shown=() floor_walls=()
for _ in $(seq 1 "$runs"); do
    TIMEFORMAT=%3U+%3S+%3R
    floor=$({ time "$build/bench/floor" "$work/Million.qlt" >/dev/null; } 2>&1)
    floors+=("$(awk -v t="$floor" -v hz="$ticks" 'BEGIN { split(t, p, "+"); print (p[1] + p[2]) * hz }')")
    floor_wall=$(awk -v t="$floor" 'BEGIN { split(t, p, "+"); printf "%d", p[3] * 1000 }')
    start_once "" >"$work/empty" || exit 1
    read -r cpu rss empty_ms <"$work/empty"
    empties+=("$cpu") empty_rss+=("$rss")
    start_once "$work/Million.qlt" find >"$work/open" || exit 1
    read -r cpu rss ms wall searched first_key next_key cleared <"$work/open"
    opens+=("$cpu") open_rss+=("$rss") shown+=("$ms") find_ms+=("$wall") find_cpu+=("$searched")
    first_keys+=("$first_key") next_keys+=("$next_key") clears+=("$cleared") empty_shown+=("$empty_ms")
    floor_walls+=("$floor_wall")
    start_once "$work/Linked.qlt" >"$work/linked" || exit 1
    read -r cpu rss ms <"$work/linked"
    linked+=("$cpu") linked_shown+=("$ms")
    start_once "$work/Scheduled.qlt" >"$work/scheduled" || exit 1
    read -r cpu rss ms <"$work/scheduled"
    scheduled+=("$cpu") scheduled_shown+=("$ms")
    start_once "$work/Categorised.qlt" >"$work/categorised" || exit 1
    read -r cpu rss ms <"$work/categorised"
    categorised+=("$cpu") categorised_shown+=("$ms")
done

rows=$("$build/bench/floor" "$work/Million.qlt" | awk '{ print $1 }')
floor=$(printf '%s\n' "${floors[@]}" | median)
empty=$(printf '%s\n' "${empties[@]}" | median)
open=$(printf '%s\n' "${opens[@]}" | median)
beyond=$((open - empty))
bytes=$(( ($(printf '%s\n' "${open_rss[@]}" | median) - $(printf '%s\n' "${empty_rss[@]}" | median)) * 1024 / rows ))
wall=$(printf '%s\n' "${find_ms[@]}" | median)
searched=$(printf '%s\n' "${find_cpu[@]}" | median)
ratio=$(awk -v b="$beyond" -v f="$floor" 'BEGIN { printf "%.2f", (f > 0 ? b / f : 0) }')
shown_ms=$(printf '%s\n' "${shown[@]}" | median)
linked_ms=$(printf '%s\n' "${linked_shown[@]}" | median)
links=$(( $(printf '%s\n' "${linked[@]}" | median) - open ))
scheduled_ms=$(printf '%s\n' "${scheduled_shown[@]}" | median)
schedules=$(( $(printf '%s\n' "${scheduled[@]}" | median) - $(printf '%s\n' "${linked[@]}" | median) ))
categorised_ms=$(printf '%s\n' "${categorised_shown[@]}" | median)
categories=$(( $(printf '%s\n' "${categorised[@]}" | median) - $(printf '%s\n' "${linked[@]}" | median) ))
first_key=$(printf '%s\n' "${first_keys[@]}" | median)
next_key=$(printf '%s\n' "${next_keys[@]}" | median)
cleared=$(printf '%s\n' "${clears[@]}" | median)
floor_wall=$(printf '%s\n' "${floor_walls[@]}" | median)
painted=$(( shown_ms - $(printf '%s\n' "${empty_shown[@]}" | median) ))
paint_ratio=$(awk -v p="$painted" -v f="$floor_wall" 'BEGIN { printf "%.2f", (f > 0 ? p / f : 0) }')
verdict() { [ "$1" = 1 ] && echo "within its goal" || echo "OVER ITS GOAL"; }
echo "whole process, $records records ($rows rows), medians of $runs runs"
echo "  floor (read the file, decode each record's date and amount): $(seconds "$floor") s CPU, ${floor_wall} ms wall"
echo "  empty start to a quiet window: $(seconds "$empty") s CPU"
echo "  open to a painted, quiet window: $(seconds "$open") s CPU, $(seconds "$beyond") s beyond an empty start:" \
     "${ratio}x the floor's CPU (what is read after painting included)"
echo "  the list and what is kept beside it: $bytes bytes a row (goal 100, $(verdict "$((bytes <= 100))"))"
echo "  first paint: rows drawn ${painted} ms after an empty start's window showed, ${paint_ratio}x the floor's ${floor_wall} ms" \
     "wall (goal 1.5x, $(verdict "$(awk -v r="$paint_ratio" 'BEGIN { print r <= 1.5 }')"))"
echo "  filter bar, key to quiet: a first letter ${first_key} ms, a second ${next_key} ms (goal 100," \
     "$(verdict "$((first_key <= 100 && next_key <= 100))")); Escape shows every row again in ${cleared} ms"
echo "  find over every row, Return to quiet: ${wall} ms wall (goal 200), $(seconds "$searched") s CPU (goal 0.4," \
     "$(verdict "$(awk -v w="$wall" -v c="$searched" -v hz="$ticks" 'BEGIN { print w <= 200 && c / hz <= 0.4 }')"))"
echo "  with a store linking every record: rows painted after ${linked_ms} ms (${shown_ms} ms without it);" \
     "the links read after painting cost $(seconds "$links") s CPU more (goal 0.5," \
     "$(verdict "$(awk -v l="$links" -v hz="$ticks" 'BEGIN { print l / hz <= 0.5 }')"))"
echo "  with 1,000 schedules beside the links: rows painted after ${scheduled_ms} ms (${linked_ms} ms without" \
     "them); $(seconds "$schedules") s CPU more (goal 0.1, $(verdict "$(awk -v s="$schedules" -v hz="$ticks" \
     'BEGIN { print s / hz <= 0.1 }')"))"
echo "  with every record categorised beside the links: rows painted after ${categorised_ms} ms (${linked_ms} ms" \
     "without); the categories read after painting cost $(seconds "$categories") s CPU more"
