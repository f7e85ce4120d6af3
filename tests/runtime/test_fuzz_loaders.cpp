// A short mutation run over the picture loader and the media commands (the standalone program
// e2e_fuzz_loaders runs the same for longer): no input may crash, hang or give a picture that
// breaks the loader's own limits.
#include <gtest/gtest.h>

#include "scratch.h"
#include "tests/fuzz_loaders.h"

namespace {

class Fuzz : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing_support::MakeScratchFolder("fuzz");
    ASSERT_FALSE(dir.empty());
  }
  void TearDown() override {
    rt::AudioClose();
    testing_support::RemoveScratchFolder(dir);
  }
  std::string dir;
};

struct Ziel : rt::Form {
  rt::PictureBox bild{this};
  void InitializeComponent() override {
    SetClientSize(64, 48);
    bild.Move(0, 0, 64, 48);
  }
};

}  // namespace

TEST_F(Fuzz, PictureLoaderTakesMutatedFiles) {
  const std::vector<fuzz::Seed> seeds = fuzz::PictureSeeds(dir);
  fuzz::Rng r(18);
  for (int i = 0; i < 3000; ++i) {
    const fuzz::Seed& s = seeds[r.Below(seeds.size())];
    const fuzz::Seed input{s.ext, fuzz::Mutate(s.bytes, r, seeds)};
    ASSERT_TRUE(fuzz::LoadPictureInput(dir, input)) << "input " << i << " from a ." << s.ext;
  }
}

TEST_F(Fuzz, MediaCommandsTakeMutatedFiles) {
  const std::vector<fuzz::Seed> seeds = fuzz::MediaSeeds(dir);
  ASSERT_EQ(seeds.size(), 5u);
  Ziel ziel;
  ziel.Show();
  fuzz::Rng r(18);
  for (int i = 0; i < 200; ++i) {
    const fuzz::Seed& s = seeds[r.Below(seeds.size())];
    fuzz::PlayMediaInput(dir, {s.ext, fuzz::Mutate(s.bytes, r, seeds)}, r, &ziel.bild);
  }
  ziel.Unload();
  rt::ShutdownRuntime();
}
