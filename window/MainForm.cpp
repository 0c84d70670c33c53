#include "MainForm.h"

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>

#include "ErrorBox.h"
#include "Languages.h"
#include "Resources.h"
#include "WindowProc.h"

namespace parlivo {

namespace {

enum TControlId { idTopPanel = 100, idToolBar, idEditWord, idVList, idStatusBar };

constexpr int kClientWidth = 366;
constexpr int kClientHeight = 463;
constexpr int kMinimumWidth = 230;
constexpr int kMinimumHeight = 150;
constexpr int kSnapReach = 10;
constexpr int kTopPanelHeight = 50;
constexpr int kToolBarHeight = 46;
constexpr int kEditWordHeight = 32;
constexpr int kStatusBarHeight = 20;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

HFONT MakeFont(int pixelHeight, int weight) {
  return CreateFontW(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

void RegisterClasses(HINSTANCE instance) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ForwardToInstance<TMainForm>;
  windowClass.hInstance = instance;
  windowClass.hIcon =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PARLIVO), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PARLIVO),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = TMainForm::kClassName;
  RegisterClassExW(&windowClass);
  TBanner::Register(instance);
  TResultGrid::Register(instance);
}

SIZE OuterSize(int clientWidth, int clientHeight) {
  RECT rect{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

String16 ProgramFolderOf(const String16& programPath) {
  const size_t cut = programPath.find_last_of(L"\\:");
  return cut == String16::npos ? String16() : programPath.substr(0, cut + 1);
}

String16 ProgramFolder() {
  String16 path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return ProgramFolderOf(path);
}

TMainForm::TMainForm(const String16& programFolder)
    : FDpi(ScreenDpi()), FProgramFolder(programFolder) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClasses(instance);
  FFont = MakeFont(MulDiv(8, FDpi, 72), FW_NORMAL);
  FEditFont = MakeFont(Scale(19), FW_BOLD);
  const SIZE outer = OuterSize(Scale(kClientWidth), Scale(kClientHeight));
  const int left = (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
  CreateWindowExW(kExStyle, kClassName, kApplicationTitle, kStyle, left, top, outer.cx, outer.cy,
                  nullptr, nullptr, instance, this);
  LayOut();
  // The last step of creating the window; an error ends FormCreate, not the window.
  RunHandler(FHandle, [this] { FormCreate(); });
}

TMainForm::~TMainForm() {
  if (FHandle) DestroyWindow(FHandle);
  DeleteObject(FFont);
  DeleteObject(FEditFont);
}

void TMainForm::CreateControls() {
  FTopPanel.Create(FHandle, idTopPanel);
  FToolBar.Create(FHandle, idToolBar, FDpi);
  SendMessageW(FToolBar.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(FHandle, GWLP_HINSTANCE));
  FEditWord = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0,
                              FHandle, reinterpret_cast<HMENU>(idEditWord), instance, nullptr);
  SendMessageW(FEditWord, WM_SETFONT, reinterpret_cast<WPARAM>(FEditFont), FALSE);
  SendMessageW(FEditWord, EM_SETLIMITTEXT, 0, 0);
  FVList.Create(FHandle, idVList, Scale(kClientWidth) - 6);
  SendMessageW(FVList.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
  FStatusBar =
      CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                      WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE, 0,
                      0, 0, 0, FHandle, reinterpret_cast<HMENU>(idStatusBar), instance, nullptr);
  SendMessageW(FStatusBar, SB_SIMPLE, TRUE, 0);
}

void TMainForm::LayOut() {
  if (!FStatusBar) return;
  RECT client;
  GetClientRect(FHandle, &client);
  const int width = client.right;
  const int height = client.bottom;
  const int top = Scale(kTopPanelHeight + kToolBarHeight + kEditWordHeight);
  const int status = Scale(kStatusBarHeight);
  MoveWindow(FTopPanel.Handle(), 0, 0, width, Scale(kTopPanelHeight), TRUE);
  MoveWindow(FToolBar.Handle(), 0, Scale(kTopPanelHeight), width, Scale(kToolBarHeight), TRUE);
  MoveWindow(FEditWord, 0, Scale(kTopPanelHeight + kToolBarHeight), width, Scale(kEditWordHeight),
             TRUE);
  MoveWindow(FVList.Handle(), 0, top, width, std::max(0, height - top - status), TRUE);
  MoveWindow(FStatusBar, 0, height - status, width, status, TRUE);
}

void TMainForm::MinimumSize(MINMAXINFO& info) const {
  // No strip may become narrower than the banner's 366 pixels.
  const SIZE outer = OuterSize(Scale(kClientWidth), 0);
  info.ptMinTrackSize.x = std::max<LONG>(Scale(kMinimumWidth), outer.cx);
  info.ptMinTrackSize.y = Scale(kMinimumHeight);
}

void TMainForm::SnapToWorkArea(WINDOWPOS& position) const {
  if ((position.flags & SWP_NOMOVE) || IsIconic(FHandle) || IsZoomed(FHandle)) return;
  RECT current;
  GetWindowRect(FHandle, &current);
  const int width = current.right - current.left;
  const int height = current.bottom - current.top;
  if (!(position.flags & SWP_NOSIZE) && (position.cx != width || position.cy != height)) return;
  const RECT moved{position.x, position.y, position.x + width, position.y + height};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromRect(&moved, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& area = monitor.rcWork;
  if (std::abs(position.x - area.left) < kSnapReach) position.x = area.left;
  if (std::abs(position.y - area.top) < kSnapReach) position.y = area.top;
  if (std::abs(position.x + width - area.right) < kSnapReach) position.x = area.right - width;
  if (std::abs(position.y + height - area.bottom) < kSnapReach) position.y = area.bottom - height;
}

void TMainForm::Show() {
  ShowWindow(FHandle, SW_SHOWNORMAL);
}

bool TMainForm::PreTranslateMessage(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  const HWND focus = GetFocus();
  if (focus == FEditWord) {
    SetFocus(FVList.Handle());
    return true;
  }
  if (focus == FVList.Handle() || (focus && IsChild(FVList.Handle(), focus))) {
    SetFocus(FEditWord);
    return true;
  }
  return false;
}

void TMainForm::FormCreate() {
  FFilesPath = FProgramFolder + L"Files\\";
  FTranslator = std::make_unique<TTranslator>();
  FTranslator->SetIndexFileName(FFilesPath + String16(IndexFileName));
}

void TMainForm::FormShow() {
  SetFocus(FEditWord);
}

void TMainForm::FormClose() {}

void TMainForm::FormDestroy() {
  FTranslator.reset();
}

void TMainForm::TopPanelClick() {
  ShellExecuteW(FHandle, L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT TMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      RunHandler(FHandle, [this] { CreateControls(); });
      return 0;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_GETMINMAXINFO:
      MinimumSize(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_WINDOWPOSCHANGING:
      SnapToWorkArea(*reinterpret_cast<WINDOWPOS*>(lParam));
      return 0;
    case WM_SHOWWINDOW:
      if (wParam && !FShown) {
        FShown = true;
        RunHandler(FHandle, [this] { FormShow(); });
      }
      break;
    case WM_ACTIVATE:
      // The control that had the keyboard focus gets it back with the window.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(FHandle, focus)) FLastFocus = focus;
      } else if (!HIWORD(wParam)) {
        SetFocus(FLastFocus && IsWindow(FLastFocus) ? FLastFocus : FEditWord);
      }
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == idTopPanel && HIWORD(wParam) == BN_CLICKED) {
        RunHandler(FHandle, [this] { TopPanelClick(); });
        return 0;
      }
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (FToolBar.OnNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_CLOSE:
      // Closing the main window ends the program: the loop ends, then the window goes.
      RunHandler(FHandle, [this] { FormClose(); });
      PostQuitMessage(0);
      return 0;
    case WM_ENDSESSION:
      // Windows is ending: nothing is saved and the mutex is left to the system.
      if (wParam) {
        DestroyWindow(FHandle);
        ExitProcess(0);
      }
      return 0;
    case WM_DESTROY:
      RunHandler(FHandle, [this] { FormDestroy(); });
      return 0;
  }
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

}  // namespace parlivo
