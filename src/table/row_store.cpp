#include "table/row_store.h"

#include <algorithm>

#include "text/numbers.h"

namespace hf::table {

RowStore::FollowedRow RowStore::follow(int row) const {
  std::erase_if(followers_, [](const std::weak_ptr<int>& follower) { return follower.expired(); });
  auto followed = std::make_shared<int>(contains(row) ? row : -1);
  followers_.push_back(followed);
  return followed;
}

// The followed indices of rows that are still there.
std::vector<std::shared_ptr<int>> RowStore::liveFollowers() {
  std::vector<std::shared_ptr<int>> live;
  for (const std::weak_ptr<int>& follower : followers_)
    if (std::shared_ptr<int> row = follower.lock(); row && *row >= 0) live.push_back(row);
  return live;
}

template <typename Remap>
void RowStore::moveFollowers(Remap remap) {
  ++layoutVersion_;
  for (const std::shared_ptr<int>& row : liveFollowers()) *row = remap(*row);
}

std::string RowStore::cell(int row, int column) const {
  if (!contains(row) || column < 0 || column >= kColumns) return {};
  const Row& r = rows_[row];
  switch (column) {
    case 0: {
      const std::uint32_t number = r.number & kNumberMask;
      return number == 0 ? std::string() : text::toText(number);
    }
    case 1:
      return std::string(entry(row));
    default:
      return r.extras == 0 ? std::string() : extras_[r.extras - 1][column - 2];
  }
}

std::string_view RowStore::entry(int row) const {
  if (!contains(row)) return {};
  const Row& r = rows_[row];
  return std::string_view(arena_).substr(r.offset, r.length);
}

void RowStore::setCell(int row, int column, std::string_view text) {
  if (!contains(row) || column < 0 || column >= kColumns) return;
  Row& r = rows_[row];
  if (column == 0) {
    const int number = std::max(0, text::toInt(text));
    r.number = (r.number & kMarkBit) | (static_cast<std::uint32_t>(number) & kNumberMask);
  } else if (column == 1) {
    setEntry(r, text);
  } else if (r.extras != 0 || !text.empty()) {
    if (r.extras == 0) {
      if (freeExtras_.empty()) {
        extras_.emplace_back();
        r.extras = static_cast<std::uint32_t>(extras_.size());
      } else {
        r.extras = freeExtras_.back();
        freeExtras_.pop_back();
      }
    }
    Extras& extras = extras_[r.extras - 1];
    extras[column - 2] = text;
    if (std::all_of(extras.begin(), extras.end(), [](const auto& s) { return s.empty(); }))
      releaseExtras(r);
  }
}

bool RowStore::isMarked(int row) const {
  return contains(row) && (rows_[row].number & kMarkBit) != 0;
}

void RowStore::setMarked(int row, bool marked) {
  if (!contains(row)) return;
  std::uint32_t& number = rows_[row].number;
  number = marked ? (number | kMarkBit) : (number & kNumberMask);
}

void RowStore::insert(int at, std::uint32_t number, std::string_view entry) {
  at = std::clamp(at, 0, size());
  if (at < size()) moveFollowers([at](int row) { return row >= at ? row + 1 : row; });
  Row row;
  row.number = number & kNumberMask;
  rows_.insert(rows_.begin() + at, row);
  setEntry(rows_[at], entry);
}

void RowStore::append(Pieces&& pieces) {
  std::uint32_t base = 0;
  if (rows_.empty()) {
    arena_ = std::move(pieces.text);
    garbage_ = arena_.size();
  } else {
    base = static_cast<std::uint32_t>(arena_.size());
    arena_ += pieces.text;
    garbage_ += pieces.text.size();
  }
  rows_.reserve(rows_.size() + pieces.size());
  std::uint32_t number = static_cast<std::uint32_t>(rows_.size());
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    Row row;
    row.offset = base + pieces.offsets[i];
    row.length = pieces.lengths[i];
    row.number = ++number;
    garbage_ -= row.length;
    rows_.push_back(row);
  }
  pieces = {};
}

void RowStore::erase(int row) {
  if (!contains(row)) return;
  moveFollowers([row](int followed) {
    return followed == row ? -1 : followed > row ? followed - 1 : followed;
  });
  releaseExtras(rows_[row]);
  garbage_ += rows_[row].length;
  rows_.erase(rows_.begin() + row);
  compactIfWasteful();
}

void RowStore::eraseIf(const std::function<bool(int row)>& drop) {
  std::vector<std::shared_ptr<int>> followed = liveFollowers();
  std::sort(followed.begin(), followed.end(), [](const auto& a, const auto& b) { return *a < *b; });
  auto next = followed.begin();
  std::size_t kept = 0;
  for (int row = 0; row < size(); ++row) {  // only rows before `row` are overwritten
    const bool dropped = drop(row);
    for (; next != followed.end() && **next == row; ++next) **next = dropped ? -1 : int(kept);
    if (dropped) {
      releaseExtras(rows_[row]);
      garbage_ += rows_[row].length;
    } else {
      rows_[kept++] = rows_[row];
    }
  }
  if (kept == rows_.size()) return;
  ++layoutVersion_;
  rows_.resize(kept);
  compactIfWasteful();
}

void RowStore::clear() {
  moveFollowers([](int) { return -1; });
  rows_.clear();
  rows_.shrink_to_fit();
  arena_.clear();
  arena_.shrink_to_fit();
  garbage_ = 0;
  extras_.clear();
  freeExtras_.clear();
}

void RowStore::move(int from, int to) {
  if (!contains(from) || !contains(to) || from == to) return;
  moveFollowers([from, to](int row) {
    if (row == from) return to;
    if (from < to && row > from && row <= to) return row - 1;
    if (to < from && row >= to && row < from) return row + 1;
    return row;
  });
  const auto first = rows_.begin();
  if (from < to)
    std::rotate(first + from, first + from + 1, first + to + 1);
  else
    std::rotate(first + to, first + from, first + from + 1);
}

void RowStore::renumber() {
  std::uint32_t number = 0;
  for (Row& row : rows_) row.number = (row.number & kMarkBit) | ++number;
}

std::size_t RowStore::memoryBytes() const {
  std::size_t bytes = rows_.capacity() * sizeof(Row) + arena_.capacity() +
                      extras_.capacity() * sizeof(Extras) + freeExtras_.capacity() * 4;
  for (const Extras& extras : extras_)
    for (const std::string& s : extras) bytes += s.capacity() > 15 ? s.capacity() : 0;
  return bytes;
}

void RowStore::setEntry(Row& row, std::string_view text) {
  if (text == std::string_view(arena_).substr(row.offset, row.length)) return;
  garbage_ += row.length;
  row.offset = static_cast<std::uint32_t>(arena_.size());
  row.length = static_cast<std::uint32_t>(text.size());
  arena_.append(text);
  compactIfWasteful();
}

void RowStore::releaseExtras(Row& row) {
  if (row.extras == 0) return;
  extras_[row.extras - 1] = {};
  freeExtras_.push_back(row.extras);
  row.extras = 0;
}

// Edits leave old texts behind in the arena; once they outweigh the live
// text, the arena is rebuilt from the live rows.
void RowStore::compactIfWasteful() {
  if (garbage_ < (1u << 20) || garbage_ * 2 < arena_.size()) return;
  std::string fresh;
  fresh.reserve(arena_.size() - garbage_);
  for (Row& row : rows_) {
    const std::uint32_t offset = static_cast<std::uint32_t>(fresh.size());
    fresh.append(arena_, row.offset, row.length);
    row.offset = offset;
  }
  arena_ = std::move(fresh);
  garbage_ = 0;
}

}  // namespace hf::table
