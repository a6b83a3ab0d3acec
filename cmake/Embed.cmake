# quillet_embed_files(target file...): compiles the files' bytes into the target, found at run
# time through embedded_file(name) of resources/embedded.h. Regenerated when a file changes.
function(quillet_embed_files target)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.cpp)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DFILES=${ARGN}" -P ${PROJECT_SOURCE_DIR}/cmake/embed_files.cmake
        DEPENDS ${ARGN} ${PROJECT_SOURCE_DIR}/cmake/embed_files.cmake
        COMMENT "Embedding files into ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${output})
endfunction()
