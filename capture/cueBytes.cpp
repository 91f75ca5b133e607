// Cue file bytes for each encoding.
#include "cueBytes.h"

#include "../base/platformText.h"
#include "../base/text.h"
#include "../controls/modalGuard.h"
#include "../store/settings.h"

namespace {

const char kCaption[] = "LUMO";
const char kLacking[] = "The ANSI code page of this Windows lacks these characters of the cue sheet:\r\n\r\n";
const char kMore[] = " ...";
const char kAskUtf8[] = "\r\n\r\nSave it as UTF-8 instead?";
const int kCharactersListed = 10;
const size_t kListBytes = kCharactersListed * 5 + 8;
const size_t kSpare = 2;  // the closing line break
// The ANSI code page takes at most two bytes a character, and a character at least one UTF-8 byte.
const size_t kAnsiBytesPerByte = 2;

bool composeUtf8(const char* text, size_t length, Utf8Form form, CueBytes* out) {
  size_t room = length + kUtf8BomBytes + kMarkerLineBytes + 1 + kSpare;
  out->bytes = (char*)GlobalAlloc(GMEM_FIXED, room);
  if (!out->bytes) return false;
  out->length = utf8FileBytes(text, length, form, out->bytes, room);
  out->encoding = kEncodingUtf8;
  out->utf8Form = form;
  return true;
}

// Whether the user takes UTF-8 for a sheet that the ANSI code page cannot hold.
bool takeUtf8Instead(const char* text, size_t length, HWND owner) {
  char list[kListBytes];
  bool more = false;
  unmappableCharacters(text, length, list, sizeof list, kCharactersListed, &more);
  char message[sizeof kLacking + kListBytes + sizeof kMore + sizeof kAskUtf8];
  copyText(message, sizeof message, kLacking);
  appendTo(message, sizeof message, list);
  if (more) appendTo(message, sizeof message, kMore);
  appendTo(message, sizeof message, kAskUtf8);
  return guardedMessageBox(owner, message, kCaption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

}  // namespace

bool composeCueBytes(const char* text, size_t length, int encoding, const Utf8Form* utf8Form, HWND owner,
                     CueBytes* out) {
  *out = CueBytes{nullptr, 0, encoding, Utf8Form{false, false}};
  if (encoding == kEncodingUtf8) return composeUtf8(text, length, utf8Form ? *utf8Form : Utf8Form{false, false}, out);
  if (encoding == kEncodingAnsi) {
    size_t room = length * kAnsiBytesPerByte + 1 + kSpare;
    out->bytes = (char*)GlobalAlloc(GMEM_FIXED, room);
    if (!out->bytes) return false;
    bool lossless = false;
    size_t written = utf8ToAnsi(text, length, out->bytes, room, &lossless);
    if (written != (size_t)-1 && lossless) {
      out->length = written;
      return true;
    }
    freeCueBytes(out);
    if (!takeUtf8Instead(text, length, owner)) return false;
  }
  return composeUtf8(text, length, automaticForm(text, length), out);
}

void freeCueBytes(CueBytes* bytes) {
  if (bytes->bytes) GlobalFree(bytes->bytes);
  bytes->bytes = nullptr;
  bytes->length = 0;
}
