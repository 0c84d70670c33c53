// A screen reader's view of a window, from this process or another one: the accessible
// objects it asks the window for, and the WinEvents it listens to.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <oleacc.h>

#include <vector>

#include "Text.h"

namespace parlivo::test {

// COM on this thread for a scope, as a reader runs it.
class TComScope {
 public:
  TComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~TComScope() { CoUninitialize(); }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;
};

// An accessible object and what it says of itself (CHILDID_SELF) and of its children.
class TReaderView {
 public:
  // The client object of a window, as readers ask for it (AccessibleObjectFromWindow).
  explicit TReaderView(HWND window);
  // The object that raised a WinEvent, as readers find it (AccessibleObjectFromEvent);
  // Child() is then the child the event names.
  TReaderView(HWND window, LONG object, LONG child);
  ~TReaderView();
  TReaderView(const TReaderView&) = delete;
  TReaderView& operator=(const TReaderView&) = delete;

  IAccessible* Object() const { return FObject; }
  long Child() const { return FChild; }
  long Count() const;
  String16 Name(long id) const;
  String16 Value(long id) const;
  long Role(long id) const;
  long State(long id) const;
  long Focus() const;
  // Where an object is on the screen.
  RECT Location(long id) const;
  // The keys that do what an object does, and the name of its default action.
  String16 Shortcut(long id) const;
  String16 DefaultAction(long id) const;
  // Does the object's default action, as a reader does when the user asks for it.
  HRESULT DoDefaultAction(long id) const;

 private:
  // One of the object's texts (name, value, ...) of an object or child.
  using TTextQuery = decltype(&IAccessible::get_accName);
  String16 Text(TTextQuery query, long id) const;

  TComScope FCom;
  IAccessible* FObject = nullptr;
  long FChild = CHILDID_SELF;
};

// The WinEvents raised in one process (this one by default) while the listener lives;
// they arrive as this thread handles its messages.
class TEventListener {
 public:
  explicit TEventListener(DWORD processId = GetCurrentProcessId());
  ~TEventListener();
  TEventListener(const TEventListener&) = delete;
  TEventListener& operator=(const TEventListener&) = delete;

  struct TEvent {
    DWORD Event;
    HWND Window;
    LONG Object;
    LONG Child;
  };
  // Whether the event was heard for the window; child < 0 stands for any child.
  bool Heard(DWORD event, HWND window, LONG child) const;
  std::vector<TEvent> Events;

 private:
  static void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                             DWORD, DWORD);
  static inline TEventListener* Current = nullptr;
  HWINEVENTHOOK FHook;
};

}  // namespace parlivo::test
