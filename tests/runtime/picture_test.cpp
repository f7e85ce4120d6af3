#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <unistd.h>

#include "picture_samples.h"
#include "speicher_grenze.h"
#include "runtime/surface.h"
#include "runtime/system.h"

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

using samples::Icon32;
using samples::Icon4;

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
  Write("b.jpg", samples::Jpeg());
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
  Write("cut.jpg", samples::Jpeg().substr(0, 120));
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
  std::string jpg = samples::Jpeg();
  const size_t sof = jpg.find("\xff\xc0");
  ASSERT_NE(sof, std::string::npos);
  jpg[sof + 5] = jpg[sof + 7] = char(0xFF);  // 65k x 65k
  Write("huge.jpg", jpg);
  EXPECT_EQ(LoadPicture(Win("huge.jpg")), nullptr);
}

TEST_F(PictureFiles, OnlyBmpJpegAndIconsReachADecoder) {
  // Other formats are refused by their content, whatever their names say, even when small and
  // well formed.
  Write("small.bmp", samples::Png(4, 4));
  EXPECT_EQ(LoadPicture(Win("small.bmp")), nullptr);
  Write("small.png", samples::Png(4, 4));
  EXPECT_EQ(LoadPicture(Win("small.png")), nullptr);
  Write("small_gif.jpg", samples::Gif(4, 4));
  EXPECT_EQ(LoadPicture(Win("small_gif.jpg")), nullptr);
  for (const auto& [name, bytes] : samples::HostilePictures()) {
    Write(name, bytes);
    EXPECT_EQ(LoadPicture(Win(name)), nullptr) << name;
  }
}

// Each hostile picture is refused before anything large is allocated. In a child with 1 GB of
// address space to spare, none loads, none aborts, and the peak memory hardly grows; a size checked
// only after decoding (8000 x 8000 pixels are 256 MB) would show there.
TEST_F(PictureFiles, HostilePicturesAreRefusedBeforeTheyTakeMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  auto faelle = samples::HostilePictures();
  faelle.emplace_back("fill_byte_8000.jpg", samples::JpegWithFillByte(8000, 8000));
  for (const auto& [name, bytes] : faelle) Write(name, bytes);
  const int status = testing_support::InChildWithMemoryToSpare(size_t(1) << 30, [&] {
    rusage vorher{}, nachher{};
    getrusage(RUSAGE_SELF, &vorher);
    int geladen = 0;
    for (const auto& [name, bytes] : faelle) geladen += LoadPicture(Win(name)) != nullptr;
    getrusage(RUSAGE_SELF, &nachher);
    return geladen ? 1 : nachher.ru_maxrss - vorher.ru_maxrss > 64 * 1024 ? 2 : 0;
  });
  ASSERT_NE(status, -1);
  ASSERT_TRUE(WIFEXITED(status)) << "a load ended the process with signal " << WTERMSIG(status);
  EXPECT_NE(WEXITSTATUS(status), 1) << "hostile pictures were loaded";
  EXPECT_NE(WEXITSTATUS(status), 2) << "refusing them took more than 64 MB";
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

TEST_F(PictureFiles, JpegSizeIsTheOneItsDecoderReads) {
  // A fill byte before the frame marker is legal: the picture loads at its size.
  Write("fill.jpg", samples::JpegWithFillByte(16, 8));
  PicturePtr p = LoadPicture(Win("fill.jpg"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 16);
  EXPECT_EQ(p->height, 8);
  // Behind the same fill byte, a claim of 26000 by 26000 pixels is seen and refused.
  Write("fill_huge.jpg", samples::JpegWithFillByte(26000, 26000));
  EXPECT_EQ(LoadPicture(Win("fill_huge.jpg")), nullptr);
  // A file cut anywhere never gives a picture of another size.
  const std::string j = samples::Jpeg();
  for (size_t n = 0; n < j.size(); n += 7) {
    Write("cut.jpg", j.substr(0, n));
    if (PicturePtr c = LoadPicture(Win("cut.jpg"))) {
      EXPECT_EQ(c->width, 16) << n;
      EXPECT_EQ(c->pixels.size(), size_t(c->width) * c->height) << n;
    }
  }
}

TEST_F(PictureFiles, PngInsideAnIconHasASizeLimit) {
  Write("png.ico", samples::IconWithPng(samples::Png(32, 32), 32, 32));
  PicturePtr p = LoadPicture(Win("png.ico"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 32);
  EXPECT_EQ(p->At(5, 5), vbBlack);
  // Wider than any cursor: refused before its pixels are decoded.
  Write("wide.ico", samples::IconWithPng(samples::Png(2000, 2), 0, 2));
  EXPECT_EQ(LoadPicture(Win("wide.ico")), nullptr);
}

TEST_F(PictureFiles, FilesBeyondTheReadLimitAreNotRead) {
  // A sparse file of 100 GB takes no disk space; reading it would take all memory.
  const std::string host = Host("sparse.bmp");
  std::string bmp = "BM";
  bmp.resize(64, '\0');
  Write("sparse.bmp", bmp);
  ASSERT_EQ(::truncate(host.c_str(), 100LL << 30), 0);
  EXPECT_EQ(LoadPicture(Win("sparse.bmp")), nullptr);
}

TEST_F(PictureFiles, ATinyFileDecodesToNoMoreThanTheLimit) {
  // 64 bytes of run-length BMP decode to the size in their header: 2048 by 2048 is the most.
  Write("rle_2048.bmp", samples::BmpRleBomb(2048, 2048));
  PicturePtr p = LoadPicture(Win("rle_2048.bmp"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 2048);
  EXPECT_EQ(p->At(2047, 2047), vbBlack);
  Write("rle_4096.bmp", samples::BmpRleBomb(4096, 4096));
  EXPECT_EQ(LoadPicture(Win("rle_4096.bmp")), nullptr);
  Write("rle_wide.bmp", samples::BmpRleBomb(65536, 65));
  EXPECT_EQ(LoadPicture(Win("rle_wide.bmp")), nullptr);
}
