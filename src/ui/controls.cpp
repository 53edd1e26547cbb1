#include "ui/controls.h"

#include <commctrl.h>
#include <algorithm>
#include <exception>
#include <shellapi.h>

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
  hwnd_ = ::CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                            ToScreen(r.x), ToScreen(r.y), ToScreen(r.width), ToScreen(r.height),
                            parent,
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
    } catch (const std::exception& e) {
      TraceHandlerFailure("hover", e.what());
    } catch (...) {
      TraceHandlerFailure("hover", "unknown exception");
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

void ProgressBar::Create(HWND parent, const Rect& r) {
  Make(parent, PROGRESS_CLASSA, "", 0, r, -1);
  ::SendMessageA(hwnd_, PBM_SETRANGE32, 0, 100);
}

void ListBox::Create(HWND parent, int id, const Rect& r) {
  Make(parent, WC_LISTBOXA, "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, r,
       id, WS_EX_CLIENTEDGE);
}

std::string ListBox::ItemText(int index) const {
  const LRESULT length = ::SendMessageA(hwnd_, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  ::SendMessageA(hwnd_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
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
    column.cx = ToScreen(columns[i].width);
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
  return {caption, ToDesign(column.cx)};
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
  // The control copies what fits and says how much it copied: grow until the text fits.
  std::string text(256, '\0');
  for (;;) {
    LVITEMA lv = {};
    lv.iSubItem = subItem;
    lv.pszText = text.data();
    lv.cchTextMax = static_cast<int>(text.size());
    const auto copied = static_cast<size_t>(
        ::SendMessageA(hwnd_, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv)));
    if (copied + 1 < text.size() || text.size() >= (size_t{1} << 20)) {
      text.resize(std::min(copied, text.size()));
      return text;
    }
    text.assign(text.size() * 2, '\0');
  }
}

bool ListView::IsChecked(int item) const { return ListView_GetCheckState(hwnd_, item) != 0; }

void ListView::SetChecked(int item, bool checked) { ListView_SetCheckState(hwnd_, item, checked); }

int ListView::SelectedIndex() const {
  return static_cast<int>(::SendMessageA(hwnd_, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

int ListView::AddItem(const std::string& caption, int image) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = ItemCount();
  item.iImage = image;
  item.pszText = const_cast<char*>(caption.c_str());
  return static_cast<int>(::SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int ListView::ItemImage(int index) const {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  ::SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

void ListView::SetItemData(int index, LPARAM data) {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  item.lParam = data;
  ::SendMessageA(hwnd_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

LPARAM ListView::ItemData(int index) const {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  ::SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

void ListView::Select(int index) {
  ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(hwnd_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ListView::SetCheckBoxes(bool on) {
  ListView_SetExtendedListViewStyleEx(hwnd_, LVS_EX_CHECKBOXES, on ? LVS_EX_CHECKBOXES : 0);
}

bool ListView::HasCheckBoxes() const {
  return (ListView_GetExtendedListViewStyle(hwnd_) & LVS_EX_CHECKBOXES) != 0;
}

void ListView::SetSmallImages(HIMAGELIST images) {
  ::SetWindowLongPtrA(hwnd_, GWL_STYLE, ::GetWindowLongPtrA(hwnd_, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  ListView_SetImageList(hwnd_, images, LVSIL_SMALL);
}

int ListView::ItemAt(POINT point) const {
  LVHITTESTINFO hit = {};
  hit.pt = point;
  return static_cast<int>(::SendMessageA(hwnd_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void ListView::DiscardKeys() { ::SetWindowSubclass(hwnd_, &ListView::KeySubclass, 2, 0); }

LRESULT CALLBACK ListView::KeySubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR) {
  if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) return 0;
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

void ImageList::Create() {
  Reset();
  images_ = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 8);
  // 0 the default program picture, 3 a service, 6 a service not marked as Microsoft's; the
  // indices between are kept free so that these numbers stay as the lists expect them.
  for (int index = 0; index <= kNonMicrosoftServiceImage; ++index) {
    LPCSTR icon = IDI_APPLICATION;
    if (index == kServiceImage) icon = IDI_INFORMATION;
    if (index == kNonMicrosoftServiceImage) icon = IDI_WARNING;
    ::ImageList_AddIcon(images_, ::LoadIcon(nullptr, icon));
  }
}

int ImageList::AddIconOf(const std::string& path) {
  if (!images_ || path.empty()) return 0;
  HICON icon = ::ExtractIconA(::GetModuleHandleA(nullptr), path.c_str(), 0);
  // ExtractIcon gives 1 for a file that is no program, library or icon file.
  if (icon == nullptr || icon == reinterpret_cast<HICON>(1)) return 0;
  const int index = ::ImageList_AddIcon(images_, icon);
  ::DestroyIcon(icon);
  return index < 0 ? 0 : index;
}

void ImageList::TrimTo(int count) {
  while (Count() > count) ::ImageList_Remove(images_, Count() - 1);
}

void ImageList::Reset() {
  if (images_) ::ImageList_Destroy(images_);
  images_ = nullptr;
}

void TabControl::Create(HWND parent, int id, const Rect& r, const std::vector<std::string>& tabs) {
  Make(parent, WC_TABCONTROLA, "", WS_TABSTOP | WS_CLIPSIBLINGS, r, id);
  for (size_t i = 0; i < tabs.size(); ++i) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(tabs[i].c_str());
    ::SendMessageA(hwnd_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

std::string TabControl::TabText(int index) const {
  char text[256] = {};
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ::SendMessageA(hwnd_, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

Rect TabControl::PageArea() const {
  RECT r = {};
  ::GetWindowRect(hwnd_, &r);
  ::MapWindowPoints(nullptr, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  RECT inner = r;
  ::SendMessageA(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inner));
  return {ToDesign(inner.left), ToDesign(inner.top), ToDesign(inner.right - inner.left),
          ToDesign(inner.bottom - inner.top)};
}

PopupMenu::~PopupMenu() {
  if (menu_) ::DestroyMenu(menu_);
}

void PopupMenu::Create() {
  if (!menu_) menu_ = ::CreatePopupMenu();
}

void PopupMenu::AddItem(int command, const std::string& caption) {
  ::AppendMenuA(menu_, MF_STRING, static_cast<UINT_PTR>(command), caption.c_str());
}

void PopupMenu::EnableItem(int command, bool enabled) {
  ::EnableMenuItem(menu_, static_cast<UINT>(command), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool PopupMenu::IsItemEnabled(int command) const {
  const UINT state = ::GetMenuState(menu_, static_cast<UINT>(command), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

std::string PopupMenu::ItemText(int command) const {
  char text[256] = {};
  ::GetMenuStringA(menu_, static_cast<UINT>(command), text, sizeof text, MF_BYCOMMAND);
  return text;
}

void PopupMenu::SetItemText(int command, const std::string& caption) {
  ::ModifyMenuA(menu_, static_cast<UINT>(command), MF_BYCOMMAND | MF_STRING,
                static_cast<UINT_PTR>(command), caption.c_str());
}

int PopupMenu::Track(HWND owner, POINT p) const {
  return static_cast<int>(::TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0,
                                           owner, nullptr));
}

MenuBar::~MenuBar() {
  if (menu_ && !attached_) ::DestroyMenu(menu_);
}

void MenuBar::Create() {
  if (!menu_) menu_ = ::CreateMenu();
}

int MenuBar::AddDropDown(const std::string& caption) {
  HMENU dropDown = ::CreatePopupMenu();
  ::AppendMenuA(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(dropDown), caption.c_str());
  return ::GetMenuItemCount(menu_) - 1;
}

void MenuBar::AddItem(int dropDown, int command, const std::string& caption) {
  ::AppendMenuA(DropDown(dropDown), MF_STRING, static_cast<UINT_PTR>(command), caption.c_str());
}

void MenuBar::AddCommand(int command, const std::string& caption) {
  ::AppendMenuA(menu_, MF_STRING, static_cast<UINT_PTR>(command), caption.c_str());
}

void MenuBar::AttachTo(HWND window) {
  if (::SetMenu(window, menu_)) attached_ = true;
}

std::string MenuBar::ItemText(int command) const {
  // By command, the search goes into the drop-downs too.
  char text[256] = {};
  ::GetMenuStringA(menu_, static_cast<UINT>(command), text, sizeof text, MF_BYCOMMAND);
  return text;
}

namespace {

constexpr char kPageClass[] = "MorvantaNotebookPage";

LRESULT CALLBACK PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_NOTIFY)
    return ::SendMessageA(::GetParent(page), message, wParam, lParam);
  return ::DefWindowProcA(page, message, wParam, lParam);
}

}  // namespace

HWND CreateNotebookPage(HWND parent, const Rect& r) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PageProcedure;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPageClass;
    ::RegisterClassExA(&wc);
    registered = true;
  }
  return ::CreateWindowExA(WS_EX_CONTROLPARENT, kPageClass, "", WS_CHILD | WS_CLIPCHILDREN,
                           ToScreen(r.x), ToScreen(r.y), ToScreen(r.width), ToScreen(r.height),
                           parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

void StatusBar::Create(HWND parent, const std::vector<int>& widths) {
  hwnd_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                            nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
  SetWidths(widths);
}

int StatusBar::TextWidth(const std::string& text) const {
  HDC dc = ::GetDC(hwnd_);
  HGDIOBJ old = ::SelectObject(dc, DefaultFont());
  SIZE size = {};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd_, dc);
  return ToDesign(size.cx);
}

void StatusBar::SetWidths(const std::vector<int>& widths) {
  std::vector<int> edges;
  int right = 0;
  for (int w : widths) edges.push_back(right += ToScreen(w));
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
  return ToDesign(r.bottom - r.top);
}

}  // namespace morvanta::ui
