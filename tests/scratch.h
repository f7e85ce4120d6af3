// Scratch folders for tests that need real files, made and removed without a shell.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace testing_support {

// A fresh folder under /tmp, named after the tag; "" on failure.
inline std::string MakeScratchFolder(const std::string& tag) {
  std::string tmpl = "/tmp/norvalde-" + tag + "-XXXXXX";
  if (!mkdtemp(tmpl.data())) return "";
  return tmpl;
}

inline void RemoveScratchFolder(const std::string& dir) {
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  EXPECT_FALSE(ec) << dir << ": " << ec.message();
}

// Copies a file, making the target's folder first.
inline bool CopyInto(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(to).parent_path(), ec);
  return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
}

}  // namespace testing_support
