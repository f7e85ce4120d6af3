#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/system.h"
#include "scratch.h"

using namespace rt;

namespace {

// 160 by 120: four coloured quarters for the first half second, then all blue.
void Quarters(int index, int w, int h, std::vector<int32_t>& px) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Color c;
      if (index >= 12) c = RGB(0, 0, 255);
      else if (y < h / 2) c = x < w / 2 ? RGB(255, 0, 0) : RGB(0, 255, 0);
      else c = x < w / 2 ? RGB(0, 0, 255) : RGB(255, 255, 255);
      px[size_t(y) * w + x] = c;
    }
}

class Scene : public Form {
 public:
  PictureBox Picture1{this};
  void InitializeComponent() override {
    SetClientSize(640, 480);
    Picture1.Move(0, 0, 640, 480);
    Picture1.BackColor = RGB(10, 20, 30);
    Picture1.SetAutoRedraw(true);
    Picture1.Cls();
  }
};

bool Near(Color c, int r, int g, int b) {
  return std::abs((c & 255) - r) < 48 && std::abs(((c >> 8) & 255) - g) < 48 &&
         std::abs(((c >> 16) & 255) - b) < 48;
}

class Video : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = testing_support::MakeScratchFolder("video");
    ASSERT_FALSE(dir.empty());
    // 25 frames a second: 24 frames = 960 ms.
    ASSERT_TRUE(WriteVideoFile(dir + "/clip.mpg", 160, 120, 25, 24, Quarters, 440));
    ASSERT_TRUE(WriteVideoFile(dir + "/clip.avi", 160, 120, 25, 24, Quarters, 0));
  }
  static void TearDownTestSuite() { testing_support::RemoveScratchFolder(dir); }
  void SetUp() override {
    UseVirtualClock(10000);
    scene.InitializeComponent();
  }
  void TearDown() override {
    mciSendString("close vbVideo", nullptr, 0);
    AudioClose();
    UseRealClock();
  }
  static std::string Win(const std::string& name) { return WinPath(dir + "/" + name); }
  long Query(const std::string& item) {
    std::string buf(200, ' ');
    EXPECT_EQ(mciSendString("status vbVideo " + item, &buf, 200), 0);
    return std::stol(buf);
  }
  Color Screen(int x, int y) { return scene.Picture1.ScreenPixels()[size_t(y) * 640 + x]; }

  static inline std::string dir;
  Scene scene;
};

}  // namespace

TEST_F(Video, FramesLandScaledAtThePlacementOnTheScreenOnly) {
  const std::string h = std::to_string(scene.Picture1.hWnd());
  ASSERT_EQ(mciSendString("open " + Win("clip.mpg") + " alias vbVideo parent " + h + " Style 1073741824",
                          nullptr, 0), 0);
  ASSERT_EQ(mciSendString("put vbVideo window at 100 50 320 240", nullptr, 0), 0);
  ASSERT_EQ(mciSendString("play vbVideo", nullptr, 0), 0);
  const std::vector<Color> image = scene.Picture1.ImagePixels();

  AdvanceClock(100);
  DoEvents();
  EXPECT_TRUE(Near(Screen(100 + 80, 50 + 60), 255, 0, 0));
  EXPECT_TRUE(Near(Screen(100 + 240, 50 + 60), 0, 255, 0));
  EXPECT_TRUE(Near(Screen(100 + 80, 50 + 180), 0, 0, 255));
  EXPECT_TRUE(Near(Screen(100 + 240, 50 + 180), 255, 255, 255));
  EXPECT_EQ(Screen(99, 60), RGB(10, 20, 30)) << "drawn outside its placement";
  EXPECT_EQ(Screen(200, 291), RGB(10, 20, 30));
  EXPECT_EQ(scene.Picture1.ImagePixels(), image) << "the retained scene must stay";

  AdvanceClock(600);
  DoEvents();
  EXPECT_TRUE(Near(Screen(100 + 80, 50 + 60), 0, 0, 255)) << "later frames did not follow the clock";

  // Closing repaints the scene from its retained image.
  ASSERT_EQ(mciSendString("close vbVideo", nullptr, 0), 0);
  EXPECT_EQ(scene.Picture1.ScreenPixels(), image);
}

TEST_F(Video, LengthAndPositionShareMilliseconds) {
  for (const char* file : {"clip.mpg", "clip.avi"}) {
    SCOPED_TRACE(file);
    const std::string h = std::to_string(scene.Picture1.hWnd());
    ASSERT_EQ(mciSendString("open " + Win(file) + " type MPEGVideo alias vbVideo parent " + h, nullptr, 0), 0);
    EXPECT_NEAR(Query("length"), 960, 80);
    EXPECT_EQ(Query("position"), 0);
    ASSERT_EQ(mciSendString("play vbVideo", nullptr, 0), 0);
    AdvanceClock(400);
    DoEvents();
    EXPECT_EQ(Query("position"), 400);
    // The interpreter's wait: pump until the position reaches the length.
    int turns = 0;
    while (Query("position") < Query("length") && turns++ < 100) {
      AdvanceClock(40);
      DoEvents();
    }
    EXPECT_EQ(Query("position"), Query("length"));
    EXPECT_TRUE(Near(Screen(20, 20), 0, 0, 255)) << "no natural-size frame at 0, 0";
    ASSERT_EQ(mciSendString("close vbVideo", nullptr, 0), 0);
  }
}

TEST_F(Video, BrokenOrMissingVideosOpenNothing) {
  EXPECT_EQ(mciSendString("open " + Win("none.mpg") + " alias vbVideo", nullptr, 0), MCIERR_FILE_NOT_FOUND);
  // An unknown extension is an unknown device; the caller retries with the MPEG type.
  {
    std::ifstream in(dir + "/clip.mpg", std::ios::binary);
    std::string head(3000, '\0');
    in.read(head.data(), head.size());
    std::ofstream(dir + "/cut.vid", std::ios::binary) << head;
  }
  EXPECT_EQ(mciSendString("open " + Win("cut.vid") + " alias vbVideo", nullptr, 0), MCIERR_INVALID_DEVICE_NAME);
  {
    std::string noise;
    while (noise.size() < 5000) noise += "no picture here\n";
    std::ofstream(dir + "/noise.mpg", std::ios::binary) << noise.substr(0, 5000);
  }
  EXPECT_EQ(mciSendString("open " + Win("noise.mpg") + " type MPEGVideo alias vbVideo", nullptr, 0), MCIERR_INVALID_FILE);
  // A cut-off file plays what it has and still ends.
  const std::string h = std::to_string(scene.Picture1.hWnd());
  ASSERT_EQ(mciSendString("open " + Win("cut.vid") + " type MPEGVideo alias vbVideo parent " + h, nullptr, 0), 0);
  ASSERT_EQ(mciSendString("play vbVideo", nullptr, 0), 0);
  for (int i = 0; i < 50; ++i) {
    AdvanceClock(40);
    DoEvents();
  }
  EXPECT_EQ(Query("position"), Query("length"));
}
