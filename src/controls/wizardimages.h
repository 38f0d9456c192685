// The small pictures of the wizards' trees, drawn here rather than stored:
// 0 the root, 1 a closed group, 2 an open group, 3 a page, 4 an item.
#pragma once

#include "framework/comctrls.h"

namespace pendo {

void FillWizardImages(timagelist& images);

}  // namespace pendo
