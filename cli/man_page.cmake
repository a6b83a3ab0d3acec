# Makes quillet-cli's man page from its own help: the overview from --help, and a section with every
# subcommand's --help. cmake -DCLI=... -DHELP2MAN=... -DOUT=... -P man_page.cmake
set(subcommands check list balance report add void delete compact import)
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
