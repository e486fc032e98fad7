// Each operation a notification of the main window can run reports itself
// here as it begins, with the channel, band, pair or code it was asked for
// when it takes one, so test builds see which ones a control really reached;
// depth 0 for one reached by the control itself, 1 and more for one run
// inside another. The program installs no check.
#pragma once

// index: null for an operation that takes none.
using OperationCheck = void (*)(const char* operation, const int* index, int depth);
void SetOperationCheck(OperationCheck check);

// Held by the operation for as long as it runs.
class ReachedOperation {
public:
    explicit ReachedOperation(const char* operation);
    ReachedOperation(const char* operation, int index);
    ~ReachedOperation();
    ReachedOperation(const ReachedOperation&) = delete;
    ReachedOperation& operator=(const ReachedOperation&) = delete;
};
