#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "runtime/system.h"
#include "scratch.h"

namespace {

TEST(OpenFiles, ReadByteByByteAndCloseOnce) {
  const std::string dir = testing_support::MakeScratchFolder("openfiles");
  ASSERT_FALSE(dir.empty());
  const std::string win = rt::WinPath(dir);
  std::string bytes = "3.1";
  bytes += '\0';
  bytes += '\xE4';
  ASSERT_TRUE(rt::WriteFileBytes(win + "\\Pi.txt", bytes));

  const int nr = rt::FreeFile();
  ASSERT_GE(nr, 1);
  ASSERT_TRUE(rt::OpenForBinaryRead(nr, win + "\\PI.TXT"));
  EXPECT_NE(rt::FreeFile(), nr);
  EXPECT_FALSE(rt::OpenForBinaryRead(nr, win + "\\Pi.txt"));  // the number is taken
  EXPECT_EQ(rt::FileLength(nr), 5);
  std::string back;
  for (int b; (b = rt::ReadByte(nr)) >= 0;) back += char(b);
  EXPECT_EQ(back, bytes);  // a NUL and bytes above 127 come through as they are
  EXPECT_EQ(rt::ReadByte(nr), -1);
  EXPECT_TRUE(rt::CloseFile(nr));
  EXPECT_FALSE(rt::CloseFile(nr));
  EXPECT_EQ(rt::ReadByte(nr), -1);
  EXPECT_EQ(rt::FileLength(nr), -1);

  // Missing files, folders and wild numbers are refused, and nothing is created.
  EXPECT_FALSE(rt::OpenForBinaryRead(nr, win + "\\fehlt.txt"));
  EXPECT_FALSE(rt::FileExists(win + "\\fehlt.txt"));
  EXPECT_FALSE(rt::OpenForBinaryRead(nr, win));
  EXPECT_FALSE(rt::OpenForBinaryRead(0, win + "\\Pi.txt"));
  EXPECT_FALSE(rt::OpenForBinaryRead(100000, win + "\\Pi.txt"));
  EXPECT_EQ(rt::FreeFile(), nr);

  // Opening only reads: a file without write permission opens as well.
  ASSERT_EQ(chmod((dir + "/Pi.txt").c_str(), 0444), 0);
  ASSERT_TRUE(rt::OpenForBinaryRead(nr, win + "\\Pi.txt"));
  EXPECT_EQ(rt::ReadByte(nr), '3');
  EXPECT_TRUE(rt::CloseFile(nr));
  testing_support::RemoveScratchFolder(dir);
}

}  // namespace
