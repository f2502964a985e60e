#pragma once
// The wait cursor over the whole application while blocking work runs; the cursor comes back
// on every way out, errors included.

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
