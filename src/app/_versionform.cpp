#include "app/_versionform.h"

#include "framework/application.h"
#include "framework/icon.h"

namespace pendo {

namespace {
// clang-format off
const tformdesc kVersionform{"versionform",
  {{"Caption", "バージョン情報 - About"}, {"BorderStyle", "bsDialog"}, {"BorderIcons", "biSystemMenu"},
   {"ClientWidth", 379}, {"ClientHeight", 145}, {"Position", "poScreenCenter"}, {"Scaled", "False"},
   {"Font.Name", "ＭＳ Ｐゴシック"}, {"Font.Height", -12}, {"KeyPreview", "True"},
   {"OnCreate", &Tversionform::FormCreate}, {"OnKeyDown", &Tversionform::FormKeyDown},
   {"OnClose", &Tversionform::FormClose}},
  {
    {"timage", "IconImage", "", {{"Left", 17}, {"Top", 16}, {"Width", 32}, {"Height", 33}}},
    {"tedit", "applicationnameedit", "",
     {{"Left", 64}, {"Top", 16}, {"Width", 289}, {"Height", 22}, {"ReadOnly", "True"}, {"Color", "clBtnFace"},
      {"Font.Name", "Arial"}, {"Font.Height", -11}}},
    {"tlabel", "projectnamelabel", "", {{"Left", 64}, {"Top", 40}, {"Font.Name", "Arial"}, {"Font.Height", -11}}},
    {"tlabel", "builddatelabel", "",
     {{"Left", 64}, {"Top", 56}, {"Font.Name", "Arial"}, {"Font.Height", -11}, {"Font.Color", "clBlue"}}},
    {"tlabel", "Label1", "",
     {{"Left", 64}, {"Top", 72}, {"Font.Name", "Arial"}, {"Font.Height", -11},
      {"Caption", "Win32 Application for WIndows95-98."}}},
    {"tlabel", "Label3", "",
     {{"Left", 64}, {"Top", 96}, {"Font.Name", "Arial"}, {"Font.Height", -11},
      {"Caption", "Copyright (C) Sorvek Software. All rights reserved."}}},
  }};
// clang-format on
}  // namespace

Tversionform::Tversionform(tcomponent* owner) : tform(owner, kVersionform) {}

void Tversionform::DeclarePublished(tresourcecontext& c) {
  c.Field("IconImage", IconImage);
  c.Field("applicationnameedit", applicationnameedit);
  c.Field("projectnamelabel", projectnamelabel);
  c.Field("builddatelabel", builddatelabel);
  c.Field("Label1", Label1);
  c.Field("Label3", Label3);
}

void Tversionform::FormCreate(tobject*) {
  auto icon = std::make_unique<ticon>();
  icon->AssignHandle(Application->Icon());
  IconImage->Picture().SetGraphic(std::move(icon));
}

void Tversionform::FormKeyDown(tobject*, WORD& key, tshiftstate) {
  if (key == VK_ESCAPE || key == VK_RETURN) SetModalResult(mrOk);
}

void Tversionform::FormClose(tobject*, tcloseaction& action) { action = tcloseaction::caFree; }

}  // namespace pendo
