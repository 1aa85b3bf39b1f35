#pragma once

#include <exception>
#include <string>
#include <utility>

namespace velmor::rt {

// Everything that ends a run early unwinds to the run driver as one of these. The driver writes the
// message (when there is one) to the console and to the report, then finishes the run normally: the
// engine never ends the process that hosts it.
class EndRun : public std::exception {
  public:
    explicit EndRun(std::string message = {}) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    // Report lines to add before the run's closing line; empty when the phase already wrote its message.
    const std::string& message() const { return message_; }

  private:
    std::string message_;
};

// A fatal stop of an engine phase, with its stop code ("1", "2", "4" or empty) and the console text the
// phase wrote before stopping.
class StopRun : public EndRun {
  public:
    StopRun(std::string code, std::string message) : EndRun(std::move(message)), code_(std::move(code)) {}
    const std::string& code() const { return code_; }

  private:
    std::string code_;
};

// A fault of the record layer: end of file, a value that does not read as its type, a file that cannot
// be opened or written, a number outside the range of its type.
class RecordFault : public EndRun {
  public:
    using EndRun::EndRun;
};

}  // namespace velmor::rt
