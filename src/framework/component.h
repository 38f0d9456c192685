// Components: named objects owned by another component, which frees them,
// newest first, when it goes. Freeing runs BeforeDestruction while the whole
// object is still alive, so that overridden steps (saving a profile) still
// reach the most derived class. Before that, the owner and the other
// components of the owner hear of it (Notification) and drop their
// references to it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/types.h"

namespace pendo {

class tobject {
 public:
  virtual ~tobject() = default;
};

// Event handler types: the sender always comes first.
using tnotifyevent = std::function<void(tobject* sender)>;
using tkeyevent = std::function<void(tobject* sender, WORD& key, tshiftstate shift)>;
using tkeypressevent = std::function<void(tobject* sender, char& key)>;
using tmouseevent = std::function<void(tobject* sender, tmousebutton button, tshiftstate shift, int x, int y)>;
using tmousemoveevent = std::function<void(tobject* sender, tshiftstate shift, int x, int y)>;
using tcloseevent = std::function<void(tobject* sender, tcloseaction& action)>;
using tclosequeryevent = std::function<void(tobject* sender, bool& canClose)>;

class tresourcecontext;

class tcomponent : public tobject {
 public:
  explicit tcomponent(tcomponent* owner);
  ~tcomponent() override;
  tcomponent(const tcomponent&) = delete;
  tcomponent& operator=(const tcomponent&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  tcomponent* Owner() const { return owner_; }
  const std::vector<tcomponent*>& Components() const { return components_; }
  tcomponent* FindComponent(const std::string& name) const;
  bool IsDestroying() const { return destroying_; }

  // The one way to delete a component.
  void Free();

  // After the form description has set the stored properties.
  virtual void Loaded() {}
  // One property of a form description; false when the name is unknown.
  virtual bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context);
  // A component of the same owner, or the owner's own component when this is
  // the owner, is being freed: forget every reference to it.
  virtual void Notification(tcomponent* component) {}

  // Where a form description places the component: the named parent, or the
  // form itself when no parent is named. Plain components ignore it.
  virtual void SetParentComponent(tcomponent* parent) {}

 protected:
  // First step of freeing, while the object is whole: frees the owned
  // components, newest first. Overrides do their own work, then call it.
  virtual void BeforeDestruction();

 private:
  void Remove(tcomponent* component);
  void NotifyFree();
  std::string name_;
  tcomponent* owner_;
  std::vector<tcomponent*> components_;
  bool destroying_ = false;
};

struct tcomponentfree {
  void operator()(tcomponent* c) const {
    if (c) c->Free();
  }
};
template <class T>
using tcomponentptr = std::unique_ptr<T, tcomponentfree>;

}  // namespace pendo
