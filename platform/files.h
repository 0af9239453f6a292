#pragma once
// File access for the control programs and the tools. The suite was designed for a file system
// that ignores case and separates with a backslash; on Linux a name is first tried as given,
// and when it does not exist a file in the same directory whose name differs only in case is
// used (KESTRA.TXT finds kestra.txt). Text is written with CR LF; readers take CR LF and LF.
#include <cstddef>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace tavrin {

struct FileError {
  int number = 0;  // 0: no error; 53 file not found, 75 access error, 76 path not found
  std::string description;
  [[nodiscard]] bool Failed() const { return number != 0; }
};

inline constexpr int kErrorFileNotFound = 53;
inline constexpr int kErrorPathFileAccess = 75;
inline constexpr int kErrorPathNotFound = 76;

// A file opened for reading: line by line to its end.
class TextInput {
 public:
  explicit TextInput(std::string contents);
  [[nodiscard]] bool AtEnd() const;
  // The next line without its line end; the empty text at the end of the file.
  std::string ReadLine();

 private:
  std::string contents_;
  std::size_t position_ = 0;
};

// A file opened for writing from empty.
class TextOutput {
 public:
  explicit TextOutput(std::ofstream stream);
  // Writes the text and CR LF.
  void WriteLine(const std::string& text);
  // Hands what was written so far to the system, so that a file being written line by line
  // can be read meanwhile and keeps its lines if the program ends abruptly.
  void Flush();
  void Close();

 private:
  std::ofstream stream_;
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
  std::unique_ptr<TextOutput> OpenOutput(const std::string& path, FileError& error) const;

 private:
  std::string currentDirectory_;
};

}  // namespace tavrin
