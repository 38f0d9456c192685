#include "controls/simpletreeview.h"

#include <unordered_map>

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

void tsimpletreeview::SetRootChildren(const std::vector<std::string>& texts, int imageIndex) {
  ttreenode* root = RootNode();
  if (!root) return;
  // Each text's nodes, the last one first, so equal texts keep their order.
  std::unordered_map<std::string, std::vector<ttreenode*>> kept;
  for (int i = root->Count() - 1; i >= 0; --i) kept[root->Item(i)->Text()].push_back(root->Item(i));
  std::vector<ttreenode*> order(texts.size(), nullptr);
  for (size_t i = 0; i < texts.size(); ++i) {
    auto it = kept.find(texts[i]);
    if (it == kept.end() || it->second.empty()) continue;
    order[i] = it->second.back();
    it->second.pop_back();
  }
  for (auto& unused : kept)
    for (ttreenode* node : unused.second) node->Delete();
  for (size_t i = 0; i < texts.size(); ++i)
    if (!order[i]) order[i] = AddRootChild(texts[i], imageIndex);
  bool inPlace = true;
  for (size_t i = 0; inPlace && i < order.size(); ++i) inPlace = root->Item(static_cast<int>(i)) == order[i];
  if (!inPlace) ReorderChildren(root, order);
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
