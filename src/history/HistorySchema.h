#pragma once
// The tables of the controllers' history in the tool's store.

#include "StoreDatabase.h"

const Schema& HistorySchema();
