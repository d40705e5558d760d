#pragma once

#include <cstddef>

namespace hf::table {

// Whether each row of a constant table indexed by an enum describes the
// enumerator of its own index (row.mode), so that the table and the enum
// cannot drift apart.
template <class Row, std::size_t N>
constexpr bool rowsInEnumOrder(const Row (&rows)[N]) {
  for (std::size_t i = 0; i < N; ++i)
    if (static_cast<std::size_t>(rows[i].mode) != i) return false;
  return true;
}

}  // namespace hf::table
