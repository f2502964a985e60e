#include "LinkedWords.h"

#include "Addresses.h"

#include <algorithm>

namespace LinkedWords {

const std::vector<Group>& Groups() {
    static const std::vector<Group> groups = {
        {Param::Cylinders, {Param::CylinderConstant, Param::Cylinders}},
    };
    return groups;
}

const Group* Of(uint8_t address) {
    const std::vector<Group>& groups = Groups();
    const auto found = std::find_if(groups.begin(), groups.end(), [address](const Group& g) {
        return std::find(g.writes.begin(), g.writes.end(), address) != g.writes.end();
    });
    return found != groups.end() ? &*found : nullptr;
}

} // namespace LinkedWords
