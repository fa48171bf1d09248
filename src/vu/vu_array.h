// A growable array of node pointers with a read cursor.
#pragma once

#include "vu/vu_types.h"

namespace Korvex {

// Null when memory runs out.
vuArray* vu_arrayNew();
void vu_arrayFree(vuArray* array);
// Empties the array; a null array is ignored.
void vu_arrayClear(vuArray* array);
// The accessors below are inline: the sweeps call them once per entry per
// event.
inline int vu_arraySize(const vuArray* array) { return array ? array->count : 0; }
// Null when index is outside 0 .. size-1.
inline VuNode* vu_arrayGet(const vuArray* array, int index) {
    if (!array || index < 0 || index >= array->count) return nullptr;
    return array->data[index];
}
// Overwrites entry index; an index outside 0 .. size-1 is ignored.
inline void vu_arraySet(vuArray* array, int index, VuNode* node) {
    if (array && index >= 0 && index < array->count) array->data[index] = node;
}
// Removes entry index by moving the last entry into its place (the order of
// the others is not kept); an index outside 0 .. size-1 is ignored.
inline void vu_arrayRemoveAt(vuArray* array, int index) {
    if (array && index >= 0 && index < array->count)
        array->data[index] = array->data[--array->count];
}
// Appends node when the array is full: grows it first, and drops the node
// when memory runs out.
void vu_arrayGrowAndAdd(vuArray* array, VuNode* node);
// Appends node; a null node or a null array is ignored.
inline void vu_arrayAdd(vuArray* array, VuNode* node) {
    if (!array || !node) return;
    if (array->count < array->capacity) {
        array->data[array->count++] = node;
        return;
    }
    vu_arrayGrowAndAdd(array, node);
}
// Pops the last entry; null when empty.
inline VuNode* vu_arrayRemoveLast(vuArray* array) {
    if (!array || array->count == 0) return nullptr;
    return array->data[--array->count];
}

// Reading: open, then read until false.
void vu_arrayOpen(vuArray* array);
// False at the end, with *node set to null.
bool vu_arrayRead(vuArray* array, VuNode** node);
// Removes the entry last read (the last entry takes its place; it is read next).
void vu_arrayRemoveCurrent(vuArray* array);

void vu_arraySort(vuArray* array, VuNodeLess less);

}  // namespace Korvex
