// The common controls: tree view with its nodes and image list, progress
// bar and status bar.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/wincontrol.h"

namespace pendo {

// Loads and starts the common controls' library before the first of its
// windows or image lists is made: the clock alone never loads it.
void UseCommonControls();

class ttreeview;

// One node of a tree view. The tree owns its nodes; a node lives until it or
// one of its ancestors is deleted, or the tree is cleared or freed.
class ttreenode {
 public:
  ttreenode(const ttreenode&) = delete;
  ttreenode& operator=(const ttreenode&) = delete;

  ttreeview* TreeView() const { return tree_; }
  HTREEITEM ItemId() const { return item_; }
  ttreenode* Parent() const { return parent_; }
  // Position among its siblings.
  int Index() const;
  int Count() const { return static_cast<int>(children_.size()); }
  ttreenode* Item(int index) const;
  ttreenode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
  ttreenode* GetLastChild() const { return children_.empty() ? nullptr : children_.back().get(); }

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  int SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int index);

  bool Selected() const;
  void Expand(bool recurse);
  bool Expanded() const;
  // Removes the node and its children from the tree; the object is freed.
  void Delete();

 private:
  friend class ttreeview;
  ttreenode(ttreeview* tree, ttreenode* parent, std::string text) : tree_(tree), parent_(parent), text_(std::move(text)) {}
  void SetImages();
  ttreeview* tree_;
  ttreenode* parent_;
  HTREEITEM item_ = nullptr;
  std::string text_;
  int imageIndex_ = -1, selectedIndex_ = -1;
  bool textCallback_ = false;
  std::vector<std::unique_ptr<ttreenode>> children_;
};

// A list of small images of one size, shared by the controls that show them.
class timagelist : public tcomponent {
 public:
  explicit timagelist(tcomponent* owner);
  ~timagelist() override;
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const;
  // Adds a picture of Width by Height (or a strip of them); pixels of the
  // mask colour stay transparent. Returns the index of the first image.
  int AddMasked(HBITMAP bitmap, COLORREF mask);
  HIMAGELIST Handle();
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  int width_ = 16, height_ = 16;
  HIMAGELIST handle_ = nullptr;
};

// Signature of the label editing query: set the flag false to refuse.
using ttveditingevent = std::function<void(tobject* sender, bool& allowEdit)>;

class ttreeview : public twincontrol {
 public:
  explicit ttreeview(tcomponent* owner);
  ~ttreeview() override;

  // Adds a node as the last child of parent (null: at the top) and returns it.
  ttreenode* AddChild(ttreenode* parent, const std::string& text, int imageIndex = 0, int selectedIndex = 0);
  // Top-level nodes.
  int TopCount() const { return static_cast<int>(top_.size()); }
  ttreenode* TopItem(int index) const;
  // All nodes, at every level.
  int Count() const { return count_; }
  void Clear();
  // Deletes the children of a node, first child first.
  void DeleteChildren(ttreenode* node);
  // Puts the children of parent (null: the top-level nodes) in the given
  // order, which names each of them once. The nodes stay as they are, texts
  // and selection included, so a long list is reordered without rebuilding it.
  void ReorderChildren(ttreenode* parent, const std::vector<ttreenode*>& order);
  void FullExpand();

  ttreenode* Selected() const;
  void SetSelected(ttreenode* node);
  // The node at a point of the client area, or null.
  ttreenode* NodeAt(int x, int y) const;

  // Redrawing is suspended between the two, for filling many nodes.
  void BeginUpdate();
  void EndUpdate();

  timagelist* Images() const { return images_; }
  void SetImages(timagelist* images);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v);

  tnotifyevent OnChange;
  ttveditingevent OnEditing;
  bool Notify(NMHDR* header, LRESULT& result) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;
  void Notification(tcomponent* component) override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void HandleCreated() override;

 private:
  friend class ttreenode;
  void InsertItem(ttreenode* node);
  void ForgetNode(ttreenode* node);
  void AddItems(const std::string& description);
  static ttreenode* NodeOf(const TVITEMW& item) { return reinterpret_cast<ttreenode*>(item.lParam); }

  std::vector<std::unique_ptr<ttreenode>> top_;
  int count_ = 0;
  int updating_ = 0;
  timagelist* images_ = nullptr;
  bool readOnly_ = false, hideSelection_ = true;
  std::string pendingItems_;
};

class tprogressbar : public twincontrol {
 public:
  explicit tprogressbar(tcomponent* owner);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Position() const;
  void SetPosition(int position);
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void HandleCreated() override;

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

enum class tpanelbevel { pbNone, pbLowered, pbRaised };

class tstatusbar : public twincontrol {
 public:
  explicit tstatusbar(tcomponent* owner);
  const std::string& SimpleText() const { return caption_; }
  void SetSimpleText(const std::string& text) { SetCaption(text); }
  // The text shown in the first panel, or the whole bar without panels.
  std::string DisplayedText() const { return PanelText(0); }

  // Panels from left to right, each of its width; none shows one part.
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  void SetPanels(const std::vector<int>& widths);
  int PanelWidth(int index) const;
  std::string PanelText(int index) const;
  void SetPanelText(int index, const std::string& text);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);
  // The frame drawn around every panel.
  tpanelbevel PanelBevel() const { return panelBevel_; }
  void SetPanelBevel(tpanelbevel bevel);
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void HandleCreated() override;
  void CaptionChanged() override;

 private:
  struct tpanel {
    int width;
    std::string text;
  };
  void ApplyPanels();
  void ShowPanelText(int index) const;
  std::vector<tpanel> panels_;
  bool sizeGrip_ = true;
  tpanelbevel panelBevel_ = tpanelbevel::pbLowered;
};

}  // namespace pendo
