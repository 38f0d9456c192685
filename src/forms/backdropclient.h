// A component that builds its picture from its see-through owner's backdrop
// (the gauge panels) and must rebuild it after a new capture.
#pragma once

namespace pendo {

class tbackdropclient {
 public:
  virtual ~tbackdropclient() = default;
  virtual void RefreshBackground() = 0;
};

}  // namespace pendo
