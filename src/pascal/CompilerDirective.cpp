#include "pascal/CompilerDirective.h"

#include "common/VornString.h"

namespace ravelin {

namespace {

bool IsWordChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::optional<CompilerDirective> ParseDirective(std::string_view comment) {
  std::string_view body;
  if (comment.size() >= 2 && comment[0] == '{' && comment[1] == '$') {
    body = comment.substr(2);
    if (!body.empty() && body.back() == '}') body.remove_suffix(1);
  } else if (comment.size() >= 3 && comment.substr(0, 3) == "(*$") {
    body = comment.substr(3);
    if (body.size() >= 2 && body.substr(body.size() - 2) == "*)") body.remove_suffix(2);
  } else {
    return std::nullopt;
  }
  std::size_t end = 0;
  while (end < body.size() && IsWordChar(body[end])) ++end;
  CompilerDirective directive;
  directive.name = UpperText(body.substr(0, end));
  directive.argument = TrimSpaces(body.substr(end));
  return directive;
}

std::string FirstWord(std::string_view argument) {
  std::size_t end = 0;
  while (end < argument.size() && IsWordChar(argument[end])) ++end;
  return std::string(argument.substr(0, end));
}

}  // namespace ravelin
