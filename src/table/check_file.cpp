#include "table/check_file.h"

#include "platform/files.h"
#include "platform/text_codec.h"
#include "table/entry_files.h"

namespace hf::table {

std::filesystem::path CheckFile::path() {
  return files::programFolder() / codec::pathFromGbk("选择框.txt");
}

void CheckFile::write() {
  if (!files::replaceWhole(path(), formatCheckFile(table_.rows())))
    hints_.show(hints_.气球提示框2, table_.view(), 20, "●选择框.txt 保存失败！");
}

void CheckFile::read() {
  const std::string text = files::readWhole(path()).value_or(std::string());
  table_.editRows([&](RowStore& rows) { applyCheckFile(text, rows); });
}

}  // namespace hf::table
