// The property wizard: one question per page about the clock's look, each
// answer applied to the live clock behind the dialog at once. There is no
// cancel; closing keeps everything, and the page shown last is remembered.
#pragma once

#include "controls/colordialogex.h"
#include "controls/colorpalettebutton.h"
#include "controls/simpletreeview.h"
#include "controls/wizardform.h"
#include "framework/comctrls.h"
#include "framework/fontdialog.h"
#include "framework/menus.h"
#include "framework/timer.h"
#include "panels/clocklook.h"
#include "settings/observable.h"

namespace pendo {

class Tpropertywizardform : public twizardform {
 public:
  // The wizard edits look, the clock's, which its owner and views follow.
  Tpropertywizardform(tcomponent* owner, tobservable<tclocklook>& look);

  // Components of the form description.
  // (PropertyListCBox, propertynote, PageLabel, PrevButton and NextButton
  // are the frame's: PageList(), Notebook()...)
  tbutton* CloseButton = nullptr;
  tstatusbar* StatusBar = nullptr;
  tfontdialog* fontdialog = nullptr;
  tcolordialogex* colordialogex = nullptr;
  tcheckbox* DateCBox = nullptr;
  tsimpletreeview* configrationlist = nullptr;
  tcolorpalettebutton* gaugecolorpalettebutton = nullptr;
  tcolorpalettebutton* titlecolorpalettebutton = nullptr;
  tcolorpalettebutton* valuecolorpalettebutton = nullptr;
  tbutton* changetitlefontbutton = nullptr;
  tbutton* changevaluefontbutton = nullptr;
  tcombobox* transparentbackgroundcbox = nullptr;
  tcombobox* transparentforegroundcbox = nullptr;
  tcombobox* transparentbackgroundhalftonecbox = nullptr;
  tcombobox* horizontalnoisecbox = nullptr;
  tcombobox* interlacecbox = nullptr;
  timage* seethroughimage = nullptr;
  timage* solidimage = nullptr;

  // The fonts being edited, applied to the clock on a confirmed choice.
  const tfont& TitleFontCopy() const { return titlefont_; }
  const tfont& ValueFontCopy() const { return valuefont_; }

  // Handlers.
  void FormCreate(tobject* sender);
  void FormDestroy(tobject* sender);
  void FormPaint(tobject* sender);
  void FormKeyDown(tobject* sender, WORD& key, tshiftstate shift);
  void FormClose(tobject* sender, tcloseaction& action);
  void PropertyListCBoxChange(tobject* sender);
  void PrevButtonClick(tobject* sender);
  void NextButtonClick(tobject* sender);
  void DateCBoxClick(tobject* sender);
  void configrationlistChange(tobject* sender);
  void colorpalettebuttonDblClick(tobject* sender);
  void changetitlefontbuttonClick(tobject* sender);
  void changevaluefontbuttonClick(tobject* sender);
  void transparentbackgroundcboxChange(tobject* sender);
  void transparentforegroundcboxChange(tobject* sender);
  void transparentbackgroundhalftonecboxChange(tobject* sender);
  void horizontalnoisecboxChange(tobject* sender);
  void interlacecboxChange(tobject* sender);

 protected:
  void DeclarePublished(tresourcecontext& context) override;
  void ChangeDpi(int dpi) override;

 private:
  // The look takes the swatches' colours and the font copies, while the
  // clock is the element chosen.
  void Apply();
  bool ClockSelected() const;
  // A see-through switch chosen in a list; no choice changes nothing.
  void SwitchFromList(tcombobox* list, bool tclocklook::*field);
  void DrawSamples();

  tobservable<tclocklook>& look_;
  tfont titlefont_, valuefont_;
};

}  // namespace pendo
