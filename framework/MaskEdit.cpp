#include "MaskEdit.h"

#include <cctype>

#include "Text.h"

namespace fw {

// ---- TEditMask ---------------------------------------------------------

TEditMask::TEditMask(const std::string& mask) {
  std::string body = mask;
  // Trailing fields: ";1;_" (save literals, blank character).
  size_t last = body.rfind(';');
  if (last != std::string::npos && (last == 0 || body[last - 1] != '\\')) {
    std::string tail = body.substr(last + 1);
    std::string head = body.substr(0, last);
    size_t prev = head.rfind(';');
    if (prev != std::string::npos && (prev == 0 || head[prev - 1] != '\\')) {
      std::string flag = head.substr(prev + 1);
      saveLiterals_ = flag != "0";
      if (tail.size() == 1) blank_ = tail[0];
      body = head.substr(0, prev);
    } else {
      saveLiterals_ = tail != "0";
      body = head;
    }
  }
  int caseMode = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c == '>') {
      caseMode = (i + 1 < body.size() && body[i + 1] == '<') ? (++i, 0) : 1;
      continue;
    }
    if (c == '<') {
      caseMode = 2;
      continue;
    }
    if (c == '\\' && i + 1 < body.size()) {
      slots_.push_back(Slot{0, body[++i], 0});
      continue;
    }
    switch (c) {
      case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
        slots_.push_back(Slot{c, 0, caseMode});
        break;
      default: slots_.push_back(Slot{0, c, 0}); break;
    }
  }
}

bool TEditMask::IsLiteral(int pos) const {
  return pos >= 0 && pos < Length() && slots_[static_cast<size_t>(pos)].kind == 0;
}

char TEditMask::Literal(int pos) const {
  return IsLiteral(pos) ? slots_[static_cast<size_t>(pos)].literal : 0;
}

char TEditMask::Accept(int pos, char ch) const {
  if (pos < 0 || pos >= Length() || IsLiteral(pos)) return 0;
  const Slot& s = slots_[static_cast<size_t>(pos)];
  unsigned char u = static_cast<unsigned char>(ch);
  if (u < 32 || u > 126) return 0;  // one ASCII character per position
  bool letter = std::isalpha(u) != 0, digit = std::isdigit(u) != 0;
  bool ok = false;
  switch (s.kind) {
    case 'L': ok = letter; break;
    case 'l': ok = letter || ch == ' '; break;
    case 'A': ok = letter || digit; break;
    case 'a': ok = letter || digit || ch == ' '; break;
    case 'C': case 'c': ok = true; break;
    case '0': ok = digit; break;
    case '9': ok = digit || ch == ' '; break;
    case '#': ok = digit || ch == '+' || ch == '-' || ch == ' '; break;
  }
  if (!ok) return 0;
  if (s.caseMode == 1) return static_cast<char>(std::toupper(u));
  if (s.caseMode == 2) return static_cast<char>(std::tolower(u));
  return ch;
}

std::string TEditMask::EmptyText() const {
  std::string out;
  for (int i = 0; i < Length(); ++i) out += IsLiteral(i) ? Literal(i) : blank_;
  return out;
}

std::string TEditMask::Format(const std::string& text) const {
  std::string out = EmptyText();
  if (saveLiterals_) {
    for (int i = 0; i < Length() && i < static_cast<int>(text.size()); ++i) {
      if (IsLiteral(i)) continue;
      char c = Accept(i, text[static_cast<size_t>(i)]);
      if (c && c != ' ') out[static_cast<size_t>(i)] = c;
    }
  } else {
    int pos = NextEditable(0);
    for (char t : text) {
      if (pos < 0) break;
      char c = Accept(pos, t);
      if (c && c != ' ') out[static_cast<size_t>(pos)] = c;
      pos = NextEditable(pos + 1);
    }
  }
  return out;
}

std::string TEditMask::TextOf(const std::string& editText) const {
  std::string out;
  for (int i = 0; i < static_cast<int>(editText.size()); ++i) {
    char c = editText[static_cast<size_t>(i)];
    if (IsLiteral(i)) {
      if (saveLiterals_) out += c;
      continue;
    }
    out += c == blank_ ? ' ' : c;
  }
  return out;
}

int TEditMask::NextEditable(int pos) const {
  for (int i = pos < 0 ? 0 : pos; i < Length(); ++i)
    if (!IsLiteral(i)) return i;
  return -1;
}

int TEditMask::PrevEditable(int pos) const {
  for (int i = pos - 1; i >= 0; --i)
    if (i < Length() && !IsLiteral(i)) return i;
  return -1;
}

// ---- TMaskEdit ---------------------------------------------------------

const TClassInfo& TMaskEdit::StaticClass() {
  static const TClassInfo info = [] {
    TClassInfo i = TClassInfo::Make<TMaskEdit>("TMaskEdit", &TCustomEdit::StaticClass());
    PublishColorAndFont(i, clWindow);
    i.Str("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask);
    PublishText(i);
    i.Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
        .Enum("BorderStyle", EditBorderStyleType(), &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, ebsSingle)
        .Enum("CharCase", EditCharCaseType(), &TCustomEdit::CharCase, &TCustomEdit::SetCharCase, ecNormal)
        .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
        .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
        .Event("OnChange", &TCustomEdit::OnChange);
    return i;
  }();
  return info;
}

TMaskEdit::TMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TMaskEdit::SetEditMask(const std::string& mask) {
  std::string current = GetText();
  maskText_ = mask;
  mask_ = TEditMask(mask);
  if (IsMasked()) {
    if (MaxLength() == 0 || MaxLength() < mask_.Length()) SetMaxLength(mask_.Length());
    ApplyEditText(mask_.Format(current), 0);
  }
}

std::string TMaskEdit::EditText() const {
  if (!IsMasked() || !HandleIfAllocated()) return IsMasked() ? editText_ : TCustomEdit::GetText();
  return TCustomEdit::GetText();
}

std::string TMaskEdit::GetText() const {
  if (!IsMasked()) return TCustomEdit::GetText();
  return mask_.TextOf(EditText());
}

void TMaskEdit::SetText(const std::string& text) {
  if (!IsMasked()) {
    TCustomEdit::SetText(text);
    return;
  }
  ApplyEditText(mask_.Format(text), 0);
}

void TMaskEdit::WindowCreated() {
  TCustomEdit::WindowCreated();
  if (IsMasked()) ApplyEditText(editText_, 0);
}

void TMaskEdit::ApplyEditText(const std::string& text, int caret) {
  editText_ = text;
  text_ = text;
  if (HWND h = HandleIfAllocated()) {
    std::wstring w = ToWide(text);
    // Straight to the system edit: our WM_SETTEXT handler would format
    // again (it is for text coming from outside).
    TMessage m{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), 0};
    DefaultHandler(m);
    SendMessageW(h, EM_SETSEL, caret, caret);
  }
}

void TMaskEdit::GetSel(int& start, int& end) const {
  DWORD s = 0, e = 0;
  if (HWND h = HandleIfAllocated())
    SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
}

char TMaskEdit::Filter(char ch) {
  if (!DoKeyPress(ch) && ch != 0) {
    if (CharCase() == ecUpperCase) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (CharCase() == ecLowerCase) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return ch;
  }
  return 0;
}

bool TMaskEdit::InsertChar(char ch) {
  std::string text = EditText();
  int start, end;
  GetSel(start, end);
  int pos = mask_.NextEditable(start);
  if (pos < 0) return false;
  char c = mask_.Accept(pos, ch);
  if (!c) return false;
  for (int i = start; i < end && i < static_cast<int>(text.size()); ++i)
    if (!mask_.IsLiteral(i)) text[static_cast<size_t>(i)] = mask_.Blank();
  text[static_cast<size_t>(pos)] = c == ' ' ? mask_.Blank() : c;
  int next = mask_.NextEditable(pos + 1);
  ApplyEditText(text, next < 0 ? pos + 1 : next);
  return true;
}

bool TMaskEdit::PasteText(const std::string& pasted) {
  std::string text = EditText();
  int start, end;
  GetSel(start, end);
  for (int i = start; i < end && i < static_cast<int>(text.size()); ++i)
    if (!mask_.IsLiteral(i)) text[static_cast<size_t>(i)] = mask_.Blank();
  int pos = start;
  for (size_t k = 0; k < pasted.size(); ++k) {
    unsigned char u = static_cast<unsigned char>(pasted[k]);
    if (u >= 0x81 && u <= 0xFE) return false;  // a GBK character: no position takes it
    if (pasted[k] == '\r' || pasted[k] == '\n') return false;
    // A literal of the mask may be given as itself.
    if (mask_.IsLiteral(pos) && pasted[k] == mask_.Literal(pos)) {
      ++pos;
      continue;
    }
    pos = mask_.NextEditable(pos);
    if (pos < 0) return false;  // more than the mask holds
    char c = Filter(pasted[k]);
    if (!c) return false;
    c = mask_.Accept(pos, c);
    if (!c) return false;
    text[static_cast<size_t>(pos)] = c == ' ' ? mask_.Blank() : c;
    ++pos;
  }
  int next = mask_.NextEditable(pos);
  ApplyEditText(text, next < 0 ? pos : next);
  return true;
}

void TMaskEdit::DeleteSelection() {
  std::string text = EditText();
  int start, end;
  GetSel(start, end);
  for (int i = start; i < end && i < static_cast<int>(text.size()); ++i)
    if (!mask_.IsLiteral(i)) text[static_cast<size_t>(i)] = mask_.Blank();
  ApplyEditText(text, start);
}

void TMaskEdit::DeleteChar(bool forward) {
  int start, end;
  GetSel(start, end);
  if (end > start) {
    DeleteSelection();
    return;
  }
  int pos = forward ? mask_.NextEditable(start) : mask_.PrevEditable(start);
  std::string text = EditText();
  if (pos < 0 || pos >= static_cast<int>(text.size())) return;
  text[static_cast<size_t>(pos)] = mask_.Blank();
  ApplyEditText(text, pos);
}

namespace {
std::string ClipboardText(HWND owner) {
  std::string out;
  if (!OpenClipboard(owner)) return out;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* w = static_cast<const wchar_t*>(GlobalLock(data))) {
      out = FromWide(std::wstring(w));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return out;
}
}  // namespace

void TMaskEdit::WndProc(TMessage& m) {
  if (!IsMasked()) {
    TCustomEdit::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_CHAR: {
      char ch = FirstGbkByte(static_cast<wchar_t>(m.WParam));
      if (m.WParam == 8) {
        if (!ReadOnly()) DeleteBack();
        return;
      }
      if (m.WParam == 0x16) {  // Ctrl+V
        SendMessageW(HandleIfAllocated(), WM_PASTE, 0, 0);
        return;
      }
      if (m.WParam == 0x18) {  // Ctrl+X
        SendMessageW(HandleIfAllocated(), WM_CUT, 0, 0);
        return;
      }
      if (m.WParam == 0x1A) return;  // no undo past the mask
      if (m.WParam < 32) {
        TCustomEdit::WndProc(m);
        return;
      }
      if (ReadOnly()) return;
      ch = Filter(ch);
      if (!ch || !InsertChar(ch)) MessageBeep(0);
      return;
    }
    case WM_KEYDOWN:
      if (m.WParam == VK_DELETE && !ReadOnly()) {
        if (GetKeyState(VK_SHIFT) < 0) SendMessageW(HandleIfAllocated(), WM_CUT, 0, 0);
        else DeleteForward();
        return;
      }
      if (m.WParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0) {
        SendMessageW(HandleIfAllocated(), WM_PASTE, 0, 0);
        return;
      }
      break;
    case WM_PASTE:
      if (!ReadOnly() && !PasteText(ClipboardText(HandleIfAllocated()))) MessageBeep(0);
      m.Result = 0;
      return;
    case EM_REPLACESEL:
      // A replacement from code is a paste of its text: all of it passes
      // the key filter and the mask, or nothing changes.
      PasteText(m.LParam ? FromWide(std::wstring(reinterpret_cast<const wchar_t*>(m.LParam))) : std::string());
      m.Result = 0;
      return;
    case WM_CUT: {
      TMessage copy{WM_COPY, 0, 0, 0};
      DefaultHandler(copy);
      if (!ReadOnly()) DeleteSelection();
      return;
    }
    case WM_CLEAR:
      if (!ReadOnly()) DeleteSelection();
      return;
    case WM_UNDO:
    case EM_UNDO:
      m.Result = 0;
      return;
    case WM_SETTEXT: {
      // Text set from outside is fitted to the mask.
      std::string text = FromWide(std::wstring(reinterpret_cast<const wchar_t*>(m.LParam)));
      std::string formatted = mask_.Format(text);
      std::wstring w = ToWide(formatted);
      editText_ = formatted;
      TMessage inner{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), 0};
      DefaultHandler(inner);
      m.Result = inner.Result;
      return;
    }
    default: break;
  }
  TCustomEdit::WndProc(m);
}

}  // namespace fw
