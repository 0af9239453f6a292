// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

namespace tavrin {
namespace fs = std::filesystem;

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

FileError ErrorFor(const fs::path& path, bool forWriting) {
  std::error_code ec;
  const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (!fs::is_directory(parent, ec)) return {kErrorPathNotFound, "Path not found"};
  if (!forWriting && !fs::exists(path, ec)) return {kErrorFileNotFound, "File not found"};
  return {kErrorPathFileAccess, "Path/File access error"};
}

// A file the program creates gets the permissions the user's umask allows; a replacement
// keeps those of the file it replaces.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

// Makes a rename durable: the folder's entry is synced too.
void SyncFolderOf(const std::string& path) {
  const fs::path parent = fs::path(path).has_parent_path() ? fs::path(path).parent_path() : ".";
  const int fd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Whether an injected fault stops this stage now.
bool FaultAt(const std::optional<WriteFault>& fault, WriteFault::Stage stage) {
  return fault && fault->stage == stage;
}

}  // namespace

FileError SystemFileError(int errnoValue) {
  const std::string description = std::strerror(errnoValue);
  switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return {kErrorDiskFull, description};
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return {kErrorPathFileAccess, description};
    case ENOENT:
    case ENOTDIR:
      return {kErrorPathNotFound, description};
    default:
      return {kErrorDeviceIo, description};
  }
}

TextInput::TextInput(std::string contents)
    : stream_(std::make_unique<std::istringstream>(std::move(contents))) {}

TextInput::TextInput(std::unique_ptr<std::istream> stream) : stream_(std::move(stream)) {}

bool TextInput::AtEnd() const {
  return !*stream_ || stream_->peek() == std::char_traits<char>::eof();
}

std::string TextInput::ReadLine() {
  if (AtEnd()) return {};
  std::string line;
  std::getline(*stream_, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

TextOutput::TextOutput(int fd, std::string path, std::string temporaryPath,
                       std::optional<WriteFault> fault)
    : fd_(fd), path_(std::move(path)), temporaryPath_(std::move(temporaryPath)), fault_(fault) {}

TextOutput::~TextOutput() {
  if (IsReplacement()) {
    Abandon();
  } else {
    CloseDescriptor();
  }
}

void TextOutput::Fail(int errnoValue) {
  if (!error_.Failed()) error_ = SystemFileError(errnoValue);
}

void TextOutput::CloseDescriptor() {
  if (fd_ < 0) return;
  if (::close(fd_) != 0) Fail(errno);
  fd_ = -1;
}

bool TextOutput::WriteLine(const std::string& text) {
  if (error_.Failed()) return false;
  if (fd_ < 0) {
    Fail(EBADF);
    return false;
  }
  const std::string bytes = text + "\r\n";
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t wanted = bytes.size() - done;
    if (FaultAt(fault_, WriteFault::Stage::Write)) {
      const std::size_t left = fault_->bytesBefore > written_ ? fault_->bytesBefore - written_ : 0;
      if (left == 0) {
        Fail(fault_->errnoValue);
        return false;
      }
      wanted = std::min(wanted, left);
    }
    const ssize_t n = ::write(fd_, bytes.data() + done, wanted);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Fail(n < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<std::size_t>(n);
    written_ += static_cast<std::size_t>(n);
  }
  return true;
}

bool TextOutput::Close() {
  if (IsReplacement()) {
    Abandon();
    return false;
  }
  CloseDescriptor();
  return !error_.Failed();
}

bool TextOutput::Commit() {
  if (!IsReplacement()) return Close();
  if (!error_.Failed() && FaultAt(fault_, WriteFault::Stage::Commit)) Fail(fault_->errnoValue);
  if (!error_.Failed() && ::fsync(fd_) != 0) Fail(errno);
  CloseDescriptor();
  if (!error_.Failed() && ::rename(temporaryPath_.c_str(), path_.c_str()) != 0) Fail(errno);
  if (error_.Failed()) {
    Abandon();
    return false;
  }
  temporaryPath_.clear();
  SyncFolderOf(path_);
  return true;
}

bool TextOutput::CommitAs(const std::string& path) {
  if (!IsReplacement()) return Close();
  path_ = path;
  return Commit();
}

void TextOutput::Abandon() {
  const FileError kept = error_;
  CloseDescriptor();
  error_ = kept;
  if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
  temporaryPath_.clear();
}

Files::Files() : currentDirectory_(fs::current_path().string()) {}

Files::Files(std::string currentDirectory) : currentDirectory_(std::move(currentDirectory)) {}

std::string Files::CompletePath(const std::string& name) const {
  if (name.size() > 12) return name;
  return (fs::path(currentDirectory_) / name).string();
}

std::string Files::Resolve(const std::string& path) const {
  fs::path p(path);
  if (p.is_relative()) p = fs::path(currentDirectory_) / p;
  std::error_code ec;
  if (fs::exists(p, ec)) return p.string();
  const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
  const std::string wanted = p.filename().string();
  if (wanted.empty() || !fs::is_directory(dir, ec)) return p.string();
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    if (SameIgnoringCase(candidate, wanted)) return it->path().string();
  }
  return p.string();
}

bool Files::Exists(const std::string& path) const {
  std::error_code ec;
  return fs::is_regular_file(Resolve(path), ec);
}

std::unique_ptr<TextInput> Files::OpenInput(const std::string& path, FileError& error) const {
  const fs::path resolved = Resolve(path);
  std::error_code ec;
  if (path.empty() || !fs::exists(resolved, ec)) {
    error =
        path.empty() ? FileError{kErrorFileNotFound, "File not found"} : ErrorFor(resolved, false);
    return nullptr;
  }
  if (fs::is_directory(resolved, ec)) {
    error = {kErrorPathFileAccess, "Path/File access error"};
    return nullptr;
  }
  auto in = std::make_unique<std::ifstream>(resolved, std::ios::binary);
  if (!*in) {
    error = {kErrorPathFileAccess, "Path/File access error"};
    return nullptr;
  }
  error = {};
  return std::make_unique<TextInput>(std::move(in));
}

std::unique_ptr<TextOutput> Files::OpenOutput(const std::string& path, FileError& error) const {
  const fs::path resolved = Resolve(path);
  std::error_code ec;
  if (path.empty() || fs::is_directory(resolved, ec)) {
    error = {kErrorPathFileAccess, "Path/File access error"};
    return nullptr;
  }
  if (FaultAt(fault_, WriteFault::Stage::Create)) {
    error = SystemFileError(fault_->errnoValue);
    return nullptr;
  }
  const int fd = ::open(resolved.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = ErrorFor(resolved, true);
    return nullptr;
  }
  error = {};
  return std::make_unique<TextOutput>(fd, resolved.string(), std::string(), fault_);
}

std::unique_ptr<TextOutput> Files::OpenReplacement(const std::string& path,
                                                   FileError& error) const {
  const fs::path resolved = Resolve(path);
  std::error_code ec;
  if (path.empty() || fs::is_directory(resolved, ec)) {
    error = {kErrorPathFileAccess, "Path/File access error"};
    return nullptr;
  }
  const fs::path parent = resolved.has_parent_path() ? resolved.parent_path() : fs::path(".");
  if (!fs::is_directory(parent, ec)) {
    error = {kErrorPathNotFound, "Path not found"};
    return nullptr;
  }
  if (FaultAt(fault_, WriteFault::Stage::Create)) {
    error = SystemFileError(fault_->errnoValue);
    return nullptr;
  }
  std::string temporary = (parent / ("." + resolved.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    error = SystemFileError(errno);
    return nullptr;
  }
  // Held while it is written (and let go with the descriptor, also when the program is killed):
  // the next start of a program of the suite removes it only when nobody holds it.
  ::flock(fd, LOCK_EX);
  struct stat old {};
  const mode_t mode = ::stat(resolved.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
  ::fchmod(fd, mode);
  error = {};
  return std::make_unique<TextOutput>(fd, resolved.string(), temporary, fault_);
}

int Files::RemoveLeftoverReplacements(const std::string& path) const {
  if (path.empty()) return 0;
  const fs::path resolved = Resolve(path);
  const std::string prefix = "." + resolved.filename().string() + ".";
  const fs::path folder = resolved.has_parent_path() ? resolved.parent_path() : fs::path(".");
  // mkostemp's six letters and digits after the name.
  const auto leftover = [&prefix](const std::string& name) {
    if (name.size() != prefix.size() + 6) return false;
    if (!SameIgnoringCase(name.substr(0, prefix.size()), prefix)) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
  };
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!leftover(it->path().filename().string())) continue;
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    // A replacement being written is locked by its program; one nobody holds is a leftover.
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::unlink(it->path().c_str()) == 0) {
      ++removed;
    }
    ::close(fd);
  }
  return removed;
}

bool Files::MoveOver(const std::string& from, const std::string& to, FileError& error) const {
  const fs::path source = Resolve(from);
  const fs::path target = Resolve(to);
  if (FaultAt(fault_, WriteFault::Stage::Commit)) {
    error = SystemFileError(fault_->errnoValue);
    return false;
  }
  if (::rename(source.c_str(), target.c_str()) != 0) {
    error = SystemFileError(errno);
    return false;
  }
  SyncFolderOf(target.string());
  error = {};
  return true;
}

}  // namespace tavrin
