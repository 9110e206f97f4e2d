// Drives a program's windows from a test process the way an operator would:
// finds its windows, clicks buttons, picks items, types keys, and reads and
// answers its message boxes (caption, text and icon). Texts are compared as
// GBK bytes, the program's own code page.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace driver {

enum class BoxIcon { None, Information, Warning, Error, Question, Unknown };
const char* IconName(BoxIcon icon);

// A message box that the program shows.
struct MessageBoxSeen {
  HWND hwnd = nullptr;
  std::string caption;  // GBK
  std::string text;     // GBK
  BoxIcon icon = BoxIcon::None;
  std::vector<int> buttons;  // IDOK, IDYES, ...
};

// The folder of the running program, ending in a separator: the programs
// built beside it (Tavrin.exe, Dorvex.dll, the probes) are found there.
std::string BinFolder();

// GBK <-> UTF-16, whatever the test's own code page is.
std::wstring FromGbk(const std::string& text);
std::string ToGbk(const std::wstring& text);

// The window's text as GBK.
std::string TextOf(HWND hwnd);
std::string ClassOf(HWND hwnd);

// Waits up to `ms` for a visible top-level window of process `pid` whose
// caption is `caption` (GBK; empty: any) and that is not a message box.
HWND WaitTopWindow(DWORD pid, const std::string& caption, int ms);
// Waits up to `ms` for a message box of process `pid`; nullptr-hwnd on time-out.
MessageBoxSeen WaitMessageBox(DWORD pid, int ms);
// True when no message box of `pid` shows up within `ms`.
bool NoMessageBox(DWORD pid, int ms);
// Presses the box's button `id` (IDOK, IDYES, IDNO ...) and waits until the
// box is gone.
bool Answer(const MessageBoxSeen& box, int id);

// All descendants of `parent`, in the window manager's order.
std::vector<HWND> Descendants(HWND parent);
// The first descendant of `parent` with that class (case ignored; empty:
// any) and text (GBK; empty: any), skipping `skip` matches.
HWND FindChild(HWND parent, const std::string& cls, const std::string& text, int skip = 0);

// Posts a click on a button (does not wait for what the click starts).
void Click(HWND button);
// Clicks a check box or a label-like control at its centre with the mouse
// messages a real click sends.
void MouseClick(HWND hwnd);
// Selects item `index` of a combo box as the operator would (the owner is
// told of the selection change). Posted.
void SelectComboItem(HWND combo, int index);
std::vector<std::string> ComboItems(HWND combo);
int ComboSelection(HWND combo);
// Types `text` into a control: WM_CHAR for every character, after putting
// the focus there.
void TypeText(HWND hwnd, const std::string& text);
// Sends one WM_KEYDOWN/WM_KEYUP pair.
void PressKey(HWND hwnd, UINT vk);

// The middle of row `row` of a report list view, `x` pixels in, in the
// view's client coordinates (below its header).
POINT ListViewRowPoint(HWND listView, int row, int x = 30);

// ---- real input ----
// The desktop's own pointer and keyboard (SendInput), as an operator's hand
// gives them: the input goes to whatever window is under the pointer or
// has the keyboard focus, through the program's own message loop. Each
// call waits until the system has taken the input (the pointer is there,
// the button is down and then up again, the key likewise); what the
// program does with it is for the caller to wait for. The pointer's calls
// return false when the input did not arrive.

// Moves the pointer to a screen point.
bool PointerTo(POINT p);
// Moves the pointer to `p` and presses and releases the left button there.
// With `target`, waits first until `target` (or a window inside it) is the
// window at `p`, as a hand waits to see the window before it clicks.
bool LeftClickAt(POINT p, HWND target = nullptr);
// Two clicks at `p` as quick as a double click.
bool LeftDoubleClickAt(POINT p, HWND target = nullptr);
// The same at the centre of a window, of a rectangle on the screen.
bool LeftClick(HWND hwnd);
bool LeftClickRect(const RECT& screen, HWND target);
// Presses and releases a virtual key; with `modifier` (VK_MENU, VK_SHIFT,
// VK_CONTROL) held around it. Keys go to the window in front: a key that
// comes while none is (a window has just closed, the next one is not yet
// in front) is lost, as it is for an operator; wait for the window first.
// The system's key state, which the wait reads, is reset when the focus
// moves to another window, so a key is waited for a second at most and
// the call returns true once the key is given.
bool KeyPress(WORD vk, WORD modifier = 0);
// Types GBK text on the keyboard: letters, digits and ASCII signs as their
// keys (with Shift where needed), other characters as a character input of
// their own, as an input method gives them.
bool KeyType(const std::string& text);

// Waits up to `ms` until `window` is the window in front, the one that
// takes the keys.
bool WaitFront(HWND window, int ms = 5000);
// The keyboard focus and the active window of the thread of `hwnd`.
HWND FocusOf(HWND hwnd);
HWND ActiveOf(HWND hwnd);
// Waits up to `ms` until the focus of the thread of `hwnd` is `focus` (a
// control, or a window inside it, as a combo box's edit).
bool WaitFocus(HWND hwnd, HWND focus, int ms = 5000);
// A visible top-level window of process `pid` with the class `cls` (a
// combo box's drop-down list is "ComboLBox"), or nullptr.
HWND VisibleTopOfClass(DWORD pid, const std::string& cls);

// What `paint` draws into a w x h memory bitmap (it draws every pixel), as
// 0x00RRGGBB values row by row, top first.
std::vector<uint32_t> PaintedPixels(int w, int h, const std::function<void(HDC)>& paint);
// The screen pixels of `rc`, the same way.
std::vector<uint32_t> CaptureScreen(const RECT& rc);

// Waits (pumping nothing) until `pred` is true or `ms` passed.
template <typename Pred>
bool WaitFor(Pred pred, int ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start >= static_cast<DWORD>(ms)) return false;
    Sleep(20);
  }
}

// A program started for one test, killed at the end if still running.
class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program();
  // Starts `exe` with the working directory `cwd` (empty: the exe's folder).
  bool Start(const std::string& exe, const std::string& cwd = std::string());
  DWORD Pid() const { return pi_.dwProcessId; }
  HANDLE Handle() const { return pi_.hProcess; }
  // Waits up to `ms` for the process to end; its exit code, or -1.
  int WaitExit(int ms);
  bool Running() const;
  void Kill();

 private:
  PROCESS_INFORMATION pi_ = {};
};

}  // namespace driver
