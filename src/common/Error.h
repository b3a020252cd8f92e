// Errors of Ravelin: every failure is an exception derived from ravelin::Error and
// carries the system's own message text.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace ravelin {

/// Base of every error Ravelin raises; what() is the message shown to the user.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

/// A counter left its fixed-width range ("Integer overflow" and the like).
class OverflowError : public Error {
 public:
  explicit OverflowError(const std::string& message = "Integer overflow") : Error(message) {}
};

/// A file could not be opened, read, written or closed.
class IoError : public Error {
 public:
  /// message names the file and ends with the reason; reason is the system's reason alone.
  explicit IoError(const std::string& message, std::string reason = "")
      : Error(message), reason_(std::move(reason)) {}
  /// The system's reason alone ("Permission denied"); empty when it is not known.
  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

/// An input passed a documented limit (a form whose text would grow too large).
class LimitError : public Error {
 public:
  explicit LimitError(const std::string& message) : Error(message) {}
};

/// A binary form stream that cannot be converted ("Invalid stream format",
/// "Invalid property value", "Stream read error").
class StreamError : public Error {
 public:
  explicit StreamError(const std::string& message) : Error(message) {}
};

/// The runtime's general exception: a caller broke a documented rule (for instance a
/// token node given a kind outside its range).
class GeneralError : public Error {
 public:
  explicit GeneralError(const std::string& message) : Error(message) {}
};

}  // namespace ravelin
