// The primary window's see-through form: the same backdrop as
// ttransparentform, and also a new capture after every resize and an
// immediate paint after the start-up show.
#pragma once

#include "forms/primaryform.h"
#include "forms/seethroughform.h"

namespace pendo {

extern template class tseethroughform<tprimaryform>;

class ttransparentprimaryform : public tseethroughform<tprimaryform> {
 public:
  using tseethroughform::tseethroughform;
  void ShowAtStartup() override;

 protected:
  void Resize() override;
};

}  // namespace pendo
