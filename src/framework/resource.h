// Form descriptions: the data a form is built from (its own properties and
// its components with their places, captions and handler names), and the
// context that binds component names to a form's fields and handler names
// to its member functions while the description is read.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "framework/component.h"

namespace pendo {

struct tprop {
  tprop(const char* n, const char* v) : name(n), value(v) {}
  tprop(const char* n, const std::string& v) : name(n), value(v) {}
  tprop(const char* n, int v) : name(n), value(std::to_string(v)) {}
  std::string name, value;
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

using tmethod = std::variant<tnotifyevent, tkeyevent, tkeypressevent, tmouseevent, tmousemoveevent, tcloseevent,
                             tclosequeryevent>;
using tcomponentfactory = std::function<tcomponent*(tcomponent* owner)>;

class tresourcecontext {
 public:
  explicit tresourcecontext(tcomponent* root) : root_(root) {}

  tcomponent* Root() const { return root_; }

  // A published field: receives the component of that name.
  template <class T>
  void Field(const std::string& name, T*& field) {
    fields_[name] = [&field, name](tcomponent* c) {
      T* typed = dynamic_cast<T*>(c);
      if (!typed) throw std::logic_error("component " + name + " has the wrong class");
      field = typed;
    };
  }
  // A published handler.
  template <class C, class... A>
  void Method(const std::string& name, C* self, void (C::*fn)(A...)) {
    methods_[name] = Wrap(self, fn);
  }

  template <class E>
  E FindMethod(const std::string& name) const {
    if (name.empty()) return E();
    auto it = methods_.find(name);
    if (it == methods_.end()) throw std::logic_error("no handler " + name);
    const E* e = std::get_if<E>(&it->second);
    if (!e) throw std::logic_error("handler " + name + " has the wrong signature");
    return *e;
  }

  tcomponent* FindComponent(const std::string& name) const;
  // A step that needs components created later in the description.
  void Fixup(std::function<void()> step) { fixups_.push_back(std::move(step)); }

  // Builds the components, runs the fixups and fills the fields.
  void Read(const std::vector<tcomponentdesc>& components);

  static void RegisterClass(const std::string& classname, tcomponentfactory factory);
  template <class T>
  static void RegisterClass(const std::string& classname) {
    RegisterClass(classname, [](tcomponent* owner) -> tcomponent* { return new T(owner); });
  }

 private:
  template <class C>
  static tmethod Wrap(C* s, void (C::*f)(tobject*)) {
    return tnotifyevent([s, f](tobject* a) { (s->*f)(a); });
  }
  template <class C>
  static tmethod Wrap(C* s, void (C::*f)(tobject*, WORD&, tshiftstate)) {
    return tkeyevent([s, f](tobject* a, WORD& k, tshiftstate st) { (s->*f)(a, k, st); });
  }
  template <class C>
  static tmethod Wrap(C* s, void (C::*f)(tobject*, char&)) {
    return tkeypressevent([s, f](tobject* a, char& k) { (s->*f)(a, k); });
  }
  template <class C>
  static tmethod Wrap(C* s, void (C::*f)(tobject*, tmousebutton, tshiftstate, int, int)) {
    return tmouseevent([s, f](tobject* a, tmousebutton b, tshiftstate st, int x, int y) { (s->*f)(a, b, st, x, y); });
  }
  template <class C>
  static tmethod Wrap(C* s, void (C::*f)(tobject*, tshiftstate, int, int)) {
    return tmousemoveevent([s, f](tobject* a, tshiftstate st, int x, int y) { (s->*f)(a, st, x, y); });
  }
  template <class C>
  static tmethod Wrap(C* s, void (C::*f)(tobject*, tcloseaction&)) {
    return tcloseevent([s, f](tobject* a, tcloseaction& c) { (s->*f)(a, c); });
  }
  template <class C>
  static tmethod Wrap(C* s, void (C::*f)(tobject*, bool&)) {
    return tclosequeryevent([s, f](tobject* a, bool& c) { (s->*f)(a, c); });
  }

  tcomponent* root_;
  std::map<std::string, std::function<void(tcomponent*)>> fields_;
  std::map<std::string, tmethod> methods_;
  std::vector<std::function<void()>> fixups_;
};

}  // namespace pendo
