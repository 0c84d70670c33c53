// What screen readers see of a control that paints its own items (the result grid's
// rows, the tool bar's buttons) or whose text the system does not give them (the status
// bar): an IAccessible whose children are the items, each with a name, a role, a state
// and a place. The control answers WM_GETOBJECT with it and raises the WinEvents that
// tell readers what changed.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <oleacc.h>

#include <functional>

#include "Text.h"

namespace parlivo {

struct TItemsSource {
  std::function<String16()> Name;  // of the control itself, asked each time a reader asks
  long Role = ROLE_SYSTEM_LIST;
  bool Focusable = true;  // the control itself
  long ItemRole = ROLE_SYSTEM_LISTITEM;
  std::function<long()> Count;
  std::function<String16(long item)> ItemName;  // items from 0
  std::function<long(long item)> ItemState;     // STATE_SYSTEM_* besides focus and place
  std::function<RECT(long item)> ItemRect;      // in the control's client coordinates
  std::function<long()> FocusedItem;            // -1 for none
  std::function<long(POINT client)> ItemAt;     // -1 for none
  // Optional: the keys that do what an item does ("Ctrl+D"), the name of its default
  // action and the action itself, which must not wait for it to end; empty texts for an
  // item without them.
  std::function<String16(long item)> ItemShortcut;
  std::function<String16(long item)> ItemActionName;
  std::function<void(long item)> DoItemAction;
};

class TItemsAccessible final : public IAccessible {
 public:
  // Reference counted: the control holds one reference and gives more to readers.
  TItemsAccessible(HWND control, TItemsSource source);
  // The control goes: later calls fail as disconnected.
  void Disconnect();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: not offered, as for most MSAA servers.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  ~TItemsAccessible() = default;
  // The item a VARIANT names: -1 for the control itself, -2 for none.
  long ItemOf(const VARIANT& child) const;

  LONG FReferences = 1;
  HWND FControl;  // not owned
  TItemsSource FSource;
  bool FConnected = true;
};

// A control's own reference to its accessible object: made on the first request, and
// disconnected when the control goes, whoever else still holds the object.
class TAccessibleHandle {
 public:
  TAccessibleHandle() = default;
  ~TAccessibleHandle() { Disconnect(); }
  TAccessibleHandle(const TAccessibleHandle&) = delete;
  TAccessibleHandle& operator=(const TAccessibleHandle&) = delete;

  // The answer to WM_GETOBJECT for OBJID_CLIENT.
  LRESULT Answer(HWND control, WPARAM wParam, const std::function<TItemsSource()>& makeSource);
  void Disconnect();

 private:
  TItemsAccessible* FObject = nullptr;  // one reference ours
};

// Children of an IAccessible are numbered from 1; 0 (CHILDID_SELF) is the object.
constexpr long ChildIdOfItem(long item) {
  return item + 1;
}

}  // namespace parlivo
