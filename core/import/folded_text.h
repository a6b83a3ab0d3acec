// Texts compared as people read them, not as their bytes are: a bank writes "Empfänger",
// "Empfaenger" and "EMPFAENGER" for one word, and "Libellé" or "Libelle" for another.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The UTF-8 text in lower case ASCII where it can be: German umlauts spelt out ("ä" is "ae", "ß"
// "ss"), other accented Latin letters without their accents; any other character as it is.
std::string folded_text(std::string_view utf8);

}  // namespace quillet
