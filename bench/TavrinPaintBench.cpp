// Painting Tavrin's main window, skinned against unskinned, in one run:
//  - every control of the main window repainted (the whole window with all
//    its children, frame included, painted at once), per full repaint;
//  - the port list's drop-down list opened and closed, per opening.
// The main window is made from its form data as the program makes it (its
// skin data component starts the engine); "unskinned" is the same window
// after skinning was switched off. The reader is a scripted stand-in.
//
// usage: TavrinPaintBench [REPAINTS [OPENINGS]]   (defaults 100 and 50)
#include <windows.h>

#include <cstdio>
#include <string>

#include "Application.h"
#include "BenchClock.h"
#include "ComboBox.h"
#include "Common.h"
#include "ControlSkinners.h"
#include "KvRegistration.h"
#include "Main.h"
#include "SkinManager.h"
#include "TextUtils.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void PumpFor(int ms) {
  const double until = NowMs() + ms;
  while (NowMs() < until) {
    Pump();
    Sleep(1);
  }
}

double Repaints(HWND main, int count) {
  const double start = NowMs();
  for (int i = 0; i < count; i++)
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  return (NowMs() - start) / count;
}

double Openings(HWND combo, int count) {
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  const double start = NowMs();
  for (int i = 0; i < count; i++) {
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Pump();  // the list's skinner is made on the drop-down notice
    if (GetComboBoxInfo(combo, &info) && info.hwndList) UpdateWindow(info.hwndList);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    Pump();
  }
  return (NowMs() - start) / count;
}

}  // namespace

int main(int argc, char** argv) {
  const int repaints = argc > 1 ? StrToIntDef(argv[1], 100) : 100;
  const int openings = argc > 2 ? StrToIntDef(argv[2], 50) : 50;
  AppPath = ProgramFolder();
  Application();
  kv::RegisterKvClasses();
  RegisterSkinEngine();
  TFmMain* form = CreateForm<TFmMain>(nullptr);
  if (!form) return 1;
  TSkinData* skin = nullptr;
  for (TComponent* c : form->Components())
    if (auto* s = dynamic_cast<TSkinData*>(c)) skin = s;
  form->Show();
  SetForegroundWindow(form->Handle());
  const double until = NowMs() + 5000;
  auto skinned = [&] {
    TSkinManage* m = SkinManager();
    TWinSkinForm* f = m ? m->FindSkinnedForm(form->Handle()) : nullptr;
    return f && f->FState == 1;
  };
  while (!skinned() && NowMs() < until) PumpFor(5);
  if (!skin || !skinned()) {
    std::fprintf(stderr, "the main window was not skinned\n");
    return 1;
  }
  const int skinners = static_cast<int>(SkinManager()->FindSkinnedForm(form->Handle())->FSkinners.size());
  PumpFor(200);
  HWND main = form->Handle();
  HWND combo = form->cbbRPort->Handle();
  const double paintSkinned = Repaints(main, repaints);
  const double openSkinned = Openings(combo, openings);

  skin->SetActive(false);
  while (SkinManager() && SkinManager()->FindSkinnedForm(main) && NowMs() < until + 5000) PumpFor(5);
  PumpFor(200);
  const double paintPlain = Repaints(main, repaints);
  const double openPlain = Openings(combo, openings);

  std::printf("main window, every control repainted: %.2f ms skinned (%d control skinners), %.2f ms unskinned, "
              "%d repaints each\n",
              paintSkinned, skinners, paintPlain, repaints);
  std::printf("port list opened and closed: %.2f ms skinned, %.2f ms unskinned, %d openings each\n", openSkinned,
              openPlain, openings);
  form->Free();
  return 0;
}
