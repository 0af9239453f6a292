// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File access for the control programs and the tools. The suite was designed for a file system
// that ignores case and separates with a backslash; on Linux a name is first tried as given,
// and when it does not exist a file in the same directory whose name differs only in case is
// used (KESTRA.TXT finds kestra.txt). Text is written with CR LF; readers take CR LF and LF.
//
// Files the operator keeps (the data file, KESTRA.INI) are replaced, never rewritten in place:
// the new contents go to a temporary file beside the old one, and only a complete, flushed and
// synced temporary file is renamed over it. Every write is checked; a failure names the file
// and the system's description of what went wrong.
#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace tavrin {

struct FileError {
  // 0: no error; 53 file not found, 57 device I/O error, 61 disk full, 75 access error,
  // 76 path not found
  int number = 0;
  std::string description;
  [[nodiscard]] bool Failed() const { return number != 0; }
};

inline constexpr int kErrorFileNotFound = 53;
inline constexpr int kErrorDeviceIo = 57;
inline constexpr int kErrorDiskFull = 61;
inline constexpr int kErrorPathFileAccess = 75;
inline constexpr int kErrorPathNotFound = 76;

// The error number and the system's description for a failed system call's errno.
FileError SystemFileError(int errnoValue);

// A file opened for reading: line by line to its end, read from the disk as it goes (a large
// file is never held whole in memory).
class TextInput {
 public:
  explicit TextInput(std::string contents);
  explicit TextInput(std::unique_ptr<std::istream> stream);
  [[nodiscard]] bool AtEnd() const;
  // The next line without its line end; the empty text at the end of the file.
  std::string ReadLine();

 private:
  std::unique_ptr<std::istream> stream_;
};

// A failure to be met on purpose by the next files opened for writing, as a full disk, a
// read-only folder or a file taken away meet it: creating the file, writing past a number of
// bytes, or putting the finished file in place fails with the system error `errnoValue`.
struct WriteFault {
  enum class Stage { Create, Write, Commit };
  Stage stage = Stage::Write;
  int errnoValue = 0;
  std::size_t bytesBefore = 0;  // Write: bytes that still go through
};

// A file opened for writing. Plain outputs write the file itself from empty; a replacement
// writes a temporary file beside its target and puts it in place only at Commit.
class TextOutput {
 public:
  TextOutput(int fd, std::string path, std::string temporaryPath, std::optional<WriteFault> fault);
  ~TextOutput();
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;

  // Writes the text and CR LF straight to the system. False (and Error() set) when it could
  // not be written, then and for every later line.
  bool WriteLine(const std::string& text);
  // Kept for callers that hand lines over one by one: every line already went to the system.
  void Flush() {}
  // A plain output: closes the file. A replacement that was not committed: abandons it.
  bool Close();
  // A replacement: syncs the temporary file, closes it and renames it over the target, so
  // that the target is either the old file or the whole new one. False (and Error() set, the
  // temporary file removed, the target untouched) when any of it fails.
  bool Commit();
  // A replacement: as Commit, but puts the finished file at `path` instead of its target,
  // which stays as it was.
  bool CommitAs(const std::string& path);
  // A replacement: removes the temporary file; the target stays as it was.
  void Abandon();

  [[nodiscard]] const FileError& Error() const { return error_; }
  [[nodiscard]] bool Failed() const { return error_.Failed(); }
  // The file the operator knows: the target of a replacement.
  [[nodiscard]] const std::string& Path() const { return path_; }
  [[nodiscard]] bool IsReplacement() const { return !temporaryPath_.empty(); }

 private:
  void Fail(int errnoValue);
  void CloseDescriptor();

  int fd_ = -1;
  std::string path_;
  std::string temporaryPath_;
  std::optional<WriteFault> fault_;
  std::size_t written_ = 0;
  FileError error_;
};

class Files {
 public:
  Files();  // the process's working directory
  explicit Files(std::string currentDirectory);

  [[nodiscard]] const std::string& CurrentDirectory() const { return currentDirectory_; }
  void SetCurrentDirectory(std::string directory) { currentDirectory_ = std::move(directory); }

  // The suite's path rule: a name of 12 characters or fewer is joined to the current
  // directory; a longer one is taken unchanged.
  [[nodiscard]] std::string CompletePath(const std::string& name) const;
  // The file a path stands for on this system: relative paths against the current
  // directory, then the case-insensitive match when the exact name does not exist.
  [[nodiscard]] std::string Resolve(const std::string& path) const;
  [[nodiscard]] bool Exists(const std::string& path) const;

  std::unique_ptr<TextInput> OpenInput(const std::string& path, FileError& error) const;
  // Opens the file itself for writing from empty.
  std::unique_ptr<TextOutput> OpenOutput(const std::string& path, FileError& error) const;
  // Opens a replacement for `path`: a temporary file in the same folder (".NAME.xxxxxx"), put
  // in place by Commit. The file at `path`, if any, is not touched before then. The temporary
  // file is locked while it is written, so that no other program takes it for a leftover.
  std::unique_ptr<TextOutput> OpenReplacement(const std::string& path, FileError& error) const;
  // Removes the temporary files a replacement of `path` left behind when its program was
  // killed: those of the replacement's own naming beside `path` that no program is writing
  // (holds locked) now. Returns how many were removed.
  int RemoveLeftoverReplacements(const std::string& path) const;

  // Puts the file `from` in place of `to` in one step (both in one folder): `to` is either the
  // old file or the whole of `from`. False, with the system's error and both files as they
  // were, when it cannot be done. An injected Commit fault stops it too.
  bool MoveOver(const std::string& from, const std::string& to, FileError& error) const;

  // The files opened for writing from now on meet `fault` (none: they work as the system
  // lets them).
  void InjectWriteFault(std::optional<WriteFault> fault) { fault_ = fault; }

 private:
  std::string currentDirectory_;
  std::optional<WriteFault> fault_;
};

}  // namespace tavrin
