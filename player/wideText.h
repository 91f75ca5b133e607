// The stand-in player's text: UTF-8 in its model and its log, UTF-16 at the windows and the
// UTF-16 requests, the ANSI code page at the older requests. Conversions by the system.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring widen(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
  std::wstring wide((size_t)units, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], units);
  return wide;
}

inline std::string narrow(const wchar_t* wide, int units = -1) {
  if (!wide || units == 0) return std::string();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, units, nullptr, 0, nullptr, nullptr);
  std::string utf8((size_t)bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, units, &utf8[0], bytes, nullptr, nullptr);
  if (units < 0 && !utf8.empty()) utf8.resize(utf8.size() - 1);  // the NUL
  return utf8;
}

inline std::string narrow(const std::wstring& wide) { return narrow(wide.c_str(), (int)wide.size()); }

// UTF-8 into the ANSI code page: a character it lacks becomes '?', as an older player's paths.
inline std::string toAnsi(const std::string& utf8) {
  std::wstring wide = widen(utf8);
  if (wide.empty()) return std::string();
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
  std::string ansi((size_t)bytes, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), &ansi[0], bytes, nullptr, nullptr);
  return ansi;
}

inline std::string fromAnsi(const char* ansi) {
  if (!ansi || !*ansi) return std::string();
  int units = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
  std::wstring wide((size_t)units, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi, -1, &wide[0], units);
  wide.resize(wide.size() - 1);
  return narrow(wide);
}

// A window's text as UTF-8.
inline std::string windowTextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text((size_t)length + 1, L'\0');
  int got = GetWindowTextW(window, &text[0], length + 1);
  text.resize(got > 0 ? (size_t)got : 0);
  return narrow(text);
}
