// A borderless form on the test display to hold the controls under test,
// with painting read back from a memory bitmap.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Application.h"
#include "Bitmap.h"
#include "FormReader.h"
#include "KvColors.h"
#include "KvRegistration.h"
#include "Registration.h"

namespace kvtest {

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::Application();
    static bool registered = false;
    if (!registered) {
      fw::RegisterStandardClasses();
      kv::RegisterKvClasses();
      registered = true;
    }
    form = new fw::TForm(nullptr);
    form->SetBorderStyle(fw::bsNone);
    form->SetBounds(0, 0, 400, 300);
    form->SetColor(kFormColour);
  }
  void TearDown() override { form->Free(); }

  // Reads form data into the form ("object F: TForm ... end").
  void Load(const std::string& text) {
    std::string error;
    ASSERT_TRUE(fw::ReadFormData(form, text, error)) << error;
  }

  // Paints the whole form (background and children) into a bitmap.
  void PaintForm(fw::TBitmap& bmp) {
    HDC dc = bmp.Canvas()->Handle();
    form->Handle();
    form->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    form->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
  // Paints one windowed control at its own origin.
  void PaintControl(fw::TWinControl* c, fw::TBitmap& bmp) {
    HDC dc = bmp.Canvas()->Handle();
    c->Handle();
    c->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }

  static kv::TColor At(fw::TBitmap& bmp, int x, int y) {
    const COLORREF c = GetPixel(bmp.Canvas()->Handle(), x, y);
    return static_cast<kv::TColor>(c);
  }
  static kv::TColor Sys(kv::TColor c) { return kv::ColorToRGB(c); }

  static constexpr kv::TColor kFormColour = 0x204060;
  fw::TForm* form = nullptr;
};

}  // namespace kvtest
