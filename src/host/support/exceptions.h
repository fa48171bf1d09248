// The failures the library raises toward its host. Each derives from the
// standard exception of the same meaning, so a caller may catch either.
#pragma once

#include <stdexcept>
#include <string>

namespace Norvane::Support {

// A file the caller named does not exist or cannot be read.
class FileNotFoundException : public std::runtime_error {
public:
    explicit FileNotFoundException(const std::string& message) : std::runtime_error(message) {}
};

// A failure the user should read; the text comes from the text manager and
// may be empty when the operation gives none.
class ApplicationException : public std::runtime_error {
public:
    explicit ApplicationException(const std::string& message = {}) : std::runtime_error(message) {}
};

// A code (shape type, field type, position) outside the table that serves it.
class IndexOutOfRangeException : public std::out_of_range {
public:
    explicit IndexOutOfRangeException(const std::string& message) : std::out_of_range(message) {}
};

// A request the object does not handle, such as an unknown filter relation.
class NotSupportedException : public std::logic_error {
public:
    explicit NotSupportedException(const std::string& message) : std::logic_error(message) {}
};

// A call that the object's current state does not allow.
class InvalidOperationException : public std::logic_error {
public:
    explicit InvalidOperationException(const std::string& message) : std::logic_error(message) {}
};

// An argument outside what the operation accepts.
class ArgumentException : public std::invalid_argument {
public:
    explicit ArgumentException(const std::string& message) : std::invalid_argument(message) {}
};

}  // namespace Norvane::Support
