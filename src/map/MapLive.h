#pragma once
// A live sample of the session's feed as the map takes it.

#include "LiveSample.h"
#include "MapLayout.h"
#include "MapSample.h"

// `seconds` on the live source's own clock.
MapSample MapSampleOf(const LiveSample& sample, const MapLayout& layout, double seconds);
