#pragma once

#include <stdexcept>
#include <string>

namespace velmor::components {

// The program's error classes. Every error that a window shows carries its whole text as the message;
// the classes only let a caller choose what it catches. They form one family, so they share this header.
class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string message() const { return what(); }
};

// A bad entry in a numeric field or table cell; the message is shown to the user as it is.
class EAssignError : public Exception {
  public:
    using Exception::Exception;
};

// A text file that cannot be opened or whose content is not what its reader expects.
class EInOutError : public Exception {
  public:
    using Exception::Exception;
};

// An index outside a list ("List index out of bounds (5)").
class EListError : public Exception {
  public:
    using Exception::Exception;
};

// A text that does not convert to the value asked for, or a format string that does not fit its arguments.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// A typed cell access that the column kind does not support ("Data of wrong type").
class EInvalidCast : public Exception {
  public:
    using Exception::Exception;
};

// A stored layout whose values are not those its reader expects (wrong type, bad text, end of stream, an
// unknown column kind).
class EReadError : public Exception {
  public:
    using Exception::Exception;
};

// A contract check that fails without a caller-chosen class.
class EAssertionFailed : public Exception {
  public:
    using Exception::Exception;
};

// Arithmetic faults. The processor does not trap them in this program, so the code that computes checks
// for them and raises one of these; they reach the application's default handler with their message.
class EMathError : public Exception {
  public:
    using Exception::Exception;
};

class EZeroDivide : public EMathError {
  public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
    using EMathError::EMathError;
};

class EInvalidOp : public EMathError {
  public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
    using EMathError::EMathError;
};

class EOverflow : public EMathError {
  public:
    EOverflow() : EMathError("Floating point overflow") {}
    using EMathError::EMathError;
};

class EUnderflow : public EMathError {
  public:
    EUnderflow() : EMathError("Floating point underflow") {}
    using EMathError::EMathError;
};

}  // namespace velmor::components
