#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
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

}  // namespace

TextInput::TextInput(std::string contents) : contents_(std::move(contents)) {}

bool TextInput::AtEnd() const { return position_ >= contents_.size(); }

std::string TextInput::ReadLine() {
  if (AtEnd()) return {};
  const std::size_t end = contents_.find('\n', position_);
  const std::size_t stop = end == std::string::npos ? contents_.size() : end;
  std::string line = contents_.substr(position_, stop - position_);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  position_ = end == std::string::npos ? contents_.size() : end + 1;
  return line;
}

TextOutput::TextOutput(std::ofstream stream) : stream_(std::move(stream)) {}

void TextOutput::WriteLine(const std::string& text) {
  stream_ << text << "\r\n";
}

void TextOutput::Flush() { stream_.flush(); }

void TextOutput::Close() { stream_.close(); }

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
    error = path.empty() ? FileError{kErrorFileNotFound, "File not found"} : ErrorFor(resolved, false);
    return nullptr;
  }
  if (fs::is_directory(resolved, ec)) {
    error = {kErrorPathFileAccess, "Path/File access error"};
    return nullptr;
  }
  std::ifstream in(resolved, std::ios::binary);
  if (!in) {
    error = {kErrorPathFileAccess, "Path/File access error"};
    return nullptr;
  }
  std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  error = {};
  return std::make_unique<TextInput>(std::move(contents));
}

std::unique_ptr<TextOutput> Files::OpenOutput(const std::string& path, FileError& error) const {
  const fs::path resolved = Resolve(path);
  std::error_code ec;
  if (path.empty() || fs::is_directory(resolved, ec)) {
    error = {kErrorPathFileAccess, "Path/File access error"};
    return nullptr;
  }
  std::ofstream out(resolved, std::ios::binary | std::ios::trunc);
  if (!out) {
    error = ErrorFor(resolved, true);
    return nullptr;
  }
  error = {};
  return std::make_unique<TextOutput>(std::move(out));
}

}  // namespace tavrin
