#include "model/ChangeSet.h"

namespace zanq {

ChangeSet ChangeSet::inverse() const {
    ChangeSet back;
    back.label = label;
    back.matrix.reserve(matrix.size());
    for (const SlotChange& change : matrix)
        back.matrix.push_back({change.slot, change.after, change.before});
    back.library.reserve(library.size());
    for (auto it = library.rbegin(); it != library.rend(); ++it)
        back.library.push_back({it->index, it->after, it->before});
    return back;
}

}  // namespace zanq
