// Visual-style calls that work, or quietly do nothing, with or without uxtheme.dll.
#include "theme.h"

namespace {

const char kThemeLibrary[] = "uxtheme.dll";
const long kMissing = -1;

typedef HRESULT(WINAPI* EnableThemeDialogTextureProc)(HWND, DWORD);
typedef BOOL(WINAPI* IsThemeDialogTextureEnabledProc)(HWND);
typedef HRESULT(WINAPI* DrawThemeParentBackgroundProc)(HWND, HDC, const RECT*);

}  // namespace

long enableThemeDialogTexture(HWND window, DWORD flags) {
  HMODULE library = LoadLibraryA(kThemeLibrary);
  if (!library) return kMissing;
  long result = kMissing;
  EnableThemeDialogTextureProc call =
      (EnableThemeDialogTextureProc)(void*)GetProcAddress(library, "EnableThemeDialogTexture");
  if (call) result = call(window, flags);
  FreeLibrary(library);
  return result;
}

bool isThemeDialogTextureEnabled(HWND window) {
  HMODULE library = LoadLibraryA(kThemeLibrary);
  if (!library) return false;
  bool result = false;
  IsThemeDialogTextureEnabledProc call =
      (IsThemeDialogTextureEnabledProc)(void*)GetProcAddress(library, "IsThemeDialogTextureEnabled");
  if (call) result = call(window) != FALSE;
  FreeLibrary(library);
  return result;
}

long drawParentBackground(HWND window, HDC dc, const RECT* rect) {
  HMODULE library = LoadLibraryA(kThemeLibrary);
  if (!library) return kMissing;
  long result = kMissing;
  DrawThemeParentBackgroundProc call =
      (DrawThemeParentBackgroundProc)(void*)GetProcAddress(library, "DrawThemeParentBackground");
  if (call) result = call(window, dc, rect);
  FreeLibrary(library);
  return result;
}
