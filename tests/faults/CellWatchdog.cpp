#include "CellWatchdog.h"

#include <cstdio>
#include <cstdlib>

CellWatchdog::CellWatchdog(const QString& cell, std::chrono::seconds limit)
    : thread_([this, name = cell.toStdString(), limit] {
          std::unique_lock lock(mutex_);
          if (ended_.wait_for(lock, limit, [this] { return cellEnded_; }))
              return;
          std::fprintf(stderr, "FAIL!  : the cell \"%s\" has not ended after %lld s\n",
                       name.c_str(), static_cast<long long>(limit.count()));
          std::abort();
      }) {}

CellWatchdog::~CellWatchdog() {
    {
        std::lock_guard lock(mutex_);
        cellEnded_ = true;
    }
    ended_.notify_all();
    thread_.join();
}
