// One installation or removal at a time, of any product: each run holds a
// named mutex of all sessions while it changes anything. A run that ends,
// however it ends, lets the next one in.
#pragma once

#include "settings/uniquehandle.h"

namespace pendo {

class tsetuprunlock {
 public:
  // False while another run holds the lock.
  bool Acquire();
  void Release();
  ~tsetuprunlock() { Release(); }

 private:
  tkernelhandle mutex_;
  bool held_ = false;
};

}  // namespace pendo
