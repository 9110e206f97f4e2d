// Creates, shows and destroys a form of 50 controls read from form data,
// a number of times (100 unless given), and prints the time per form.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Application.h"
#include "BenchClock.h"
#include "TextUtils.h"

using namespace fw;

namespace {

class TFmBench : public TForm {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TFmBench>("TFmBench", &TForm::StaticClass());
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFmBench(TComponent* owner) : TForm(owner) {}
};

// Ten rows of five controls: label, edit, check box, drop-down list, button.
std::string BenchFormData() {
  std::string s =
      "object FmBench: TFmBench\n  BorderStyle = bsDialog\n  Caption = \"Bench\"\n"
      "  ClientWidth = 640\n  ClientHeight = 420\n  Position = poScreenCenter\n";
  for (int row = 0; row < 10; ++row) {
    int y = 8 + row * 40;
    s += Format("  object lbl%d: TLabel\n    Left = 8\n    Top = %d\n    Caption = \"\\xD3\\xC3\\xBB\\xA7 %d\"\n  end\n",
                row, y, row);
    s += Format("  object edt%d: TEdit\n    Left = 80\n    Top = %d\n    Width = 120\n    Text = \"%d\"\n  end\n", row,
                y, row);
    s += Format("  object chk%d: TCheckBox\n    Left = 210\n    Top = %d\n    Caption = \"\\xBC\\xD3\\xC3\\xDC\"\n"
                "    Checked = True\n  end\n",
                row, y);
    s += Format("  object cbb%d: TComboBox\n    Left = 320\n    Top = %d\n    Style = csDropDownList\n"
                "    Items = (\"a\" \"b\" \"c\")\n    ItemIndex = 1\n  end\n",
                row, y);
    s += Format("  object btn%d: TButton\n    Left = 480\n    Top = %d\n    Caption = \"OK\"\n  end\n", row, y);
  }
  return s + "end\n";
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? StrToIntDef(argv[1], 100) : 100;
  if (rounds < 1) rounds = 1;
  Application();
  RegisterComponentClass(TFmBench::StaticClass());
  const std::string data = BenchFormData();
  const double start = NowMs();
  double tLoad = 0, tShow = 0, tFree = 0, tHandle = 0, tShowWin = 0;
  for (int i = 0; i < rounds; ++i) {
    double t0 = NowMs();
    auto* form = new TFmBench(nullptr);
    std::string error;
    if (!form->LoadFromText(data, error)) {
      std::fprintf(stderr, "form data: %s\n", error.c_str());
      return 1;
    }
    if (form->ComponentCount() != 50) {
      std::fprintf(stderr, "expected 50 controls, got %d\n", form->ComponentCount());
      return 1;
    }
    form->DoCreate();
    double t1 = NowMs();
    form->Handle();
    double t15 = NowMs();
    form->Show();
    double t17 = NowMs();
    Application().ProcessMessages();
    double t2 = NowMs();
    tHandle += t15 - t1;
    tShowWin += t17 - t15;
    form->Free();
    Application().ProcessMessages();
    double t3 = NowMs();
    tLoad += t1 - t0;
    tShow += t2 - t1;
    tFree += t3 - t2;
  }
  const double ms = NowMs() - start;
  std::printf("forms: %d, controls per form: 50, total %.1f ms, %.2f ms per form\n", rounds, ms, ms / rounds);
  std::printf("per form: reading %.2f ms, showing %.2f ms, freeing %.2f ms\n", tLoad / rounds, tShow / rounds,
              tFree / rounds);
  std::printf("  of showing: windows %.2f ms, show %.2f ms, first messages %.2f ms\n", tHandle / rounds,
              tShowWin / rounds, (tShow - tHandle - tShowWin) / rounds);
  return 0;
}
