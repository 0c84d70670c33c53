// Input as a user gives it: X events sent with xdotool to the virtual display that Wine
// draws on, so that Windows' own rules (the window under the pointer, capture, focus)
// decide where each event goes, not the test. Each call returns once xdotool is done
// and this thread has handled what arrived.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace parlivo::test {

// A point of a window's client area in screen coordinates, which are the display's.
POINT OnScreen(HWND window, int x, int y);
// The centre of a window on screen.
POINT CentreOf(HWND window);

void MouseMove(POINT at);
void MouseDown();
void MouseUp();
void Click(POINT at);
// Turns the wheel with the pointer at `at`: notches > 0 away from the user (X button 4),
// < 0 towards the user (X button 5).
void Wheel(POINT at, int notches);
// Presses and releases keys by their X names ("End", "ctrl+c") in the window that has
// the keyboard focus.
void Keys(const std::string& names);
// Keys pressed as a person types them, some 150 ms apart: xdotool lends a letter the X
// keyboard lacks (ö, ß) a key only for the moment it types it, and a busy Wine loses such
// a letter when it comes on the heels of the key before.
void KeysAtTypingSpeed(const std::string& names);
// Drags with the left button from one point to another in a few steps.
void Drag(POINT from, POINT to);

// Handles this thread's messages until done() holds or the time is up; says which.
bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds);

// Runs xdotool with the given arguments and waits for it, handling this thread's
// messages meanwhile.
void Xdotool(const std::string& arguments);

}  // namespace parlivo::test
