#include "MapLayout.h"

Bands MapLayout::DefaultLoad(LoadAxis axis) {
    return axis == LoadAxis::Injection ? Bands{1, 20, 1} : Bands{20, 100, 10};
}
