// Errors that the program's code raises and the window framework shows to the user.
#pragma once

#include <exception>
#include <string>

#include "Text.h"

namespace parlivo {

// An error with a message meant for the user, held as text.
class Exception : public std::exception {
 public:
  explicit Exception(String16 message) : FMessage(std::move(message)), FNarrow(ToUtf8(FMessage)) {}
  const String16& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FNarrow.c_str(); }

 private:
  String16 FMessage;
  std::string FNarrow;
};

// A lexicon file could not be opened.
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
};

// "Cannot open file "<path>". <reason>", the reason stripped of trailing control
// characters, spaces and full stops as the system tends to end its texts with them.
String16 OpenErrorMessage(StringView16 path, StringView16 systemReason);

}  // namespace parlivo
