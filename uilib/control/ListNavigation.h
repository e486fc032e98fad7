#pragma once

#include "uilib/layout/Container.h"

namespace SkinUI {

// Whether the child at index is a row that can take the selection: it answers
// "ListItem" and is visible and enabled.
bool IsSelectableRow(const IContainerUI& rows, int index);

// The first selectable row from start on in one direction, or -1. Unlike the
// container's search it never turns round, so keys and the wheel that find
// nothing leave the selection where it is. A forward search starting before
// the first row starts at it; a backward one past the last row starts at it.
int FindSelectableRowStrict(const IContainerUI& rows, int start, bool forward);

} // namespace SkinUI
