// The plug-in's own module and the folder it was loaded from, where plugin.ini, the release
// notes and the recovery copy of the sheet live.
#pragma once

#include <windows.h>

// Set once at start-up from the descriptor the player filled in; read by everything that loads
// a resource or names a file beside the DLL.
void setPluginModule(HINSTANCE module);
HINSTANCE pluginModule();

// Fills path (kPathBytes) with the full name of a file in the plug-in's own folder; false
// (and an empty path) when it cannot be formed within kPathBytes.
bool pathBesideModule(const char* fileName, char* path);
