// Files: the short-name path rule, case-insensitive names, CR LF writing, LF and CR LF
// reading, and the error numbers 53, 75 and 76.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

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

}  // namespace
}  // namespace tavrin
