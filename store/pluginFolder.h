// The plug-in's own module, the folder it was loaded from (plugin.ini, the release notes), the
// folders where it keeps what must survive a crash, and the tag of this running player.
#pragma once

#include <windows.h>

#include <cstddef>

// Set once at start-up from the descriptor the player filled in; read by everything that loads
// a resource or names a file beside the DLL.
void setPluginModule(HINSTANCE module);
HINSTANCE pluginModule();

// Fills path (pathBytes) with the full name of a file in the plug-in's own folder; false (and
// an empty path) when it cannot be formed within pathBytes.
bool pathBesideModule(const char* fileName, char* path, size_t pathBytes);

// The folders for the recovery copies and the plug-in's notes, in the order they are tried: the
// plug-in's own folder (beside plugin.ini), then the user's application-data folder
// (%APPDATA%\LumoMarker), which a standard user can write when the first is protected.
const int kDataFolderCount = 2;
// Fills folder (folderBytes, no closing separator) with data folder `which`; false when it has
// none or it does not fit. With create, the application-data folder is made when missing.
bool dataFolder(int which, bool create, char* folder, size_t folderBytes);
// folder + '\' + name into path (pathBytes); false when it does not fit.
bool joinPath(const char* folder, const char* name, char* path, size_t pathBytes);

// One character that tells this running player from others on the same folders: it ends the
// names of its temporary files.
void setPlayerTag(char tag);
char playerTag();
