#include <gtest/gtest.h>

#include <cstdint>

#include "KvCommon.h"

using namespace kv;

TEST(Hsl240, ConvertsThePrimariesAndTheGreys) {
  EXPECT_EQ(ColorToHsl240(clRed), (THsl240{0, 240, 120}));
  EXPECT_EQ(ColorToHsl240(Rgb(0, 255, 0)), (THsl240{80, 240, 120}));
  EXPECT_EQ(ColorToHsl240(clBlue), (THsl240{160, 240, 120}));
  EXPECT_EQ(ColorToHsl240(clWhite), (THsl240{0, 0, 240}));
  EXPECT_EQ(ColorToHsl240(clBlack), (THsl240{0, 0, 0}));
  // 128/255 x 240 = 120.47
  EXPECT_EQ(ColorToHsl240(Rgb(128, 128, 128)), (THsl240{0, 0, 120}));
  // A hue just below a full turn rounds to 240.
  EXPECT_EQ(ColorToHsl240(Rgb(255, 0, 1)).h, 240);
}

TEST(Hsl240, BackToColour) {
  EXPECT_EQ(Hsl240ToColor(0, 0, 240), clWhite);
  for (int h = 0; h <= 255; h += 15)
    for (int s = 0; s <= 255; s += 15) EXPECT_EQ(Hsl240ToColor(h, s, 0), clBlack) << h << "," << s;
  EXPECT_EQ(Hsl240ToColor(0, 240, 120), clRed);
  // The hue is taken over 239, so green comes out with a touch of blue.
  EXPECT_EQ(Hsl240ToColor(80, 240, 120), Rgb(0, 255, 2));
  // A hue past the last sextant (240/239 x 6 = 6.03) is read as the first.
  EXPECT_EQ(Hsl240ToColor(240, 240, 120), Rgb(255, 6, 0));
  // Saturations beyond the scale keep every channel within 0..255.
  const TColor c = Hsl240ToColor(40, 255, 60);
  EXPECT_EQ(c & ~0xFFFFFF, 0);
}

TEST(Lightness, DarkenAndLightenMoveLightness) {
  const TColor c = Rgb(100, 150, 200);
  const THsl240 hsl = ColorToHsl240(c);
  EXPECT_EQ(ColorToHsl240(DarkenColor(c, 20)).l, hsl.l - 20);
  EXPECT_EQ(DarkenColor(c, 255), clBlack);
  // L 230 + 30 goes past the scale: white.
  const TColor light = Hsl240ToColor(100, 120, 230);
  ASSERT_EQ(ColorToHsl240(light).l, 230);
  EXPECT_EQ(LightenColor(light, 30), clWhite);
  // System colours are resolved before the arithmetic.
  EXPECT_EQ(DarkenColor(clBtnFace, 10), DarkenColor(ColorToRGB(clBtnFace), 10));
}

TEST(Lightness, ShiftBySignOfTheAdjustment) {
  const TColor c = Rgb(10, 120, 90);
  EXPECT_EQ(ShiftColorLightness(c, 0), c);
  EXPECT_EQ(ShiftColorLightness(clBtnShadow, 0), clBtnShadow);  // not converted
  EXPECT_EQ(ShiftColorLightness(c, -30), DarkenColor(c, 30));
  EXPECT_EQ(ShiftColorLightness(c, 30), LightenColor(c, 30));
  EXPECT_EQ(ShiftColorLightness(c, 300), LightenColor(c, 44));  // amounts are bytes
  EXPECT_EQ(ShiftColorLightness(c, -300), DarkenColor(c, 44));
  // The most negative adjustment form data can hold is a whole number of
  // bytes: darkening by nothing.
  EXPECT_EQ(ShiftColorLightness(c, INT32_MIN), DarkenColor(c, 0));
}

TEST(ColourScheme, FromTheThemeColourName) {
  EXPECT_EQ(ColorSchemeFromName("HOMESTEAD"), xcsHomestead);
  EXPECT_EQ(ColorSchemeFromName("metallic"), xcsMetallic);
  EXPECT_EQ(ColorSchemeFromName("Metallic"), xcsMetallic);
  EXPECT_EQ(ColorSchemeFromName("NormalColor"), xcsNormal);
  EXPECT_EQ(ColorSchemeFromName(""), xcsNormal);
  EXPECT_EQ(ColorSchemeFromName("METALLIC "), xcsNormal);
}

TEST(ColourScheme, DerivedColours) {
  const TGradientPair office = GradientColorsFor(gcsMSOffice, true, xcsMetallic);
  EXPECT_EQ(office.start, 0xFFF9F9);
  EXPECT_EQ(office.stop, 0xD0BCBD);
  EXPECT_EQ(GradientFrameColorFor(gcsMSOffice, true, xcsHomestead), 0x77A17F);
  const TBannerColors banner = BannerColorsFor(gcsMSOffice, true, xcsNormal);
  EXPECT_EQ(banner.stop, 0xEABB99);
  EXPECT_EQ(banner.start, 0xFFEFE3);
  EXPECT_EQ(banner.frame, 0xEABB99);
  // Without themes, or with another style, the colours come from the system.
  for (bool themed : {false, true}) {
    const TKvGradientColorStyle style = themed ? gcsSystem : gcsMSOffice;
    const TGradientPair sys = GradientColorsFor(style, themed, xcsMetallic);
    EXPECT_EQ(sys.start, clWindow);
    EXPECT_EQ(sys.stop, DarkenColor(clBtnFace, 10));
    EXPECT_EQ(GradientFrameColorFor(style, themed, xcsMetallic), LightenColor(clBtnShadow, 30));
    const TBannerColors b = BannerColorsFor(style, themed, xcsMetallic);
    EXPECT_EQ(b.stop, DarkenColor(clBtnFace, 20));
    EXPECT_EQ(b.start, clWindow);
    EXPECT_EQ(b.frame, DarkenColor(clBtnFace, 40));
  }
  // An out-of-range scheme reads the normal row.
  EXPECT_EQ(SchemeColors(7).frame, 0xBF7F57);
}

TEST(Accelerators, StrippedAsDisplayed) {
  EXPECT_EQ(StripAccelerators("&File"), "File");
  EXPECT_EQ(StripAccelerators("Save && Exit"), "Save & Exit");
  EXPECT_EQ(StripAccelerators("Tail&"), "Tail&");
  EXPECT_EQ(StripAccelerators("&&&x"), "&x");
  EXPECT_EQ(StripAccelerators(""), "");
  // "\xC9\xE8\xD6\xC3" is "设置"; its bytes are kept whole.
  EXPECT_EQ(StripAccelerators("\xC9\xE8\xD6\xC3(&S)"), "\xC9\xE8\xD6\xC3(S)");
  EXPECT_EQ(AcceleratorOf("\xC9\xE8\xD6\xC3(&S)"), 'S');
  EXPECT_EQ(AcceleratorOf("A && B"), 0);
  EXPECT_EQ(AcceleratorOf("&&&x"), 'x');
}

TEST(CompareText, FoldsAsciiLettersOnly) {
  EXPECT_EQ(CompareTextGbk("abc", "ABC"), 0);
  EXPECT_LT(CompareTextGbk("a", "B"), 0);
  EXPECT_LT(CompareTextGbk("ab", "abc"), 0);
  // 0xB0 0x41 and 0xB0 0x61 are two different double-byte characters.
  EXPECT_NE(CompareTextGbk("\xB0\x41", "\xB0\x61"), 0);
}
