// A recorded way through the jump-and-run level from the start to the door: the keys held in
// each frame, found by searching the game's own movement. The unit tests and the end-to-end
// player both follow it; it stays valid as long as the level, the enemies and the movement do.
#pragma once
#include <cctype>
#include <cstdlib>
#include <vector>

struct JumpSchritt {
  int tasten;  // JumpTaste bits of the keys held
  int bilder;  // for this many frames
};

// R Right, L Left, S the space bar, "-" nothing; then the number of frames.
constexpr const char* kJumpWeg =
    "R5 -6 R4 -21 RS11 -1 L2 R4 -1 R6 -1 R13 -2 R6 RS11 -1 R9 L1 R4 -1 R4 -1 R4 -1 R4 -1 R1 "
    "-1 R1 L2 RS12 -1 R4 -1 R9 -2 R3 -1 R4 -1 R9 L1 R9 RS14 -3 R4 -1 R4 -1 R4 -1 R4 -1 L8 -1 "
    "RS41 L1 RS18 L1 R11 L1 R7 -1 RS11 -3 RS14 -1 R3 -1 R27 L1 R11 L2 RS6 -3 R6 -1 R9 -1 L3 "
    "S1 R3 -2 L1 R17 L1 R2 L1 RS12 -1 R8 -1 R11 -1 R17 L1 -1 RS14 -1 R1 -1 R4 -1 R4 -1 R4 -1 "
    "R4 -1 R1 L2 RS14 -1 R9 -2 R3 -1 R4 -1 R8 L2 R1 L1 R1 L1 R1 L2 RS18 L4 R4 -1 R4 -1 R7 "
    "RS9 -1 R10 -1 R1 -1 R11 -1 R1 -9 L3 -1 R2 RS19 L1 R10 -2 R4 -6 R13 RS18 L1 R2 -1 R7 -1 "
    "R16 -1 R4 L4 -2 RS11 -1 R7 -1 R6 L1 R13 L1 -1 R11 -1 R9 -1 R12 RS4 -2 R8 L2 R9 -1 R16 "
    "L1 -1 L1 -1 L2 S1 R10 -10 RS11 -1 L2 R2 -1 R4 -1 R9 L6 R1 L2 LS1 R1 L4 -1 L4 -1 L4 -1 "
    "L4 -1 L10 R1 L3 R2 L6 R1 LS1 R1 L3 R4 -1 L1 -1 L4 -1 L4 -1 L11 R10 -1 L1 -1 L5 RS2 L1 "
    "-1 R2 -1 R4 -1 R4 -1 R4 -1 R6 -1 R2 -2 R10 L1 RS40 -3 L1 -22 L5 RS1 -1 L1 R3 -1 R4 -1 "
    "R4 -1 R4 -1 R4 -1 R4 -7 RS11 L3 R2 -1 R4 -1 R9 -1 R4 -1 R7 L7 LS1 R1 L4 -1 L4 -1 L4 -1 "
    "L4 -1 L4 -1 L18 RS6 L2 R14 -1 R4 -1 R17 L7 RS11 L2 R3 -1 R14 L1 R4 -3 LS5 R1 L4 -1 L14 "
    "-1 L4 -1 L4 -6 LS7 R3 L2 -1 L1 R2 L1 -1 L9 -1 L4 -8 R10 RS15 -2 R4 -1 R4 -1 R5 L2 -3 R8 "
    "-4 RS33 -1 R12 -3 R10 -3 RS24 -1 R8 -2 R9 -4 RS19 L1 -2 R4 -1 R9 -2 R15 L2 RS28 -1 R4 "
    "-1 R4 -1 R9 -6 RS14 -1 R4 -1 R5 -6 R8 -7 RS19 L1 R4 -1 R6 L1 RS22 L1 R11 L1 R10 -2 R14 "
    "RS11 -1 R4 -1 R9 L1 -11 R12 -1 RS24 -1 R8 -3 R3 -1 R11 -3 R9 RS11 -1 R4 -1 R4 -1 R8 -2 "
    "R29 -2 RS15 -1 R6 -1 R2 -4 R32 RS11 -1 R9 L1 R11 L4 R9 RS17 -1 R1 -1 R6 -1 R2 -1 R4 -1 "
    "R18 L1 RS11 -6 RS2 -1 L1 R2 -1 R4 -1 R6 -1 R6 -1 R1 -1 R1 L3 R8 L1 RS30 -1 RS11 -1 R9 "
    "L1 R10 L1 R6 L3 RS27 L2 R1 -1 R16 RS18 L8 RS9 L2 R47 -22 R61 -6 R9 RS32 -1 RS53 L6 "
    "RS128 R6 RS90 R1 RS22 R22 RS103 -2 RS58";

inline int JumpTaste(int vk) { return vk == 39 ? 1 : vk == 37 ? 2 : vk == 32 ? 4 : 0; }

inline std::vector<JumpSchritt> JumpWeg() {
  std::vector<JumpSchritt> weg;
  for (const char* p = kJumpWeg; *p;) {
    while (*p == ' ') ++p;
    if (!*p) break;
    int tasten = 0;
    for (; *p && !std::isdigit(static_cast<unsigned char>(*p)); ++p)
      tasten |= *p == 'R' ? 1 : *p == 'L' ? 2 : *p == 'S' ? 4 : 0;
    weg.push_back({tasten, int(std::strtol(p, const_cast<char**>(&p), 10))});
  }
  return weg;
}
