#include "WriteOperation.h"

#include <algorithm>

const WriteOperation* WriteOperations::Current() const {
    const WriteOperation* outermost = innermost_;
    while (outermost && outermost->outer_)
        outermost = outermost->outer_;
    return outermost;
}

void WriteOperations::SetEndHook(const void* owner, std::function<void()> hook) {
    ClearEndHook(owner);
    if (hook)
        endHooks_.push_back({owner, std::move(hook)});
}

void WriteOperations::ClearEndHook(const void* owner) {
    endHooks_.erase(std::remove_if(endHooks_.begin(), endHooks_.end(),
                                   [owner](const Hook& hook) { return hook.owner == owner; }),
                    endHooks_.end());
}

void WriteOperations::Ended() {
    // A hook may take itself or another away: run a copy.
    const std::vector<Hook> hooks = endHooks_;
    for (const Hook& hook : hooks)
        hook.run();
}

WriteOperation::WriteOperation(WriteOperations& context, QString operation, QString label,
                               Undo undo)
    : context_(context), operation_(std::move(operation)), label_(std::move(label)), undo_(undo),
      outer_(context.innermost_) {
    context_.innermost_ = this;
}

WriteOperation::~WriteOperation() {
    context_.innermost_ = outer_;
    if (!outer_)
        context_.Ended();
}
