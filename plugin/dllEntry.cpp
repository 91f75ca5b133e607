// The DLL's entry point: does nothing and reports success; all work starts in init.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
