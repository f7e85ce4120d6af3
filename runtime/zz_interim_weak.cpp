// Stand-ins until the host-path and text conversions exist; the real definitions win.
#include "runtime/system.h"
#include "runtime/text.h"

namespace rt {
[[gnu::weak]] std::string HostPath(const std::string& winpath) { return winpath; }
[[gnu::weak]] std::string ToUtf8(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x80) { out += char(c); continue; }
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  }
  return out;
}
}  // namespace rt
