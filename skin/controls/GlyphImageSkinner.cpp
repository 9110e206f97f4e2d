#include "GlyphImageSkinner.h"

#include <string>
#include <vector>

#include "PropertyText.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "SkinMessages.h"
#include "TextUtils.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

// The skin's image (from 0) each image of the control's strip is taken from.
const std::vector<int>& SlotsOf(TGlyphImageKind kind) {
  static const std::vector<int> none;
  static const std::vector<int> check = {0, 1, 4, 0, 1, 4, 2, 3, 4};
  static const std::vector<int> radio = {0, 1, 0, 1, 2, 3};
  static const std::vector<int> checkProperties = {0, 1, 4, 0, 1, 4};
  switch (kind) {
    case gkCheckCustomGlyphs: return check;
    case gkRadioCustomGlyphs: return radio;
    case gkCheckPropertiesGlyph: return checkProperties;
    default: return none;
  }
}

// The fifth image is used only from a strip of exactly five.
constexpr int kFifthImage = 4;
constexpr int kStripWithFifth = 5;

}  // namespace

void AssignBitmapProp(TObject* object, const char* name, TBitmap& value) {
  // The control's own bitmap takes a copy; a property without one is set.
  if (auto* own = dynamic_cast<TBitmap*>(GetObjectPropByName(object, name)))
    own->Assign(value);
  else if (object)
    SetObjectProp(object, name, &value);
}

bool ComposeGlyphStrip(TBitmap& source, int count, TGlyphImageKind kind, TBitmap& out) {
  const std::vector<int>& slots = SlotsOf(kind);
  if (slots.empty() || source.Empty()) return false;
  const int n = count < 1 ? 1 : count;
  const int w = source.Width() / n, h = source.Height();
  if (w <= 0) return false;
  SetSkinBitmapSize(out, w * static_cast<int>(slots.size()), h, static_cast<TColor>(kSkinKeyColour));
  HDC dst = out.Canvas()->Handle();
  HDC src = source.Canvas()->Handle();
  for (size_t i = 0; i < slots.size(); i++) {
    const int from = slots[i];
    if (from == kFifthImage && n != kStripWithFifth) continue;
    if (from >= n) continue;  // never read past the skin's strip
    BitBlt(dst, static_cast<int>(i) * w, 0, w, h, src, from * w, 0, SRCCOPY);
  }
  return true;
}

const TClassInfo& TSkinObjImage::StaticClass() {
  static const TClassInfo info("TSkinObjImage", &TSkinControl::StaticClass());
  return info;
}

void TSkinObjImage::Configure(const std::string& key, const std::string& value) {
  int32_t n = 0;
  if (key == "GlyphKind" && TryStrToInt(value, n) && n >= gkCheckCustomGlyphs && n <= gkCheckPropertiesGlyph)
    GlyphKind = static_cast<TGlyphImageKind>(n);
  TSkinControl::Configure(key, value);
}

void TSkinObjImage::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool) {
  if (Skinned) return;
  SkinData = skinData;
  Form = form;
  FormCanvas = formCanvas;
  Control = dynamic_cast<TControl*>(Owner());
  if (auto* w = dynamic_cast<TWinControl*>(Control)) Handle = w->HandleIfAllocated();
  if (Form) Form->RegisterSkinner(this);
  BuildGlyphs();
  Skinned = true;
  State = 1;
}

TBitmap* TSkinObjImage::PropertiesGlyph() const {
  TObject* properties = GetObjectPropByName(Control, "Properties");
  return dynamic_cast<TBitmap*>(GetObjectPropByName(properties, "Glyph"));
}

void TSkinObjImage::BuildGlyphs() {
  if (!Control || !SkinData || !SkinData->Buttons || GlyphKind == gkNone) return;
  TDataSkinButton& b = *SkinData->Buttons;
  const bool radio = GlyphKind == gkRadioCustomGlyphs;
  TBitmap strip;
  if (!ComposeGlyphStrip(radio ? b.RadioBitmap : b.CheckBitmap, radio ? b.RadioFrame : b.CheckButtonFrame, GlyphKind,
                         strip))
    return;
  if (GlyphKind == gkCheckPropertiesGlyph) {
    if (TBitmap* glyph = PropertiesGlyph()) {
      glyph->Assign(strip);
      glyph->SetTransparentColor(static_cast<TColor>(kSkinKeyColour));
      glyph->SetTransparent(false);
    }
    return;
  }
  AssignBitmapProp(Control, "CustomGlyphs", strip);
  SetPropByName(Control, "transparentcolor", std::to_string(kSkinKeyColour));
  // Off and on again, so that the control takes the new glyphs.
  SetPropByName(Control, "UseCustomGlyphs", "false");
  SetPropByName(Control, "UseCustomGlyphs", "true");
}

void TSkinObjImage::ApplySkinChange() { BuildGlyphs(); }

void TSkinObjImage::Unskin() {
  // The set-up saved no colour of the control: nothing but the glyphs goes back.
  if (!Active) return;
  Active = false;
  if (!Control) return;
  if (GlyphKind == gkCheckPropertiesGlyph) {
    if (TBitmap* glyph = PropertiesGlyph()) glyph->Clear();
  } else if (GlyphKind != gkNone) {
    SetPropByName(Control, "UseCustomGlyphs", "false");
  }
}

void RegisterGlyphImageSkinner() {
  RegisterSkinnerClass("TSkinObjImage", [](TComponent* owner) -> TSkinControl* { return new TSkinObjImage(owner); });
}
