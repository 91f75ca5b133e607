// Two stacks of sheet states: what undo goes back to, and what redo goes forward to.
#include "sheetHistory.h"

#include <windows.h>

#include "../base/text.h"

namespace {

struct Step {
  char* text;  // global memory
  size_t length;
  SheetFacts facts;
  char line[sizeof(HistoryState().line)];
};

struct Stack {
  Step* steps[kHistorySteps];  // the newest last; global memory
  int count;
};

Stack gUndo = {{}, 0};
Stack gRedo = {{}, 0};
bool gHandEdit = false;  // the user typed since the plug-in's last change

void freeStep(Step* step) {
  if (!step) return;
  if (step->text) GlobalFree(step->text);
  GlobalFree(step);
}

void clear(Stack* stack) {
  for (int i = 0; i < stack->count; ++i) freeStep(stack->steps[i]);
  stack->count = 0;
}

Step* makeStep(const SheetSnapshot& now, const char* line) {
  Step* step = (Step*)GlobalAlloc(GPTR, sizeof(Step));
  if (!step) return nullptr;
  step->text = (char*)GlobalAlloc(GMEM_FIXED, now.length + 1);
  if (!step->text) {
    GlobalFree(step);
    return nullptr;
  }
  CopyMemory(step->text, now.text, now.length);
  step->text[now.length] = '\0';
  step->length = now.length;
  step->facts = *now.facts;
  copyText(step->line, sizeof step->line, line);
  return step;
}

void push(Stack* stack, Step* step) {
  if (!step) return;
  if (stack->count == kHistorySteps) {  // the oldest gives way
    freeStep(stack->steps[0]);
    MoveMemory(stack->steps, stack->steps + 1, (kHistorySteps - 1) * sizeof(Step*));
    --stack->count;
  }
  stack->steps[stack->count++] = step;
}

// Moves from one stack to the other: the popped step is the state to go to; now goes onto the
// other stack with the same tracklist line.
bool move(Stack* from, Stack* to, const SheetSnapshot& now, HistoryState* state) {
  if (from->count == 0) return false;
  Step* step = from->steps[--from->count];
  push(to, makeStep(now, step->line));
  state->text = step->text;
  state->length = step->length;
  state->facts = step->facts;
  copyText(state->line, sizeof state->line, step->line);
  GlobalFree(step);  // its text now belongs to state
  return true;
}

}  // namespace

void recordChange(const SheetSnapshot& now, const char* takenLine) {
  push(&gUndo, makeStep(now, takenLine));
  clear(&gRedo);
  gHandEdit = false;
}

void noteHandEdit() {
  gHandEdit = true;
  clear(&gRedo);
}

bool canUndo() { return !gHandEdit && gUndo.count > 0; }
bool canRedo() { return !gHandEdit && gRedo.count > 0; }

bool undoChange(const SheetSnapshot& now, HistoryState* to) { return canUndo() && move(&gUndo, &gRedo, now, to); }
bool redoChange(const SheetSnapshot& now, HistoryState* to) { return canRedo() && move(&gRedo, &gUndo, now, to); }

void freeHistoryState(HistoryState* state) {
  if (state->text) GlobalFree(state->text);
  state->text = nullptr;
}

void clearHistory() {
  clear(&gUndo);
  clear(&gRedo);
  gHandEdit = false;
}
