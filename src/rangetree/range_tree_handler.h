// The base of the objects that steer a traversal of an XY range tree.
#pragma once

namespace Korvex::Geom {

class XYRangeTreeRoot;
class XYRangeTreeInterior;
class XYRangeTreeLeaf;

// A traversal asks the handler whether to descend into each interior node and
// whether to go on after each leaf and each subtree; all search state lives in
// the handler. Every default answer is true, so the base visits everything.
//
// The destructor is protected and not virtual: handlers are released through
// their concrete type, never through this base. Make concrete handlers final.
class XYRangeTreeHandler {
public:
    virtual bool ShouldRecurseIntoSubtree(const XYRangeTreeRoot* /*root*/,
                                          const XYRangeTreeInterior* /*node*/) {
        return true;
    }
    // Called after every interior node, entered or not.
    virtual bool ShouldContinueAfterSubtree(const XYRangeTreeRoot* /*root*/,
                                            const XYRangeTreeInterior* /*node*/) {
        return true;
    }
    virtual bool ShouldContinueAfterLeaf(const XYRangeTreeRoot* /*root*/,
                                         const XYRangeTreeInterior* /*node*/,
                                         const XYRangeTreeLeaf* /*leaf*/) {
        return true;
    }

protected:
    XYRangeTreeHandler() = default;
    XYRangeTreeHandler(const XYRangeTreeHandler&) = default;
    XYRangeTreeHandler& operator=(const XYRangeTreeHandler&) = default;
    ~XYRangeTreeHandler() = default;
};

}  // namespace Korvex::Geom
