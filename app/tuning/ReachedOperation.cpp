#include "app/tuning/ReachedOperation.h"

#include <atomic>

namespace {
std::atomic<OperationCheck> gOperationCheck{nullptr};
}

void SetOperationCheck(OperationCheck check) { gOperationCheck.store(check); }

void ReachedOperation(const char* operation)
{
    if (OperationCheck check = gOperationCheck.load()) check(operation);
}
