#pragma once

#include <stdexcept>
#include <string>

// Failures of the rules core and the engine carry one message string.
class VeltmarkException : public std::exception {
public:
    explicit VeltmarkException(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

class CannotUndoException : public VeltmarkException {
public:
    using VeltmarkException::VeltmarkException;
};
