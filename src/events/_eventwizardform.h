// The event wizard: the chime and notice sounds as a fixed tree of events;
// the sound text typed or browsed for the selected event goes straight into
// the main window's settings, which the scheduler uses from its next pass.
#pragma once

#include <string>

#include "controls/simpletreeview.h"
#include "controls/wizardform.h"
#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "notices/eventsoundsettings.h"

namespace pendo {

class tprimaryform;

class Teventwizardform : public twizardform {
 public:
  // settings: the main window's sounds; mainwindow: kept from hiding the
  // file dialog while it is open.
  Teventwizardform(tcomponent* owner, teventsoundsettings& settings, tprimaryform* mainwindow);

  tstatusbar* StatusBar1 = nullptr;
  tlabel* executeelementtitlelabel = nullptr;
  tedit* executeelementedit = nullptr;
  tbutton* executeelementbrowsebutton = nullptr;
  tbutton* executeelementtestbutton = nullptr;
  tsimpletreeview* eventlist = nullptr;
  tbutton* okbutton = nullptr;
  topendialog* opendialog = nullptr;
  timagelist* imagelist = nullptr;

  void FormCreate(tobject* sender);
  void FormClose(tobject* sender, tcloseaction& action);
  void FormDestroy(tobject* sender);
  void eventlistChange(tobject* sender);
  void eventlistDblClick(tobject* sender);
  void executeelementeditChange(tobject* sender);
  void executeelementbrowsebuttonClick(tobject* sender);
  void executeelementtestbuttonClick(tobject* sender);

 protected:
  void DeclarePublished(tresourcecontext& context) override;

 private:
  // The selected node when it is an event item (below the group), else null.
  ttreenode* SelectedEventItem() const;
  std::string* SelectedSetting() const;

  teventsoundsettings& settings_;
  tprimaryform* mainwindow_;
};

}  // namespace pendo
