// A hash of a vector of numbers, for the tables that find a subset of states or a column of moves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace parvolen::regex {

struct VectorHash {
  std::size_t operator()(const std::vector<std::int32_t>& v) const {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const std::int32_t x : v) h = (h ^ static_cast<std::uint32_t>(x)) * 0x100000001b3ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
};

}  // namespace parvolen::regex
