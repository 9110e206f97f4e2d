#include "TavrinSession.h"

#include <cstdlib>

#include "Dorvex.h"

using namespace driver;

namespace tavrin_test {

const char* const kFactoryKey = "A5C3E7B91D2F";

sim::SimClient* TavrinSession::sim_ = nullptr;
int TavrinSession::com_ = 0;

namespace {

const char* kPortsKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
const char* kPortValue = "\\Device\\CardInitSimulatedReader";

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = dir + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + "\\");
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

// The skin fits its own frame round a window a moment after the window
// comes up, which moves the client area: until then the window has the
// frame the system gives its style.
bool HasSkinFrame(HWND window) {
  RECT client, frame, shown;
  GetClientRect(window, &client);
  frame = client;
  AdjustWindowRectEx(&frame, GetWindowLongW(window, GWL_STYLE), FALSE, GetWindowLongW(window, GWL_EXSTYLE));
  GetWindowRect(window, &shown);
  return shown.right - shown.left != frame.right - frame.left || shown.bottom - shown.top != frame.bottom - frame.top;
}

}  // namespace

std::string Gbk(const char* utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &w[0], n);
  w.resize(n - 1);
  return ToGbk(w);
}

void TavrinSession::SetUpTestSuite() {
  sim_ = new sim::SimClient;
  ASSERT_TRUE(sim_->Connect()) << "no simulated reader (run under with-reader-sim.sh)";
  com_ = sim::SimComFromEnvironment();
  ASSERT_GT(com_, 0);
  // The port list of the program comes from the registry; the simulator's
  // port is put there for as long as the tests run.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string name = "COM" + std::to_string(com_);
  RegSetValueExA(key, kPortValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                 static_cast<DWORD>(name.size() + 1));
  RegCloseKey(key);
}

void TavrinSession::TearDownTestSuite() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, kPortValue);
    RegCloseKey(key);
  }
  delete sim_;
  sim_ = nullptr;
}

void TavrinSession::SetUp() {
  ASSERT_TRUE(sim_ && sim_->Connected());
  SimOk("fault clear");
  SimOk("link up");
  FreshCard("5A3C0F12");
  SimOk("log clear");
  opensAtStart_ = std::atoi(Sim("get opens").c_str());
  std::string error;
  ASSERT_TRUE(mainMap_.Load(AppFormPath("Main.form"), error)) << error;
}

void TavrinSession::TearDown() {
  if (program_.Running()) CloseProgram(10000);
  program_.Kill();
  HKEY key = nullptr;
  if (!listed_.empty() && RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    for (const auto& v : listed_) RegDeleteValueA(key, v.c_str());
    RegCloseKey(key);
  }
  listed_.clear();
  if (!folder_.empty()) RemoveTree(folder_);
}

bool TavrinSession::StartProgram() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  if (folder_.empty()) {
    // A new folder for the first start of a test; later starts reuse it.
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::string(temp) + "tavrin-" + info->name() + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    RemoveTree(folder_);
    CreateDirectoryA(folder_.c_str(), nullptr);
    const std::string bin = BinFolder();
    if (!CopyFileA((bin + "Tavrin.exe").c_str(), (folder_ + "Tavrin.exe").c_str(), FALSE)) return false;
    if (!CopyFileA((bin + "Dorvex.dll").c_str(), (folder_ + "Dorvex.dll").c_str(), FALSE)) return false;
  }
  // Started from another working directory: the folders must still come
  // beside the program.
  if (!program_.Start(folder_ + "Tavrin.exe", temp)) return false;
  main_ = WaitTopWindow(program_.Pid(), "Tavrin", 20000);
  if (!main_) return false;
  // Ready: the window answers messages, and its controls are where the
  // operator sees them (a click aimed before the skin's frame came would
  // land above the control).
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &r)) return false;
  WaitFor([&] { return HasSkinFrame(main_); }, 5000);
  return true;
}

bool TavrinSession::CloseProgram(int ms) {
  if (!program_.Running()) return true;
  PostMessageW(main_, WM_CLOSE, 0, 0);
  return program_.WaitExit(ms) >= 0;
}

void TavrinSession::Press(const std::string& name) {
  HWND h = nullptr;
  WaitFor([&] { return (h = W(name)) != nullptr; }, 5000);
  ASSERT_NE(h, nullptr) << name << " not found; children of the window:" << Children();
  Click(h);
}

std::string TavrinSession::Children() {
  std::string out;
  for (HWND c : Descendants(main_)) {
    RECT rc;
    GetWindowRect(c, &rc);
    POINT p = {rc.left, rc.top};
    ScreenToClient(GetParent(c), &p);
    out += "\n  " + ClassOf(c) + " at " + std::to_string(p.x) + "," + std::to_string(p.y) +
           (IsWindowVisible(c) ? "" : " hidden");
  }
  return out;
}

void TavrinSession::TypeKey(const std::string& edit, const std::string& key) {
  HWND h = W(edit);
  ASSERT_NE(h, nullptr) << edit;
  SendMessageW(h, EM_SETSEL, 0, -1);
  TypeText(h, key);
}

void TavrinSession::ListPort(const std::string& name) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  const std::string value = std::string(kPortValue) + "-" + name;
  RegSetValueExA(key, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                 static_cast<DWORD>(name.size() + 1));
  RegCloseKey(key);
  listed_.push_back(value);
}

void TavrinSession::ChooseSimPort() {
  HWND combo = W("cbbRPort");
  ASSERT_NE(combo, nullptr);
  const auto items = ComboItems(combo);
  const std::string name = "COM" + std::to_string(com_);
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == name) {
      SelectComboItem(combo, static_cast<int>(i));
      ASSERT_TRUE(WaitFor([&] { return TextOf(combo) == name; }, 5000));
      return;
    }
  FAIL() << name << " is not in the port list";
}

MessageBoxSeen TavrinSession::Box(int ms) { return WaitMessageBox(program_.Pid(), ms); }

void TavrinSession::ExpectBox(const std::string& text, BoxIcon icon, int ms) {
  MessageBoxSeen box = Box(ms);
  ASSERT_NE(box.hwnd, nullptr) << "no message box";
  EXPECT_EQ(box.caption, Gbk("提示"));
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.icon, icon) << IconName(box.icon);
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  EXPECT_TRUE(Answer(box, IDOK));
}

std::string TavrinSession::Sim(const std::string& command) { return sim_->Value(command); }

bool TavrinSession::SimOk(const std::string& command) { return sim_->Ok(command); }

void TavrinSession::FreshCard(const std::string& serial) {
  SimOk("card new " + serial);
  for (int s = 0; s < 16; ++s) SimOk("set key " + std::to_string(s) + " " + kFactoryKey);
}

std::vector<std::string> TavrinSession::Keys() {
  std::vector<std::string> keys;
  std::string all = Sim("get keys");
  for (size_t at = 0; at + 12 <= all.size(); at += 13) keys.push_back(all.substr(at, 12));
  return keys;
}

int TavrinSession::Frames() {
  int n = 0;
  for (const auto& line : sim_->Log())
    if (line.find(" frame ") != std::string::npos) ++n;
  return n;
}

int TavrinSession::Opens() { return std::atoi(Sim("get opens").c_str()) - opensAtStart_; }

std::string TavrinSession::Scramble(const std::string& key, const std::string& value) {
  char out[DORVEX_KEY_BUFFER] = {};
  ChangeCardPassWord(key.c_str(), value.c_str(), out);
  return out;
}

std::string TavrinSession::ProfileText() const {
  std::string text;
  HANDLE f = CreateFileA((folder_ + "Data\\SysInfo.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return text;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got) text.append(buf, got);
  CloseHandle(f);
  return text;
}

bool TavrinSession::WriteProfileText(const std::string& text) const {
  HANDLE f = CreateFileA((folder_ + "Data\\SysInfo.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  const bool written = WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &put, nullptr) && put == text.size();
  CloseHandle(f);
  return written;
}

bool TavrinSession::HasLine(const std::string& text, const std::string& line) {
  for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
    const bool starts = at == 0 || text[at - 1] == '\n';
    const size_t end = at + line.size();
    const bool ends = end == text.size() || text[end] == '\n' || text.compare(end, 2, "\r\n") == 0;
    if (starts && ends) return true;
  }
  return false;
}

namespace {

// Which of the pixels are close to `color`.
std::vector<bool> InkMask(const std::vector<uint32_t>& px, COLORREF color) {
  std::vector<bool> mask(px.size());
  const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  for (size_t i = 0; i < px.size(); ++i) {
    const int pr = (px[i] >> 16) & 0xFF, pg = (px[i] >> 8) & 0xFF, pb = px[i] & 0xFF;
    mask[i] = std::abs(pr - r) + std::abs(pg - g) + std::abs(pb - b) < 160;
  }
  return mask;
}

// `text` drawn in `font` and `color` on white, w x h pixels.
std::vector<uint32_t> TextPixels(const std::wstring& text, HFONT font, COLORREF color, int w, int h) {
  return PaintedPixels(w, h, [&](HDC dc) {
    RECT rc = {0, 0, w, h};
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, DT_LEFT | DT_TOP | DT_NOPREFIX);
    SelectObject(dc, oldFont);
  });
}

}  // namespace

bool TavrinSession::CounterShows(const std::string& label, int value) {
  RECT rc;
  if (!mainMap_.ScreenRect(main_, label, rc)) return false;
  const int w = 60, h = 24;
  const COLORREF color = label == "lblSuccCnt" ? RGB(0, 128, 0) : RGB(128, 0, 0);
  // The counters' font: 仿宋_GB2312, bold, 19 pixels.
  HFONT font = CreateFontW(-19, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, DEFAULT_QUALITY, 0,
                           FromGbk(Gbk("仿宋_GB2312")).c_str());
  const std::wstring text = std::to_wstring(value);
  const RECT shown = {rc.left, rc.top, rc.left + w, rc.top + h};
  bool match = false;
  for (int attempt = 0; attempt < 25 && !match; ++attempt) {
    const auto seen = InkMask(CaptureScreen(shown), color);
    const auto want = InkMask(TextPixels(text, font, color, w, h), color);
    int ink = 0, differ = 0;
    for (size_t i = 0; i < seen.size(); ++i) {
      ink += want[i] || seen[i];
      differ += want[i] != seen[i];
    }
    match = ink > 0 && differ * 10 <= ink;
    if (!match) Sleep(100);
  }
  DeleteObject(font);
  return match;
}

}  // namespace tavrin_test
