#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

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

bool exists(const std::filesystem::path& path);

// Creates the folder, and the folders above it, where missing; true when it
// exists afterwards.
bool createFolder(const std::filesystem::path& path);

}  // namespace hf::files
