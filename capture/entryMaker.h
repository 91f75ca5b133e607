// Making an entry of the sheet: the player formats the two templates with our tag callbacks,
// the escapes and case modes are applied, and the entry goes into the sheet: into the FILE block
// of the playing file (a new one when the sheet spans several files and none names it), in time
// order, numbered; the header before the first entry of a new sheet.
#pragma once

#include "cueEditor.h"
#include "tagResolver.h"

// The lock held across both formattings of an entry; created first at start-up and deleted
// last at shutdown.
void createFormatLock();
void deleteFormatLock();

// Makes the entry that tags describes (their entryNumber is set here, from before: the editor's
// text as the caller read it just before) and puts it into the editor, under the FILE line of
// its recording (tags' path). The caller notes the change (history, unsaved, recovery copy).
void makeEntry(TagRecord* tags, const EditorText& before);

// Whether an entry for the recording at path would add a FILE block to an opened sheet (sheet:
// the editor's text): none of its FILE lines names that recording, by its path or by its folder
// and base name. The user is asked first.
bool entryAddsFileBlock(const EditorText& sheet, const char* path);

// What the templates give for the current entry with sample Info values, as the player formats
// them: the header, CR LF, the entry (a sheet's first entry), into out (outBytes, UTF-8). Returns
// the template the player could not read (its formatter put its syntax-error or unknown-function
// text into the result), the header's first.
enum PreviewProblem { kPreviewFine, kPreviewHeaderUnread, kPreviewTrackUnread };
PreviewProblem previewEntry(char* out, size_t outBytes);
