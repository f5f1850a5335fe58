#include "params/hide_stream.h"

namespace {

// One stream reference, disposed of exactly once.
class StreamRef {
public:
    StreamRef(const AEGP_StreamSuite2* suite, AEGP_StreamRefH stream) : suite_(suite), stream_(stream) {}
    ~StreamRef() { (void)dispose(); }

    StreamRef(const StreamRef&) = delete;
    StreamRef& operator=(const StreamRef&) = delete;

    AEGP_StreamRefH get() const { return stream_; }

    // Disposes of a non-null reference and answers the host's result.
    A_Err dispose() noexcept {
        A_Err err = A_Err_NONE;
        if (stream_ != nullptr) {
            err = suite_->AEGP_DisposeStream(stream_);
            stream_ = nullptr;
        }
        return err;
    }

private:
    const AEGP_StreamSuite2* suite_;
    AEGP_StreamRefH stream_;
};

}  // namespace

A_Err hideStream(AEGP_SuiteHandler* suites, int index, AEGP_EffectRefH* effect_ref, A_Boolean hide) {
    // Both suites first, so that a missing one cannot strand a stream reference.
    const AEGP_StreamSuite2* streams = suites->StreamSuite7();
    const AEGP_DynamicStreamSuite2* dynamic_streams = suites->DynamicStreamSuite2();

    AEGP_StreamRefH stream_handle = nullptr;
    A_Err err = streams->AEGP_GetNewEffectStreamByIndex(kNoPlugin, *effect_ref, index, &stream_handle);
    if (err != A_Err_NONE) {
        return err;
    }
    StreamRef stream(streams, stream_handle);

    const A_Boolean set = static_cast<A_Boolean>(hide != 0);
    err = dynamic_streams->AEGP_SetDynamicStreamFlag(stream.get(), AEGP_DynStreamFlag_HIDDEN, /*undoableB=*/0, set);
    const A_Err dispose_err = stream.dispose();
    return err != A_Err_NONE ? err : dispose_err;
}
