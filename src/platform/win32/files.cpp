#include "platform/files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

namespace hf::files {
namespace {

// Closes a file handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  void close() {
    if (valid()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 24));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// A name in the target's folder that no other writer (thread or instance) uses.
std::filesystem::path temporaryNameFor(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::wstring suffix =
      L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".tmp";
  std::filesystem::path temporary = target;
  temporary += suffix;
  return temporary;
}

// The bytes in a new file beside the target, flushed; an empty path (and
// nothing left behind) when they cannot be written.
std::filesystem::path writeTemporaryFor(const std::filesystem::path& target,
                                        std::string_view bytes) {
  std::filesystem::path temporary = temporaryNameFor(target);
  FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {};
  const bool written = writeAll(file.get(), bytes) && FlushFileBuffers(file.get());
  file.close();
  if (written) return temporary;
  DeleteFileW(temporary.c_str());
  return {};
}

}  // namespace

std::filesystem::path programFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD size = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (size == 0) return {};
    if (size < buffer.size()) {
      buffer.resize(size);
      return std::filesystem::path(buffer).parent_path();
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<std::string> readWhole(const std::filesystem::path& path, std::size_t maxBytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 1u << 24));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data() + filled, chunk, &read, nullptr)) return std::nullopt;
    if (read == 0) break;  // the file shrank meanwhile
    filled += read;
  }
  bytes.resize(filled);
  return bytes;
}

bool replaceWhole(const std::filesystem::path& path, std::string_view bytes) {
  return replaceTogether({{path, bytes}});
}

bool replaceTogether(const std::vector<FileContent>& files) {
  std::vector<std::filesystem::path> temporaries;
  for (const FileContent& file : files) {
    std::filesystem::path temporary = writeTemporaryFor(file.path, file.bytes);
    if (temporary.empty()) {
      for (const auto& written : temporaries) DeleteFileW(written.c_str());
      return false;
    }
    temporaries.push_back(std::move(temporary));
  }
  bool replaced = true;
  for (std::size_t i = 0; i < files.size(); ++i) {
    replaced = replaced && MoveFileExW(temporaries[i].c_str(), files[i].path.c_str(),
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) DeleteFileW(temporaries[i].c_str());
  }
  return replaced;
}

bool exists(const std::filesystem::path& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool createFolder(const std::filesystem::path& path) {
  // The folders above it first, as far as they are missing.
  if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() == ERROR_PATH_NOT_FOUND &&
      path.parent_path() != path && createFolder(path.parent_path())) {
    CreateDirectoryW(path.c_str(), nullptr);
  }
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool removeFolder(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
  return !std::filesystem::exists(path, ignored);
}

}  // namespace hf::files
