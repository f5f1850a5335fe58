// Everything of the stand-in host's image buffers and pixel operations.
#pragma once

#include "minihost/pixels/depth.h"
#include "minihost/pixels/outline_fill.h"
#include "minihost/pixels/world.h"
#include "minihost/pixels/world_ops.h"
