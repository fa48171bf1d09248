// The one failure the native operations raise instead of reporting by result:
// an operand that does not fit the point buffer even after vertex reduction.
#pragma once

#include <stdexcept>

namespace Korvex {

// Carries the text key of the message. The native layer knows no text
// manager: the layer that talks to the host catches this type and raises
// the host's application error with the text it looks up for TextKey().
class MaxVerticesCountExceededException : public std::length_error {
public:
    static constexpr const char* kTextKey = "zor.error.ComputeVerticesLimitExceeded";

    MaxVerticesCountExceededException() : std::length_error(kTextKey) {}

    const char* TextKey() const noexcept { return kTextKey; }
};

[[noreturn]] inline void throwMaxVerticesCountExceededException() {
    throw MaxVerticesCountExceededException();
}

}  // namespace Korvex
