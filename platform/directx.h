#pragma once
// The common base of the sound and display wrappers: each keeps the result of the
// last device call made through it.
#include "platform/error.h"

#include <cstdint>

namespace quillon {

class TDirectX {
public:
    virtual ~TDirectX() = default;
    int32_t LastResult() const { return lastResult_; }

protected:
    void setLastResult(int32_t result) {
        lastResult_ = result;
        Check();
    }
    // Hook for a wrapper that reacts to certain results; the default only records.
    virtual void Check() {}

private:
    int32_t lastResult_ = 0;
};

// Errors of the device wrappers.
class EDirectXError : public Exception {
public:
    using Exception::Exception;
};

} // namespace quillon
