#include "minihost/pixels/outline_fill.h"

namespace minihost {

void fillOutlines(PF_EffectWorld&, const std::vector<std::vector<PF_PathVertex>>&, PF_Pixel, double, double, double,
                  double) {}

}  // namespace minihost
