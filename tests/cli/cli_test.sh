#!/usr/bin/env bash
# quillet-cli through the real binary: each subcommand's exit code and output on a small register,
# the report writers' golden files, and the refusals scripts rely on.
# $1 = quillet-cli, $2 = the test data folder, $3 = the library that changes the register elsewhere.
set -u
cli=$1
data=$2
elsewhere=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect CODE WANTED ARGS...: runs the tool; its exit code must be CODE and its standard output
# (or, for a failure, its standard error) must hold WANTED.
runner=("$cli")
expect() {
    local code=$1 wanted=$2
    shift 2
    "${runner[@]}" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    local said
    said=$(cat "$work/out" "$work/err")
    if [ "$got" -ne "$code" ] || ! grep -qF -- "$wanted" <<<"$said"; then
        echo "FAIL: quillet-cli $* gave $got (wanted $code and \"$wanted\"):"
        echo "$said" | head -5
        failures=$((failures + 1))
    fi
}

cp "$data/reports/statement.qlt" "$work/Household.qlt"
reg=$work/Household.qlt

expect 0 "import" --help
expect 0 "--format" list --help
expect 0 "a register of 6 transactions (1 deleted)" check "$reg"
expect 2 "it does not exist" check "$work/none.qlt"
printf 'short' >"$work/damaged.qlt"
expect 2 "not a whole number of transactions" check "$work/damaged.qlt"
expect 1 "" frobnicate "$reg"

# The same writers as the report dialog: the CSV report is the report test's golden file.
"$cli" report "$reg" --format csv -o "$work/report.csv" && cmp -s "$work/report.csv" "$data/reports/statement.csv" ||
    { echo "FAIL: the CSV report differs from reports/statement.csv"; failures=$((failures + 1)); }
expect 1 "--range 2026/13/01: no such date" report "$reg" --format txt --range 2026/13/01..2026/12/31
expect 0 "Refund" report "$reg" --format txt --range 2026-12-02..2026-12-02

expect 0 '"balance":"999999.93"' list "$reg" --format json
expect 0 "\"'=HYPERLINK(" list "$reg" --format csv
expect 0 "Second date,State" list "$reg" --format csv
expect 0 ",uncleared" list "$reg" --format csv
expect 0 "Balance,Second date,State" report "$reg" --format csv --state
expect 0 "999939.08" list "$reg" --payee "café"
expect 0 "999939.08" list "$reg" --payee "CAFÉ LUM"
expect 1 "--from 2026-13-01: no such date" list "$reg" --from 2026-13-01
expect 1 "--to 12/31/2026: a date is written" list "$reg" --to 12/31/2026
# The desktop's filter matching: a text in any of four texts, amounts at both ends, the state.
expect 0 "Café Lumière" list "$reg" --text "LUMI" --min 12.35 --max 12.35
[ "$("$cli" list "$reg" --text e --min 100 --format csv | wc -l)" -eq 3 ] ||
    { echo "FAIL: list --text e --min 100 did not list rows 1 and 3 alone"; failures=$((failures + 1)); }
expect 1 "--min 1.005: not an amount" list "$reg" --min 1.005
expect 1 "--state" list "$reg" --state pending
expect 0 "Balance: 999938.08" balance "$reg"
expect 0 '"cleared_balance": "0.00"' balance "$reg" --json

expect 0 "Added row 7" add "$reg" --date 2026-12-09 --type Check --number 1007 --payee Baker --memo Bread \
    --amount 3.40 --withdrawal
expect 1 "--amount" add "$reg" --date 2026/12/09 --type Check --number 1 --payee P --description D --amount 1.005 --deposit
expect 1 "--date" add "$reg" --date 09.12.2026 --type Check --number 1 --payee P --description D --amount 1 --deposit
expect 0 "999934.68" list "$reg" --from 2026/12/09
expect 0 "Voided row 7: 2026/12/09 Check 1007 Baker -3.40" void "$reg" --row 7
expect 0 "Void" list "$reg" --from 2026/12/09
expect 1 "not a row" delete "$reg" --row 99
expect 0 "Deleted row 7: 2026/12/09 Check 1007 Baker -3.40" delete "$reg" --row 7
expect 0 "removed 2 deleted" compact "$reg"

# A read-only register is read, never written.
cp "$reg" "$work/ReadOnly.qlt"
chmod a-w "$work/ReadOnly.qlt"
expect 2 "read-only" add "$work/ReadOnly.qlt" --date 2026-12-09 --type T --number 1 --payee P --description D \
    --amount 1 --deposit
expect 0 "read-only" check "$work/ReadOnly.qlt"
expect 0 "Balance:" balance "$work/ReadOnly.qlt"

# The last row takes the file with it, and only when the script says so.
cp "$reg" "$work/Two.qlt"
for row in 6 5 4 3 2; do "$cli" delete "$work/Two.qlt" --row "$row" >/dev/null; done
expect 1 "--yes" delete "$work/Two.qlt" --row 1
expect 0 "its file is deleted" delete "$work/Two.qlt" --row 1 --yes
[ -e "$work/Two.qlt" ] && { echo "FAIL: the last delete left the register file"; failures=$((failures + 1)); }

# Imports: an ambiguous file is refused until an option says how to read it (--yes chooses
# nothing); a statement adds once.
expect 1 "give --dates dmy or mdy" import "$reg" "$data/import/ambiguous.csv"
expect 1 "give --dates dmy or mdy" import "$reg" "$data/import/ambiguous.csv" --yes
expect 1 "cannot be read as year/month/day" import "$reg" "$data/import/ambiguous.csv" --dates ymd
expect 0 "would be added" import "$reg" "$data/import/ambiguous.csv" --dry-run --dates mdy
cleared_before=$("$cli" balance "$reg" --cleared)
expect 0 "Added 4, 0 duplicates, 1 left out; marked cleared at the bank" import "$reg" "$data/import/checking.ofx"
[ "$("$cli" balance "$reg" --cleared)" != "$cleared_before" ] ||
    { echo "FAIL: the imported transactions are not cleared"; failures=$((failures + 1)); }
expect 0 "Nothing to add" import "$reg" "$data/import/checking.ofx"
expect 1 "--account" import "$reg" "$data/import/two_accounts.ofx"
expect 0 "INTEREST PAID" import "$reg" "$data/import/two_accounts.ofx" --account 9988776655 --dry-run
expect 0 "was imported on" import "$reg" "$data/import/checking.ofx" --dry-run
# The readings real banks' files leave open, each settled by its option; a format that writes its
# amounts one way takes --decimal without asking; a file is refused for what it is.
banks=$data/statements
expect 1 "give --sign in or out" import "$reg" "$banks/csv_card_unsigned.csv" --dry-run
expect 0 "-8.40 SUNRISE BAKERY" import "$reg" "$banks/csv_card_unsigned.csv" --dry-run --sign out
expect 1 "columns are not known" import "$reg" "$banks/csv_balance_line_above.csv" --separator comma
expect 0 "-950.00 Hausverwaltung Sonnig" import "$reg" "$banks/csv_balance_line_above.csv" --dry-run \
    --separator semicolon
expect 1 "holds several accounts (Checking, Savings)" import "$reg" "$banks/qif_two_accounts.qif"
expect 0 "1.12 INTEREST" import "$reg" "$banks/qif_two_accounts.qif" --account Savings --dry-run --dates mdy
expect 0 "would be added" import "$reg" "$banks/ofx_checking_may.ofx" --dry-run --decimal comma
expect 2 "an investment account's statement" import "$reg" "$banks/ofx_investment.ofx"
expect 2 "holds no statement" import "$reg" "$banks/ofx_signon_only.ofx"
truncate -s 70M "$work/huge.csv"
expect 2 "It is 70.0 MB; the largest statement the import reads is 64 MB." import "$reg" "$work/huge.csv"
cleared_before=$("$cli" balance "$reg" --cleared)
expect 0 "Added 4, 0 duplicates, 0 left out" import "$reg" "$banks/csv_checking_may.csv" --uncleared
[ "$("$cli" balance "$reg" --cleared)" = "$cleared_before" ] ||
    { echo "FAIL: --uncleared marked the transactions cleared"; failures=$((failures + 1)); }
expect 0 "probably imported from csv_checking_may.csv" import "$reg" "$banks/ofx_checking_may.ofx" --dry-run
expect 1 "no CSV profile is named Nobody" import "$reg" "$banks/csv_checking_may.csv" --profile Nobody

# Schedules: the 31st falls on a shorter month's last day, and what fell due is entered once,
# however often `due --enter` runs.
sched=$work/Sched.qlt
: >"$sched"
expect 0 "Added schedule 1: Landlord -1200.00, every month on day 31, first due 2026/01/31" schedule add "$sched" \
    --payee Landlord --amount 1200.00 --withdrawal --first 2026-01-31 --day 31
expect 0 $'2026/02/28\t-1200.00\tLandlord\t31 days late' due "$sched" --through 2026-03-31
expect 0 "Entered 3 transactions" due "$sched" --through 2026-03-31 --enter
expect 0 "Nothing is due" due "$sched" --through 2026-03-31 --enter
expect 0 $'1\t2026/04/30\t-1200.00\tLandlord' schedule list "$sched"
expect 1 "--day is a day of the month" schedule add "$sched" --payee X --amount 1 --withdrawal --first 2026-01-01 \
    --day 32
expect 1 "--id 9 is no schedule" schedule delete "$sched" --id 9

# Categories: made as a script sets up a new machine, a rule applied to what has none, a split
# that must add up, a merge in one step, and the spending report's totals the register's own.
cats=$work/Cats.qlt
cp "$data/reports/statement.qlt" "$cats"
expect 0 "Added category Car:Fuel" category add "$cats" "Car:Fuel"
expect 1 "needs a letter" category add "$cats" "Car:"
expect 0 "Added category Food" category add "$cats" Food
expect 0 "Added rule 1" rule add "$cats" --contains "café" --category Food
expect 1 "there is no category \"Nothing\"" rule add "$cats" --contains "café" --category Nothing
expect 0 "Categorised 1 transaction" categorize "$cats"
expect 0 "No uncategorised transaction matches a rule" categorize "$cats" --dry-run
expect 1 "add up to 40.00, not the amount 50.00" add "$cats" --date 2026-12-09 --type Check --number 1 \
    --payee Shell --memo x --amount 50 --withdrawal --split Car:Fuel=30 --split Food=10
expect 0 "Added row 7" add "$cats" --date 2026-12-09 --type Check --number 1 --payee Shell --memo x --amount 50 \
    --withdrawal --split Car:Fuel=30 --split Food=20
expect 0 '"category":"Split","split":[{"category":"Car:Fuel","amount":"30.00"}' list "$cats" --format json
expect 0 ",uncleared,Split" list "$cats" --category Car --format csv
expect 1 "a category cannot be merged into itself or its own child" category merge "$cats" Car Car:Fuel
expect 0 "Merged Food into Car (2 transactions)" category merge "$cats" Food Car
expect 0 $'Car\t2' category list "$cats"
expect 0 "Total,.00,111.92,111.92" report "$cats" --format csv --by category
expect 0 '1	payee contains "café"	Car' rule list "$cats"

# A control character a register holds: JSON escapes it, every other output shows it as the list
# does, and none reaches the terminal.
cp "$data/registers/two_records.qlt" "$work/Controls.qlt"
expect 0 "Added row 3" add "$work/Controls.qlt" --date 2026-12-01 --type T --number 1 --payee $'Red\x1b[31m!' \
    --description $'a\tb' --amount 1 --deposit
expect 0 '"payee":"Red\u001b[31m!","memo":"a\tb"' list "$work/Controls.qlt" --format json
expect 0 $'Red\xc2\xb6[31m!,a\xc2\xb6b' list "$work/Controls.qlt" --format csv
for format in txt html csv; do
    if "$cli" report "$work/Controls.qlt" --format $format | grep -q $'[\x01-\x08\x0b-\x0c\x0e-\x1f\x7f]'; then
        echo "FAIL: report --format $format writes a control character"
        failures=$((failures + 1))
    fi
done

# Another program appends just before each change takes the register's lock (the second lock: the
# first is the opening's tidying): nothing is written, and the code is 3.
runner=(env "LD_PRELOAD=$elsewhere" QUILLET_TEST_CHANGE_AT_LOCK=2 ASAN_OPTIONS=verify_asan_link_order=0 "$cli")
for change in "add $reg --date 2026-12-09 --type T --number 1 --payee P --description D --amount 1 --deposit" \
    "void $reg --row 1" "delete $reg --row 1" "compact $reg" "import $reg $data/import/statement.qif"; do
    before=$(stat -c %s "$reg")
    # shellcheck disable=SC2086
    expect 3 "another program changed it meanwhile" $change
    [ "$(stat -c %s "$reg")" = $((before + 211)) ] ||
        { echo "FAIL: quillet-cli $change wrote besides the other program"; failures=$((failures + 1)); }
done
runner=("$cli")

[ "$failures" -eq 0 ] || exit 1
echo "quillet-cli: every case passed"
