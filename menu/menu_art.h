// The menu's built-in pictures: the banner across the top and the hand shown over the web link.
#pragma once
#include "runtime/surface.h"

rt::PicturePtr MenuBanner();      // 501 by 121
rt::PicturePtr MenuHandCursor();  // 32 by 32 icon with transparency
