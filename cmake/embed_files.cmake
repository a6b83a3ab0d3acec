# Run as: cmake -DOUTPUT=file.cpp -DFILES="a.png;b.png" -P embed_files.cmake
# Writes a C++ source that holds the files' bytes and looks them up by file name.
set(arrays "")
set(entries "")
set(index 0)
foreach(path IN LISTS FILES)
    get_filename_component(name "${path}" NAME)
    file(READ "${path}" bytes HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
    string(APPEND arrays "const std::uint8_t kFile${index}[] = {\n    ${bytes}\n};\n")
    string(APPEND entries "    {\"${name}\", kFile${index}, sizeof kFile${index}},\n")
    math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new"
"// Generated from the embedded files at build time; do not edit.
#include \"resources/embedded.h\"

namespace quillet {
namespace {

struct Entry {
    std::string_view name;
    const std::uint8_t* data;
    std::size_t size;
};

${arrays}
const Entry kEntries[] = {
${entries}};

}  // namespace

std::span<const std::uint8_t> embedded_file(std::string_view name) {
    for (const Entry& entry : kEntries) {
        if (entry.name == name) return {entry.data, entry.size};
    }
    return {};
}

}  // namespace quillet
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
