#pragma once
// The connectivity update that brings a freshly read drawing into a consistent state: line ends
// re-attached to their ports and nodes, groups spread along connections, corners cleaned,
// crossings found for the jump arcs, the top-level flags and the help ports of manifolds.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/BusyHook.h"
#include "components/ConnectionLines.h"
#include "model/IntegerLists.h"

class TSymbolObjectPort;

// Resolves handles within one drawing tree with the results of the list searches, built once so
// that each look-up costs a hash probe instead of a walk of the tree.
class TConnectivityIndex {
public:
    // Find over the list only; Owner answers nothing.
    explicit TConnectivityIndex(const TSymbolObjectList& list);
    // Find over the symbol's list, Owner as the owner search from the symbol.
    explicit TConnectivityIndex(TSymbolObjectSymbol& symbol);

    // The object TSymbolObjectList::Find gives for the handle: the first match of a depth-first
    // walk that enters composites only while nothing was found, replaced by the last match among
    // the later siblings visited after it.
    TSymbolObject* Find(int32_t handle) const;
    // The object whose child list directly holds the handle (the symbol itself for its own handle).
    TSymbolObject* Owner(int32_t handle) const;
    TSymbolObjectSymbol* Symbol() const { return fSymbol; }

private:
    struct TNode {
        TSymbolObject* Object;
        int32_t Parent; // node index, -1 for the list's direct children
        int32_t Depth;
        bool Searched; // reached by the handle search, which enters only some composites
    };
    void Walk(const TSymbolObjectList& list, int32_t parent, int32_t depth, bool searched);
    // Finishes one run of nodes sharing a handle, in walk order.
    void Resolve(const int32_t* run, size_t count);

    TSymbolObjectSymbol* fSymbol = nullptr;
    bool fOwners = false;
    std::vector<TNode> fNodes; // every object below the list, in pre-order
    // Sorted handles with the node each search answers (-1: none; owner -2: the symbol).
    std::vector<int32_t> fHandles, fFound, fOwner;
    // Position in fHandles by handle - fHandles.front(), when the handles are dense enough.
    std::vector<int32_t> fDirect;
    int32_t Position(int32_t handle) const;
};

// --- the update ---
void UpdateConnections(TSymbolObjectSymbol& symbol, bool updateAll);
void UpdateHelpPorts(TSymbolObjectList& list, bool isSchematic, TSymbolObjectSymbol* checkSymbol);
void UpdateInMainSymbol(TSymbolObjectList& list, bool isSchematic);

// Crossings of every pair of the lines (i < j in list order) as CheckCrosses records them, found
// by a sweep over the segments, so that the cost follows the segments and the crossings.
void CheckCrossesAll(const std::vector<TSymbolObjectConnectionLine*>& lines, TJumpMode jumpMode);
// The same by trying every pair; the reference the sweep is measured against.
void CheckCrossesPairwise(const std::vector<TSymbolObjectConnectionLine*>& lines, TJumpMode jumpMode);

// --- list queries ---
// Direct-child lines with either end on the handle, each once.
TObjectRefList CreateListConnectionLinesTo(const TSymbolObjectList& list, int32_t handle);
int CountConnectionLinesTo(const TSymbolObjectList& list, int32_t handle);
// Follows the loop-through chain while the handle names a port; a chain that returns to a port
// it passed ends at the port before the repeat.
TSymbolObjectPort* FindLastLoopedToPort(const TConnectivityIndex& index, TSymbolObjectPort* port);
TSymbolObjectPort* FindFirstLoopedFromPort(const TConnectivityIndex& index, TSymbolObjectPort* port);
TSymbolObjectPort* FindLastLoopedToPort(const TSymbolObjectList& list, TSymbolObjectPort* port);
TSymbolObjectPort* FindFirstLoopedFromPort(const TSymbolObjectList& list, TSymbolObjectPort* port);
// Normal ports and inner ports among the direct children and the children of direct component
// symbols, with the sub-group code (ignoring case) or without one.
void FindPortsWithGroup(const TSymbolObjectList& list, const std::string& groupCode, TIntegerList& portList);
void FindPortsWithoutGroup(const TSymbolObjectList& list, TIntegerList& portList);
// Direct-child lines and nodes without a sub-group code.
void FindConnectionLinesWithoutGroup(const TSymbolObjectList& list, TIntegerList& handles);
