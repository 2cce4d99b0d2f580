#include "io/data_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/test_support.h"

namespace rfretune {
namespace {

using testing::Bytes;
using testing::FileExists;
using testing::ReadFileBytes;
using testing::TempDir;

TEST(DataFileTest, ReadsInsideAndZeroOutsideWithoutGrowing) {
  TempDir dir;
  const std::string name = dir.Write("four.bin", {1, 2, 3, 4});
  DataFile file;
  ASSERT_FALSE(file.Open(name));
  EXPECT_EQ(file.Size(), 4);
  EXPECT_EQ(file.ReadByte(3), 4);
  EXPECT_EQ(file.ReadByte(4), 0);
  EXPECT_EQ(file.ReadByte(1000), 0);
  EXPECT_EQ(file.ReadByte(-1), 0);
  EXPECT_EQ(file.ReadByte(-5), 0);
  file.WriteByte(10, 7);  // past the end: dropped
  file.WriteByte(4, 7);
  file.WriteByte(-1, 7);  // before the start: dropped
  EXPECT_TRUE(file.Contains(0, 4));
  EXPECT_FALSE(file.Contains(1, 4));
  EXPECT_FALSE(file.Contains(-1, 1));
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(ReadFileBytes(name), (Bytes{1, 2, 3, 4}));
}

TEST(DataFileTest, WritesTheLowEightBits) {
  TempDir dir;
  const std::string name = dir.Write("bytes.bin", {0, 0, 0, 9});
  DataFile file;
  ASSERT_FALSE(file.Open(name));
  file.WriteByte(0, 300);
  file.WriteByte(1, -1);
  file.WriteByte(2, 256);
  EXPECT_EQ(file.ReadByte(0), 44);
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(ReadFileBytes(name), (Bytes{44, 255, 0, 9}));
}

TEST(DataFileTest, FlushPutsChangesInTheFileBeforeClose) {
  TempDir dir;
  const std::string name = dir.Write("flush.bin", Bytes(100, 0));
  DataFile file;
  ASSERT_FALSE(file.Open(name));
  file.WriteByte(50, 0xAB);
  EXPECT_EQ(ReadFileBytes(name)[50], 0);  // still only in memory
  EXPECT_FALSE(file.Flush());
  EXPECT_EQ(ReadFileBytes(name)[50], 0xAB);
  file.WriteByte(51, 0xCD);
  // Closing (here by the destructor) writes what is left.
  {
    DataFile other;
    ASSERT_FALSE(other.Open(name));
    other.WriteByte(99, 1);
  }
  EXPECT_EQ(ReadFileBytes(name)[99], 1);
}

TEST(DataFileTest, LargeFileKeepsEveryByteThroughPageEviction) {
  TempDir dir;
  Bytes image(5 * 1024 * 1024 + 3);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
  const std::string name = dir.Write("large.bin", image);
  DataFile file;
  ASSERT_FALSE(file.Open(name));
  Bytes expected = image;
  for (std::size_t at = 5; at < image.size(); at += 100 * 1024) {
    file.WriteByte(static_cast<std::int64_t>(at), file.ReadByte(static_cast<std::int64_t>(at)) + 1);
    expected[at] = static_cast<std::uint8_t>(expected[at] + 1);
  }
  for (std::size_t at = 5; at < image.size(); at += 100 * 1024) {
    EXPECT_EQ(file.ReadByte(static_cast<std::int64_t>(at)), expected[at]);
  }
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(ReadFileBytes(name), expected);
}

TEST(DataFileTest, MissingFileIsReportedAndNotCreated) {
  TempDir dir;
  const std::string name = dir.Path() + "/missing.910";
  DataFile file;
  const auto error = file.Open(name);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, FileErrorKind::kNotFound);
  EXPECT_FALSE(FileExists(name));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.ReadByte(0), 0);
  EXPECT_FALSE(file.Close());
}

TEST(DataFileTest, WhatCannotBeOpenedIsReportedWithTheSystemsReason) {
  TempDir dir;
  mkfifo((dir.Path() + "/pipe.dat").c_str(), 0600);
  const struct {
    std::string name;
    const char* reason;
  } cases[] = {
      {dir.Path(), "Is a directory"},
      {dir.Path() + "/no/such/folder.900", "No such file or directory"},
      {dir.Path() + "/pipe.dat", "Not a regular file"},
      {dir.Path() + std::string("/x.dat\0.900", 11), "Invalid argument"},
  };
  for (const auto& c : cases) {
    DataFile file;
    const auto error = file.Open(c.name);
    ASSERT_TRUE(error) << c.name;
    EXPECT_EQ(error->kind, FileErrorKind::kCannotOpen) << c.name;
    EXPECT_EQ(error->reason, c.reason) << c.name;
  }
  EXPECT_FALSE(FileExists(dir.Path() + "/no"));
}

TEST(DataFileTest, ReadOnlyFileIsRefusedUntouched) {
  TempDir dir;
  const std::string name = dir.Write("locked.900", {1, 2, 3});
  std::optional<FileError> error;
  {
    testing::UnwritableFile locked(name);
    if (!locked.Made()) GTEST_SKIP() << "cannot make a file unwritable here";
    DataFile file;
    error = file.Open(name);
    EXPECT_FALSE(file.IsOpen());
  }
  ASSERT_TRUE(error);
  EXPECT_EQ(error->kind, FileErrorKind::kCannotWrite);
  EXPECT_FALSE(error->reason.empty());
  EXPECT_EQ(ReadFileBytes(name), (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace rfretune
