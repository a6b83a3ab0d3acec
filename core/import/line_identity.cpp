#include "core/import/line_identity.h"

#include <xxhash.h>

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "core/runtime/number_text.h"

namespace quillet {

std::vector<std::string> line_identities(const std::vector<StatementLine>& lines) {
    return line_identities(lines.size(), [&](std::size_t at) -> const StatementLine& { return lines[at]; });
}

std::vector<std::string> line_identities(std::size_t count,
                                         const std::function<const StatementLine&(std::size_t)>& line_at) {
    std::vector<std::string> identities;
    identities.reserve(count);
    std::string text;
    char hex[17];
    char number[24];
    const auto add_number = [&](std::int64_t value) {
        text.append(number, static_cast<std::size_t>(
                                std::to_chars(number, number + sizeof number, value).ptr - number));
    };
    for (std::size_t index = 0; index < count; ++index) {
        const StatementLine& line = line_at(index);
        if (!line.bank_id().empty()) {
            identities.push_back("id:" + std::string(line.bank_id()));
            continue;
        }
        // Every field the line shows, each ended so that no two lines run together alike.
        text.clear();
        add_number(line.date);
        text += '\n';
        add_number(line.cents);
        text += '\n';
        text += line.number();
        text += '\n';
        text += line.payee();
        text += '\n';
        text += line.description();
        std::snprintf(hex, sizeof hex, "%016llx",
                      static_cast<unsigned long long>(XXH3_64bits(text.data(), text.size())));
        identities.push_back(std::string("line:") + hex);
    }
    // Repeats are counted by the identity's hash, in the file's order; two identities that share
    // one would only count on from each other, and stay apart all the same. Sorted rather than
    // hashed into a map: a million lines' nodes took longer than all the rest of the counting.
    std::vector<std::pair<std::uint64_t, std::size_t>> hashes(identities.size());
    for (std::size_t at = 0; at < identities.size(); ++at)
        hashes[at] = {XXH3_64bits(identities[at].data(), identities[at].size()), at};
    std::sort(hashes.begin(), hashes.end());
    for (std::size_t at = 0; at < hashes.size(); ++at) {
        const std::size_t first = at;
        for (; at < hashes.size(); ++at) {
            if (hashes[at].first != hashes[first].first) break;
            std::string& identity = identities[hashes[at].second];
            identity += ':';
            identity += integer_text(static_cast<std::int64_t>(at - first));
        }
        --at;
    }
    return identities;
}

}  // namespace quillet
