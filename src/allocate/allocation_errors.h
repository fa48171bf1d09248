// The two ways an allocation fails. Bad input is the user's to fix and its
// message is one line naming the file and what is wrong; a broken balance
// of demand is a fault of the program and must never pass silently.
#pragma once

#include <stdexcept>
#include <string>

namespace Allotrix::Allocate {

class InputError : public std::runtime_error {
public:
    explicit InputError(const std::string& message) : std::runtime_error(message) {}
};

class ConservationError : public std::logic_error {
public:
    explicit ConservationError(const std::string& message) : std::logic_error(message) {}
};

}  // namespace Allotrix::Allocate
