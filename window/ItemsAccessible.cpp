#include "ItemsAccessible.h"

namespace parlivo {

namespace {

HRESULT Text(const String16& text, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = text.empty() ? nullptr : SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return text.empty() ? S_FALSE : S_OK;
}

void SetLong(VARIANT* out, long value) {
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = value;
}

}  // namespace

LRESULT TAccessibleHandle::Answer(HWND control, WPARAM wParam,
                                  const std::function<TItemsSource()>& makeSource) {
  // COM counts the object's references from here on; this handle keeps one.
  if (!FObject) FObject = new TItemsAccessible(control, makeSource());
  return LresultFromObject(__uuidof(IAccessible), wParam, FObject);
}

void TAccessibleHandle::Disconnect() {
  if (!FObject) return;
  FObject->Disconnect();
  FObject->Release();
  FObject = nullptr;
}

TItemsAccessible::TItemsAccessible(HWND control, TItemsSource source)
    : FControl(control), FSource(std::move(source)) {}

void TItemsAccessible::Disconnect() {
  FConnected = false;
  FSource = {};
}

long TItemsAccessible::ItemOf(const VARIANT& child) const {
  if (child.vt != VT_I4) return -2;
  if (child.lVal == CHILDID_SELF) return -1;
  return child.lVal >= 1 && child.lVal <= FSource.Count() ? child.lVal - 1 : -2;
}

HRESULT TItemsAccessible::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TItemsAccessible::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&FReferences));
}

ULONG TItemsAccessible::Release() {
  const LONG left = InterlockedDecrement(&FReferences);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT TItemsAccessible::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}
HRESULT TItemsAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) {
  return E_NOTIMPL;
}
HRESULT TItemsAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
HRESULT TItemsAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
  return E_NOTIMPL;
}

HRESULT TItemsAccessible::get_accParent(IDispatch** parent) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  // The control's window, as the system's standard object for it.
  return AccessibleObjectFromWindow(FControl, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                    reinterpret_cast<void**>(parent));
}

HRESULT TItemsAccessible::get_accChildCount(long* count) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  *count = FSource.Count();
  return S_OK;
}

HRESULT TItemsAccessible::get_accChild(VARIANT child, IDispatch** object) {
  *object = nullptr;
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  return ItemOf(child) >= 0 ? S_FALSE : E_INVALIDARG;  // the items are simple elements
}

HRESULT TItemsAccessible::get_accName(VARIANT child, BSTR* name) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  const long item = ItemOf(child);
  if (item == -2) return E_INVALIDARG;
  return Text(item == -1 ? FSource.Name() : FSource.ItemName(item), name);
}

HRESULT TItemsAccessible::get_accValue(VARIANT, BSTR* value) {
  *value = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT TItemsAccessible::get_accDescription(VARIANT, BSTR* text) {
  *text = nullptr;
  return S_FALSE;
}

HRESULT TItemsAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  const long item = ItemOf(child);
  if (item == -2) return E_INVALIDARG;
  SetLong(role, item == -1 ? FSource.Role : FSource.ItemRole);
  return S_OK;
}

HRESULT TItemsAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  const long item = ItemOf(child);
  if (item == -2) return E_INVALIDARG;
  const bool focused = GetFocus() == FControl;
  if (item == -1) {
    SetLong(state,
            FSource.Focusable ? STATE_SYSTEM_FOCUSABLE | (focused ? STATE_SYSTEM_FOCUSED : 0) : 0);
    return S_OK;
  }
  long flags = FSource.ItemState ? FSource.ItemState(item) : 0;
  if (focused && FSource.FocusedItem && FSource.FocusedItem() == item)
    flags |= STATE_SYSTEM_FOCUSED;
  RECT client{}, place = FSource.ItemRect(item);
  GetClientRect(FControl, &client);
  if (place.bottom <= client.top || place.top >= client.bottom || place.right <= place.left)
    flags |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
  SetLong(state, flags);
  return S_OK;
}

HRESULT TItemsAccessible::get_accHelp(VARIANT, BSTR* text) {
  *text = nullptr;
  return S_FALSE;
}

HRESULT TItemsAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  *file = nullptr;
  *topic = 0;
  return S_FALSE;
}

HRESULT TItemsAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* text) {
  *text = nullptr;
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  const long item = ItemOf(child);
  if (item == -2) return E_INVALIDARG;
  return item >= 0 && FSource.ItemShortcut ? Text(FSource.ItemShortcut(item), text) : S_FALSE;
}

HRESULT TItemsAccessible::get_accFocus(VARIANT* child) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  VariantInit(child);
  if (GetFocus() != FControl) return S_FALSE;
  const long item = FSource.FocusedItem ? FSource.FocusedItem() : -1;
  SetLong(child, item >= 0 ? ChildIdOfItem(item) : CHILDID_SELF);
  return S_OK;
}

HRESULT TItemsAccessible::get_accSelection(VARIANT* children) {
  VariantInit(children);
  return S_FALSE;
}

HRESULT TItemsAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  *action = nullptr;
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  const long item = ItemOf(child);
  if (item == -2) return E_INVALIDARG;
  return item >= 0 && FSource.ItemActionName ? Text(FSource.ItemActionName(item), action) : S_FALSE;
}

HRESULT TItemsAccessible::accSelect(long, VARIANT) {
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT TItemsAccessible::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  const long item = ItemOf(child);
  if (item == -2) return E_INVALIDARG;
  RECT place{};
  if (item == -1) {
    GetClientRect(FControl, &place);
  } else {
    place = FSource.ItemRect(item);
  }
  MapWindowPoints(FControl, HWND_DESKTOP, reinterpret_cast<POINT*>(&place), 2);
  *left = place.left;
  *top = place.top;
  *width = place.right - place.left;
  *height = place.bottom - place.top;
  return S_OK;
}

HRESULT TItemsAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  VariantInit(end);
  const long count = FSource.Count();
  const long item = ItemOf(start);
  long next = -2;
  if (direction == NAVDIR_FIRSTCHILD && item == -1) next = 0;
  if (direction == NAVDIR_LASTCHILD && item == -1) next = count - 1;
  if ((direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) && item >= 0) next = item + 1;
  if ((direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) && item >= 0) next = item - 1;
  if (next < 0 || next >= count) return S_FALSE;
  SetLong(end, ChildIdOfItem(next));
  return S_OK;
}

HRESULT TItemsAccessible::accHitTest(long x, long y, VARIANT* child) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  VariantInit(child);
  POINT at{x, y};
  ScreenToClient(FControl, &at);
  RECT client{};
  GetClientRect(FControl, &client);
  if (!PtInRect(&client, at)) return S_FALSE;
  const long item = FSource.ItemAt ? FSource.ItemAt(at) : -1;
  SetLong(child, item >= 0 ? ChildIdOfItem(item) : CHILDID_SELF);
  return S_OK;
}

HRESULT TItemsAccessible::accDoDefaultAction(VARIANT child) {
  if (!FConnected) return CO_E_OBJNOTCONNECTED;
  const long item = ItemOf(child);
  if (item == -2) return E_INVALIDARG;
  if (item < 0 || !FSource.DoItemAction || !FSource.ItemActionName ||
      FSource.ItemActionName(item).empty())
    return DISP_E_MEMBERNOTFOUND;
  FSource.DoItemAction(item);
  return S_OK;
}

HRESULT TItemsAccessible::put_accName(VARIANT, BSTR) {
  return E_NOTIMPL;
}

HRESULT TItemsAccessible::put_accValue(VARIANT, BSTR) {
  return E_NOTIMPL;
}

}  // namespace parlivo
