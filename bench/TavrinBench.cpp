// Tavrin's start and its batch throughput:
//  - the time from starting the program to its main window shown, skinned
//    (its skinned frame made, region and all) and ready (it answers
//    messages); and the same for the program built with its skin switched
//    off (TavrinPlain.exe), in the same run;
//  - cards per minute in a batch with both waits at their minimum (1 s),
//    the simulated reader pacing its line at the 9600 baud the program sets,
//    and a new card presented as soon as the one before is keyed; for the
//    checked sectors (08/09/10) and for all 16 sectors.
//  - with "profiles": the start, and the key profile list opened (shown
//    with all its rows) and closed (the file written and the main window's
//    profile box filled again), with a profile file of N profiles (default
//    10,000) against one of none, in turn, the median of RUNS (default 5).
//
// usage (under tools/with-reader-sim.sh --card-key A5C3E7B91D2F):
//   TavrinBench [STARTS [CARDS]]
//   TavrinBench profiles [RUNS [N]]   (needs no simulated reader)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "FormMap.h"
#include "SimClient.h"
#include "WindowDriver.h"

using namespace driver;

namespace {

const char* const kNewKey = "0123456789AB";

// A folder of its own for the program, as the operator's installation.
std::string InstallProgram() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "tavrin-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA((BinFolder() + "Tavrin.exe").c_str(), (folder + "Tavrin.exe").c_str(), FALSE);
  CopyFileA((BinFolder() + "TavrinPlain.exe").c_str(), (folder + "TavrinPlain.exe").c_str(), FALSE);
  CopyFileA((BinFolder() + "Dorvex.dll").c_str(), (folder + "Dorvex.dll").c_str(), FALSE);
  return folder;
}

// The skin engine answers the query of a skinned window, and the window's
// region is set at the end of its first skinning.
bool SkinnedFrame(HWND window) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, 0x3523, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) || answer != 1) return false;
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool region = GetWindowRgn(window, rgn) != ERROR;
  DeleteObject(rgn);
  return region;
}

// Starts the program; the milliseconds until its main window is shown
// (skinned, for the skinned program) and answers, or a negative number.
double StartProgram(Program& program, const std::string& folder, HWND& main, const char* exe = "Tavrin.exe",
                    bool skinned = true) {
  const double start = NowMs();
  if (!program.Start(folder + exe)) return -1;
  main = WaitTopWindow(program.Pid(), "Tavrin", 30000);
  if (!main) return -1;
  if (skinned) {
    const double until = NowMs() + 10000;
    while (!SkinnedFrame(main)) {
      if (NowMs() > until) return -1;
      Sleep(1);
    }
  }
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &r)) return -1;
  return NowMs() - start;
}

bool Close(Program& program, HWND main) {
  PostMessageW(main, WM_CLOSE, 0, 0);
  return program.WaitExit(15000) >= 0;
}

class BatchRun {
 public:
  BatchRun(sim::SimClient& sim, int com) : sim_(sim), com_(com) {}

  // Keys `cards` cards in a batch; the cards per minute, or a negative number.
  double Run(const std::string& folder, bool allSectors, int cards) {
    std::string error;
    if (!map_.Load(AppFormPath("Main.form"), error)) {
      std::printf("form data: %s\n", error.c_str());
      return -1;
    }
    Program program;
    if (StartProgram(program, folder, main_) < 0) return -1;
    if (!Prepare(allSectors)) return -1;
    sim_.Ok("card new");
    Click(W("btnStart"));
    const int lastSector = allSectors ? 15 : 10;
    double first = 0;
    for (int i = 0; i < cards; ++i) {
      const bool keyed = WaitFor([&] { return sim_.Value("get key " + std::to_string(lastSector)) == kNewKey; }, 60000);
      if (!keyed) {
        std::printf("card %d was not keyed\n", i + 1);
        Close(program, main_);
        return -1;
      }
      const double now = NowMs();
      if (i == 0) first = now;
      sim_.Ok("card new");  // the operator swaps the card at once
      if (i == cards - 1) {
        Click(W("btnAbort"));
        Close(program, main_);
        return (cards - 1) * 60000.0 / (now - first);
      }
    }
    return -1;
  }

 private:
  HWND W(const char* name) { return map_.Window(main_, name); }

  bool Prepare(bool allSectors) {
    HWND ports = W("cbbRPort");
    const auto items = ComboItems(ports);
    const auto at = std::find(items.begin(), items.end(), "COM" + std::to_string(com_));
    if (at == items.end()) {
      std::printf("COM%d is not in the port list\n", com_);
      return false;
    }
    SelectComboItem(ports, static_cast<int>(at - items.begin()));
    for (const char* spin : {"seSuccSleepTime", "seFailSleepTime"}) {
      SendMessageW(W(spin), EM_SETSEL, 0, -1);
      TypeText(W(spin), "1");
    }
    SelectComboItem(W("cbbIsShowMsg"), 1);     // no box after a failure
    SelectComboItem(W("cbbSetFailType"), 1);   // go on after a failure
    SelectComboItem(W("cbbEditAreaType"), allSectors ? 1 : 0);
    HWND key = W("medtNewPassWord");
    SendMessageW(key, EM_SETSEL, 0, -1);
    TypeText(key, kNewKey);
    Click(W("chkNewNoEny"));  // a plain key, so the bench can see it on the card
    return WaitFor([&] { return TextOf(key) == "01 23 45 67 89 AB" && TextOf(W("seFailSleepTime")) == "1" &&
                                SendMessageW(W("chkNewNoEny"), BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
                                ComboSelection(W("cbbEditAreaType")) == (allSectors ? 1 : 0); },
                   10000);
  }

  sim::SimClient& sim_;
  int com_;
  FormMap map_;
  HWND main_ = nullptr;
};

// The program answers its messages (it is not busy).
bool Answers(HWND window) {
  DWORD_PTR r = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 60000, &r) != 0;
}

double Median(std::vector<double> t) {
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

// The start and the key profile list with a profile file of `count`
// profiles.
class ProfileRun {
 public:
  bool Load() {
    std::string error;
    if (!main_.Load(AppFormPath("Main.form"), error) || !list_.Load(AppFormPath("UserMG.form"), error)) {
      std::printf("form data: %s\n", error.c_str());
      return false;
    }
    return true;
  }

  // The milliseconds of the start, the list opened and the list closed.
  bool Run(const std::string& folder, int count, double& start, double& open, double& close) {
    if (!PutProfiles(folder, count)) return false;
    Program program;
    HWND main = nullptr;
    start = StartProgram(program, folder, main);
    if (start < 0) return false;
    const bool ok = OpenAndClose(program, main, count, open, close);
    return Close(program, main) && ok;
  }

 private:
  static bool PutProfiles(const std::string& folder, int count) {
    std::string text = "[SYSInfo]\r\nUserCnt=" + std::to_string(count) + "\r\n[UserInfo]\r\n";
    for (int i = 1; i <= count; ++i)
      text += "UserName" + std::to_string(i) + "=\xD3\xC3\xBB\xA7" + std::to_string(i) + "\r\nPassWord" +  // 用户
              std::to_string(i) + "=A5C3E7B91D2F\r\n";
    CreateDirectoryA((folder + "Data").c_str(), nullptr);
    HANDLE f = CreateFileA((folder + "Data\\SysInfo.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const bool ok = WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &put, nullptr) && put == text.size();
    CloseHandle(f);
    return ok;
  }

  bool OpenAndClose(Program& program, HWND main, int count, double& open, double& close) {
    HWND users = main_.Window(main, "cbbUser");
    if (SendMessageW(users, CB_GETCOUNT, 0, 0) != count) {
      std::printf("the main window lists %d profiles, not %d\n", static_cast<int>(SendMessageW(users, CB_GETCOUNT, 0, 0)),
                  count);
      return false;
    }
    double t0 = NowMs();
    main_.ClickAt(main, "lbl21");
    HWND list = WaitTopWindow(program.Pid(), "\xD3\xC3\xBB\xA7\xB9\xDC\xC0\xED", 120000);  // 用户管理
    if (!list) return false;
    HWND rows = list_.Window(list, "lvUserInfo");
    if (!WaitFor([&] { return SendMessageW(rows, LVM_GETITEMCOUNT, 0, 0) == count; }, 120000) || !Answers(list))
      return false;
    open = NowMs() - t0;
    t0 = NowMs();
    Click(list_.Window(list, "btnClose"));
    if (!WaitFor([&] { return !IsWindow(list) && SendMessageW(users, CB_GETCOUNT, 0, 0) == count; }, 120000) ||
        !Answers(main))
      return false;
    close = NowMs() - t0;
    return true;
  }

  FormMap main_, list_;
};

int ProfileBench(const std::string& folder, int runs, int count) {
  ProfileRun run;
  if (!run.Load()) return 1;
  std::vector<double> times[2][3];  // [none, count][start, open, close]
  for (int i = 0; i < runs; ++i)
    for (int large = 0; large < 2; ++large) {
      double start = 0, open = 0, close = 0;
      if (!run.Run(folder, large ? count : 0, start, open, close)) {
        std::printf("the run with %d profiles failed\n", large ? count : 0);
        return 1;
      }
      times[large][0].push_back(start);
      times[large][1].push_back(open);
      times[large][2].push_back(close);
    }
  for (int large = 0; large < 2; ++large)
    std::printf("%d profiles: start %.0f ms, list opened %.0f ms, list closed %.0f ms (medians of %d runs)\n",
                large ? count : 0, Median(times[large][0]), Median(times[large][1]), Median(times[large][2]), runs);
  return 0;
}

void ListPort(int com, bool add) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr, REG_OPTION_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  const char* value = "\\Device\\CardInitBenchReader";
  if (add) {
    const std::string name = "COM" + std::to_string(com);
    RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
  } else {
    RegDeleteValueA(key, value);
  }
  RegCloseKey(key);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "profiles")
    return ProfileBench(InstallProgram(), argc > 2 ? std::max(1, std::atoi(argv[2])) : 5,
                        argc > 3 ? std::max(1, std::atoi(argv[3])) : 10000);
  const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int cards = argc > 2 ? std::max(2, std::atoi(argv[2])) : 20;
  const std::string folder = InstallProgram();

  // The two programs start in turn, so that both meet the same load.
  std::vector<double> times[2];
  for (int i = 0; i < starts; ++i)
    for (int skinned = 1; skinned >= 0; --skinned) {
      Program program;
      HWND main = nullptr;
      const double ms = StartProgram(program, folder, main, skinned ? "Tavrin.exe" : "TavrinPlain.exe", skinned);
      if (ms < 0 || !Close(program, main)) {
        std::printf("the program did not start\n");
        return 1;
      }
      times[skinned].push_back(ms);
    }
  for (int skinned = 1; skinned >= 0; --skinned) {
    std::vector<double>& t = times[skinned];
    std::sort(t.begin(), t.end());
    std::printf("start to main window shown%s and ready: median %.0f ms, best %.0f ms (%d starts)\n",
                skinned ? ", skinned" : " without the skin", t[t.size() / 2], t.front(), starts);
  }

  sim::SimClient sim;
  const int com = sim::SimComFromEnvironment();
  if (!sim.Connect() || com <= 0) {
    std::printf("no simulated reader: batch not measured (run under tools/with-reader-sim.sh)\n");
    return 0;
  }
  sim.Ok("pace line");  // bytes take their time at the baud the program sets
  ListPort(com, true);
  BatchRun batch(sim, com);
  int status = 0;
  for (bool all : {false, true}) {
    const double perMinute = batch.Run(folder, all, cards);
    if (perMinute < 0) {
      status = 1;
      continue;
    }
    std::printf("batch, waits 1 s, 9600 baud, %s: %.1f cards per minute (%d cards)\n",
                all ? "all 16 sectors" : "sectors 08/09/10", perMinute, cards);
  }
  ListPort(com, false);
  return status;
}
