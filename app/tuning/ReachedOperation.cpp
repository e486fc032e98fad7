#include "app/tuning/ReachedOperation.h"

#include <atomic>

namespace {
std::atomic<OperationCheck> gOperationCheck{nullptr};
thread_local int tDepth = 0;

void Report(const char* operation, const int* index)
{
    if (OperationCheck check = gOperationCheck.load()) check(operation, index, tDepth);
    ++tDepth;
}
}

void SetOperationCheck(OperationCheck check) { gOperationCheck.store(check); }

ReachedOperation::ReachedOperation(const char* operation) { Report(operation, nullptr); }

ReachedOperation::ReachedOperation(const char* operation, int index) { Report(operation, &index); }

ReachedOperation::~ReachedOperation() { --tDepth; }
