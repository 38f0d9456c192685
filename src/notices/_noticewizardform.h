// The notice wizard: the notice list as a tree under "通知項目", each change
// of a control written into the selected record at once, so the scheduler
// sees every edit; a pop-up menu adds, deletes and sorts.
#pragma once

#include <functional>
#include <string>

#include "controls/simpletreeview.h"
#include "controls/wizardform.h"
#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/menus.h"
#include "notices/noticelist.h"

namespace pendo {

class tprimaryform;

class Tnoticewizardform : public twizardform {
 public:
  using tshownotice = std::function<void(const std::string& message)>;
  // list: the main window's notices, edited in place; mainwindow: kept from
  // hiding the file dialog; shownotice: opens a notice window as a due
  // notice does.
  Tnoticewizardform(tcomponent* owner, tnoticelist& list, tprimaryform* mainwindow, tshownotice shownotice);

  tstatusbar* StatusBar1 = nullptr;
  tbutton* closebutton = nullptr;
  tlabel* timelabel = nullptr;
  tcombobox* typecbox = nullptr;
  tcombobox* dayofweekcbox = nullptr;
  tcombobox* monthcbox = nullptr;
  tcombobox* daycbox = nullptr;
  tcombobox* hourcbox = nullptr;
  tcombobox* minutecbox = nullptr;
  tlabel* messagelabel = nullptr;
  tedit* messageedit = nullptr;
  tbutton* browsebutton = nullptr;
  tbutton* testbutton = nullptr;
  tsimpletreeview* noticetree = nullptr;
  topendialog* opendialog = nullptr;
  timagelist* imagelist = nullptr;
  tpopupmenu* pop = nullptr;
  tmenuitem* KA1 = nullptr;
  tmenuitem* deletebutton = nullptr;
  tmenuitem* K1 = nullptr;
  tmenuitem* KR1 = nullptr;

  void RebuildNoticeTree();
  void RefreshSelectedNotice();
  void StoreSelectedNotice();
  void UpdatePageControls() { twizardform::UpdatePageControls(); }

  void FormCreate(tobject* sender);
  void FormPaint(tobject* sender);
  void FormClose(tobject* sender, tcloseaction& action);
  void FormDestroy(tobject* sender);
  void FormKeyDown(tobject* sender, WORD& key, tshiftstate shift);
  void NextButtonClick(tobject* sender);
  void PrevButtonClick(tobject* sender);
  void noticetreeChange(tobject* sender);
  void noticetreeEditing(tobject* sender, bool& allowEdit);
  void noticetreeKeyDown(tobject* sender, WORD& key, tshiftstate shift);
  void noticetreeDblClick(tobject* sender);
  void typecboxChange(tobject* sender);
  void dayofweekcboxChange(tobject* sender);
  void typecboxKeyDown(tobject* sender, WORD& key, tshiftstate shift);
  void KA1Click(tobject* sender);
  void deletebuttonClick(tobject* sender);
  void K1Click(tobject* sender);
  void popPopup(tobject* sender);
  void browsebuttonClick(tobject* sender);
  void testbuttonClick(tobject* sender);

 protected:
  void DeclarePublished(tresourcecontext& context) override;

 private:
  // The selected node when it is a notice (any node but the root), else null.
  ttreenode* SelectedNotice() const;
  void ApplyTypeVisibility(int type);
  void EnableEditing(bool enabled);
  bool EditingControlFocused() const;

  tnoticelist& list_;
  tprimaryform* mainwindow_;
  tshownotice shownotice_;
  bool loading_ = false;
};

}  // namespace pendo
