#include "framework/component.h"

#include <algorithm>

namespace pendo {

tcomponent::tcomponent(tcomponent* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

tcomponent::~tcomponent() {
  // A component deleted without Free still leaves nothing behind.
  if (!destroying_) {
    destroying_ = true;
    NotifyFree();
    tcomponent::BeforeDestruction();
  }
  if (owner_) owner_->Remove(this);
}

void tcomponent::Free() {
  if (!destroying_) {
    destroying_ = true;
    NotifyFree();
    BeforeDestruction();
  }
  delete this;
}

void tcomponent::BeforeDestruction() {
  while (!components_.empty()) components_.back()->Free();
}

void tcomponent::NotifyFree() {
  if (!owner_) return;
  owner_->Notification(this);
  // A copy: a notified component may free others.
  const std::vector<tcomponent*> siblings = owner_->components_;
  for (tcomponent* c : siblings) {
    if (c != this && !c->destroying_) c->Notification(this);
  }
}

void tcomponent::Remove(tcomponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
}

tcomponent* tcomponent::FindComponent(const std::string& name) const {
  for (tcomponent* c : components_)
    if (c->name_ == name) return c;
  return nullptr;
}

bool tcomponent::SetProperty(const std::string& name, const std::string& value, tresourcecontext&) {
  if (name == "Tag") return true;
  return false;
}

}  // namespace pendo
