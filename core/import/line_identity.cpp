#include "core/import/line_identity.h"

#include <xxhash.h>

#include <cstdio>
#include <unordered_map>

#include "core/runtime/number_text.h"

namespace quillet {

std::vector<std::string> line_identities(const std::vector<StatementLine>& lines) {
    std::vector<std::string> identities;
    identities.reserve(lines.size());
    std::unordered_map<std::string, int> seen;
    std::string text;
    for (const StatementLine& line : lines) {
        std::string identity;
        if (!line.bank_id.empty()) {
            identity = "id:" + line.bank_id;
        } else {
            // Every field the line shows, each ended so that no two lines run together alike.
            text = std::to_string(line.date) + '\n' + std::to_string(line.cents) + '\n' + line.number + '\n' +
                   line.payee + '\n' + line.description;
            char hex[17];
            std::snprintf(hex, sizeof hex, "%016llx",
                          static_cast<unsigned long long>(XXH3_64bits(text.data(), text.size())));
            identity = std::string("line:") + hex;
        }
        const int repeat = seen[identity]++;
        identities.push_back(identity + ':' + integer_text(repeat));
    }
    return identities;
}

}  // namespace quillet
