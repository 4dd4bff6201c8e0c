#include "framework/Dialog.h"

#include "framework/App.h"
#include "framework/Controls.h"
#include "framework/File.h"
#include "framework/MessageBox.h"
#include "res/resource.h"

#include <new>
#include <utility>

namespace {

// Resource type of a dialog's initialisation data: records of a control id,
// the message that adds an entry, the entry's byte count and its text, ended
// by a zero id.
constexpr WORD kDialogInitType = 240;

// Set by SetDialogColors; until then dialogs keep the system's colours.
COLORREF g_background = 0;
COLORREF g_text = 0;
HBRUSH g_brush = nullptr;

int g_waitDepth = 0;
bool g_helpEnabled = false;

bool SystemHelp(HWND window, const std::string& file, UINT command, ULONG_PTR data)
{
    return WinHelpA(window, file.c_str(), command, data) != FALSE;
}

HelpScript g_help = &SystemHelp;

bool IsClass(HWND window, const char* name)
{
    char cls[32];
    return GetClassNameA(window, cls, sizeof cls) > 0 && lstrcmpiA(cls, name) == 0;
}

}  // namespace

void SetDialogColors(COLORREF background, COLORREF text)
{
    if (g_brush)
        DeleteObject(g_brush);
    g_background = background;
    g_text = text;
    g_brush = CreateSolidBrush(background);
}

void BeginWaitCursor()
{
    ++g_waitDepth;
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void EndWaitCursor()
{
    if (g_waitDepth > 0 && --g_waitDepth == 0)
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

bool IsWaitCursorOn()
{
    return g_waitDepth > 0;
}

void ShowHourglass()
{
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

bool CallHelp(HWND window, const std::string& file, UINT command, ULONG_PTR data)
{
    return g_help(window, file, command, data);
}

HelpScript SetHelpScript(HelpScript script)
{
    return std::exchange(g_help, script ? script : &SystemHelp);
}

void EnableHelp()
{
    g_helpEnabled = true;
}

bool HelpIsEnabled()
{
    return g_helpEnabled;
}

// Data exchange ------------------------------------------------------------

void DataExchange::CheckBox(int id, int& value)
{
    lastControl_ = id;
    lastWasEdit_ = false;
    HWND box = dialog_.Item(id);
    if (saving_) {
        value = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    } else {
        const int shown = value >= 0 && value <= 2 ? value : 0;
        SendMessageA(box, BM_SETCHECK, static_cast<WPARAM>(shown), 0);
    }
}

void DataExchange::ComboText(int id, std::string& value)
{
    lastControl_ = id;
    lastWasEdit_ = false;
    HWND combo = dialog_.Item(id);
    if (saving_) {
        value = WindowText(combo);
    } else if (SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(value.c_str())) == CB_ERR) {
        SetWindowTextA(combo, value.c_str());
    }
}

void DataExchange::EditText(int id, std::string& value)
{
    lastControl_ = id;
    lastWasEdit_ = true;
    HWND edit = dialog_.Item(id);
    if (saving_)
        value = WindowText(edit);
    else
        SetWindowTextA(edit, value.c_str());
}

void DataExchange::MaxChars(const std::string& value, int most)
{
    if (saving_) {
        if (value.size() > static_cast<std::size_t>(most)) {
            AppMessageBox("Please enter no more than " + std::to_string(most) + " characters.",
                          MB_OK | MB_ICONEXCLAMATION);
            Fail();
        }
    } else if (lastWasEdit_) {
        SendMessageA(dialog_.Item(lastControl_), EM_LIMITTEXT, static_cast<WPARAM>(most), 0);
    }
}

void DataExchange::Fail()
{
    HWND control = dialog_.Item(lastControl_);
    SetFocus(control);
    if (lastWasEdit_)
        SendMessageA(control, EM_SETSEL, 0, -1);
    throw Failure{};
}

// Dialog -------------------------------------------------------------------

Dialog::Dialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

Dialog::~Dialog() = default;

INT_PTR Dialog::DoModal()
{
    HWND owner = parent_ ? parent_ : AppOwnerWindow();
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, &Dialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::UpdateData(bool saveAndValidate)
{
    DataExchange exchange(*this, saveAndValidate);
    try {
        DoDataExchange(exchange);
    } catch (const DataExchange::Failure&) {
        return false;
    }
    return true;
}

void Dialog::EndDialog(INT_PTR result)
{
    ::EndDialog(hwnd_, result);
}

BOOL Dialog::OnInitDialog()
{
    RunInitialisationData();
    UpdateData(false);
    if (HWND help = Item(ID_HELP); help && !HelpIsEnabled())
        ShowWindow(help, SW_HIDE);
    return TRUE;
}

void Dialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void Dialog::OnHelp()
{
    if (!CallHelp(hwnd_, HelpFilePath(), HELP_CONTEXT, 0x20000 + templateId_))
        AppMessageBox("Failed to launch help.", MB_OK);
}

bool Dialog::DispatchCommand(UINT, int)
{
    return false;
}

bool Dialog::DispatchMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

void Dialog::RunInitialisationData()
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(kDialogInitType));
    if (!found)
        return;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    const DWORD size = SizeofResource(module, found);
    DWORD at = 0;
    while (data && at + 8 <= size) {
        WORD id, message;
        DWORD length;
        CopyMemory(&id, data + at, 2);
        if (id == 0)
            break;
        CopyMemory(&message, data + at + 2, 2);
        CopyMemory(&length, data + at + 4, 4);
        at += 8;
        if (length > size - at)
            break;
        std::string text(reinterpret_cast<const char*>(data + at), length);
        text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
        SendDlgItemMessageA(hwnd_, id, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
        at += length;
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    Dialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(l);
        self->hwnd_ = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        if (self->isMainWindow_)
            SetAppMainWindow(window);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self)
        return FALSE;

    INT_PTR result = FALSE;
    try {
        result = self->Handle(message, w, l);
    } catch (const FileException& e) {
        e.ReportError();
    } catch (const std::bad_alloc&) {
        AppMessageBox("Memory allocation failure", MB_OK);
    } catch (const std::exception& e) {
        AppMessageBox(std::string("Unexpected error: ") + e.what(), MB_OK | MB_ICONSTOP);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        if (self->isMainWindow_ && AppMainWindow() == window)
            SetAppMainWindow(nullptr);
        self->hwnd_ = nullptr;
    }
    return result;
}

INT_PTR Dialog::Handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return HandleCommand(HIWORD(w), LOWORD(w));
    case WM_HELP:
        OnHelp();
        return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // A read-only edit field asks as a static text; it keeps the system's
        // colours like every edit field.
        if (!g_brush || (message == WM_CTLCOLORSTATIC && IsClass(reinterpret_cast<HWND>(l), "Edit")))
            break;
        SetTextColor(reinterpret_cast<HDC>(w), g_text);
        SetBkColor(reinterpret_cast<HDC>(w), g_background);
        return reinterpret_cast<INT_PTR>(g_brush);
    default:
        break;
    }
    LRESULT result = 0;
    if (!DispatchMessage(message, w, l, result))
        return FALSE;
    switch (message) {
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSCROLLBAR:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return static_cast<INT_PTR>(result);
    default:
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

INT_PTR Dialog::HandleCommand(UINT code, int id)
{
    if (DispatchCommand(code, id))
        return TRUE;
    if (code == BN_CLICKED) {  // also 0 for menu items and accelerators
        switch (id) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        case ID_HELP:
            OnHelp();
            return TRUE;
        default:
            break;
        }
    }
    return FALSE;
}
