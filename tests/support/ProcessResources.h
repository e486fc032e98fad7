// The GDI and USER objects and the threads of this process, for checks that
// windows give back what they took.
#pragma once

#include <string>
#include <vector>

namespace sim {

struct ProcessCounts {
    long gdi = -1;
    long user = -1;
    long threads = -1;
    // Window DCs and GDI regions: the system keeps a cache of window DCs,
    // about one for each window ever shown at the same time as the others,
    // each holding the region of whichever window it served last.
    long dcCache = -1;
};

// Under Wine, which reports no GUI resources, the handle tables are walked
// instead (a few tens of milliseconds). Both this and the list below first
// load the system cursors, whose images would otherwise come with the
// first hover over a control that shows one.
ProcessCounts CountProcessResources();

// One line per live GDI object of the process: its handle index, kind and
// what tells it apart (a bitmap's size, a font's face and height, a region's
// box, a window DC's window), for finding what a path leaves behind.
std::vector<std::string> GdiObjectList();

}  // namespace sim
