// The id under which the pre-render checks the input layer out and the smart
// render fetches its pixels again: the two must agree.
#pragma once

#include "AE_Effect.h"

inline constexpr A_long kInputCheckoutId = 0;
