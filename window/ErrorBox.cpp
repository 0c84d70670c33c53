#include "ErrorBox.h"

namespace parlivo {

namespace {

TErrorSink& Sink() {
  static TErrorSink sink;
  return sink;
}

}  // namespace

String16 ErrorBoxText(const String16& message) {
  if (!message.empty() && message.back() > L'.') return message + L'.';
  return message;
}

void ShowErrorBox(HWND owner, const String16& message) {
  const String16 text = ErrorBoxText(message);
  try {
    if (Sink()) {
      Sink()(text);
      return;
    }
  } catch (...) {
    return;  // a sink that fails has nowhere to report to
  }
  MessageBoxW(owner, text.c_str(), kApplicationTitle, MB_OK | MB_ICONSTOP);
}

void SetErrorSink(TErrorSink sink) {
  Sink() = std::move(sink);
}

}  // namespace parlivo
