// Stand-ins until the folder listing and the drive list exist; the real definitions win.
#include "runtime/system.h"

namespace rt {
[[gnu::weak]] std::vector<std::string> ListFolder(const std::string&, const std::string&, bool, bool) {
  return {};
}
[[gnu::weak]] std::vector<std::string> DriveList() { return {"c:"}; }
}  // namespace rt
