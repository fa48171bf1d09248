#include "vu/vu_array.h"

#include <algorithm>
#include <cstdlib>

namespace Korvex {

namespace {

// Room for one more entry; false when memory runs out.
bool ensureRoomForOne(vuArray* array) {
    if (array->count < array->capacity) return true;
    const int capacity = array->capacity + array->increment;
    void* grown = std::realloc(array->data, sizeof(VuNode*) * static_cast<std::size_t>(capacity));
    if (!grown) return false;
    array->data = static_cast<VuNode**>(grown);
    array->capacity = capacity;
    return true;
}

}  // namespace

vuArray* vu_arrayNew() {
    auto* array = static_cast<vuArray*>(std::calloc(1, sizeof(vuArray)));
    if (array) array->increment = VU_ARRAY_GROWTH;
    return array;
}

void vu_arrayFree(vuArray* array) {
    if (!array) return;
    std::free(array->data);
    std::free(array);
}

void vu_arrayClear(vuArray* array) {
    if (array) array->count = 0;
}

void vu_arrayGrowAndAdd(vuArray* array, VuNode* node) {
    if (!array || !node || !ensureRoomForOne(array)) return;
    array->data[array->count++] = node;
}

void vu_arrayOpen(vuArray* array) {
    if (array) array->cursor = 0;
}

bool vu_arrayRead(vuArray* array, VuNode** node) {
    if (!array || array->cursor < 0 || array->cursor >= array->count) {
        *node = nullptr;
        return false;
    }
    *node = array->data[array->cursor++];
    return true;
}

void vu_arrayRemoveCurrent(vuArray* array) {
    if (!array || array->cursor <= 0 || array->cursor > array->count) return;
    const int current = array->cursor - 1;
    array->data[current] = array->data[array->count - 1];
    --array->count;
    array->cursor = current;
}

void vu_arraySort(vuArray* array, VuNodeLess less) {
    if (!array || !less || array->count <= 1) return;
    std::sort(array->data, array->data + array->count, less);
}

}  // namespace Korvex
