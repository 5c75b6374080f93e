#pragma once
// The base of every DirectX wrapper object: it keeps the result of the last call made
// through it. Display and sound wrappers share it.
#include "platform/core/error.h"

#include <cstdint>

namespace quillon {

class EDirectXError : public Exception {
public:
    using Exception::Exception;
};

class TDirectX {
public:
    TDirectX() = default;
    virtual ~TDirectX() = default;
    // A wrapper owns what it wraps: it is never copied.
    TDirectX(const TDirectX&) = delete;
    TDirectX& operator=(const TDirectX&) = delete;
    int32_t LastResult() const { return lastResult_; }

protected:
    // Records a call's result; a failing one goes through Check, which may raise.
    void setLastResult(int32_t result) {
        lastResult_ = result;
        if (result != 0)
            check();
    }
    virtual void check() {}

private:
    int32_t lastResult_ = 0;
};

} // namespace quillon
