#pragma once
// Four controller links on four emulators at line timing, each exchanging on a thread of its
// own (LinkThread), against one link alone, and against the same four taking turns on the GUI
// thread; with the longest time the GUI event loop goes without running a queued event
// meanwhile. Rounds are interleaved and repeated; a round in which a reply missed its window
// (a loaded machine) is run again and counted.

struct ParallelFigures {
    int rounds = 0;
    int repeatedRounds = 0;
    // Exchanges per second of four links against one alone: medians of the rounds.
    double threadsRatio = 0;
    double turnsRatio = 0;
    // The longest gap between queued events on the GUI thread: median of the rounds' longest,
    // and the longest of all.
    double threadsStallMs = 0;
    double threadsWorstStallMs = 0;
    double turnsStallMs = 0;
};

ParallelFigures MeasureParallelLinks();
