// The see-through persistent window (see seethroughform.h); forms such as
// the notice window derive from it and need nothing more.
#pragma once

#include "forms/seethroughform.h"

namespace pendo {

class ttransparentform : public tseethroughform<tadvancedform> {
 public:
  using tseethroughform::tseethroughform;
};

}  // namespace pendo
