// Thin views over child controls: one-line methods, Win32 types stop here. A view does not
// own its control; the parent window destroys its children.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win_api.h"

#include <commctrl.h>

namespace morvanta::ui {

struct Rect {
  int x, y, width, height;
};

class Control {
 public:
  HWND Handle() const { return hwnd_; }
  int Id() const { return ::GetDlgCtrlID(hwnd_); }
  void Enable(bool enabled) { ::EnableWindow(hwnd_, enabled); }
  bool IsEnabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
  void SetVisible(bool visible) { ::ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
  bool IsVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
  void SetText(const std::string& text) { ::SetWindowTextA(hwnd_, text.c_str()); }
  std::string Text() const;

 protected:
  HWND Make(HWND parent, const char* className, const std::string& text, DWORD style,
            const Rect& r, int id, DWORD exStyle = 0);
  HWND hwnd_ = nullptr;
};

class Button : public Control {
 public:
  void Create(HWND parent, int id, const std::string& caption, const Rect& r);
  // Called while the mouse moves over the button (the status bar hint).
  void OnHover(std::function<void()> handler);
  void Click() { ::SendMessageA(hwnd_, BM_CLICK, 0, 0); }

 private:
  static LRESULT CALLBACK Subclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  std::function<void()> hover_;
};

class CheckBox : public Control {
 public:
  void Create(HWND parent, int id, const std::string& caption, const Rect& r);
  bool IsChecked() const { return ::SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked) {
    ::SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
};

class Label : public Control {
 public:
  void Create(HWND parent, const std::string& text, const Rect& r, DWORD style = 0);
};

// A bar from 0 to 100.
class ProgressBar : public Control {
 public:
  void Create(HWND parent, const Rect& r);
  void SetPosition(int position) { ::SendMessageA(hwnd_, PBM_SETPOS, position, 0); }
  int Position() const { return static_cast<int>(::SendMessageA(hwnd_, PBM_GETPOS, 0, 0)); }
};

// A list box of texts; LBN_SELCHANGE reaches the parent as a command.
class ListBox : public Control {
 public:
  void Create(HWND parent, int id, const Rect& r);
  void AddItem(const std::string& text) {
    ::SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void Clear() { ::SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0); }
  int ItemCount() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETCOUNT, 0, 0)); }
  // The selected item's index; -1 when none is.
  int Selected() const { return static_cast<int>(::SendMessageA(hwnd_, LB_GETCURSEL, 0, 0)); }
  void Select(int index) { ::SendMessageA(hwnd_, LB_SETCURSEL, index, 0); }
  std::string ItemText(int index) const;
};

class GroupBox : public Control {
 public:
  void Create(HWND parent, const std::string& caption, const Rect& r);
};

// A multi-line text box; read-only unless asked otherwise.
class Memo : public Control {
 public:
  void Create(HWND parent, int id, const Rect& r, bool readOnly = true);
  void AppendLine(const std::string& line);
  void Clear() { SetText(""); }
};

struct Column {
  std::string caption;
  int width;
};

class ListView : public Control {
 public:
  void Create(HWND parent, int id, const Rect& r, const std::vector<Column>& columns,
              bool checkBoxes, DWORD extraStyle = 0);
  int ColumnCount() const;
  Column ColumnAt(int index) const;
  int ItemCount() const { return static_cast<int>(::SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }
  // Appends a row; its index.
  int AddItem(const std::string& caption);
  void SetSubItemText(int item, int subItem, const std::string& text);
  std::string ItemText(int item, int subItem = 0) const;
  bool IsChecked(int item) const;
  void SetChecked(int item, bool checked);
  void Clear() { ::SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0); }
  int SelectedIndex() const;

  // Appends a row showing an image of the list's small image list.
  int AddItem(const std::string& caption, int image);
  int ItemImage(int item) const;
  void DeleteItem(int item) { ::SendMessageA(hwnd_, LVM_DELETEITEM, item, 0); }
  // The row's data word (a marker the window keeps per row).
  void SetItemData(int item, LPARAM data);
  LPARAM ItemData(int item) const;
  void Select(int item);
  void SetCheckBoxes(bool on);
  bool HasCheckBoxes() const;
  // The small image list; the list view does not own it (LVS_SHAREIMAGELISTS).
  void SetSmallImages(HIMAGELIST images);
  // The row at a point of the list's client area, or -1.
  int ItemAt(POINT point) const;
  // Key presses are dropped, so the check boxes change only by mouse.
  void DiscardKeys();

 private:
  static LRESULT CALLBACK KeySubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
};

// An owned image list of small icons.
class ImageList {
 public:
  ImageList() = default;
  ~ImageList() { Reset(); }
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  // The design-time images at the low indices.
  static constexpr int kProgramImage = 0;
  static constexpr int kServiceImage = 3;
  static constexpr int kNonMicrosoftServiceImage = 6;

  // A 16 x 16 list holding the design-time images; program icons are added after them.
  void Create();
  HIMAGELIST Handle() const { return images_; }
  int Count() const { return images_ ? ::ImageList_GetImageCount(images_) : 0; }
  // Adds the first icon of a program file; its index, or 0 when the file gives none.
  int AddIconOf(const std::string& path);
  // Back to the design-time images only.
  void TrimTo(int count);

 private:
  void Reset();
  HIMAGELIST images_ = nullptr;
};

// Tabs over pages the owner shows and hides.
class TabControl : public Control {
 public:
  void Create(HWND parent, int id, const Rect& r, const std::vector<std::string>& tabs);
  int TabCount() const { return static_cast<int>(::SendMessageA(hwnd_, TCM_GETITEMCOUNT, 0, 0)); }
  std::string TabText(int index) const;
  int Selected() const { return static_cast<int>(::SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0)); }
  void SetSelected(int index) { ::SendMessageA(hwnd_, TCM_SETCURSEL, index, 0); }
  // The area inside the tab frame, in the parent's coordinates.
  Rect PageArea() const;
};

// An owned context menu of command items.
class PopupMenu {
 public:
  PopupMenu() = default;
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  void Create();
  void AddItem(int command, const std::string& caption);
  void EnableItem(int command, bool enabled);
  bool IsItemEnabled(int command) const;
  std::string ItemText(int command) const;
  void SetItemText(int command, const std::string& caption);
  HMENU Handle() const { return menu_; }
  // Shows the menu at a screen point; the chosen command, or 0.
  int Track(HWND owner, POINT screenPoint) const;

 private:
  HMENU menu_ = nullptr;
};

// A window's menu bar of drop-downs and commands. It owns its menu until it is attached to
// a window, which destroys it with itself.
class MenuBar {
 public:
  MenuBar() = default;
  ~MenuBar();
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  void Create();
  // A drop-down on the bar; its index there.
  int AddDropDown(const std::string& caption);
  void AddItem(int dropDown, int command, const std::string& caption);
  // A command on the bar itself.
  void AddCommand(int command, const std::string& caption);
  void AttachTo(HWND window);
  HMENU Handle() const { return menu_; }
  HMENU DropDown(int index) const { return ::GetSubMenu(menu_, index); }
  // The item's text, looked for on the bar and in every drop-down.
  std::string ItemText(int command) const;

 private:
  HMENU menu_ = nullptr;
  bool attached_ = false;
};

// A page of a notebook or a tab control: a plain child window that passes its children's
// notifications (WM_COMMAND, WM_NOTIFY) on to its parent. Created hidden.
HWND CreateNotebookPage(HWND parent, const Rect& r);

class StatusBar : public Control {
 public:
  // `widths` are the panels' widths; the last panel takes the rest.
  void Create(HWND parent, const std::vector<int>& widths);
  void SetWidths(const std::vector<int>& widths);
  // How wide a text is drawn in the bar's font, in pixels.
  int TextWidth(const std::string& text) const;
  void SetPanelText(int panel, const std::string& text);
  std::string PanelText(int panel) const;
  int Height() const;
};

}  // namespace morvanta::ui
