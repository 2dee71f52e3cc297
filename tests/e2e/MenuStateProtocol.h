#pragma once

// The questions the probe asks the menu hook inside the program, and their answers. Both are
// registered messages, so that they cannot collide with the program's own.
//
// Question: posted to the program's main window; wParam = menu command id, lParam = the probe's
// thread id. Answer: posted to that thread; wParam = the command id, lParam = GetMenuState of the
// item in the window's menu bar (0xFFFFFFFF when there is no such item).

constexpr wchar_t MENU_STATE_QUESTION[] = L"QM7xx.e2e.MenuStateQuestion";
constexpr wchar_t MENU_STATE_ANSWER[] = L"QM7xx.e2e.MenuStateAnswer";
constexpr char MENU_HOOK_PROC[] = "MenuStateGetMessageHook";
