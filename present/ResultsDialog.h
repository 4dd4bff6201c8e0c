// The results window: the cross reference of one search in two lists, the
// searched files with their libraries on the left, the libraries with the
// files that name them on the right.
#pragma once

#include "framework/Dialog.h"
#include "res/resource.h"

class CResultsDialog : public DialogImpl<CResultsDialog> {
public:
    explicit CResultsDialog(HWND parent = nullptr) : DialogImpl(IDD_RESULTS, parent) {}

    static std::span<const CommandEntry<CResultsDialog>> Commands();
    static std::span<const MessageEntry<CResultsDialog>> Messages() { return {}; }

protected:
    // Fills both lists from the tables and releases the tables.
    BOOL OnInitDialog() override;

private:
    void OnClickClose();
};
