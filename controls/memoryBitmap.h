// A 32-bit top-down bitmap whose pixels the code writes directly, selected into a memory DC and
// made again only when the size asked for changes: the back buffer of a flicker-free control.
#pragma once

#include <windows.h>

#include <cstdint>

struct MemoryBitmap {
  HDC dc;  // null until the first fit
  HBITMAP bitmap;
  HBITMAP previousBitmap;
  uint32_t* pixels;  // width * height values 0x00RRGGBB, rows top down; null without a bitmap
  int width;
  int height;
};

// Makes image width x height (both above 0), compatible with like; true when it was made anew
// (its pixels hold nothing yet) or already had that size, false when none can be had.
bool fitMemoryBitmap(MemoryBitmap* image, HDC like, int width, int height, bool* madeAnew);

// Deletes the bitmap and the memory DC; the struct is then as zero-initialised.
void releaseMemoryBitmap(MemoryBitmap* image);
