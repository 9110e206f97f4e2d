// The program: records its folder, puts the catalogue in place, ensures
// the folders beside it, and runs the main window.
#include <windows.h>

#include "Application.h"
#include "Common.h"
#include "KvRegistration.h"
#include "Language.h"
#include "Main.h"
#include "ControlSkinners.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  AppPath = ProgramFolder();
  InitMessageCatalogue();
  ForceAppSubDir("Language");
  ForceAppSubDir("DLL");

  fw::TApplication& app = fw::Application();
  app.Initialize();
  kv::RegisterKvClasses();
  RegisterSkinEngine();
  app.SetTitle("Tavrin");
  TFmMain* fmMain = nullptr;
  app.CreateForm(fmMain);
  if (fmMain) app.Run();

  DoneMessageCatalogue();
  AppPath.clear();
  return 0;
}
