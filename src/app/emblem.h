// The program's emblem (a shield with a bright sweep and a spark) drawn as
// plain pixels, without any drawing service of the system. The windows draw
// it from here, and the icon file of the executables is made from it at build
// time by a host tool, so both show the same picture at every size.
#pragma once

#include <cstdint>
#include <vector>

namespace cindral::app {

// The emblem at `size` by `size` pixels (size >= 1), smoothed by
// supersampling. Rows run top to bottom; each pixel is 0xAARRGGBB with
// straight (not premultiplied) alpha, 0 where nothing is drawn.
std::vector<std::uint32_t> RenderEmblem(int size);

}  // namespace cindral::app
