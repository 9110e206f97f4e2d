// Takes pictures of Tavrin's windows as an operator sees them: finds the
// program running (started beside the reader library by the script), opens
// each window and list, and writes what the screen shows of it as a BMP
// file into the folder given.
//
//   ShotDriver <folder>     (under tools/with-reader-sim.sh; see
//                            tools/screenshots.sh)
//
// Pictures: main.bmp (the main window), sectors.bmp (its sector list
// open), box.bmp (a message box over it), profiles.bmp (the key profiles),
// profile-edit.bmp (a profile being added).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FormMap.h"
#include "WindowDriver.h"

using namespace driver;

namespace {

std::string g_folder;

// Writes the screen's pixels of rc as a 24-bit BMP file.
bool WriteShot(const std::string& name, RECT rc) {
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return false;
  Sleep(400);  // what was drawn reaches the screen
  const std::vector<uint32_t> px = CaptureScreen(rc);
  const int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> file(54 + static_cast<size_t>(stride) * h, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < h; y++) {
    uint8_t* row = &file[54 + static_cast<size_t>(h - 1 - y) * stride];
    for (int x = 0; x < w; x++) {
      const uint32_t p = px[static_cast<size_t>(y) * w + x];
      row[3 * x] = static_cast<uint8_t>(p);
      row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(p >> 16);
    }
  }
  const std::string path = g_folder + "\\" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  std::fclose(f);
  std::printf("shot: %s (%d x %d)\n", name.c_str(), w, h);
  return ok;
}

RECT Around(HWND a, HWND b = nullptr) {
  RECT r;
  GetWindowRect(a, &r);
  if (b) {
    RECT o;
    GetWindowRect(b, &o);
    UnionRect(&r, &r, &o);
  }
  InflateRect(&r, 8, 8);
  return r;
}

// Activates a window of the program as the operator's click would (the
// driver's own SetForegroundWindow is refused while another program has
// the foreground, so it borrows the window's input state for the call).
void Activate(HWND window) {
  const DWORD theirs = GetWindowThreadProcessId(window, nullptr);
  const DWORD ours = GetCurrentThreadId();
  AttachThreadInput(ours, theirs, TRUE);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  AttachThreadInput(ours, theirs, FALSE);
  const bool active = WaitFor([&] { return GetForegroundWindow() == window; }, 2000);
  if (!active) std::printf("shots: the window did not become active\n");
  RECT r;
  GetWindowRect(window, &r);
  SetCursorPos(r.right + 40, r.bottom + 40);  // off the window: nothing shows hot
  Sleep(300);
}

bool Fail(const char* what) {
  std::printf("shots: %s\n", what);
  return false;
}

// The window of process pid with the caption, skinned (the engine answers
// its query) and shown.
HWND SkinnedWindow(DWORD pid, const std::string& caption) {
  HWND w = WaitTopWindow(pid, caption, 20000);
  if (!w) return nullptr;
  WaitFor([&] { return SendMessageW(w, 0x3523, 0, 0) == 1; }, 5000);
  Sleep(300);
  return w;
}

// The program was started beside the driver (as the operator starts it, so
// that its window takes the activation); its process id is read off its
// main window.
struct TRunning {
  DWORD pid = 0;
  DWORD Pid() const { return pid; }
};

HWND FindMainWindow(int ms) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        found = FindWindowW(nullptr, L"Tavrin");
        return found && IsWindowVisible(found);
      },
      ms);
  return found;
}

bool Run() {
  HWND main = FindMainWindow(20000);
  if (!main) return Fail("no main window");
  TRunning tavrin;
  GetWindowThreadProcessId(main, &tavrin.pid);
  main = SkinnedWindow(tavrin.Pid(), "Tavrin");
  if (!main) return Fail("no skinned main window");
  Activate(main);
  FormMap map;
  std::string error;
  if (!map.Load(AppFormPath("Main.form"), error)) return Fail(error.c_str());
  WriteShot("main.bmp", Around(main));

  // The sector list, opened with its button.
  HWND sectors = map.Window(main, "cbbAreaNumPW");
  if (sectors) {
    RECT r;
    GetWindowRect(sectors, &r);
    const POINT arrow = {r.right - 8, (r.top + r.bottom) / 2};
    SetCursorPos(arrow.x, arrow.y);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    Sleep(600);
    HWND popup = nullptr;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == tavrin.Pid() && w != main && IsWindowVisible(w) && (GetWindowLongW(w, GWL_STYLE) & WS_POPUP) &&
          !(GetWindowLongW(w, GWL_STYLE) & WS_CAPTION)) {
        RECT pr;
        GetWindowRect(w, &pr);
        if (pr.right - pr.left > 20 && pr.bottom - pr.top > 20) popup = w;
      }
    }
    WriteShot("sectors.bmp", Around(main, popup));
    PressKey(popup ? popup : sectors, VK_ESCAPE);
    SetForegroundWindow(main);
    Sleep(300);
  }

  // A message box: keying without a new key is refused with a warning.
  HWND newKey = map.Window(main, "medtNewPassWord");
  HWND keyOne = map.Window(main, "btnSetOneCardPassWord");
  if (newKey && keyOne) {
    SendMessageW(newKey, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Click(keyOne);
    MessageBoxSeen box = WaitMessageBox(tavrin.Pid(), 10000);
    if (box.hwnd) {
      Sleep(500);
      WriteShot("box.bmp", Around(main, box.hwnd));
      Answer(box, box.buttons.empty() ? IDOK : box.buttons.front());
    }
  }

  // The key profiles, opened from their label, and a profile being added.
  if (map.ClickAt(main, "lbl21")) {
    HWND profiles = nullptr;
    WaitFor(
        [&] {
          for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == tavrin.Pid() && w != main && IsWindowVisible(w) && (GetWindowLongW(w, GWL_STYLE) & WS_CAPTION))
              profiles = w;
          }
          return profiles != nullptr;
        },
        10000);
    if (profiles) {
      WaitFor([&] { return SendMessageW(profiles, 0x3523, 0, 0) == 1; }, 5000);
      Sleep(500);
      WriteShot("profiles.bmp", Around(profiles));
      FormMap users;
      if (users.Load(AppFormPath("UserMG.form"), error)) {
        if (HWND add = users.Window(profiles, "btnAdd")) {
          Click(add);
          HWND edit = nullptr;
          WaitFor(
              [&] {
                for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                  DWORD pid = 0;
                  GetWindowThreadProcessId(w, &pid);
                  if (pid == tavrin.Pid() && w != main && w != profiles && IsWindowVisible(w) &&
                      (GetWindowLongW(w, GWL_STYLE) & WS_CAPTION))
                    edit = w;
                }
                return edit != nullptr;
              },
              10000);
          if (edit) {
            WaitFor([&] { return SendMessageW(edit, 0x3523, 0, 0) == 1; }, 5000);
            Sleep(500);
            WriteShot("profile-edit.bmp", Around(edit));
            PostMessageW(edit, WM_CLOSE, 0, 0);
            Sleep(300);
          }
        }
      }
      PostMessageW(profiles, WM_CLOSE, 0, 0);
      Sleep(300);
    }
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  WaitFor([&] { return !IsWindow(main); }, 10000);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: ShotDriver <folder>\n");
    return 2;
  }
  g_folder = argv[1];
  return Run() ? 0 : 1;
}
