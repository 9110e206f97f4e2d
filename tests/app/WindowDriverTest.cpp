// The test driver reads a message box of another process: caption, text,
// icon and buttons, and answers it.
#include <gtest/gtest.h>

#include "WindowDriver.h"

using namespace driver;

namespace {
std::string ProbePath() { return BinFolder() + "BoxProbe.exe"; }

struct Case {
  UINT flags;
  BoxIcon icon;
  int answer;
};
}  // namespace

TEST(WindowDriver, ReadsAndAnswersMessageBoxes) {
  const Case cases[] = {{MB_OK | MB_ICONINFORMATION, BoxIcon::Information, IDOK},
                        {MB_OK | MB_ICONWARNING, BoxIcon::Warning, IDOK},
                        {MB_OK | MB_ICONERROR, BoxIcon::Error, IDOK},
                        {MB_YESNO | MB_ICONQUESTION, BoxIcon::Question, IDNO},
                        {MB_OK, BoxIcon::None, IDOK}};
  for (const Case& c : cases) {
    Program probe;
    // Plain ASCII on the command line: the test's code page may not be GBK.
    const std::string cmd = ProbePath();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = "\"" + cmd + "\" Caption \"Some text\" " + std::to_string(c.flags);
    ASSERT_TRUE(CreateProcessA(cmd.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    MessageBoxSeen box = WaitMessageBox(pi.dwProcessId, 10000);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.caption, "Caption");
    EXPECT_EQ(box.text, "Some text");
    EXPECT_EQ(box.icon, c.icon) << IconName(box.icon) << " for flags " << c.flags;
    EXPECT_TRUE(Answer(box, c.answer));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(static_cast<int>(code), c.answer);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
}
