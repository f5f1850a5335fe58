// "PF ANSI Suite" 1 and the ANSI callbacks of PF_UtilCallbacks: the C
// library's maths and the two string helpers, which write into buffers the
// caller vouches for.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "AE_EffectCBSuites.h"
#include "minihost/core/detail/call_context.h"
#include "minihost/suites/detail/suite_tables.h"

namespace minihost::detail {
namespace {

// How many bytes the host knows the destination to hold, or 0 when it is the
// plug-in's own memory and the plug-in vouches for the room.
std::size_t knownRoom(CallContext& ctx, const A_char* buffer) {
    PF_OutData* out = ctx.outData();
    if (out != nullptr && buffer == out->return_msg) {
        return sizeof(out->return_msg);
    }
    return 0;
}

int ansiSprintf(A_char* buffer, const A_char* format, ...) {
    CallContext* ctx = CallContext::current();
    if (ctx == nullptr) {
        return -1;
    }
    try {
        (void)ctx->onCall(HostFunction::sprintf);  // cannot fail: sprintf has no error to answer
        if (buffer == nullptr || format == nullptr) {
            ctx->violation("sprintf: null buffer or format");
            return -1;
        }
        va_list args;
        va_start(args, format);
        va_list measure;
        va_copy(measure, args);
        const int needed = std::vsnprintf(nullptr, 0, format, measure);
        va_end(measure);
        std::size_t room = knownRoom(*ctx, buffer);
        if (room != 0 && needed >= 0 && static_cast<std::size_t>(needed) >= room) {
            ctx->violation("sprintf: " + std::to_string(needed) + " characters into a " + std::to_string(room) +
                           "-byte host buffer; cut short");
        }
        if (room == 0 && needed >= 0) {
            room = static_cast<std::size_t>(needed) + 1;
        }
        const int written = room == 0 ? needed : std::vsnprintf(buffer, room, format, args);
        va_end(args);
        return written;
    } catch (...) {
        return -1;
    }
}

A_char* ansiStrcpy(A_char* dst, const A_char* src) {
    CallContext* ctx = CallContext::current();
    if (ctx == nullptr) {
        return nullptr;
    }
    try {
        (void)ctx->onCall(HostFunction::strcpy);  // cannot fail: strcpy has no error to answer
        if (dst == nullptr || src == nullptr) {
            ctx->violation("strcpy: null destination or source");
            return dst;
        }
        const std::size_t room = knownRoom(*ctx, dst);
        const std::size_t len = std::strlen(src);
        if (room != 0 && len >= room) {
            ctx->violation("strcpy: " + std::to_string(len) + " characters into a " + std::to_string(room) +
                           "-byte host buffer; cut short");
            std::memcpy(dst, src, room - 1);
            dst[room - 1] = '\0';
            return dst;
        }
        std::memcpy(dst, src, len + 1);
        return dst;
    } catch (...) {
        return dst;
    }
}

A_FpLong fAtan(A_FpLong x) { return std::atan(x); }
A_FpLong fAtan2(A_FpLong y, A_FpLong x) { return std::atan2(y, x); }
A_FpLong fCeil(A_FpLong x) { return std::ceil(x); }
A_FpLong fCos(A_FpLong x) { return std::cos(x); }
A_FpLong fExp(A_FpLong x) { return std::exp(x); }
A_FpLong fFabs(A_FpLong x) { return std::fabs(x); }
A_FpLong fFloor(A_FpLong x) { return std::floor(x); }
A_FpLong fFmod(A_FpLong x, A_FpLong y) { return std::fmod(x, y); }
A_FpLong fHypot(A_FpLong x, A_FpLong y) { return std::hypot(x, y); }
A_FpLong fLog(A_FpLong x) { return std::log(x); }
A_FpLong fLog10(A_FpLong x) { return std::log10(x); }
A_FpLong fPow(A_FpLong x, A_FpLong y) { return std::pow(x, y); }
A_FpLong fSin(A_FpLong x) { return std::sin(x); }
A_FpLong fSqrt(A_FpLong x) { return std::sqrt(x); }
A_FpLong fTan(A_FpLong x) { return std::tan(x); }
A_FpLong fAsin(A_FpLong x) { return std::asin(x); }
A_FpLong fAcos(A_FpLong x) { return std::acos(x); }

const PF_ANSICallbacksSuite1 kSuite = {fAtan,  fAtan2, fCeil, fCos,  fExp, fFabs,       fFloor,     fFmod, fHypot, fLog,
                                       fLog10, fPow,   fSin,  fSqrt, fTan, ansiSprintf, ansiStrcpy, fAsin, fAcos};

}  // namespace

const void* ansiSuite1() { return &kSuite; }

PF_ANSICallbacks ansiCallbacks() {
    PF_ANSICallbacks cb{};
    cb.atan = fAtan;
    cb.atan2 = fAtan2;
    cb.ceil = fCeil;
    cb.cos = fCos;
    cb.exp = fExp;
    cb.fabs = fFabs;
    cb.floor = fFloor;
    cb.fmod = fFmod;
    cb.hypot = fHypot;
    cb.log = fLog;
    cb.log10 = fLog10;
    cb.pow = fPow;
    cb.sin = fSin;
    cb.sqrt = fSqrt;
    cb.tan = fTan;
    cb.sprintf = ansiSprintf;
    cb.strcpy = ansiStrcpy;
    cb.asin = fAsin;
    cb.acos = fAcos;
    return cb;
}

}  // namespace minihost::detail
