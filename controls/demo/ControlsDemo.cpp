// The extended controls on one form, in every frame and group style, with
// gradients, lines and checked combo boxes, and two dock sites with three
// dockable clients (one floating at start), read from form data.
//
//   controls-demo.exe          shows the form until it is closed
//   controls-demo.exe --check  reads and paints the form once, then quits
//                              (exit code 1 when the form data is bad)
#include <windows.h>

#include <cstring>

#include "Application.h"
#include "Bitmap.h"
#include "CheckedComboBox.h"
#include "FloatingHost.h"
#include "Form.h"
#include "KvRegistration.h"

namespace {

class TFmControlsDemo : public fw::TForm {
 public:
  static const fw::TClassInfo& StaticClass() {
    static const fw::TClassInfo info =
        fw::TClassInfo::Make<TFmControlsDemo>("TFmControlsDemo", &fw::TForm::StaticClass())
            .Field("cbbAreaNumPW", &TFmControlsDemo::cbbAreaNumPW)
            .Field("cbbCols", &TFmControlsDemo::cbbCols)
            .Field("pnlDocked3", &TFmControlsDemo::pnlDocked3);
    return info;
  }
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFmControlsDemo(fw::TComponent* owner) : fw::TForm(owner) {}

  kv::TCheckedComboBox* cbbAreaNumPW = nullptr;
  kv::TCheckedComboBox* cbbCols = nullptr;
  fw::TControl* pnlDocked3 = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc > 1 && std::strcmp(argv[1], "--check") == 0;
  fw::Application().SetTitle("controls-demo");
  kv::RegisterKvClasses();
  TFmControlsDemo* form = nullptr;
  fw::Application().CreateForm(form);
  if (!form) return 1;
  if (form->cbbAreaNumPW) form->cbbAreaNumPW->SetCheckedValues("08/09/10");
  if (form->cbbCols) form->cbbCols->SetCheckedValues("E/B");
  // One of the dockable clients starts floating, beside the window (over
  // it, it could be hidden when the window comes to the front).
  if (form->pnlDocked3) {
    const POINT at = {form->Left() + form->Width() + 8, form->Top() + 560};
    form->pnlDocked3->ManualFloat(fw::TFloatingHost::WindowRectFor(at, 200, 80));
  }
  if (check) {
    form->Show();
    fw::Application().ProcessMessages();
    fw::TBitmap bmp(form->ClientWidth(), form->ClientHeight());
    form->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
    form->Free();
    return 0;
  }
  fw::Application().Run();
  return 0;
}
