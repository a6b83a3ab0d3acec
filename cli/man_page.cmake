# Makes quillet-cli's man page from its own help: the overview from --help, and a section with every
# subcommand's --help. cmake -DCLI=... -DHELP2MAN=... -DOUT=... -P man_page.cmake
set(subcommands check list balance report add void delete compact import schedule due forecast)
set(include_text "[SUBCOMMANDS]\n")
foreach(subcommand ${subcommands})
    execute_process(COMMAND ${CLI} ${subcommand} --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "quillet-cli ${subcommand} --help failed")
    endif()
    # Lines as they are, each subcommand's help as a preformatted block.
    string(REPLACE "\\" "\\\\" help "${help}")
    string(APPEND include_text ".SS ${subcommand}\n.nf\n${help}.fi\n")
endforeach()
# What --help cannot say: the files, the JSON fields, examples and the related pages.
string(APPEND include_text [=[
[JSON FIELDS]
.B list --format json
gives an array of objects, one for each transaction that is not deleted:
.B row
(its number as the list counts it),
.B date
(yyyy-mm-dd),
.BR type ", " number ", " payee ", " memo
(texts as stored; a control character escaped as JSON escapes it),
.B kind
("deposit" or "withdrawal"),
.B amount
(a string of exact cents, "12.50"),
.B void
(true or false),
.B balance
(the register's balance after the row, a string of exact cents; null for a void row or one out of range),
.B second_date
(yyyy-mm-dd or null) and
.B state
("uncleared", "cleared" or "reconciled").
.B balance --json
gives
.BR register ", " transactions ", " balance ", " cleared_balance ", " month ", " month_deposits ", " month_withdrawals
and
.BR month_average ,
the figures strings of exact cents.
[FILES]
.TP
.I REGISTER.qstore
The companion store beside a register: what was imported (each file, each transaction's identity),
the cleared and reconciled marks and the statements reconciled. It is read and written with the
register.
.TP
.I REGISTER.qintent
Beside a register while a change is being written; the next open finishes or takes back a change a
kill interrupted.
.TP
.I ~/.local/share/quillet/Import profiles.ini
The CSV profiles the import dialog saved (columns, separator and readings), chosen by their names
with
.BR "import --profile" .
.TP
.I ~/.local/share/quillet/Quillet.ini
Quillet's settings. The folder is $XDG_DATA_HOME/quillet when that variable is set; a Quillet
unpacked or built outside /usr and /opt keeps these files beside its program instead.
[EXAMPLES]
A nightly import of the bank's download, from cron, refusing rather than guessing:
.PP
.nf
  15 2 * * *  quillet-cli import ~/Money/Checking.qlt ~/Downloads/statement.ofx >>~/Money/import.log 2>&1
.fi
.PP
A German bank's CSV read with the choices its dates and amounts leave:
.PP
.nf
  quillet-cli import Giro.qlt umsaetze.csv --dates dmy --decimal comma --dry-run
.fi
.PP
What was paid to one payee, summed with jq:
.PP
.nf
  quillet-cli list Checking.qlt --payee grocer --format json |
      jq '[.[] | select(.kind == "withdrawal" and (.void | not)) | .amount | tonumber] | add'
.fi
[SEE ALSO]
.BR quillet (1),
.BR jq (1),
.BR crontab (5)
]=])
file(WRITE ${OUT}.include "${include_text}")
# The page's date is the release's, so that every build gives the same bytes.
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})
execute_process(COMMAND ${HELP2MAN} --no-info --section=1
                        "--name=read and change Quillet registers from scripts"
                        --include=${OUT}.include --output=${OUT} ${CLI}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "help2man failed")
endif()
execute_process(COMMAND gzip -9n -f -k ${OUT} RESULT_VARIABLE result)
