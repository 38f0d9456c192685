#include "controls/simpletreeview.h"

#include "framework/resource.h"

namespace pendo {

tsimpletreeview::tsimpletreeview(tcomponent* owner) : ttreeview(owner) {}

void tsimpletreeview::ClearRoot() {
  if (ttreenode* root = RootNode()) DeleteChildren(root);
}

ttreenode* tsimpletreeview::AddRootChild(const std::string& text, int imageIndex) {
  ttreenode* root = RootNode();
  if (!root) return nullptr;
  if (imageIndex == -1) return AddChild(root, text, parentImageIndex_, parentSelectedIndex_);
  return AddChild(root, text, imageIndex, imageIndex);
}

bool tsimpletreeview::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "ParentImageIndex") parentImageIndex_ = ParseInt(v);
  else if (n == "ParentSelectedIndex") parentSelectedIndex_ = ParseInt(v);
  else if (n == "ChildImageIndex") childImageIndex_ = ParseInt(v);
  else if (n == "ChildSelectedIndex") childSelectedIndex_ = ParseInt(v);
  else return ttreeview::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
