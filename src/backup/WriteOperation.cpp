#include "WriteOperation.h"

namespace {
const WriteOperation* innermost = nullptr;
std::function<void()> endHook;
} // namespace

void WriteOperation::SetEndHook(std::function<void()> hook) {
    endHook = std::move(hook);
}

WriteOperation::WriteOperation(QString operation, QString label, Undo undo)
    : operation_(std::move(operation)), label_(std::move(label)), undo_(undo), outer_(innermost) {
    innermost = this;
}

WriteOperation::~WriteOperation() {
    innermost = outer_;
    if (!innermost && endHook)
        endHook();
}

const WriteOperation* WriteOperation::Current() {
    const WriteOperation* outermost = innermost;
    while (outermost && outermost->outer_)
        outermost = outermost->outer_;
    return outermost;
}
