// The host's two-slot value, named as the host names its members.
#pragma once

namespace Norvane::Support {

template <typename A, typename B>
struct Pair {
    A First{};
    B Second{};

    friend bool operator==(const Pair&, const Pair&) = default;
};

}  // namespace Norvane::Support
