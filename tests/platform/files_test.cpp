// SPDX-License-Identifier: GPL-3.0-or-later
// Files: the short-name path rule, case-insensitive names, CR LF writing, LF and CR LF
// reading, the error numbers 53, 75 and 76, and replacements that either put the whole new
// file in place or leave the old one as it was.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "files_test_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    files.SetCurrentDirectory(dir.string());
  }
  void TearDown() override { fs::remove_all(dir); }
  void Write(const std::string& name, const std::string& contents) {
    std::ofstream(dir / name, std::ios::binary) << contents;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(dir / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::string> Lines(const std::string& name) {
    FileError error;
    auto input = files.OpenInput(name, error);
    EXPECT_FALSE(error.Failed()) << error.description;
    std::vector<std::string> lines;
    while (input && !input->AtEnd()) lines.push_back(input->ReadLine());
    return lines;
  }
  fs::path dir;
  Files files{"."};
};

TEST_F(FilesTest, ShortNamesJoinTheCurrentDirectory) {
  EXPECT_EQ(files.CompletePath("KESTRA.TXT"), (dir / "KESTRA.TXT").string());
  EXPECT_EQ(files.CompletePath("ABCDEFGH.TXT"), (dir / "ABCDEFGH.TXT").string()) << "12 chars";
  EXPECT_EQ(files.CompletePath("/tmp/LOG1.TXT"), "/tmp/LOG1.TXT") << "13 chars: unchanged";
}

TEST_F(FilesTest, NamesResolveIgnoringCase) {
  Write("kestra.txt", "one\r\n");
  EXPECT_EQ(files.Resolve("KESTRA.TXT"), (dir / "kestra.txt").string());
  EXPECT_EQ(files.Resolve((dir / "Kestra.Txt").string()), (dir / "kestra.txt").string());
  EXPECT_TRUE(files.Exists("KESTRA.TXT"));
  EXPECT_EQ(Lines("KESTRA.TXT"), (std::vector<std::string>{"one"}));
  EXPECT_FALSE(files.Exists("KESTRA.INI"));
  Write("KESTRA.txt", "exact\r\n");
  EXPECT_EQ(files.Resolve("KESTRA.txt"), (dir / "KESTRA.txt").string()) << "exact name first";
}

TEST_F(FilesTest, WritesCrLf) {
  FileError error;
  auto output = files.OpenOutput("OUT.TXT", error);
  ASSERT_TRUE(output);
  EXPECT_FALSE(error.Failed());
  output->WriteLine("first line");
  output->WriteLine("");
  output->WriteLine("3");
  output->Close();
  EXPECT_EQ(Read("OUT.TXT"), "first line\r\n\r\n3\r\n");
  // Opening for output starts from empty.
  output = files.OpenOutput("out.txt", error);
  ASSERT_TRUE(output);
  output->WriteLine("new");
  output->Close();
  EXPECT_EQ(Read("OUT.TXT"), "new\r\n") << "the existing file, found ignoring case";
}

TEST_F(FilesTest, ReadsLfAndCrLfAlike) {
  struct Case {
    const char* contents;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\nc", {"a", "b", "c"}},
      {"\r\n\nx", {"", "", "x"}},
      {"", {}},
      {"tab\there\r\n", {"tab\there"}},
  };
  for (const Case& c : cases) {
    Write("IN.TXT", c.contents);
    EXPECT_EQ(Lines("IN.TXT"), c.lines) << c.contents;
  }
  FileError error;
  auto input = files.OpenInput("IN.TXT", error);
  ASSERT_TRUE(input);
  input->ReadLine();
  EXPECT_TRUE(input->AtEnd());
  EXPECT_EQ(input->ReadLine(), "") << "past the end: the empty text";
}

TEST_F(FilesTest, ErrorNumbers) {
  fs::create_directory(dir / "SUB");
  struct Case {
    const char* name;
    bool forOutput;
    std::string path;
    int number;
  };
  const Case cases[] = {
      {"missing file", false, "NONE.TXT", kErrorFileNotFound},
      {"empty name", false, "", kErrorFileNotFound},
      {"missing directory, reading", false, (dir / "NODIR" / "A.TXT").string(), kErrorPathNotFound},
      {"missing directory, writing", true, (dir / "NODIR" / "A.TXT").string(), kErrorPathNotFound},
      {"a directory, reading", false, "SUB", kErrorPathFileAccess},
      {"a directory, writing", true, "SUB", kErrorPathFileAccess},
      {"empty name, writing", true, "", kErrorPathFileAccess},
  };
  for (const Case& c : cases) {
    FileError error;
    const bool opened = c.forOutput ? files.OpenOutput(c.path, error) != nullptr
                                    : files.OpenInput(c.path, error) != nullptr;
    EXPECT_FALSE(opened) << c.name;
    EXPECT_EQ(error.number, c.number) << c.name;
    EXPECT_FALSE(error.description.empty()) << c.name;
  }
}

TEST_F(FilesTest, AReplacementTakesThePlaceOfTheOldFileOnlyWhenCommitted) {
  Write("kestra.txt", "old\r\n");
  ::chmod((dir / "kestra.txt").c_str(), 0640);
  FileError error;
  auto output = files.OpenReplacement("KESTRA.TXT", error);
  ASSERT_TRUE(output) << error.description;
  EXPECT_EQ(output->Path(), (dir / "kestra.txt").string())
      << "the existing file, found ignoring case";
  EXPECT_TRUE(output->WriteLine("new"));
  EXPECT_EQ(Read("kestra.txt"), "old\r\n") << "untouched while the new one is written";
  ASSERT_TRUE(output->Commit());
  EXPECT_EQ(Read("kestra.txt"), "new\r\n");
  struct stat st {};
  ASSERT_EQ(::stat((dir / "kestra.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replaced file's permissions are kept";
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
      << "no temporary file is left";

  // Abandoned, or dropped without a commit (the program ends): the old file stays.
  output = files.OpenReplacement("KESTRA.TXT", error);
  output->WriteLine("half");
  output->Abandon();
  output = files.OpenReplacement("KESTRA.TXT", error);
  output->WriteLine("half");
  output.reset();
  EXPECT_EQ(Read("kestra.txt"), "new\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  // A file that did not exist is created by the commit.
  output = files.OpenReplacement("NEW.TXT", error);
  EXPECT_FALSE(fs::exists(dir / "NEW.TXT"));
  output->WriteLine("x");
  ASSERT_TRUE(output->Commit());
  EXPECT_EQ(Read("NEW.TXT"), "x\r\n");
}

TEST_F(FilesTest, WriteFailuresAreReportedAndLeaveTheOldFile) {
  struct Case {
    const char* name;
    WriteFault fault;
    bool opens;
    int number;
    std::string description;
  };
  const Case cases[] = {
      {"disk full while writing",
       {WriteFault::Stage::Write, ENOSPC, 5},
       true,
       kErrorDiskFull,
       "No space left on device"},
      {"read-only folder",
       {WriteFault::Stage::Create, EROFS, 0},
       false,
       kErrorPathFileAccess,
       "Read-only file system"},
      {"folder refused",
       {WriteFault::Stage::Create, EACCES, 0},
       false,
       kErrorPathFileAccess,
       "Permission denied"},
      {"putting it in place fails",
       {WriteFault::Stage::Commit, EIO, 0},
       true,
       kErrorDeviceIo,
       "Input/output error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write("KESTRA.TXT", "old\r\n");
    files.InjectWriteFault(c.fault);
    FileError error;
    auto output = files.OpenReplacement("KESTRA.TXT", error);
    if (!c.opens) {
      EXPECT_FALSE(output);
      EXPECT_EQ(error.number, c.number);
      EXPECT_EQ(error.description, c.description);
    } else {
      ASSERT_TRUE(output);
      const bool written = output->WriteLine("new contents");
      const bool committed = output->Commit();
      EXPECT_FALSE(committed);
      EXPECT_EQ(written, c.fault.stage != WriteFault::Stage::Write);
      EXPECT_EQ(output->Error().number, c.number);
      EXPECT_EQ(output->Error().description, c.description);
      EXPECT_FALSE(output->WriteLine("more")) << "a failed output stays failed";
    }
    EXPECT_EQ(Read("KESTRA.TXT"), "old\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  }
  // A plain output on a full disk says so at the line that did not fit.
  files.InjectWriteFault(WriteFault{WriteFault::Stage::Write, ENOSPC, 8});
  FileError error;
  auto output = files.OpenOutput("OUT.TXT", error);
  ASSERT_TRUE(output);
  EXPECT_TRUE(output->WriteLine("123456"));
  EXPECT_FALSE(output->WriteLine("7"));
  EXPECT_EQ(output->Error().number, kErrorDiskFull);
  EXPECT_FALSE(output->Close());
}

TEST_F(FilesTest, AFolderThatCannotBeWrittenIsReported) {
  // The folder taken away under the program, and (where permissions apply) a read-only one.
  FileError error;
  EXPECT_FALSE(files.OpenReplacement((dir / "GONE" / "KESTRA.TXT").string(), error));
  EXPECT_EQ(error.number, kErrorPathNotFound);
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  fs::create_directory(dir / "RO");
  Write("RO/KESTRA.TXT", "old\r\n");
  ::chmod((dir / "RO").c_str(), 0555);
  auto output = files.OpenReplacement((dir / "RO" / "KESTRA.TXT").string(), error);
  ::chmod((dir / "RO").c_str(), 0755);
  EXPECT_FALSE(output);
  EXPECT_EQ(error.number, kErrorPathFileAccess);
  EXPECT_EQ(error.description, "Permission denied");
  EXPECT_EQ(Read("RO/KESTRA.TXT"), "old\r\n");
}

TEST_F(FilesTest, ALargeFileIsReadAsItGoes) {
  // Lines are read from the disk one by one: a line written after the open is still found.
  Write("BIG.TXT", "one\r\n");
  FileError error;
  auto input = files.OpenInput("BIG.TXT", error);
  ASSERT_TRUE(input);
  std::ofstream(dir / "BIG.TXT", std::ios::binary | std::ios::app) << "two\r\n";
  EXPECT_EQ(input->ReadLine(), "one");
  EXPECT_EQ(input->ReadLine(), "two");
  EXPECT_TRUE(input->AtEnd());
}

}  // namespace
}  // namespace tavrin
