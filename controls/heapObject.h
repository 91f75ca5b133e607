// Creating and deleting the pages' small objects on the process heap, without the C++
// runtime's throwing allocator (which would pull exception support into the DLL).
#pragma once

#include <windows.h>

#include <new>
#include <utility>

// Null when memory is short; otherwise the object, to be released with deleteOnHeap.
template <class T, class... Args>
T* newOnHeap(Args&&... args) {
  void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(T));
  return memory ? new (memory) T(std::forward<Args>(args)...) : nullptr;
}

template <class T>
void deleteOnHeap(T* object) {
  if (!object) return;
  object->~T();
  HeapFree(GetProcessHeap(), 0, object);
}
