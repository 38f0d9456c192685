#include "framework/resource.h"

#include "framework/application.h"

namespace pendo {

namespace {
std::map<std::string, tcomponentfactory>& Classes() {
  static std::map<std::string, tcomponentfactory> classes;
  return classes;
}
}  // namespace

void tresourcecontext::RegisterClass(const std::string& classname, tcomponentfactory factory) {
  AssertUiThread();
  if (!Classes().emplace(classname, std::move(factory)).second)
    throw std::logic_error("component class " + classname + " registered twice");
}

tcomponent* tresourcecontext::FindComponent(const std::string& name) const {
  if (name.empty() || name == root_->Name()) return root_;
  tcomponent* c = root_->FindComponent(name);
  if (!c) throw std::logic_error("no component " + name + " in " + root_->Name());
  return c;
}

void tresourcecontext::Apply(tcomponent* c, const tprop& p) {
  current_ = &p;
  consumed_ = false;
  const bool known = c->SetProperty(p.name, p.value, *this);
  const bool handlerUnused = p.bind && !consumed_;
  current_ = nullptr;
  if (!known) throw std::logic_error("unknown property " + p.name + " of " + c->Name());
  if (handlerUnused) throw std::logic_error("property " + p.name + " of " + c->Name() + " takes no handler");
}

void tresourcecontext::Read(const std::vector<tcomponentdesc>& components) {
  AssertUiThread();
  for (const auto& d : components) {
    auto it = Classes().find(d.classname);
    if (it == Classes().end()) throw std::logic_error("unknown component class " + d.classname);
    tcomponent* c = it->second(root_);
    c->SetName(d.name);
    c->SetParentComponent(FindComponent(d.parent));
    for (const auto& p : d.props) Apply(c, p);
  }
  for (auto& step : fixups_) step();
  fixups_.clear();
  for (auto& f : fields_) f.second(FindComponent(f.first));
}

}  // namespace pendo
