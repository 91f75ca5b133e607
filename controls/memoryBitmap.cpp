// The back buffer: one DIB section in one memory DC, replaced when the size changes.
#include "memoryBitmap.h"

namespace {

void releaseBitmapOnly(MemoryBitmap* image) {
  if (image->bitmap) {
    SelectObject(image->dc, image->previousBitmap);
    DeleteObject(image->bitmap);
  }
  image->bitmap = nullptr;
  image->previousBitmap = nullptr;
  image->pixels = nullptr;
  image->width = image->height = 0;
}

}  // namespace

bool fitMemoryBitmap(MemoryBitmap* image, HDC like, int width, int height, bool* madeAnew) {
  *madeAnew = false;
  if (image->bitmap && image->width == width && image->height == height) return true;
  releaseBitmapOnly(image);
  if (width <= 0 || height <= 0) return false;
  if (!image->dc) image->dc = CreateCompatibleDC(like);
  if (!image->dc) return false;
  BITMAPINFO info;
  ZeroMemory(&info, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  image->bitmap = CreateDIBSection(like, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!image->bitmap) return false;
  image->previousBitmap = (HBITMAP)SelectObject(image->dc, image->bitmap);
  image->pixels = (uint32_t*)bits;
  image->width = width;
  image->height = height;
  *madeAnew = true;
  return true;
}

void releaseMemoryBitmap(MemoryBitmap* image) {
  releaseBitmapOnly(image);
  if (image->dc) DeleteDC(image->dc);
  image->dc = nullptr;
}
