#pragma once
// The production line's tables in the tool's store:
//
// line_numbers   every serial number given, one row each, unique per product (the serial's
//                first 19 characters) and year of numbering, and unique as a whole: its state
//                (NumberState) and the unit attempt that took it.
// line_counters  the last sequence number given per product; the row a numbering locks.
// line_attempts  one row per unit attempt, known by the uid it was made with where the unit
//                was worked, so a record sent twice is kept once.
// line_days      the day's counts per PC and station: attempts, first attempts, good ones.

#include "StoreDatabase.h"

const Schema& LineSchema();
