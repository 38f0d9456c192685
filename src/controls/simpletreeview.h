// The tree view of the wizards: one top node, the root, stored with the form,
// whose children are the items a wizard lists and rebuilds.
#pragma once

#include <string>
#include <vector>

#include "framework/comctrls.h"

namespace pendo {

class tsimpletreeview : public ttreeview {
 public:
  explicit tsimpletreeview(tcomponent* owner);

  // Images of a node added with index -1.
  int ParentImageIndex() const { return parentImageIndex_; }
  void SetParentImageIndex(int v) { parentImageIndex_ = v; }
  int ParentSelectedIndex() const { return parentSelectedIndex_; }
  void SetParentSelectedIndex(int v) { parentSelectedIndex_ = v; }
  // Kept for the form description; nothing here uses them.
  int ChildImageIndex() const { return childImageIndex_; }
  void SetChildImageIndex(int v) { childImageIndex_ = v; }
  int ChildSelectedIndex() const { return childSelectedIndex_; }
  void SetChildSelectedIndex(int v) { childSelectedIndex_ = v; }

  // The first top-level node, or null when the tree is empty.
  ttreenode* RootNode() const { return TopItem(0); }
  // Deletes the root's children, first child first; the root stays.
  void ClearRoot();
  // A new last child of the root; index -1 takes the parent image indexes,
  // any other index is both images. Without a root nothing is added (null).
  ttreenode* AddRootChild(const std::string& text, int imageIndex);
  // Makes the root's children show texts, in this order: a node whose text
  // is still there is kept (with its images) and moved, the others deleted,
  // and texts without one added as AddRootChild does. A long list that is
  // only sorted or grows by one is so not built anew.
  void SetRootChildren(const std::vector<std::string>& texts, int imageIndex);

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  int parentImageIndex_ = 0, parentSelectedIndex_ = 0, childImageIndex_ = 0, childSelectedIndex_ = 0;
};

}  // namespace pendo
