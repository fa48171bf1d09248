// A growable array of node pointers with a read cursor.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Null when memory runs out.
vuArray* vu_arrayNew();
void vu_arrayFree(vuArray* array);
// Empties the array; a null array is ignored.
void vu_arrayClear(vuArray* array);
int vu_arraySize(const vuArray* array);
// Null when index is outside 0 .. size-1.
VuNode* vu_arrayGet(const vuArray* array, int index);
// Appends node; a null node or a null array is ignored.
void vu_arrayAdd(vuArray* array, VuNode* node);
// Pops the last entry; null when empty.
VuNode* vu_arrayRemoveLast(vuArray* array);

// Reading: open, then read until false.
void vu_arrayOpen(vuArray* array);
// False at the end, with *node set to null.
bool vu_arrayRead(vuArray* array, VuNode** node);
// Removes the entry last read (the last entry takes its place; it is read next).
void vu_arrayRemoveCurrent(vuArray* array);

void vu_arraySort(vuArray* array, VuNodeLess less);

}  // namespace Korvex
