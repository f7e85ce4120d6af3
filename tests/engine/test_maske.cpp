// Hotspot masks read in every way a room file may write their numbers, and the line a bad value
// is reported on.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/rooms.h"

namespace {

// A room with one hotspot whose mask is the given 3072 values, each line a column.
std::string RaumMitMaske(const std::string& maske) {
  return "b\r\n-1\r\n0\r\n0,-1,0,-1,0,-1,\"\",-1,\"H\"\r\n" + maske + "-1\r\n";
}

std::string Spalten(const std::function<std::string(int x, int y)>& wert, const std::string& nl = "\r\n") {
  std::string s;
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 48; ++y) s += wert(x, y) + (y == 47 ? nl : ",");
  return s;
}

TEST(Maske, ZahlenInAllenSchreibweisen) {
  // Cell (x, y) is inside for x + y divisible by 3, written in turns as 255 with blanks around
  // it, with a sign, with leading zeros; outside cells as 0, 1, -255 and 2550.
  const char* drin[] = {"255", " 255", "255 ", "+255", "0255", "00255"};
  const char* draussen[] = {"0", "1", "-255", "2550", " 0 ", "254"};
  for (const char* nl : {"\r\n", "\n", ",\r\n"}) {
    SCOPED_TRACE(nl);
    const std::string maske = Spalten(
        [&](int x, int y) { return std::string((x + y) % 3 == 0 ? drin[(x * 48 + y) % 6] : draussen[(x * 48 + y) % 6]); },
        nl);
    Raum r;
    std::string fehler;
    const bool ok = LeseRaumText(RaumMitMaske(maske), r, fehler);
    if (std::string(nl) == ",\r\n") {
      // A comma before the line break ends an empty field, which is no number.
      EXPECT_FALSE(ok);
      EXPECT_NE(fehler.find("Ganzzahl erwartet statt \"\""), std::string::npos) << fehler;
      continue;
    }
    ASSERT_TRUE(ok) << fehler;
    for (int x = 0; x < 64; ++x)
      for (int y = 0; y < 48; ++y) ASSERT_EQ(r.Hotspots[0].Maske[x][y], (x + y) % 3 == 0) << x << "," << y;
  }
}

TEST(Maske, EinFalscherWertNenntSeineZeile) {
  // Line 4 holds the hotspot's fields, the mask's columns follow from line 5 on.
  for (const char* falsch : {"x", "25 5", "\"255\"x", "2.5", ""}) {
    SCOPED_TRACE(falsch);
    const std::string maske = Spalten([&](int x, int y) { return x == 10 && y == 7 ? std::string(falsch) : "0"; });
    Raum r;
    std::string fehler;
    EXPECT_FALSE(LeseRaumText(RaumMitMaske(maske), r, fehler));
    EXPECT_EQ(fehler.rfind("Zeile 15:", 0), 0u) << fehler;
  }
}

}  // namespace
