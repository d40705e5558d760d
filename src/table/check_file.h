#pragma once

#include <filesystem>

#include "feedback/hints.h"
#include "table/data_table.h"

namespace hf::table {

// The check file "选择框.txt" in the program folder: the marks of the data
// table, kept so that a run of 有序复制 can restore them once every marked
// row has been delivered.
class CheckFile {
 public:
  CheckFile(feedback::Hints& hints, DataTable& table) : hints_(hints), table_(table) {}

  static std::filesystem::path path();

  // Writes the marks; a failed write says so with a hint.
  void write();
  // Marks the rows the file names; a missing file changes nothing.
  void read();

 private:
  feedback::Hints& hints_;
  DataTable& table_;
};

}  // namespace hf::table
