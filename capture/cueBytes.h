// A cue file's bytes and the editor's text (UTF-8, lines ending in CR LF), each way, in every form a
// cue file comes in: UTF-8 with or without a BOM and the marker line, a code page, UTF-16 with its
// BOM. Reading says which lines would not come back as they were; writing never gives a '?' for
// a character a code page lacks, nor an empty file for a text that is not empty.
#pragma once

#include <cstddef>

#include "../sheet/cueEncoding.h"

const int kChangedLinesKept = 10;

// A cue file read for the editor.
struct DecodedCue {
  char* text;     // UTF-8 with CR LF line ends, terminated; global memory (freeDecodedCue)
  size_t length;
  CueForm form;   // how the file is written, so that Save writes it back alike
  bool ascii;     // UTF-8 without a BOM holding only ASCII: any encoding writes it alike
  int changedLines;                // lines that saving in form would not give back byte for byte
  int changed[kChangedLinesKept];  // the first of them (from 1, lines of text)
};

enum DecodeResult { kDecoded, kDecodeNul, kDecodeFailed };

// Reads a cue file's bytes. A BOM says UTF-16 or UTF-8; otherwise the text is read in codePage,
// or, when codePage is 0, as UTF-8 when it is valid UTF-8, else in the ANSI code page. Line ends
// (CR LF, LF or CR) become CR LF, which the editor shows, and do not count as changes.
// kDecodeNul for a NUL character, which no text file holds; kDecodeFailed when memory is short or
// the system converts nothing.
DecodeResult decodeCueFile(const char* bytes, size_t size, unsigned codePage, DecodedCue* out);
void freeDecodedCue(DecodedCue* cue);

// A cue file's bytes in global memory; free them with freeCueBytes.
struct CueBytes {
  char* bytes;
  size_t length;
  CueForm form;
};

enum EncodeResult { kEncoded, kEncodeLacks, kEncodeFailed };

// The file bytes of text (UTF-8, length bytes) in form, its last line closed by a line break (cue
// readers refuse a sheet without one); an empty text gives no bytes. kEncodeLacks when form's
// code page lacks characters of the text, kEncodeFailed when memory is short or the system
// converts nothing: then out holds nothing.
EncodeResult encodeCueText(const char* text, size_t length, const CueForm& form, CueBytes* out);
void freeCueBytes(CueBytes* bytes);
