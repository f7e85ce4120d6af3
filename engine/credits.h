// What the credits roll shows: its four pages and the pictures their markers bring in.
#pragma once
#include <array>
#include <cstdint>
#include <string>

// A picture of the credits: its file in the games folder and its top-left corner on the scene.
struct AbspannBild {
  const char* datei;
  int32_t x0, y0;
};
// In marker order.
extern const std::array<AbspannBild, 10> AbspannBilder;

// The four pages (Windows-1252), each starting with two blanks that are never typed and ending
// in 20 blanks. "|" ends a line; "#" and the two characters after it bring in the next picture.
// The second page opens with the evil points.
std::array<std::string, 4> AbspannSeiten(int32_t bosheitsPunkte);
