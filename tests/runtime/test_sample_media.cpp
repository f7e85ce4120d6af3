// The generated sample music and film must open in the media layer with sensible lengths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/audio.h"
#include "runtime/system.h"
#include "runtime/text.h"

TEST(SampleMedia, MusicAndFilmOpenWithTheirLengths) {
  const char* bau = std::getenv("NORVALDE_BUILD");
  ASSERT_NE(bau, nullptr);
  std::string basis = rt::WinPath(bau);
  struct Fall { std::string datei; double min_ms, max_ms; };
  for (const Fall& f : {Fall{basis + "\\musics\\Dorf.mid", 10000, 30000},
                        Fall{basis + "\\movies\\Sonnenaufgang.mpg", 2500, 3500}}) {
    SCOPED_TRACE(f.datei);
    ASSERT_EQ(rt::mciSendString("open \"" + f.datei + "\" alias probe", nullptr, 0), 0);
    std::string antwort(200, ' ');
    EXPECT_EQ(rt::mciSendString("status probe length", &antwort, 200), 0);
    double ms = rt::Val(antwort);
    EXPECT_GE(ms, f.min_ms);
    EXPECT_LE(ms, f.max_ms);
    rt::mciSendString("close probe", nullptr, 0);
  }
}
