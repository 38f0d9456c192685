// Form descriptions: the data a form is built from (its own properties and
// its components with their places, captions and handler names), and the
// context that binds component names to a form's fields and handlers to the
// form being read.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "framework/component.h"

namespace pendo {

using tmethod = std::variant<tnotifyevent, tkeyevent, tkeypressevent, tmouseevent, tmousemoveevent, tcloseevent,
                             tclosequeryevent>;

namespace detail {
template <class C>
tmethod Wrap(C* s, void (C::*f)(tobject*)) {
  return tnotifyevent([s, f](tobject* a) { (s->*f)(a); });
}
template <class C>
tmethod Wrap(C* s, void (C::*f)(tobject*, WORD&, tshiftstate)) {
  return tkeyevent([s, f](tobject* a, WORD& k, tshiftstate st) { (s->*f)(a, k, st); });
}
template <class C>
tmethod Wrap(C* s, void (C::*f)(tobject*, char&)) {
  return tkeypressevent([s, f](tobject* a, char& k) { (s->*f)(a, k); });
}
template <class C>
tmethod Wrap(C* s, void (C::*f)(tobject*, tmousebutton, tshiftstate, int, int)) {
  return tmouseevent([s, f](tobject* a, tmousebutton b, tshiftstate st, int x, int y) { (s->*f)(a, b, st, x, y); });
}
template <class C>
tmethod Wrap(C* s, void (C::*f)(tobject*, tshiftstate, int, int)) {
  return tmousemoveevent([s, f](tobject* a, tshiftstate st, int x, int y) { (s->*f)(a, st, x, y); });
}
template <class C>
tmethod Wrap(C* s, void (C::*f)(tobject*, tcloseaction&)) {
  return tcloseevent([s, f](tobject* a, tcloseaction& c) { (s->*f)(a, c); });
}
template <class C>
tmethod Wrap(C* s, void (C::*f)(tobject*, bool&)) {
  return tclosequeryevent([s, f](tobject* a, bool& c) { (s->*f)(a, c); });
}
}  // namespace detail

// One property of a description: a value, or a handler named by member
// pointer ({"OnClick", &Tmainform::QuitButtonClick}) so that a misspelt or
// missing handler, or one whose parameters fit no event, fails to build.
struct tprop {
  tprop(const char* n, const char* v) : name(n), value(v) {}
  tprop(const char* n, const std::string& v) : name(n), value(v) {}
  tprop(const char* n, int v) : name(n), value(std::to_string(v)) {}
  template <class C, class... A>
  tprop(const char* n, void (C::*fn)(A...)) : name(n), bind([fn](tcomponent* root) {
    static_assert(std::is_base_of_v<tcomponent, C>, "handlers are members of the form");
    C* self = dynamic_cast<C*>(root);
    if (!self) throw std::logic_error("a handler of another form given to " + root->Name());
    return detail::Wrap(self, fn);
  }) {}
  std::string name, value;
  // Set for a handler: binds it to the form the description is read into.
  std::function<tmethod(tcomponent* root)> bind;
};

struct tcomponentdesc {
  std::string classname;  // "tbutton"
  std::string name;       // "okbutton"
  std::string parent;     // "" for the form, else a control, menu or menu item
  std::vector<tprop> props;
};

struct tformdesc {
  std::string name;  // the form's component name, "mainform"
  std::vector<tprop> props;
  std::vector<tcomponentdesc> components;
};

using tcomponentfactory = std::function<tcomponent*(tcomponent* owner)>;

class tresourcecontext {
 public:
  explicit tresourcecontext(tcomponent* root) : root_(root) {}

  // A published field: receives the component of that name.
  template <class T>
  void Field(const std::string& name, T*& field) {
    fields_[name] = [&field, name](tcomponent* c) {
      T* typed = dynamic_cast<T*>(c);
      if (!typed) throw std::logic_error("component " + name + " has the wrong class");
      field = typed;
    };
  }
  // The handler of the property being set; throws when the property holds
  // a value instead, or a handler whose parameters fit another event.
  template <class E>
  E Handler() const {
    if (!current_ || !current_->bind) throw std::logic_error("property " + CurrentName() + " needs a handler");
    consumed_ = true;
    tmethod m = current_->bind(root_);
    E* e = std::get_if<E>(&m);
    if (!e) throw std::logic_error("handler for " + CurrentName() + " has the wrong parameters");
    return std::move(*e);
  }

  // Sets one described property on a component; unknown names and handlers
  // given to value properties are refused.
  void Apply(tcomponent* c, const tprop& p);

  tcomponent* FindComponent(const std::string& name) const;
  // A step that needs components created later in the description.
  void Fixup(std::function<void()> step) { fixups_.push_back(std::move(step)); }

  // Builds the components, runs the fixups and fills the fields.
  void Read(const std::vector<tcomponentdesc>& components);

  // Makes a class known to every description. Each library registers its
  // classes once, at start-up (framework/frameworkclasses.h and the like);
  // a name registered twice is a mistake and throws.
  static void RegisterClass(const std::string& classname, tcomponentfactory factory);
  template <class T>
  static void RegisterClass(const std::string& classname) {
    RegisterClass(classname, [](tcomponent* owner) -> tcomponent* { return new T(owner); });
  }

 private:
  std::string CurrentName() const { return current_ ? current_->name : std::string(); }

  tcomponent* root_;
  std::map<std::string, std::function<void(tcomponent*)>> fields_;
  const tprop* current_ = nullptr;
  mutable bool consumed_ = false;
  std::vector<std::function<void()>> fixups_;
};

}  // namespace pendo
