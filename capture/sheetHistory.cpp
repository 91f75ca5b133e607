// Two stacks of sheet states: what undo goes back to, and what redo goes forward to.
#include "sheetHistory.h"

#include <windows.h>

#include "../base/text.h"

namespace {

struct Step {
  char* text;  // global memory
  size_t length;
  SheetBookkeeping bookkeeping;
  char* line;  // global memory, or null
};

struct Stack {
  Step* steps[kHistorySteps];  // the newest last; global memory
  int count;
};

Stack gUndo = {{}, 0};
Stack gRedo = {{}, 0};
size_t gBytes = 0;  // text held by the steps of both stacks

void freeStep(Step* step) {
  if (!step) return;
  gBytes -= step->length;
  if (step->text) GlobalFree(step->text);
  if (step->line) GlobalFree(step->line);
  GlobalFree(step);
}

void clear(Stack* stack) {
  for (int i = 0; i < stack->count; ++i) freeStep(stack->steps[i]);
  stack->count = 0;
}

// A copy of text in global memory, or null (for null text too, or when memory is short).
char* copyOf(const char* text) {
  if (!text) return nullptr;
  size_t length = textLength(text, (size_t)-1);
  char* copy = (char*)GlobalAlloc(GMEM_FIXED, length + 1);
  if (copy) CopyMemory(copy, text, length + 1);
  return copy;
}

Step* makeStep(const SheetSnapshot& now, const char* line) {
  Step* step = (Step*)GlobalAlloc(GPTR, sizeof(Step));
  if (!step) return nullptr;
  step->text = (char*)GlobalAlloc(GMEM_FIXED, now.length + 1);
  step->line = copyOf(line);
  if (!step->text || (line && !step->line)) {
    if (step->text) GlobalFree(step->text);
    if (step->line) GlobalFree(step->line);
    GlobalFree(step);
    return nullptr;
  }
  CopyMemory(step->text, now.text, now.length);
  step->text[now.length] = '\0';
  step->length = now.length;
  step->bookkeeping = *now.bookkeeping;
  gBytes += now.length;
  return step;
}

void dropOldest(Stack* stack) {
  freeStep(stack->steps[0]);
  MoveMemory(stack->steps, stack->steps + 1, (kHistorySteps - 1) * sizeof(Step*));
  --stack->count;
}

void push(Stack* stack, Step* step) {
  if (!step) return;
  if (stack->count == kHistorySteps) dropOldest(stack);
  stack->steps[stack->count++] = step;
  // A large sheet keeps fewer steps: the oldest undo steps give way first, then redo's.
  while (gBytes > kHistoryBytes && gUndo.count > 0 && gUndo.steps[0] != step) dropOldest(&gUndo);
  while (gBytes > kHistoryBytes && gRedo.count > 0 && gRedo.steps[0] != step) dropOldest(&gRedo);
}

// Moves from one stack to the other: the popped step is the state to go to; now goes onto the
// other stack with the same tracklist line.
bool move(Stack* from, Stack* to, const SheetSnapshot& now, HistoryState* state) {
  if (from->count == 0) return false;
  Step* step = from->steps[--from->count];
  gBytes -= step->length;
  push(to, makeStep(now, step->line));
  state->text = step->text;  // the text and the line now belong to state
  state->length = step->length;
  state->bookkeeping = step->bookkeeping;
  state->line = step->line;
  GlobalFree(step);
  return true;
}

}  // namespace

void recordChange(const SheetSnapshot& now, const char* takenLine) {
  clear(&gRedo);
  push(&gUndo, makeStep(now, takenLine));
}

void noteHandEdit() { clearHistory(); }

bool canUndo() { return gUndo.count > 0; }
bool canRedo() { return gRedo.count > 0; }
const char* nextRedoLine() { return gRedo.count > 0 ? gRedo.steps[gRedo.count - 1]->line : nullptr; }
void forgetRedo() { clear(&gRedo); }

bool undoChange(const SheetSnapshot& now, HistoryState* to) { return move(&gUndo, &gRedo, now, to); }
bool redoChange(const SheetSnapshot& now, HistoryState* to) { return move(&gRedo, &gUndo, now, to); }

void freeHistoryState(HistoryState* state) {
  if (state->text) GlobalFree(state->text);
  if (state->line) GlobalFree(state->line);
  state->text = nullptr;
  state->line = nullptr;
}

void clearHistory() {
  clear(&gUndo);
  clear(&gRedo);
}
