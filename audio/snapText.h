// What the user reads about a placed or snapped mark: where it went and why, in one line.
#pragma once

#include <cstddef>

#include "markSnap.h"

// Where a mark the rule placed went, said against the key press ("at the end of a silence,
// 0.21 s before your key"; a change point offered: "a change 0.35 s after your key: Snap (F6)
// moves the mark there"); empty when the rule left it where it was pressed. Into out (outBytes).
void describePlacement(const SnapAnswer& answer, char* out, size_t outBytes);

// What the Snap button found, said against the mark as it was ("Snapped to the end of a silence,
// 0.12 s earlier"; "Snap: nothing to snap to within a second"; "The audio around this mark is still
// being read"). Into out (outBytes).
void describeSnap(const SnapAnswer& answer, char* out, size_t outBytes);
