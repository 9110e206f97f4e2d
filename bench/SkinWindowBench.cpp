// The skin engine on windows:
//  - a form of 50 controls read from form data, created, shown (and, with
//    the skin on, skinned with every control) and freed, per form, without
//    the skin and with the program's own skin, in one run;
//  - the skinned frame of a window painted into a memory DC, per paint.
//
// usage: SkinWindowBench [FORMS [PAINTS]]   (defaults 50 and 1000)
#include <windows.h>

#include <cstdio>
#include <string>

#include "Application.h"
#include "BenchClock.h"
#include "BenchForm.h"
#include "ControlSkinners.h"
#include "FileIO.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "TextUtils.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;
using namespace benchform;

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool Skinned(HWND h) {
  TSkinManage* m = SkinManager();
  TWinSkinForm* f = m ? m->FindSkinnedForm(h) : nullptr;
  return f && f->FSkinned && f->FState == 1;
}

// Milliseconds per form: made, shown (skinned when the skin is on), freed.
double FormRounds(const std::string& data, int rounds, bool skinned, int& controlSkinners) {
  controlSkinners = 0;
  const double start = NowMs();
  for (int i = 0; i < rounds; ++i) {
    auto* form = new TFmBench(nullptr);
    std::string error;
    if (!form->LoadFromText(data, error)) {
      std::fprintf(stderr, "form data: %s\n", error.c_str());
      return -1;
    }
    form->DoCreate();
    form->Show();
    SetForegroundWindow(form->Handle());
    const double until = NowMs() + 5000;
    Pump();
    while (skinned && !Skinned(form->Handle()) && NowMs() < until) {
      Sleep(0);
      Pump();
    }
    if (skinned) {
      if (!Skinned(form->Handle())) {
        std::fprintf(stderr, "the form was not skinned\n");
        return -1;
      }
      controlSkinners = static_cast<int>(SkinManager()->FindSkinnedForm(form->Handle())->FSkinners.size());
    }
    form->Free();
    Pump();
  }
  return (NowMs() - start) / rounds;
}

}  // namespace

int main(int argc, char** argv) {
  const int forms = argc > 1 ? StrToIntDef(argv[1], 50) : 50;
  const int paints = argc > 2 ? StrToIntDef(argv[2], 1000) : 1000;
  Application();
  RegisterComponentClass(TFmBench::StaticClass());
  RegisterSkinEngine();
  const std::string data = BenchFormData();

  int skinners = 0;
  const double plain = FormRounds(data, forms, false, skinners);

  std::string archive;
  if (!LoadFileBytes(std::string(CARDINIT_SKIN_DIR) + "/TavrinBlue.skn", archive)) {
    std::fprintf(stderr, "no skin archive\n");
    return 1;
  }
  auto* skin = new TSkinData(nullptr);
  skin->SkinArchive.Write(archive.data(), archive.size());
  skin->SkinArchive.Seek(0);
  if (!skin->LoadSkin()) return 1;
  skin->BeginLoading();
  skin->SetActive(true);
  skin->Loaded();
  const double withSkin = FormRounds(data, forms, true, skinners);
  if (plain < 0 || withSkin < 0) return 1;
  std::printf("form of 50 controls made, shown and freed: %.2f ms unskinned, %.2f ms skinned (%d control skinners), "
              "%d forms each\n",
              plain, withSkin, skinners, forms);

  // One skinned window, its frame painted into a memory DC.
  auto* form = new TFmBench(nullptr);
  std::string error;
  form->LoadFromText(data, error);
  form->DoCreate();
  form->Show();
  SetForegroundWindow(form->Handle());
  const double until = NowMs() + 5000;
  while (!Skinned(form->Handle()) && NowMs() < until) Pump();
  RECT r;
  GetWindowRect(form->Handle(), &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ReleaseDC(nullptr, screen);
  const double start = NowMs();
  for (int i = 0; i < paints; ++i) SendMessageW(form->Handle(), SKM_PAINTFRAMETO, reinterpret_cast<WPARAM>(dc), kSkinMarker);
  GdiFlush();
  const double perPaint = (NowMs() - start) / paints;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  std::printf("skinned frame (%ld x %ld) painted into a memory DC: %.3f ms per paint, %d paints\n", r.right - r.left,
              r.bottom - r.top, perPaint, paints);
  form->Free();
  skin->Free();
  FreeSkinManager();
  return 0;
}
