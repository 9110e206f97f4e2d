// Check boxes and radio buttons that draw their own glyphs from a glyph
// strip they publish: the skinner composes such a strip from the skin's
// check or radio strip and hands it to the control, which goes on
// painting itself. It does not stand in front of the control's messages.
#pragma once
#include <windows.h>

#include "Bitmap.h"
#include "SkinControl.h"

// Which control it serves (GlyphKind).
enum TGlyphImageKind {
  gkNone = 0,
  gkCheckCustomGlyphs = 1,  // a check box publishing "CustomGlyphs" (nine images)
  gkRadioCustomGlyphs = 2,  // a radio button publishing "CustomGlyphs" (six images)
  gkCheckPropertiesGlyph = 3  // a check box whose "Properties" object has a "Glyph" (six images)
};

// The control's strip made from the skin's strip of `count` images, image
// by image in the kind's order. Images the kind takes from the fifth image
// are filled only when the skin's strip has exactly five; images the
// skin's strip does not have stay blank (the key colour, transparent).
// False for a kind without strip or an empty source.
bool ComposeGlyphStrip(fw::TBitmap& source, int count, TGlyphImageKind kind, fw::TBitmap& out);

// Gives a control's published bitmap property a copy of value (nothing
// when the control has no such property).
void AssignBitmapProp(fw::TObject* object, const char* name, fw::TBitmap& value);

class TSkinObjImage : public TSkinControl {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSkinObjImage(fw::TComponent* owner) : TSkinControl(owner) {}

  void InitSkin(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* formCanvas, bool useSkinColour) override;
  void Unskin() override;
  void ApplySkinChange() override;
  // "GlyphKind": 1, 2 or 3 (TGlyphImageKind).
  void Configure(const std::string& key, const std::string& value) override;

  TGlyphImageKind GlyphKind = gkNone;

 private:
  void BuildGlyphs();
  fw::TBitmap* PropertiesGlyph() const;
};

void RegisterGlyphImageSkinner();
