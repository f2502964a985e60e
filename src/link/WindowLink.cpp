#include "WindowLink.h"

#include "ControllerLink.h"

ControllerLink& WindowLink() {
    static ControllerLink link;
    return link;
}
