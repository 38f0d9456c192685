#include "app/_mainform.h"

#include "app/buildinfo.h"

namespace pendo {

namespace {
// clang-format off
const tformdesc kMainform{"mainform",
  {{"Left", 40}, {"Top", 114}, {"ClientWidth", 117}, {"ClientHeight", 32}, {"Scaled", "False"},
   {"Font.Name", "ＭＳ Ｐゴシック"}, {"Font.Height", -12},
   {"OnCloseQuery", "FormCloseQuery"}, {"OnClose", "FormClose"}},
  {
    {"tversiondialog", "versiondialog", "",
     {{"ApplicationTitle", "Sorvek Pendo + Short Message"}, {"ProjectTitle", "Velmora"},
      {"VersionValue", "v2.05k0.95-98"}, {"BuildDateValue", kBuildLine}, {"SmallIcon", "SMALLICON"}}},
  }};
// clang-format on
}  // namespace

Tmainform::Tmainform(tcomponent* owner) : ttransparentprimaryform(owner, kMainform) {}

void Tmainform::DeclarePublished(tresourcecontext& c) {
  c.RegisterClass<tversiondialog>("tversiondialog");
  c.Field("versiondialog", versiondialog);
  c.Method("FormCloseQuery", this, &Tmainform::FormCloseQuery);
  c.Method("FormClose", this, &Tmainform::FormClose);
}

void Tmainform::SetDefaultPlacement() {
  defaultleft = 40;
  defaulttop = 114;
  defaultclientwidth = 117;
  defaultclientheight = 32;
  Setversiondialogalias(versiondialog);
}

void Tmainform::FormCloseQuery(tobject*, bool& canClose) { canClose = true; }

void Tmainform::FormClose(tobject*, tcloseaction& action) { action = tcloseaction::caFree; }

LRESULT Tmainform::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCloseMessage) {
    Close();
    return 0;
  }
  return ttransparentprimaryform::WndProc(msg, wp, lp);
}

}  // namespace pendo
