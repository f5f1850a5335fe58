// The function table of every suite the host offers,
// one getter per suite and version. The tables are immutable and shared by
// every call; their functions find the call through CallContext::current().
// Slots the effect never calls are null.
#pragma once

#include "AE_EffectCB.h"

namespace minihost::detail {

const void* ansiSuite1();
const void* worldSuite2();
const void* paramUtilsSuite3();
const void* pathDataSuite1();
const void* pfInterfaceSuite1();
const void* layerSuite11();
const void* layerSuite13();
const void* layerSuite14();
const void* streamSuite7();
const void* streamSuite9();
const void* dynamicStreamSuite2();
const void* effectSuite2();
const void* mathSuite1();
const void* textLayerSuite1();

/// The ANSI functions shared by "PF ANSI Suite" and PF_UtilCallbacks.ansi.
PF_ANSICallbacks ansiCallbacks();

}  // namespace minihost::detail
