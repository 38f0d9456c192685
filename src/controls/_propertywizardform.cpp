#include "controls/_propertywizardform.h"

#include <stdexcept>

#include "framework/application.h"
#include "framework/bitmap.h"
#include "panels/gdisurface.h"
#include "panels/panelcompose.h"

namespace pendo {

namespace {
using W = Tpropertywizardform;

const char kClock[] = "時計";
const char kElements[] = "表示要素";

// A label of page text at a line of its page.
tcomponentdesc Text(const char* name, const char* page, int left, int top, const char* caption) {
  return {"tlabel", name, page, {{"Left", left}, {"Top", top}, {"Caption", caption}}};
}
// A label of a choice: blue, its accelerator focusing target.
tcomponentdesc Choice(const char* name, const char* page, int left, int top, const char* caption,
                      const char* target) {
  tcomponentdesc d{"tlabel", name, page, {{"Left", left}, {"Top", top}, {"Caption", caption}, {"Font.Color", "clBlue"}}};
  if (target) d.props.push_back({"FocusControl", target});
  return d;
}
tcomponentdesc List(const char* name, const char* page, int left, int top, const char* items,
                    void (W::*change)(tobject*)) {
  return {"tcombobox", name, page,
          {{"Left", left}, {"Top", top}, {"Width", 145}, {"Style", "csDropDownList"}, {"DropDownCount", 12},
           {"Items", items}, {"OnChange", change}}};
}
tcomponentdesc Swatch(const char* name, int top, const char* spoken) {
  return {"tcolorpalettebutton", name, "colorpage",
          {{"Left", 376}, {"Top", top}, {"TabStop", "True"}, {"AccessibleName", spoken},
           {"OnDblClick", &W::colorpalettebuttonDblClick}}};
}

// clang-format off
const tformdesc kPropertywizardform{"propertywizardform",
  {{"Caption", "プロパティウィザード - Property Wizard"}, {"BorderStyle", "bsDialog"}, {"BorderIcons", ""},
   {"ClientWidth", 449}, {"ClientHeight", 319}, {"Position", "poScreenCenter"}, {"KeyPreview", "True"},
   {"Font.Name", "ＭＳ Ｐゴシック"}, {"Font.Height", -12}, {"Font.Color", "clBlack"},
   {"OnCreate", &W::FormCreate}, {"OnDestroy", &W::FormDestroy}, {"OnPaint", &W::FormPaint},
   {"OnKeyDown", &W::FormKeyDown}, {"OnClose", &W::FormClose}},
  {
    {"tcombobox", "PropertyListCBox", "", {{"Left", 8}, {"Top", 9}, {"Width", 433}, {"Style", "csDropDownList"},
                                            {"DropDownCount", 16}, {"OnChange", &W::PropertyListCBoxChange}}},
    {"tbevel", "Bevel1", "", {{"Left", 7}, {"Top", 39}, {"Width", 435}, {"Height", 227}}},
    // The page stored with the form is the last one: a negative "lastpage" leaves it shown.
    {"tnotebook", "propertynote", "", {{"Left", 8}, {"Top", 40}, {"Width", 433}, {"Height", 225}, {"PageIndex", 5}}},
    {"tpage", "intropage", "propertynote", {{"Caption", "導入"}}},
    Text("introlabel1", "intropage", 16, 16, "ダウンロードいただき誠にありがとうございます。"),
    Text("introlabel2", "intropage", 16, 40, "このウィザードでは1問1答の形式で全てのプロパティを設定できます。"),
    Text("introlabel3", "intropage", 16, 64, "プログラムの概要をつかむため、初めて使用される方は全てのプロパティを設定"),
    Text("introlabel4", "intropage", 16, 80, "してみることをお勧めします。"),
    {"tpage", "overviewpage", "propertynote", {{"Caption", "概要"}}},
    Text("overviewlabel1", "overviewpage", 16, 16,
         "プロパティウィザードは基本的に1問1答ですが、上のコンボボックスにより任意の"),
    Text("overviewlabel2", "overviewpage", 16, 32, "ページを開くこともできます。"),
    Text("overviewlabel3", "overviewpage", 16, 56, "初めてご使用になる方は、このまま「次へ」をクリックして下さい。"),
    {"tpage", "elementpage", "propertynote", {{"Caption", "表示要素"}}},
    Text("elementlabel", "elementpage", 16, 16, "表示要素を選択して下さい。"),
    {"tcheckbox", "DateCBox", "elementpage", {{"Left", 32}, {"Top", 48}, {"Width", 97}, {"Height", 17},
                                               {"Caption", "時計(&W)"}, {"Font.Color", "clBlue"},
                                               {"OnClick", &W::DateCBoxClick}}},
    Text("datenotelabel", "elementpage", 144, 50, "日付および時刻を表示します。"),
    {"tpage", "colorpage", "propertynote", {{"Caption", "カラーパレット"}}},
    Text("colorlabel", "colorpage", 16, 16, "ゲージの色、フォントなどを変更できます。"),
    {"tsimpletreeview", "configrationlist", "colorpage",
     {{"Left", 16}, {"Top", 40}, {"Width", 193}, {"Height", 161}, {"HideSelection", "False"}, {"ReadOnly", "True"},
      {"Items", std::string(kElements) + "\n\t" + kClock}, {"OnChange", &W::configrationlistChange}}},
    Choice("gaugecolorlabel", "colorpage", 224, 44, "ゲージ色(&G)", nullptr),
    Swatch("gaugecolorpalettebutton", 40, "ゲージ色"),
    Choice("titlefontlabel", "colorpage", 224, 76, "タイトルフォント", nullptr),
    {"tbutton", "changetitlefontbutton", "colorpage", {{"Left", 360}, {"Top", 71}, {"Width", 52}, {"Height", 22},
                                                         {"Caption", "変更(&C)"},
                                                         {"OnClick", &W::changetitlefontbuttonClick}}},
    Choice("titlecolorlabel", "colorpage", 224, 108, "タイトルフォント色(&T)", nullptr),
    Swatch("titlecolorpalettebutton", 104, "タイトルフォント色"),
    Choice("valuefontlabel", "colorpage", 224, 140, "要素フォント", nullptr),
    {"tbutton", "changevaluefontbutton", "colorpage", {{"Left", 360}, {"Top", 135}, {"Width", 52}, {"Height", 22},
                                                         {"Caption", "変更(&D)"},
                                                         {"OnClick", &W::changevaluefontbuttonClick}}},
    Choice("valuecolorlabel", "colorpage", 224, 172, "要素フォント色(&V)", nullptr),
    Swatch("valuecolorpalettebutton", 168, "要素フォント色"),
    // The swatches take no accelerators themselves; these carry Alt+G, Alt+T and Alt+V to them.
    {"tlabel", "dummygaugelabel", "colorpage", {{"Caption", "dummy(&G)"}, {"Visible", "False"},
                                                 {"FocusControl", "gaugecolorpalettebutton"}}},
    {"tlabel", "dummytitlelabel", "colorpage", {{"Caption", "dummy(&T)"}, {"Visible", "False"},
                                                 {"FocusControl", "titlecolorpalettebutton"}}},
    {"tlabel", "dummyvaluelabel", "colorpage", {{"Caption", "dummy(&V)"}, {"Visible", "False"},
                                                 {"FocusControl", "valuecolorpalettebutton"}}},
    {"tpage", "transparencypage", "propertynote", {{"Caption", "透過処理"}}},
    Text("transparencylabel", "transparencypage", 16, 16, "パネルのバック／フォアグラウンドを透過させることができます。"),
    Choice("transparentbackgroundlabel", "transparencypage", 32, 52, "バックグラウンド(&B)",
           "transparentbackgroundcbox"),
    List("transparentbackgroundcbox", "transparencypage", 160, 48, "実体|透過", &W::transparentbackgroundcboxChange),
    Choice("transparentforegroundlabel", "transparencypage", 32, 84, "フォアグラウンド(&F)",
           "transparentforegroundcbox"),
    List("transparentforegroundcbox", "transparencypage", 160, 80, "実体|透過", &W::transparentforegroundcboxChange),
    Choice("transparentbackgroundhalftonelabel", "transparencypage", 32, 116, "透過深度(&T)",
           "transparentbackgroundhalftonecbox"),
    List("transparentbackgroundhalftonecbox", "transparencypage", 160, 112, "100%透過|50%透過",
         &W::transparentbackgroundhalftonecboxChange),
    {"timage", "seethroughimage", "transparencypage", {{"Left", 336}, {"Top", 48}, {"Width", 73}, {"Height", 30}}},
    Text("seethroughlabel", "transparencypage", 360, 82, "透過"),
    {"timage", "solidimage", "transparencypage", {{"Left", 336}, {"Top", 112}, {"Width", 73}, {"Height", 30}}},
    Text("solidlabel", "transparencypage", 360, 146, "実体"),
    Text("loadnotelabel", "transparencypage", 16, 192, "どのような組み合わせでも負荷は同じです。"),
    {"tpage", "effectpage", "propertynote", {{"Caption", "エフェクト"}}},
    Text("effectlabel", "effectpage", 16, 16, "エフェクトの有効／無効を設定できます。"),
    Choice("horizontalnoiselabel", "effectpage", 32, 52, "ホリゾンタルノイズ(&O)", "horizontalnoisecbox"),
    List("horizontalnoisecbox", "effectpage", 176, 48, "なし|あり", &W::horizontalnoisecboxChange),
    Choice("interlacelabel", "effectpage", 32, 84, "インターレース(&I)", "interlacecbox"),
    List("interlacecbox", "effectpage", 176, 80, "なし|あり", &W::interlacecboxChange),
    {"tlabel", "PageLabel", "", {{"Left", 8}, {"Top", 272}, {"Caption", "Property： 0/0"}}},
    {"tbutton", "PrevButton", "", {{"Left", 192}, {"Top", 272}, {"Width", 81}, {"Height", 25},
                                    {"Caption", "<< 戻る(&P)"}, {"Font.Style", "fsUnderline"},
                                    {"OnClick", &W::PrevButtonClick}}},
    {"tbutton", "NextButton", "", {{"Left", 272}, {"Top", 272}, {"Width", 81}, {"Height", 25},
                                    {"Caption", "次へ(&N)"}, {"Font.Style", "fsUnderline"},
                                    {"OnClick", &W::NextButtonClick}}},
    {"tbutton", "CloseButton", "", {{"Left", 360}, {"Top", 272}, {"Width", 81}, {"Height", 25},
                                     {"Caption", "閉じる(&C)"}, {"Font.Style", "fsUnderline"}, {"Default", "True"},
                                     {"Cancel", "True"}, {"ModalResult", "mrOk"}}},
    {"tstatusbar", "StatusBar", "", {{"Panels", "50"}, {"SizeGrip", "False"}}},
    {"tfontdialog", "fontdialog", "", {{"Options", "fdAnsiOnly"}}},
    {"tcolordialogex", "colordialogex", "", {{"Ctl3D", "True"}}},
  }};
// clang-format on

twizardframe Frame() {
  twizardframe f;
  f.notebook = "propertynote";
  f.counterPrefix = "Property: ";
  return f;
}
}  // namespace

Tpropertywizardform::Tpropertywizardform(tcomponent* owner, tobservable<tclocklook>& look)
    : twizardform(owner, kPropertywizardform, Frame()), look_(look) {}

void Tpropertywizardform::DeclarePublished(tresourcecontext& c) {
  twizardform::DeclarePublished(c);
  c.Field("CloseButton", CloseButton);
  c.Field("StatusBar", StatusBar);
  c.Field("fontdialog", fontdialog);
  c.Field("colordialogex", colordialogex);
  c.Field("DateCBox", DateCBox);
  c.Field("configrationlist", configrationlist);
  c.Field("gaugecolorpalettebutton", gaugecolorpalettebutton);
  c.Field("titlecolorpalettebutton", titlecolorpalettebutton);
  c.Field("valuecolorpalettebutton", valuecolorpalettebutton);
  c.Field("changetitlefontbutton", changetitlefontbutton);
  c.Field("changevaluefontbutton", changevaluefontbutton);
  c.Field("transparentbackgroundcbox", transparentbackgroundcbox);
  c.Field("transparentforegroundcbox", transparentforegroundcbox);
  c.Field("transparentbackgroundhalftonecbox", transparentbackgroundhalftonecbox);
  c.Field("horizontalnoisecbox", horizontalnoisecbox);
  c.Field("interlacecbox", interlacecbox);
  c.Field("seethroughimage", seethroughimage);
  c.Field("solidimage", solidimage);
}

void Tpropertywizardform::FormCreate(tobject*) {
  OpenFrame();
  DrawSamples();
  configrationlist->FullExpand();
  ttreenode* root = configrationlist->RootNode();
  configrationlist->SetSelected(root ? root->GetFirstChild() : nullptr);
  configrationlistChange(configrationlist);
  auto index = [](bool v) { return v ? 1 : 0; };
  const tclocklook& look = look_.Get();
  interlacecbox->SetItemIndex(index(look.interlace));
  horizontalnoisecbox->SetItemIndex(index(look.horizontalNoise));
  transparentforegroundcbox->SetItemIndex(index(look.transparentForeground));
  transparentbackgroundhalftonecbox->SetItemIndex(index(look.transparentBackgroundHalftone));
  transparentbackgroundcbox->SetItemIndex(index(look.transparentBackground));
  DateCBox->SetChecked(look.visible);
  RestoreLastPage(1, true);
}

void Tpropertywizardform::FormDestroy(tobject*) { CloseFrame(); }

void Tpropertywizardform::FormPaint(tobject*) { UpdatePageControls(); }

void Tpropertywizardform::FormKeyDown(tobject*, WORD& key, tshiftstate shift) { PageKey(key, shift); }

void Tpropertywizardform::FormClose(tobject*, tcloseaction& action) { action = tcloseaction::caFree; }

void Tpropertywizardform::PropertyListCBoxChange(tobject*) { ShowPage(PageList()->ItemIndex()); }
void Tpropertywizardform::PrevButtonClick(tobject*) { PrevPage(); }
void Tpropertywizardform::NextButtonClick(tobject*) { NextPage(); }

void Tpropertywizardform::DateCBoxClick(tobject*) {
  const bool shown = DateCBox->Checked();
  look_.Update([shown](tclocklook& look) { look.visible = shown; });
}

bool Tpropertywizardform::ClockSelected() const {
  ttreenode* node = configrationlist->Selected();
  return node && node->Text() == kClock;
}

void Tpropertywizardform::configrationlistChange(tobject*) {
  tcontrol* const editors[] = {gaugecolorpalettebutton, titlecolorpalettebutton, valuecolorpalettebutton,
                               changetitlefontbutton, changevaluefontbutton};
  ttreenode* node = configrationlist->Selected();
  const bool element = node && node != configrationlist->RootNode();
  for (tcontrol* c : editors) c->SetEnabled(element);
  if (!ClockSelected()) return;
  // The clock has no bar gauge to colour.
  gaugecolorpalettebutton->SetEnabled(false);
  const tclocklook& look = look_.Get();
  titlefont_ = FontOf(look.titleFont);
  titlecolorpalettebutton->SetColor(look.titleColor);
  valuefont_ = FontOf(look.valueFont);
  valuecolorpalettebutton->SetColor(look.valueColor);
}

void Tpropertywizardform::colorpalettebuttonDblClick(tobject* sender) {
  auto* swatch = dynamic_cast<tcolorpalettebutton*>(sender);
  if (!swatch || !swatch->Enabled()) return;
  // The dialog starts on the colour chosen last in it, not on the swatch's.
  if (!colordialogex->Execute()) return;
  swatch->SetColor(colordialogex->Color());
  Apply();
}

void Tpropertywizardform::changetitlefontbuttonClick(tobject*) {
  fontdialog->Font() = titlefont_;
  if (!fontdialog->Execute()) return;
  titlefont_ = fontdialog->Font();
  Apply();
}

void Tpropertywizardform::changevaluefontbuttonClick(tobject*) {
  fontdialog->Font() = valuefont_;
  if (!fontdialog->Execute()) return;
  valuefont_ = fontdialog->Font();
  Apply();
}

void Tpropertywizardform::Apply() {
  if (!ClockSelected()) return;
  const tfontlook title = FontLookOf(titlefont_), value = FontLookOf(valuefont_);
  const tlookcolor titleColor = titlecolorpalettebutton->Color(), valueColor = valuecolorpalettebutton->Color();
  look_.Update([&](tclocklook& look) {
    look.titleColor = titleColor;
    look.valueColor = valueColor;
    look.titleFont = title;
    look.valueFont = value;
  });
}

void Tpropertywizardform::SwitchFromList(tcombobox* list, bool tclocklook::*field) {
  const int index = list->ItemIndex();
  if (index != 0 && index != 1) return;
  look_.Update([&](tclocklook& look) { look.*field = index == 1; });
}

void Tpropertywizardform::transparentbackgroundcboxChange(tobject*) {
  SwitchFromList(transparentbackgroundcbox, &tclocklook::transparentBackground);
}

void Tpropertywizardform::transparentforegroundcboxChange(tobject*) {
  SwitchFromList(transparentforegroundcbox, &tclocklook::transparentForeground);
}

void Tpropertywizardform::transparentbackgroundhalftonecboxChange(tobject*) {
  SwitchFromList(transparentbackgroundhalftonecbox, &tclocklook::transparentBackgroundHalftone);
}

void Tpropertywizardform::horizontalnoisecboxChange(tobject*) {
  SwitchFromList(horizontalnoisecbox, &tclocklook::horizontalNoise);
}

void Tpropertywizardform::interlacecboxChange(tobject*) { SwitchFromList(interlacecbox, &tclocklook::interlace); }

void Tpropertywizardform::ChangeDpi(int dpi) {
  twizardform::ChangeDpi(dpi);
  // The samples are pictures, drawn anew at their images' new size.
  if (seethroughimage && solidimage) DrawSamples();
}

void Tpropertywizardform::DrawSamples() {
  // A clock over a made-up desktop, seen through at half strength, and the
  // same clock on its own silver.
  const int w = Scaled(73), h = Scaled(30), px = Scaled(1);
  auto panel = [&](tbitmap& b) {
    tcanvas& c = b.Canvas();
    for (int i = 0; i < px; ++i) {
      c.Pen.SetColor(clGray);
      c.MoveTo(0, i);
      c.LineTo(w, i);
      c.MoveTo(0, px + i);
      c.LineTo(w, px + i);
      c.MoveTo(i, px);
      c.LineTo(i, h);
      c.Pen.SetColor(clWhite);
      c.MoveTo(w - 1 - i, px);
      c.LineTo(w - 1 - i, h);
      c.MoveTo(px, h - 1 - i);
      c.LineTo(w - 1, h - 1 - i);
    }
    c.Brush.SetStyle(tbrushstyle::bsClear);
    c.Font.SetName("Arial");
    c.Font.SetHeight(-Scaled(11));
    c.Font.SetColor(clNavy);
    c.TextOut(Scaled(3), px, "Date");
    c.Font.SetColor(clBlack);
    c.TextOut(w - Scaled(3) - c.TextWidth("12:34"), h - c.TextHeight("12:34") + px, "12:34");
  };
  tgdisurface solid(w, h);
  DrawGradation(solid, clSilver);
  panel(solid.Bitmap());
  tgdisurface seethrough(w, h);
  {
    tcanvas& c = seethrough.Bitmap().Canvas();
    c.Pen.SetColor(0x808000);
    c.Brush.SetColor(0x808000);
    c.Rectangle(0, 0, w, h);
    const tcolor stripes[] = {0x00C0FF, 0x40A040, 0xFF8040};
    for (int i = 0; i < 6; ++i) {
      c.Pen.SetColor(stripes[i % 3]);
      c.Brush.SetColor(stripes[i % 3]);
      const int x = Scaled(i * 14 - 10);
      c.Polygon({{x, 0}, {x + Scaled(7), 0}, {x + Scaled(17), h}, {x + Scaled(10), h}});
    }
  }
  tgdisurface white(w, h);
  white.Fill(0, 0, w, h, clWhite);
  seethrough.MixHalf(white);
  panel(seethrough.Bitmap());
  seethroughimage->Picture().SetGraphic(std::make_unique<tbitmap>(seethrough.Bitmap()));
  solidimage->Picture().SetGraphic(std::make_unique<tbitmap>(solid.Bitmap()));
}

}  // namespace pendo
