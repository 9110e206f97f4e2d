// The form the window tests start from: borderless, at the screen's corner,
// with the application started and the standard classes registered (once
// for the program).
#pragma once

#include "Application.h"
#include "Form.h"
#include "Registration.h"

namespace fwtest {

template <class F>
F* NewBareForm(int width, int height) {
  fw::Application();
  static bool registered = false;
  if (!registered) {
    fw::RegisterStandardClasses();
    registered = true;
  }
  F* form = new F(nullptr);
  form->SetBorderStyle(fw::bsNone);
  form->SetBounds(0, 0, width, height);
  return form;
}

}  // namespace fwtest
