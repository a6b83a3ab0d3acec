// A payee as categories learn it: the bank's variants of one payee ("AMAZON MKTP #1234", "Amazon
// Mktp 0042", "amazon  mktp") share one key, so that what was learned of one holds for the others.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The payee (Windows-1252) folded (letter case and accents aside), its runs of letters and digits
// joined by single spaces, a trailing number (a store's or a card's, "#1234", "0042") left out.
std::string payee_key(std::string_view payee);

}  // namespace quillet
