#include "ResultGrid.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>

#include "BufferedPaint.h"
#include "Search.h"
#include "WindowProc.h"
#include "WindowText.h"

namespace parlivo {

namespace {

constexpr wchar_t kKeyWithEquals[] = L"Key may not contain equals sign (\"=\")";
constexpr UINT_PTR kEditorSubclass = 1;

}  // namespace

void TResultGrid::Register(HINSTANCE instance) {
  RegisterForwardingClass<TResultGrid>(instance, kClassName, IDC_ARROW, CS_DBLCLKS);
}

TResultGrid::~TResultGrid() {
  if (FHandle) DestroyWindow(FHandle);
}

TItemsSource TResultGrid::AccessibleRows() {
  TItemsSource source;
  source.Name = [] { return String16(L"Results"); };
  source.Count = [this] { return static_cast<long>(FRows.size()); };
  source.ItemName = [this](long row) {
    return Cell(0, static_cast<int>(row)) + L": " + Cell(1, static_cast<int>(row));
  };
  source.ItemState = [](long) { return long{STATE_SYSTEM_FOCUSABLE}; };
  source.ItemRect = [this](long row) { return RowRect(static_cast<int>(row)); };
  source.FocusedItem = [this] { return FRows.empty() ? -1L : long{FCurrentRow}; };
  source.ItemAt = [this](POINT at) {
    const int row = RowAt(at.y);
    return row >= 0 && static_cast<size_t>(row) < FRows.size() ? long{row} : -1L;
  };
  return source;
}

void TResultGrid::RaiseEvent(DWORD event, long child) const {
  NotifyWinEvent(event, FHandle, OBJID_CLIENT, child);
}

RECT TResultGrid::RowRect(int row) const {
  int y = 0;
  for (int r = FTopRow; r < row; ++r) y += FHeights[static_cast<size_t>(r)];
  for (int r = row; r < FTopRow; ++r) y -= FHeights[static_cast<size_t>(r)];
  return {0, y, FColWidths[0] + kGridLineWidth + FColWidths[1],
          y + FHeights[static_cast<size_t>(row)]};
}

HWND TResultGrid::Create(HWND parent, int id, int defaultValueWidth) {
  FColWidths[1] = defaultValueWidth;
  CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, nullptr,
                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), this);
  return FHandle;
}

void TResultGrid::SetScale(HFONT cellFont, HFONT boldCellFont, int defaultRowHeight) {
  EndEdit();
  FCellFont = cellFont;
  FBoldCellFont = boldCellFont;
  FDefaultRowHeight = defaultRowHeight;
  std::fill(FHeights.begin(), FHeights.end(), defaultRowHeight);
  UpdateScrollBar();
  InvalidateRect(FHandle, nullptr, FALSE);
}

int TResultGrid::ClientWidth() const {
  RECT client{};
  GetClientRect(FHandle, &client);
  return client.right;
}

int TResultGrid::ClientHeight() const {
  RECT client{};
  GetClientRect(FHandle, &client);
  return client.bottom;
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
  InvalidateRect(FHandle, nullptr, FALSE);
  FApplyingRule = false;
}

std::pair<StringView16, StringView16> TResultGrid::KeyAndValue(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= FRows.size()) return {};
  const StringView16 text = FRows[static_cast<size_t>(row)];
  const size_t equals = text.find(L'=');
  if (equals == StringView16::npos) return {StringView16(), text};
  return {text.substr(0, equals), text.substr(equals + 1)};
}

String16 TResultGrid::Cell(int column, int row) const {
  const auto [key, value] = KeyAndValue(row);
  return String16(column == 0 ? key : value);
}

StringView16 TResultGrid::Key(int row) const {
  return KeyAndValue(row).first;
}

String16 TResultGrid::RowsText() const {
  String16 text;
  for (const auto& row : FRows) {
    if (!text.empty()) text += L"\r\n";
    text += row;
  }
  return text;
}

void TResultGrid::ClearRows() {
  EndEdit();
  FRows.clear();
  FHeights.resize(1);  // the first row keeps its height
  FCurrentRow = 0;
  FTopRow = 0;
  if (FUpdating > 0) return;
  UpdateScrollBar();
  InvalidateRect(FHandle, nullptr, FALSE);
}

TGridUpdate::TGridUpdate(TResultGrid& grid) : FGrid(grid) {
  FGrid.BeginUpdate();
}

TGridUpdate::~TGridUpdate() {
  FGrid.EndUpdate();
}

void TResultGrid::AddRow(StringView16 headword, StringView16 text) {
  AppendResultRow(FRows.emplace_back(), headword, text);
  if (FRows.size() > FHeights.size()) FHeights.push_back(FDefaultRowHeight);
  if (FUpdating > 0) return;
  UpdateScrollBar();
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TResultGrid::EndUpdate() {
  if (--FUpdating > 0) return;
  UpdateScrollBar();
  InvalidateRect(FHandle, nullptr, FALSE);
  RaiseEvent(EVENT_OBJECT_REORDER, CHILDID_SELF);
  if (GetFocus() == FHandle && !FRows.empty())
    RaiseEvent(EVENT_OBJECT_FOCUS, ChildIdOfItem(FCurrentRow));
}

void TResultGrid::SetRowHeight(int row, int height) {
  int& current = FHeights[static_cast<size_t>(row)];
  if (current == height) return;
  current = height;
  // The scroll bar follows once the paint that measures the rows is over.
  FScrollBarStale = true;
  InvalidateRect(FHandle, nullptr, FALSE);
}

int TResultGrid::SmallestTopShowing(int row) const {
  const int client = ClientHeight();
  int top = row;
  int used = FHeights[static_cast<size_t>(top)];
  while (top > 0 && used + FHeights[static_cast<size_t>(top - 1)] <= client) {
    used += FHeights[static_cast<size_t>(--top)];
  }
  return top;
}

int TResultGrid::LastTopRow() const {
  return SmallestTopShowing(RowCount() - 1);
}

void TResultGrid::SetTopRow(int row) {
  row = std::clamp(row, 0, LastTopRow());
  if (row == FTopRow) return;
  FTopRow = row;
  if (FEditor) EndEdit();
  UpdateScrollBar();
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TResultGrid::UpdateScrollBar() {
  const int lastTop = LastTopRow();
  FTopRow = std::min(FTopRow, lastTop);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = RowCount() - 1;
  // The bar disappears exactly when every row fits.
  info.nPage = static_cast<UINT>(RowCount() - lastTop);
  info.nPos = FTopRow;
  // Showing or hiding the bar lays the window out again: only when something changed.
  if (info.nMax == FScrollShown.nMax && info.nPage == FScrollShown.nPage &&
      info.nPos == FScrollShown.nPos)
    return;
  FScrollShown = info;
  // Drawn with the next paint rather than at once, so that keys typed before it share
  // one. A bar that appears or goes would have the frame drawn at once, which takes
  // Wine 4 ms: drawing is off while such a bar is set, and the client width it took or
  // gave back reaches the columns once drawing is on again.
  const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
  const bool barWillShow = info.nPage <= static_cast<UINT>(info.nMax - info.nMin);
  const bool drawingOff = (style & WS_VISIBLE) && barWillShow != ((style & WS_VSCROLL) != 0);
  if (drawingOff) SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
  SetScrollInfo(FHandle, SB_VERT, &info, FALSE);
  if (drawingOff) {
    SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
    ApplyColumnRule();
  }
  RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

RECT TResultGrid::CellRect(int column, int row) const {
  int y = 0;
  for (int r = FTopRow; r < row; ++r) y += FHeights[static_cast<size_t>(r)];
  const int left = column == 0 ? 0 : FColWidths[0] + kGridLineWidth;
  return {left, y, left + FColWidths[column], y + FHeights[static_cast<size_t>(row)]};
}

int TResultGrid::RowAt(int y) const {
  int bottom = 0;
  for (int r = FTopRow; r < RowCount(); ++r) {
    bottom += FHeights[static_cast<size_t>(r)];
    if (y < bottom) return r;
  }
  return -1;
}

void TResultGrid::MoveCurrent(int column, int row) {
  column = std::clamp(column, 0, 1);
  row = std::clamp(row, 0, RowCount() - 1);
  if (row != FCurrentRow) {
    EndEdit();
    const int left = FCurrentRow;
    FCurrentRow = row;
    FCurrentColumn = column;
    LeaveRow(left);
    if (GetFocus() == FHandle) RaiseEvent(EVENT_OBJECT_FOCUS, ChildIdOfItem(FCurrentRow));
  } else if (column != FCurrentColumn) {
    EndEdit();
    FCurrentColumn = column;
  }
  // Into view: above the top it becomes the top row; below the last complete row the
  // top row becomes the smallest that shows it completely.
  if (FCurrentRow < FTopRow) {
    SetTopRow(FCurrentRow);
  } else if (SmallestTopShowing(FCurrentRow) > FTopRow) {
    ScrollToShowAtBottom(FCurrentRow);
  }
}

void TResultGrid::ScrollToShowAtBottom(int row) {
  // Rows that were never painted count at the default height. Painting measures the
  // rows that come into view, so place, paint, and place again until the placement
  // holds with the measured heights; each pass measures at least one more row.
  constexpr int kMaxPasses = 16;
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    SetTopRow(SmallestTopShowing(row));
    UpdateWindow(FHandle);
    if (SmallestTopShowing(row) == FTopRow) return;
  }
}

void TResultGrid::Paint() {
  {
    TBufferedPaint paint(FHandle);
    HDC dc = paint.Surface();
    const RECT& client = paint.Client();
    SelectObject(dc, FCellFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    int y = 0;
    for (int row = FTopRow; row < RowCount() && y < client.bottom; ++row) {
      int x = 0;
      for (int column = 0; column < 2; ++column) {
        const RECT cell{x, y, x + FColWidths[column], y + FHeights[static_cast<size_t>(row)]};
        if (cell.right > cell.left && OnDrawCell) OnDrawCell(dc, column, row, cell);
        x = cell.right + kGridLineWidth;
      }
      y += FHeights[static_cast<size_t>(row)];
    }
  }
  // Heights measured while painting reach the scroll bar once the paint is over.
  if (FScrollBarStale) {
    FScrollBarStale = false;
    UpdateScrollBar();
  }
}

void TResultGrid::OnVScroll(int code) {
  SetFocus(FHandle);
  switch (code) {
    case SB_TOP:
      SetTopRow(0);
      break;
    case SB_BOTTOM:
      ScrollToShowAtBottom(RowCount() - 1);
      break;
    case SB_LINEUP:
      SetTopRow(FTopRow - 1);
      break;
    case SB_LINEDOWN:
      SetTopRow(FTopRow + 1);
      break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: {
      const int shown = std::max(1, RowAt(ClientHeight() - 1) - FTopRow);
      SetTopRow(FTopRow + (code == SB_PAGEUP ? -shown : shown));
      break;
    }
    case SB_THUMBPOSITION: {
      // Only on release: the rows do not follow the box while it is dragged.
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(FHandle, SB_VERT, &info);
      SetTopRow(info.nTrackPos);
      break;
    }
  }
}

bool TResultGrid::MouseWheel(int delta) {
  FWheelTotal += delta;
  bool handled = false;
  while (FWheelTotal <= -WHEEL_DELTA || FWheelTotal >= WHEEL_DELTA) {
    handled = true;
    if (FWheelTotal < 0) {
      FWheelTotal += WHEEL_DELTA;
      if (OnMouseWheelDown) OnMouseWheelDown();
      if (FCurrentRow < RowCount() - 1) MoveCurrent(FCurrentColumn, FCurrentRow + 1);
    } else {
      FWheelTotal -= WHEEL_DELTA;
      if (OnMouseWheelUp) OnMouseWheelUp();
      if (FCurrentRow > 0) MoveCurrent(FCurrentColumn, FCurrentRow - 1);
    }
  }
  return handled;
}

String16 TResultGrid::ClipboardText(bool allRows) const {
  String16 text;
  for (int row = allRows ? 0 : FCurrentRow; row <= (allRows ? RowCount() - 1 : FCurrentRow);
       ++row) {
    if (!text.empty()) text += L"\r\n";
    text += Cell(0, row) + L"\t" + Cell(1, row);
  }
  return text;
}

void TResultGrid::CopyToClipboard(bool allRows) const {
  const String16 text = ClipboardText(allRows);
  if (!OpenClipboard(FHandle)) return;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    // The clipboard owns the memory once it takes it.
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

void TResultGrid::OnKeyDown(WPARAM key) {
  if (key == 'C' && GetKeyState(VK_CONTROL) < 0) {
    // Ctrl+C the current row, Ctrl+Shift+C all rows: "headword<TAB>text", a row a line.
    CopyToClipboard(GetKeyState(VK_SHIFT) < 0);
    return;
  }
  const int page = std::max(1, RowAt(ClientHeight() - 1) - FTopRow);
  switch (key) {
    case VK_UP:
      MoveCurrent(FCurrentColumn, FCurrentRow - 1);
      break;
    case VK_DOWN:
      MoveCurrent(FCurrentColumn, FCurrentRow + 1);
      break;
    case VK_LEFT:
      MoveCurrent(FCurrentColumn - 1, FCurrentRow);
      break;
    case VK_RIGHT:
      MoveCurrent(FCurrentColumn + 1, FCurrentRow);
      break;
    case VK_PRIOR:
      MoveCurrent(FCurrentColumn, FCurrentRow - page);
      break;
    case VK_NEXT:
      MoveCurrent(FCurrentColumn, FCurrentRow + page);
      break;
    case VK_HOME:
      MoveCurrent(FCurrentColumn, 0);
      break;
    case VK_END:
      MoveCurrent(FCurrentColumn, RowCount() - 1);
      break;
    case VK_F2:
    case VK_RETURN:
      BeginEdit(true);
      break;
  }
}

void TResultGrid::SetCell(int column, int row, const String16& text) {
  // The blank row of an empty list becomes a real row with its first text.
  if (FRows.empty()) FRows.emplace_back();
  const String16 key = column == 0 ? text : Cell(0, row);
  const String16 value = column == 1 ? text : Cell(1, row);
  FRows[static_cast<size_t>(row)] = key + L"=" + value;
  RaiseEvent(EVENT_OBJECT_NAMECHANGE, ChildIdOfItem(row));
}

void TResultGrid::LeaveRow(int row) {
  // A row whose key and value were both emptied goes when the current cell leaves it.
  if (row < 0 || static_cast<size_t>(row) >= FRows.size() ||
      FRows[static_cast<size_t>(row)] != L"=")
    return;
  FRows.erase(static_cast<size_t>(row));
  if (FHeights.size() > 1)
    FHeights.erase(FHeights.begin() + std::min<size_t>(row, FHeights.size() - 1));
  if (FCurrentRow > row) --FCurrentRow;
  FCurrentRow = std::min(FCurrentRow, RowCount() - 1);
  UpdateScrollBar();
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TResultGrid::BeginEdit(bool keepText) {
  if (FEditor) return;
  RECT cell = CellRect(FCurrentColumn, FCurrentRow);
  if (cell.right <= cell.left) return;
  FEditor = CreateWindowExW(0, WC_EDITW, keepText ? Cell(FCurrentColumn, FCurrentRow).c_str() : L"",
                            WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, cell.left + 2, cell.top,
                            cell.right - cell.left - 2, cell.bottom - cell.top, FHandle, nullptr,
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(FHandle, GWLP_HINSTANCE)),
                            nullptr);
  SendMessageW(FEditor, WM_SETFONT, reinterpret_cast<WPARAM>(CellFont(FCurrentColumn == 0)), FALSE);
  SetWindowSubclass(FEditor, EditorProc, kEditorSubclass, reinterpret_cast<DWORD_PTR>(this));
  SetFocus(FEditor);
  SendMessageW(FEditor, EM_SETSEL, 0, -1);
}

void TResultGrid::EndEdit() {
  if (!FEditor) return;
  HWND editor = FEditor;
  FEditor = nullptr;
  const bool hadFocus = GetFocus() == editor;
  DestroyWindow(editor);
  if (hadFocus) SetFocus(FHandle);
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TResultGrid::StoreEditorText() {
  if (!FEditor || FStoring) return;
  FStoring = true;
  const String16 text = WindowText(FEditor);
  if (FCurrentColumn == 0 && text.find(L'=') != String16::npos) {
    // Not stored: the editor goes back to what the row holds.
    const String16 stored = Cell(0, FCurrentRow);
    SetWindowTextW(FEditor, stored.c_str());
    SendMessageW(FEditor, EM_SETSEL, stored.size(), stored.size());
    FStoring = false;
    if (OnError) OnError(kKeyWithEquals);
    return;
  }
  SetCell(FCurrentColumn, FCurrentRow, text);
  FStoring = false;
}

LRESULT CALLBACK TResultGrid::EditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
  auto* grid = reinterpret_cast<TResultGrid*>(data);
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        grid->EndEdit();
        return 0;
      }
      if (wParam == VK_UP || wParam == VK_DOWN) {
        grid->EndEdit();
        grid->OnKeyDown(wParam);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\r' || wParam == 27) return 0;
      break;
    case WM_MOUSEWHEEL:
      return SendMessageW(GetParent(grid->FHandle), message, wParam, lParam);
    case WM_KILLFOCUS:
      if (grid->FEditor == editor)
        PostMessageW(grid->FHandle, WM_APP, 0, 0);  // end editing after the switch
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(editor, EditorProc, kEditorSubclass);
      break;
  }
  return DefSubclassProc(editor, message, wParam, lParam);
}

LRESULT TResultGrid::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      ApplyColumnRule();
      UpdateScrollBar();
      break;
    case WM_SHOWWINDOW:
      PostMessageW(FHandle, WM_APP + 1, 0, 0);  // apply the column rule once shown
      break;
    case WM_APP:
      if (FEditor && GetFocus() != FEditor) EndEdit();
      return 0;
    case WM_APP + 1:
      ApplyColumnRule();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      return SendMessageW(GetParent(FHandle), message, wParam, lParam);
    case WM_LBUTTONDOWN: {
      SetFocus(FHandle);
      const int x = static_cast<short>(LOWORD(lParam));
      const int row = RowAt(static_cast<short>(HIWORD(lParam)));
      if (row >= 0) MoveCurrent(x < FColWidths[0] ? 0 : 1, row);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      BeginEdit(true);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    case WM_CHAR:
      if (wParam >= L' ' && !FEditor) {
        BeginEdit(false);
        if (FEditor) SendMessageW(FEditor, WM_CHAR, wParam, lParam);
      }
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == FEditor && HIWORD(wParam) == EN_CHANGE)
        StoreEditorText();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      if (!FRows.empty()) RaiseEvent(EVENT_OBJECT_FOCUS, ChildIdOfItem(FCurrentRow));
      break;
    case WM_GETOBJECT:
      if (static_cast<LONG>(lParam) == OBJID_CLIENT)
        return FAccessible.Answer(FHandle, wParam, [this] { return AccessibleRows(); });
      break;
    case WM_DESTROY:
      FAccessible.Disconnect();
      break;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(RowsText().size());
    case WM_GETTEXT: {
      // The rows, one a line, for other programs such as screen readers.
      const String16 text = RowsText();
      if (wParam == 0) return 0;
      const size_t copied = std::min<size_t>(text.size(), wParam - 1);
      text.copy(reinterpret_cast<wchar_t*>(lParam), copied);
      reinterpret_cast<wchar_t*>(lParam)[copied] = L'\0';
      return static_cast<LRESULT>(copied);
    }
  }
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

}  // namespace parlivo
