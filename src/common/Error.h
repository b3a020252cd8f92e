// Errors of Ravelin: every failure is an exception derived from ravelin::Error and
// carries the system's own message text.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace ravelin {

/// Base of every error Ravelin raises; what() is the message shown to the user.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
  /// Throws an error of the same kind (and reason) with another message.
  [[noreturn]] virtual void Rethrow(const std::string& message) const { throw Error(message); }
};

/// A counter left its fixed-width range ("Integer overflow" and the like).
class OverflowError : public Error {
 public:
  explicit OverflowError(const std::string& message = "Integer overflow") : Error(message) {}
  [[noreturn]] void Rethrow(const std::string& message) const override {
    throw OverflowError(message);
  }
};

/// A file could not be opened, read, written or closed.
class IoError : public Error {
 public:
  /// message names the file and ends with the reason; reason is the system's reason alone.
  explicit IoError(const std::string& message, std::string reason = "")
      : Error(message), reason_(std::move(reason)) {}
  /// The system's reason alone ("Permission denied"); empty when it is not known.
  const std::string& Reason() const { return reason_; }
  [[noreturn]] void Rethrow(const std::string& message) const override {
    throw IoError(message, reason_);
  }

 private:
  std::string reason_;
};

/// An input passed a documented limit (a form whose text would grow too large).
class LimitError : public Error {
 public:
  explicit LimitError(const std::string& message) : Error(message) {}
  [[noreturn]] void Rethrow(const std::string& message) const override {
    throw LimitError(message);
  }
};

/// A binary form stream that cannot be converted ("Invalid stream format",
/// "Invalid property value", "Stream read error").
class StreamError : public Error {
 public:
  explicit StreamError(const std::string& message) : Error(message) {}
  [[noreturn]] void Rethrow(const std::string& message) const override {
    throw StreamError(message);
  }
};

/// The runtime's general exception: a caller broke a documented rule (for instance a
/// token node given a kind outside its range).
class GeneralError : public Error {
 public:
  explicit GeneralError(const std::string& message) : Error(message) {}
  [[noreturn]] void Rethrow(const std::string& message) const override {
    throw GeneralError(message);
  }
};

/// The message with context put after its lead (the part before its first ": ", or the whole
/// message when it has none): "Integer overflow: line 7 ..." with the context `in "x.pas"`
/// gives "Integer overflow in "x.pas": line 7 ...".
inline std::string MessageWithContext(std::string_view message, std::string_view context) {
  const size_t lead = message.find(": ");
  std::string result(message.substr(0, lead));
  result += ' ';
  result += context;
  if (lead != std::string_view::npos) result += message.substr(lead);
  return result;
}

/// Runs body and returns what it returns. An Error that it throws is thrown again, of the same
/// kind, with context added to its message by MessageWithContext: the one way errors are told
/// which file or form they are about.
template <class Body>
decltype(auto) WithErrorContext(std::string_view context, Body&& body) {
  try {
    return body();
  } catch (const Error& e) {
    e.Rethrow(MessageWithContext(e.what(), context));
  }
}

}  // namespace ravelin
