// Stand-in until the host-path mapping exists; the real definition wins.
#include "runtime/system.h"

namespace rt {
[[gnu::weak]] std::string HostPath(const std::string& winpath) { return winpath; }
}  // namespace rt
