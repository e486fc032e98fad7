// Each operation a notification of the main window can run reports itself
// here as it begins, so test builds see which one a control really reached.
// The program installs no check.
#pragma once

using OperationCheck = void (*)(const char* operation);
void SetOperationCheck(OperationCheck check);
void ReachedOperation(const char* operation);
