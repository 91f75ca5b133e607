// A running player as the installer sees it: a top-level window of the player's main window
// class. Prints READY once the window exists, then keeps it until killed or until the given
// number of seconds (default 120) has passed, so that a failed test run leaves nothing behind.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char kPlayerClass[] = "Winamp v1.x";
const UINT_PTR kLifetimeTimer = 1;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kLifetimeTimer) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = argc > 1 ? atoi(argv[1]) : 120;
  if (seconds <= 0) seconds = 120;

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kPlayerClass;
  if (!RegisterClassA(&windowClass)) {
    fprintf(stderr, "cannot register the window class %s\n", kPlayerClass);
    return 1;
  }
  HWND window = CreateWindowExA(0, kPlayerClass, "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 275, 116,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window || FindWindowA(kPlayerClass, nullptr) != window) {
    fprintf(stderr, "cannot create a findable %s window\n", kPlayerClass);
    return 1;
  }
  SetTimer(window, kLifetimeTimer, (UINT)seconds * 1000, nullptr);
  printf("READY\n");
  fflush(stdout);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
