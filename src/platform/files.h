#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whole-file access. Every file the system writes is replaced atomically: the
// bytes go to a temporary file in the same folder, which is then renamed over
// the old one, so a crash or a full disk never leaves a half-written file.
namespace hf::files {

// The folder that holds the executable (a temporary folder under the headless backend).
std::filesystem::path programFolder();

// The whole content, or nothing when the file is missing or unreadable.
// Files larger than maxBytes are not read (nothing is returned).
std::optional<std::string> readWhole(const std::filesystem::path& path,
                                     std::size_t maxBytes = std::size_t(1) << 30);

// Replaces the file with bytes; false (and the old file untouched) on failure.
bool replaceWhole(const std::filesystem::path& path, std::string_view bytes);

struct FileContent {
  std::filesystem::path path;
  std::string_view bytes;
};
// Replaces files that belong together. Every new content is written beside
// its file before any file is replaced, so a write that fails (a full disk,
// a read-only folder) leaves every old file as it was. False on any failure;
// a file that cannot be replaced after all writes succeeded (one locked by
// another program) keeps its old content, and so do the ones after it.
bool replaceTogether(const std::vector<FileContent>& files);

bool exists(const std::filesystem::path& path);

// Creates the folder, and the folders above it, where missing; true when it
// exists afterwards.
bool createFolder(const std::filesystem::path& path);

// Removes the folder with everything in it; true when it is gone afterwards
// (a folder that was not there counts as removed).
bool removeFolder(const std::filesystem::path& path);

}  // namespace hf::files
