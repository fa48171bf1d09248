#include "rangetree/range_tree_root.h"

#include <new>

#include "rangetree/range_tree_handler.h"
#include "rangetree/range_tree_interior.h"
#include "rangetree/range_tree_leaf.h"

namespace Korvex::Geom {

namespace {

// Depth first; returns false as soon as the handler asks to stop. The
// all-leaves flag is exact, so a node holding leaves needs no kind test per
// child.
bool VisitSubtree(const XYRangeTreeRoot& root, const XYRangeTreeInterior& node,
                  XYRangeTreeHandler& handler) {
    if (handler.ShouldRecurseIntoSubtree(&root, &node)) {
        const int count = node.GetChildCount();
        if (node.HasOnlyLeaves()) {
            for (int i = 0; i < count; ++i) {
                const auto* leaf = static_cast<const XYRangeTreeLeaf*>(node.GetChild(i));
                if (!handler.ShouldContinueAfterLeaf(&root, &node, leaf)) return false;
            }
        } else {
            for (int i = 0; i < count; ++i) {
                const XYRangeTreeInterior* child = node.GetChild(i)->AsInterior();
                if (child && !VisitSubtree(root, *child, handler)) return false;
            }
        }
    }
    return handler.ShouldContinueAfterSubtree(&root, &node);
}

}  // namespace

XYRangeTreeRoot::~XYRangeTreeRoot() { delete m_top; }

XYRangeTreeRoot* XYRangeTreeRoot::Allocate() { return new (std::nothrow) XYRangeTreeRoot(); }

void XYRangeTreeRoot::Free(XYRangeTreeRoot* root) { delete root; }

DRange2d XYRangeTreeRoot::GetRange() const {
    DRange2d empty;
    empty.init();
    return empty;
}

bool XYRangeTreeRoot::Add(XYRangeTreeRoot* root, void* data, const DRange2d& range) {
    if (!root) return false;
    root->m_packed.reset();
    auto* leaf = new (std::nothrow) XYRangeTreeLeaf(range, data);
    if (!leaf) return false;
    XYRangeTreeInterior* receiver = root->ChooseReceivingNode(range);
    if (!receiver || !receiver->Insert(leaf, true)) {
        delete leaf;
        return false;
    }
    return true;
}

// Descends from the top by least enlargement to a node that holds leaves.
XYRangeTreeInterior* XYRangeTreeRoot::ChooseReceivingNode(const DRange2d& range) {
    if (!m_top) {
        m_top = new (std::nothrow) XYRangeTreeInterior(this);
        return m_top;
    }
    XYRangeTreeInterior* node = m_top;
    while (!node->HasOnlyLeaves()) {
        XYRangeTreeInterior* next = node->ChildWithLeastEnlargement(range);
        if (!next) break;
        node = next;
    }
    return node;
}

bool XYRangeTreeRoot::Insert(XYRangeTreeQuery* child) {
    XYRangeTreeInterior* oldTop = m_top;
    if (!oldTop && child->AsInterior()) {
        m_top = const_cast<XYRangeTreeInterior*>(child->AsInterior());
        m_top->SetParent(this);
        return true;
    }
    auto* newTop = new (std::nothrow) XYRangeTreeInterior(this);
    if (!newTop) return false;
    m_top = newTop;
    if (oldTop) newTop->Insert(oldTop, true);
    newTop->Insert(child, true);
    return true;
}

const XYRangeTreePacked* XYRangeTreeRoot::GetPacked() const {
    if (!m_packed && m_top) {
        try {
            m_packed = std::make_unique<XYRangeTreePacked>(*m_top);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    return m_packed.get();
}

bool XYRangeTreeRoot::Traverse(const XYRangeTreeRoot* root, XYRangeTreeHandler* handler) {
    if (!root || !root->m_top || !handler) return true;
    return VisitSubtree(*root, *root->m_top, *handler);
}

}  // namespace Korvex::Geom
