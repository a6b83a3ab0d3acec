#include "core/import/line_identity.h"

#include <xxhash.h>

#include <cstdio>
#include <unordered_map>

#include "core/runtime/number_text.h"

namespace quillet {

std::vector<std::string> line_identities(const std::vector<StatementLine>& lines) {
    std::vector<std::string> identities;
    identities.reserve(lines.size());
    // Repeats are counted by the identity's hash; two identities that share one would only count
    // on from each other, and stay apart all the same.
    std::unordered_map<std::uint64_t, int> seen;
    seen.reserve(lines.size());
    std::string text;
    char hex[17];
    for (const StatementLine& line : lines) {
        std::string identity;
        if (!line.bank_id.empty()) {
            identity = "id:" + line.bank_id;
        } else {
            // Every field the line shows, each ended so that no two lines run together alike.
            text.clear();
            text += std::to_string(line.date);
            text += '\n';
            text += std::to_string(line.cents);
            text += '\n';
            text += line.number;
            text += '\n';
            text += line.payee;
            text += '\n';
            text += line.description;
            std::snprintf(hex, sizeof hex, "%016llx",
                          static_cast<unsigned long long>(XXH3_64bits(text.data(), text.size())));
            identity = std::string("line:") + hex;
        }
        const int repeat = seen[XXH3_64bits(identity.data(), identity.size())]++;
        identity += ':';
        identity += integer_text(repeat);
        identities.push_back(std::move(identity));
    }
    return identities;
}

}  // namespace quillet
