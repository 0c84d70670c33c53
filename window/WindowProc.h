// Window procedures that forward every message to the C++ object that created the
// window (passed as the creation parameter). T has a member FHandle and
// LRESULT OnMessage(UINT, WPARAM, LPARAM).
#pragma once

#include <windows.h>

namespace parlivo {

template <class T>
LRESULT CALLBACK ForwardToInstance(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* instance = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    instance->FHandle = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(instance));
  }
  auto* instance = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!instance) return DefWindowProcW(window, message, wParam, lParam);
  const LRESULT result = instance->OnMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    instance->FHandle = nullptr;
  }
  return result;
}

// Registers a window class whose windows forward to their T.
template <class T>
void RegisterForwardingClass(HINSTANCE instance, const wchar_t* className, const wchar_t* cursor,
                             UINT style = 0) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = style;
  windowClass.lpfnWndProc = ForwardToInstance<T>;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, cursor);
  windowClass.lpszClassName = className;
  RegisterClassExW(&windowClass);
}

}  // namespace parlivo
