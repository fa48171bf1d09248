// The position of a reader or writer among the records of a file; both move
// alike, so that a reader and a writer walked in step stay on one record.
#pragma once

#include <algorithm>

namespace Norvane::Shapefile::Detail {

struct RecordCursor {
    int position = -1;  // -1 before the first record, the record count after the last

    void Reset() { position = -1; }
    bool Next(int count) {
        if (position < count) ++position;
        return position < count;
    }
    bool To(int index, int count) {
        position = std::clamp(index, -1, count);
        return position == index && OnRecord(count);
    }
    bool OnRecord(int count) const { return position >= 0 && position < count; }
};

}  // namespace Norvane::Shapefile::Detail
