// The pieces of the scene's timed effects that stand on their own: the frame pace, the grey
// level of the fades, one frame of the shake and the target rectangle of the zooms.
#pragma once
#include <cstdint>
#include <functional>

#include "runtime/surface.h"

class TForm1;

// Frames of the fades, the shake and the zooms come 16 ms apart. What a frame shows depends
// only on the clock; the pace just keeps the effects from spending a whole core on frames that
// no screen shows.
class EffektTakt {
 public:
  explicit EffektTakt(uint64_t ende);
  // Pumps events once, then sleeps until the next frame's mark (pumping what arrives), never past
  // the effect's end. A frame that came late is followed by the next one at once.
  void Warte();
  // Called as each frame has been drawn, before its wait (the benchmark measures the pace).
  static inline std::function<void()> NachFrame;

 private:
  uint64_t ende_, marke_;
};

// The grey level of a fade after (or before the end by) ms milliseconds: ms * 0.255 rounded,
// ties to even, and kept within 0..255 whatever the clock gave.
int32_t BlendGrau(int64_t ms);

// One frame of the shake: the clean copy's image painted onto the scene at the offset (dx, dy);
// along an axis with a negative offset the source keeps its full width or height and is
// squeezed in.
void RuckelBild(TForm1& f, const rt::PicturePtr& sauber, float dx, float dy);

// A zoom's target in pixels of the room picture.
struct ZoomRechteck {
  int64_t x1, y1, x2, y2;
};
// Puts the scene corners in order (widening an empty side by 2), maps them onto a picture of
// p2w x p2h shown over a p1w x p1h scene, widens the rectangle to the picture's aspect ratio and
// pushes it back inside along the widened direction. false, with nothing changed, for a picture
// without pixels.
bool ZoomZiel(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2, float p1w, float p1h, float p2w, float p2h,
              ZoomRechteck& ziel);
