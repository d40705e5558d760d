#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hf::table {

// The rows of the data table in a compact form that holds a million entries
// in little more memory than their text: entry texts live in one arena, a row
// is 16 bytes, and the rarely used columns 2 to 5 are stored only for rows
// that have them. Column 0 (the row number) is kept as a number.
class RowStore {
 public:
  static constexpr int kColumns = 6;

  // Entries to append in one step: pieces of one text, each given by its
  // byte offset and length within it.
  struct Pieces {
    std::string text;
    std::vector<std::uint32_t> offsets;
    std::vector<std::uint32_t> lengths;
    std::size_t size() const { return offsets.size(); }
  };

  // A row index that moves with its row through inserts, removals and moves,
  // and turns -1 when the row goes. Whoever needs one keeps it; the store
  // forgets the ones nobody keeps any more.
  using FollowedRow = std::shared_ptr<const int>;
  FollowedRow follow(int row) const;

  // Counts the changes that give some index to another row: inserts other
  // than at the end, removals, moves, emptying. Appending and cell or mark
  // changes leave it alone.
  int layoutVersion() const { return layoutVersion_; }

  int size() const { return static_cast<int>(rows_.size()); }
  bool contains(int row) const { return row >= 0 && row < size(); }

  std::string cell(int row, int column) const;  // "" outside the table
  std::string_view entry(int row) const;        // column 1
  void setCell(int row, int column, std::string_view text);

  bool isMarked(int row) const;
  void setMarked(int row, bool marked);

  // A new row at index `at` (clamped to the end) with the given row number
  // and entry, other columns empty, no mark.
  void insert(int at, std::uint32_t number, std::string_view entry);
  // Appends every piece as a row numbered after the existing rows.
  void append(Pieces&& pieces);
  void erase(int row);
  // Erases every row for which drop(row) holds, in one pass; the others keep
  // their order, numbers, marks and cells.
  void eraseIf(const std::function<bool(int row)>& drop);
  void clear();
  // Moves a row to another index (the rows between shift by one).
  void move(int from, int to);
  // Writes the 1-based position of every row into column 0.
  void renumber();

  std::size_t memoryBytes() const;

 private:
  struct Row {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::uint32_t extras = 0;  // index + 1 into extras_, 0 for none
    std::uint32_t number = 0;  // column 0; the top bit is the mark
  };
  static constexpr std::uint32_t kMarkBit = 0x80000000u;
  static constexpr std::uint32_t kNumberMask = ~kMarkBit;
  using Extras = std::array<std::string, kColumns - 2>;

  std::vector<std::shared_ptr<int>> liveFollowers();
  // Gives every followed index its new value: remap(old index) -> new index.
  template <typename Remap>
  void moveFollowers(Remap remap);
  void setEntry(Row& row, std::string_view text);
  void releaseExtras(Row& row);
  void compactIfWasteful();

  std::vector<Row> rows_;
  std::string arena_;
  std::size_t garbage_ = 0;  // arena bytes no row points at
  std::vector<Extras> extras_;
  std::vector<std::uint32_t> freeExtras_;
  mutable std::vector<std::weak_ptr<int>> followers_;
  int layoutVersion_ = 0;
};

}  // namespace hf::table
