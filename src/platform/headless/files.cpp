// Whole-file access on the real file system, rooted in a test's folder.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>

#include "platform/headless/internal.h"

namespace hf::files {
namespace {

// A folder of its own for code that asks before any reset; removed at exit.
class FallbackFolder {
 public:
  FallbackFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "hotfill-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~FallbackFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::filesystem::path& chosenFolder() {
  static std::filesystem::path folder;
  return folder;
}

// Closes the descriptor when the scope ends.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting whether the last buffered writes made it.
  bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A fresh file beside the target; an empty path when none can be made.
std::filesystem::path createTemporaryBeside(const std::filesystem::path& target, int& fd) {
  static std::atomic<unsigned> counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path temporary = target;
    temporary += ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return temporary;
    if (errno != EEXIST) break;
  }
  return {};
}

// The bytes in a fresh file beside the target, on disk; an empty path (and
// nothing left behind) when they cannot be written.
std::filesystem::path writeTemporaryBeside(const std::filesystem::path& target,
                                           std::string_view bytes) {
  int fd = -1;
  const std::filesystem::path temporary = createTemporaryBeside(target, fd);
  if (temporary.empty()) return {};
  FileDescriptor file(fd);
  if (writeAll(file.get(), bytes) && ::fsync(file.get()) == 0 && file.close()) return temporary;
  ::unlink(temporary.c_str());
  return {};
}

// Makes the rename itself durable.
void syncFolderOf(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

// Windows refuses to replace a file marked read-only, and so does this
// backend, whoever runs it (a rename here ignores the file's own permissions).
bool markedReadOnly(const std::filesystem::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         (status.st_mode & S_IWUSR) == 0;
}

}  // namespace

std::filesystem::path programFolder() {
  if (chosenFolder().empty()) {
    static FallbackFolder fallback;
    return fallback.path();
  }
  return chosenFolder();
}

std::optional<std::string> readWhole(const std::filesystem::path& path, std::size_t maxBytes) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status {};
  if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      static_cast<std::size_t>(status.st_size) > maxBytes) {
    return std::nullopt;
  }
  std::string content(static_cast<std::size_t>(status.st_size), '\0');
  std::size_t filled = 0;
  while (filled < content.size()) {
    const ssize_t got = ::read(file.get(), content.data() + filled, content.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;  // shrank while being read
    filled += static_cast<std::size_t>(got);
  }
  content.resize(filled);
  return content;
}

bool replaceWhole(const std::filesystem::path& path, std::string_view bytes) {
  return replaceTogether({{path, bytes}});
}

bool replaceTogether(const std::vector<FileContent>& files) {
  for (const FileContent& file : files)
    if (markedReadOnly(file.path)) return false;
  std::vector<std::filesystem::path> temporaries;
  for (const FileContent& file : files) {
    std::filesystem::path temporary = writeTemporaryBeside(file.path, file.bytes);
    if (temporary.empty()) {
      for (const auto& written : temporaries) ::unlink(written.c_str());
      return false;
    }
    temporaries.push_back(std::move(temporary));
  }
  bool replaced = true;
  for (std::size_t i = 0; i < files.size(); ++i) {
    replaced = replaced && ::rename(temporaries[i].c_str(), files[i].path.c_str()) == 0;
    if (replaced)
      syncFolderOf(files[i].path);
    else
      ::unlink(temporaries[i].c_str());
  }
  return replaced;
}

bool exists(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

bool createFolder(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::create_directories(path, ignored);
  return std::filesystem::is_directory(path, ignored);
}

bool removeFolder(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
  return !std::filesystem::exists(path, ignored);
}

}  // namespace hf::files

namespace hf::headless::internal {

void setProgramFolder(const std::filesystem::path& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  files::chosenFolder() = folder;
}

}  // namespace hf::headless::internal
