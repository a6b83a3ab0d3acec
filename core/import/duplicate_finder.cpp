#include "core/import/duplicate_finder.h"

#include <algorithm>
#include <unordered_map>

#include "core/import/folded_text.h"

namespace quillet {

namespace {

// The words of a payee: runs of letters and digits, folded, without the ones of digits alone (a
// store's or a card's number).
std::vector<std::string> words_of(std::string_view payee) {
    std::vector<std::string> words;
    std::string word;
    bool letters = false;
    const std::string folded = folded_text(payee) + ' ';
    for (const char c : folded) {
        const bool letter = (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
        if (letter || (c >= '0' && c <= '9')) {
            word += c;
            letters = letters || letter;
            continue;
        }
        if (letters && word.size() >= 3) words.push_back(word);
        word.clear();
        letters = false;
    }
    return words;
}

// A line whose amount is everywhere (a monthly fee of the same amount in a register of years)
// weighs only its nearest candidates.
constexpr std::size_t kMostPairsPerLine = 64;

// Check numbers are compared as numbers when they are ("0123" is "123").
std::string_view bare_number(std::string_view number) {
    while (!number.empty() && (number.front() == ' ' || number.front() == '0')) number.remove_prefix(1);
    while (!number.empty() && number.back() == ' ') number.remove_suffix(1);
    return number;
}

bool numbers_agree(const std::string& a, const std::string& b) {
    const std::string_view one = bare_number(a);
    const std::string_view other = bare_number(b);
    return one.empty() || other.empty() || one == other;
}

struct Pair {
    std::int64_t days = 0;
    std::int64_t line = 0;
    std::int64_t typed = 0;
};

}  // namespace

std::vector<std::int64_t> match_candidates(const std::vector<MatchCandidate>& lines,
                                           const std::vector<MatchCandidate>& typed,
                                           const std::function<bool(std::size_t, std::size_t)>& may_match) {
    // The typed transactions by amount, each amount's in date order.
    std::unordered_map<std::int64_t, std::vector<std::int64_t>> by_amount;
    for (std::int64_t at = 0; at < static_cast<std::int64_t>(typed.size()); ++at)
        by_amount[typed[static_cast<std::size_t>(at)].cents].push_back(at);
    for (auto& [cents, indexes] : by_amount) {
        std::sort(indexes.begin(), indexes.end(), [&](std::int64_t a, std::int64_t b) {
            return typed[static_cast<std::size_t>(a)].date < typed[static_cast<std::size_t>(b)].date;
        });
    }
    std::vector<Pair> pairs;
    std::vector<Pair> line_pairs;
    for (std::int64_t at = 0; at < static_cast<std::int64_t>(lines.size()); ++at) {
        const MatchCandidate& line = lines[static_cast<std::size_t>(at)];
        const auto found = by_amount.find(line.cents);
        if (found == by_amount.end()) continue;
        const std::vector<std::int64_t>& same = found->second;
        // The window of dates, found by halving.
        const auto first = std::lower_bound(same.begin(), same.end(),
                                            line.date - kMatchDays * kSecondsADay - kSecondsADay + 1,
                                            [&](std::int64_t index, std::int64_t date) {
                                                return typed[static_cast<std::size_t>(index)].date < date;
                                            });
        line_pairs.clear();
        for (auto it = first; it != same.end(); ++it) {
            const MatchCandidate& candidate = typed[static_cast<std::size_t>(*it)];
            const std::int64_t days = candidate.date / kSecondsADay - line.date / kSecondsADay;
            if (days > kMatchDays) break;
            if (days < -kMatchDays || !numbers_agree(line.number, candidate.number)) continue;
            if (may_match && !may_match(static_cast<std::size_t>(at), static_cast<std::size_t>(*it)))
                continue;
            line_pairs.push_back({days < 0 ? -days : days, at, *it});
        }
        if (line_pairs.size() > kMostPairsPerLine) {
            std::partial_sort(line_pairs.begin(), line_pairs.begin() + kMostPairsPerLine, line_pairs.end(),
                              [](const Pair& a, const Pair& b) { return a.days < b.days; });
            line_pairs.resize(kMostPairsPerLine);
        }
        pairs.insert(pairs.end(), line_pairs.begin(), line_pairs.end());
    }
    // Closest first; among equals, the earlier line and the earlier transaction.
    std::sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) {
        if (a.days != b.days) return a.days < b.days;
        if (a.line != b.line) return a.line < b.line;
        return a.typed < b.typed;
    });
    std::vector<std::int64_t> matched(lines.size(), -1);
    std::vector<bool> taken(typed.size(), false);
    for (const Pair& pair : pairs) {
        auto& line_match = matched[static_cast<std::size_t>(pair.line)];
        if (line_match >= 0 || taken[static_cast<std::size_t>(pair.typed)]) continue;
        line_match = pair.typed;
        taken[static_cast<std::size_t>(pair.typed)] = true;
    }
    return matched;
}

bool payees_alike(std::string_view one, std::string_view other) {
    const std::vector<std::string> first = words_of(one);
    const std::vector<std::string> second = words_of(other);
    if (first.empty() || second.empty()) return true;
    for (const std::string& word : first) {
        if (std::find(second.begin(), second.end(), word) != second.end()) return true;
    }
    // One written short of the other: "AMZN" and "AMZN MKTP", "STADTWERKE" and "STADTWERKEMUENCHEN".
    std::string joined_first;
    std::string joined_second;
    for (const std::string& word : first) joined_first += word;
    for (const std::string& word : second) joined_second += word;
    return joined_first.starts_with(joined_second) || joined_second.starts_with(joined_first);
}

}  // namespace quillet
