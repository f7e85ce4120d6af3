// Work that must happen inside the event pump on the one thread (decoding video frames,
// refilling audio): every DoEvents calls each hook once with the clock's time; the hook returns
// the clock time at which it wants to run next (UINT64_MAX: no need), and event waits wake up
// no later than the earliest of those.
#pragma once
#include <cstdint>
#include <functional>

namespace rt {

using PumpHook = std::function<uint64_t(uint64_t now)>;
// Returns an id for RemovePumpHook. Hooks may be added or removed from inside a hook.
int AddPumpHook(PumpHook h);
void RemovePumpHook(int id);

}  // namespace rt
