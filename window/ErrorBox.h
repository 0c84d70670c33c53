// The window framework's error handling: an error that leaves an event handler is
// shown in a modal box and the program goes on without the rest of that handler.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

#include "Errors.h"
#include "Text.h"

namespace parlivo {

inline constexpr wchar_t kApplicationTitle[] = L"Parlivo";

// The message as the box shows it: a full stop added unless the last character is a
// full stop or a character of lower code.
String16 ErrorBoxText(const String16& message);

// Shows the message in a box with the stop icon and OK, captioned with the title.
void ShowErrorBox(HWND owner, const String16& message);

// Where error messages go instead of a modal box, for tests; an empty function
// restores the box. The sink receives the text as the box would show it.
using TErrorSink = std::function<void(const String16& text)>;
void SetErrorSink(TErrorSink sink);

// Runs handler; an exception that leaves it is shown and goes no further. Returns
// whether the handler finished.
template <class THandler>
bool RunHandler(HWND owner, THandler&& handler) noexcept {
  try {
    handler();
    return true;
  } catch (const Exception& error) {
    ShowErrorBox(owner, error.Message());
  } catch (const std::exception& error) {
    ShowErrorBox(owner, FromUtf8(error.what()));
  } catch (...) {
    ShowErrorBox(owner, L"Unknown error");
  }
  return false;
}

}  // namespace parlivo
