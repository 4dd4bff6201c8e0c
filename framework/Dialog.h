// The dialog base of every window of the program: a modal run on a resource
// template, one dialog procedure that dispatches through a derived class's
// message tables, data exchange between controls and fields, the program's
// light-grey colouring, and the help routing.
//
// A derived dialog names its handlers in two plain tables, which its static
// Commands() and Messages() return:
//
//   static constexpr CommandEntry<CScanDialog> kCommands[] = {
//       {BN_CLICKED, IDC_TYPE_EXE, &CScanDialog::OnClickTypeExe},
//   };
//   static constexpr MessageEntry<CScanDialog> kMessages[] = {
//       {WM_PAINT, &CScanDialog::OnPaint},
//   };
//
// and derives from DialogImpl<Derived>, which walks them. Commands that no
// table names go to the virtual operations: IDOK to OnOK, IDCANCEL to
// OnCancel, ID_HELP to OnHelp. No exception ever leaves the dialog
// procedure: a file exception shows its own message, an allocation failure
// shows "Memory allocation failure".
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <string>

class Dialog;

// The direction and the controls of one exchange. Towards the controls
// (saving false) fields are shown; from the controls (saving true) fields
// are read back and validated, and a failed validation ends the exchange.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saving) : dialog_(dialog), saving_(saving) {}
    bool saving() const { return saving_; }

    // A check box: shows 0, 1 or 2 (any other value as 0); reads 0 or 1.
    void CheckBox(int id, int& value);
    // A combo box's text: selects the first entry that begins with the text,
    // ignoring case, else puts the text into the edit field; reads the text
    // the combo displays.
    void ComboText(int id, std::string& value);
    // An edit field's text.
    void EditText(int id, std::string& value);
    // Validates the length of the text just exchanged; towards an edit field
    // it limits what the user can type.
    void MaxChars(const std::string& value, int most);

    struct Failure {};

private:
    [[noreturn]] void Fail();

    Dialog& dialog_;
    bool saving_;
    int lastControl_ = 0;
    bool lastWasEdit_ = false;
};

template <class T>
struct CommandEntry {
    UINT code;  // notification code (BN_CLICKED, LBN_DBLCLK, CBN_SELCHANGE ...)
    int id;     // control id
    void (T::*handler)();
};

template <class T>
struct MessageEntry {
    UINT message;
    // Returns whether it handled the message; the result goes to `result`.
    bool (T::*handler)(WPARAM, LPARAM, LRESULT& result);
};

// True when two entries of a command table share a code and an id, so that
// the later one could never run.
template <class T, std::size_t N>
constexpr bool HasDuplicateCommands(const CommandEntry<T> (&table)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = i + 1; j < N; ++j)
            if (table[i].code == table[j].code && table[i].id == table[j].id)
                return true;
    return false;
}

class Dialog {
public:
    explicit Dialog(UINT templateId, HWND parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally and returns how it ended (IDOK, IDCANCEL, ...).
    // A dialog without a parent is owned by the program's main window.
    INT_PTR DoModal();

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    UINT templateId() const { return templateId_; }

    // Exchanges every field; false when a validation failed (it has told the
    // user and put the focus on the control).
    bool UpdateData(bool saveAndValidate = true);

    void EndDialog(INT_PTR result);

    // The dialog that becomes the program's main window while it runs.
    void MakeMainWindow() { isMainWindow_ = true; }

    // The dialog procedure of every dialog of the program.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM w, LPARAM l);

protected:
    // Fills list and combo boxes from the template's initialisation data,
    // exchanges the fields towards the controls and shows the Help button
    // only when help is there to answer it. TRUE: focus to the first control.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(DataExchange&) {}
    // Exchanges from the controls and, when that succeeds, ends with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    // Opens this dialog's topic (0x20000 + template id) in the help file.
    virtual void OnHelp();

    // Handlers from the derived class's tables (DialogImpl fills these in).
    virtual bool DispatchCommand(UINT code, int id);
    virtual bool DispatchMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result);

private:
    INT_PTR Handle(UINT message, WPARAM w, LPARAM l);
    INT_PTR HandleCommand(UINT code, int id);
    void RunInitialisationData();

    UINT templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
    bool isMainWindow_ = false;
};

template <class T>
class DialogImpl : public Dialog {
public:
    using Dialog::Dialog;

protected:
    bool DispatchCommand(UINT code, int id) override
    {
        for (const auto& entry : T::Commands())
            if (entry.code == code && entry.id == id) {
                (static_cast<T*>(this)->*entry.handler)();
                return true;
            }
        return false;
    }

    bool DispatchMessage(UINT message, WPARAM w, LPARAM l, LRESULT& result) override
    {
        for (const auto& entry : T::Messages())
            if (entry.message == message)
                return (static_cast<T*>(this)->*entry.handler)(w, l, result);
        return false;
    }
};

// The colours of every dialog of the program: surface, static texts,
// buttons, check boxes and group boxes; list boxes, edit fields and scroll
// bars keep the system's colours.
void SetDialogColors(COLORREF background, COLORREF text);

// The wait cursor of a long operation, shown until the matching end.
void BeginWaitCursor();
void EndWaitCursor();
bool IsWaitCursorOn();

// The hourglass until the mouse next moves.
void ShowHourglass();

// The system help engine, behind a seam that tests replace. Returns false
// when the engine could not be started.
using HelpScript = bool (*)(HWND window, const std::string& file, UINT command, ULONG_PTR data);
bool CallHelp(HWND window, const std::string& file, UINT command, ULONG_PTR data);
HelpScript SetHelpScript(HelpScript script);

// The application answers the Help command; without it, dialogs hide their
// Help button.
void EnableHelp();
bool HelpIsEnabled();
