#include "UserInput.h"

#include <filesystem>
#include <stdexcept>

#include "WindowTestSupport.h"

namespace parlivo::test {

namespace {

// Handles this thread's messages for a while: X events reach Wine's driver when the
// thread looks at its queue, and what they cause may post more.
void HandleArrivals(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    PumpMessages();
  }
}

std::string Number(long value) {
  return std::to_string(value);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (!done()) {
    if (static_cast<LONG>(end - GetTickCount()) < 0) return false;
    HandleArrivals(10);
  }
  return true;
}

POINT OnScreen(HWND window, int x, int y) {
  POINT at{x, y};
  ClientToScreen(window, &at);
  return at;
}

POINT CentreOf(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return OnScreen(window, client.right / 2, client.bottom / 2);
}

void Xdotool(const std::string& arguments) {
  // Wine starts the Linux program but gives no handle to wait on: it says it is done
  // by making a file.
  static int calls = 0;
  const std::string done = "/tmp/parlivo-xdotool-" +
                           Number(static_cast<long>(GetCurrentProcessId())) + "-" + Number(++calls);
  const std::filesystem::path doneOnWindows = "Z:" + done;
  std::string command = "/bin/sh -c \"xdotool " + arguments + "; touch " + done + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    throw std::runtime_error("cannot start xdotool");
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const DWORD limit = GetTickCount() + 10000;
  while (!std::filesystem::exists(doneOnWindows)) {
    if (static_cast<LONG>(limit - GetTickCount()) < 0) throw std::runtime_error("xdotool hangs");
    HandleArrivals(5);
  }
  std::filesystem::remove(doneOnWindows);
  HandleArrivals(60);
}

void MouseMove(POINT at) {
  Xdotool("mousemove " + Number(at.x) + " " + Number(at.y));
}

void MouseDown() {
  Xdotool("mousedown 1");
}

void MouseUp() {
  Xdotool("mouseup 1");
}

void Click(POINT at) {
  MouseMove(at);
  MouseDown();
  MouseUp();
}

void Wheel(POINT at, int notches) {
  MouseMove(at);
  const int button = notches > 0 ? 4 : 5;
  for (int i = 0; i < std::abs(notches); ++i) Xdotool("click " + Number(button));
}

void Keys(const std::string& names) {
  Xdotool("key " + names);
}

void KeysAtTypingSpeed(const std::string& names) {
  Xdotool("key --delay 150 " + names);
}

void Drag(POINT from, POINT to) {
  // One xdotool run for the whole drag: a drag on a frame or size grip runs Windows'
  // sizing loop inside this thread's message handling until the button comes up.
  std::string steps = "mousemove " + Number(from.x) + " " + Number(from.y) + " mousedown 1";
  constexpr int kSteps = 4;
  for (int step = 1; step <= kSteps; ++step) {
    steps += " sleep 0.05 mousemove " + Number(from.x + (to.x - from.x) * step / kSteps) + " " +
             Number(from.y + (to.y - from.y) * step / kSteps);
  }
  Xdotool(steps + " sleep 0.05 mouseup 1");
}

}  // namespace parlivo::test
