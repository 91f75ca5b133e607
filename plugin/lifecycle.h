// Start-up and shutdown of the plug-in: the descriptor's three entries and the hot-key timer.
#pragma once

#include "../host/hostContract.h"

// The descriptor handed to the player; the player writes its window and our module into it.
PluginDescriptor* pluginDescriptor();

int __cdecl pluginInit(void);
void __cdecl pluginConfig(void);
void __cdecl pluginQuit(void);

// Timer 888's procedure: makes the windows if they are not there yet, registers the two hot-key
// actions once, then kills the timer.
void CALLBACK registerHotkey(HWND window, UINT message, UINT_PTR timerId, DWORD time);

const UINT_PTR HOTKEY_TIMER_ID = 888;
const UINT HOTKEY_TIMER_DELAY_MS = 500;
// The windows are made by a timer once the player's loop runs.
const UINT WINDOWS_TIMER_DELAY_MS = USER_TIMER_MINIMUM;
