#include "core/runtime/pieces.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace quillet {

std::int64_t piece_count(std::int64_t count, std::int64_t least) {
    return std::clamp<std::int64_t>(std::thread::hardware_concurrency(), 1,
                                    std::max<std::int64_t>(1, count / std::max<std::int64_t>(1, least)));
}

void in_pieces(std::int64_t count, std::int64_t pieces,
               const std::function<void(std::int64_t piece, std::int64_t first, std::int64_t end)>& work) {
    pieces = std::max<std::int64_t>(1, pieces);
    std::vector<std::thread> threads;
    for (std::int64_t piece = 1; piece < pieces; ++piece)
        threads.emplace_back(work, piece, count * piece / pieces, count * (piece + 1) / pieces);
    work(0, 0, count / pieces);
    for (std::thread& thread : threads) thread.join();
}

}  // namespace quillet
