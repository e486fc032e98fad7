// The GDI and USER objects and the threads of this process, for checks that
// windows give back what they took.
#pragma once

namespace sim {

struct ProcessCounts {
    long gdi = -1;
    long user = -1;
    long threads = -1;
};

// Under Wine, which reports no GUI resources, the handle tables are walked
// instead (a few tens of milliseconds).
ProcessCounts CountProcessResources();

}  // namespace sim
