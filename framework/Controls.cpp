#include "framework/Controls.h"

std::string ListBox::Text(int index) const
{
    const LRESULT length = Send(LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = Send(LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
}

std::vector<int> ListBox::SelectedItems(int most) const
{
    std::vector<int> items(static_cast<std::size_t>(most > 0 ? most : 0));
    if (items.empty())
        return items;
    const LRESULT got = Send(LB_GETSELITEMS, static_cast<WPARAM>(most), reinterpret_cast<LPARAM>(items.data()));
    items.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return items;
}

std::vector<std::string> ListBox::Texts() const
{
    std::vector<std::string> texts;
    for (int i = 0, n = Count(); i < n; ++i)
        texts.push_back(Text(i));
    return texts;
}

std::string ComboBox::Text(int index) const
{
    const LRESULT length = Send(CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
}

std::vector<std::string> ComboBox::Texts() const
{
    std::vector<std::string> texts;
    for (int i = 0, n = Count(); i < n; ++i)
        texts.push_back(Text(i));
    return texts;
}

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}
