// A plain see-through window: the backdrop and nothing persistent (no
// placement profile, no move lock, none of the application's hooks). The
// notice window stands on it.
#pragma once

#include "forms/seethroughform.h"

namespace pendo {

class tbackdropform : public tseethroughform<tform> {
 public:
  using tseethroughform::tseethroughform;
};

}  // namespace pendo
