// Thin value wrappers over the handles of list and combo boxes: each method
// is one message to the control.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ListBox {
public:
    explicit ListBox(HWND window = nullptr) : hwnd_(window) {}
    HWND hwnd() const { return hwnd_; }

    int Count() const { return static_cast<int>(Send(LB_GETCOUNT, 0, 0)); }
    std::string Text(int index) const;
    int Delete(int index) const { return static_cast<int>(Send(LB_DELETESTRING, index, 0)); }
    int Append(const std::string& text) const
    {
        return static_cast<int>(Send(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
    }
    void Reset() const { Send(LB_RESETCONTENT, 0, 0); }
    int SelectedCount() const { return static_cast<int>(Send(LB_GETSELCOUNT, 0, 0)); }
    // Indices of up to `most` selected entries, in list order.
    std::vector<int> SelectedItems(int most) const;
    bool IsSelected(int index) const { return Send(LB_GETSEL, index, 0) > 0; }
    void Select(int index, bool on) const { Send(LB_SETSEL, on ? TRUE : FALSE, index); }
    std::vector<std::string> Texts() const;

private:
    LRESULT Send(UINT message, WPARAM w, LPARAM l) const { return SendMessageA(hwnd_, message, w, l); }
    HWND hwnd_;
};

class ComboBox {
public:
    explicit ComboBox(HWND window = nullptr) : hwnd_(window) {}
    HWND hwnd() const { return hwnd_; }

    int Count() const { return static_cast<int>(Send(CB_GETCOUNT, 0, 0)); }
    std::string Text(int index) const;
    int Delete(int index) const { return static_cast<int>(Send(CB_DELETESTRING, index, 0)); }
    int CurrentSelection() const { return static_cast<int>(Send(CB_GETCURSEL, 0, 0)); }
    std::vector<std::string> Texts() const;

private:
    LRESULT Send(UINT message, WPARAM w, LPARAM l) const { return SendMessageA(hwnd_, message, w, l); }
    HWND hwnd_;
};

// The text of any window (a label, a combo box's edit field, a caption).
std::string WindowText(HWND window);
