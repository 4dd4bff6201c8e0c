#include "present/ResultsDialog.h"

#include "present/ReportRows.h"
#include "search/Scanner.h"

#include <string>

namespace {

constexpr int kHorizontalExtent = 100000;

// Fills a list with one section's rows. Redrawing waits until every row is
// in, and the list's storage is reserved first, so even a very large run
// fills the window quickly.
template <class ForEach>
void Fill(HWND list, ForEach forEach)
{
    WPARAM rows = 0;
    LPARAM bytes = 0;
    forEach([&](std::string_view row) {
        ++rows;
        bytes += static_cast<LPARAM>(row.size() + 1);
    });
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, rows, bytes);
    std::string text;
    forEach([&](std::string_view row) {
        text.assign(row);
        SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    });
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

std::span<const CommandEntry<CResultsDialog>> CResultsDialog::Commands()
{
    static constexpr CommandEntry<CResultsDialog> kCommands[] = {
        {BN_CLICKED, IDC_RESULTS_CLOSE, &CResultsDialog::OnClickClose},
    };
    return kCommands;
}

BOOL CResultsDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    HWND libraries = Item(IDC_LIBRARY_LIST);
    HWND files = Item(IDC_SEARCHED_FILE_LIST);
    SendMessageA(libraries, LB_SETHORIZONTALEXTENT, kHorizontalExtent, 0);
    SendMessageA(files, LB_SETHORIZONTALEXTENT, kHorizontalExtent, 0);
    const ReferenceTables& tables = TheReferenceTables();
    Fill(files, [&](auto&& row) { ForEachSearchedFileRow(tables, row); });
    Fill(libraries, [&](auto&& row) { ForEachFoundLibraryRow(tables, row); });
    ReleaseReferenceTables();
    return TRUE;
}

void CResultsDialog::OnClickClose()
{
    Dialog::OnOK();
}
