// Creates, shows and destroys a form of 50 controls read from form data,
// a number of times (100 unless given), and prints the time per form.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Application.h"
#include "BenchClock.h"
#include "BenchForm.h"
#include "TextUtils.h"

using namespace fw;
using namespace benchform;

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
