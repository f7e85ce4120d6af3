// Builds a compiled script from opcode and argument pairs, for tests.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "engine/state.h"

inline Skript S(std::initializer_list<std::pair<int32_t, std::string>> befehle) {
  Skript s;
  for (const auto& [op, arg] : befehle) {
    s.Befehle.push_back(op);
    s.Parameter.push_back(arg);
  }
  s.Letzter = int32_t(s.Befehle.size()) - 1;
  return s;
}
