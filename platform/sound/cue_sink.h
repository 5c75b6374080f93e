#pragma once
// Where a title card's cues go: played on the sound device, mixed into a video's sound,
// or recorded by a test.
#include <QString>

namespace quillon {

class CueSink {
public:
    virtual ~CueSink() = default;
    // Starts the named cue from its beginning; returns at once.
    virtual void playCue(const QString& name) = 0;
};

} // namespace quillon
