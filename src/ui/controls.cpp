#include "ui/controls.h"

#include <commctrl.h>

#include "ui/window.h"

namespace morvanta::ui {

std::string Control::Text() const {
  int length = ::GetWindowTextLengthA(hwnd_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  ::GetWindowTextA(hwnd_, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

HWND Control::Make(HWND parent, const char* className, const std::string& text, DWORD style,
                   const Rect& r, int id, DWORD exStyle) {
  hwnd_ = ::CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.x,
                            r.y, r.width, r.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            ::GetModuleHandleA(nullptr), nullptr);
  ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
  return hwnd_;
}

void Button::Create(HWND parent, int id, const std::string& caption, const Rect& r) {
  Make(parent, WC_BUTTONA, caption, WS_TABSTOP | BS_PUSHBUTTON, r, id);
  ::SetWindowSubclass(hwnd_, &Button::Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
}

void Button::OnHover(std::function<void()> handler) { hover_ = std::move(handler); }

LRESULT CALLBACK Button::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Button*>(data);
  if (message == WM_MOUSEMOVE && self->hover_) {
    try {
      self->hover_();
    } catch (...) {
    }
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void CheckBox::Create(HWND parent, int id, const std::string& caption, const Rect& r) {
  Make(parent, WC_BUTTONA, caption, WS_TABSTOP | BS_AUTOCHECKBOX, r, id);
}

void Label::Create(HWND parent, const std::string& text, const Rect& r, DWORD style) {
  Make(parent, WC_STATICA, text, style, r, -1);
}

void GroupBox::Create(HWND parent, const std::string& caption, const Rect& r) {
  Make(parent, WC_BUTTONA, caption, BS_GROUPBOX, r, -1);
}

void Memo::Create(HWND parent, int id, const Rect& r, bool readOnly) {
  Make(parent, WC_EDITA, "",
       WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | (readOnly ? ES_READONLY : 0), r, id,
       WS_EX_CLIENTEDGE);
}

void Memo::AppendLine(const std::string& line) {
  int end = ::GetWindowTextLengthA(hwnd_);
  ::SendMessageA(hwnd_, EM_SETSEL, end, end);
  std::string text = (end > 0 ? "\r\n" : "") + line;
  ::SendMessageA(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void ListView::Create(HWND parent, int id, const Rect& r, const std::vector<Column>& columns,
                      bool checkBoxes, DWORD extraStyle) {
  Make(parent, WC_LISTVIEWA, "", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | extraStyle, r, id,
       WS_EX_CLIENTEDGE);
  DWORD ex = LVS_EX_FULLROWSELECT | (checkBoxes ? LVS_EX_CHECKBOXES : 0);
  ListView_SetExtendedListViewStyle(hwnd_, ex);
  for (size_t i = 0; i < columns.size(); ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(columns[i].caption.c_str());
    column.cx = columns[i].width;
    ::SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

int ListView::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(hwnd_, LVM_GETHEADER, 0, 0));
  return static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

Column ListView::ColumnAt(int index) const {
  char caption[256] = {};
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = caption;
  column.cchTextMax = sizeof caption;
  ::SendMessageA(hwnd_, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
  return {caption, column.cx};
}

int ListView::AddItem(const std::string& caption) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = ItemCount();
  item.pszText = const_cast<char*>(caption.c_str());
  return static_cast<int>(::SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::SetSubItemText(int item, int subItem, const std::string& text) {
  LVITEMA lv = {};
  lv.iSubItem = subItem;
  lv.pszText = const_cast<char*>(text.c_str());
  ::SendMessageA(hwnd_, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv));
}

std::string ListView::ItemText(int item, int subItem) const {
  char text[1024] = {};
  LVITEMA lv = {};
  lv.iSubItem = subItem;
  lv.pszText = text;
  lv.cchTextMax = sizeof text;
  ::SendMessageA(hwnd_, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv));
  return text;
}

bool ListView::IsChecked(int item) const { return ListView_GetCheckState(hwnd_, item) != 0; }

void ListView::SetChecked(int item, bool checked) { ListView_SetCheckState(hwnd_, item, checked); }

int ListView::SelectedIndex() const {
  return static_cast<int>(::SendMessageA(hwnd_, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void StatusBar::Create(HWND parent, const std::vector<int>& widths) {
  hwnd_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                            nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
  std::vector<int> edges;
  int right = 0;
  for (int w : widths) edges.push_back(right += w);
  if (!edges.empty()) edges.back() = -1;
  ::SendMessageA(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetPanelText(int panel, const std::string& text) {
  ::SendMessageA(hwnd_, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::PanelText(int panel) const {
  LRESULT info = ::SendMessageA(hwnd_, SB_GETTEXTLENGTHA, panel, 0);
  std::string text(LOWORD(info) + 1, '\0');
  ::SendMessageA(hwnd_, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(info));
  return text;
}

int StatusBar::Height() const {
  RECT r = {};
  ::GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}

}  // namespace morvanta::ui
