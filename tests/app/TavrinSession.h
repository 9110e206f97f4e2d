// One run of the real Tavrin.exe with the real Dorvex.dll against the
// simulated reader, for the end-to-end tests: a fresh program folder, the
// simulator's COM port in the port list, a factory-fresh card, and the
// window driven as an operator would.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FormMap.h"
#include "SimClient.h"
#include "WindowDriver.h"

namespace tavrin_test {

extern const char* const kFactoryKey;  // A5C3E7B91D2F

// GBK texts the tests look for.
std::string Gbk(const char* utf8);

class TavrinSession : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // ---- the program ----
  // Copies the program and the library into a new folder and starts it
  // (from another working directory); false when the window does not come.
  bool StartProgram();
  // Closes the main window and waits for the program to end.
  bool CloseProgram(int ms = 15000);
  HWND Main() const { return main_; }
  HWND W(const std::string& name) const { return mainMap_.Window(main_, name); }
  // Clicks a button (posted).
  void Press(const std::string& name);
  // The program's child windows, for a failure message.
  std::string Children();
  // Puts a 12-digit key into a key edit by typing it.
  void TypeKey(const std::string& edit, const std::string& key);
  // Puts another port name into the registry's port list (until the end
  // of the test).
  void ListPort(const std::string& name);
  // Chooses the simulator's port in the port list.
  void ChooseSimPort();
  // Expects a box with the caption "提示", the text and the icon, answers OK.
  void ExpectBox(const std::string& text, driver::BoxIcon icon, int ms = 20000);
  driver::MessageBoxSeen Box(int ms = 20000);
  // The number a counter label shows, read from the screen ("" when it
  // cannot be made out).
  bool CounterShows(const std::string& label, int value);
  // The key profile file as it stands ("" when there is none).
  std::string ProfileText() const;
  // Writes the key profile file as another program would; false when it
  // cannot be written.
  bool WriteProfileText(const std::string& text) const;
  // True when `text` holds `line` as a whole line.
  static bool HasLine(const std::string& text, const std::string& line);

  // ---- the simulated reader ----
  std::string Sim(const std::string& command);
  bool SimOk(const std::string& command);
  // A new card with the factory key on every sector.
  void FreshCard(const std::string& serial);
  std::vector<std::string> Keys();  // key A of sectors 0-15
  int Frames();                     // frames received since the last log clear
  int Opens();                      // port openings since the test began
  // ChangeCardPassWord of the real library.
  static std::string Scramble(const std::string& key, const std::string& value);

  static sim::SimClient* sim_;
  static int com_;
  int opensAtStart_ = 0;
  std::vector<std::string> listed_;
  std::string folder_;  // the program's folder, with a trailing backslash
  driver::Program program_;
  HWND main_ = nullptr;
  driver::FormMap mainMap_;
};

}  // namespace tavrin_test
