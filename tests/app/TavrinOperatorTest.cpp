// Tavrin worked as an operator works it: the desktop's own pointer and
// keyboard (SendInput) on the real program, first with the mouse alone,
// then with the keyboard alone. Every window that a click opens, every
// button and check box in it, and the message boxes on these paths; the
// outcome is checked on the simulated reader's card and in the profile
// file. What the posted-message tests already check of each operation is
// not checked again here: these tests show that the hand gets there.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "TavrinSession.h"

using namespace driver;
using namespace tavrin_test;

namespace {

const char* kNewKey = "0123456789AB";
const char* kZhang = "张三";

std::string Spaced(const std::string& key) {
  std::string s;
  for (size_t i = 0; i < key.size(); i += 2) s += (i ? " " : "") + key.substr(i, 2);
  return s;
}

bool Checked(HWND h) { return SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool Gone(HWND h) {
  return WaitFor([&] { return !IsWindow(h) || !IsWindowVisible(h); }, 10000);
}

class Operator : public TavrinSession {
 protected:
  void SetUp() override {
    TavrinSession::SetUp();
    std::string error;
    ASSERT_TRUE(mgMap_.Load(AppFormPath("UserMG.form"), error)) << error;
    ASSERT_TRUE(editMap_.Load(AppFormPath("UserEdit.form"), error)) << error;
    ASSERT_TRUE(StartProgram());
  }

  // ---- the mouse ----
  // A real click on a control of a form (windowless or not).
  bool ClickOn(const FormMap& map, HWND form, const std::string& name) {
    POINT p;
    HWND window = nullptr;
    if (!map.ClickPoint(form, name, p, window)) return false;
    return LeftClickAt(p, window);
  }
  bool ClickMain(const std::string& name) { return ClickOn(mainMap_, main_, name); }
  // A real click a few pixels into an edit, where the caret goes to its
  // start.
  bool ClickIntoEdit(HWND edit) {
    RECT rc;
    GetWindowRect(edit, &rc);
    return LeftClickAt(POINT{rc.left + 4, (rc.top + rc.bottom) / 2}, edit);
  }
  // The open drop-down list of a combo box.
  HWND DropList() {
    HWND list = nullptr;
    WaitFor([&] { return (list = VisibleTopOfClass(program_.Pid(), "ComboLBox")) != nullptr; }, 5000);
    return list;
  }
  // A real click on line `index` of a list box (a drop-down list, the
  // sector list), `x` pixels in from its left.
  bool ClickListLine(HWND list, int index, int x = -1) {
    const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    RECT client;
    GetClientRect(list, &client);
    POINT p = {x >= 0 ? x : client.right / 2, (index - top) * height + height / 2};
    if (height <= 0 || p.y < 0 || p.y >= client.bottom) return false;
    ClientToScreen(list, &p);
    return LeftClickAt(p, list);
  }
  // Chooses item `index` of a combo box with two real clicks: the box,
  // then the item in its list.
  void ChooseWithMouse(HWND combo, int index) {
    ASSERT_TRUE(LeftClick(combo));
    HWND list = DropList();
    ASSERT_NE(list, nullptr) << "the list did not drop down";
    // What the list was like before the click, for a failure's message.
    RECT before = {};
    GetWindowRect(list, &before);
    const int topBefore = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const int selBefore = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    ASSERT_TRUE(ClickListLine(list, index));
    const bool listStill = IsWindowVisible(list);
    const HWND front = GetForegroundWindow();
    ASSERT_TRUE(Gone(list));
    ASSERT_TRUE(WaitFor([&] { return ComboSelection(combo) == index; }, 5000))
        << "list at " << before.left << "," << before.top << "-" << before.right << "," << before.bottom << " top "
        << topBefore << " selected " << selBefore << "; after the click: "
        << (listStill ? "still shown" : "gone") << ", front window " << front << " (main " << main_ << ")"
        << ", combo selection " << ComboSelection(combo);
  }
  // The caption's close box of a skinned window: the red button at the
  // right end of the caption, found by its colour.
  bool CloseBoxOf(HWND window, POINT& centre) {
    RECT wr;
    GetWindowRect(window, &wr);
    const RECT strip = {wr.left + (wr.right - wr.left) / 2, wr.top, wr.right, wr.top + 32};
    const int w = strip.right - strip.left;
    RECT found = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int attempt = 0; attempt < 50 && found.left == LONG_MAX; ++attempt) {
      if (attempt) Sleep(50);
      const auto px = CaptureScreen(strip);
      for (size_t i = 0; i < px.size(); ++i) {
        const int r = (px[i] >> 16) & 0xFF, g = (px[i] >> 8) & 0xFF, b = px[i] & 0xFF;
        if (r < 150 || g > 110 || b > 100) continue;
        const LONG x = static_cast<LONG>(i % w), y = static_cast<LONG>(i / w);
        found = RECT{std::min(found.left, x), std::min(found.top, y), std::max(found.right, x),
                     std::max(found.bottom, y)};
      }
    }
    if (found.left == LONG_MAX) return false;
    centre = POINT{strip.left + (found.left + found.right) / 2, strip.top + (found.top + found.bottom) / 2};
    return true;
  }

  // ---- the keyboard ----
  // The program's window in front, as it is for an operator who started it.
  void BringToFront(HWND window) {
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitFront(window));
  }
  // Presses Tab (Shift+Tab with `back`) until `control` has the focus, as
  // an operator does; false when it is not reached within a round.
  bool TabTo(HWND window, HWND control, bool back = false) {
    if (!WaitFront(window)) return false;
    // The focus settles first: a window made active again after a box
    // gives the focus back to its control a moment after the box is gone,
    // and a Tab pressed meanwhile would be taken for one that went nowhere.
    HWND settled = FocusOf(window);
    for (int still = 0, polls = 0; still < 5 && polls < 50; ++polls) {
      Sleep(20);
      const HWND now = FocusOf(window);
      still = now == settled ? still + 1 : 0;
      settled = now;
    }
    for (int i = 0; i < 30; ++i) {
      if (WaitFocus(window, control, 0)) return true;
      const HWND before = FocusOf(window);
      if (!KeyPress(VK_TAB, back ? VK_SHIFT : 0)) return false;
      // The focus moves on, or the key went nowhere.
      if (!WaitFor([&] { return FocusOf(window) != before; }, 2000)) return false;
    }
    return false;
  }
  // Tab goes round `names` in this order, starting where the focus is.
  void ExpectTabRound(HWND window, const FormMap& map, std::initializer_list<const char*> names) {
    const std::vector<const char*> order(names);
    ASSERT_TRUE(WaitFront(window));
    ASSERT_TRUE(WaitFocus(window, map.Window(window, order[0]))) << order[0] << " does not have the focus";
    for (size_t i = 1; i <= order.size(); ++i) {
      const char* next = order[i % order.size()];
      ASSERT_TRUE(KeyPress(VK_TAB));
      ASSERT_TRUE(WaitFocus(window, map.Window(window, next))) << "Tab did not go on to " << next;
    }
  }

  // ---- message boxes ----
  // Waits for a box with `text` and `icon`; its window.
  HWND ExpectText(const std::string& text, BoxIcon icon) {
    MessageBoxSeen box = Box(20000);
    EXPECT_NE(box.hwnd, nullptr) << "no box " << text;
    if (!box.hwnd) return nullptr;
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.icon, icon) << IconName(box.icon);
    return box.hwnd;
  }
  // The box answered by a real click on its button `id`; false when it
  // did not come or took no click.
  bool ClickAnswer(const std::string& text, BoxIcon icon, int id = IDOK) {
    HWND box = ExpectText(text, icon);
    if (!box) return false;
    EXPECT_TRUE(StaysReachable(box, id, 100)) << "the box went below its owners";
    if (!LeftClick(GetDlgItem(box, id)) || !Gone(box)) {
      ADD_FAILURE() << "the box took no click";
      return false;
    }
    return true;
  }
  // True while the box's button `id` stays the window at its middle, over
  // `ms`: the box is above the windows that own it, where the hand can
  // reach it.
  bool StaysReachable(HWND box, int id, int ms) { return StaysReachable(GetDlgItem(box, id), ms); }
  // The same for a control of any window: the window at its middle is the
  // control (or one inside it) all along.
  bool StaysReachable(HWND control, int ms) {
    RECT r;
    GetWindowRect(control, &r);
    const POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const DWORD start = GetTickCount();
    do {
      bool inside = false;
      for (HWND h = WindowFromPoint(p); h && !inside; h = GetParent(h)) inside = h == control;
      if (!inside) return false;
      Sleep(10);
    } while (GetTickCount() - start < static_cast<DWORD>(ms));
    return true;
  }
  // The box answered by a key (with `modifier` held).
  bool KeyAnswer(const std::string& text, BoxIcon icon, WORD vk = VK_RETURN, WORD modifier = 0) {
    HWND box = ExpectText(text, icon);
    if (!box) return false;
    if (!WaitFront(box)) {
      ADD_FAILURE() << "the box is not in front";
      return false;
    }
    if (!KeyPress(vk, modifier) || !Gone(box)) {
      ADD_FAILURE() << "the box took no key";
      return false;
    }
    return true;
  }

  // ---- the profile windows ----
  HWND L(const std::string& name) { return mgMap_.Window(list_, name); }
  HWND D(const std::string& name) { return editMap_.Window(dialog_, name); }
  int Rows() { return static_cast<int>(SendMessageW(L("lvUserInfo"), LVM_GETITEMCOUNT, 0, 0)); }
  int SelectedRow() { return static_cast<int>(SendMessageW(L("lvUserInfo"), LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }
  // The profile list, opened by a real click on the label 用户管理.
  // The windows come to the front, where the keys go.
  HWND OpenListByClick() {
    EXPECT_TRUE(ClickMain("lbl21"));
    list_ = WaitTopWindow(program_.Pid(), Gbk("用户管理"), 10000);
    if (list_) {
      EXPECT_TRUE(WaitFront(list_)) << "the list is not in front";
    }
    return list_;
  }
  HWND WaitDialog(const char* caption) {
    dialog_ = WaitTopWindow(program_.Pid(), Gbk(caption), 10000);
    if (dialog_) {
      EXPECT_TRUE(WaitFront(dialog_)) << "the editor is not in front";
    }
    return dialog_;
  }
  // A real click on row `row` of the profile list.
  bool ClickRow(int row) {
    HWND lv = L("lvUserInfo");
    POINT p = ListViewRowPoint(lv, row);
    ClientToScreen(lv, &p);
    if (!LeftClickAt(p, lv)) return false;
    // The list holds the pointer from the press until it has handled the
    // release, and input sent meanwhile goes to the list: the next click
    // waits until the pointer is free again.
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    int free = 0;
    return WaitFor(
        [&] {
          Sleep(10);
          free = GetGUIThreadInfo(GetWindowThreadProcessId(lv, nullptr), &gui) && !gui.hwndCapture ? free + 1 : 0;
          return free >= 3;
        },
        5000);
  }

  FormMap mgMap_, editMap_;
  HWND list_ = nullptr;
  HWND dialog_ = nullptr;
};

}  // namespace

// The profile windows with the mouse: the list opened by a click on the
// windowless label, the editor by 新增 and 修改, each of their buttons and
// boxes answered by a click, the list closed by 退出 and once by its
// caption's close box; what was saved is in the file and in the main
// window's profile box, which takes the mouse again afterwards.
TEST_F(Operator, TheProfileWindowsTakeTheRealMouse) {
  ASSERT_NE(OpenListByClick(), nullptr) << "a click on 用户管理 opened no list";
  // Nothing chosen: both buttons say so.
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnEdit"));
  ASSERT_TRUE(ClickAnswer(Gbk("请选择待修改的用户"), BoxIcon::Warning));
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnDel"));
  ASSERT_TRUE(ClickAnswer(Gbk("请选择待删除的用户"), BoxIcon::Warning));

  // 新增: a name and a key typed on the keyboard, 保存(&S) clicked.
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnAdd"));
  ASSERT_NE(WaitDialog("新增用户信息"), nullptr) << "新增 opened no editor";
  ASSERT_TRUE(ClickIntoEdit(D("edtUserName")));
  ASSERT_TRUE(KeyType(Gbk(kZhang) + "01"));
  ASSERT_TRUE(WaitFor([&] { return TextOf(D("edtUserName")) == Gbk(kZhang) + "01"; }, 5000))
      << TextOf(D("edtUserName"));
  ASSERT_TRUE(ClickIntoEdit(D("medtPassWord")));
  ASSERT_TRUE(KeyType("112233445566"));
  ASSERT_TRUE(WaitFor([&] { return TextOf(D("medtPassWord")) == "11 22 33 44 55 66"; }, 5000))
      << TextOf(D("medtPassWord"));
  ASSERT_TRUE(ClickOn(editMap_, dialog_, "btnSave"));
  ASSERT_TRUE(Gone(dialog_)) << "保存 did not close the editor";
  ASSERT_TRUE(WaitFor([&] { return Rows() == 1; }, 5000));

  // 新增 again: 保存 with no name is refused, 退出(&E) leaves.
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnAdd"));
  ASSERT_NE(WaitDialog("新增用户信息"), nullptr);
  ASSERT_TRUE(ClickOn(editMap_, dialog_, "btnSave"));
  ASSERT_TRUE(ClickAnswer(Gbk("用户名不能为空"), BoxIcon::Warning));
  EXPECT_TRUE(IsWindowVisible(dialog_));
  ASSERT_TRUE(ClickOn(editMap_, dialog_, "btnExit"));
  ASSERT_TRUE(Gone(dialog_)) << "退出 did not close the editor";
  EXPECT_EQ(Rows(), 1);

  // 修改 of the row clicked: the editor shows it; 退出 leaves it as it was.
  ASSERT_TRUE(ClickRow(0));
  ASSERT_TRUE(WaitFor([&] { return SelectedRow() == 0; }, 5000));
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnEdit"));
  ASSERT_NE(WaitDialog("修改用户信息"), nullptr) << "修改 opened no editor";
  EXPECT_EQ(TextOf(D("edtUserName")), Gbk(kZhang) + "01");
  EXPECT_EQ(TextOf(D("medtPassWord")), "11 22 33 44 55 66");
  ASSERT_TRUE(ClickOn(editMap_, dialog_, "btnExit"));
  ASSERT_TRUE(Gone(dialog_));

  // 退出 closes the list, which writes the file.
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnClose"));
  ASSERT_TRUE(Gone(list_)) << "退出 did not close the list";
  std::string ini = ProfileText();
  EXPECT_TRUE(HasLine(ini, "UserCnt=1")) << ini;
  EXPECT_TRUE(HasLine(ini, "UserName1=" + Gbk(kZhang) + "01")) << ini;
  EXPECT_TRUE(HasLine(ini, "PassWord1=112233445566")) << ini;

  // The main window takes the mouse again: the profile chosen in its box.
  ASSERT_TRUE(WaitFor([&] { return ComboItems(W("cbbUser")).size() == 1; }, 5000));
  ChooseWithMouse(W("cbbUser"), 0);
  EXPECT_TRUE(WaitFor([&] { return TextOf(W("medtNewPassWord")) == "11 22 33 44 55 66"; }, 5000));

  // 删除 asks; 否 keeps the row, 是 deletes it; the caption's close box
  // closes the list and writes the file.
  ASSERT_NE(OpenListByClick(), nullptr);
  ASSERT_TRUE(ClickRow(0));
  ASSERT_TRUE(WaitFor([&] { return SelectedRow() == 0; }, 5000));
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnDel"));
  ASSERT_TRUE(ClickAnswer(Gbk("是否删除用户：[") + Gbk(kZhang) + "01]?", BoxIcon::Question, IDNO));
  EXPECT_EQ(Rows(), 1);
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnDel"));
  ASSERT_TRUE(ClickAnswer(Gbk("是否删除用户：[") + Gbk(kZhang) + "01]?", BoxIcon::Question, IDYES));
  ASSERT_TRUE(WaitFor([&] { return Rows() == 0; }, 5000));
  POINT closeBox;
  ASSERT_TRUE(CloseBoxOf(list_, closeBox)) << "no close box on the list's caption";
  ASSERT_TRUE(LeftClickAt(closeBox, list_));
  ASSERT_TRUE(Gone(list_)) << "the close box did not close the list";
  EXPECT_TRUE(HasLine(ProfileText(), "UserCnt=0")) << ProfileText();
  EXPECT_TRUE(WaitFor([&] { return ComboItems(W("cbbUser")).empty(); }, 5000));
}

// The main window's card operations with the mouse: the port list and
// 检测..., the sector list (also its drop-down button clicked twice
// quickly), the three check boxes and the four card buttons, each box
// answered by a click on its OK; the card shows that each click did what
// it says.
TEST_F(Operator, TheMainWindowTakesTheRealMouse) {
  const std::string port = "COM" + std::to_string(com_);
  // The simulator's port chosen in the port list.
  const auto ports = ComboItems(W("cbbRPort"));
  const auto at = std::find(ports.begin(), ports.end(), port);
  ASSERT_NE(at, ports.end());
  ChooseWithMouse(W("cbbRPort"), static_cast<int>(at - ports.begin()));
  EXPECT_EQ(TextOf(W("cbbRPort")), port);
  ASSERT_TRUE(ClickMain("btnChkComPort"));
  ASSERT_TRUE(ClickAnswer(Gbk("检测串口号成功，当前设备连接串口COM") + std::to_string(com_), BoxIcon::Information));
  EXPECT_EQ(TextOf(W("cbbRPort")), port);

  // The sector list: a click opens it, a click on a line ticks or unticks
  // it, a click outside closes it.
  HWND sectorEdit = FindChild(W("cbbAreaNumPW"), "TEdit", "");
  ASSERT_NE(sectorEdit, nullptr);
  ASSERT_TRUE(LeftClick(sectorEdit));
  HWND checks = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
          DWORD pid = 0;
          GetWindowThreadProcessId(top, &pid);
          if (pid == program_.Pid() && IsWindowVisible(top) && (checks = FindChild(top, "TCheckListBox", "")))
            return true;
        }
        return false;
      },
      5000))
      << "a click opened no sector list";
  ASSERT_TRUE(ClickListLine(checks, 3, 40));
  ASSERT_TRUE(WaitFor([&] { return TextOf(sectorEdit) == "03/08/09/10"; }, 5000)) << TextOf(sectorEdit);
  ASSERT_TRUE(ClickListLine(checks, 1, 40));
  ASSERT_TRUE(WaitFor([&] { return TextOf(sectorEdit) == "01/03/08/09/10"; }, 5000)) << TextOf(sectorEdit);
  ASSERT_TRUE(ClickListLine(checks, 3, 40));
  ASSERT_TRUE(WaitFor([&] { return TextOf(sectorEdit) == "01/08/09/10"; }, 5000)) << TextOf(sectorEdit);
  ASSERT_TRUE(ClickMain("lblBatch"));
  ASSERT_TRUE(Gone(checks)) << "a click outside left the sector list open";
  EXPECT_EQ(TextOf(sectorEdit), "01/08/09/10");
  // A double click on its drop-down button opens it and closes it again;
  // the next click, once the double click's time is over, opens it.
  RECT combo;
  GetWindowRect(W("cbbAreaNumPW"), &combo);
  const POINT drop = {combo.right - 10, (combo.top + combo.bottom) / 2};
  ASSERT_TRUE(LeftDoubleClickAt(drop, W("cbbAreaNumPW")));
  Sleep(GetDoubleClickTime() + 100);
  ASSERT_TRUE(Gone(checks)) << "the double click left the sector list open";
  ASSERT_TRUE(LeftClickAt(drop, W("cbbAreaNumPW")));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(checks); }, 5000)) << "the click after a double click opened nothing";
  ASSERT_TRUE(ClickMain("lblBatch"));
  ASSERT_TRUE(Gone(checks));
  EXPECT_EQ(TextOf(sectorEdit), "01/08/09/10");

  // The check boxes: 加密 of the new key off, 加密 of the current key on
  // and off again.
  ASSERT_TRUE(ClickMain("chkNewNoEny"));
  ASSERT_TRUE(WaitFor([&] { return !Checked(W("chkNewNoEny")); }, 5000));
  ASSERT_TRUE(ClickMain("chkOldPWNoEny"));
  ASSERT_TRUE(WaitFor([&] { return Checked(W("chkOldPWNoEny")); }, 5000));
  ASSERT_TRUE(ClickMain("chkOldPWNoEny"));
  ASSERT_TRUE(WaitFor([&] { return !Checked(W("chkOldPWNoEny")); }, 5000));
  // The new key typed after a click into its edit.
  ASSERT_TRUE(ClickIntoEdit(W("medtNewPassWord")));
  ASSERT_TRUE(KeyType(kNewKey));
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("medtNewPassWord")) == Spaced(kNewKey); }, 5000))
      << TextOf(W("medtNewPassWord"));

  // The card buttons: the system card made and cancelled, then the keys
  // of the ticked sectors, then of all sectors, which fails on sector 1
  // that has the new key by then.
  ASSERT_TRUE(ClickMain("btn1"));
  ASSERT_TRUE(ClickAnswer(Gbk("制作系统密码卡成功"), BoxIcon::Information));
  EXPECT_NE(Sim("get block 32"), std::string(32, '0'));
  ASSERT_TRUE(ClickMain("btn2"));
  ASSERT_TRUE(ClickAnswer(Gbk("取消系统密码卡成功"), BoxIcon::Information));
  EXPECT_EQ(Sim("get block 32"), std::string(32, '0'));
  ASSERT_TRUE(ClickMain("btnSetOneCardPassWord"));
  ASSERT_TRUE(ClickAnswer(Gbk("设置卡指定扇区密码成功"), BoxIcon::Information));
  auto keys = std::vector<std::string>(16, kFactoryKey);
  for (int s : {1, 8, 9, 10}) keys[s] = kNewKey;
  EXPECT_EQ(Keys(), keys);
  ASSERT_TRUE(ClickMain("btnSetAllCardPassWord"));
  ASSERT_TRUE(ClickAnswer(Gbk("设置卡所有扇区密码失败"), BoxIcon::Error));

  // 发卡器主动加密: ticking sends nothing, unticking switches it off.
  ASSERT_TRUE(ClickMain("chkAutoEditPW"));
  ASSERT_TRUE(WaitFor([&] { return Checked(W("chkAutoEditPW")); }, 5000));
  EXPECT_TRUE(NoMessageBox(program_.Pid(), 500));
  ASSERT_TRUE(ClickMain("chkAutoEditPW"));
  ASSERT_TRUE(ClickAnswer(Gbk("取消主动加密成功"), BoxIcon::Information));
  EXPECT_FALSE(Checked(W("chkAutoEditPW")));
  EXPECT_EQ(Sim("get auto"), "off");
}

// The batch with the mouse: its choices made in their drop-down lists and
// on the spin buttons, started and stopped by clicks, the worker's failure
// box answered by a click; 退出 ends the program.
TEST_F(Operator, TheBatchAndTheExitTakeTheRealMouse) {
  ChooseWithMouse(W("cbbSetFailType"), 0);  // 停止操作
  ChooseWithMouse(W("cbbIsShowMsg"), 1);    // 否
  ChooseWithMouse(W("cbbIsShowMsg"), 0);    // 是
  ChooseWithMouse(W("cbbEditAreaType"), 1);  // 初始化所有扇区
  HWND spin = FindChild(W("seFailSleepTime"), "TUpDown", "");
  ASSERT_NE(spin, nullptr);
  RECT sr;
  GetWindowRect(spin, &sr);
  ASSERT_TRUE(LeftClickAt(POINT{(sr.left + sr.right) / 2, sr.top + 3}, spin));
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("seFailSleepTime")) == "6"; }, 5000)) << TextOf(W("seFailSleepTime"));
  ASSERT_TRUE(LeftClickAt(POINT{(sr.left + sr.right) / 2, sr.bottom - 3}, spin));
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("seFailSleepTime")) == "5"; }, 5000)) << TextOf(W("seFailSleepTime"));

  // No card: the first attempt fails, the worker's box is answered by a
  // click, and the batch pauses itself.
  SimOk("card present 0");
  ASSERT_TRUE(ClickMain("btnStart"));
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(W("btnStart")) && IsWindowEnabled(W("btnAbort")); }, 5000))
      << "开始批量初始化 did not start the batch";
  ASSERT_TRUE(ClickAnswer(Gbk("设置卡所有扇区密码失败"), BoxIcon::Error));
  EXPECT_TRUE(CounterShows("lblFailCnt", 1));
  ASSERT_TRUE(ClickMain("btnAbort"));
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(W("btnStart")) && !IsWindowEnabled(W("btnAbort")); }, 5000))
      << "停止批量初始化 did not stop the batch";

  ASSERT_TRUE(ClickMain("btnClose"));
  EXPECT_GE(program_.WaitExit(10000), 0) << "退出 did not end the program";
}

// The main window from the keyboard alone: Tab reaches every control in
// order and comes round; the port list drops down and chooses by keys;
// Space ticks the check boxes; Space and Enter press the buttons, and the
// boxes they bring are answered by Enter, Esc or Space; the batch choices
// change with the arrow keys; Space on 退出 ends the program.
TEST_F(Operator, TheMainWindowWorksFromTheKeyboard) {
  BringToFront(main_);
  ExpectTabRound(main_, mainMap_,
                 {"cbbRPort", "btnChkComPort", "cbbAreaNumPW", "medtPassWord", "chkOldPWNoEny", "cbbUser",
                  "medtNewPassWord", "chkNewNoEny", "chkAutoEditPW", "btnSetOneCardPassWord",
                  "btnSetAllCardPassWord", "btn1", "btn2", "seSuccSleepTime", "seFailSleepTime",
                  "cbbSetFailType", "cbbIsShowMsg", "cbbEditAreaType", "btnStart", "btnClose"});
  ASSERT_TRUE(KeyPress(VK_TAB, VK_SHIFT));
  ASSERT_TRUE(WaitFocus(main_, W("btnClose"))) << "Shift+Tab did not go back round";
  ASSERT_TRUE(KeyPress(VK_TAB));
  ASSERT_TRUE(WaitFocus(main_, W("cbbRPort")));

  // The port list: Alt+Down drops it, the arrows move, Enter takes it.
  const std::string port = "COM" + std::to_string(com_);
  const auto ports = ComboItems(W("cbbRPort"));
  const int index = static_cast<int>(std::find(ports.begin(), ports.end(), port) - ports.begin());
  ASSERT_LT(index, static_cast<int>(ports.size()));
  ASSERT_TRUE(KeyPress(VK_DOWN, VK_MENU));
  HWND drop = DropList();
  ASSERT_NE(drop, nullptr) << "Alt+Down did not drop the port list";
  ASSERT_TRUE(KeyPress(VK_HOME));
  for (int i = 0; i < index; ++i) ASSERT_TRUE(KeyPress(VK_DOWN));
  ASSERT_TRUE(KeyPress(VK_RETURN));
  ASSERT_TRUE(Gone(drop));
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("cbbRPort")) == port; }, 5000));
  // 检测... by Space, its box closed by Enter.
  ASSERT_TRUE(TabTo(main_, W("btnChkComPort")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(KeyAnswer(Gbk("检测串口号成功，当前设备连接串口COM") + std::to_string(com_), BoxIcon::Information));

  // The check boxes by Space.
  ASSERT_TRUE(TabTo(main_, W("chkNewNoEny")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(WaitFor([&] { return !Checked(W("chkNewNoEny")); }, 5000));
  ASSERT_TRUE(TabTo(main_, W("chkOldPWNoEny"), /*back=*/true));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(WaitFor([&] { return Checked(W("chkOldPWNoEny")); }, 5000));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(WaitFor([&] { return !Checked(W("chkOldPWNoEny")); }, 5000));
  // The new key typed from its start.
  ASSERT_TRUE(TabTo(main_, W("medtNewPassWord")));
  ASSERT_TRUE(KeyPress(VK_HOME));
  ASSERT_TRUE(KeyType(kNewKey));
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("medtNewPassWord")) == Spaced(kNewKey); }, 5000))
      << TextOf(W("medtNewPassWord"));

  // The card buttons by Space and by Enter; their boxes closed by Enter,
  // Esc and Space.
  ASSERT_TRUE(TabTo(main_, W("btn1")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(KeyAnswer(Gbk("制作系统密码卡成功"), BoxIcon::Information, VK_RETURN));
  ASSERT_TRUE(TabTo(main_, W("btn2")));
  ASSERT_TRUE(KeyPress(VK_RETURN));
  ASSERT_TRUE(KeyAnswer(Gbk("取消系统密码卡成功"), BoxIcon::Information, VK_ESCAPE));
  EXPECT_EQ(Sim("get block 32"), std::string(32, '0'));
  ASSERT_TRUE(TabTo(main_, W("btnSetOneCardPassWord")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(KeyAnswer(Gbk("设置卡指定扇区密码成功"), BoxIcon::Information, VK_SPACE));
  auto keys = std::vector<std::string>(16, kFactoryKey);
  for (int s : {8, 9, 10}) keys[s] = kNewKey;
  EXPECT_EQ(Keys(), keys);
  ASSERT_TRUE(TabTo(main_, W("btnSetAllCardPassWord")));
  ASSERT_TRUE(KeyPress(VK_RETURN));
  ASSERT_TRUE(KeyAnswer(Gbk("设置卡所有扇区密码失败"), BoxIcon::Error));
  // 发卡器主动加密 ticked and unticked by Space.
  ASSERT_TRUE(TabTo(main_, W("chkAutoEditPW")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(WaitFor([&] { return Checked(W("chkAutoEditPW")); }, 5000));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(KeyAnswer(Gbk("取消主动加密成功"), BoxIcon::Information));
  EXPECT_FALSE(Checked(W("chkAutoEditPW")));

  // The batch choices by the arrow keys.
  ASSERT_TRUE(TabTo(main_, W("seFailSleepTime")));
  ASSERT_TRUE(KeyPress(VK_UP));
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("seFailSleepTime")) == "6"; }, 5000)) << TextOf(W("seFailSleepTime"));
  ASSERT_TRUE(KeyPress(VK_DOWN));
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("seFailSleepTime")) == "5"; }, 5000)) << TextOf(W("seFailSleepTime"));
  ASSERT_TRUE(TabTo(main_, W("cbbSetFailType")));
  ASSERT_TRUE(KeyPress(VK_UP));
  ASSERT_TRUE(WaitFor([&] { return ComboSelection(W("cbbSetFailType")) == 0; }, 5000));
  ASSERT_TRUE(TabTo(main_, W("cbbIsShowMsg")));
  ASSERT_TRUE(KeyPress(VK_DOWN));
  ASSERT_TRUE(WaitFor([&] { return ComboSelection(W("cbbIsShowMsg")) == 1; }, 5000));
  ASSERT_TRUE(TabTo(main_, W("cbbEditAreaType")));
  ASSERT_TRUE(KeyPress(VK_DOWN));
  ASSERT_TRUE(WaitFor([&] { return ComboSelection(W("cbbEditAreaType")) == 1; }, 5000));
  ASSERT_TRUE(TabTo(main_, W("cbbIsShowMsg"), /*back=*/true));
  ASSERT_TRUE(KeyPress(VK_UP));
  ASSERT_TRUE(WaitFor([&] { return ComboSelection(W("cbbIsShowMsg")) == 0; }, 5000));
  // Space starts the batch; with no card its first attempt fails, and
  // Enter closes the worker's box.
  SimOk("card present 0");
  ASSERT_TRUE(TabTo(main_, W("btnStart")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(KeyAnswer(Gbk("设置卡所有扇区密码失败"), BoxIcon::Error));
  EXPECT_TRUE(CounterShows("lblFailCnt", 1));
  EXPECT_FALSE(IsWindowEnabled(W("btnStart")));

  // 退出 by Space ends the program, the paused batch with it.
  ASSERT_TRUE(TabTo(main_, W("btnClose")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  EXPECT_GE(program_.WaitExit(10000), 0) << "Space on 退出 did not end the program";
}

// The batch from the keyboard alone: Space on 开始批量初始化 starts it and
// one Tab then reaches 停止批量初始化, whose Space stops it, and one
// Shift+Tab reaches the start again: the button pressed is disabled by its
// own press, the focus goes to the window meanwhile, and Tab goes on from
// the button in tab order.
TEST_F(Operator, TheBatchStartsAndStopsFromTheKeyboard) {
  BringToFront(main_);
  ASSERT_TRUE(TabTo(main_, W("cbbIsShowMsg")));
  ASSERT_TRUE(KeyPress(VK_DOWN));  // 否: no box comes between
  ASSERT_TRUE(WaitFor([&] { return ComboSelection(W("cbbIsShowMsg")) == 1; }, 5000));
  SimOk("card present 0");
  ASSERT_TRUE(TabTo(main_, W("btnStart")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(W("btnStart")) && IsWindowEnabled(W("btnAbort")); }, 5000))
      << "Space did not start the batch";
  ASSERT_TRUE(KeyPress(VK_TAB));
  ASSERT_TRUE(WaitFocus(main_, W("btnAbort"), 2000)) << "one Tab does not reach 停止批量初始化";
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(W("btnStart")) && !IsWindowEnabled(W("btnAbort")); }, 5000))
      << "Space did not stop the batch";
  ASSERT_TRUE(KeyPress(VK_TAB, VK_SHIFT));
  EXPECT_TRUE(WaitFocus(main_, W("btnStart"), 2000)) << "one Shift+Tab does not reach 开始批量初始化 after the stop";
}

// The profile windows from the keyboard alone, once the list is open (the
// label 用户管理 takes no key): Tab reaches each button, Space and Enter
// press them, Alt+S and Alt+E and Enter work the editor, the arrow keys
// choose a row, N and Enter answer the question; the file has what was
// kept.
TEST_F(Operator, TheProfileWindowsWorkFromTheKeyboard) {
  ASSERT_NE(OpenListByClick(), nullptr);
  ExpectTabRound(list_, mgMap_, {"lvUserInfo", "btnAdd", "btnEdit", "btnDel", "btnClose"});
  // 新增 by Space: an empty name is refused, then Alt+S keeps a profile.
  ASSERT_TRUE(TabTo(list_, L("btnAdd")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_NE(WaitDialog("新增用户信息"), nullptr) << "Space on 新增 opened no editor";
  ExpectTabRound(dialog_, editMap_, {"edtUserName", "medtPassWord", "btnSave", "btnExit"});
  ASSERT_TRUE(KeyPress(VK_RETURN));
  ASSERT_TRUE(KeyAnswer(Gbk("用户名不能为空"), BoxIcon::Warning));
  ASSERT_TRUE(TabTo(dialog_, D("edtUserName")));
  ASSERT_TRUE(KeyType(Gbk(kZhang)));
  ASSERT_TRUE(KeyPress(VK_TAB));
  ASSERT_TRUE(WaitFocus(dialog_, D("medtPassWord")));
  ASSERT_TRUE(KeyPress(VK_HOME));
  ASSERT_TRUE(KeyType("112233445566"));
  ASSERT_TRUE(WaitFor([&] { return TextOf(D("medtPassWord")) == "11 22 33 44 55 66"; }, 5000))
      << TextOf(D("medtPassWord"));
  ASSERT_TRUE(KeyPress('S', VK_MENU));
  ASSERT_TRUE(Gone(dialog_)) << "Alt+S did not save";
  ASSERT_TRUE(WaitFor([&] { return Rows() == 1; }, 5000));
  // 新增 by Enter: Alt+E leaves; again, and Enter saves (保存 is the
  // default button).
  ASSERT_TRUE(TabTo(list_, L("btnAdd")));
  ASSERT_TRUE(KeyPress(VK_RETURN));
  ASSERT_NE(WaitDialog("新增用户信息"), nullptr) << "Enter on 新增 opened no editor";
  ASSERT_TRUE(KeyPress('E', VK_MENU));
  ASSERT_TRUE(Gone(dialog_)) << "Alt+E did not leave";
  EXPECT_EQ(Rows(), 1);
  ASSERT_TRUE(TabTo(list_, L("btnAdd")));
  ASSERT_TRUE(KeyPress(VK_RETURN));
  ASSERT_NE(WaitDialog("新增用户信息"), nullptr);
  ASSERT_TRUE(WaitFocus(dialog_, D("edtUserName")));
  ASSERT_TRUE(KeyType("lisi"));
  ASSERT_TRUE(KeyPress(VK_TAB));
  ASSERT_TRUE(WaitFocus(dialog_, D("medtPassWord")));
  ASSERT_TRUE(KeyPress(VK_HOME));
  ASSERT_TRUE(KeyType("aabbccddeeff"));
  ASSERT_TRUE(WaitFor([&] { return TextOf(D("medtPassWord")) == "AA BB CC DD EE FF"; }, 5000))
      << TextOf(D("medtPassWord"));
  ASSERT_TRUE(KeyPress(VK_RETURN));
  ASSERT_TRUE(Gone(dialog_)) << "Enter did not save";
  ASSERT_TRUE(WaitFor([&] { return Rows() == 2; }, 5000));

  // A row chosen by the arrow keys; 修改 by Space shows it.
  ASSERT_TRUE(TabTo(list_, L("lvUserInfo")));
  ASSERT_TRUE(KeyPress(VK_HOME));
  ASSERT_TRUE(KeyPress(VK_DOWN));
  ASSERT_TRUE(WaitFor([&] { return SelectedRow() == 1; }, 5000)) << SelectedRow();
  ASSERT_TRUE(TabTo(list_, L("btnEdit")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_NE(WaitDialog("修改用户信息"), nullptr) << "Space on 修改 opened no editor";
  EXPECT_EQ(TextOf(D("edtUserName")), "lisi");
  ASSERT_TRUE(KeyPress('E', VK_MENU));
  ASSERT_TRUE(Gone(dialog_));
  // 删除 by Space: N keeps the row, Enter (是) deletes it.
  ASSERT_TRUE(TabTo(list_, L("btnDel")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(KeyAnswer(Gbk("是否删除用户：[lisi]?"), BoxIcon::Question, 'N'));
  EXPECT_EQ(Rows(), 2);
  ASSERT_TRUE(TabTo(list_, L("btnDel")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(KeyAnswer(Gbk("是否删除用户：[lisi]?"), BoxIcon::Question, VK_RETURN));
  ASSERT_TRUE(WaitFor([&] { return Rows() == 1; }, 5000));

  // 退出 by Space closes the list and writes the file.
  ASSERT_TRUE(TabTo(list_, L("btnClose")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(Gone(list_)) << "Space on 退出 did not close the list";
  const std::string ini = ProfileText();
  EXPECT_TRUE(HasLine(ini, "UserCnt=1")) << ini;
  EXPECT_TRUE(HasLine(ini, "UserName1=" + Gbk(kZhang))) << ini;
  EXPECT_TRUE(HasLine(ini, "PassWord1=112233445566")) << ini;
}

// A profile file in UTF-8 whose Hangul names (GBK lacks them) read alike in
// the list: "??" twice, with keys of their own, and "a?". A profile typed
// as "a?" beside the stored one goes in as typed; the first "??" deleted
// goes, and the other keeps its bytes, as it does when only its key is
// changed; each close writes the file, with no box.
TEST_F(Operator, ProfilesWhoseNamesReadAlikeAreAddedChangedAndDeletedByHand) {
  auto entry = [](int i, const std::string& name, const std::string& key) {
    return "UserName" + std::to_string(i) + "=" + name + "\r\nPassWord" + std::to_string(i) + "=" + key + "\r\n";
  };
  auto profiles = [](int count, const std::string& entries) {
    return "\xEF\xBB\xBF[SYSInfo]\r\nUserCnt=" + std::to_string(count) + "\r\n[UserInfo]\r\n" + entries;
  };
  const std::string korea = entry(1, "\xED\x95\x9C\xEA\xB5\xAD", "111111111111");       // 한국
  const std::string joseon = "\xEC\xA1\xB0\xEC\x84\xA0", aHan = "a\xED\x95\x9C";         // 조선, a한
  const std::string typed = entry(4, "a?", "444444444444");
  ASSERT_TRUE(WriteProfileText(profiles(3, korea + entry(2, joseon, "222222222222") + entry(3, aHan, "333333333333"))));
  // Closes the list by a click on 退出: no box comes.
  auto closeList = [&] {
    ASSERT_TRUE(ClickOn(mgMap_, list_, "btnClose"));
    const MessageBoxSeen box = WaitMessageBox(program_.Pid(), 2000);
    EXPECT_EQ(box.hwnd, nullptr) << "a box on closing: " << box.text;
    if (box.hwnd) Answer(box, IDOK);
    ASSERT_TRUE(Gone(list_)) << "退出 did not close the list";
  };

  // 新增 with "a?" and `digit` twelve times typed; the list has `rows` then.
  auto addByHand = [&](char digit, int rows) {
    ASSERT_TRUE(ClickOn(mgMap_, list_, "btnAdd"));
    ASSERT_NE(WaitDialog("新增用户信息"), nullptr);
    // The editor may still be moving into place: the click waits for it.
    ASSERT_TRUE(LeftClick(D("edtUserName")));
    ASSERT_TRUE(KeyType("a?"));
    ASSERT_TRUE(ClickIntoEdit(D("medtPassWord")));
    ASSERT_TRUE(KeyType(std::string(12, digit)));
    const std::string pair(2, digit);
    ASSERT_TRUE(WaitFor([&] { return TextOf(D("medtPassWord")) == pair + " " + pair + " " + pair + " " + pair +
                                              " " + pair + " " + pair; }, 5000));
    ASSERT_EQ(TextOf(D("edtUserName")), "a?");
    ASSERT_TRUE(ClickOn(editMap_, dialog_, "btnSave"));
    ASSERT_TRUE(Gone(dialog_));
    ASSERT_TRUE(WaitFor([&] { return Rows() == rows; }, 5000));
  };

  ASSERT_NE(OpenListByClick(), nullptr);
  ASSERT_EQ(Rows(), 3);
  addByHand('4', 4);
  closeList();
  EXPECT_EQ(ProfileText(), profiles(4, korea + entry(2, joseon, "222222222222") + entry(3, aHan, "333333333333") +
                                           typed));

  ASSERT_NE(OpenListByClick(), nullptr);
  ASSERT_TRUE(ClickRow(0));
  ASSERT_TRUE(WaitFor([&] { return SelectedRow() == 0; }, 5000));
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnDel"));
  ASSERT_TRUE(ClickAnswer(Gbk("是否删除用户：[??]?"), BoxIcon::Question, IDYES));
  ASSERT_TRUE(WaitFor([&] { return Rows() == 3; }, 5000));
  // 修改 of the other's key alone keeps its name; a?, deleted, and "a?"
  // added again with its key: the new one as typed.
  ASSERT_TRUE(ClickRow(0));
  ASSERT_TRUE(WaitFor([&] { return SelectedRow() == 0; }, 5000));
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnEdit"));
  ASSERT_NE(WaitDialog("修改用户信息"), nullptr);
  ASSERT_TRUE(LeftClick(D("medtPassWord")));
  ASSERT_TRUE(KeyPress(VK_HOME));
  ASSERT_TRUE(KeyType("555555555555"));
  ASSERT_TRUE(WaitFor([&] { return TextOf(D("medtPassWord")) == "55 55 55 55 55 55"; }, 5000));
  ASSERT_TRUE(ClickOn(editMap_, dialog_, "btnSave"));
  ASSERT_TRUE(Gone(dialog_));
  ASSERT_TRUE(ClickRow(1));
  ASSERT_TRUE(WaitFor([&] { return SelectedRow() == 1; }, 5000));
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnDel"));
  ASSERT_TRUE(ClickAnswer(Gbk("是否删除用户：[a?]?"), BoxIcon::Question, IDYES));
  ASSERT_TRUE(WaitFor([&] { return Rows() == 2; }, 5000));
  addByHand('3', 3);
  closeList();
  EXPECT_EQ(ProfileText(), profiles(3, entry(1, joseon, "555555555555") + entry(2, "a?", "444444444444") +
                                           entry(3, "a?", "333333333333") + typed));
}

// Another program (a second Tavrin, an editor) deletes the first profile
// while the list is open; the list, closed unchanged, writes its own rows
// back as they were read: each name with its own key and its own bytes.
TEST_F(Operator, TheListClosedAfterAnotherProgramChangedTheFileWritesItsRowsAsRead) {
  auto entry = [](int i, const std::string& name, const std::string& key) {
    return "UserName" + std::to_string(i) + "=" + name + "\r\nPassWord" + std::to_string(i) + "=" + key + "\r\n";
  };
  auto profiles = [](int count, const std::string& entries) {
    return "\xEF\xBB\xBF[SYSInfo]\r\nUserCnt=" + std::to_string(count) + "\r\n[UserInfo]\r\n" + entries;
  };
  const std::string korea = "\xED\x95\x9C\xEA\xB5\xAD", joseon = "\xEC\xA1\xB0\xEC\x84\xA0";  // 한국, 조선
  const std::string three = profiles(3, entry(1, korea, "111111111111") + entry(2, joseon, "222222222222") +
                                            entry(3, "bob", "333333333333"));
  ASSERT_TRUE(WriteProfileText(three));
  ASSERT_NE(OpenListByClick(), nullptr);
  ASSERT_EQ(Rows(), 3);
  ASSERT_TRUE(WriteProfileText(profiles(2, entry(1, joseon, "222222222222") + entry(2, "bob", "333333333333"))));
  ASSERT_TRUE(ClickOn(mgMap_, list_, "btnClose"));
  const MessageBoxSeen box = WaitMessageBox(program_.Pid(), 2000);
  EXPECT_EQ(box.hwnd, nullptr) << "a box on closing: " << box.text;
  if (box.hwnd) Answer(box, IDOK);
  ASSERT_TRUE(Gone(list_)) << "退出 did not close the list";
  EXPECT_EQ(ProfileText(), three);
}

// After a box closes, the focus is on the key edit that the program chose
// when it refused a key: in the main window, and in the profile editor,
// where the name is not selected for the next key to replace it.
TEST_F(Operator, AfterTheBadKeyBoxTheFocusIsOnTheRefusedKey) {
  ChooseSimPort();
  BringToFront(main_);
  // A new key one digit short.
  ASSERT_TRUE(TabTo(main_, W("medtNewPassWord")));
  ASSERT_TRUE(KeyPress(VK_END));
  ASSERT_TRUE(KeyPress(VK_BACK));
  ASSERT_TRUE(WaitFor([&] { return TextOf(W("medtNewPassWord")).find('_') != std::string::npos; }, 5000))
      << TextOf(W("medtNewPassWord"));
  ASSERT_TRUE(TabTo(main_, W("btnSetAllCardPassWord")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(KeyAnswer(Gbk("密码必须是12位十六进制数字"), BoxIcon::Warning));
  EXPECT_TRUE(WaitFocus(main_, W("medtNewPassWord"), 1000)) << "the focus is not on the refused key";

  // The same in the profile editor.
  ASSERT_NE(OpenListByClick(), nullptr);
  ASSERT_TRUE(TabTo(list_, L("btnAdd")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_NE(WaitDialog("新增用户信息"), nullptr);
  ASSERT_TRUE(WaitFocus(dialog_, D("edtUserName")));
  ASSERT_TRUE(KeyType("wangwu"));
  ASSERT_TRUE(KeyPress(VK_TAB));
  ASSERT_TRUE(WaitFocus(dialog_, D("medtPassWord")));
  ASSERT_TRUE(KeyPress(VK_END));
  ASSERT_TRUE(KeyPress(VK_BACK));
  ASSERT_TRUE(KeyPress(VK_RETURN));
  ASSERT_TRUE(KeyAnswer(Gbk("密码必须是12位十六进制数字"), BoxIcon::Warning));
  EXPECT_TRUE(WaitFocus(dialog_, D("medtPassWord"), 1000)) << "the focus is not on the refused key";
  ASSERT_TRUE(WaitFront(dialog_));
  ASSERT_TRUE(KeyType("F"));
  ASSERT_TRUE(WaitFor([&] { return TextOf(D("medtPassWord")).find('F') != std::string::npos; }, 2000))
      << TextOf(D("medtPassWord"));
  EXPECT_EQ(TextOf(D("edtUserName")), "wangwu");
  ASSERT_TRUE(KeyPress('E', VK_MENU));
  ASSERT_TRUE(Gone(dialog_));
}

// After a card operation started by Space and its box closed by Enter, the
// focus is on the button again, so that Space repeats it (the operation
// disables the buttons while it runs and enables them before its box).
TEST_F(Operator, AfterACardOperationTheFocusIsOnItsButtonAgain) {
  ChooseSimPort();
  BringToFront(main_);
  ASSERT_TRUE(TabTo(main_, W("btnSetOneCardPassWord")));
  ASSERT_TRUE(KeyPress(VK_SPACE));
  ASSERT_TRUE(KeyAnswer(Gbk("设置卡指定扇区密码成功"), BoxIcon::Information));
  EXPECT_TRUE(WaitFocus(main_, W("btnSetOneCardPassWord"), 1000)) << "the focus left the button";
}

// The first box of a run, raised by real clicks on 用户管理 and 修改 right
// after the start, takes a real click where it is drawn: it stays above the
// profile list and the main window that own it. The pointer rests where
// the box's button comes, as after an answer to the same box in the run
// before, when the main window comes up under it; the first start only
// shows where that is. A box the hand cannot reach is answered by a key,
// and the next run goes on.
TEST_F(Operator, TheFirstBoxOfARunTakesTheRealClick) {
  const std::string text = Gbk("请选择待修改的用户");
  POINT button = {};
  for (int run = 0; run < 3; ++run) {
    if (run) {
      ASSERT_TRUE(PointerTo(button));
      ASSERT_TRUE(StartProgram()) << "run " << run;
    }
    ASSERT_NE(OpenListByClick(), nullptr) << "run " << run;
    ASSERT_TRUE(ClickOn(mgMap_, list_, "btnEdit"));
    HWND box = ExpectText(text, BoxIcon::Warning);
    ASSERT_NE(box, nullptr);
    RECT r;
    GetWindowRect(GetDlgItem(box, IDOK), &r);
    button = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // Watched a while, as a hand takes a moment to get there.
    const bool reachable = run == 0 || StaysReachable(box, IDOK, 500);
    EXPECT_TRUE(reachable) << "run " << run << ": the box went below its owners";
    if (run && reachable) {
      EXPECT_TRUE(LeftClickAt(button, box) && Gone(box)) << "run " << run << ": the box took no click";
    }
    if (IsWindowVisible(box)) {
      ASSERT_TRUE(KeyAnswer(text, BoxIcon::Warning));
    }
    ASSERT_TRUE(ClickOn(mgMap_, list_, "btnClose"));
    ASSERT_TRUE(Gone(list_));
    ASSERT_TRUE(CloseProgram()) << "run " << run;
  }
}

// The same for the profile editor, a modal form over the modal list: opened
// by real clicks on 用户管理 and 新增 right after the start, it stays above
// both, and takes a real click into its name edit and on 退出.
TEST_F(Operator, TheEditorOpenedRightAfterTheStartTakesTheRealClick) {
  POINT nameEdit = {};
  for (int run = 0; run < 3; ++run) {
    if (run) {
      ASSERT_TRUE(PointerTo(nameEdit));
      ASSERT_TRUE(StartProgram()) << "run " << run;
    }
    ASSERT_NE(OpenListByClick(), nullptr) << "run " << run;
    ASSERT_TRUE(ClickOn(mgMap_, list_, "btnAdd"));
    ASSERT_NE(WaitDialog("新增用户信息"), nullptr) << "run " << run;
    RECT r;
    GetWindowRect(D("edtUserName"), &r);
    nameEdit = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const bool reachable = run == 0 || StaysReachable(D("edtUserName"), 500);
    EXPECT_TRUE(reachable) << "run " << run << ": the editor went below its owners";
    if (reachable) {
      EXPECT_TRUE(LeftClick(D("edtUserName"))) << "run " << run;
      EXPECT_TRUE(WaitFocus(dialog_, D("edtUserName"))) << "run " << run;
      ASSERT_TRUE(ClickOn(editMap_, dialog_, "btnExit"));
    } else {
      PostMessageW(dialog_, WM_CLOSE, 0, 0);
    }
    ASSERT_TRUE(Gone(dialog_));
    ASSERT_TRUE(ClickOn(mgMap_, list_, "btnClose"));
    ASSERT_TRUE(Gone(list_));
    ASSERT_TRUE(CloseProgram()) << "run " << run;
  }
}
