#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "runtime/surface.h"

using namespace rt;
namespace fs = std::filesystem;

namespace {

// Files of this test live in a folder below the working folder, reached by relative system paths.
// One folder per process: ctest runs the cases side by side.
struct PictureFiles : ::testing::Test {
  const std::string dir = "picture_test_files_" + std::to_string(::getpid());
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  std::string Host(const std::string& name) const { return dir + "/" + name; }
  std::string Win(const std::string& name) const { return dir + "\\" + name; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Host(name), std::ios::binary) << bytes;
  }
};

void Le(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 255);
}

// An icon file with one image of w x h pixels, 32 bits per pixel: pixel(x, y) gives 0xAARRGGBB.
template <class F>
std::string Icon32(int w, int h, F pixel) {
  std::string s;
  Le(s, 0, 2), Le(s, 1, 2), Le(s, 1, 2);  // reserved, type icon, one image
  const uint32_t andRow = uint32_t((w + 31) / 32 * 4);
  const uint32_t size = 40 + uint32_t(w * h * 4) + andRow * uint32_t(h);
  s += char(w), s += char(h), s += char(0), s += char(0);
  Le(s, 1, 2), Le(s, 32, 2), Le(s, size, 4), Le(s, 22, 4);
  Le(s, 40, 4), Le(s, uint32_t(w), 4), Le(s, uint32_t(2 * h), 4), Le(s, 1, 2), Le(s, 32, 2);
  for (int i = 0; i < 6; ++i) Le(s, 0, 4);
  for (int y = h - 1; y >= 0; --y)  // bottom-up
    for (int x = 0; x < w; ++x) Le(s, pixel(x, y), 4);
  s.append(andRow * uint32_t(h), '\0');
  return s;
}

// A 4-bit icon (two palette colours used) whose mask makes the pixels with masked(x, y) clear.
template <class I, class M>
std::string Icon4(int w, int h, I index, M masked) {
  std::string s;
  Le(s, 0, 2), Le(s, 1, 2), Le(s, 1, 2);
  const uint32_t xorRow = uint32_t((w * 4 + 31) / 32 * 4), andRow = uint32_t((w + 31) / 32 * 4);
  const uint32_t size = 40 + 64 + (xorRow + andRow) * uint32_t(h);
  s += char(w), s += char(h), s += char(16), s += char(0);
  Le(s, 1, 2), Le(s, 4, 2), Le(s, size, 4), Le(s, 22, 4);
  Le(s, 40, 4), Le(s, uint32_t(w), 4), Le(s, uint32_t(2 * h), 4), Le(s, 1, 2), Le(s, 4, 2);
  for (int i = 0; i < 6; ++i) Le(s, 0, 4);
  for (int i = 0; i < 16; ++i) Le(s, i == 1 ? 0x0000FF : i == 2 ? 0xFFFF00 : 0, 4);  // blue, cyan
  for (int y = h - 1; y >= 0; --y) {
    std::string row(xorRow, '\0');
    for (int x = 0; x < w; ++x) row[size_t(x / 2)] |= char(index(x, y) << (x % 2 ? 0 : 4));
    s += row;
  }
  for (int y = h - 1; y >= 0; --y) {
    std::string row(andRow, '\0');
    for (int x = 0; x < w; ++x)
      if (masked(x, y)) row[size_t(x / 8)] |= char(0x80 >> (x % 8));
    s += row;
  }
  return s;
}

const char kJpeg[] =  // 16x8: left half red, right half blue
    "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43"
    "\x00\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\xff\xdb\x00\x43\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
    "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\xff\xc0\x00\x11\x08\x00\x08\x00\x10\x03"
    "\x01\x11\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00\x14\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x09\xff\xc4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\xff\xc4\x00\x16\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x0b\x09\x0a\xff\xc4\x00\x14\x11\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00\x17\xd2\x9d\xbf\x81\x0e\x55"
    "\x01\xaf\xbf\xff\xd9";

}  // namespace

TEST_F(PictureFiles, BmpRoundTripKeepsEveryPixel) {
  Picture p;
  p.width = 5;
  p.height = 3;
  for (int i = 0; i < 15; ++i) p.pixels.push_back(RGB(i * 17, 255 - i * 3, i));
  ASSERT_TRUE(SavePictureBmp(p, Host("a.bmp")));
  PicturePtr back = LoadPicture(Win("a.bmp"));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 5);
  EXPECT_EQ(back->height, 3);
  EXPECT_EQ(back->pixels, p.pixels);
  EXPECT_TRUE(back->alpha.empty());

  Picture empty;
  EXPECT_FALSE(SavePictureBmp(empty, Host("e.bmp")));
  EXPECT_FALSE(SavePictureBmp(p, Host("no_such_folder/x.bmp")));
}

TEST_F(PictureFiles, JpegLoadsWithItsColours) {
  Write("b.jpg", std::string(kJpeg, sizeof kJpeg - 1));
  PicturePtr p = LoadPicture(Win("b.jpg"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 16);
  EXPECT_EQ(p->height, 8);
  auto near = [](Color c, int r, int g, int b) {
    return std::abs((c & 255) - r) < 24 && std::abs(((c >> 8) & 255) - g) < 24 &&
           std::abs(((c >> 16) & 255) - b) < 24;
  };
  EXPECT_TRUE(near(p->At(2, 3), 255, 0, 0)) << std::hex << p->At(2, 3);
  EXPECT_TRUE(near(p->At(13, 3), 0, 0, 255)) << std::hex << p->At(13, 3);
}

TEST_F(PictureFiles, IconKeepsItsTransparency) {
  // Left column fully transparent, the rest opaque green; one half-transparent pixel.
  Write("c.ico", Icon32(4, 4, [](int x, int y) -> uint32_t {
          if (x == 0) return 0x00000000;
          if (x == 3 && y == 3) return 0x80FF0000;
          return 0xFF00FF00;
        }));
  PicturePtr p = LoadPicture(Win("c.ico"));
  ASSERT_TRUE(p);
  ASSERT_EQ(p->width, 4);
  ASSERT_EQ(p->height, 4);
  ASSERT_EQ(p->alpha.size(), 16u);
  EXPECT_EQ(p->alpha[0], 0);
  EXPECT_EQ(p->alpha[1], 255);
  EXPECT_EQ(p->alpha[15], 0x80);
  EXPECT_EQ(p->At(1, 0), vbGreen);
  EXPECT_EQ(p->At(3, 3), vbRed);

  // Drawn over a surface, transparent pixels leave the background.
  Surface s(4, 4);
  s.SetAutoRedraw(true);
  s.BackColor = vbBlue;
  s.Cls();
  s.PaintPicture(p, 0, 0);
  EXPECT_EQ(s.Point(0, 2), vbBlue);
  EXPECT_EQ(s.Point(2, 2), vbGreen);
}

TEST_F(PictureFiles, CursorIconWithMaskAndBrokenIcons) {
  const std::string icon = Icon4(
      32, 32, [](int x, int) { return x < 16 ? 1 : 2; }, [](int x, int y) { return x == y; });
  Write("d.ico", icon);
  PicturePtr p = LoadPicture(Win("d.ico"));
  ASSERT_TRUE(p);
  ASSERT_EQ(p->width, 32);
  ASSERT_EQ(p->alpha.size(), 32u * 32u);
  EXPECT_EQ(p->At(3, 7), vbBlue);
  EXPECT_EQ(p->At(20, 7), vbYellow);
  EXPECT_EQ(p->alpha[7 * 32 + 7], 0);
  EXPECT_EQ(p->alpha[7 * 32 + 8], 255);

  // Cut short anywhere, or with absurd sizes, an icon gives nothing and no crash.
  for (size_t n : {4u, 10u, 22u, 40u, 100u, 300u}) {
    Write("cut.ico", icon.substr(0, n));
    EXPECT_EQ(LoadPicture(Win("cut.ico")), nullptr) << n;
  }
  std::string bad = icon;
  bad[22 + 8] = char(0xFF), bad[22 + 9] = char(0x7F);  // image height
  Write("bad.ico", bad);
  EXPECT_EQ(LoadPicture(Win("bad.ico")), nullptr);
  bad = icon;
  bad[14] = char(0xFF), bad[15] = char(0xFF), bad[16] = char(0xFF);  // image size
  Write("bad.ico", bad);
  EXPECT_EQ(LoadPicture(Win("bad.ico")), nullptr);
}

TEST_F(PictureFiles, MissingOrBrokenFilesGiveNothing) {
  EXPECT_EQ(LoadPicture(Win("none.bmp")), nullptr);
  Write("broken.bmp", "BM\x10\x00garbage that is no picture");
  EXPECT_EQ(LoadPicture(Win("broken.bmp")), nullptr);
  Write("empty.jpg", "");
  EXPECT_EQ(LoadPicture(Win("empty.jpg")), nullptr);
  Write("cut.jpg", std::string(kJpeg, 120));
  PicturePtr cut = LoadPicture(Win("cut.jpg"));  // a truncated file may load partly or not at all
  if (cut) {
    EXPECT_EQ(cut->pixels.size(), size_t(cut->width) * cut->height);
  }
  EXPECT_EQ(LoadPicture(dir + "\\"), nullptr);  // a folder

  // Headers claiming enormous sizes are refused before anything is allocated.
  Picture p;
  p.width = p.height = 2;
  p.pixels.assign(4, vbRed);
  ASSERT_TRUE(SavePictureBmp(p, Host("huge.bmp")));
  std::string bmp;
  {
    std::ifstream in(Host("huge.bmp"), std::ios::binary);
    bmp.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bmp[18 + 2] = 0x10, bmp[22 + 2] = 0x10;  // 1M x 1M pixels
  Write("huge.bmp", bmp);
  EXPECT_EQ(LoadPicture(Win("huge.bmp")), nullptr);
  std::string jpg(kJpeg, sizeof kJpeg - 1);
  const size_t sof = jpg.find("\xff\xc0");
  ASSERT_NE(sof, std::string::npos);
  jpg[sof + 5] = jpg[sof + 7] = char(0xFF);  // 65k x 65k
  Write("huge.jpg", jpg);
  EXPECT_EQ(LoadPicture(Win("huge.jpg")), nullptr);
}
