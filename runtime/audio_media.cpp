// The media command channel: music and video under their aliases.
#include "runtime/audio.h"
#include "runtime/audio_internal.h"

namespace rt {

void audio_detail::CloseAllMedia() {}

int mciSendString(const std::string&, std::string*, int) { return MCIERR_INVALID_DEVICE_NAME; }

}  // namespace rt
