// The two-column result grid: rows held as "headword=text" strings, the headword
// column showing the part before the first "=", the text column the rest. Every row
// has its own height, set while its cells are painted; the grid scrolls by whole rows
// and paints no cell itself: OnDrawCell paints each one.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "ItemsAccessible.h"
#include "RowList.h"
#include "Text.h"

namespace parlivo {

class TResultGrid;

// BeginUpdate and EndUpdate for a scope, errors included.
class TGridUpdate {
 public:
  explicit TGridUpdate(TResultGrid& grid);
  ~TGridUpdate();
  TGridUpdate(const TGridUpdate&) = delete;
  TGridUpdate& operator=(const TGridUpdate&) = delete;

 private:
  TResultGrid& FGrid;
};

class TResultGrid {
 public:
  static constexpr wchar_t kClassName[] = L"ParlivoResultGrid";
  static constexpr int kDefaultRowHeight = 20;  // at 96 dpi
  static constexpr int kGridLineWidth = 0;
  static void Register(HINSTANCE instance);

  // Paints one cell into dc; rect is the cell in client coordinates.
  std::function<void(HDC dc, int column, int row, const RECT& rect)> OnDrawCell;
  // One notch of the wheel towards the user (down) or away from the user (up), before
  // the current cell steps with it.
  std::function<void()> OnMouseWheelDown;
  std::function<void()> OnMouseWheelUp;
  // Shows an error the way the window framework does.
  std::function<void(const String16& message)> OnError;

  TResultGrid() = default;
  ~TResultGrid();
  TResultGrid(const TResultGrid&) = delete;
  TResultGrid& operator=(const TResultGrid&) = delete;

  HWND Create(HWND parent, int id, int defaultValueWidth);
  HWND Handle() const { return FHandle; }
  // The fonts cells are painted in (the caller's, which outlive the grid's window) and
  // the height of a row not yet painted, for the window's dpi. Every row is measured
  // anew as it is painted; editing ends.
  void SetScale(HFONT cellFont, HFONT boldCellFont, int defaultRowHeight);

  int ColWidth(int column) const { return FColWidths[column]; }
  // Setting a width applies the column rule: the text column takes what is left.
  void SetColWidth(int column, int width);
  int ClientWidth() const;
  int ClientHeight() const;

  // The row list; an empty list shows as one blank row.
  void ClearRows();
  // Adds the row "headword=text".
  void AddRow(StringView16 headword, StringView16 text);
  // Between the two, added rows update the scroll bar and the screen once, at the end.
  void BeginUpdate() { ++FUpdating; }
  void EndUpdate();
  int RowCount() const { return FRows.empty() ? 1 : static_cast<int>(FRows.size()); }
  std::vector<String16> Rows() const { return FRows.ToVector(); }
  String16 Cell(int column, int row) const;
  // The key column's text of a row (what stands before its first "="), without a copy.
  StringView16 Key(int row) const;
  // The rows one a line, as the grid's window text gives them.
  String16 RowsText() const;
  // The current row, or all rows, as "headword<TAB>text" lines for the clipboard.
  String16 ClipboardText(bool allRows) const;
  void CopyToClipboard(bool allRows) const;

  int RowHeight(int row) const { return FHeights[static_cast<size_t>(row)]; }
  // A new height lays the grid out again and repaints it; the same height does nothing.
  void SetRowHeight(int row, int height);

  // The grid's own share of a wheel turn, added to its running total: true when it
  // completed at least one notch. The grid's window passes wheel messages to its parent,
  // which decides where they go.
  bool MouseWheel(int delta);

  int TopRow() const { return FTopRow; }
  int CurrentRow() const { return FCurrentRow; }
  int CurrentColumn() const { return FCurrentColumn; }
  // The smallest top row with which the last row is still completely visible.
  int LastTopRow() const;
  // The smallest top row with which row is completely visible.
  int SmallestTopShowing(int row) const;
  // Moves the current cell and brings it into view.
  void MoveCurrent(int column, int row);

  // The fonts cells are painted in: the drawing surface's own, regular or bold.
  HFONT CellFont(bool bold) const { return bold ? FBoldCellFont : FCellFont; }
  bool IsEditing() const { return FEditor != nullptr; }
  HWND Editor() const { return FEditor; }
  void BeginEdit(bool keepText);
  void EndEdit();

 private:
  template <class T>
  friend LRESULT CALLBACK ForwardToInstance(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditorProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data);

  // While the grid is shown, the text column is the client width less the headword
  // column less 2.
  void ApplyColumnRule();
  void Paint();
  void SetTopRow(int row);
  // Makes row the last completely visible row, with the heights its paint measures.
  void ScrollToShowAtBottom(int row);
  void UpdateScrollBar();
  void OnVScroll(int code);
  void OnKeyDown(WPARAM key);
  // A row's key and value: what stands before its first "=" and after it; a row without
  // one is all value.
  std::pair<StringView16, StringView16> KeyAndValue(int row) const;
  RECT CellRect(int column, int row) const;
  int RowAt(int y) const;
  void StoreEditorText();
  void SetCell(int column, int row, const String16& text);
  void LeaveRow(int row);

  // What screen readers are given; the rows change it as they tell them.
  TItemsSource AccessibleRows();
  void RaiseEvent(DWORD event, long child) const;
  RECT RowRect(int row) const;

  HWND FHandle = nullptr;
  TAccessibleHandle FAccessible;
  HFONT FCellFont = nullptr;  // not owned
  HFONT FBoldCellFont = nullptr;
  int FDefaultRowHeight = kDefaultRowHeight;
  int FColWidths[2] = {0, 0};
  bool FApplyingRule = false;
  TRowList FRows;
  std::vector<int> FHeights{kDefaultRowHeight};  // one per shown row, the blank one too
  int FTopRow = 0;
  int FCurrentRow = 0;
  int FCurrentColumn = 0;
  int FWheelTotal = 0;
  HWND FEditor = nullptr;
  bool FStoring = false;
  int FUpdating = 0;
  bool FScrollBarStale = false;  // heights changed while painting
  SCROLLINFO FScrollShown{};     // what the scroll bar was last given
};

}  // namespace parlivo
