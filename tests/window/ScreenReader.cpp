#include "ScreenReader.h"

namespace parlivo::test {

namespace {

VARIANT ChildVariant(long id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

String16 Taken(BSTR text) {
  String16 taken = text ? String16(text, SysStringLen(text)) : String16();
  SysFreeString(text);
  return taken;
}

}  // namespace

TReaderView::TReaderView(HWND window) {
  AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                             reinterpret_cast<void**>(&FObject));
}

TReaderView::TReaderView(HWND window, LONG object, LONG child) {
  VARIANT named;
  VariantInit(&named);
  if (AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child),
                                &FObject, &named) == S_OK &&
      named.vt == VT_I4)
    FChild = named.lVal;
}

TReaderView::~TReaderView() {
  if (FObject) FObject->Release();
}

long TReaderView::Count() const {
  long count = -1;
  FObject->get_accChildCount(&count);
  return count;
}

String16 TReaderView::Text(TTextQuery query, long id) const {
  BSTR text = nullptr;
  (FObject->*query)(ChildVariant(id), &text);
  return Taken(text);
}

String16 TReaderView::Name(long id) const {
  return Text(&IAccessible::get_accName, id);
}

String16 TReaderView::Value(long id) const {
  return Text(&IAccessible::get_accValue, id);
}

long TReaderView::Role(long id) const {
  VARIANT role;
  VariantInit(&role);
  FObject->get_accRole(ChildVariant(id), &role);
  return role.vt == VT_I4 ? role.lVal : -1;
}

long TReaderView::State(long id) const {
  VARIANT state;
  VariantInit(&state);
  FObject->get_accState(ChildVariant(id), &state);
  return state.vt == VT_I4 ? state.lVal : -1;
}

long TReaderView::Focus() const {
  VARIANT focus;
  VariantInit(&focus);
  return FObject->get_accFocus(&focus) == S_OK && focus.vt == VT_I4 ? focus.lVal : -1;
}

RECT TReaderView::Location(long id) const {
  long left = 0, top = 0, width = 0, height = 0;
  FObject->accLocation(&left, &top, &width, &height, ChildVariant(id));
  return {left, top, left + width, top + height};
}

String16 TReaderView::Shortcut(long id) const {
  return Text(&IAccessible::get_accKeyboardShortcut, id);
}

String16 TReaderView::DefaultAction(long id) const {
  return Text(&IAccessible::get_accDefaultAction, id);
}

HRESULT TReaderView::DoDefaultAction(long id) const {
  return FObject->accDoDefaultAction(ChildVariant(id));
}

TEventListener::TEventListener(DWORD processId) {
  Current = this;
  FHook =
      SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Heard, processId, 0, WINEVENT_OUTOFCONTEXT);
}

TEventListener::~TEventListener() {
  UnhookWinEvent(FHook);
  Current = nullptr;
}

bool TEventListener::Heard(DWORD event, HWND window, LONG child) const {
  for (const TEvent& e : Events)
    if (e.Event == event && e.Window == window && (child < 0 || e.Child == child)) return true;
  return false;
}

void CALLBACK TEventListener::Heard(HWINEVENTHOOK, DWORD event, HWND window, LONG object,
                                    LONG child, DWORD, DWORD) {
  if (Current) Current->Events.push_back({event, window, object, child});
}

}  // namespace parlivo::test
