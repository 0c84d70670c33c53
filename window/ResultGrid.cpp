#include "ResultGrid.h"

#include "WindowProc.h"

namespace parlivo {

void TResultGrid::Register(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = ForwardToInstance<TResultGrid>;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
}

HWND TResultGrid::Create(HWND parent, int id, int defaultValueWidth) {
  FColWidths[1] = defaultValueWidth;
  FHandle =
      CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                      0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), this);
  return FHandle;
}

int TResultGrid::ClientWidth() const {
  RECT client{};
  GetClientRect(FHandle, &client);
  return client.right - client.left;
}

void TResultGrid::SetColWidth(int column, int width) {
  if (FColWidths[column] == width) return;
  FColWidths[column] = width;
  ApplyColumnRule();
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TResultGrid::ApplyColumnRule() {
  if (FApplyingRule || !IsWindowVisible(FHandle)) return;
  const int client = ClientWidth();
  if (FColWidths[0] + FColWidths[1] == client - 2) return;
  FApplyingRule = true;
  FColWidths[1] = client - FColWidths[0] - 2;
  FApplyingRule = false;
}

void TResultGrid::ClearRows() {
  FRows.clear();
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TResultGrid::AddRow(String16 row) {
  FRows.push_back(std::move(row));
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TResultGrid::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(FHandle, &paint);
  FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_WINDOW));
  EndPaint(FHandle, &paint);
}

LRESULT TResultGrid::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
    case WM_SHOWWINDOW:
      ApplyColumnRule();
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(FHandle);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
  }
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

}  // namespace parlivo
