// The two-column result grid: rows held as "headword=text" strings, the headword
// column before the first "=", the text column after it.
#pragma once

#include <windows.h>

#include <vector>

#include "Text.h"

namespace parlivo {

class TResultGrid {
 public:
  static constexpr wchar_t kClassName[] = L"ParlivoResultGrid";
  static void Register(HINSTANCE instance);

  TResultGrid() = default;
  TResultGrid(const TResultGrid&) = delete;
  TResultGrid& operator=(const TResultGrid&) = delete;

  HWND Create(HWND parent, int id, int defaultValueWidth);
  HWND Handle() const { return FHandle; }

  int ColWidth(int column) const { return FColWidths[column]; }
  // Setting a width applies the column rule: the text column takes what is left.
  void SetColWidth(int column, int width);
  int ClientWidth() const;

  // The row list: an empty list shows as one blank row.
  void ClearRows();
  void AddRow(String16 row);
  size_t RowCount() const { return FRows.empty() ? 1 : FRows.size(); }
  const std::vector<String16>& Rows() const { return FRows; }

 private:
  template <class T>
  friend LRESULT CALLBACK ForwardToInstance(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // While the grid is shown, the text column is the client width less the headword
  // column less 2.
  void ApplyColumnRule();
  void Paint();

  HWND FHandle = nullptr;
  int FColWidths[2] = {0, 0};
  bool FApplyingRule = false;
  std::vector<String16> FRows;
};

}  // namespace parlivo
