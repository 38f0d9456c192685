// The about box: the product's name and version, code name and build line.
#pragma once

#include "framework/extctrls.h"
#include "framework/form.h"
#include "framework/stdctrls.h"

namespace pendo {

class Tversionform : public tform {
 public:
  explicit Tversionform(tcomponent* owner);

  timage* IconImage = nullptr;
  tedit* applicationnameedit = nullptr;
  tlabel* projectnamelabel = nullptr;
  tlabel* builddatelabel = nullptr;
  tlabel* Label1 = nullptr;
  tlabel* Label3 = nullptr;

  void FormCreate(tobject* sender);
  void FormKeyDown(tobject* sender, WORD& key, tshiftstate shift);
  void FormClose(tobject* sender, tcloseaction& action);

 protected:
  void DeclarePublished(tresourcecontext& context) override;
};

}  // namespace pendo
